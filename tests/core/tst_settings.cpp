#include "core/App.h"
#include "core/Settings.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

const QString WarehouseTitle = QStringLiteral("Vorlix仓库管理系统");
const QString TradeTitle = QStringLiteral("Vorlix进销存管理系统");

// The items the settings shape, with their design captions and visibility.
void buildMainMenu(MenuModel& m)
{
    m.clear();
    m.add(QString(), QStringLiteral("Menu_A"), QStringLiteral("&A.基础数据"));
    const char* aa[] = {"供应商资料", "客户资料", "部门资料", "-", "货品类别", "货品档案", "成品档案"};
    const bool aaShown[] = {true, true, false, true, true, true, false};
    for (int i = 0; i < 7; ++i)
        m.add(QStringLiteral("Menu_A"), QStringLiteral("Menu_AA%1").arg(i), QString::fromUtf8(aa[i]), aaShown[i]);

    m.add(QString(), QStringLiteral("Menu_B"), QStringLiteral("&B.入库管理"));
    const char* bb[] = {"入库单", "退货单", "-", "生产入库", "次品返工", "-", "入库统计", "退货统计"};
    const bool bbShown[] = {true, true, true, false, false, false, true, true};
    for (int i = 0; i < 8; ++i)
        m.add(QStringLiteral("Menu_B"), QStringLiteral("Menu_BB%1").arg(i), QString::fromUtf8(bb[i]), bbShown[i]);

    m.add(QString(), QStringLiteral("Menu_D"), QStringLiteral("&D.出库管理"));
    const char* dd[] = {"领料单", "退料单", "-", "出库单", "退库单", "-", "出库统计", "退库统计"};
    const bool ddShown[] = {false, false, false, true, true, true, true, true};
    for (int i = 0; i < 8; ++i)
        m.add(QStringLiteral("Menu_D"), QStringLiteral("Menu_DD%1").arg(i), QString::fromUtf8(dd[i]), ddShown[i]);

    m.add(QString(), QStringLiteral("Menu_E"), QStringLiteral("&E.往来帐款"));
    m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E00"), QStringLiteral("增加应付"));
    m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E01"), QStringLiteral("增加应收"));
    const char* ee[] = {"付款登记", "收款登记", "-", "应付款总帐", "应付款明细帐", "应收款总帐", "应收款明细帐"};
    for (int i = 0; i < 7; ++i)
        m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_EE%1").arg(i), QString::fromUtf8(ee[i]));

    m.add(QString(), QStringLiteral("Menu_F"), QStringLiteral("&F.统计报表"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_Ell"), QStringLiteral("-"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("menu_Ecb"), QStringLiteral("&6.出库成本统计"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_Eml"), QStringLiteral("&7.销售毛利统计"));
}

// Captions of the visible children of a menu, joined by "|"; "hidden" when
// the menu itself is hidden.
QString shown(const MenuModel& m, const QString& menu)
{
    const MenuItem* parent = m.item(menu);
    if (!parent->visible)
        return QStringLiteral("hidden");
    QStringList captions;
    for (const MenuItem* it : parent->children)
        if (it->visible)
            captions << it->caption;
    return captions.join(QLatin1Char('|'));
}

// Every item as "name=caption" plus "(hidden)" where hidden.
QStringList snapshot(const MenuModel& m)
{
    QStringList items;
    std::function<void(const MenuItem*)> walk = [&](const MenuItem* it) {
        items << it->name + QLatin1Char('=') + it->caption + (it->visible ? QString() : QStringLiteral("(hidden)"));
        for (const MenuItem* c : it->children)
            walk(c);
    };
    for (const MenuItem* top : m.topLevel())
        walk(top);
    return items;
}

// Settings rows written as "id:setval:setstr;..."; "~" stands for a null.
void writeRows(Database& db, const QString& rows)
{
    db.execute(QStringLiteral("DELETE FROM sysinfo"));
    for (const QString& row : rows.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = row.split(QLatin1Char(':'));
        const auto field = [&](int i) -> QVariant {
            if (i >= f.size() || f[i] == QLatin1String("~"))
                return QVariant();
            return f[i];
        };
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"),
                   {f[0].toInt(), field(1), field(2)});
    }
}

// Rows 81 to 88 with 81, 82, 85 and 86 in use.
const QString PurchaseAndDepartment = QStringLiteral(
    "5:1;91:1:货品;81:1:采购入库单;82:1:采购退货单;83:0:生产入库单;84:0:次品返工单;"
    "85:1:部门领用单;86:1:部门退货单;87:0:销售发货单;88:0:客户退货单");

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void shapesTheMainMenu_data();
    void shapesTheMainMenu();
    void newAccountSetGivesTheWarehouseMenus();
    void secondLoadGivesTheSameCaptions();
    void numberingSkipsItemsMissingFromTheMenu();
    void optionRowsFillTheGlobals();
    void newSetHoldsTheStartUpValues();
    void missingRowsKeepTheEarlierSetsValues();
    void decimalsAreRoundedHalfToEven_data();
    void decimalsAreRoundedHalfToEven();
    void unusableRowIsPassedOver();
    void missingSettingsTableChangesNothing();
    void settingText_data();
    void settingText();
    void settingTextWithoutTableThrows();

private:
    std::unique_ptr<FreshAccountSet> m_set;
    std::unique_ptr<MessageScript> m_msgs;  // the loader never talks to the user
};

void TestSettings::init()
{
    m_set = std::make_unique<FreshAccountSet>();
    m_msgs = std::make_unique<MessageScript>();
    buildMainMenu(m_set->app().Menus);
}

void TestSettings::cleanup()
{
    QCOMPARE(m_msgs->count(), 0);
    m_msgs.reset();
    m_set.reset();
}

void TestSettings::shapesTheMainMenu_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("basic");
    QTest::addColumn<QString>("inbound");
    QTest::addColumn<QString>("outbound");
    QTest::addColumn<QString>("accounts");
    QTest::addColumn<QString>("reports");

    QTest::newRow("warehouse, purchase and department types")
        << WarehouseTitle << PurchaseAndDepartment
        << "&1.供应商资料|&2.部门资料|-|&3.货品类别|&4.货品档案"
        << "&1.采购入库单|&2.采购退货单|&3.入库统计|&4.退货统计"
        << "&1.部门领用单|&2.部门退货单|&3.出库统计|&4.退库统计"
        << "hidden"
        << "-|&6.出库成本统计";
    QTest::newRow("trade edition, same types")
        << TradeTitle << PurchaseAndDepartment
        << "&1.供应商资料|&2.部门资料|-|&3.货品类别|&4.货品档案"
        << "&1.采购入库单|&2.采购退货单|-|&3.入库统计|&4.退货统计"
        << "&1.部门领用单|&2.部门退货单|-|&3.出库统计|&4.退库统计"
        << "&1.增加应付|&2.付款登记|-|&3.应付款总帐|&4.应付款明细帐"
        << "-|&6.出库成本统计";
    QTest::newRow("warehouse, empty settings")
        << WarehouseTitle << QString()
        << "-|&1.货品类别|&2.货品档案"
        << "&1.入库单|&2.退货单|&3.入库统计"
        << "-|&3.出库统计"
        << "hidden"
        << "";
    QTest::newRow("trade edition, empty settings")
        << TradeTitle << QString()
        << "-|&1.货品类别|&2.货品档案"
        << "&1.入库单|&2.退货单|-|&3.入库统计"
        << "&1.出库单|&2.退库单|-|&3.出库统计"
        << "hidden"
        << "";
    QTest::newRow("trade edition, sales types")
        << TradeTitle << "5:1;81:1:采购单;82:0:退货;85:0:领料;86:0:退料;87:1:销售单;88:1:退回单"
        << "&1.供应商资料|&2.客户资料|-|&3.货品类别|&4.货品档案"
        << "&1.采购单|-|&2.入库统计"
        << "&1.销售单|&2.退回单|-|&3.出库统计|&4.退库统计"
        << "&1.增加应付|&2.增加应收|&3.付款登记|&4.收款登记|-|&5.应付款总帐|&6.应付款明细帐|&7.应收款总帐|&8.应收款明细帐"
        << "-|&6.出库成本统计|&7.销售毛利统计";
    QTest::newRow("warehouse, sales types keep the gross-profit report")
        << WarehouseTitle << "5:1;81:1:采购单;82:0:退货;85:0:领料;86:0:退料;87:1:销售单;88:1:退回单"
        << "&1.供应商资料|-|&2.货品类别|&3.货品档案"
        << "&1.采购单|&2.入库统计"
        << "-|&3.出库统计|&4.退库统计"
        << "hidden"
        << "-|&6.出库成本统计|&7.销售毛利统计";
    QTest::newRow("quantities only hide accounts and cost reports")
        << TradeTitle << "5:0;81:1:采购单;87:1:销售单;88:1:退回单"
        << "&1.供应商资料|&2.客户资料|-|&3.货品类别|&4.货品档案"
        << "&1.采购单|&2.退货单|-|&3.入库统计"
        << "&1.销售单|&2.退回单|-|&3.出库统计|&4.退库统计"
        << "hidden"
        << "";
    QTest::newRow("type name beginning with &")
        << WarehouseTitle << "81:1:&A.采购入库单;82:0:x"
        << "&1.供应商资料|-|&2.货品类别|&3.货品档案"
        << "&1.采购入库单|&2.入库统计"
        << "-|&3.出库统计"
        << "hidden"
        << "-|&6.出库成本统计";
    QTest::newRow("type name shorter than a number")
        << WarehouseTitle << "81:1:&x"
        << "&1.供应商资料|-|&2.货品类别|&3.货品档案"
        << "&1.|&2.退货单|&3.入库统计"
        << "-|&3.出库统计"
        << "hidden"
        << "-|&6.出库成本统计";
    QTest::newRow("same id twice: the last row read decides")
        << WarehouseTitle << "81:1:甲单;81:1:乙单;82:1:退单;82:0:退单"
        << "&1.供应商资料|-|&2.货品类别|&3.货品档案"
        << "&1.乙单|&2.入库统计|&3.退货统计"
        << "-|&3.出库统计"
        << "hidden"
        << "-|&6.出库成本统计";
    QTest::newRow("separate parts and finished goods files")
        << WarehouseTitle << "81:1:采购单;9218:1;12:1:成品;92:1:零件"
        << "&1.供应商资料|-|&2.货品类别|&3.零件档案|&4.成品档案"
        << "&1.采购单|&2.退货单|&3.入库统计"
        << "-|&3.出库统计"
        << "hidden"
        << "-|&6.出库成本统计";
    QTest::newRow("other words for goods and products")
        << WarehouseTitle << "81:1:采购单;91:1:物料;12:1:整机;9218:0"
        << "&1.供应商资料|-|&2.物料类别|&3.物料档案"
        << "&1.采购单|&2.退货单|&3.入库统计"
        << "-|&3.出库统计"
        << "hidden"
        << "-|&6.出库成本统计";
    QTest::newRow("type value 2 is not in use")
        << WarehouseTitle << "81:2:采购单;82:2:退货;85:1:领料;86:2:退料"
        << "&1.部门资料|-|&2.货品类别|&3.货品档案"
        << "&1.入库统计"
        << "&1.领料|-|&4.出库统计"
        << "hidden"
        << "";
}

void TestSettings::shapesTheMainMenu()
{
    QFETCH(QString, title);
    QFETCH(QString, rows);
    App& app = m_set->app();
    app.AppTitle = title;
    writeRows(m_set->db(), rows);

    LoadSettings(app);

    QTEST(shown(app.Menus, QStringLiteral("Menu_A")), "basic");
    QTEST(shown(app.Menus, QStringLiteral("Menu_B")), "inbound");
    QTEST(shown(app.Menus, QStringLiteral("Menu_D")), "outbound");
    QTEST(shown(app.Menus, QStringLiteral("Menu_E")), "accounts");
    QTEST(shown(app.Menus, QStringLiteral("Menu_F")), "reports");
}

void TestSettings::newAccountSetGivesTheWarehouseMenus()
{
    App& app = m_set->app();
    app.AppTitle = WarehouseTitle;
    LoadSettings(app);
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_A")), QStringLiteral("&1.供应商资料|&2.部门资料|-|&3.货品类别|&4.货品档案"));
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_B")), QStringLiteral("&1.采购入库单|&2.采购退货单|&3.入库统计|&4.退货统计"));
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_D")), QStringLiteral("&1.部门领用单|&2.部门退货单|&3.出库统计|&4.退库统计"));
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_E")), QStringLiteral("hidden"));
    QCOMPARE(app.WithPrices, 1);
    QCOMPARE(app.PriceFormat, QStringLiteral("#0.00"));
    QCOMPARE(app.HpsxName, QStringLiteral("批号"));
}

void TestSettings::secondLoadGivesTheSameCaptions()
{
    App& app = m_set->app();
    for (const QString& title : {WarehouseTitle, TradeTitle}) {
        buildMainMenu(app.Menus);
        app.AppTitle = title;
        writeRows(m_set->db(), PurchaseAndDepartment + QStringLiteral(";9218:1;92:1:零件"));
        LoadSettings(app);
        const QStringList first = snapshot(app.Menus);
        LoadSettings(app);
        QCOMPARE(snapshot(app.Menus), first);
    }
}

void TestSettings::numberingSkipsItemsMissingFromTheMenu()
{
    MenuModel m;
    m.add(QString(), QStringLiteral("Menu_B"), QStringLiteral("&B.入库管理"));
    m.add(QStringLiteral("Menu_B"), QStringLiteral("Menu_BB1"), QStringLiteral("&5.退货单"));
    m.add(QStringLiteral("Menu_B"), QStringLiteral("Menu_BB6"), QStringLiteral("入库统计"));
    m.add(QString(), QStringLiteral("Menu_E"), QStringLiteral("&E.往来帐款"));
    m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E00"), QStringLiteral("-"));
    m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_EE0"), QStringLiteral("付款登记"));

    NumberMainMenu(m);

    QCOMPARE(m.caption(QStringLiteral("Menu_BB1")), QStringLiteral("&1.退货单"));
    QCOMPARE(m.caption(QStringLiteral("Menu_BB6")), QStringLiteral("&2.入库统计"));
    // The accounts menu numbers on from its first group into the second, separators of the first included.
    QCOMPARE(m.caption(QStringLiteral("Menu_E00")), QStringLiteral("&1.-"));
    QCOMPARE(m.caption(QStringLiteral("Menu_EE0")), QStringLiteral("&2.付款登记"));
    QCOMPARE(m.caption(QStringLiteral("Menu_E")), QStringLiteral("&E.往来帐款"));
}

void TestSettings::optionRowsFillTheGlobals()
{
    App& app = m_set->app();
    writeRows(m_set->db(), QStringLiteral("0:1;1:1;2:1;3:1;5:0;6:1;7:1;8:1;9:3;10:1;19:4;20:28;21:1;22:1;23:1;24:1;"
                                          "878:1;879:2;2010:1:颜色;2171:1;12:1:产品;91:0:物料;92:0:配件"));
    LoadSettings(app);

    const QList<int> flags{app.NoOverIssue, app.LockDocPrice, app.FreezeCost, app.NoNegativeQty, app.AlarmBelowMin,
                           app.AlarmAboveMax, app.AdminEditStock, app.AdminEditOpening, app.OfferCustomerPrice,
                           app.PaidOnReceipt, app.ReceivedOnIssue, app.ExcelLineImport, app.InboundRefPrice,
                           app.AutoDeductParts};
    QCOMPARE(flags, QList<int>(flags.size(), 1));
    QCOMPARE(app.WithPrices, 0);
    QCOMPARE(app.CostPlusFeePrice, 0);  // only 1 switches it on
    QCOMPARE(app.PriceDecimals, 3);
    QCOMPARE(app.PriceFormat, QStringLiteral("#0.000"));
    QCOMPARE(app.AmountDecimals, 4);
    QCOMPARE(app.AmountFormat, QStringLiteral("#0.0000"));
    QCOMPARE(app.ReportStartDay, 28);
    QCOMPARE(app.HpsxName, QStringLiteral("颜色"));
    // The words are taken whatever their flag says.
    QCOMPARE(app.ProductTerm, QStringLiteral("产品"));
    QCOMPARE(app.GoodsTerm, QStringLiteral("物料"));
    QCOMPARE(app.PartTerm, QStringLiteral("配件"));
    QCOMPARE(app.Menus.caption(QStringLiteral("Menu_AA6")), QStringLiteral("产品档案"));  // hidden: not numbered

    writeRows(m_set->db(), QStringLiteral("2010:0:批号"));
    LoadSettings(app);
    QCOMPARE(app.HpsxName, QString());
}

// The catalogue gives both the template's rows and App's start-up values, so
// loading a new account set changes no global.
void TestSettings::newSetHoldsTheStartUpValues()
{
    FreshAccountSet set;
    App before;
    App& app = set.app();
    LoadSettings(app);
    const auto globals = [](const App& a) {
        return QList<int>{a.NoOverIssue, a.LockDocPrice, a.FreezeCost, a.NoNegativeQty, a.WithPrices,
                          a.AlarmBelowMin, a.AlarmAboveMax, a.AdminEditStock, a.PriceDecimals,
                          a.AdminEditOpening, a.AmountDecimals, a.ReportStartDay, a.OfferCustomerPrice,
                          a.PaidOnReceipt, a.ReceivedOnIssue, a.ExcelLineImport, a.InboundRefPrice,
                          a.CostPlusFeePrice, a.AutoDeductParts};
    };
    QCOMPARE(globals(app), globals(before));
    QCOMPARE(app.PriceFormat, before.PriceFormat);
    QCOMPARE(app.GoodsTerm, before.GoodsTerm);
    QCOMPARE(app.PartTerm, before.PartTerm);
    QCOMPARE(app.ProductTerm, before.ProductTerm);
    for (const SettingDefault& d : NewSetSettings)
        QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM sysinfo WHERE ID = ? AND setval = ?"),
                                 {d.id, d.setval}).toInt(), 1);
}

void TestSettings::missingRowsKeepTheEarlierSetsValues()
{
    App& app = m_set->app();
    app.AppTitle = TradeTitle;

    // First set of the run: no rows at all, so the start-up defaults hold.
    writeRows(m_set->db(), QString());
    LoadSettings(app);
    QCOMPARE(app.WithPrices, 1);
    QCOMPARE(app.NoOverIssue, 0);
    QVERIFY(!app.Menus.isVisible(QStringLiteral("Menu_E")));

    writeRows(m_set->db(), QStringLiteral("0:1;1:1;2:1;3:1;2010:1:批号;91:1:物料;83:1:生产单;81:1:采购单"));
    LoadSettings(app);
    QCOMPARE(app.NoOverIssue, 1);
    // Once hidden, the accounts menu is not shown again by the settings.
    QVERIFY(!app.Menus.isVisible(QStringLiteral("Menu_E")));
    QCOMPARE(app.Menus.caption(QStringLiteral("Menu_BB3")), QStringLiteral("&3.生产单"));

    // A later set without these rows keeps what the one before gave.
    writeRows(m_set->db(), QStringLiteral("5:0"));
    LoadSettings(app);
    QCOMPARE(QList<int>({app.NoOverIssue, app.LockDocPrice, app.FreezeCost, app.NoNegativeQty}), QList<int>({1, 1, 1, 1}));
    QCOMPARE(app.WithPrices, 0);
    QCOMPARE(app.HpsxName, QStringLiteral("批号"));
    QCOMPARE(app.GoodsTerm, QStringLiteral("物料"));
    QVERIFY(app.Menus.isVisible(QStringLiteral("Menu_BB3")));
    QCOMPARE(app.Menus.caption(QStringLiteral("Menu_BB3")), QStringLiteral("&3.生产单"));
}

void TestSettings::decimalsAreRoundedHalfToEven_data()
{
    QTest::addColumn<QString>("setval");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("format");
    QTest::newRow("2.5 to even 2") << "2.5" << 2 << "#0.00";
    QTest::newRow("3.5 to even 4") << "3.5" << 4 << "#0.0000";
    QTest::newRow("above the limit") << "15" << 12 << "#0.000000000000";
    QTest::newRow("none") << "0" << 0 << "#0";
    QTest::newRow("negative kept") << "-1" << -1 << "#0";
}

void TestSettings::decimalsAreRoundedHalfToEven()
{
    QFETCH(QString, setval);
    App& app = m_set->app();
    writeRows(m_set->db(), QStringLiteral("9:%1;19:%1").arg(setval));
    LoadSettings(app);
    QTEST(app.PriceDecimals, "decimals");
    QTEST(app.PriceFormat, "format");
    QTEST(app.AmountDecimals, "decimals");
    QTEST(app.AmountFormat, "format");
}

void TestSettings::unusableRowIsPassedOver()
{
    App& app = m_set->app();
    app.AppTitle = TradeTitle;
    app.Menus.setVisible(QStringLiteral("Menu_AA6"), true);
    app.HpsxName = QStringLiteral("批号");
    writeRows(m_set->db(), QStringLiteral("0:~;1:1;9:40000;81:1:~;87:1:销售单;9218:~;878:~;2010:1:~;91:1:~"));

    LoadSettings(app);

    // Rows whose value cannot be taken leave their global as it was ...
    QCOMPARE(app.NoOverIssue, 0);
    QCOMPARE(app.PriceDecimals, 2);
    QCOMPARE(app.PriceFormat, QStringLiteral("#0.00"));
    QCOMPARE(app.HpsxName, QStringLiteral("批号"));
    QCOMPARE(app.GoodsTerm, QStringLiteral("货品"));
    // ... while the rows after them, the menu rules, the numbering and the edition rule still run.
    QCOMPARE(app.LockDocPrice, 1);
    QCOMPARE(app.InboundRefPrice, 0);  // a null is not 1
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_A")), QStringLiteral("&1.客户资料|-|&2.货品类别|&3.货品档案"));
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_B")), QStringLiteral("&1.入库单|&2.退货单|-|&3.入库统计"));
    QCOMPARE(shown(app.Menus, QStringLiteral("Menu_D")), QStringLiteral("&1.销售单|&2.退库单|-|&3.出库统计"));
}

void TestSettings::missingSettingsTableChangesNothing()
{
    App& app = m_set->app();
    m_set->db().execute(QStringLiteral("DROP TABLE sysinfo"));
    const QStringList before = snapshot(app.Menus);
    LoadSettings(app);
    QCOMPARE(snapshot(app.Menus), before);
    QCOMPARE(app.WithPrices, 1);
}

void TestSettings::settingText_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("switched off") << "183:0:订单号" << "";
    QTest::newRow("switched on") << "183:1:订单号" << "订单号";
    QTest::newRow("any value but 0") << "183:2:合同号" << "合同号";
    QTest::newRow("null value is not 0") << "183:~:订单号" << "订单号";
    QTest::newRow("no row") << "181:1:订单号" << "";
    QTest::newRow("on without text") << "183:1:~" << "";
}

void TestSettings::settingText()
{
    QFETCH(QString, rows);
    writeRows(m_set->db(), rows);
    QTEST(SettingText(m_set->db(), 183), "text");
}

void TestSettings::settingTextWithoutTableThrows()
{
    m_set->db().execute(QStringLiteral("DROP TABLE sysinfo"));
    QVERIFY_THROWS_EXCEPTION(DbError, SettingText(m_set->db(), 183));
}

VX_REGISTER_TEST(TestSettings)
#include "tst_settings.moc"
