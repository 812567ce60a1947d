#include "platform/WholeFile.h"

#include "platform/Database.h"
#include "platform/sqlcipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString& text)
{
    throw DbError(SQLITE_CANTOPEN, text, DbError::Kind::NoAccess);
}

// A rename is durable only once the folder's entry is on disk as well.
void syncFolder(const QString& file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The umask as the kernel reports it; reading it through umask() would
// change it for a moment under every other thread.
bool umaskFromProc(unsigned* mask)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("\nUmask:");
    if (at < 0)
        return false;
    bool ok = false;
    const qsizetype end = text.indexOf('\n', at + 1);
    *mask = text.mid(at + 7, end < 0 ? -1 : end - at - 7).trimmed().toUInt(&ok, 8);
    return ok;
}

// True when no writer holds the file at `path`: its lock is free to take.
bool writerGone(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return gone;
}

}  // namespace

QString PartialFilePrefix(const QString& target)
{
    return QStringLiteral(".") + QFileInfo(target).fileName() + QStringLiteral(".");
}

unsigned NewFileMode()
{
    unsigned mask = 0;
    if (!umaskFromProc(&mask)) {
        mask = ::umask(0);
        ::umask(mask);
    }
    return 0666u & ~mask;
}

QString FileErrorCause(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘空间已满");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入权限");
    case EROFS:
        return QStringLiteral("磁盘是只读的");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件夹不存在");
    case EIO:
        return QStringLiteral("磁盘读写出错");
    case EFBIG:
        return QStringLiteral("文件太大");
    case EEXIST:
        return QStringLiteral("目标文件已存在");
    default:
        return QStringLiteral("系统错误代码 %1").arg(err);
    }
}

void ThrowFileWriteError(const QString& path, int err)
{
    const QString text = QStringLiteral("无法写入文件 %1：%2。").arg(QDir::toNativeSeparators(path), FileErrorCause(err));
    if (err == ENOSPC || err == EDQUOT)
        throw DbError(SQLITE_FULL, text);
    fail(text);
}

bool DiskFullAt(const QString& folder)
{
    struct statvfs fs {};
    return ::statvfs(QFile::encodeName(folder).constData(), &fs) == 0 &&
           double(fs.f_bavail) * double(fs.f_frsize) < 1024.0 * 1024.0;
}

void RemovePartialLeftovers(const QString& folder)
{
    static const QRegularExpression partial(QStringLiteral("^\\..+\\.[A-Za-z0-9]{6}\\.vxpart$"));
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const bool journal = name.endsWith(QLatin1String("-journal"));
        const QString file = journal ? name.chopped(8) : name;
        if (!partial.match(file).hasMatch())
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(file));
        // A journal goes with its partial file; alone, nobody can use it.
        if (journal && !names.contains(file)) {
            ::unlink(QFile::encodeName(dir.filePath(name)).constData());
        } else if (!journal && writerGone(path)) {
            ::unlink((path + "-journal").constData());
            ::unlink(path.constData());
        }
    }
}

PartialFile::PartialFile(const QString& target) : m_target(target)
{
    const QFileInfo info(target);
    RemovePartialLeftovers(info.absolutePath());
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QLatin1Char('/') + PartialFilePrefix(target) +
                                           QStringLiteral("XXXXXX") + QLatin1String(PartialFileSuffix));
    m_fd = ::mkostemps(pattern.data(), int(sizeof(PartialFileSuffix) - 1), O_CLOEXEC);
    if (m_fd < 0)
        ThrowFileWriteError(target, errno);
    m_path = QFile::decodeName(pattern);
    // mkstemp makes the file for its owner alone; the file stands for one
    // the user makes, so it takes that file's mode.
    ::fchmod(m_fd, mode_t(NewFileMode()));
    // Held until the file is finished: tells a live writer from a leftover.
    ::flock(m_fd, LOCK_EX | LOCK_NB);
}

PartialFile::~PartialFile()
{
    closeFile();
    if (!m_done)
        QFile::remove(m_path);
}

void PartialFile::closeFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void PartialFile::write(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowFileWriteError(m_target, errno);
        }
        data += n;
        size -= n;
    }
}

void PartialFile::commit(bool replace)
{
    m_done = true;
    try {
        if (::fsync(m_fd) != 0)
            ThrowFileWriteError(m_target, errno);
    } catch (const DbError&) {
        closeFile();
        QFile::remove(m_path);
        throw;
    }
    closeFile();
    RenameWholeFile(m_path, m_target, replace);
}

QString PartialFile::keep()
{
    m_done = true;
    closeFile();
    return m_path;
}

void RenameWholeFile(const QString& fresh, const QString& target, bool replace)
{
    const QByteArray from = QFile::encodeName(fresh);
    const QByteArray to = QFile::encodeName(target);
    bool done = false;
    if (replace) {
        done = std::rename(from.constData(), to.constData()) == 0;
    } else if (::link(from.constData(), to.constData()) == 0) {
        // A hard link never replaces an existing name.
        ::unlink(from.constData());
        done = true;
    } else if (errno != EEXIST && !QFileInfo::exists(target)) {
        // File systems without hard links: the name was free a moment ago.
        done = std::rename(from.constData(), to.constData()) == 0;
    } else {
        errno = EEXIST;
    }
    if (!done) {
        const int err = errno;
        QFile::remove(fresh);
        ThrowFileWriteError(target, err);
    }
    syncFolder(target);
}
