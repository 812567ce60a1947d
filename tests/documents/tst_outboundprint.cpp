#include "core/App.h"
#include "core/SqlText.h"
#include "documents/common/StockDocPrint.h"
#include "documents/common/StockDocService.h"
#include "documents/outbound/OutboundPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "print/PlistPrint.h"
#include "print/PrintEngine.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"
#include "OutboundTestPolicy.h"

#include <QTest>

// Print plans of an outbound document: the staged rows and named values as the
// window shows the document, the plan's layout and query, the gates.
class TestOutboundPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plansByMode();
    void linesStagedAsShown();
    void namedValuesInOrder();
    void hiddenPricesAreBlanked();
    void deliveryNoteMergesByGoodsAndDiscount();
    void deliveryNoteTemplateReadsItsRows();
    void printRule_data();
    void printRule();
    void emptyDocumentAndUnknownUnit();
};

namespace {

// A document as the outbound window shows it, one line per row of cells in the sales
// grid's column order (code, name, attribute, quantity with unit, price before discount,
// discount, price, amount, remark); a row without a code is no line.
struct Sheet {
    Sheet()
    {
        doc.head.number = QStringLiteral(" CK2405130001 ");
        doc.head.date = QDate(2024, 5, 13);
        doc.head.unitName = QStringLiteral("客户一");
        doc.head.unitCode = QStringLiteral("B001");
        doc.head.enteredBy = QStringLiteral("系统管理员");
        doc.head.note = QStringLiteral("备注一");
    }
    void add(const QStringList& cells)
    {
        if (cells[0].isEmpty())
            return;
        StockDocLine l;
        l.goods = cells[0];
        l.name = cells[1];
        l.attr = cells[2];
        l.qty = LeadValue(cells[3]);
        l.unit = AfterSpace(cells[3]);
        l.originalPrice = cells[4].toDouble();
        l.discount = cells[5].toDouble();
        l.price = cells[6].toDouble();
        l.amount = cells[7].toDouble();
        l.remark = cells[8];
        doc.lines << l;
    }
    StockDoc doc;
};

void prepare(FreshAccountSet& set)
{
    set.loginAs(QStringLiteral("001"));
    set.app().CompanyName = QStringLiteral("某公司");
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer});
    db.execute(QStringLiteral("UPDATE TA1 SET F3 = '长街1号', F4 = '555', F5 = NULL, F6 = '王五' WHERE F1 = 'B001'"));
    GoodsSpec a{QStringLiteral("A1"), QStringLiteral("甲")};
    a.unit = QStringLiteral("箱");
    AddGoods(db, a);
    AddGoods(db, {QStringLiteral("B1"), QStringLiteral("乙")});
    db.execute(QStringLiteral("UPDATE TA4 SET F5 = '规' || F1"));
    db.execute(QStringLiteral("UPDATE sysinfo SET setval = 1 WHERE ID = 87"));
}

QString stage(FreshAccountSet& set, const Sheet& s, int index, bool pricesShown, PlistPrint& job,
              bool department = false)
{
    const QString r = StageStockDocPrint(set.app(), TestOutboundPolicy(department), QStringLiteral("销售发货单"), s.doc,
                                         index, pricesShown, job);
    if (r.isEmpty())
        job.stage();
    return r;
}

QString value(const PlistPrint& job, const QString& name)
{
    for (const auto& [n, v] : job.values())
        if (n == name)
            return v;
    return QStringLiteral("<none>");
}

}  // namespace

void TestOutboundPrint::plansByMode()
{
    const QVector<PrintPlan> sales = SalesDeliveryPolicy().print.plans;
    QCOMPARE(sales.size(), 3);
    QCOMPARE(sales[2].menuCaption, QStringLiteral("&3.送货单"));
    QVERIFY(sales[2].perGoods);
    const QVector<PrintPlan> department = DepartmentIssuePolicy().print.plans;
    QCOMPARE(department.size(), 2);
    QVERIFY(!department[0].perGoods);
    // Every layout of every type has its default template in the program folder.
    for (const DocTypeInfo& t : DocTypes())
        for (const DocLayout& l : t.layouts)
            if (l.templateFile)
                QVERIFY2(QFile::exists(QStringLiteral(VX_BIN_DIR "/") + QString::fromUtf8(l.templateFile)),
                         l.templateFile);
}

void TestOutboundPrint::linesStagedAsShown()
{
    FreshAccountSet set;
    prepare(set);
    Sheet s;
    s.add({"A1", "甲/规A1", "L1", "2.5 箱", "10", "0.9", "9.00", "22.50", "r'1"});
    s.add({"Z9", "", "", "1 个", "", "", "3", "3", ""});  // no goods record
    s.add({"", "", "", "7 个", "", "", "", "", ""});      // no line
    s.add({"B1", "", "", "4 个", "", "", "1", "4", ""});
    PlistPrint job(set.app());
    QCOMPARE(stage(set, s, 0, true, job), QString());
    QCOMPARE(job.Pid, QStringLiteral("销售单一"));
    QCOMPARE(job.RptFile, set.app().AppFolder + QStringLiteral("pckd1.vxp"));
    QCOMPARE(job.PrnSQL, QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F12,F13,F10 from plist order by F0"));
    QCOMPARE(job.MyCmd, 0);

    const RecordSet rs = set.db().query(
        QStringLiteral("SELECT F0,F11,F1,F2,F3,F4,F6,F7,F8,F9,F12,F13,V1,V2,V3,F10 FROM temp.Plist ORDER BY F0"));
    QCOMPARE(rs.rowCount(), 3);
    QStringList first;
    for (int c = 0; c < 12; ++c)
        first << rs.text(0, c);
    QCOMPARE(first, (QStringList{"00001", "1", "A1", "甲", "规A1", "箱", "2.5 箱", "9.00", "22.50", "r'1", "10", "0.9"}));
    QCOMPARE(rs.value(0, 12).toDouble(), 2.5);
    QCOMPARE(rs.value(0, 13).toDouble(), 22.5);
    QCOMPARE(rs.value(0, 14).toDouble(), 1.0);
    QCOMPARE(rs.text(0, 15), QStringLiteral("L1"));
    // A goods missing from TA4 prints with empty name, spec and unit.
    QCOMPARE(rs.text(1, 2) + "|" + rs.text(1, 3) + rs.text(1, 4) + rs.text(1, 5), QStringLiteral("Z9|"));
    QCOMPARE(rs.text(1, 10), QStringLiteral("0"));
    QCOMPARE(rs.text(2, 1), QStringLiteral("3"));
    QCOMPARE(rs.text(2, 2), QStringLiteral("B1"));
    QCOMPARE(value(job, "SumSl"), QStringLiteral("7.5"));
    QCOMPARE(value(job, "SumJe"), QStringLiteral("29.50"));
}

void TestOutboundPrint::namedValuesInOrder()
{
    FreshAccountSet set;
    prepare(set);
    Sheet s;
    s.add({"A1", "", "", "12 箱", "", "", "0", "0", ""});
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 187"));
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (187, 1, '订单号')"));
    s.doc.head.extra = QStringLiteral("DD-7");
    s.doc.head.auditor = QStringLiteral("张三");
    PlistPrint job(set.app());
    QCOMPARE(stage(set, s, 1, true, job), QString());
    QCOMPARE(job.Pid, QStringLiteral("销售单二"));
    QStringList names;
    for (const auto& [n, v] : job.values())
        names << n;
    QCOMPARE(names, (QStringList{"DanNo", "rq", "KH", "KHBM", "Zhidan", "Shenhe", "SumJe", "SumJeDX", "SumSl", "FuZhu",
                                 "KHtype", "Caption", "客户地址", "客户电话", "客户传真", "客户方联系人", "订单号",
                                 "ExtraItem", "HpsxName"}));
    // The extra item also under a fixed name, for templates whatever the item is called.
    QCOMPARE(value(job, "ExtraItem"), QStringLiteral("订单号：DD-7"));
    QCOMPARE(value(job, "DanNo"), QStringLiteral("CK2405130001"));
    QCOMPARE(value(job, "KHBM"), QStringLiteral("B001"));
    QCOMPARE(value(job, "Shenhe"), QStringLiteral("张三"));
    QCOMPARE(value(job, "SumSl"), QStringLiteral("12"));
    // An amount total of 0 has no capital text.
    QCOMPARE(value(job, "SumJeDX"), QString());
    QCOMPARE(value(job, "KHtype"), QStringLiteral("收货单位："));
    QCOMPARE(value(job, "Caption"), QStringLiteral("销售发货单"));
    QCOMPARE(value(job, "客户地址"), QStringLiteral("长街1号"));
    QCOMPARE(value(job, "客户传真"), QString());
    QCOMPARE(value(job, "客户方联系人"), QStringLiteral("王五"));
    QCOMPARE(value(job, "订单号"), QStringLiteral("订单号：DD-7"));
}

void TestOutboundPrint::hiddenPricesAreBlanked()
{
    FreshAccountSet set;
    prepare(set);
    Sheet s;
    s.add({"A1", "", "", "2 箱", "10", "0.8", "8", "16", ""});
    s.add({"A1", "", "", "1 箱", "10", "0.8", "8", "8", ""});
    for (int plan : {0, 2}) {
        PlistPrint job(set.app());
        QCOMPARE(stage(set, s, plan, false, job), QString());
        QCOMPARE(value(job, "SumJe"), QStringLiteral(" "));
        QCOMPARE(value(job, "SumJeDX"), QStringLiteral("<none>"));
        const RecordSet rs = set.db().query(QStringLiteral("SELECT F7, F8, F12, F13, V2 FROM temp.Plist ORDER BY F0"));
        QCOMPARE(rs.text(0, 0), QStringLiteral(" "));
        QCOMPARE(rs.text(0, 1), QStringLiteral(" "));
        QCOMPARE(rs.text(0, 2), QStringLiteral("10"));
        QCOMPARE(rs.text(0, 3), QStringLiteral("0.8"));
        QCOMPARE(rs.value(0, 4).toDouble(), 16.0);
        // Neither the per-goods amount nor its average price reaches the delivery note.
        const RecordSet printed = set.db().query(job.PrnSQL);
        for (int c = 0; c < printed.columnCount(); ++c)
            QVERIFY2(!printed.text(0, c).contains(QLatin1String("JE&SL")) && printed.text(0, c) != QLatin1String("24"),
                     qPrintable(printed.columnNames().value(c)));
        // Nor the price before discount: the note's own column of it is blank.
        if (plan == 2)
            QCOMPARE(printed.text(0, 9).trimmed(), QString());
    }
}

void TestOutboundPrint::deliveryNoteMergesByGoodsAndDiscount()
{
    FreshAccountSet set;
    prepare(set);
    Sheet s;
    s.add({"A1", "", "", "2 箱", "10", "1", "10", "20", ""});
    s.add({"A1", "", "", "1 箱", "10", "0.9", "9", "9", ""});
    s.add({"B1", "", "", "3 个", "5", "1", "5", "15", ""});
    s.add({"A1", "", "", "4 箱", "10", "1", "10", "40", ""});
    PlistPrint job(set.app());
    QCOMPARE(stage(set, s, 2, true, job), QString());
    QCOMPARE(job.Pid, QStringLiteral("送货单"));
    QCOMPARE(job.RptFile, set.app().AppFolder + QStringLiteral("psh.vxp"));
    QCOMPARE(value(job, "Caption"), QStringLiteral("送 货 单"));
    const RecordSet rs = set.db().query(job.PrnSQL);
    QCOMPARE(rs.rowCount(), 3);
    // Ordered by the sum of the merged lines' numbers: 2, 3, 1 + 4.
    QCOMPARE(rs.text(0, 0) + rs.text(0, 10), QStringLiteral("A10.9"));
    QCOMPARE(rs.text(1, 0), QStringLiteral("B1"));
    QCOMPARE(rs.text(2, 0), QStringLiteral("A1"));
    QCOMPARE(rs.value(2, 4).toDouble(), 6.0);
    QCOMPARE(rs.value(2, 6).toDouble(), 60.0);
    QCOMPARE(rs.text(2, 5), QStringLiteral("JE&SL"));
    QCOMPARE(rs.columnNames().value(5), QStringLiteral("自动除法"));
}

void TestOutboundPrint::deliveryNoteTemplateReadsItsRows()
{
    QStringList lines;
    QVERIFY(PrintEngine::ReadTemplateFile(QStringLiteral(VX_BIN_DIR "/psh.vxp"), lines));
    PrintEngine other;
    other.Pid = QStringLiteral("销售单一");
    QVERIFY(!other.ReadTemplateLines(lines));

    FreshAccountSet set;
    prepare(set);
    Sheet s;
    s.add({"A1", "", "", "2 箱", "10", "1", "10", "20", ""});
    s.add({"A1", "", "", "4 箱", "10", "1", "12.5", "50", ""});
    PlistPrint job(set.app());
    QCOMPARE(stage(set, s, 2, true, job), QString());
    PrintEngine engine;
    engine.Pid = job.Pid;
    QVERIFY(engine.ReadTemplateLines(lines));
    engine.PrnSQL = job.PrnSQL;
    QCOMPARE(engine.OpenRecords(set.db()), QString());
    // The engine's division gives the average price of the merged lines.
    QCOMPARE(engine.ColumnText(4), QStringLiteral("6"));
    QCOMPARE(engine.ColumnText(5), QStringLiteral("11.66667"));
    QCOMPARE(engine.ColumnText(6), QStringLiteral("70"));
}

void TestOutboundPrint::printRule_data()
{
    QTest::addColumn<QString>("setval");  // "" = no row
    QTest::addColumn<bool>("audited");
    QTest::addColumn<QString>("refusal");
    const QString before = QStringLiteral("根据系统设置，单据只能在审核之前打印。该单据已审核，不能打印！");
    const QString after = QStringLiteral("根据系统设置，单据只能在审核之后打印。该单据未审核，不能打印！");
    QTest::newRow("no row, audited") << "" << true << "";
    QTest::newRow("0, unaudited") << "0" << false << "";
    QTest::newRow("1, unaudited") << "1" << false << "";
    QTest::newRow("1, audited") << "1" << true << before;
    QTest::newRow("2, unaudited") << "2" << false << after;
    QTest::newRow("2, audited") << "2" << true << "";
    QTest::newRow("5, unaudited") << "5" << false << "";
}

void TestOutboundPrint::printRule()
{
    QFETCH(QString, setval);
    QFETCH(bool, audited);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    prepare(set);
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 7716"));
    if (!setval.isEmpty())
        set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (7716, ?)"), {setval.toInt()});
    Sheet s;
    s.add({"A1", "", "", "1 箱", "", "", "1", "1", ""});
    s.doc.head.auditor = audited ? QStringLiteral("张三") : QString();
    PlistPrint job(set.app());
    QCOMPARE(stage(set, s, 0, true, job), refusal);
    QCOMPARE(job.rowCount(), refusal.isEmpty() ? 1 : 0);
}

void TestOutboundPrint::emptyDocumentAndUnknownUnit()
{
    FreshAccountSet set;
    prepare(set);
    Sheet s;
    s.add({"", "", "", "", "", "", "", "", ""});
    PlistPrint job(set.app());
    QCOMPARE(stage(set, s, 0, true, job), QStringLiteral("无数据可打印！"));

    Sheet d;
    d.add({"A1", "", "", "1 箱", "", "", "1", "1", ""});
    d.doc.head.unitCode = QStringLiteral("P404");
    PlistPrint dept(set.app());
    QCOMPARE(stage(set, d, 1, true, dept, true), QString());
    QCOMPARE(dept.Pid, QStringLiteral("领用单二"));
    QCOMPARE(value(dept, "KHtype"), QStringLiteral("相关部门："));
    QCOMPARE(value(dept, "客户地址"), QStringLiteral("<none>"));
    QCOMPARE(value(dept, "客户方联系人"), QStringLiteral("<none>"));
}

VX_REGISTER_TEST(TestOutboundPrint)
#include "tst_outboundprint.moc"
