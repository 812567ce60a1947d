#include "accountsets/NetworkShares.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

bool isNetworkType(const QString& type)
{
    static const QStringList network = {
        QStringLiteral("cifs"), QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("nfs"),
        QStringLiteral("nfs4"), QStringLiteral("ncpfs"), QStringLiteral("afs"), QStringLiteral("ceph"),
        QStringLiteral("coda"), QStringLiteral("9p")};
    // FUSE serves local disks too (fuseblk); the named network ones count.
    static const QStringList fuseNetwork = {QStringLiteral("fuse.sshfs"), QStringLiteral("fuse.smbnetfs"),
                                            QStringLiteral("fuse.curlftpfs"), QStringLiteral("fuse.rclone")};
    return network.contains(type) || fuseNetwork.contains(type);
}

// The mount table writes blanks, tabs, line ends and backslashes as octal
// escapes (\040 for a blank).
QString unescapeMountField(const QString& field)
{
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    const QByteArray in = field.toUtf8();
    QByteArray out;
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size() &&
            isOctal(in[i + 1]) && isOctal(in[i + 2]) && isOctal(in[i + 3])) {
            out += char(in.mid(i + 1, 3).toInt(nullptr, 8));
            i += 3;
        } else {
            out += in[i];
        }
    }
    return QString::fromUtf8(out);
}

// Server and share of a mount source: "//server/share" (SMB) or
// "server:/path/share" and "user@server:/path/share" (NFS, sshfs).
bool sourceParts(const NetworkMount& m, QString& server, QString& share)
{
    if (SplitSharePath(m.source, server, share))
        return true;
    const int colon = m.source.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    server = m.source.left(colon);
    server = server.mid(server.indexOf(QLatin1Char('@')) + 1);
    QString path = m.source.mid(colon + 1);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    share = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return !server.isEmpty() && !share.isEmpty();
}

}  // namespace

QVector<NetworkMount> ReadNetworkMounts(const QString& mountTable)
{
    QVector<NetworkMount> mounts;
    QFile f(mountTable);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return mounts;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (fields.size() < 3 || !isNetworkType(fields[2]))
            continue;
        mounts.append({unescapeMountField(fields[0]), unescapeMountField(fields[1]), fields[2]});
    }
    return mounts;
}

bool SplitSharePath(const QString& text, QString& server, QString& share)
{
    if (!text.startsWith(QLatin1String("//")) && !text.startsWith(QLatin1String("\\\\")))
        return false;
    QString rest = text.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    server = parts[0];
    share = parts[1];
    return true;
}

QString MountedShareFolder(const QVector<NetworkMount>& mounts, const QString& server, const QString& share,
                           QString& error)
{
    if (mounts.isEmpty()) {
        error = QStringLiteral("本机没有连接任何网络共享文件夹（SMB/CIFS、NFS等）。\n\n"
                               "请先把服务器上的共享文件夹挂载到本机（例如挂载到 /mnt 下的一个文件夹），"
                               "然后再列出其中的帐套文件。");
        return QString();
    }
    for (const NetworkMount& m : mounts) {
        QString s;
        QString sh;
        if (sourceParts(m, s, sh) && s.compare(server, Qt::CaseInsensitive) == 0 &&
            sh.compare(share, Qt::CaseInsensitive) == 0)
            return m.mountPoint;
    }
    QString known;
    for (const NetworkMount& m : mounts)
        known += QStringLiteral("\n") + m.source + QStringLiteral("  →  ") + m.mountPoint;
    error = QStringLiteral("服务器[") + server + QStringLiteral("]的共享文件夹[") + share +
            QStringLiteral("]没有挂载到本机，无法列出其中的帐套文件。\n\n本机已连接的网络共享文件夹：") + known;
    return QString();
}

QStringList AccountSetFilesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.vxs")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}
