#include "CapturedPrint.h"
#include "ReportBooks.h"
#include "core/App.h"
#include "core/MainMenuTree.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "basicdata/QueryGys.h"
#include "reports/Register.h"
#include "reports/StatisticsReportForm.h"
#include "support/Fixture.h"
#include "support/Popups.h"
#include "support/Scripted.h"
#include "widgets/GridBehaviours.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The statistics windows opened from their menu items and driven through
// their named controls on a real account set.
class TestStatisticsWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void membersInTheirModes_data();
    void membersInTheirModes();
    void filtersOfTheWindow();
    void rowColoursOnTheLines();
    void anotherItemSwitchesTheOpenWindow_data();
    void anotherItemSwitchesTheOpenWindow();
    void unitPicker();
    void pricesFollowTheListedType_data();
    void pricesFollowTheListedType();
    void printsThroughTheMenus_data();
    void printsThroughTheMenus();
    void openingAndPrintingByRights_data();
    void openingAndPrintingByRights();
};

namespace {

void nameTypes(FreshAccountSet& set)
{
    // The first type of each side that the set has in use, and its return type.
    const MenuModel& menus = set.app().Menus;
    const DocType in = menus.isVisible(DocTypeMenuItem(DocType::PurchaseReceipt)) ? DocType::PurchaseReceipt
                                                                                  : DocType::ProductionReceipt;
    const DocType out = menus.isVisible(DocTypeMenuItem(DocType::DepartmentIssue)) ? DocType::DepartmentIssue
                                                                                   : DocType::SalesDelivery;
    const std::pair<DocKind, DocType> types[] = {{DocKind::Inbound, in},
                                                 {DocKind::SupplierReturn, DocType(code(in) + 1)},
                                                 {DocKind::Outbound, out},
                                                 {DocKind::StockReturn, DocType(code(out) + 1)}};
    for (const auto& [kind, type] : types)
        set.db().execute(QStringLiteral("UPDATE TB1 SET S2 = ? WHERE LB = ?"),
                         {menus.caption(DocTypeMenuItem(type)).mid(3), code(kind)});
}

// Issues and returns to stock named as the sales types, shown in the menu.
void nameSales(FreshAccountSet& set)
{
    MenuModel& menus = set.app().Menus;
    for (const auto& [kind, type] : {std::pair{DocKind::Outbound, DocType::SalesDelivery},
                                     std::pair{DocKind::StockReturn, DocType::CustomerReturn}}) {
        menus.setVisible(DocTypeMenuItem(type), true);
        set.db().execute(QStringLiteral("UPDATE TB1 SET S2 = ? WHERE LB = ?"),
                         {menus.caption(DocTypeMenuItem(type)).mid(3), code(kind)});
    }
}

// Documents named as the menu shows their types.
void book(FreshAccountSet& set)
{
    BuildMainMenu(set.app().Menus);
    LoadSettings(set.app());
    set.loginAs(QStringLiteral("001"));
    set.app().CanSeeCost = -1;
    set.app().CanSeeProfit = -1;
    PostMoves(set.app(), {"I G1 20 5 2024-05-01", "S G1 2 5 2024-05-02", "O G1 10 7 2024-05-13",
                          "B G1 2 7 2024-05-14", "T G1 8 10 2024-05-15"});
    nameTypes(set);
    RegisterReportWindows(set.app().Windows);
}

StatisticsReportForm* open(FreshAccountSet& set, const QString& item)
{
    if (!OpenWindow(set.app(), item))
        return nullptr;
    auto* w = qobject_cast<StatisticsReportForm*>(OpenedWindow(set.app(), item));
    if (!w)
        return nullptr;
    w->resize(1200, 600);
    w->findChild<QDateEdit*>(QStringLiteral("DTP0"))->setDate(QDate(2024, 5, 1));
    w->findChild<QDateEdit*>(QStringLiteral("DTP1"))->setDate(QDate(2024, 5, 31));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    return w;
}

// Closes the window as "返回" does and lets it go.
void closeWindow(QWidget* w)
{
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString column(Grid* g, int col)
{
    QStringList out;
    for (int r = 1; r < g->rows(); ++r)
        out << g->textMatrix(r, col);
    return out.join(QLatin1Char(','));
}

}  // namespace

void TestStatisticsWindows::membersInTheirModes_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("values");  // data rows, then the totals row
    // "" = the chosen type's name + "统计".
    QTest::newRow("receipts") << "Menu_BB6" << "" << 11 << "入库数量" << "20 个,20";
    QTest::newRow("returns to suppliers") << "Menu_BB7" << "" << 11 << "退货数量" << "2 个,2";
    QTest::newRow("issues") << "Menu_DD6" << "" << 13 << "金额" << "70.00,70.00";
    QTest::newRow("returns to stock") << "Menu_DD7" << "" << 11 << "退库数量" << "2 个,2";
    QTest::newRow("goods received") << "menu_Edz1" << "收货对账单" << 13 << "金额" << "100.00,-10.00,90.00";
    QTest::newRow("goods shipped, returned") << "menu_Edz2" << "发货对账单" << 12 << "退货数" << ",2,2";
    QTest::newRow("outbound cost") << "menu_Ecb" << "出库成本统计" << 12 << "成本单价" << "5.00,5.00,";
    QTest::newRow("outbound cost amounts") << "menu_Ecb" << "出库成本统计" << 13 << "金额" << "50.00,-10.00,40.00";
    QTest::newRow("gross profit") << "Menu_Eml" << "销售毛利统计" << 16 << "毛利" << "20.00,-4.00,16.00";
    QTest::newRow("stocktaking") << "Menu_C3" << "库存盘点统计" << 12 << "盈亏数" << "-2 个,-2";
    QTest::newRow("stocktaking, book") << "Menu_C3" << "库存盘点统计" << 10 << "帐面数量" << "10 个,";
}

void TestStatisticsWindows::membersInTheirModes()
{
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(int, col);
    QFETCH(QString, header);
    QFETCH(QString, values);
    FreshAccountSet set;
    book(set);
    if (item == QLatin1String("Menu_Eml"))
        nameSales(set);  // gross profit lists the sales types only
    StatisticsReportForm* w = open(set, item);
    QVERIFY(w);
    if (caption.isEmpty())
        caption = w->CmbS2->currentText().remove(QStringLiteral("所有")) + QStringLiteral("统计");
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->GD->textMatrix(0, col), header);
    QCOMPARE(column(w->GD, col), values);
    QCOMPARE(w->GD->textMatrix(w->GD->rows() - 1, 6), QStringLiteral("合计："));
    closeWindow(w);
}

void TestStatisticsWindows::filtersOfTheWindow()
{
    FreshAccountSet set;
    book(set);
    PostMoves(set.app(), {"I G2 3 1 2024-05-20"});
    nameTypes(set);
    StatisticsReportForm* w = open(set, QStringLiteral("Menu_BB6"));
    QVERIFY(w);
    QCOMPARE(column(w->GD, 5), QStringLiteral("G1,G2,"));
    w->Txt->setText(QStringLiteral("G2"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    QCOMPARE(column(w->GD, 5), QStringLiteral("G2,"));
    w->Txt->setText(QStringLiteral("G'2"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    QCOMPARE(w->GD->rows(), 2);
    QCOMPARE(column(w->GD, 5), QString());
    w->Txt->setText(QStringLiteral("G*"));
    w->CmbF3->setEditText(QStringLiteral("A001.供应商甲"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    QCOMPARE(column(w->GD, 11), QStringLiteral("20 个,3 个,23"));
    w->CmbF3->setEditText(QStringLiteral("B*"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    QCOMPARE(w->GD->rows(), 2);
    closeWindow(w);
}

// A colour chosen on a list row is stored on its line, shown again by the
// next build, and a cancelled colour dialog leaves it as it was.
void TestStatisticsWindows::rowColoursOnTheLines()
{
    FreshAccountSet set;
    book(set);
    StatisticsReportForm* w = open(set, QStringLiteral("Menu_BB6"));
    QVERIFY(w);
    auto* menu = w->findChild<GridContextMenu*>();
    QVERIFY(menu);
    const auto stored = [&set] {
        return set.db().scalar(QStringLiteral("SELECT BColor FROM TB11 WHERE LB = 1")).toLongLong();
    };
    const auto colour = [w, menu](std::optional<QColor> c) {
        DialogScript dialogs;
        dialogs.pickColour(c);
        WhenPopup([](QMenu* m) { ChoosePopupItem(m, QStringLiteral("Menu_SetColor1")); });
        menu->popupAt(1, 1, w->GD->viewport()->mapToGlobal(w->GD->cellRect(1, 1).center()));
    };
    colour(QColor(255, 0, 0));
    QCOMPARE(stored(), qint64(255));
    colour(std::nullopt);
    QCOMPARE(stored(), qint64(255));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    QCOMPARE(w->GD->cellBackColor(1, 0), QColor(255, 0, 0));
    closeWindow(w);
}

// Another item of an open window's member switches that window to its mode:
// words, types, headers and list are the new mode's.
void TestStatisticsWindows::anotherItemSwitchesTheOpenWindow_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("caption");  // "" = the chosen type's name + "统计"
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("values");
    QTest::newRow("receipts, then issues") << "Menu_BB6" << "Menu_DD6" << "出库" << "" << 13 << "70.00,70.00";
    QTest::newRow("returns to stock, then to suppliers") << "Menu_DD7" << "Menu_BB7" << "退货" << "" << 11 << "2 个,2";
    QTest::newRow("goods received, then shipped") << "menu_Edz1" << "menu_Edz2" << "发货" << "发货对账单" << 12
                                                  << ",2,2";
}

void TestStatisticsWindows::anotherItemSwitchesTheOpenWindow()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, word);
    QFETCH(QString, caption);
    QFETCH(int, col);
    QFETCH(QString, values);
    FreshAccountSet set;
    book(set);
    StatisticsReportForm* w = open(set, first);
    QVERIFY(w);
    const QString before = w->CmbS2->itemText(0);
    QVERIFY(OpenWindow(set.app(), second));
    QCOMPARE(OpenedWindow(set.app(), second), w);
    QCOMPARE(w->StatWord, word);
    QVERIFY(w->CmbS2->itemText(0) != before);
    if (caption.isEmpty())
        caption = w->CmbS2->currentText().remove(QStringLiteral("所有")) + QStringLiteral("统计");
    QCOMPARE(w->windowTitle(), caption);
    QVERIFY(w->GD->textMatrix(0, 11).startsWith(word));
    QCOMPARE(column(w->GD, col), values);
    closeWindow(w);
}

namespace {

// Both outbound types in use: the issue R0003 to a department, R0006 a sale.
void departmentsAndCustomers(FreshAccountSet& set, bool withSales = true)
{
    PostMoves(set.app(), {"O G1 1 9 2024-05-20"});
    MenuModel& menus = set.app().Menus;
    menus.setVisible(DocTypeMenuItem(DocType::DepartmentIssue), true);
    menus.setVisible(DocTypeMenuItem(DocType::SalesDelivery), withSales);
    nameTypes(set);
    set.db().execute(QStringLiteral("UPDATE TB1 SET S2 = ? WHERE F1 = 'R0006'"),
                     {menus.caption(DocTypeMenuItem(DocType::SalesDelivery)).mid(3)});
}

void chooseType(StatisticsReportForm* w, int index)
{
    w->CmbS2->setCurrentIndex(index);
    Q_EMIT w->CmbS2->activated(index);
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
}

}  // namespace

// The unit picker offers the chosen type's counter-parties and hands its
// choice to the unit box; closed without a choice it leaves the box alone.
void TestStatisticsWindows::unitPicker()
{
    FreshAccountSet set;
    book(set);
    departmentsAndCustomers(set);
    StatisticsReportForm* w = open(set, QStringLiteral("Menu_DD6"));
    QVERIFY(w);
    QCOMPARE(w->CmbS2->count(), 3);
    auto* button = w->findChild<QPushButton*>(QStringLiteral("CmdQGys"));
    QVERIFY(button && button->isVisibleTo(w));
    QString title;
    int kind = -1;
    WhenModal([&](QWidget* d) {
        auto* p = qobject_cast<QueryGys*>(d);
        QVERIFY(p);
        title = p->windowTitle();
        kind = p->pubLB;
        for (int r = 1; r < p->GD->rows(); ++r)
            if (p->GD->textMatrix(r, 0) == QLatin1String("B001"))
                p->GD->setCurrent(r, 0);
        p->CmdOK->click();
    });
    button->click();
    QCOMPARE(title, QStringLiteral("相关单位列表"));
    QCOMPARE(kind, 81);  // customers and departments for all outbound types
    QCOMPARE(w->CmbF3->currentText(), QStringLiteral("B001.客户乙"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
    QCOMPARE(column(w->GD, 0), QStringLiteral("R0003,R0006,"));

    chooseType(w, 1);  // the sales type: customers alone
    WhenModal([&](QWidget* d) {
        kind = qobject_cast<QueryGys*>(d)->pubLB;
        qobject_cast<QDialog*>(d)->reject();
    });
    w->CmbF3->setEditText(QStringLiteral("B001"));
    button->click();
    QCOMPARE(kind, 1);
    QCOMPARE(w->CmbF3->currentText(), QStringLiteral("B001"));
    closeWindow(w);
}

// Issues to departments are valued at cost: an operator who may not see cost
// prices sees no prices or amounts in a list of them, neither in the grid nor
// in the prints.
void TestStatisticsWindows::pricesFollowTheListedType_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("withSales");
    QTest::addColumn<int>("type");  // index in CmbS2
    QTest::addColumn<bool>("hidden");
    QTest::newRow("departments") << "Menu_DD6" << true << 0 << true;
    QTest::newRow("customers") << "Menu_DD6" << true << 1 << false;
    QTest::newRow("all outbound types") << "Menu_DD6" << true << 2 << true;
    QTest::newRow("departments the only type in use") << "Menu_DD6" << false << 0 << true;
    QTest::newRow("statement of goods shipped to departments") << "menu_Edz2" << true << 0 << true;
    QTest::newRow("statement of goods shipped to customers") << "menu_Edz2" << true << 1 << false;
}

void TestStatisticsWindows::pricesFollowTheListedType()
{
    QFETCH(QString, item);
    QFETCH(bool, withSales);
    QFETCH(int, type);
    QFETCH(bool, hidden);
    FreshAccountSet set;
    book(set);
    departmentsAndCustomers(set, withSales);
    set.app().CanSeeCost = 0;
    FakePrinters::Installation printers(set.folder());
    QVERIFY(InstallPrintFiles(set.programFolder(), {QStringLiteral("vxp.dat"), QStringLiteral("plst.vxp"),
                                                    QStringLiteral("psum.vxp"), QStringLiteral("pdzmx.vxp"),
                                                    QStringLiteral("pdzhz.vxp")}));
    StatisticsReportForm* w = open(set, item);
    QVERIFY(w);
    QCOMPARE(w->CmbS2->count(), withSales ? 3 : 1);
    chooseType(w, type);
    QVERIFY(w->GD->rows() > 2);
    QCOMPARE(w->ShowPrices, !hidden);
    const bool statement = item.startsWith(QLatin1String("menu_Edz"));
    for (int c : StatShapeOf(statement ? StatMember::DZLst : StatMember::Lst).hiddenWithAmounts)
        QCOMPARE(w->GD->colWidth(c) == 0, hidden);

    // The detail prints price and amount as fields 12 and 13; the summary
    // ends in the amount.
    const auto trigger = [w](const char* name) {
        return [w, name] { w->findChild<QAction*>(QString::fromLatin1(name))->trigger(); };
    };
    const StagedPrint detail = CapturePrint(set, trigger("Menu_print1"));
    QVERIFY(detail.shown);
    QCOMPARE(detail.values.value(QStringLiteral("SumJe")).isEmpty(), hidden);
    for (const QString& row : detail.rows) {
        const QStringList f = row.split(QLatin1Char('|'));
        QCOMPARE(f.value(12) == QLatin1String(" "), hidden);
        QCOMPARE(f.value(13) == QLatin1String(" "), hidden);
    }
    const StagedPrint sum = CapturePrint(set, trigger("Menu_print2"));
    QVERIFY(sum.shown);
    QCOMPARE(sum.values.value(QStringLiteral("SumJe")).isEmpty(), hidden);
    for (const QString& row : sum.rows)
        QCOMPARE(row.section(QLatin1Char('|'), -1) == QLatin1String("0"), hidden);
    closeWindow(w);
}

// Each print of each member, staged from the window's print menu: layout,
// template, named values and the rows the print statement reads back. The
// printed totals are the sums of the printed rows.
void TestStatisticsWindows::printsThroughTheMenus_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("print");
    QTest::addColumn<QString>("pid");
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<QStringList>("values");  // name=value
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");  // the named value that totals ...
    QTest::addColumn<int>("field");      // ... this printed field
    // Receipts G1 20 at 5 and G2 4 at 2.50, a return to the supplier of 2 G1
    // at 5; issues of 10 G1 at 7 (cost 5) and 3 G2 at 4 (cost 2.50), a
    // return to stock of 2 G1 at 7; a count of 8 G1 against 10 in the book.
    const QString head = QStringLiteral("DanWeiName=所有单位");
    QTest::newRow("receipts, detail")
        << "Menu_BB6" << "Menu_print1" << "明细统计表" << "plst.vxp"
        << QStringList{head, "DanWeiType=相关单位", "SumSL=24", "SumJe=110.00", "FromDate=2024-5-1"}
        << QStringList{"R0001|2024-05-01||供应商甲||G1|G1名称||000|无类别||20 个|5.00|100.00|",
                       "R0006|2024-05-03||供应商甲||G2|G2名称||000|无类别||4 个|2.50|10.00|"}
        << "SumJe" << 13;
    QTest::newRow("receipts, summary")
        << "Menu_BB6" << "Menu_print2" << "汇总统计表" << "psum.vxp" << QStringList{head, "SumSL=24", "SumJe=110.00"}
        << QStringList{"G1|G1名称||000|无类别||20|5|100", "G2|G2名称||000|无类别||4|2.5|10"} << "SumJe" << 8;
    QTest::newRow("issues, detail")
        << "Menu_DD6" << "Menu_print1" << "明细统计表" << "plst.vxp" << QStringList{head, "SumSL=13", "SumJe=82.00"}
        << QStringList{"R0003|2024-05-13||客户乙||G1|G1名称||000|无类别||10 个|7.00|70.00|",
                       "R0007|2024-05-16||客户乙||G2|G2名称||000|无类别||3 个|4.00|12.00|"}
        << "SumJe" << 13;
    QTest::newRow("returns to stock, summary")
        << "Menu_DD7" << "Menu_print2" << "汇总统计表" << "psum.vxp" << QStringList{head, "SumSL=2", "SumJe=14.00"}
        << QStringList{"G1|G1名称||000|无类别||2|7|14"} << "SumJe" << 8;
    // Net quantity, unit price and amount per line; the unit price in the price pattern.
    QTest::newRow("received, detail")
        << "menu_Edz1" << "Menu_print1" << "对账单明细" << "pdzmx.vxp"
        << QStringList{"Caption=收货对账单", head, "SumSL1=24", "SumSL2=2", "SumSL=22", "SumJe=100",
                       "SumJeDX=壹佰元整"}
        << QStringList{"R0001|2024-05-01||供应商甲||G1|G1名称||000|无类别|个|20|5.00|100.00|",
                       "R0002|2024-05-02||供应商甲||G1|G1名称||000|无类别|个|-2|5.00|-10.00|",
                       "R0006|2024-05-03||供应商甲||G2|G2名称||000|无类别|个|4|2.50|10.00|"}
        << "SumJe" << 13;
    // Net quantity, returned quantity, amount per goods.
    QTest::newRow("received, summary")
        << "menu_Edz1" << "Menu_print2" << "对账单汇总" << "pdzhz.vxp"
        << QStringList{"SumSL=22", "SumSL1=24", "SumSL2=2", "SumJe=100", "SumJeDX=壹佰元整"}
        << QStringList{"G1|G1名称||000|无类别|个|18|2|90", "G2|G2名称||000|无类别|个|4|0|10"} << "SumJe" << 8;
    QTest::newRow("received, amounts")
        << "menu_Edz1" << "Menu_print3" << "对账单金额汇总" << "pdzjehz.vxp"
        << QStringList{"Caption=金额汇总表", "DanWeiName=", "SumJe=100", "SumJeDX=壹佰元整"}
        << QStringList{"供应商甲|100"} << "SumJe" << 1;
    QTest::newRow("shipped, summary")
        << "menu_Edz2" << "Menu_print2" << "对账单汇总" << "pdzhz.vxp"
        << QStringList{"Caption=发货对账单", "SumSL=11", "SumSL1=13", "SumSL2=2", "SumJe=68", "SumJeDX=陆拾捌元整"}
        << QStringList{"G1|G1名称||000|无类别|个|8|2|56", "G2|G2名称||000|无类别|个|3|0|12"} << "SumJe" << 8;
    QTest::newRow("outbound cost, detail")
        << "menu_Ecb" << "Menu_print1" << "成本统计明细" << "Plstcb.vxp"
        << QStringList{"Caption=出库成本统计", "DanWeiType=出库单位", head, "SumSl=11", "SumJe=47.50"}
        << QStringList{"R0003|2024-05-13||客户乙||G1|G1名称||000|无类别|个|10|5.00|50.00|",
                       "R0004|2024-05-14||客户乙||G1|G1名称||000|无类别|个|-2|5.00|-10.00|",
                       "R0007|2024-05-16||客户乙||G2|G2名称||000|无类别|个|3|2.50|7.50|"}
        << "SumJe" << 13;
    QTest::newRow("outbound cost, summary")
        << "menu_Ecb" << "Menu_print2" << "成本统计汇总" << "Psumcb.vxp" << QStringList{"SumSl=11", "SumJe=47.50"}
        << QStringList{"G1|G1名称||000|无类别|个|8|5|40", "G2|G2名称||000|无类别|个|3|2.5|7.5"} << "SumJe" << 8;
    // Quantity, cost price and amount, sale price and amount, profit.
    QTest::newRow("gross profit, detail")
        << "Menu_Eml" << "Menu_print1" << "毛利统计明细" << "plstml.vxp"
        << QStringList{"Caption=销售毛利统计", "DanWeiType=客户名称", head, "SumSl=11", "SumJe1=47.50",
                       "SumJe2=68.00", "SumJe3=20.50"}
        << QStringList{"R0003|2024-05-13||客户乙||G1|G1名称||000|无类别|个|10|5|50|7|70|20",
                       "R0004|2024-05-14||客户乙||G1|G1名称||000|无类别|个|-2|5|-10|7|-14|-4",
                       "R0007|2024-05-16||客户乙||G2|G2名称||000|无类别|个|3|2.5|7.5|4|12|4.5"}
        << "SumJe3" << 16;
    // Quantity, cost price, cost amount, sale price, sale amount, the cost
    // amount again (JineFmt3 repeats SUM(V3)) and the profit; each price is
    // the group's amount over its quantity.
    QTest::newRow("gross profit, summary")
        << "Menu_Eml" << "Menu_print2" << "毛利统计汇总" << "psumml.vxp"
        << QStringList{"SumSl=11", "SumJe1=47.50", "SumJe2=68.00", "SumJe3=20.50"}
        << QStringList{"G1|G1名称||000|无类别|个|8|5|40|7|56|40|16", "G2|G2名称||000|无类别|个|3|2.5|7.5|4|12|7.5|4.5"}
        << "SumJe1" << 11;
    // Book, counted and difference quantities with their unit, price, difference amount;
    // the stocktaking statistics have templates of their own.
    QTest::newRow("stocktaking, detail")
        << "Menu_C3" << "Menu_print1" << "明细统计表" << "plstpd.vxp"
        << QStringList{"Caption=库存盘点统计", "DanWeiType=单据附注", "SumSL=8", "SumJe=-10.00"}
        << QStringList{"R0005|2024-05-15|||G1|G1名称||000|无类别||10 个|8 个|-2 个|5.00|-10.00"} << "SumJe" << 14;
    // Counted quantity, the price of the difference, the difference amount.
    QTest::newRow("stocktaking, summary")
        << "Menu_C3" << "Menu_print2" << "汇总统计表" << "psumpd.vxp" << QStringList{"SumSL=8", "SumJe=-10.00"}
        << QStringList{"G1|G1名称||000|无类别||8|5|-10"} << "SumSL" << 6;
}

void TestStatisticsWindows::printsThroughTheMenus()
{
    QFETCH(QString, item);
    QFETCH(QString, print);
    QFETCH(QString, pid);
    QFETCH(QString, templateFile);
    QFETCH(QStringList, values);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    QFETCH(int, field);
    FreshAccountSet set;
    book(set);
    PostMoves(set.app(), {"I G2 4 2.5 2024-05-03", "O G2 3 4 2024-05-16"});
    nameTypes(set);
    if (item == QLatin1String("Menu_Eml"))
        nameSales(set);
    FakePrinters::Installation printers(set.folder());
    QVERIFY(InstallPrintFiles(set.programFolder(), {QStringLiteral("vxp.dat"), templateFile}));
    StatisticsReportForm* w = open(set, item);
    QVERIFY(w);
    QAction* action = w->findChild<QAction*>(print);
    QVERIFY(action);
    const StagedPrint p = CapturePrint(set, [action] { action->trigger(); });
    QVERIFY(p.shown);
    QCOMPARE(p.pid, pid);
    QCOMPARE(p.templateFile, templateFile);
    if (values.filter(QRegularExpression(QStringLiteral("^Caption="))).isEmpty())
        QCOMPARE(p.values.value(QStringLiteral("Caption")), w->windowTitle());
    for (const QString& v : values) {
        const QString name = v.section(QLatin1Char('='), 0, 0);
        QCOMPARE(name + QLatin1Char('=') + p.values.value(name), v);
    }
    QCOMPARE(p.rows, rows);
    double sum = 0;
    for (const QString& r : p.rows)
        sum += LeadValue(r.section(QLatin1Char('|'), field, field));
    QCOMPARE(LeadValue(p.values.value(total)), sum);
    closeWindow(w);
}

// Who may open each member, and who may print it: the operator must see the
// prices of the window's side.
void TestStatisticsWindows::openingAndPrintingByRights_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("salesInUse");
    QTest::addColumn<int>("canSeeCost");
    QTest::addColumn<int>("canSeeProfit");
    QTest::addColumn<QString>("refusal");  // "" = the window opens
    QTest::addColumn<bool>("printable");
    const QString noRight = QStringLiteral("对不起，您无此权限！");
    QTest::newRow("receipts without cost prices") << "Menu_BB6" << false << 0 << -1 << "" << false;
    QTest::newRow("receipts") << "Menu_BB6" << false << -1 << 0 << "" << true;
    QTest::newRow("issues without sale prices") << "Menu_DD6" << false << -1 << 0 << "" << false;
    QTest::newRow("issues without cost prices") << "Menu_DD6" << false << 0 << -1 << "" << true;
    QTest::newRow("statement of goods received without cost prices") << "menu_Edz1" << false << 0 << -1 << "" << false;
    QTest::newRow("outbound cost without cost prices") << "menu_Ecb" << false << 0 << -1 << noRight << false;
    QTest::newRow("gross profit without sale prices") << "Menu_Eml" << true << -1 << 0 << noRight << false;
    QTest::newRow("gross profit, sales out of use") << "Menu_Eml" << false << -1 << -1 << "该功能已经被屏蔽！" << false;
    QTest::newRow("gross profit") << "Menu_Eml" << true << -1 << -1 << "" << true;
    QTest::newRow("stocktaking without cost prices") << "Menu_C3" << false << 0 << -1 << "" << false;
}

void TestStatisticsWindows::openingAndPrintingByRights()
{
    QFETCH(QString, item);
    QFETCH(bool, salesInUse);
    QFETCH(int, canSeeCost);
    QFETCH(int, canSeeProfit);
    QFETCH(QString, refusal);
    QFETCH(bool, printable);
    FreshAccountSet set;
    book(set);
    set.app().Menus.setVisible(DocTypeMenuItem(DocType::SalesDelivery), salesInUse);
    set.app().CanSeeCost = canSeeCost;
    set.app().CanSeeProfit = canSeeProfit;
    MessageScript msgs;
    if (!refusal.isEmpty())
        msgs.expect(refusal);
    const bool opened = OpenWindow(set.app(), item) && OpenedWindow(set.app(), item);
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(opened, refusal.isEmpty());
    if (!opened)
        return;
    auto* w = qobject_cast<StatisticsReportForm*>(OpenedWindow(set.app(), item));
    QVERIFY(w);
    QCOMPARE(w->Menu_print->isEnabled(), printable);
    closeWindow(w);
}

VX_REGISTER_TEST(TestStatisticsWindows)
#include "tst_statisticswindows.moc"
