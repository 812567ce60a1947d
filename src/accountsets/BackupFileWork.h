#pragma once
// File work on account-set files: holding the open set to this program alone,
// copying a file next to the one it is to replace, and replacing a file in one
// rename. Backup, restore, compaction and the automatic backup build on these
// so that the only good copy of a set is never deleted or renamed before the
// file that replaces it is complete: the old file stays until a rename puts
// the new one in its place.

#include "platform/Database.h"

#include <QString>
#include <functional>

class AccountSetLock;
struct App;

// A failure while putting a new file in place of an account set; the set's
// file is as it was.
class FileSwapError : public DbError {
public:
    explicit FileSwapError(const QString& description);
    // The same failure, kept with its number (SQLITE_FULL for a full disk).
    explicit FileSwapError(const DbError& cause);
};

// The account set did not open again after file work; the program cannot go
// on with it.
class SetNotReopened : public DbError {
public:
    explicit SetNotReopened(const DbError& cause);
};

// Opens CurrentSetPath again as CurrentDatabase under CurrentSetLock. Throws SetNotReopened.
void ReopenAccountSet(App& app);

// Takes `lock` exclusively on the set at `setPath`. Throws DbError: Busy while
// another program instance has the set open (SetInUseText), NoAccess when no
// lock file can be made beside it.
void LockSetAlone(AccountSetLock& lock, const QString& setPath);

// Holds the open account set to this program alone for as long as it lives:
// CurrentSetLock is taken exclusively on CurrentSetPath. When it ends, the lock
// is shared again if CurrentDatabase is open then, and released otherwise.
class ExclusiveSetAccess {
public:
    // Throws DbError (Busy) when another program instance has the set open.
    explicit ExclusiveSetAccess(App& app);
    ~ExclusiveSetAccess();
    ExclusiveSetAccess(const ExclusiveSetAccess&) = delete;
    ExclusiveSetAccess& operator=(const ExclusiveSetAccess&) = delete;

private:
    App& app;
};

// The description of the refusal while other instances have a set open.
QString SetInUseText();

// Copies `source` into a new hidden file in the folder of `target`, written to
// disk, with the permissions of `target` (those of a new file when it does
// not exist yet). Answers its path. Throws FileSwapError; nothing is left behind.
QString CopyBeside(const QString& source, const QString& target);

// Puts the file `fresh` in place of `target` by one rename. Throws
// FileSwapError and removes `fresh` when that fails; `target` is then untouched.
void ReplaceFile(const QString& fresh, const QString& target);

// Leaves only operator "001" in the copy at `path` (its rows are wiped from the
// file, not just unlinked). Never reports: a copy it cannot open keeps them all.
void RestrictToAdmin(const QString& path);
