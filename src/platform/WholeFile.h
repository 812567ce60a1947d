#pragma once
// Files written whole or not at all. A new file is written under a hidden
// temporary name in the folder of its real name and takes the real name only
// once it is complete and on disk; a program stopped at any moment leaves at
// most a hidden partial file, never a partial file under a real name. Such
// leftovers are removed the next time a file is written in that folder.
//
// A file takes the mode a new file gets under the user's umask, so that others
// on a shared folder can open what the program wrote for them.

#include <QByteArray>
#include <QString>

// The hidden name a partial file of `target` starts with: "." + its file
// name + "." (a random part and PartialFileSuffix follow).
QString PartialFilePrefix(const QString& target);
inline constexpr char PartialFileSuffix[] = ".vxpart";

// The mode bits a new file gets under this process's umask (0666 less it).
unsigned NewFileMode();

// The cause of a failed file operation with errno `err`, in Chinese
// ("磁盘空间已满" for a full disk).
QString FileErrorCause(int err);

// Throws the DbError of a failed write of `path` with errno `err`: number
// SQLITE_FULL for a full disk (or quota), else NoAccess; the description
// names the file and the cause.
[[noreturn]] void ThrowFileWriteError(const QString& path, int err);

// True when the disk of `folder` has next to no room left (under 1 MiB): how
// a full disk is told when a library reports only that a write failed.
bool DiskFullAt(const QString& folder);

// Removes the hidden partial files in `folder` (and their "-journal" files)
// whose writer is gone: a writer holds a lock on its partial file for as long
// as it writes, so another program's copy in progress is left alone.
void RemovePartialLeftovers(const QString& folder);

// A new, empty partial file beside `target` with the mode of a new file,
// removed again when this object goes away unless commit() or keep() ran.
// Making one first removes the leftovers of killed writers in that folder.
// Throws DbError (NoAccess, or SQLITE_FULL for a full disk).
class PartialFile {
public:
    explicit PartialFile(const QString& target);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const QString& path() const { return m_path; }
    const QString& target() const { return m_target; }

    // Appends bytes at the end of the file. Throws DbError as ThrowFileWriteError.
    void write(const char* data, qint64 size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }

    // Writes the partial file to disk and gives it the real name: replacing a
    // file of that name when `replace`, else refusing when one exists. Throws
    // DbError; the partial file is removed then and the target untouched.
    void commit(bool replace);
    // Leaves the partial file in place for the caller; answers its path.
    QString keep();

private:
    void closeFile();
    QString m_target;
    QString m_path;
    int m_fd = -1;
    bool m_done = false;
};

// Renames the complete file `fresh` to `target` (replacing it when `replace`,
// else refusing when it exists) and writes the folder's entry to disk.
// Throws DbError (NoAccess) and removes `fresh`; `target` is then untouched.
void RenameWholeFile(const QString& fresh, const QString& target, bool replace);
