#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>
#include <sys/vfs.h>

namespace {

// statfs f_type values of network file systems (linux/magic.h and the
// file systems' own headers).
constexpr qint64 NfsMagic = 0x6969;
constexpr qint64 SmbMagic = 0x517B;
constexpr qint64 CifsMagic = 0xFF534D42;
constexpr qint64 Smb2Magic = 0xFE534D42;
constexpr qint64 CodaMagic = 0x73757245;
constexpr qint64 AfsMagic = 0x5346414F;
constexpr qint64 NcpMagic = 0x564C;
constexpr qint64 CephMagic = 0x00C36400;
constexpr qint64 FuseMagic = 0x65735546;

// The path itself when it exists, else its nearest existing folder.
QString existingAncestor(const QString& path)
{
    QFileInfo fi(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (!fi.exists()) {
        const QString parent = fi.absolutePath();
        if (parent == fi.absoluteFilePath())
            return QString();
        fi.setFile(parent);
    }
    return fi.absoluteFilePath();
}

}  // namespace

bool IsNetworkFileSystem(qint64 magic, const QString& type)
{
    switch (magic) {
    case NfsMagic:
    case SmbMagic:
    case CifsMagic:
    case Smb2Magic:
    case CodaMagic:
    case AfsMagic:
    case NcpMagic:
    case CephMagic:
        return true;
    case FuseMagic:
        // A FUSE file system on a block device (ntfs-3g, exfat) is a local disk.
        return type != QLatin1String("fuseblk");
    default:
        return false;
    }
}

bool IsNetworkPath(const QString& path)
{
    if (path.startsWith(QLatin1String("//")) || path.startsWith(QLatin1String("\\\\")))
        return true;
    if (path.isEmpty())
        return false;
    const QString existing = existingAncestor(path);
    if (existing.isEmpty())
        return false;
    struct statfs fs {};
    if (statfs(QFile::encodeName(existing).constData(), &fs) != 0)
        return false;
    const qint64 magic = qint64(quint32(fs.f_type));
    QString type;
    if (magic == FuseMagic)
        type = QString::fromLatin1(QStorageInfo(existing).fileSystemType());
    return IsNetworkFileSystem(magic, type);
}

QString ComputerName()
{
    return QSysInfo::machineHostName();
}

QString ProgramFolder()
{
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

QString HomeDataFolder(const QString& name)
{
    const QString folder = QDir::homePath() + QLatin1Char('/') + name;
    if (QDir().mkpath(folder) && QFileInfo(folder).isWritable())
        return folder + QLatin1Char('/');
    return ProgramFolder();
}
