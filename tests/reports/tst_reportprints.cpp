#include "CapturedPrint.h"
#include "ReportBooks.h"
#include "core/App.h"
#include "platform/Grid.h"
#include "print/Myprn.h"
#include "reports/C1.h"
#include "reports/C11.h"
#include "reports/JxcHZ.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>

// What the stock reports hand to the print window: layout, template, named
// values and the rows as the print statement reads them back.
class TestReportPrints : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void summaryPrints_data();
    void summaryPrints();
    void stockListPrint();
    void stockPerAttributePrint();
    void emptyListIsNotPrinted();
};

namespace {

void installPrinting(FreshAccountSet& set, const QString& templateFile)
{
    QVERIFY(InstallPrintFiles(set.programFolder(), {QStringLiteral("vxp.dat"), templateFile}));
}

}  // namespace

// The summary prints the goods rows (with the totals row and row numbers)
// or the amounts per category; both carry the period and the filter lines.
void TestReportPrints::summaryPrints_data()
{
    QTest::addColumn<bool>("byCategory");
    QTest::addColumn<bool>("quantitiesOnly");
    QTest::addColumn<QString>("pid");
    QTest::addColumn<QString>("templateFile");
    QTest::addColumn<QString>("categoryLine");
    QTest::addColumn<QStringList>("rows");
    // Goods rows: the grid's cells, then quantity and amount of opening, in,
    // out and closing, and the row number; the totals row is printed too.
    QTest::newRow("goods") << false << false << "进出存汇总表一" << "Pjcchz.vxp" << "货品类别:所有类别"
                           << QStringList{"G1|G1名称||个|000|无类别|0|0|10|20|4|8|6|12||1",
                                          "G2|G2名称||个|000|无类别|0|0|5|5|0|0|5|5||2",
                                          "||||||0|0|15|25|4|8|11|17||3"};
    QTest::newRow("goods, quantities only") << false << true << "进出存汇总表一" << "Pjcchz.vxp" << "货品类别:所有类别"
                                            << QStringList{"G1|G1名称||个|000|无类别|0| |10| |4| |6| ||1",
                                                           "G2|G2名称||个|000|无类别|0| |5| |0| |5| ||2",
                                                           "||||||0| |15| |4| |11| ||3"};
    // Category rows: opening, in, out and closing amounts.
    QTest::newRow("categories") << true << false << "进出存汇总表二" << "Pjcclbhz.vxp" << " "
                                << QStringList{"000|无类别|0|25|8|17"};
}

void TestReportPrints::summaryPrints()
{
    QFETCH(bool, byCategory);
    QFETCH(bool, quantitiesOnly);
    QFETCH(QString, pid);
    QFETCH(QString, templateFile);
    QFETCH(QString, categoryLine);
    QFETCH(QStringList, rows);
    FreshAccountSet set;
    MayBook(set);
    FakePrinters::Installation printers(set.folder());
    installPrinting(set, templateFile);
    JxcHZ w(set.app());
    w.resize(1200, 600);
    w.show();
    w.DTP0->setDate(QDate(2024, 5, 1));
    w.DTP1->setDate(QDate(2024, 5, 31));
    w.ChK->setChecked(quantitiesOnly);
    w.Cmd->click();
    const StagedPrint p = CapturePrint(set, [&] { (byCategory ? w.Menu_print2 : w.Menu_print1)->trigger(); });
    QVERIFY(p.shown);
    QCOMPARE(p.pid, pid);
    QCOMPARE(p.templateFile, templateFile);
    QCOMPARE(p.values.value(QStringLiteral("Caption")), w.windowTitle());
    QCOMPARE(p.values.value(QStringLiteral("FromDate")), QStringLiteral("2024-05-01"));
    QCOMPARE(p.values.value(QStringLiteral("ToDate")), QStringLiteral("2024-05-31"));
    QCOMPARE(p.values.value(QStringLiteral("HPLB")), categoryLine);
    QCOMPARE(p.values.value(QStringLiteral("HP")), QStringLiteral(" "));
    QCOMPARE(p.rows, rows);
}

void TestReportPrints::stockListPrint()
{
    FreshAccountSet set;
    MayBook(set);
    FakePrinters::Installation printers(set.folder());
    installPrinting(set, QStringLiteral("Pkclst.vxp"));
    C1 w(set.app());
    w.resize(1200, 600);
    const StagedPrint p = CapturePrint(set, [&] { w.Menu_print->trigger(); });
    QVERIFY(p.shown);
    QCOMPARE(p.pid, QStringLiteral("存货统计"));
    QCOMPARE(p.templateFile, QStringLiteral("Pkclst.vxp"));
    QCOMPARE(p.values.value(QStringLiteral("Caption")), w.windowTitle());
    QCOMPARE(p.values.value(QStringLiteral("SumSL")), QStringLiteral("13"));
    QCOMPARE(p.values.value(QStringLiteral("SumJE")), QStringLiteral("27.00"));
    // Code, name, category, unit ... stock, price, amount; the totals row is printed too.
    QCOMPARE(p.rows, (QStringList{"G1|G1名称|无类别|个||0|0|6|2.00|12.00|", "G2|G2名称|无类别|个||0|0|5|1.00|5.00|",
                                  "G3|丙|无类别|个||5|0|2|5.00|10.00|", "|合计：||||||13||27.00|"}));
}

void TestReportPrints::stockPerAttributePrint()
{
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    MayBook(set);
    PostMoves(set.app(), {"I G1 3 2 2024-05-20 @B"});
    FakePrinters::Installation printers(set.folder());
    installPrinting(set, QStringLiteral("Pkcmx.vxp"));
    C11 w(set.app());
    w.resize(1200, 600);
    const StagedPrint p = CapturePrint(set, [&] { w.Menu_print->trigger(); });
    QVERIFY(p.shown);
    QCOMPARE(p.pid, QStringLiteral("存货明细表"));
    QCOMPARE(p.templateFile, QStringLiteral("Pkcmx.vxp"));
    QCOMPARE(p.values.value(QStringLiteral("Caption")), w.windowTitle());
    QCOMPARE(p.values.value(QStringLiteral("SumSL")), QStringLiteral("14"));
    QCOMPARE(p.values.value(QStringLiteral("SumJE")), QStringLiteral("23.00"));
    // One row per goods and attribute value, without the totals row, numbered after the cells.
    QCOMPARE(p.rows, (QStringList{"G1|G1名称|000|||6 个|2.00|12||1|", "G1|G1名称|000|B||3 个|2.00|6||2|",
                                  "G2|G2名称|000|||5 个|1.00|5||3|"}));
}

// A list without rows tells so and shows no print window.
void TestReportPrints::emptyListIsNotPrinted()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    FakePrinters::Installation printers(set.folder());
    C11 w(set.app());
    MessageScript msgs;
    msgs.expect(QStringLiteral("无数据可打印！"));
    const StagedPrint p = CapturePrint(set, [&] { w.Menu_print->trigger(); });
    QVERIFY(!p.shown);
}

VX_REGISTER_TEST(TestReportPrints)
#include "tst_reportprints.moc"
