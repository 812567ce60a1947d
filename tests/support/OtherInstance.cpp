#include "support/OtherInstance.h"

#include "platform/AccountSetLock.h"

#include <QFile>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

bool OtherInstance::lock(const QString& lockFile, short type)
{
    end();
    const QByteArray file = QFile::encodeName(lockFile);
    int report[2];
    int hold[2];
    if (pipe(report) != 0 || pipe(hold) != 0)
        return false;
    m_pid = fork();
    if (m_pid == 0) {
        // Drop every descriptor inherited from the test, its locks' ones included.
        for (int fd = 3; fd < 1024; ++fd)
            if (fd != report[1] && fd != hold[0])
                close(fd);
        const int fd = open(file.constData(), O_RDWR | O_CREAT, 0666);
        struct flock fl {};
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        const char got = (fd >= 0 && fcntl(fd, F_SETLK, &fl) == 0) ? 'y' : 'n';
        if (write(report[1], &got, 1) != 1)
            _exit(1);
        char c;
        while (read(hold[0], &c, 1) > 0) {
        }
        _exit(0);
    }
    close(report[1]);
    close(hold[0]);
    m_release = hold[1];
    char got = 'n';
    if (read(report[0], &got, 1) != 1)
        got = 'n';
    close(report[0]);
    return got == 'y';
}

bool OtherInstance::holdOpen(const QString& setPath)
{
    return lock(AccountSetLock::LockFilePath(setPath), F_RDLCK);
}

void OtherInstance::end()
{
    if (m_release >= 0)
        close(m_release);
    m_release = -1;
    if (m_pid > 0)
        waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}
