#pragma once
// Another program instance, for the "another user has the set open" cases: a
// child process holding a classic fcntl lock on a lock file until it is let
// go. The child uses nothing but system calls, which is all a forked copy of
// a threaded program may safely do.

#include <QString>
#include <sys/types.h>

class OtherInstance {
public:
    ~OtherInstance() { end(); }
    // True when the other instance got the lock (F_RDLCK or F_WRLCK) on `lockFile`.
    bool lock(const QString& lockFile, short type);
    // The set open elsewhere: a shared lock on the set's lock file.
    bool holdOpen(const QString& setPath);
    void end();

private:
    pid_t m_pid = -1;
    int m_release = -1;
};
