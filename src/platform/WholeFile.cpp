#include "platform/WholeFile.h"

#include "platform/Database.h"
#include "platform/sqlcipher.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

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

}  // namespace

QString PartialFilePrefix(const QString& target)
{
    return QStringLiteral(".") + QFileInfo(target).fileName() + QStringLiteral(".");
}

PartialFile::PartialFile(const QString& target) : m_target(target)
{
    const QFileInfo info(target);
    QTemporaryFile file(info.absolutePath() + QLatin1Char('/') + PartialFilePrefix(target) + QStringLiteral("XXXXXX"));
    if (!file.open())
        fail(QStringLiteral("无法在文件夹 %1 中写入文件：%2").arg(info.absolutePath(), file.errorString()));
    file.setAutoRemove(false);
    m_path = file.fileName();
}

PartialFile::~PartialFile()
{
    if (!m_done)
        QFile::remove(m_path);
}

void PartialFile::commit(bool replace)
{
    m_done = true;
    try {
        SyncFileToDisk(m_path);
    } catch (const DbError&) {
        QFile::remove(m_path);
        throw;
    }
    RenameWholeFile(m_path, m_target, replace);
}

QString PartialFile::keep()
{
    m_done = true;
    return m_path;
}

void SyncFileToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const QString reason = systemError();
        if (fd >= 0)
            ::close(fd);
        fail(QStringLiteral("无法写入文件 %1：%2").arg(path, reason));
    }
    ::close(fd);
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
        const QString reason = errno == EEXIST ? QStringLiteral("目标文件已存在") : systemError();
        QFile::remove(fresh);
        fail(QStringLiteral("无法写入文件 %1：%2").arg(target, reason));
    }
    syncFolder(target);
}
