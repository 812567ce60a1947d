#include "core/App.h"
#include "core/SqlText.h"
#include "shell/AccountSetSwitch.h"
#include "shell/Register.h"
#include "shell/MForm.h"
#include "shell/MainMenu.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "ShellTestSupport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

// Stand-ins for the account-set list, the manager and the windows the switch opens.
struct SwitchStandIns {
    QString chosenPath;  // the set the manager opens ("" = the one that was open)
    QString chosenName;
    int managerRuns = 0;
    int openChildrenSeenByManager = -1;
    bool databaseClosedForManager = false;
    int logins = 0;
    int passwordWindows = 0;  // the personal settings opened by the login's link
    QList<bool> wizards;
    std::function<void(App&)> onWizard;

    explicit SwitchStandIns(App& app)
    {
        WindowHooks& h = app.Windows.road;
        h.loadAccountSetList = [](App&) { return true; };
        h.accountSetManager = [this](App& a) {
            ++managerRuns;
            databaseClosedForManager = !a.CurrentDatabase.isOpen();
            int open = 0;
            for (QMdiSubWindow* w : a.MainWindow->mdiArea()->subWindowList())
                open += w->isVisible() ? 1 : 0;
            openChildrenSeenByManager = open;
            if (!chosenPath.isEmpty()) {
                a.CurrentSetPath = chosenPath;
                a.CurrentSetName = chosenName;
            }
            a.CurrentDatabase.open(a.CurrentSetPath);
            return true;
        };
        h.login = [this](App& a) {
            ++logins;
            a.OperatorCode = QStringLiteral("001");
            return LoginLink::SetPassword;
        };
        h.settingsWizard = [this](App& a, bool cancellable) {
            wizards << cancellable;
            if (onWizard)
                onWizard(a);
        };
        app.Windows.action(LoginLinkEntry(LoginLink::SetPassword), [this](App&) { ++passwordWindows; });
    }
};

}  // namespace

class TestAccountSetSwitch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameSetReloadsNothing();
    void otherSetRunsWizardAndLogin();
    void wizardSkippedWhenSetDoesNotAsk();
    void otherEditionForcesTheWizard();
    void olderLayoutIsUpgradedFirst();
    void childWindowsClosedBeforeTheSetChanges();
    void editingChildStopsTheSwitch();
    void refusedForSetFromCommandLine();
    void menuItemRoutesToSwitch();
};

void TestAccountSetSwitch::sameSetReloadsNothing()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    set.loginAs(QStringLiteral("001"));
    SwitchAccountSet(set.app());
    QCOMPARE(s.managerRuns, 1);
    QVERIFY(s.databaseClosedForManager);
    QCOMPARE(s.logins, 0);
    QVERIFY(s.wizards.isEmpty());
    QVERIFY(set.db().isOpen());
    QCOMPARE(set.app().CurrentSetPath, set.setPath());
}

void TestAccountSetSwitch::otherSetRunsWizardAndLogin()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    s.chosenPath = set.copyOfTemplate(QStringLiteral("另一个账套.vxs"));
    s.chosenName = QStringLiteral("另一个账套");
    {
        Database other;
        other.open(s.chosenPath);
        other.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID=1000"));
    }
    SwitchAccountSet(set.app());
    QCOMPARE(s.wizards, QList<bool>{true});
    QCOMPARE(s.logins, 1);
    QCOMPARE(frame.statusText(4), QStringLiteral("另一个账套"));
    QCOMPARE(set.db().path(), s.chosenPath);
    QCOMPARE(s.passwordWindows, 1);  // the window the login asked for, once
}

void TestAccountSetSwitch::wizardSkippedWhenSetDoesNotAsk()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    s.chosenPath = set.copyOfTemplate(QStringLiteral("另一个账套.vxs"));
    s.chosenName = QStringLiteral("另一个账套");
    {
        Database other;
        other.open(s.chosenPath);
        other.execute(QStringLiteral("UPDATE sysinfo SET setval=0 WHERE ID=1000"));
        other.execute(QStringLiteral("UPDATE thever SET exename=?"), {set.app().AppTitle});
    }
    SwitchAccountSet(set.app());
    QVERIFY(s.wizards.isEmpty());
    QCOMPARE(s.logins, 1);
}

// A set configured by the other edition must be configured again, as at
// start-up: the wizard comes without its cancel button.
void TestAccountSetSwitch::otherEditionForcesTheWizard()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    s.chosenPath = set.copyOfTemplate(QStringLiteral("另一个账套.vxs"));
    s.chosenName = QStringLiteral("另一个账套");
    {
        Database other;
        other.open(s.chosenPath);
        other.execute(QStringLiteral("UPDATE sysinfo SET setval=0 WHERE ID=1000"));
        other.execute(QStringLiteral("UPDATE thever SET exename=?"), {set.app().AppTitle + QStringLiteral("（另一版本）")});
    }
    SwitchAccountSet(set.app());
    QCOMPARE(s.wizards, QList<bool>{false});
    QCOMPARE(s.logins, 1);
}

// A set of an older layout is brought to the current one before anything
// reads it: the wizard already finds the columns the upgrade adds.
void TestAccountSetSwitch::olderLayoutIsUpgradedFirst()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    s.chosenPath = set.copyOfTemplate(QStringLiteral("旧账套.vxs"));
    s.chosenName = QStringLiteral("旧账套");
    {
        Database other;
        other.open(s.chosenPath);
        // The goods table as an older release made it: no stock amount, no colours.
        other.executeScript(QStringLiteral(
            "CREATE TABLE TA4old AS SELECT F1, F2, F3, F4, F5, F6, F7, F71, F8, F9, F11, V1, V2, V3, V4, V5, RkF7, "
            "F701, HW, Gys, Fcplj FROM TA4; DROP TABLE TA4; ALTER TABLE TA4old RENAME TO TA4; "
            "INSERT INTO TA4 (F1, F2, F7, F8) VALUES ('G1', '螺丝', 2.5, 4)"));
    }
    QStringList columnsAtWizard;
    s.onWizard = [&columnsAtWizard](App& a) {
        const RecordSet cols = a.CurrentDatabase.query(QStringLiteral("PRAGMA table_info(TA4)"));
        for (int r = 0; r < cols.rowCount(); ++r)
            columnsAtWizard << cols.text(r, QStringLiteral("name"));
    };
    SwitchAccountSet(set.app());
    QCOMPARE(s.wizards, QList<bool>{true});
    QVERIFY(columnsAtWizard.contains(QStringLiteral("Fje")));
    QVERIFY(columnsAtWizard.contains(QStringLiteral("BColor")));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT Fje FROM TA4 WHERE F1='G1'")).toDouble(), 10.0);
    QCOMPARE(s.logins, 1);
}

void TestAccountSetSwitch::childWindowsClosedBeforeTheSetChanges()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    frame.show();
    auto* list = new QWidget;
    list->setProperty("Edstu", 0);
    list->setAttribute(Qt::WA_DeleteOnClose);
    frame.MdiArea->addSubWindow(list)->show();
    s.chosenPath = set.copyOfTemplate(QStringLiteral("另一个账套.vxs"));
    s.chosenName = QStringLiteral("另一个账套");
    SwitchAccountSet(set.app());
    QCOMPARE(s.managerRuns, 1);
    QCOMPARE(s.openChildrenSeenByManager, 0);
}

void TestAccountSetSwitch::editingChildStopsTheSwitch()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    frame.show();
    auto* doc = new QWidget;
    doc->setProperty("Edstu", 2);
    frame.MdiArea->addSubWindow(doc)->show();
    MessageScript msgs;
    msgs.expect(QStringLiteral("正在有数据被编辑"));
    SwitchAccountSet(set.app());
    QCOMPARE(s.managerRuns, 0);
    QVERIFY(set.db().isOpen());
    QVERIFY(doc->isVisible());
}

void TestAccountSetSwitch::refusedForSetFromCommandLine()
{
    FreshAccountSet set;
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    set.app().OpenedFromCommandLine = -1;
    MessageScript msgs;
    msgs.expect(QStringLiteral("此次进入系统是以直接打开账套文件方式，这种方式下不能使用账套设置功能！"));
    SwitchAccountSet(set.app());
    QCOMPARE(s.managerRuns, 0);
    QVERIFY(set.db().isOpen());
}

void TestAccountSetSwitch::menuItemRoutesToSwitch()
{
    FreshAccountSet set;
    QVERIFY(!set.app().Windows.has(QStringLiteral("Menu_S2501")));
    RegisterShellWindows(set.app().Windows);
    SwitchStandIns s(set.app());
    MForm frame(set.app());
    QVERIFY(frame.menuAction(QStringLiteral("Menu_S2501"))->isEnabled());
    frame.menuAction(QStringLiteral("Menu_S2501"))->trigger();
    QCOMPARE(s.managerRuns, 1);
}

VX_REGISTER_TEST(TestAccountSetSwitch)
#include "tst_accountsetswitch.moc"
