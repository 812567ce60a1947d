#include "ReportBooks.h"
#include "core/App.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "print/PlistPrint.h"
#include "reports/DocStatistics.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The statistics members' lists, cells and print staging on books written by
// the real save and posting path, with the hand-worked tables of each member.
class TestDocStatistics : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void outboundCost();
    void grossProfit();
    void reconciliation();
    void reconciliationAmountsByUnitCode();
    void capitalOfNothingIsEmpty();
    void documentListSignsAndOrder();
    void typedFiltersAreBound_data();
    void typedFiltersAreBound();
    void stocktaking();
    void summaryPriceIsAmountOverQuantity();
    void hiddenAmountsStayHidden();
    void grossProfitSummaryColumns();
};

namespace {

StatFilter filterOf(StatMember m, DocKind kind)
{
    StatFilter f;
    f.member = m;
    f.kind = kind;
    f.from = QDate(2024, 1, 1);
    f.to = QDate(2024, 12, 31);
    return f;
}

StatTable run(Database& db, const StatFilter& f)
{
    return StatCells(f.member, ListStatLines(db, f).lines, StatView());
}

QStringList pick(const QStringList& row, std::initializer_list<int> cols)
{
    QStringList out;
    for (int c : cols)
        out << row.value(c);
    return out;
}

StatPrintContext context()
{
    StatPrintContext c;
    c.caption = QStringLiteral("统计");
    c.unitHeader = QStringLiteral("相关单位");
    c.unitName = QStringLiteral("所有单位");
    c.fromDate = QStringLiteral("2024-1-1");
    c.toDate = QStringLiteral("2024-12-31");
    return c;
}

QString valueOf(const StatPrintJob& job, const QString& name)
{
    for (const auto& [n, v] : job.values)
        if (n == name)
            return v;
    return QStringLiteral("<none>");
}

// Stages the job and reads its print statement back, one line per record.
QStringList printed(App& app, const StatPrintJob& job)
{
    PlistPrint print(app);
    HandOver(job, print, app.AppFolder);
    print.stage();
    RecordSet rs = app.CurrentDatabase.query(job.prnSql);
    QStringList lines;
    for (int r = 0; r < rs.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < rs.columnCount(); ++c)
            cells << rs.text(r, c);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

}  // namespace

void TestDocStatistics::outboundCost()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 20 5 2024-05-01", "O G1 10 7 2024-05-13", "B G1 2 7 2024-05-14"});
    const StatTable t = run(set.db(), filterOf(StatMember::CBLst, DocKind::Outbound));
    QCOMPARE(int(t.rows.size()), 2);
    QCOMPARE(pick(t.rows[0], {11, 12, 13}), QStringList({"10", "5.00", "50.00"}));
    QCOMPARE(pick(t.rows[1], {11, 12, 13}), QStringList({"-2", "5.00", "-10.00"}));
    QCOMPARE(pick(t.totals, {6, 11, 13}), QStringList({"合计：", "8", "40.00"}));

    const StatPrintJob detail = StatPrint(StatMember::CBLst, StatPrintKind::Detail, t.rows, t.totals, context());
    QCOMPARE(detail.pid, QStringLiteral("成本统计明细"));
    QCOMPARE(valueOf(detail, "SumSl"), QStringLiteral("8"));
    QCOMPARE(valueOf(detail, "SumJe"), QStringLiteral("40.00"));
    QCOMPARE(printed(set.app(), detail).size(), 2);
    const StatPrintJob sum = StatPrint(StatMember::CBLst, StatPrintKind::Summary, t.rows, t.totals, context());
    QCOMPARE(printed(set.app(), sum), QStringList({"G1|G1名称||000|无类别|个|8|5|40"}));
}

void TestDocStatistics::grossProfit()
{
    // Issue stored -5, -60 at a cost of 40; customer return stored 1, 12 at -8.
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 20 8 2024-05-01", "O G1 5 12 2024-05-13", "B G1 1 12 2024-05-14"});
    const double cost = set.db().scalar(QStringLiteral("SELECT C8 FROM TB11 WHERE LB = 3")).toDouble();
    QCOMPARE(cost, 40.0);
    const StatTable t = run(set.db(), filterOf(StatMember::MLLst, DocKind::Outbound));
    QCOMPARE(int(t.rows.size()), 2);
    QCOMPARE(pick(t.rows[0], {11, 13, 15, 16}), QStringList({"5", "40.00", "60.00", "20.00"}));
    QCOMPARE(pick(t.rows[1], {11, 13, 15, 16}), QStringList({"-1", "-8.00", "-12.00", "-4.00"}));
    QCOMPARE(pick(t.totals, {11, 12, 13, 14, 15, 16}), QStringList({"4", "", "32.00", "", "48.00", "16.00"}));

    const StatPrintJob detail = StatPrint(StatMember::MLLst, StatPrintKind::Detail, t.rows, t.totals, context());
    QCOMPARE(valueOf(detail, "SumSl"), t.totals[11]);
    QCOMPARE(valueOf(detail, "SumJe1"), t.totals[13]);
    QCOMPARE(valueOf(detail, "SumJe2"), t.totals[15]);
    QCOMPARE(valueOf(detail, "SumJe3"), t.totals[16]);
    QCOMPARE(printed(set.app(), detail).size(), 2);
}

void TestDocStatistics::reconciliation()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 10 10 2024-05-13", "S G1 2 10 2024-05-14"});
    const StatTable t = run(set.db(), filterOf(StatMember::DZLst, DocKind::Inbound));
    QCOMPARE(int(t.rows.size()), 2);
    QCOMPARE(pick(t.rows[0], {11, 12, 13}), QStringList({"10", "", "100.00"}));
    QCOMPARE(pick(t.rows[1], {11, 12, 13}), QStringList({"", "2", "-20.00"}));
    QCOMPARE(pick(t.totals, {11, 12, 13}), QStringList({"10", "2", "80.00"}));

    const StatPrintJob detail = StatPrint(StatMember::DZLst, StatPrintKind::Detail, t.rows, t.totals, context());
    QCOMPARE(detail.rows[0].texts.mid(11), QStringList({"10", "10.00", "100.00", ""}));
    QCOMPARE(detail.rows[0].numbers, QList<double>({10, 100}));
    QCOMPARE(detail.rows[1].texts.mid(11), QStringList({"-2", "10.00", "-20.00", ""}));
    QCOMPARE(detail.rows[1].numbers, QList<double>({0, -20}));
    QCOMPARE(valueOf(detail, "SumSL1"), QStringLiteral("10"));
    QCOMPARE(valueOf(detail, "SumSL2"), QStringLiteral("2"));
    QCOMPARE(valueOf(detail, "SumSL"), QStringLiteral("8"));
    QCOMPARE(valueOf(detail, "SumJe"), QStringLiteral("80"));
    QCOMPARE(valueOf(detail, "SumJeDX"), QStringLiteral("捌拾元整"));
    // The unit price is written in the price pattern, not the amount pattern.
    StatPrintContext prices = context();
    prices.priceFormat = QStringLiteral("#0.000");
    QCOMPARE(StatPrint(StatMember::DZLst, StatPrintKind::Detail, t.rows, t.totals, prices).rows[1].texts.value(12),
             QStringLiteral("10.000"));

    const StatPrintJob sum = StatPrint(StatMember::DZLst, StatPrintKind::Summary, t.rows, t.totals, context());
    QCOMPARE(printed(set.app(), sum), QStringList({"G1|G1名称||000|无类别|个|8|2|80"}));
    QCOMPARE(valueOf(sum, "SumJeDX"), QStringLiteral("捌拾元整"));
    const StatPrintJob amounts =
        StatPrint(StatMember::DZLst, StatPrintKind::AmountSummary, t.rows, t.totals, context());
    QCOMPARE(valueOf(amounts, "Caption"), QStringLiteral("金额汇总表"));
    QCOMPARE(printed(set.app(), amounts), QStringList({"供应商甲|80"}));
}

void TestDocStatistics::reconciliationAmountsByUnitCode()
{
    // Two suppliers of one name stay two lines of the amount summary.
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 10 10 2024-05-13"});
    AddUnit(set.db(), {QStringLiteral("A002"), QStringLiteral("供应商甲"), UnitKind::Supplier});
    DocSpec doc;
    doc.number = QStringLiteral("R9001");
    doc.unit = QStringLiteral("A002");
    doc.lines = {LineSpec{QStringLiteral("G1"), 1, 3}};
    AddDocument(set.db(), doc);
    PostDocument(set.db(), PostingRules::of(set.app()), doc.number, QStringLiteral("系统管理员"), {}, OutPriceRuleOf(doc.kind));

    const StatTable t = run(set.db(), filterOf(StatMember::DZLst, DocKind::Inbound));
    const StatPrintJob amounts =
        StatPrint(StatMember::DZLst, StatPrintKind::AmountSummary, t.rows, t.totals, context());
    QCOMPARE(printed(set.app(), amounts), QStringList({"供应商甲|100", "供应商甲|3"}));
}

void TestDocStatistics::capitalOfNothingIsEmpty()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 10 10 2024-05-13", "S G1 10 10 2024-05-14"});
    const StatTable t = run(set.db(), filterOf(StatMember::DZLst, DocKind::Inbound));
    const StatPrintJob detail = StatPrint(StatMember::DZLst, StatPrintKind::Detail, t.rows, t.totals, context());
    QCOMPARE(valueOf(detail, "SumJe"), QStringLiteral("0"));
    QCOMPARE(valueOf(detail, "SumJeDX"), QString());
}

void TestDocStatistics::documentListSignsAndOrder()
{
    // Every document carries SN 0: the list still comes in document number
    // order, whatever order the documents were audited in.
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 20 5 2024-05-01", "O G1 3 7 2024-05-20", "O G1 4 7 2024-05-13"});
    StatFilter f = filterOf(StatMember::Lst, DocKind::Outbound);
    const StatTable t = run(set.db(), f);
    QCOMPARE(int(t.rows.size()), 2);
    QCOMPARE(pick(t.rows[0], {0, 11, 12, 13}), QStringList({"R0002", "3", "7.00", "21.00"}));
    QCOMPARE(pick(t.rows[1], {0, 11, 12, 13}), QStringList({"R0003", "4", "7.00", "28.00"}));
    QCOMPARE(pick(t.totals, {11, 13}), QStringList({"7", "49.00"}));
    const StatTable again = run(set.db(), f);
    QCOMPARE(again.rows, t.rows);

    // An unaudited document and one outside the period are not listed.
    PostMoves(set.app(), {"-O G1 1 7 2024-06-01", "O G1 1 7 2025-01-01"});
    QCOMPARE(int(run(set.db(), f).rows.size()), 2);
    f.from = f.to = QDate(2024, 5, 20);
    QCOMPARE(int(run(set.db(), f).rows.size()), 1);
}

void TestDocStatistics::typedFiltersAreBound_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("found");
    QTest::newRow("apostrophe") << "G'1" << 1;
    QTest::newRow("whole code") << "G" << 0;
    QTest::newRow("star") << "G*" << 3;
    QTest::newRow("question mark is one character") << "G?1" << 1;
    QTest::newRow("percent is a character") << "G%" << 1;
    QTest::newRow("percent does not match any text") << "G%1" << 0;
    QTest::newRow("underscore is a character") << "G_1" << 0;
}

void TestDocStatistics::typedFiltersAreBound()
{
    QFETCH(QString, typed);
    QFETCH(int, found);
    FreshAccountSet set;
    PostMoves(set.app(), {"I G'1 1 1 2024-05-13", "I G% 1 1 2024-05-13", "I GA 1 1 2024-05-13"});
    StatFilter f = filterOf(StatMember::Lst, DocKind::Inbound);
    f.goods = typed;
    QCOMPARE(int(ListStatLines(set.db(), f).lines.size()), found);
}

void TestDocStatistics::stocktaking()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 10 2 2024-05-01", "T G1 8 10 2024-05-15"});
    const StatTable t = run(set.db(), filterOf(StatMember::C3, DocKind::Stocktaking));
    QCOMPARE(int(t.rows.size()), 1);
    QCOMPARE(pick(t.rows[0], {4, 10, 11, 12}), QStringList({"G1", "10 个", "8 个", "-2 个"}));
    QCOMPARE(pick(t.totals, {6, 12}), QStringList({"合计：", "-2"}));
    const StatPrintJob detail = StatPrint(StatMember::C3, StatPrintKind::Detail, t.rows, t.totals, context());
    QCOMPARE(detail.pid, QStringLiteral("明细统计表"));
    QCOMPARE(detail.rows[0].numbers.value(0), 8.0);
    QCOMPARE(valueOf(detail, "SumSL"), QStringLiteral("8"));
    QCOMPARE(valueOf(detail, "DanWeiName"), QStringLiteral("<none>"));
    const StatPrintJob sum = StatPrint(StatMember::C3, StatPrintKind::Summary, t.rows, t.totals, context());
    QCOMPARE(printed(set.app(), sum).value(0).section(QLatin1Char('|'), 0, 1), QStringLiteral("G1|G1名称"));
}

void TestDocStatistics::summaryPriceIsAmountOverQuantity()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 10 2 2024-05-13", "I G1 30 4 2024-05-14"});
    const StatTable t = run(set.db(), filterOf(StatMember::Lst, DocKind::Inbound));
    const StatPrintJob sum = StatPrint(StatMember::Lst, StatPrintKind::Summary, t.rows, t.totals, context());
    QCOMPARE(printed(set.app(), sum), QStringList({"G1|G1名称||000|无类别|个|40|3.5|140"}));
}

void TestDocStatistics::hiddenAmountsStayHidden()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 10 2 2024-05-13"});
    const StatTable t = run(set.db(), filterOf(StatMember::Lst, DocKind::Inbound));
    StatPrintContext c = context();
    c.amountsHidden = true;
    const StatPrintJob detail = StatPrint(StatMember::Lst, StatPrintKind::Detail, t.rows, t.totals, c);
    QCOMPARE(pick(detail.rows[0].texts, {12, 13}), QStringList({" ", " "}));
    QCOMPARE(detail.rows[0].numbers, QList<double>({10, 0}));
    QCOMPARE(valueOf(detail, "SumJe"), QString());
    const StatPrintJob sum = StatPrint(StatMember::Lst, StatPrintKind::Summary, t.rows, t.totals, c);
    QCOMPARE(printed(set.app(), sum), QStringList({"G1|G1名称||000|无类别|个|10||0"}));
}

void TestDocStatistics::grossProfitSummaryColumns()
{
    // Two issues of one goods: the summary's prices are the group's amounts
    // over its quantity, never a sum of line prices.
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 20 8 2024-05-01", "O G1 5 12 2024-05-13", "O G1 5 14 2024-05-14"});
    const StatTable t = run(set.db(), filterOf(StatMember::MLLst, DocKind::Outbound));
    const StatPrintJob sum = StatPrint(StatMember::MLLst, StatPrintKind::Summary, t.rows, t.totals, context());
    QCOMPARE(printed(set.app(), sum), QStringList({"G1|G1名称||000|无类别|个|10|8|80|13|130|80|50"}));
}

VX_REGISTER_TEST(TestDocStatistics)
#include "tst_docstatistics.moc"
