#pragma once
// Opening and closing the account set in use. Every open holds the shared
// lock beside the set, so that backup, restore and compaction elsewhere know
// it is in use.

#include "platform/Database.h"

#include <QString>

class AccountSetLock;
struct App;

// Opens `path` into `db` while holding `lock` shared on it. Throws DbError:
// Busy when another instance has the set to itself (backup, restore,
// compaction), NoAccess when no lock can be made beside it, NotADatabase for
// a file without the account-set tables (an empty file too), and whatever
// Database::open throws. On failure neither is left open, and no lock file
// stays behind.
void OpenLockedAccountSet(Database& db, AccountSetLock& lock, const QString& path);

// The first table that every account set holds and the open `db` lacks; "" when none is missing.
QString MissingAccountSetTable(const Database& db);

// Opens `path` as CurrentDatabase under CurrentSetLock; a lock on another set
// is let go. Leaves CurrentSetPath and CurrentSetName to the caller. Throws DbError.
void OpenAccountSetFile(App& app, const QString& path);

// The name the open set is known by: the name it has in the account-set list,
// or, for a set opened from the command line (which has none), its file's
// base name.
QString AccountSetDisplayName(const App& app);

// Closes CurrentDatabase and lets go of its lock.
void CloseAccountSetFile(App& app);

// What the user is told when an account set does not open: the permission
// text for files that cannot be reached or are held elsewhere, the repair
// text for the others (wrong password, no account set, damaged). A set opened
// from the command line has no account-set settings to go back to.
QString OpenFailureText(DbError::Kind kind, const QString& description, bool fromList = true);
inline QString OpenFailureText(const DbError& e)
{
    return OpenFailureText(e.kind(), e.description());
}
