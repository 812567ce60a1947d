#pragma once
// Account-set files: trying a file, making a new set from the template,
// backing up a listed set. Opening the set in use is core/AccountSetOpen.h.

#include "core/AccountSetOpen.h"

#include <QString>

class AccountSetLock;
class Database;
class DbError;
struct App;

// True when `path` opens as an account set with the program's password (a
// trial open, closed again at once).
bool IsAccountSetFile(const QString& path);

// Makes a new account set at `path` as a copy of the template "nousit.dat" in
// the program folder; false when the template is missing or the copy failed
// (nothing is left at `path` then).
bool CreateAccountSetFromTemplate(const App& app, const QString& path);

// Writes a backup copy of the closed set at `source` to the new file
// `target`: compacted while the set is held alone, then restricted to operator
// "001". Throws DbError: Busy when anyone else has the set open; nothing is
// left at `target` after a failure.
void BackupSetFile(const QString& source, const QString& target);

// `path` with the extension ".vxs" added when its file name has none, so
// that the set or copy is found again under the file dialogs' filter.
QString WithSetExtension(const QString& path);

// The name an imported file is offered under: its file name, cut before the
// first "." unless the name begins with it.
QString ImportedSetName(const QString& path);
