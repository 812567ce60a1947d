#include "MaintenanceFixture.h"
#include "accountsets/Backup.h"
#include "accountsets/BackupFileWork.h"
#include "accountsets/RestoreForm.h"
#include "core/ProgramEnd.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

// The restore window: a backup copy replaces the open set's file, or, on any
// failure, the set stays exactly as it was and open.
class TestRestore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void restoreRoundTripsABackup();
    void unusableSourceLeavesTheSetAsItWas_data();
    void unusableSourceLeavesTheSetAsItWas();
    void cancellingChangesNothing();
    void refusedWhileAnotherInstanceHasTheSetOpen();
    void networkSetIsRefusedBeforeTheDialog();

private:
    int ends = 0;
    std::function<void()> previousEnd;
};

namespace {

const QStringList Tables{QStringLiteral("TA1"), QStringLiteral("TA4"), QStringLiteral("TB1"), QStringLiteral("TB11"),
                         QStringLiteral("TE1")};

void clickRestore(S32& w)
{
    w.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
}

// Files of the set's folder that a failed swap could have left behind.
QStringList hiddenFiles(const FreshAccountSet& set)
{
    return QDir(set.folder() + QStringLiteral("data")).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(QStringLiteral("^\\.")));
}

}  // namespace

void TestRestore::init()
{
    ends = 0;
    previousEnd = SetProgramEndHandler([this] { ++ends; });
}

void TestRestore::cleanup()
{
    SetProgramEndHandler(previousEnd);
}

void TestRestore::restoreRoundTripsABackup()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '仓管员')"));
    BuildPostedBook(set.db());
    const QString backedUp = PostedFigures(set.db());
    const QString copy = set.folder() + QStringLiteral("备份测试账套.vxs");
    BackupAccountSet(set.app(), copy);
    QFile(copy).setPermissions(QFileDevice::ReadOwner);
    set.db().execute(QStringLiteral("DELETE FROM TB11 WHERE F0 = 'CK01'"));
    set.db().execute(QStringLiteral("UPDATE TA4 SET F8 = 0"));
    QVERIFY(PostedFigures(set.db()) != backedUp);

    S32 w(set.app());
    DialogScript dialogs;
    dialogs.openFile(copy);
    MessageScript msgs;
    msgs.expect(QStringLiteral("数据恢复成功！为了数据安全，请重新运行软件！"));
    clickRestore(w);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QCOMPARE(dialogs.titles, QStringList{QStringLiteral("从备份文件中恢复数据到现在的系统")});
    QCOMPARE(ends, 1);

    QVERIFY(set.db().isOpen());
    QCOMPARE(set.db().path(), set.setPath());
    QCOMPARE(PostedFigures(set.db()), backedUp);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 1);
    // The set keeps its own file permissions, not the read-only ones of the copy.
    QVERIFY(QFileInfo(set.setPath()).permissions() & QFileDevice::WriteOwner);
    QVERIFY(set.app().CurrentSetLock.isLocked());
    QVERIFY(!set.app().CurrentSetLock.isExclusive());
    QCOMPARE(hiddenFiles(set), QStringList());
}

void TestRestore::unusableSourceLeavesTheSetAsItWas_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file named vxs") << "text";
    QTest::newRow("plain SQLite file") << "plain";
    QTest::newRow("another password") << "password";
    QTest::newRow("database of another program") << "foreign";
    QTest::newRow("missing file") << "missing";
}

void TestRestore::unusableSourceLeavesTheSetAsItWas()
{
    QFETCH(QString, kind);
    FreshAccountSet set;
    BuildPostedBook(set.db());
    const QString before = TableSnapshot(set.db(), Tables);
    const QString source = set.folder() + QStringLiteral("source.vxs");
    if (kind == QLatin1String("text")) {
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("这不是账套文件");
    } else if (kind == QLatin1String("plain")) {
        WritePlainSqliteFile(source);
    } else if (kind != QLatin1String("missing")) {
        Database other;
        other.create(source, kind == QLatin1String("password") ? QStringLiteral("another") : Database::DefaultPassword);
        other.execute(QStringLiteral("CREATE TABLE TA4 (F1 TEXT)"));
    }

    S32 w(set.app());
    DialogScript dialogs;
    dialogs.openFile(source);
    MessageScript msgs;
    msgs.expect(QStringLiteral("系统数据恢复失败！原因如下：\n"));
    clickRestore(w);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QVERIFY(msgs.last().text.size() > QStringLiteral("系统数据恢复失败！原因如下：\n").size());
    QCOMPARE(ends, 0);
    QVERIFY(set.db().isOpen());
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
    QCOMPARE(hiddenFiles(set), QStringList());
    QVERIFY(w.isEnabled());
}

void TestRestore::cancellingChangesNothing()
{
    FreshAccountSet set;
    S32 w(set.app());
    DialogScript dialogs;
    dialogs.openFile(QString());
    MessageScript msgs;
    clickRestore(w);
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(ends, 0);
    QVERIFY(set.db().isOpen());
}

void TestRestore::refusedWhileAnotherInstanceHasTheSetOpen()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    const QString copy = set.folder() + QStringLiteral("copy.vxs");
    BackupAccountSet(set.app(), copy);
    set.db().execute(QStringLiteral("UPDATE TA4 SET F8 = 0"));
    const QString before = TableSnapshot(set.db(), Tables);
    OtherInstance other;
    QVERIFY(other.holdOpen(set.setPath()));
    S32 w(set.app());
    DialogScript dialogs;
    dialogs.openFile(copy);
    MessageScript msgs;
    msgs.expect(QStringLiteral("系统数据恢复失败！原因如下：\n") + SetInUseText());
    clickRestore(w);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(ends, 0);
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
}

void TestRestore::networkSetIsRefusedBeforeTheDialog()
{
    FreshAccountSet set;
    set.app().CurrentSetPath = QStringLiteral("//server/share/测试账套.vxs");
    S32 w(set.app());
    DialogScript dialogs;
    MessageScript msgs;
    msgs.expect(QStringLiteral("数据恢复只能在数据库本地电脑上执行！"));
    clickRestore(w);
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QVERIFY(dialogs.titles.isEmpty());
    QCOMPARE(ends, 0);
}

VX_REGISTER_TEST(TestRestore)
#include "tst_restore.moc"
