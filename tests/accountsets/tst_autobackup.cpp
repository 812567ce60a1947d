#include "MaintenanceFixture.h"
#include "accountsets/AutoBackup.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QTest>

// The automatic backup at exit: when it is due, where the copy goes, how the
// copies of a month rotate, and that nothing is lost or touched when the
// copy cannot be made.
class TestAutoBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyExitRotatesTheCopiesOfTheMonth();
    void dueWhenTheIntervalHasPassed_data();
    void dueWhenTheIntervalHasPassed();
    void todaysCopyWithAnIntervalIsKept();
    void folderSetting_data();
    void folderSetting();
    void skipped_data();
    void skipped();
    void refusedWhileAnotherInstanceHasTheSetOpen();
    void theSetsOwnFileIsNeverRotated();
};

namespace {

class StatusFrame : public MainFrame {
public:
    QWidget* widget() override { return &w; }
    QMdiArea* mdiArea() override { return nullptr; }
    void setStatusText(int panel, const QString& text) override
    {
        if (panel == 4)
            panel4 = text;
    }
    QString statusText(int panel) const override { return panel == 4 ? panel4 : QString(); }
    QFont backgroundFont() const override { return {}; }
    QWidget w;
    QString panel4;
};

// A set ready to exit: a main window for the status line, a second operator.
struct ExitingSet {
    ExitingSet()
    {
        set.app().MainWindow = &frame;
        set.loginAs(QStringLiteral("001"));
        set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '仓管员')"));
        folder = set.app().DataFolder + QStringLiteral("数据备份/");
        QDir().mkpath(folder);
    }
    ~ExitingSet() { set.app().MainWindow = nullptr; }

    QString todays() const
    {
        return folder + QStringLiteral("备份测试账套") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    }
    QStringList files() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
    void setInterval(int days, const QString& last)
    {
        set.db().execute(QStringLiteral("UPDATE sysinfo SET setval = ?, setstr = ? WHERE ID = 876"), {days, last});
    }
    // The marker a copy holds: the name of goods "M".
    void mark(const QString& text)
    {
        set.db().execute(QStringLiteral("DELETE FROM TA4 WHERE F1 = 'M'"));
        AddGoods(set.db(), {.code = QStringLiteral("M"), .name = text});
    }

    FreshAccountSet set;
    StatusFrame frame;
    QString folder;
};

QString markOf(const QString& path)
{
    Database copy;
    copy.open(path);
    return copy.scalar(QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = 'M'")).toString();
}

void touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

}  // namespace

void TestAutoBackup::everyExitRotatesTheCopiesOfTheMonth()
{
    ExitingSet e;
    const QString today = e.todays();
    const QString earlierMonth = QDate::currentDate().addMonths(-1).toString(QStringLiteral("yyyyMM"));
    const QString oldRotated = QStringLiteral("备份测试账套") + earlierMonth + QStringLiteral("05.___");
    const QString oldCopy = QStringLiteral("备份测试账套") + earlierMonth + QStringLiteral("28.vxs");
    // Set "测试账套2" shares the beginning of the name: its copies are not this set's.
    const QString otherSet = QStringLiteral("备份测试账套2") + earlierMonth + QStringLiteral("05.___");
    for (const QString& name : {oldRotated, oldCopy, otherSet})
        touch(e.folder + name);

    MessageScript msgs;
    e.mark(QStringLiteral("第一次"));
    AutoBackup(e.set.app());
    QVERIFY(QFileInfo::exists(today + QStringLiteral(".vxs")));
    QCOMPARE(markOf(today + QStringLiteral(".vxs")), QStringLiteral("第一次"));
    QCOMPARE(e.frame.panel4, QStringLiteral("备份完成……"));
    QVERIFY(e.set.db().isOpen());
    const RecordSet row = e.set.db().query(QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID = 876"));
    QCOMPARE(row.number(0, QStringLiteral("setval")), 0.0);
    QCOMPARE(row.text(0, QStringLiteral("setstr")), DateText(QDate::currentDate()));
    {
        Database copy;
        copy.open(today + QStringLiteral(".vxs"));
        QCOMPARE(copy.query(QStringLiteral("SELECT F1 FROM TE1")).rowCount(), 1);
    }

    e.mark(QStringLiteral("第二次"));
    AutoBackup(e.set.app());
    QCOMPARE(markOf(today + QStringLiteral(".vxs")), QStringLiteral("第二次"));
    QCOMPARE(markOf(today + QStringLiteral(".___")), QStringLiteral("第一次"));
    QVERIFY(QFileInfo::exists(e.folder + oldRotated));

    // A rotated copy of this month exists: every rotated copy of the set goes first.
    e.mark(QStringLiteral("第三次"));
    AutoBackup(e.set.app());
    QCOMPARE(markOf(today + QStringLiteral(".vxs")), QStringLiteral("第三次"));
    QCOMPARE(markOf(today + QStringLiteral(".___")), QStringLiteral("第二次"));
    QVERIFY(!QFileInfo::exists(e.folder + oldRotated));
    QVERIFY(QFileInfo::exists(e.folder + oldCopy));
    QVERIFY(QFileInfo::exists(e.folder + otherSet));
    QCOMPARE(e.files().size(), 4);
    QCOMPARE(msgs.count(), 0);
    // The set itself keeps all its operators.
    QCOMPARE(e.set.db().scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 2);
}

void TestAutoBackup::dueWhenTheIntervalHasPassed_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("due");
    const QDate today = QDate::currentDate();
    QTest::newRow("3 of 7 days") << 7 << DateText(today.addDays(-3)) << false;
    QTest::newRow("7 of 7 days") << 7 << DateText(today.addDays(-7)) << true;
    QTest::newRow("7 days in the future") << 7 << DateText(today.addDays(7)) << true;
    QTest::newRow("6 days in the future") << 7 << DateText(today.addDays(6)) << false;
    QTest::newRow("placeholder") << 7 << QStringLiteral("还没有备份记录") << true;
    QTest::newRow("stored padded") << 7 << today.addDays(-2).toString(QStringLiteral("yyyy-MM-dd")) << false;
    QTest::newRow("interval stored negative") << -7 << DateText(today.addDays(-3)) << false;
    QTest::newRow("missing row") << -1 << QString() << true;
}

void TestAutoBackup::dueWhenTheIntervalHasPassed()
{
    QFETCH(int, days);
    QFETCH(QString, last);
    QFETCH(bool, due);
    ExitingSet e;
    if (days == -1)
        e.set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 876"));
    else
        e.setInterval(days, last);
    const QString settings = TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")});
    MessageScript msgs;
    AutoBackup(e.set.app());
    QCOMPARE(QFileInfo::exists(e.todays() + QStringLiteral(".vxs")), due);
    if (!due) {
        QCOMPARE(TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")}), settings);
        QCOMPARE(e.frame.panel4, QString());
        return;
    }
    const RecordSet row = e.set.db().query(QStringLiteral("SELECT setval, setstr FROM sysinfo WHERE ID = 876"));
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.number(0, QStringLiteral("setval")), double(qMax(days, 0)));
    QCOMPARE(row.text(0, QStringLiteral("setstr")), DateText(QDate::currentDate()));
}

void TestAutoBackup::todaysCopyWithAnIntervalIsKept()
{
    ExitingSet e;
    e.setInterval(7, DateText(QDate::currentDate().addDays(-10)));
    touch(e.todays() + QStringLiteral(".vxs"), "made by hand");
    const QString settings = TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")});
    AutoBackup(e.set.app());
    QFile f(e.todays() + QStringLiteral(".vxs"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("made by hand"));
    QCOMPARE(TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")}), settings);
    QCOMPARE(e.frame.panel4, QStringLiteral("正在备份数据……"));
}

void TestAutoBackup::folderSetting_data()
{
    QTest::addColumn<bool>("usable");
    QTest::newRow("usable folder") << true;
    QTest::newRow("missing folder") << false;
}

void TestAutoBackup::folderSetting()
{
    QFETCH(bool, usable);
    ExitingSet e;
    const QString usb = e.set.folder() + QStringLiteral("usb");
    if (usable)
        QDir().mkpath(usb);
    e.set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (8195, 1, ?)"), {usb});
    AutoBackup(e.set.app());
    const QString name = QStringLiteral("备份测试账套") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                         QStringLiteral(".vxs");
    QCOMPARE(QFileInfo::exists(usb + QLatin1Char('/') + name), usable);
    QCOMPARE(QFileInfo::exists(e.folder + name), !usable);
}

void TestAutoBackup::skipped_data()
{
    QTest::addColumn<bool>("network");
    QTest::newRow("set on a network path") << true;
    QTest::newRow("set from the command line") << false;
}

void TestAutoBackup::skipped()
{
    QFETCH(bool, network);
    ExitingSet e;
    if (network)
        e.set.app().CurrentSetPath = QStringLiteral("//server/share/测试账套.vxs");
    else
        e.set.app().OpenedFromCommandLine = -1;
    const QString settings = TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")});
    AutoBackup(e.set.app());
    QCOMPARE(e.files(), QStringList());
    QCOMPARE(TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")}), settings);
    QCOMPARE(e.frame.panel4, QString());
}

void TestAutoBackup::refusedWhileAnotherInstanceHasTheSetOpen()
{
    ExitingSet e;
    // A copy of today that a second exit would rotate.
    AutoBackup(e.set.app());
    const QStringList before = e.files();
    QCOMPARE(before.size(), 1);
    const QString settings = TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")});
    OtherInstance other;
    QVERIFY(other.holdOpen(e.set.setPath()));
    MessageScript msgs;
    msgs.expect(QStringLiteral("其它用户正在使用当前账套，系统无法备份数据。\n\n请在其它用户退出之后再备份数据！"));
    AutoBackup(e.set.app());
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().title, QStringLiteral("自动备份"));
    QCOMPARE(e.files(), before);
    QCOMPARE(TableSnapshot(e.set.db(), {QStringLiteral("sysinfo")}), settings);
}

void TestAutoBackup::theSetsOwnFileIsNeverRotated()
{
    ExitingSet e;
    // The set itself lies in the backup folder under a name of the copies' form.
    const QString own = e.folder + QStringLiteral("备份测试账套") + QDate::currentDate().toString(QStringLiteral("yyyyMM")) +
                        QStringLiteral("00.vxs");
    QFile::copy(e.set.setPath(), own);
    e.set.db().close();
    e.set.app().CurrentSetPath = own;
    e.set.db().open(own);
    AutoBackup(e.set.app());
    QVERIFY(QFileInfo::exists(own));
    QVERIFY(QFileInfo::exists(e.todays() + QStringLiteral(".vxs")));
    QVERIFY(e.set.db().isOpen());
    QCOMPARE(e.set.db().path(), own);
}

VX_REGISTER_TEST(TestAutoBackup)
#include "tst_autobackup.moc"
