#pragma once
// Files written whole or not at all. A new file is written under a hidden
// temporary name in the folder of its real name and takes the real name only
// once it is complete and on disk; a program stopped at any moment leaves at
// most a hidden partial file, never a partial file under a real name.

#include <QString>

// The hidden name a partial file of `target` starts with: "." + its file
// name + "." (a random suffix follows).
QString PartialFilePrefix(const QString& target);

// A new, empty partial file beside `target`, removed again when this object
// goes away unless commit() or keep() ran. Throws DbError (NoAccess).
class PartialFile {
public:
    explicit PartialFile(const QString& target);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const QString& path() const { return m_path; }
    const QString& target() const { return m_target; }

    // Writes the partial file to disk and gives it the real name: replacing a
    // file of that name when `replace`, else refusing when one exists. Throws
    // DbError (NoAccess); the partial file is removed then and the target
    // untouched.
    void commit(bool replace);
    // Leaves the partial file in place for the caller; answers its path.
    QString keep();

private:
    QString m_target;
    QString m_path;
    bool m_done = false;
};

// Forces the file's data to disk. Throws DbError (NoAccess).
void SyncFileToDisk(const QString& path);

// Renames the complete file `fresh` to `target` (replacing it when `replace`,
// else refusing when it exists) and writes the folder's entry to disk.
// Throws DbError (NoAccess) and removes `fresh`; `target` is then untouched.
void RenameWholeFile(const QString& fresh, const QString& target, bool replace);
