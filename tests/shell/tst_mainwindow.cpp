#include "core/App.h"
#include "platform/ProgramIcon.h"
#include "shell/FileAssociation.h"
#include "shell/MForm.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "ShellTestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTest>

namespace {

QString associationFile(const QString& name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + name;
}

// The command lines of running processes (other than this one) that name `text`.
QStringList ProcessesNaming(const QString& text)
{
    QStringList found;
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (pid == self || pid.toLongLong() <= 0)
            continue;
        QFile f(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString cmd = QString::fromLocal8Bit(f.readAll()).replace(QChar(0), QLatin1Char(' '));
        if (cmd.contains(text))
            found << pid + QLatin1Char(' ') + cmd;
    }
    return found;
}

void removeAssociation()
{
    QFile::remove(associationFile(QStringLiteral("/applications/vorlixan.desktop")));
    QFile::remove(associationFile(QStringLiteral("/mime/packages/vorlixan.xml")));
}

// A child window; editing ones carry Edstu = 1.
QMdiSubWindow* addChild(MForm& frame, const QString& name, int edstu = -1)
{
    auto* w = new QWidget;
    w->setObjectName(name);
    if (edstu >= 0)
        w->setProperty("Edstu", edstu);
    QMdiSubWindow* sub = frame.MdiArea->addSubWindow(w);
    sub->show();
    return sub;
}

void doubleClick(QWidget* w)
{
    QTest::mouseDClick(w, Qt::LeftButton);
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { removeAssociation(); }
    void panelWidths();
    void loadShowsTitleAndSetName();
    void setFromCommandLineShowsItsFileName();
    void exitAsksAndNoKeepsRunning();
    void exitYesBacksUpAndAssociates();
    void exitWithReportWindowAsks();
    void exitRefusedWhileAnyChildEdits_data();
    void exitRefusedWhileAnyChildEdits();
    void setSettingsFromPanelOnlyForAdminWithFreeLine();
    void operatorPanelOpensPersonalSettings();
    void reloginFromPanelOnlyWithFreeLine();
};

void TestMainWindow::panelWidths()
{
    const std::array<double, 5> w = StatusPanelWidths(12000);
    QCOMPARE(w[0], 4500.0);
    QCOMPARE(w[1], 750.0);
    QCOMPARE(w[2], 1500.0);
    QCOMPARE(w[3], 4650.0);
    QCOMPARE(w[4], 500.0);
}

void TestMainWindow::loadShowsTitleAndSetName()
{
    FreshAccountSet set;
    MForm frame(set.app());
    QCOMPARE(set.app().MainWindow, static_cast<MainFrame*>(&frame));
    QCOMPARE(frame.windowTitle(), set.app().AppTitle + QStringLiteral("--") + set.app().EditionName);
    QCOMPARE(frame.statusText(2), QStringLiteral("操作员:"));
    QCOMPARE(frame.statusText(4), QStringLiteral("测试账套"));
    QVERIFY(frame.findChild<QWidget*>(QStringLiteral("BGForm")));
}

void TestMainWindow::setFromCommandLineShowsItsFileName()
{
    FreshAccountSet set;
    set.app().CurrentSetName.clear();  // as start-up leaves it for a command-line set
    set.app().OpenedFromCommandLine = -1;
    MForm frame(set.app());
    QCOMPARE(frame.statusText(4), QStringLiteral("测试账套"));
}

void TestMainWindow::exitAsksAndNoKeepsRunning()
{
    FreshAccountSet set;
    int backups = 0;
    set.app().Windows.road.autoBackup = [&backups](App&) { ++backups; };
    MForm frame(set.app());
    frame.show();
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要退出《Vorlix仓库管理系统》吗？"), MB::No);
    QVERIFY(!frame.close());
    QCOMPARE(msgs.last().style, MB::YesNo | MB::Question);
    QVERIFY(frame.isVisible());
    QCOMPARE(backups, 0);
    QVERIFY(!QFile::exists(associationFile(QStringLiteral("/applications/vorlixan.desktop"))));
}

void TestMainWindow::exitYesBacksUpAndAssociates()
{
    FreshAccountSet set;
    QStringList order;
    set.app().Windows.road.autoBackup = [&order](App&) {
        order << QStringLiteral("backup");
        QVERIFY(!QFile::exists(associationFile(QStringLiteral("/applications/vorlixan.desktop"))));
    };
    MForm frame(set.app());
    frame.show();
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要退出"), MB::Yes);
    QVERIFY(frame.close());
    QCOMPARE(order, QStringList{QStringLiteral("backup")});

    QFile desktop(associationFile(QStringLiteral("/applications/vorlixan.desktop")));
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    QVERIFY(entry.contains(QStringLiteral("Exec=\"") + set.programFolder()));
    // The desktop entry shows the program's own icon, written beside it as a PNG.
    const int iconAt = entry.indexOf(QStringLiteral("\nIcon="));
    QVERIFY(iconAt > 0);
    const QString icon = entry.mid(iconAt + 6, entry.indexOf(QLatin1Char('\n'), iconAt + 1) - iconAt - 6);
    QVERIFY2(icon.startsWith(QLatin1Char('/')) && icon.endsWith(QStringLiteral(".png")), qPrintable(icon));
    const QImage picture(icon);
    QVERIFY2(!picture.isNull(), qPrintable(icon));
    QCOMPARE(picture.convertToFormat(QImage::Format_ARGB32),
             ProgramIconPixmap(picture.width()).toImage().convertToFormat(QImage::Format_ARGB32));
    // Nothing the exit started is still running once the window has closed:
    // the test's data folder goes away right after.
    QVERIFY2(ProcessesNaming(associationFile(QString())).isEmpty(),
             qPrintable(ProcessesNaming(associationFile(QString())).join(QLatin1Char('\n'))));
    QVERIFY(entry.contains(QString::fromLatin1(AccountSetMimeType)));
    QFile mime(associationFile(QStringLiteral("/mime/packages/vorlixan.xml")));
    QVERIFY(mime.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(mime.readAll());
    QVERIFY(xml.contains(QStringLiteral("*.vxs")));
    QVERIFY(xml.contains(QStringLiteral("Vorlix账套文件")));
}

void TestMainWindow::exitWithReportWindowAsks()
{
    FreshAccountSet set;
    MForm frame(set.app());
    frame.show();
    addChild(frame, QStringLiteral("JxcHZ"));
    addChild(frame, QStringLiteral("A1"), 0);
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要退出"), MB::No);
    QVERIFY(!frame.close());
    QCOMPARE(msgs.count(), 1);
}

void TestMainWindow::exitRefusedWhileAnyChildEdits_data()
{
    QTest::addColumn<bool>("editingIsActive");
    QTest::newRow("the active child edits") << true;
    QTest::newRow("a child behind the active one edits") << false;
}

void TestMainWindow::exitRefusedWhileAnyChildEdits()
{
    FreshAccountSet set;
    QFETCH(bool, editingIsActive);
    int backups = 0;
    set.app().Windows.road.autoBackup = [&backups](App&) { ++backups; };
    MForm frame(set.app());
    frame.show();
    QMdiSubWindow* editing = addChild(frame, QStringLiteral("B1"), 1);
    QMdiSubWindow* browsing = addChild(frame, QStringLiteral("A1"), 0);
    frame.MdiArea->setActiveSubWindow(editingIsActive ? editing : browsing);

    MessageScript msgs;
    msgs.expect(QStringLiteral("正在有数据被编辑,现在退出会造成本次编辑的数据丢失。"));
    QVERIFY(!frame.close());
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(backups, 0);
    QCOMPARE(frame.MdiArea->subWindowList().size(), 2);
    // The editing window is brought forward so the operator sees what to finish.
    QCOMPARE(frame.MdiArea->activeSubWindow(), editing);
}

void TestMainWindow::setSettingsFromPanelOnlyForAdminWithFreeLine()
{
    FreshAccountSet set;
    int switches = 0;
    set.app().Windows.action(QStringLiteral("Menu_S2501"), [&switches](App&) { ++switches; });
    MForm frame(set.app());
    frame.show();

    set.app().OperatorCode = QStringLiteral("002");
    doubleClick(frame.panel(4));
    QCOMPARE(switches, 0);

    set.app().OperatorCode = QStringLiteral("001");
    frame.setStatusText(4, QStringLiteral("共 3 条记录 当前为第 1 条"));
    doubleClick(frame.panel(4));
    QCOMPARE(switches, 0);

    frame.setStatusText(4, set.app().CurrentSetName);
    set.app().OpenedFromCommandLine = -1;
    doubleClick(frame.panel(4));
    QCOMPARE(switches, 0);

    set.app().OpenedFromCommandLine = 0;
    doubleClick(frame.panel(4));
    QCOMPARE(switches, 1);
}

void TestMainWindow::operatorPanelOpensPersonalSettings()
{
    FreshAccountSet set;
    int opened = 0;
    set.app().Windows.action(QStringLiteral("Menu_S2"), [&opened](App&) { ++opened; });
    MForm frame(set.app());
    frame.show();
    doubleClick(frame.panel(3));
    QCOMPARE(opened, 1);
}

void TestMainWindow::reloginFromPanelOnlyWithFreeLine()
{
    FreshAccountSet set;
    int logins = 0;
    int operators = 0;
    set.app().Windows.road.login = [&logins](App&) {
        ++logins;
        return LoginLink::AddOperator;
    };
    set.app().Windows.action(LoginLinkEntry(LoginLink::AddOperator), [&operators](App&) { ++operators; });
    MForm frame(set.app());
    frame.show();
    frame.setStatusText(4, QStringLiteral("共 3 条记录 当前为第 1 条"));
    doubleClick(frame.panel(2));
    QCOMPARE(logins, 0);

    frame.setStatusText(4, set.app().CurrentSetName);
    doubleClick(frame.panel(2));
    QCOMPARE(logins, 1);
    QCOMPARE(operators, 1);
}

VX_REGISTER_TEST(TestMainWindow)
#include "tst_mainwindow.moc"
