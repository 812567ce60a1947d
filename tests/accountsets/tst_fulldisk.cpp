#include "MaintenanceFixture.h"
#include "accountsets/AutoBackup.h"
#include "accountsets/Backup.h"
#include "accountsets/BackupForm.h"
#include "accountsets/CompactForm.h"
#include "accountsets/RestoreForm.h"
#include "core/AccountSetOpen.h"
#include "core/ProgramEnd.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

// A full disk under each file job of the account sets: the user is told that
// the disk is full, in Chinese, nothing partial stays on the disk and the set
// stays open as it was.
class TestFullDisk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fullDiskIsSaidSo_data();
    void fullDiskIsSaidSo();

private:
    int ends = 0;
    std::function<void()> previousEnd;
};

void TestFullDisk::init()
{
    ends = 0;
    previousEnd = SetProgramEndHandler([this] { ++ends; });
}

void TestFullDisk::cleanup()
{
    SetProgramEndHandler(previousEnd);
}

void TestFullDisk::fullDiskIsSaidSo_data()
{
    QTest::addColumn<QString>("job");
    QTest::newRow("backup window") << "backup";
    QTest::newRow("automatic backup") << "autobackup";
    QTest::newRow("compaction") << "compact";
    QTest::newRow("restore") << "restore";
}

void TestFullDisk::fullDiskIsSaidSo()
{
    QFETCH(QString, job);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    BuildPostedBook(set.db());
    const QString figures = PostedFigures(set.db());
    const qint64 setSize = QFileInfo(set.setPath()).size();
    // Restore copies beside the set, so the set itself lives on the small
    // disk; the others write their copies there.
    SmallDisk disk(job == QLatin1String("restore") ? setSize + 48 * 1024 : 64 * 1024);
    SKIP_WITHOUT_SMALL_DISK(disk);
    const QString folder = disk.path() + QLatin1Char('/');
    QStringList before;

    MessageScript msgs;
    msgs.expect(QStringLiteral("磁盘空间已满"));
    if (job == QLatin1String("backup")) {
        sysDBbak w(set.app());
        DialogScript dialogs;
        dialogs.saveFile(folder + QStringLiteral("备份测试.vxs"));
        w.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    } else if (job == QLatin1String("autobackup")) {
        set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID IN (876, 8195)"));
        set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (876, 0, ''), (8195, 1, ?)"), {folder});
        AutoBackup(set.app());
        QCOMPARE(msgs.last().title, QStringLiteral("自动备份"));
        OpenAccountSetFile(set.app(), set.setPath());
    } else if (job == QLatin1String("compact")) {
        set.app().DataFolder = folder;
        msgs.clear();
        msgs.expect(QStringLiteral("确订要执行本操作吗？"), MB::OK);
        msgs.expect(QStringLiteral("磁盘空间已满"));
        WhenModal([](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("Cmd0"))->click(); });
        CompactOpenAccountSet(set.app());
    } else {
        const QString source = set.folder() + QStringLiteral("备份.vxs");
        BackupAccountSet(set.app(), source);
        const QString onDisk = folder + QStringLiteral("测试账套.vxs");
        set.db().close();
        QVERIFY(QFile::copy(set.setPath(), onDisk));
        set.app().CurrentSetPath = onDisk;
        OpenAccountSetFile(set.app(), onDisk);
        before = disk.files();
        S32 w(set.app());
        DialogScript dialogs;
        dialogs.openFile(source);
        w.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    QVERIFY2(msgs.pending() == 0, qPrintable(msgs.count() ? msgs.last().text : QString()));
    const QString text = msgs.last().text;
    QVERIFY2(!text.contains(QStringLiteral("其它用户")) && !text.contains(QStringLiteral("未知错误")) &&
                 !text.contains(QStringLiteral("权限")),
             qPrintable(text));
    QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{4,}"))) || text.contains(disk.path()),
             qPrintable(text));
    // Nothing partial on the disk: only what stood there before (the set, its lock).
    QStringList left = disk.files();
    left.removeAll(QStringLiteral("测试账套.vxs.lock"));
    before.removeAll(QStringLiteral("测试账套.vxs.lock"));
    QCOMPARE(left, before);
    QVERIFY(set.db().isOpen());
    QCOMPARE(PostedFigures(set.db()), figures);
    set.db().close();
    set.app().CurrentSetLock.release();
}

VX_REGISTER_TEST(TestFullDisk)
#include "tst_fulldisk.moc"
