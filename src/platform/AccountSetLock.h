#pragma once
// Who has an account set open. Linux has no mandatory file locks and an idle
// SQLite connection holds none, so every program instance that opens a set
// holds a shared lock on the file "<set>.lock" beside it for as long as the
// set is open. Backup, restore, compaction and repair need the set to
// themselves: they take the lock exclusively, or refuse.
//
// The locks are fcntl record locks of the open file description (OFD), so two
// AccountSetLock objects conflict even inside one process, and releasing one
// never drops another's lock; they also conflict with classic per-process
// fcntl locks on the same file. The last holder removes the lock file when it
// lets go: it removes the name only while holding the lock exclusively, and a
// holder that locked a file whose name is gone starts again on a new one.

#include <QString>

class AccountSetLock {
public:
    AccountSetLock() = default;
    ~AccountSetLock();
    AccountSetLock(const AccountSetLock&) = delete;
    AccountSetLock& operator=(const AccountSetLock&) = delete;

    // Holds the set open: a shared lock, taken at once or not at all. On the
    // set this object already holds exclusively, the lock is turned back into
    // a shared one. False when someone holds the set exclusively, or the lock
    // file can neither be created nor opened.
    bool lockShared(const QString& setPath);
    // Takes the set for this object alone, at once or not at all. On the set
    // this object already holds shared, the lock is upgraded in place and kept
    // shared when that fails. False when anyone else has the set open.
    bool tryLockExclusive(const QString& setPath);
    // Drops the lock (nothing when none is held).
    void release();

    bool isLocked() const { return m_fd >= 0; }
    bool isExclusive() const { return m_fd >= 0 && m_exclusive; }
    const QString& setPath() const { return m_setPath; }
    // After a failed lock: true when another holder was in the way, false when
    // the lock file itself could not be used.
    bool heldElsewhere() const { return m_heldElsewhere; }

    // True when any instance (another program, or another AccountSetLock of
    // this one) has the set open. Never creates the lock file.
    static bool IsOpenElsewhere(const QString& setPath);
    static QString LockFilePath(const QString& setPath);

private:
    bool lock(const QString& setPath, bool exclusive);

    int m_fd = -1;
    bool m_exclusive = false;
    bool m_heldElsewhere = false;
    QString m_setPath;
};
