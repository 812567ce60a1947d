#pragma once
// Restoring a backup copy over the open account set.

#include <QString>

struct App;

// Puts a copy of the file at `source` in place of the open account set's file.
// The set is held by this program alone throughout; the copy is written next
// to the set's file and must open as an account set with the set's password
// before one rename replaces the set's file, so any failure leaves the set as
// it was. CurrentDatabase is open on CurrentSetPath again afterwards. Throws
// DbError (Busy while another instance has the set open), or SetNotReopened.
void RestoreAccountSet(App& app, const QString& source);
