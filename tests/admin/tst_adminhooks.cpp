#include "AdminFixture.h"
#include "admin/Register.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

class AdminHooksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wizardMenuItemOnlyForTheTopAdministrator();
    void compulsoryWizardHasNoCancel();
    void operatorsAndPersonalSettingsOpenModal();
};

void AdminHooksTest::wizardMenuItemOnlyForTheTopAdministrator()
{
    LoadedAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F66) VALUES ('B1', '李四', 1111)"));
    set.loginAs(QStringLiteral("B1"));
    RegisterAdminWindows(set.app().Windows);
    QVERIFY(set.app().Windows.has(QStringLiteral("Menu_S2502")));

    MessageScript msgs;
    msgs.expect(QStringLiteral("对不起，此功能仅系统最高权限管理员“001”可以使用！您无此权限！"));
    OpenWindow(set.app(), QStringLiteral("Menu_S2502"));
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, QStringLiteral("对不起，此功能仅系统最高权限管理员“001”可以使用！您无此权限！"));
    QCOMPARE(msgs.last().title, QString());

    set.loginAs(QStringLiteral("001"));
    QString opened;
    WhenModal([&](QWidget* w) {
        opened = w->objectName();
        w->findChild<QPushButton*>(QStringLiteral("CmdCancel"))->click();
    });
    set.db().execute(QStringLiteral("UPDATE thever SET exename = ?"), {set.app().AppTitle});
    OpenWindow(set.app(), QStringLiteral("Menu_S2502"));
    QCOMPARE(opened, QStringLiteral("SysFuncSet"));
}

void AdminHooksTest::compulsoryWizardHasNoCancel()
{
    LoadedAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.db().execute(QStringLiteral("UPDATE thever SET exename = ?"), {set.app().AppTitle});
    RegisterAdminWindows(set.app().Windows);
    MessageScript msgs;
    msgs.expect(QStringLiteral("您的设置已生效！"));
    bool cancelShown = true;
    WhenModal([&](QWidget* w) {
        cancelShown = !w->findChild<QPushButton*>(QStringLiteral("CmdCancel"))->isHidden();
        auto* next = w->findChild<QPushButton*>(QStringLiteral("CmdStep0"));
        for (int i = 0; i < 4; ++i)
            next->click();
        w->findChild<QPushButton*>(QStringLiteral("CmdSave"))->click();
    });
    set.app().Windows.road.settingsWizard(set.app(), false);
    QVERIFY(!cancelShown);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(SetVal(set.db(), 1000).toInt(), 0);
}

void AdminHooksTest::operatorsAndPersonalSettingsOpenModal()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    RegisterAdminWindows(set.app().Windows);
    // The menu item browses; the login's link opens the same window adding at once.
    for (const auto& [entry, adding] : {std::pair{QStringLiteral("Menu_S1"), 0},
                                        std::pair{LoginLinkEntry(LoginLink::AddOperator), 1}}) {
        int edstu = -1;
        WhenModal([&](QWidget* w) {
            edstu = w->property("Edstu").toInt();
            w->findChild<QAction*>(QStringLiteral("Menu_Return"))->trigger();
        });
        QVERIFY(OpenWindow(set.app(), entry));
        QCOMPARE(edstu, adding);
    }

    QString opened;
    WhenModal([&](QWidget* w) {
        opened = w->objectName();
        w->findChild<QPushButton*>(QStringLiteral("CmdPad"))->click();
    });
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_S2")));
    QCOMPARE(opened, QStringLiteral("S2"));

    int tab = -1;
    WhenModal([&](QWidget* w) {
        tab = w->findChild<QTabBar*>(QStringLiteral("TabS"))->currentIndex();
        w->findChild<QPushButton*>(QStringLiteral("CmdPad"))->click();
    });
    QVERIFY(OpenWindow(set.app(), LoginLinkEntry(LoginLink::SetPassword)));
    QCOMPARE(tab, 1);
}

VX_REGISTER_TEST(AdminHooksTest)
#include "tst_adminhooks.moc"
