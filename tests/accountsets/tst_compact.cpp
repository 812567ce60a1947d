#include "MaintenanceFixture.h"
#include "accountsets/BackupFileWork.h"
#include "accountsets/Compact.h"
#include "accountsets/CompactForm.h"
#include "accountsets/Repair.h"
#include "core/ProgramEnd.h"
#include "core/SqlText.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// Compaction from the menu and the reminder, and the repair: every row kept,
// the file never lost, refused while another instance has the set open.
class TestCompact : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void compactionKeepsEveryRow();
    void refusedWhileAnotherInstanceHasTheSetOpen();
    void existingSafetyCopyLeavesTheFileAlone();
    void sizeText_data();
    void sizeText();
    void safetyCopyNames();
    void onlyTheAdministratorCompacts();
    void cancellingRecordsNothing_data();
    void cancellingRecordsNothing();
    void smallGrowthIsNoted();
    void reminder_data();
    void reminder();
    void repair();
    void missingFileKeepsTheWindowOpen();
    void repairOfAnEmptyFileSaysItCouldNotMendIt();

private:
    int ends = 0;
    std::function<void()> previousEnd;
};

namespace {

const QStringList AllTables{QStringLiteral("TA1"), QStringLiteral("TA3"), QStringLiteral("TA4"), QStringLiteral("Bom"),
                            QStringLiteral("TB1"), QStringLiteral("TB11"), QStringLiteral("TE1"),
                            QStringLiteral("sysinfo"), QStringLiteral("KhPrice"), QStringLiteral("RkPrice")};

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// Grows the file with rows that are deleted again, leaving free pages.
void leaveFreePages(Database& db, int kib)
{
    db.execute(QStringLiteral("CREATE TABLE scratch (b BLOB)"));
    for (int i = 0; i < kib / 64; ++i)
        db.execute(QStringLiteral("INSERT INTO scratch VALUES (zeroblob(65536))"));
    db.execute(QStringLiteral("DROP TABLE scratch"));
}

// Grows the file for good with rows that stay.
void growBy(Database& db, int kib)
{
    db.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ballast (b BLOB)"));
    for (int i = 0; i < kib / 64; ++i)
        db.execute(QStringLiteral("INSERT INTO ballast VALUES (randomblob(65536))"));
}

QStringList backupFolderFiles(FreshAccountSet& set)
{
    return QDir(set.app().DataFolder + QStringLiteral("数据备份")).entryList(QDir::Files);
}

// Clicks a button of the next modal window, after `look` has seen it.
void onNextWindow(const QString& button, std::function<void(SysdbCompact*)> look = {})
{
    WhenModal([button, look](QWidget* w) {
        auto* window = qobject_cast<SysdbCompact*>(w);
        QVERIFY(window);
        if (look)
            look(window);
        window->findChild<QPushButton*>(button)->click();
    });
}

}  // namespace

void TestCompact::init()
{
    ends = 0;
    previousEnd = SetProgramEndHandler([this] { ++ends; });
}

void TestCompact::cleanup()
{
    SetProgramEndHandler(previousEnd);
}

void TestCompact::compactionKeepsEveryRow()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    BuildPostedBook(set.db());
    leaveFreePages(set.db(), 1024);
    const QString rows = TableSnapshot(set.db(), AllTables);
    const qint64 before = FileSizeKB(set.setPath());

    MessageScript msgs;
    msgs.expect(QStringLiteral("确订要执行本操作吗？"), MB::OK);
    msgs.expect(QStringLiteral("] 压缩成功！\n\n压缩前文件大小为 "));
    QString caption;
    onNextWindow(QStringLiteral("Cmd0"), [&caption](SysdbCompact* w) { caption = w->windowTitle(); });
    CompactOpenAccountSet(set.app());
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(msgs.recorded().at(0).style, MB::OKCancel | MB::Question);
    QCOMPARE(caption, QStringLiteral("测试账套 账套文件压缩-") + set.setPath());

    const qint64 after = FileSizeKB(set.setPath());
    QVERIFY2(after < before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    QVERIFY(msgs.last().text.contains(SizeText(before) + QStringLiteral("，压缩后文件大小为 ") + SizeText(after)));
    QVERIFY(set.db().isOpen());
    QCOMPARE(TableSnapshot(set.db(), AllTables).remove(QRegularExpression(QStringLiteral("877\\|[^\n]*\n"))),
             QString(rows).remove(QRegularExpression(QStringLiteral("877\\|[^\n]*\n"))));
    QCOMPARE(RecordedCompactionKB(set.db()), after);
    QCOMPARE(RecordedCompactionDate(set.db()), DateText(QDate::currentDate()));
    QVERIFY(set.app().CurrentSetLock.isLocked());
    // The safety copy stays in the backup folder, and opens.
    const QStringList copies = backupFolderFiles(set);
    QCOMPARE(copies.size(), 1);
    Database safety;
    safety.open(set.app().DataFolder + QStringLiteral("数据备份/") + copies.first());
    QCOMPARE(safety.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(),
             set.db().scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt());
    QCOMPARE(ends, 0);
}

void TestCompact::refusedWhileAnotherInstanceHasTheSetOpen()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    leaveFreePages(set.db(), 256);
    set.db().close();
    const QByteArray before = digest(set.setPath());
    set.db().open(set.setPath());
    OtherInstance other;
    QVERIFY(other.holdOpen(set.setPath()));

    MessageScript msgs;
    msgs.expect(QStringLiteral("确订要执行本操作吗？"), MB::OK);
    msgs.expect(QStringLiteral("账套文件 [ ") + set.setPath() + QStringLiteral(" ] 压缩失败！\n\n") + SetInUseText());
    onNextWindow(QStringLiteral("Cmd0"));
    CompactOpenAccountSet(set.app());
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(msgs.last().icon(), MB::Exclamation);
    QVERIFY(set.db().isOpen());
    QCOMPARE(RecordedCompactionKB(set.db()), qint64(0));
    set.db().close();
    QCOMPARE(digest(set.setPath()), before);
    QCOMPARE(backupFolderFiles(set), QStringList());
}

void TestCompact::existingSafetyCopyLeavesTheFileAlone()
{
    FreshAccountSet set;
    const QString path = set.setPath();
    set.db().close();
    const QByteArray before = digest(path);
    const QString safety = set.folder() + QStringLiteral("safety.vxs");
    {
        QFile f(safety);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("an older safety copy");
    }
    QVERIFY_THROWS_EXCEPTION(DbError, CompactAccountSetFile(path, safety));
    QCOMPARE(digest(path), before);
    QCOMPARE(QFileInfo(safety).size(), qint64(20));
}

void TestCompact::sizeText_data()
{
    QTest::addColumn<qint64>("kb");
    QTest::addColumn<QString>("text");
    QTest::newRow("1024 KB") << qint64(1024) << "1024 KB";
    QTest::newRow("1025 KB") << qint64(1025) << "1.001 MB";
    QTest::newRow("2048 KB") << qint64(2048) << "2 MB";
    QTest::newRow("half to even") << qint64(1536) << "1.5 MB";
    QTest::newRow("small") << qint64(3) << "3 KB";
}

void TestCompact::sizeText()
{
    QFETCH(qint64, kb);
    QFETCH(QString, text);
    QCOMPARE(SizeText(kb), text);
}

void TestCompact::safetyCopyNames()
{
    FreshAccountSet set;
    const QString folder = set.app().DataFolder + QStringLiteral("数据备份/");
    const QString january = SafetyCopyPath(set.app(), QDateTime(QDate(2024, 1, 11), QTime(9, 5, 7)));
    QCOMPARE(january, folder + QStringLiteral("测试账套111957.vxs"));
    QCOMPARE(SafetyCopyPath(set.app(), QDateTime(QDate(2024, 11, 1), QTime(9, 5, 7))), january);
}

void TestCompact::onlyTheAdministratorCompacts()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '仓管员')"));
    set.loginAs(QStringLiteral("002"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("您无此权限!"));
    CompactOpenAccountSet(set.app());
    QCOMPARE(msgs.count(), 1);
    QVERIFY(set.db().isOpen());
}

void TestCompact::cancellingRecordsNothing_data()
{
    QTest::addColumn<bool>("inQuestion");
    QTest::newRow("in the question") << true;
    QTest::newRow("in the window") << false;
}

void TestCompact::cancellingRecordsNothing()
{
    QFETCH(bool, inQuestion);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    leaveFreePages(set.db(), 256);
    const QString settings = TableSnapshot(set.db(), {QStringLiteral("sysinfo")});
    MessageScript msgs;
    msgs.expect(QStringLiteral("确订要执行本操作吗？"), inQuestion ? MB::Cancel : MB::OK);
    if (!inQuestion)
        onNextWindow(QStringLiteral("Cmd1"));
    CompactOpenAccountSet(set.app());
    QCOMPARE(msgs.count(), 1);
    QVERIFY(set.db().isOpen());
    QCOMPARE(TableSnapshot(set.db(), {QStringLiteral("sysinfo")}), settings);
    QCOMPARE(backupFolderFiles(set), QStringList());
}

void TestCompact::smallGrowthIsNoted()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    const qint64 size = FileSizeKB(set.setPath());
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (877, ?, '2024-5-1')"),
                     {double(size - 100)});
    MessageScript msgs;
    msgs.expect(QStringLiteral("确订要执行本操作吗？"), MB::OK);
    QString info;
    onNextWindow(QStringLiteral("Cmd1"), [&info](SysdbCompact* w) {
        info = w->findChild<QLabel*>(QStringLiteral("LabInfo"))->text();
    });
    CompactOpenAccountSet(set.app());
    QVERIFY(info.startsWith(QStringLiteral("    一个账套文件长期使用后文件尺寸会不断增大")));
    QVERIFY(info.endsWith(QStringLiteral("\n\n    您要压缩的账套文件在2024-5-1进行过压缩，现在文件尺寸没有较大增长，如果在此期间您没有做过大量删除操作，就不必压缩。")));
}

void TestCompact::reminder_data()
{
    QTest::addColumn<QString>("operatorCode");
    QTest::addColumn<int>("recorded");  // setting 877, -1 for no row
    QTest::addColumn<int>("growKiB");
    QTest::addColumn<QString>("expected");  // the end of the explanation, "" when no window shows
    QTest::newRow("never compacted, small") << "001" << -1 << 1024 << "";
    QTest::newRow("never compacted, above 3024 KB") << "001" << -1 << 3100
                                                     << "自从建立以来从未进行过压缩，经过一段时间的使用文件尺寸已经增长，建议您对该账套进行压缩。";
    QTest::newRow("grown by 2000 KB") << "001" << 100 << 2100 << "进行过压缩，现在增长了";
    QTest::newRow("grown by less") << "001" << 100 << 1024 << "";
    QTest::newRow("another operator") << "002" << 100 << 2100 << "";
}

void TestCompact::reminder()
{
    QFETCH(QString, operatorCode);
    QFETCH(int, recorded);
    QFETCH(int, growKiB);
    QFETCH(QString, expected);
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '仓管员')"));
    set.loginAs(operatorCode);
    growBy(set.db(), growKiB);
    if (recorded >= 0)
        set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (877, ?, '2024-5-1')"),
                         {recorded});
    const qint64 size = FileSizeKB(set.setPath());
    QString info;
    bool shown = false;
    WhenModal(
        [&](QWidget* w) {
            shown = true;
            auto* window = qobject_cast<SysdbCompact*>(w);
            QVERIFY(window);
            QCOMPARE(window->windowTitle(), QStringLiteral("测试账套 账套文件压缩 -") + set.setPath());
            info = window->LabInfo->text();
            window->Cmd[1]->click();
        },
        300);
    CompactReminder(set.app());
    QTest::qWait(400);
    QCOMPARE(shown, !expected.isEmpty());
    QVERIFY(set.db().isOpen());
    if (expected.isEmpty()) {
        QCOMPARE(RecordedCompactionKB(set.db()), qint64(qMax(recorded, 0)));
        return;
    }
    QVERIFY2(info.contains(expected), qPrintable(info));
    if (recorded > 0)
        QVERIFY(info.contains(QStringLiteral("您现在打开的账套文件在2024-5-1进行过压缩，现在增长了%1 KB，建议进行压缩。")
                                  .arg(size - recorded)));
    // A cancelled reminder records the size, so it stays quiet until the next 2000 KB.
    QCOMPARE(RecordedCompactionKB(set.db()), FileSizeKB(set.setPath()));
}

void TestCompact::repair()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    const QString rows = TableSnapshot(set.db(), AllTables);
    MessageScript msgs;
    msgs.expect(QStringLiteral("找不到文件[") + set.folder() + QStringLiteral("gone.vxs]！"));
    RepairAccountSet(set.app(), set.folder() + QStringLiteral("gone.vxs"), QStringLiteral("丢失"));
    QVERIFY(!set.db().isOpen());

    set.db().open(set.setPath());
    msgs.expect(QStringLiteral("账套文件 [ ") + set.setPath() + QStringLiteral(" ] 修复成功！"));
    onNextWindow(QStringLiteral("Cmd0"), [&set](SysdbCompact* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("仓库 账套文件修复-") + set.setPath());
        QCOMPARE(w->Cmd[0]->text(), QStringLiteral("修 复"));
        QVERIFY(!w->Labbak->isVisible());
        QVERIFY(w->LabInfo->text().startsWith(QStringLiteral("    意外断电、非法关机")));
    });
    RepairAccountSet(set.app(), set.setPath(), QStringLiteral("仓库"));
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(msgs.last().text, QStringLiteral("账套文件 [ ") + set.setPath() + QStringLiteral(" ] 修复成功！"));
    // The caller decides what comes next: the set stays closed, and opens whole.
    QVERIFY(!set.db().isOpen());
    set.db().open(set.setPath());
    QCOMPARE(TableSnapshot(set.db(), AllTables), rows);
}

void TestCompact::missingFileKeepsTheWindowOpen()
{
    FreshAccountSet set;
    SysdbCompact w(set.app());
    w.theFileStr = set.folder() + QStringLiteral("gone.vxs");
    w.show();
    MessageScript msgs;
    msgs.expect(QStringLiteral("找不到待压缩的文件[") + w.theFileStr + QStringLiteral("]!"));
    w.Cmd[0]->click();
    QCOMPARE(msgs.count(), 1);
    QVERIFY(w.isVisible());
}

// An empty file holds nothing to mend: repair says so and leaves the file as
// it was, instead of answering success over an empty database.
void TestCompact::repairOfAnEmptyFileSaysItCouldNotMendIt()
{
    FreshAccountSet set;
    const QString empty = set.folder() + QStringLiteral("空.vxs");
    QFile f(empty);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    MessageScript msgs;
    msgs.expect(QStringLiteral("账套文件 [ ") + empty + QStringLiteral(" ] 修复失败！\n\n"));
    onNextWindow(QStringLiteral("Cmd0"));
    RepairAccountSet(set.app(), empty, QStringLiteral("空"));
    QCOMPARE(msgs.count(), 1);
    QVERIFY2(msgs.last().text.contains(QStringLiteral("无法修复")), qPrintable(msgs.last().text));
    QVERIFY(!msgs.anyContains(QStringLiteral("修复成功")));
    QCOMPARE(QFileInfo(empty).size(), 0);
}

VX_REGISTER_TEST(TestCompact)
#include "tst_compact.moc"
