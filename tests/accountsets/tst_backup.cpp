#include "MaintenanceFixture.h"
#include "accountsets/Backup.h"
#include "accountsets/BackupForm.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

// The backup window: a copy made now, and the settings of the automatic backup.
class TestBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupRoundTripsARealFile();
    void refusedWhileAnotherInstanceHasTheSetOpen();
    void existingTargetIsRefusedAndAskedAgain();
    void networkProgramFolderIsRefused();
    void savingSettings_data();
    void savingSettings();
    void intervalAboveTheLimitIsRefused();
    void openingShowsTheSettings();
    void missingFolderFallsBackToTheBackupFolder();
    void setFromTheCommandLine();
    void tabsSwitchTheFrames();
};

namespace {

QString targetIn(FreshAccountSet& set, const QString& name)
{
    QDir().mkpath(set.folder() + QStringLiteral("copies"));
    return set.folder() + QStringLiteral("copies/") + name;
}

void click(QWidget& w, const char* name)
{
    w.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

QLineEdit* edit(QWidget& w, const char* name)
{
    return w.findChild<QLineEdit*>(QString::fromLatin1(name));
}

}  // namespace

void TestBackup::backupRoundTripsARealFile()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3) VALUES ('002', '仓管员', 'secret')"));
    BuildPostedBook(set.db());
    const QString figures = PostedFigures(set.db());
    const QString target = targetIn(set, QStringLiteral("备份测试.vxs"));

    sysDBbak w(set.app());
    DialogScript dialogs;
    dialogs.saveFile(target);
    MessageScript msgs;
    msgs.expect(QStringLiteral("备份完成！请妥善保存备份文件！"));
    click(w, "Command3");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(dialogs.titles, QStringList{QStringLiteral("系统数据备份至......")});

    Database copy;
    copy.open(target);
    QCOMPARE(PostedFigures(copy), figures);
    QCOMPARE(copy.query(QStringLiteral("SELECT F1 FROM TE1")).rowCount(), 1);
    QCOMPARE(copy.scalar(QStringLiteral("SELECT F1 FROM TE1")).toString(), QStringLiteral("001"));
    // The set itself keeps all its operators and stays open, held shared again.
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 2);
    QVERIFY(set.app().CurrentSetLock.isLocked());
    QVERIFY(!set.app().CurrentSetLock.isExclusive());
    QVERIFY(w.isEnabled());
}

void TestBackup::refusedWhileAnotherInstanceHasTheSetOpen()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    OtherInstance other;
    QVERIFY(other.holdOpen(set.setPath()));
    const QString target = targetIn(set, QStringLiteral("备份测试.vxs"));
    sysDBbak w(set.app());
    DialogScript dialogs;
    dialogs.saveFile(target);
    MessageScript msgs;
    msgs.expect(QStringLiteral("无法完成备份！其它用户正在使用此账套。\n\n请其它用户停止操作并退出系统后才可以备份！\n\n"));
    click(w, "Command3");
    QCOMPARE(msgs.count(), 1);
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(set.db().isOpen());
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 1);

    other.end();
    dialogs.saveFile(target);
    msgs.expect(QStringLiteral("备份完成！"));
    click(w, "Command3");
    QVERIFY(QFileInfo::exists(target));
}

void TestBackup::existingTargetIsRefusedAndAskedAgain()
{
    FreshAccountSet set;
    const QString target = targetIn(set, QStringLiteral("备份测试.vxs"));
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("older copy");
    }
    sysDBbak w(set.app());
    DialogScript dialogs;
    dialogs.saveFile(target).saveFile(QString());
    MessageScript msgs;
    msgs.expect(QStringLiteral("目标位置已备份的同名文件，请删除目标文件或更换备份位置！"));
    click(w, "Command3");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(dialogs.titles.size(), 2);
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("older copy"));
}

void TestBackup::networkProgramFolderIsRefused()
{
    FreshAccountSet set;
    set.app().AppFolder = QStringLiteral("//server/share/Vorlix/");
    sysDBbak w(set.app());
    DialogScript dialogs;
    MessageScript msgs;
    msgs.expect(QStringLiteral("对不起，备份数据只能在数据库本地电脑上完成！"));
    click(w, "Command3");
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QVERIFY(dialogs.titles.isEmpty());
}

void TestBackup::savingSettings_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("days");
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("rounded up") << "7.6" << 8;
    QTest::newRow("half to even, down") << "2.5" << 2;
    QTest::newRow("half to even, up") << "3.5" << 4;
    QTest::newRow("empty") << "" << 0;
}

void TestBackup::savingSettings()
{
    QFETCH(QString, typed);
    QFETCH(int, days);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    sysDBbak w(set.app());
    edit(w, "Txt")->setText(typed);
    const QString folder = edit(w, "TxtPath")->text();
    MessageScript msgs;
    msgs.expect(QStringLiteral("保存成功！"));
    click(w, "Command2");
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QCOMPARE(edit(w, "Txt")->text(), QString::number(days));
    const RecordSet row876 = set.db().query(QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID = 876"));
    QCOMPARE(row876.rowCount(), 1);
    QCOMPARE(row876.number(0, QStringLiteral("setval")), double(days));
    QCOMPARE(row876.text(0, QStringLiteral("setstr")), NoBackupYetText);
    const RecordSet row8195 = set.db().query(QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID = 8195"));
    QCOMPARE(row8195.rowCount(), 1);
    QCOMPARE(row8195.number(0, QStringLiteral("setval")), 1.0);
    QCOMPARE(row8195.text(0, QStringLiteral("setstr")), folder);

    // Saving again updates the folder row instead of adding one.
    msgs.expect(QStringLiteral("保存成功！"));
    click(w, "Command2");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM sysinfo WHERE ID = 8195")).toInt(), 1);
}

void TestBackup::intervalAboveTheLimitIsRefused()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    const QString before = TableSnapshot(set.db(), {QStringLiteral("sysinfo")});
    sysDBbak w(set.app());
    edit(w, "Txt")->setText(QStringLiteral("9e99"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("自动备份的间隔天数不能超过9999天！"));
    click(w, "Command2");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(TableSnapshot(set.db(), {QStringLiteral("sysinfo")}), before);
}

void TestBackup::openingShowsTheSettings()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    {
        sysDBbak w(set.app());
        QCOMPARE(edit(w, "Txt")->text(), QString());
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("LabInfo"))->text().endsWith(QStringLiteral("上次自动备份的时间为：还没有备份记录")));
        QVERIFY(!w.findChild<QLabel*>(QStringLiteral("Lab000"))->text().contains(QStringLiteral("001登录操作")));
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("Command2"))->isEnabled());
    }
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setval = 7, setstr = '2024-5-1' WHERE ID = 876"));
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '仓管员')"));
    set.loginAs(QStringLiteral("002"));
    sysDBbak w(set.app());
    QCOMPARE(edit(w, "Txt")->text(), QStringLiteral("7"));
    QVERIFY(w.findChild<QLabel*>(QStringLiteral("LabInfo"))->text().endsWith(QStringLiteral("上次自动备份的时间为：2024-5-1")));
    QVERIFY(w.findChild<QLabel*>(QStringLiteral("Lab000"))->text().endsWith(
        QStringLiteral("\n\n　　为了数据安全，备份出来的文件将只允许最高权限用户001登录操作。")));
    // Anyone may back up; only "001" saves the settings.
    QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("Command2"))->isEnabled());
    QVERIFY(w.findChild<QPushButton*>(QStringLiteral("Command3"))->isEnabled());
}

void TestBackup::missingFolderFallsBackToTheBackupFolder()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (8195, 1, ?)"),
                     {set.folder() + QStringLiteral("gone/")});
    sysDBbak w(set.app());
    QCOMPARE(edit(w, "TxtPath")->text(), set.app().DataFolder + QStringLiteral("数据备份/"));
    QDir().mkpath(set.folder() + QStringLiteral("usb"));
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setstr = ? WHERE ID = 8195"), {set.folder() + QStringLiteral("usb")});
    QCOMPARE(AutoBackupFolder(set.app()), set.folder() + QStringLiteral("usb/"));
}

void TestBackup::setFromTheCommandLine()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setval = 7, setstr = '2024-5-1' WHERE ID = 876"));
    set.app().OpenedFromCommandLine = -1;
    QCOMPARE(BackupFileName(set.app(), QDate(2024, 3, 5)), QStringLiteral("备份20240305.vxs"));
    sysDBbak w(set.app());
    QCOMPARE(edit(w, "Txt")->text(), QString());
    const QString before = TableSnapshot(set.db(), {QStringLiteral("sysinfo")});
    MessageScript msgs;
    msgs.expect(QStringLiteral("本次运行软件是采用直接打开账套文件方式,此方式下不能设置自动备份功能!"));
    click(w, "Command2");
    QCOMPARE(TableSnapshot(set.db(), {QStringLiteral("sysinfo")}), before);
    set.app().OpenedFromCommandLine = 0;
    QCOMPARE(BackupFileName(set.app(), QDate(2024, 3, 5)), QStringLiteral("备份测试账套20240305.vxs"));
}

void TestBackup::tabsSwitchTheFrames()
{
    FreshAccountSet set;
    sysDBbak w(set.app());
    w.show();
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Frm1"))->isVisible());
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Frm2"))->isVisible());
    w.findChild<QTabBar*>(QStringLiteral("TabStrip1"))->setCurrentIndex(1);
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Frm1"))->isVisible());
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Frm2"))->isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("系统数据备份"));

    // The explanation gets all the height its wrapped text needs and lies
    // below the folder row, not over it; the window keeps its size.
    const QSize size = w.size();
    QCoreApplication::processEvents();
    auto* info = w.findChild<QLabel*>(QStringLiteral("LabInfo"));
    auto* folder = w.findChild<QLineEdit*>(QStringLiteral("TxtPath"));
    QVERIFY(info->height() >= info->heightForWidth(info->width()));
    QVERIFY(info->geometry().top() >= folder->geometry().bottom());
    w.findChild<QTabBar*>(QStringLiteral("TabStrip1"))->setCurrentIndex(0);
    QCOMPARE(w.size(), size);
}

VX_REGISTER_TEST(TestBackup)
#include "tst_backup.moc"
