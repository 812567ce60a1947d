#include "core/App.h"
#include "core/MenuModel.h"
#include "core/Settings.h"
#include "shell/MForm.h"
#include "shell/MainMenu.h"
#include "accountsets/Register.h"
#include "admin/Register.h"
#include "support/Fixture.h"
#include "widgets/NoRightsRefusal.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "ShellTestSupport.h"

#include <QAction>
#include <QTest>

namespace {

const QString WarehouseTitle = QStringLiteral("Vorlix仓库管理系统");
const QString TradeTitle = QStringLiteral("Vorlix进销存管理系统");

// Document types 81..88 as "in use" flags and names.
void setDocTypes(Database& db, const QList<int>& inUse)
{
    const char* names[] = {"采购入库单", "采购退货单", "生产入库单", "返工退货单",
                           "部门领用单", "部门退货单", "销售出库单", "客户退货单"};
    for (int id = 81; id <= 88; ++id)
        db.execute(QStringLiteral("UPDATE sysinfo SET setval=?, setstr=? WHERE ID=?"),
                   {inUse.contains(id) ? 1 : 0, QString::fromUtf8(names[id - 81]), id});
}

}  // namespace

class TestMainMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void designTree();
    void warehouseSettings();
    void tradeSettings();
    void loadingTwiceKeepsNumbers();
    void itemsWithoutWindowAreDisabled();
    void barFollowsSettings();
    void adminOnlyItemsRefuseOthers_data();
    void adminOnlyItemsRefuseOthers();
    void grossProfitBlockedWithoutSales();
    void costReportNeedsCostRight();
};

void TestMainMenu::designTree()
{
    MenuModel m;
    BuildMainMenu(m);
    QStringList top;
    for (const MenuItem* it : m.topLevel())
        top << it->name;
    QCOMPARE(top, (QStringList{"Menu_A", "Menu_B", "Menu_C", "Menu_D", "Menu_E", "Menu_F", "Menu_S", "H"}));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_A")), QStringLiteral("供应商资料|客户资料|-|货品类别|货品档案"));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_B")), QStringLiteral("入库单|退货单|-|入库统计|退货统计"));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_D")), QStringLiteral("出库单|退库单|-|出库统计|退库统计"));
    QCOMPARE(m.caption(QStringLiteral("Menu_E01")), QStringLiteral("增加应收"));
    QCOMPARE(m.caption(QStringLiteral("Menu_KC1")), QStringLiteral("&b.存货明细查询"));
    QCOMPARE(m.caption(QStringLiteral("menu_Edz2")), QStringLiteral("&5.发货对帐单"));
    QCOMPARE(m.item(QStringLiteral("Menu_zbhf"))->parent->name, QStringLiteral("Menu_S26"));
    QCOMPARE(m.item(QStringLiteral("Menu_S26"))->parent->name, QStringLiteral("Menu_Weihu"));
    QVERIFY(!m.isEnabled(QStringLiteral("Menu_S30")));
    QVERIFY(!m.isEnabled(QStringLiteral("Menu_S3")));
    QVERIFY(m.isEnabled(QStringLiteral("Menu_yasuo")));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("H")),
             QStringLiteral("&1.软件使用说明书|&2.操作演示视频|&3.Vorlix知识点滴|&4.关于本软件|-|&5.Vorlix官方网站|-|&6.辅助工具--计算器"));
}

void TestMainMenu::warehouseSettings()
{
    FreshAccountSet set;
    App& app = set.app();
    app.AppTitle = WarehouseTitle;
    BuildMainMenu(app.Menus);
    setDocTypes(set.db(), {81, 82, 85, 86});
    LoadSettings(app);
    const MenuModel& m = app.Menus;
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_A")),
             QStringLiteral("&1.供应商资料|&2.部门资料|-|&3.货品类别|&4.货品档案"));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_B")),
             QStringLiteral("&1.采购入库单|&2.采购退货单|&3.入库统计|&4.退货统计"));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_D")),
             QStringLiteral("&1.部门领用单|&2.部门退货单|&3.出库统计|&4.退库统计"));
    QVERIFY(!m.isVisible(QStringLiteral("Menu_E")));
    QVERIFY(m.isVisible(QStringLiteral("Menu_Ell")));
    QCOMPARE(m.caption(QStringLiteral("menu_Ecb")), QStringLiteral("&6.出库成本统计"));
    QVERIFY(m.isVisible(QStringLiteral("menu_Ecb")));
    QVERIFY(!m.isVisible(QStringLiteral("Menu_Eml")));
}

void TestMainMenu::tradeSettings()
{
    FreshAccountSet set;
    App& app = set.app();
    app.AppTitle = TradeTitle;
    BuildMainMenu(app.Menus);
    setDocTypes(set.db(), {81, 82, 85, 86});
    LoadSettings(app);
    const MenuModel& m = app.Menus;
    QVERIFY(m.isVisible(QStringLiteral("Menu_BB2")));
    QVERIFY(m.isVisible(QStringLiteral("Menu_DD2")));
    QVERIFY(m.isVisible(QStringLiteral("Menu_E")));
    QCOMPARE(VisibleCaptions(m, QStringLiteral("Menu_E")),
             QStringLiteral("&1.增加应付|-|&2.付款登记|-|&3.应付款总帐|&4.应付款明细帐"));
}

void TestMainMenu::loadingTwiceKeepsNumbers()
{
    FreshAccountSet set;
    App& app = set.app();
    BuildMainMenu(app.Menus);
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (9218, 1, '')"));
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setstr='成品' WHERE ID=12"));
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setstr='零件' WHERE ID=92"));
    LoadSettings(app);
    const QString once = VisibleCaptions(app.Menus, QStringLiteral("Menu_A"));
    LoadSettings(app);
    QCOMPARE(VisibleCaptions(app.Menus, QStringLiteral("Menu_A")), once);
    QVERIFY(once.contains(QStringLiteral(".零件档案")));
    QVERIFY(once.contains(QStringLiteral(".成品档案")));
}

void TestMainMenu::itemsWithoutWindowAreDisabled()
{
    FreshAccountSet set;
    set.app().Windows.action(QStringLiteral("Menu_S1"), [](App&) {});
    set.app().Windows.action(QStringLiteral("Menu_AA0"), [](App&) {});
    MForm frame(set.app());
    QVERIFY(frame.menuAction(QStringLiteral("Menu_AA0"))->isEnabled());
    QVERIFY(frame.menuAction(QStringLiteral("Menu_S1"))->isEnabled());
    QVERIFY(!frame.menuAction(QStringLiteral("Menu_AA1"))->isEnabled());
    QVERIFY(!frame.menuAction(QStringLiteral("Menu_S2"))->isEnabled());
    QVERIFY(!frame.menuAction(QStringLiteral("Menu_E1"))->isEnabled());
    QCOMPARE(frame.menuAction(QStringLiteral("Menu_E1"))->text(), QStringLiteral("&2.进出存明细表"));
    QVERIFY(frame.menuAction(QStringLiteral("Menu_A"))->isEnabled());
}

void TestMainMenu::barFollowsSettings()
{
    FreshAccountSet set;
    App& app = set.app();
    app.AppTitle = WarehouseTitle;
    MForm frame(app);
    setDocTypes(set.db(), {81, 82, 85, 86});
    LoadSettings(app);
    QCOMPARE(frame.menuAction(QStringLiteral("Menu_BB0"))->text(), QStringLiteral("&1.采购入库单"));
    QVERIFY(!frame.menuAction(QStringLiteral("Menu_DD3"))->isVisible());
    QVERIFY(!frame.menuAction(QStringLiteral("Menu_E"))->isVisible());
    QVERIFY(frame.menuAction(QStringLiteral("Menu_DD0"))->isVisible());
}

void TestMainMenu::adminOnlyItemsRefuseOthers_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("message");
    QTest::newRow("settings wizard") << "Menu_S2502" << "此功能仅系统最高权限管理员“001”可以使用";
    QTest::newRow("data refresh") << "Menu_shuaxin" << "只有最高权限用户001才有权进行维护!";
    QTest::newRow("year-end") << "Menu_S30" << "只有系统管理员001才有权操作此功能！";
    QTest::newRow("clearing") << "Menu_S3" << "只有系统管理员001才有权操作此功能！";
}

void TestMainMenu::adminOnlyItemsRefuseOthers()
{
    QFETCH(QString, item);
    QFETCH(QString, message);
    int runs = 0;
    FreshAccountSet set;
    // The real registrations, with a stand-in for the window itself.
    RegisterAccountSetWindows(set.app().Windows);
    RegisterAdminWindows(set.app().Windows);
    set.app().Windows.standIn(item, [&runs](App&) { ++runs; });
    BuildMainMenu(set.app().Menus);
    set.app().OperatorCode = QStringLiteral("002");
    {
        MessageScript msgs;
        msgs.expect(message);
        RunMenuItem(set.app(), item);
        QCOMPARE(msgs.count(), 1);
    }
    QCOMPARE(runs, 0);
    set.app().OperatorCode = QStringLiteral("001");
    RunMenuItem(set.app(), item);
    QCOMPARE(runs, 1);
}

void TestMainMenu::grossProfitBlockedWithoutSales()
{
    int runs = 0;
    FreshAccountSet set;
    set.app().Windows.action(QStringLiteral("Menu_Eml"), [&runs](App&) { ++runs; }, SeesGrossProfit());
    App& app = set.app();
    BuildMainMenu(app.Menus);
    app.OperatorCode = QStringLiteral("001");
    app.CanSeeCost = app.CanSeeProfit = -1;
    app.Menus.setVisible(QStringLiteral("Menu_DD3"), false);
    MessageScript msgs;
    msgs.expect(QStringLiteral("该功能已经被屏蔽！"));
    RunMenuItem(app, QStringLiteral("Menu_Eml"));
    QCOMPARE(msgs.last().title, app.AppTitle);
    QCOMPARE(runs, 0);

    app.Menus.setVisible(QStringLiteral("Menu_DD3"), true);
    app.CanSeeProfit = 0;
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    RunMenuItem(app, QStringLiteral("Menu_Eml"));
    QCOMPARE(runs, 0);
    app.CanSeeProfit = -1;
    RunMenuItem(app, QStringLiteral("Menu_Eml"));
    QCOMPARE(runs, 1);
}

void TestMainMenu::costReportNeedsCostRight()
{
    int runs = 0;
    FreshAccountSet set;
    set.app().Windows.action(QStringLiteral("menu_Ecb"), [&runs](App&) { ++runs; }, SeesCost());
    BuildMainMenu(set.app().Menus);
    set.app().CanSeeCost = 0;
    MessageScript msgs;
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    RunMenuItem(set.app(), QStringLiteral("menu_Ecb"));
    QCOMPARE(runs, 0);
    set.app().CanSeeCost = -1;
    RunMenuItem(set.app(), QStringLiteral("menu_Ecb"));
    QCOMPARE(runs, 1);
}

VX_REGISTER_TEST(TestMainMenu)
#include "tst_mainmenu.moc"
