#pragma once
// File work on account-set files: holding the open set to this program alone,
// copying a file next to the one it is to replace, and replacing a file in one
// rename. Backup, restore, compaction and the automatic backup build on these
// so that the only good copy of a set is never deleted or renamed before the
// file that replaces it is complete: the old file stays until a rename puts
// the new one in its place.

#include "platform/Database.h"
#include "platform/WholeFile.h"

#include <QString>
#include <functional>
#include <optional>

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

// A copy of `source` in a new hidden file in the folder of `target`, with the
// permissions of `target` (those of a new file when it does not exist yet), to
// be checked or trimmed at path() and then put in place of `target`. It stays
// its writer's until then: another instance clearing that folder of killed
// writers' leftovers leaves it alone, and it is removed when it goes away
// without having been put in place.
class StagedCopy {
public:
    // Throws FileSwapError; nothing is left behind.
    StagedCopy(const QString& source, const QString& target);
    StagedCopy(const StagedCopy&) = delete;
    StagedCopy& operator=(const StagedCopy&) = delete;

    const QString& path() const { return m_file->path(); }

    // Writes the copy to disk and puts it in place of its target by one rename.
    // Throws FileSwapError; the copy is removed then and the target untouched.
    void replaceTarget();

private:
    std::optional<PartialFile> m_file;
};

// Leaves only operator "001" in the copy at `path` (its rows are wiped from the
// file, not just unlinked). Never reports: a copy it cannot open keeps them all.
void RestrictToAdmin(const QString& path);
