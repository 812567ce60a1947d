#pragma once
// Facts about this computer and where files may go.

#include <QString>

// True for a path on another computer: a "//server/share" or "\\server\share"
// path, or a file on a network mount (NFS, SMB/CIFS, FUSE such as sshfs).
// A path that does not exist yet is judged by its nearest existing folder.
bool IsNetworkPath(const QString& path);

// True when a file system of this kind lives on another computer. `magic` is
// statfs' f_type; `type` the mount's type as the mount table names it
// ("fuse.sshfs", "fuseblk"), consulted only for FUSE, which serves local
// disks as well as network ones.
bool IsNetworkFileSystem(qint64 magic, const QString& type);

// The name of this computer (the key of per-computer print settings).
QString ComputerName();

// The folder of the running executable, ending in "/".
QString ProgramFolder();

// The folder `name` in the user's home folder, ending in "/", created when
// missing; the program folder when it cannot be created.
QString HomeDataFolder(const QString& name);
