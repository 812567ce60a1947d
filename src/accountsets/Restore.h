#pragma once
// Restoring a backup copy over the open account set.

#include <QString>

struct App;

// Refuses (DbError, NotADatabase) a copy that an interrupted write left
// behind: a non-empty "-journal" file lies beside it.
void CheckSourceHasNoJournal(const QString& source);

// Refuses (DbError, NotADatabase) a file that is not a whole account set: it
// does not open with `password`, lacks an account-set table, fails the
// integrity check, has no operator "001" or no settings (the last tables a
// copy writes), or has stock documents but no document line at all.
void CheckWholeAccountSet(const QString& path, const QString& password);

// Puts a copy of the file at `source` in place of the open account set's file.
// The set is held by this program alone throughout; the copy is written next
// to the set's file and must pass CheckWholeAccountSet with the set's
// password (a source with a journal beside it is refused first) before one rename replaces the set's file, so any failure leaves the set as
// it was. CurrentDatabase is open on CurrentSetPath again afterwards. Throws
// DbError (Busy while another instance has the set open), or SetNotReopened.
void RestoreAccountSet(App& app, const QString& source);
