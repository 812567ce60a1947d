#pragma once
// Shared folders of other computers as this computer sees them: the network
// file systems mounted here (SMB/CIFS, NFS, sshfs ...), read from the mount
// table, and the account-set files in one of them.

#include <QString>
#include <QStringList>
#include <QVector>

struct NetworkMount {
    QString source;      // "//server/share", "server:/export" ...
    QString mountPoint;  // the local folder
    QString type;        // "cifs", "nfs4", "fuse.sshfs" ...
};

// The network file systems listed in a mount table of the /proc/mounts form;
// an unreadable table lists none.
QVector<NetworkMount> ReadNetworkMounts(const QString& mountTable = QStringLiteral("/proc/mounts"));

// Splits a typed "\\server\share" or "//server/share" into server and share;
// false for any other text.
bool SplitSharePath(const QString& text, QString& server, QString& share);

// The local folder where `share` of `server` is mounted (names compared
// without regard to case), or "" with `error` saying in Chinese why not.
QString MountedShareFolder(const QVector<NetworkMount>& mounts, const QString& server, const QString& share,
                           QString& error);

// The account-set files (*.vxs, any case) of a folder, by name.
QStringList AccountSetFilesIn(const QString& folder);
