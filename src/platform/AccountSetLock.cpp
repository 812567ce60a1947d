#include "platform/AccountSetLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A whole-file lock of the open file description; F_UNLCK releases it.
bool setLock(int fd, short type)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

bool lockedByOther(int err)
{
    return err == EAGAIN || err == EACCES;
}

// True while `fd` is the file that the name `file` stands for: a holder that
// closed the set last may have removed the name in the meantime.
bool stillNamed(int fd, const QByteArray& file)
{
    struct stat held {};
    struct stat named {};
    return fstat(fd, &held) == 0 && ::stat(file.constData(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

AccountSetLock::~AccountSetLock()
{
    release();
}

QString AccountSetLock::LockFilePath(const QString& setPath)
{
    return setPath + QStringLiteral(".lock");
}

bool AccountSetLock::lockShared(const QString& setPath)
{
    return lock(setPath, false);
}

bool AccountSetLock::tryLockExclusive(const QString& setPath)
{
    return lock(setPath, true);
}

bool AccountSetLock::lock(const QString& setPath, bool exclusive)
{
    m_heldElsewhere = false;
    const short type = exclusive ? F_WRLCK : F_RDLCK;
    if (m_fd >= 0 && m_setPath == setPath) {
        // Converting the held lock: a refused upgrade leaves the shared lock in place.
        if (!setLock(m_fd, type)) {
            m_heldElsewhere = lockedByOther(errno);
            return false;
        }
        m_exclusive = exclusive;
        return true;
    }
    release();

    const QByteArray file = QFile::encodeName(LockFilePath(setPath));
    for (int attempt = 0; attempt < 20; ++attempt) {
        int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Other users of a shared folder must be able to lock it too; only the
            // owner may change the mode, and a refusal changes nothing.
            fchmod(fd, 0666);
        } else if (!exclusive) {
            // A lock file made by another user: reading is enough for a shared lock.
            fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
        }
        if (fd < 0)
            return false;
        if (!setLock(fd, type)) {
            m_heldElsewhere = lockedByOther(errno);
            ::close(fd);
            return false;
        }
        if (!stillNamed(fd, file)) {
            // Locked a file that its last holder removed: start again on the new one.
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_exclusive = exclusive;
        m_setPath = setPath;
        return true;
    }
    return false;
}

void AccountSetLock::release()
{
    if (m_fd < 0)
        return;
    // The last holder removes the lock file: it takes the lock exclusively
    // first, so nobody else holds it, and whoever opened the file meanwhile
    // sees the name gone once locked and starts again.
    if (setLock(m_fd, F_WRLCK)) {
        const QByteArray file = QFile::encodeName(LockFilePath(m_setPath));
        if (stillNamed(m_fd, file))
            ::unlink(file.constData());
    }
    // Closing the only descriptor of the description drops its lock.
    ::close(m_fd);
    m_fd = -1;
    m_exclusive = false;
    m_setPath.clear();
}

bool AccountSetLock::IsOpenElsewhere(const QString& setPath)
{
    const QByteArray file = QFile::encodeName(LockFilePath(setPath));
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    const bool held = fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    ::close(fd);
    return held;
}
