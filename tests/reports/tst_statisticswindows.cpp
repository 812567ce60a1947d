#include "ReportBooks.h"
#include "core/App.h"
#include "core/MainMenuTree.h"
#include "core/Settings.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "reports/Register.h"
#include "reports/StatisticsReportForm.h"
#include "support/Fixture.h"
#include "support/Popups.h"
#include "support/Scripted.h"
#include "widgets/GridBehaviours.h"
#include "support/TestRegistry.h"

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
    QTest::addColumn<QString>("values");  // data rows, then the totals row
    // "" = the chosen type's name + "统计".
    QTest::newRow("receipts") << "Menu_BB6" << "" << 11 << "20 个,20";
    QTest::newRow("returns to suppliers") << "Menu_BB7" << "" << 11 << "2 个,2";
    QTest::newRow("issues") << "Menu_DD6" << "" << 13 << "70.00,70.00";
    QTest::newRow("returns to stock") << "Menu_DD7" << "" << 11 << "2 个,2";
    QTest::newRow("goods received") << "menu_Edz1" << "收货对账单" << 13 << "100.00,-10.00,90.00";
    QTest::newRow("goods shipped, returned") << "menu_Edz2" << "发货对账单" << 12 << ",2,2";
    QTest::newRow("outbound cost") << "menu_Ecb" << "出库成本统计" << 13 << "50.00,-10.00,40.00";
    QTest::newRow("gross profit") << "Menu_Eml" << "销售毛利统计" << 16 << "20.00,-4.00,16.00";
    QTest::newRow("stocktaking") << "Menu_C3" << "库存盘点统计" << 12 << "-2 个,-2";
}

void TestStatisticsWindows::membersInTheirModes()
{
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(int, col);
    QFETCH(QString, values);
    FreshAccountSet set;
    book(set);
    if (item == QLatin1String("Menu_Eml")) {
        // Gross profit lists the sales types only.
        set.app().Menus.setVisible(DocTypeMenuItem(DocType::SalesDelivery), true);
        for (const auto& [kind, type] : {std::pair{DocKind::Outbound, DocType::SalesDelivery},
                                         std::pair{DocKind::StockReturn, DocType::CustomerReturn}})
            set.db().execute(QStringLiteral("UPDATE TB1 SET S2 = ? WHERE LB = ?"),
                             {set.app().Menus.caption(DocTypeMenuItem(type)).mid(3), code(kind)});
    }
    StatisticsReportForm* w = open(set, item);
    QVERIFY(w);
    if (caption.isEmpty())
        caption = w->CmbS2->currentText().remove(QStringLiteral("所有")) + QStringLiteral("统计");
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(column(w->GD, col), values);
    QCOMPARE(w->GD->textMatrix(w->GD->rows() - 1, 6), QStringLiteral("合计："));
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

VX_REGISTER_TEST(TestStatisticsWindows)
#include "tst_statisticswindows.moc"
