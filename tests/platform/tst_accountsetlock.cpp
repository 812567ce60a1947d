#include "platform/AccountSetLock.h"
#include "support/OtherInstance.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

class TestAccountSetLock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void sharedHoldersCoexistAcrossProcesses();
    void exclusiveWaitsForEveryOtherHolder();
    void exclusiveKeepsOtherProcessesOut();
    void locksOfOneProcessStayApart();
    void refusedUpgradeKeepsTheSharedLock();
    void unusableFolderIsNoConflict();
    void lastHolderRemovesTheLockFile();
    void holderOfARemovedLockFileStartsAgain();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_set;
};

void TestAccountSetLock::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_set = m_dir->path() + QStringLiteral("/仓库账套.vxs");
}

void TestAccountSetLock::cleanup()
{
    m_dir.reset();
}

void TestAccountSetLock::sharedHoldersCoexistAcrossProcesses()
{
    QVERIFY(!AccountSetLock::IsOpenElsewhere(m_set));
    QVERIFY(!QFileInfo::exists(AccountSetLock::LockFilePath(m_set)));

    OtherInstance other;
    QVERIFY(other.lock(AccountSetLock::LockFilePath(m_set), F_RDLCK));
    QVERIFY(AccountSetLock::IsOpenElsewhere(m_set));

    AccountSetLock mine;
    QVERIFY(mine.lockShared(m_set));
    QVERIFY(mine.isLocked());
    QVERIFY(!mine.isExclusive());
}

void TestAccountSetLock::exclusiveWaitsForEveryOtherHolder()
{
    OtherInstance other;
    QVERIFY(other.lock(AccountSetLock::LockFilePath(m_set), F_RDLCK));

    AccountSetLock backup;
    QVERIFY(!backup.tryLockExclusive(m_set));
    QVERIFY(backup.heldElsewhere());
    QVERIFY(!backup.isLocked());

    other.end();
    QVERIFY(!AccountSetLock::IsOpenElsewhere(m_set));
    QVERIFY(backup.tryLockExclusive(m_set));
    QVERIFY(backup.isExclusive());
}

void TestAccountSetLock::exclusiveKeepsOtherProcessesOut()
{
    AccountSetLock restore;
    QVERIFY(restore.tryLockExclusive(m_set));
    {
        OtherInstance reader;
        QVERIFY(!reader.lock(AccountSetLock::LockFilePath(m_set), F_RDLCK));
    }
    {
        OtherInstance writer;
        QVERIFY(!writer.lock(AccountSetLock::LockFilePath(m_set), F_WRLCK));
    }
    restore.release();
    QVERIFY(!restore.isLocked());
    OtherInstance reader;
    QVERIFY(reader.lock(AccountSetLock::LockFilePath(m_set), F_RDLCK));
}

void TestAccountSetLock::locksOfOneProcessStayApart()
{
    auto program = std::make_unique<AccountSetLock>();
    QVERIFY(program->lockShared(m_set));

    AccountSetLock compaction;
    QVERIFY(!compaction.tryLockExclusive(m_set));
    QVERIFY(compaction.heldElsewhere());

    // Two shared holders; letting one go keeps the other's lock.
    AccountSetLock second;
    QVERIFY(second.lockShared(m_set));
    program.reset();
    QVERIFY(AccountSetLock::IsOpenElsewhere(m_set));
    {
        OtherInstance writer;
        QVERIFY(!writer.lock(AccountSetLock::LockFilePath(m_set), F_WRLCK));
    }

    // The remaining holder upgrades in place, and back.
    QVERIFY(second.tryLockExclusive(m_set));
    QVERIFY(second.isExclusive());
    QVERIFY(!compaction.lockShared(m_set));
    QVERIFY(second.lockShared(m_set));
    QVERIFY(!second.isExclusive());
    QVERIFY(compaction.lockShared(m_set));
}

void TestAccountSetLock::refusedUpgradeKeepsTheSharedLock()
{
    AccountSetLock mine;
    QVERIFY(mine.lockShared(m_set));
    OtherInstance other;
    QVERIFY(other.lock(AccountSetLock::LockFilePath(m_set), F_RDLCK));

    QVERIFY(!mine.tryLockExclusive(m_set));
    QVERIFY(mine.heldElsewhere());
    QVERIFY(mine.isLocked());
    QVERIFY(!mine.isExclusive());
    other.end();

    OtherInstance writer;
    QVERIFY(!writer.lock(AccountSetLock::LockFilePath(m_set), F_WRLCK));
}

void TestAccountSetLock::unusableFolderIsNoConflict()
{
    const QString set = m_dir->path() + QStringLiteral("/没有这个文件夹/a.vxs");
    AccountSetLock lock;
    QVERIFY(!lock.lockShared(set));
    QVERIFY(!lock.heldElsewhere());
    QVERIFY(!lock.tryLockExclusive(set));
    QVERIFY(!lock.heldElsewhere());
    QVERIFY(!AccountSetLock::IsOpenElsewhere(set));
}

void TestAccountSetLock::lastHolderRemovesTheLockFile()
{
    const QString file = AccountSetLock::LockFilePath(m_set);
    AccountSetLock first;
    AccountSetLock second;
    QVERIFY(first.lockShared(m_set));
    QVERIFY(second.lockShared(m_set));
    first.release();
    QVERIFY(QFileInfo::exists(file));  // the other holder still needs it
    {
        OtherInstance other;
        QVERIFY(other.lock(file, F_RDLCK));
        second.release();
        QVERIFY(QFileInfo::exists(file));  // another program holds it too
    }
    QVERIFY(second.lockShared(m_set));
    second.release();
    QVERIFY(!QFileInfo::exists(file));
}

// A holder that opened the lock file just before its last holder removed it
// must not lock a file nobody else can see: it locks the new one.
void TestAccountSetLock::holderOfARemovedLockFileStartsAgain()
{
    const QString file = AccountSetLock::LockFilePath(m_set);
    AccountSetLock mine;
    QVERIFY(mine.lockShared(m_set));
    mine.release();
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(mine.tryLockExclusive(m_set));
    QVERIFY(QFileInfo::exists(file));
    // Another program sees the exclusive holder through the file's name.
    OtherInstance other;
    QVERIFY(!other.lock(file, F_RDLCK));
}

VX_REGISTER_TEST(TestAccountSetLock)
#include "tst_accountsetlock.moc"
