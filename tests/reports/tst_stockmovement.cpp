#include "ReportBooks.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "reports/StockMovement.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QTest>

// The in/out/stock summary and detail against figures worked out by hand,
// and against the report's literal per-goods reading on a random book.
class TestStockMovement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void summary_data();
    void summary();
    void amountsRoundedPerLine();
    void cancelledRuns();
    void patternsAndApostrophes();
    void setQueriesEqualPerGoodsReading();
    void detail_data();
    void detail();
    void detailTotalsSumTheShownFigures();
    void detailCheckStartsFromStockBefore_data();
    void detailCheckStartsFromStockBefore();
    void reportStartDate_data();
    void reportStartDate();
};

namespace {

const QString Amount = QStringLiteral("#0.00");

// code|open qty|open amount|in qty|in amount|out qty|out amount|close qty|close amount
QString compact(const QStringList& c)
{
    return QStringList{c[0], c[6], c[8], c[9], c[11], c[12], c[14], c[15], c[17]}.join(QLatin1Char('|'));
}

QStringList compactRows(const SummaryReport& r)
{
    QStringList out;
    for (const SummaryRow& row : r.rows)
        out << compact(SummaryCells(row, Amount, Amount));
    out << compact(SummaryTotalCells(r.totals, Amount));
    return out;
}

StockMovementFilter may2024()
{
    StockMovementFilter f;
    f.from = QDate(2024, 5, 1);
    f.to = QDate(2024, 5, 31);
    return f;
}

}  // namespace

void TestStockMovement::summary_data()
{
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QStringList>("opening");  // "code qty price"
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QStringList>("moved");
    QTest::addColumn<QStringList>("allGoods");

    QTest::newRow("opening balance only")
        << QString() << QStringList{"G1 10 2"} << QStringList{} << QStringList{"|0|0.00|0|0.00|0|0.00|0|0.00"}
        << QStringList{"G1|10|20.00|0|0.00|0|0.00|10|20.00", "|10|20.00|0|0.00|0|0.00|10|20.00"};
    QTest::newRow("movement only")
        << QString() << QStringList{}
        << QStringList{"I G1 5 2 2024-05-13", "O G1 3 0 2024-05-14"}
        << QStringList{"G1|0|0.00|5|10.00|3|6.00|2|4.00", "|0|0.00|5|10.00|3|6.00|2|4.00"}
        << QStringList{"G1|0|0.00|5|10.00|3|6.00|2|4.00", "|0|0.00|5|10.00|3|6.00|2|4.00"};
    QTest::newRow("opening balance and movement")
        << QString() << QStringList{"G1 10 2"}
        << QStringList{"I G1 10 4 2024-05-13", "O G1 5 0 2024-05-20"}
        << QStringList{"G1|10|20.00|10|40.00|5|15.00|15|45.00", "|10|20.00|10|40.00|5|15.00|15|45.00"}
        << QStringList{"G1|10|20.00|10|40.00|5|15.00|15|45.00", "|10|20.00|10|40.00|5|15.00|15|45.00"};
    // Posted after a later receipt, the back-dated one is part of the stock
    // before the period's first line.
    QTest::newRow("back-dated document")
        << QString() << QStringList{}
        << QStringList{"I G1 5 2 2024-05-20", "I G1 5 4 2024-04-10"}
        << QStringList{"G1|5|20.00|5|10.00|0|0.00|10|30.00", "|5|20.00|5|10.00|0|0.00|10|30.00"}
        << QStringList{"G1|5|20.00|5|10.00|0|0.00|10|30.00", "|5|20.00|5|10.00|0|0.00|10|30.00"};
    QTest::newRow("stocktaking shortage")
        << QString() << QStringList{}
        << QStringList{"I G1 10 2 2024-05-10", "T G1 8 10 2024-05-12"}
        << QStringList{"G1|0|0.00|10|20.00|2|4.00|8|16.00", "|0|0.00|10|20.00|2|4.00|8|16.00"}
        << QStringList{"G1|0|0.00|10|20.00|2|4.00|8|16.00", "|0|0.00|10|20.00|2|4.00|8|16.00"};
    QTest::newRow("goods with attribute values")
        << QStringLiteral("批号") << QStringList{}
        << QStringList{"I G1 4 2 2024-05-10 @A", "I G1 6 2 2024-05-11 @B", "O G1 3 0 2024-05-12 @A"}
        << QStringList{"G1|0|0.00|10|20.00|3|6.00|7|14.00", "|0|0.00|10|20.00|3|6.00|7|14.00"}
        << QStringList{"G1|0|0.00|10|20.00|3|6.00|7|14.00", "|0|0.00|10|20.00|3|6.00|7|14.00"};
    QTest::newRow("lines before and after the period")
        << QString() << QStringList{"G2 1 3"}
        << QStringList{"I G1 4 2 2024-04-10", "I G2 6 2 2024-06-11", "-I G3 5 1 2024-05-10"}
        << QStringList{"|0|0.00|0|0.00|0|0.00|0|0.00"}
        << QStringList{"G1|4|8.00|0|0.00|0|0.00|4|8.00", "G2|1|3.00|0|0.00|0|0.00|1|3.00",
                       "G3|0|0.00|0|0.00|0|0.00|0|0.00", "|5|11.00|0|0.00|0|0.00|5|11.00"};
    QTest::newRow("dates on both ends count")
        << QString() << QStringList{}
        << QStringList{"I G1 1 1 2024-05-01", "I G1 2 1 2024-05-31", "I G1 4 1 2024-06-01"}
        << QStringList{"G1|0|0.00|3|3.00|0|0.00|3|3.00", "|0|0.00|3|3.00|0|0.00|3|3.00"}
        << QStringList{"G1|0|0.00|3|3.00|0|0.00|3|3.00", "|0|0.00|3|3.00|0|0.00|3|3.00"};
}

void TestStockMovement::summary()
{
    QFETCH(QString, attribute);
    QFETCH(QStringList, opening);
    QFETCH(QStringList, moves);
    QFETCH(QStringList, moved);
    QFETCH(QStringList, allGoods);

    FreshAccountSet set;
    set.app().HpsxName = attribute;
    for (const QString& o : opening) {
        const QStringList t = o.split(QLatin1Char(' '));
        GoodsSpec g{t[0], t[0]};
        g.openingQty = g.stock = t[1].toDouble();
        g.openingPrice = g.cost = t[2].toDouble();
        g.openingAmount = g.amount = g.openingQty * g.openingPrice;
        AddGoods(set.db(), g);
    }
    PostMoves(set.app(), moves);

    SummaryReport report;
    GenerateMovedGoodsSummary(set.db(), may2024(), Amount, report);
    QCOMPARE(compactRows(report), moved);
    QVERIFY(!report.cancelled);
    GenerateAllGoodsSummary(set.db(), may2024(), Amount, report);
    QCOMPARE(compactRows(report), allGoods);
}

// Each line amount is rounded to the report's amount pattern before it is
// added: two lines of 1.40 make 2 in whole units, not 3.
void TestStockMovement::amountsRoundedPerLine()
{
    FreshAccountSet set;
    PostMoves(set.app(), {"I G1 1 1.4 2024-05-10", "I G1 1 1.4 2024-05-11"});
    SummaryReport report;
    GenerateMovedGoodsSummary(set.db(), may2024(), QStringLiteral("#0"), report);
    QCOMPARE(report.rows.size(), size_t(1));
    QCOMPARE(report.rows[0].inAmount, 2.0);
    QCOMPARE(report.rows[0].closeAmount, 3.0);
    QCOMPARE(SummaryTotalCells(report.totals, QStringLiteral("#0")).value(11), QStringLiteral("2"));
}

void TestStockMovement::cancelledRuns()
{
    FreshAccountSet set;
    QStringList moves;
    for (int i = 0; i < 3 * ReportPollEvery; ++i)
        moves << QStringLiteral("I G%1 1 1 2024-05-%2").arg(i % 4 + 1).arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
    PostMoves(set.app(), moves);

    // Only-moved mode stops after the line in hand: the goods in hand keeps its opening only.
    SummaryReport report;
    int asked = 0;
    GenerateMovedGoodsSummary(set.db(), may2024(), Amount, report, [&](int) { return ++asked < 2; });
    QVERIFY(report.cancelled);
    QCOMPARE(asked, 2);
    QVERIFY(!report.rows.empty());
    QVERIFY(!report.rows.back().closed);
    QCOMPARE(SummaryCells(report.rows.back(), Amount, Amount).value(9), QString());

    // All-goods mode finishes the goods in hand: every listed row is whole.
    asked = 0;
    GenerateAllGoodsSummary(set.db(), may2024(), Amount, report, [&](int) { return ++asked < 2; });
    QVERIFY(report.cancelled);
    QCOMPARE(int(report.rows.size()), 2);
    for (const SummaryRow& r : report.rows)
        QVERIFY(r.closed);
    QCOMPARE(report.totals.inQty, report.rows[0].inQty + report.rows[1].inQty);

    // A run that is let go to the end is not marked.
    GenerateAllGoodsSummary(set.db(), may2024(), Amount, report, [](int) { return true; });
    QVERIFY(!report.cancelled);
    QCOMPARE(int(report.rows.size()), 4);
}

void TestStockMovement::patternsAndApostrophes()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('C''1', '类''别')"));
    GoodsSpec g{QStringLiteral("O'Neil"), QStringLiteral("奥'尼尔")};
    g.category = QStringLiteral("C'1");
    AddGoods(set.db(), g);
    AddGoods(set.db(), {QStringLiteral("A1"), QStringLiteral("甲")});
    AddGoods(set.db(), {QStringLiteral("A2"), QStringLiteral("乙")});
    AddGoods(set.db(), {QStringLiteral("B1"), QStringLiteral("丙")});
    PostMoves(set.app(), {"I O'Neil 1 1 2024-05-02", "I A1 2 1 2024-05-03", "I A2 3 1 2024-05-04",
                          "I B1 4 1 2024-05-05"});

    auto codes = [&](const QString& category, const QString& goods) {
        StockMovementFilter f = may2024();
        f.category = category;
        f.goods = GoodsPatternOf(goods, QStringLiteral("货品"));
        SummaryReport r;
        GenerateMovedGoodsSummary(set.db(), f, Amount, r);
        QStringList out;
        for (const SummaryRow& row : r.rows)
            out << row.code;
        return out;
    };
    QCOMPARE(codes(QString(), QString()), (QStringList{"A1", "A2", "B1", "O'Neil"}));
    QCOMPARE(codes(QString(), QStringLiteral("所有货品")), (QStringList{"A1", "A2", "B1", "O'Neil"}));
    QCOMPARE(codes(QString(), QStringLiteral("A*")), (QStringList{"A1", "A2"}));
    QCOMPARE(codes(QString(), QStringLiteral("a?")), (QStringList{"A1", "A2"}));
    QCOMPARE(codes(QString(), QStringLiteral("a1")), (QStringList{"A1"}));
    QCOMPARE(codes(QString(), QStringLiteral("O'Neil")), (QStringList{"O'Neil"}));
    QCOMPARE(codes(QStringLiteral("C'1"), QString()), (QStringList{"O'Neil"}));
    QCOMPARE(codes(QString(), QStringLiteral("%")), QStringList{});

    StockMovementFilter f = may2024();
    f.goods = QStringLiteral("O'Neil");
    DetailReport d;
    GenerateStockDetail(set.db(), f, d);
    QCOMPARE(int(d.rows.size()), 1);
    QCOMPARE(d.rows[0].name, QStringLiteral("奥'尼尔"));
}

// The report's own reading, goods by goods with the document dates and the
// audit mark, must give what the set queries over the key ranges give.
void TestStockMovement::setQueriesEqualPerGoodsReading()
{
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    QRandomGenerator rnd(513);
    for (int g = 1; g <= 6; ++g) {
        GoodsSpec spec{QStringLiteral("G%1").arg(g), QStringLiteral("货%1").arg(g)};
        spec.category = g % 2 ? QStringLiteral("000") : QStringLiteral("001");
        spec.openingQty = spec.stock = g % 3;
        spec.openingPrice = spec.cost = 1.5;
        spec.openingAmount = spec.amount = spec.openingQty * 1.5;
        AddGoods(set.db(), spec);
    }
    set.db().execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('001', '一类')"));
    QStringList moves;
    const char kinds[] = {'I', 'I', 'O', 'S', 'B', 'T'};
    for (int i = 0; i < 120; ++i) {
        const char k = kinds[rnd.bounded(6)];
        const QDate d = QDate(2024, 3, 1).addDays(rnd.bounded(120));
        QString m = QStringLiteral("%1 G%2 %3 %4 %5 @%6")
                        .arg(QLatin1Char(k))
                        .arg(rnd.bounded(6) + 1)
                        .arg(rnd.bounded(1, 9))
                        .arg(k == 'T' ? rnd.bounded(1, 9) : rnd.bounded(1, 30) / 3.0)
                        .arg(d.toString(QStringLiteral("yyyy-MM-dd")))
                        .arg(QChar(u'A' + rnd.bounded(3)));
        if (rnd.bounded(10) == 0)
            m.prepend(QLatin1Char('-'));
        moves << m;
    }
    PostMoves(set.app(), moves);

    // Per goods: the period's audited lines by document date, else the last
    // audited line dated before, else the opening balance.
    Database& db = set.db();
    const StockMovementFilter f = may2024();
    const QString from = DateText(f.from), to = DateText(f.to);
    QStringList expected;
    double tin = 0, tout = 0, tclose = 0;
    const RecordSet goods = db.query(QStringLiteral("SELECT F1, V3, V5 FROM TA4 ORDER BY F3, F1"));
    for (int i = 0; i < goods.rowCount(); ++i) {
        const QString code = goods.text(i, 0);
        const RecordSet lines = db.query(
            QStringLiteral("SELECT S6, S8, R6, R8, C6, C8, K6, K8 FROM TB11 LEFT JOIN TB1 ON TB11.F0 = TB1.F1"
                           " WHERE TB11.F1 = ? AND datediff('d', ?, TB1.F2) >= 0 AND datediff('d', ?, TB1.F2) <= 0"
                           " AND NOT (TB1.F6 IS NULL OR TB1.F6 = '') ORDER BY TB11.SRT"),
            {code, from, to});
        double oq, oa, iq = 0, ia = 0, outq = 0, outa = 0, cq, ca;
        if (lines.rowCount() > 0) {
            oq = lines.value(0, 0).toDouble();
            oa = lines.value(0, 1).toDouble();
            for (int j = 0; j < lines.rowCount(); ++j) {
                iq += lines.value(j, 2).toDouble();
                ia += RoundToPattern(lines.value(j, 3).toDouble(), Amount);
                outq += lines.value(j, 4).toDouble();
                outa += RoundToPattern(lines.value(j, 5).toDouble(), Amount);
                cq = lines.value(j, 6).toDouble();
                ca = RoundToPattern(lines.value(j, 7).toDouble(), Amount);
            }
        } else {
            const RecordSet before = db.query(
                QStringLiteral("SELECT K6, K8 FROM TB11 LEFT JOIN TB1 ON TB11.F0 = TB1.F1 WHERE TB11.F1 = ?"
                               " AND datediff('d', ?, TB1.F2) < 0 AND NOT (TB1.F6 IS NULL OR TB1.F6 = '')"
                               " ORDER BY TB11.SRT DESC LIMIT 1"),
                {code, from});
            const RecordSet& src = before.rowCount() ? before : goods;
            const int row = before.rowCount() ? 0 : i;
            oq = cq = src.value(row, before.rowCount() ? 0 : 1).toDouble();
            oa = ca = RoundToPattern(src.value(row, before.rowCount() ? 1 : 2).toDouble(), Amount);
        }
        expected << QStringList{code, NumText(oq), FormatNumber(oa, Amount), NumText(iq), FormatNumber(ia, Amount),
                                NumText(outq), FormatNumber(outa, Amount), NumText(cq), FormatNumber(ca, Amount)}
                        .join(QLatin1Char('|'));
        tin += iq;
        tout += outq;
        tclose += cq;
    }
    SummaryReport report;
    GenerateAllGoodsSummary(db, f, Amount, report);
    QStringList got = compactRows(report);
    const QString totals = got.takeLast();
    QCOMPARE(got, expected);
    const QStringList t = totals.split(QLatin1Char('|'));
    QCOMPARE(t[3], NumText(tin));
    QCOMPARE(t[5], NumText(tout));
    QCOMPARE(t[7], NumText(tclose));
}

void TestStockMovement::detail_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("goods");
    QTest::addColumn<QStringList>("rows");  // cells 5, 9-17 joined
    QTest::addColumn<QString>("totals");    // cells 9, 11, 12, 14

    QTest::newRow("in and out lines")
        << QStringList{"I G1 5 2 2024-05-10", "O G1 3 0 2024-05-11"} << QString()
        << QStringList{"G1|5|2.00|10.00||||5|2.00|10.00", "G1||||3|2.00|6.00|2|2.00|4.00"}
        << "5|10.00|3|6.00";
    QTest::newRow("no lines") << QStringList{"I G1 5 2 2024-04-10"} << QString() << QStringList{} << "0|0.00|0|0.00";
    QTest::newRow("running stock down to zero")
        << QStringList{"I G1 2 3 2024-05-10", "O G1 2 0 2024-05-11"} << QStringLiteral("g1")
        << QStringList{"G1|2|3.00|6.00||||2|3.00|6.00", "G1||||2|3.00|6.00|0|3.00|0.00"} << "2|6.00|2|6.00";
    QTest::newRow("key order across goods")
        << QStringList{"I G2 1 1 2024-05-12", "I G1 1 1 2024-05-11"} << QString()
        << QStringList{"G1|1|1.00|1.00||||1|1.00|1.00", "G2|1|1.00|1.00||||1|1.00|1.00"} << "2|2.00|0|0.00";
}

void TestStockMovement::detail()
{
    QFETCH(QStringList, moves);
    QFETCH(QString, goods);
    QFETCH(QStringList, rows);
    QFETCH(QString, totals);

    FreshAccountSet set;
    PostMoves(set.app(), moves);
    StockMovementFilter f = may2024();
    f.goods = goods;
    DetailReport report;
    GenerateStockDetail(set.db(), f, report);
    QStringList got;
    std::vector<QStringList> cells;
    for (const DetailRow& r : report.rows) {
        const QStringList c = DetailCells(r, Amount, Amount);
        cells.push_back(c);
        got << (QStringList{c[5]} + c.mid(9, 9)).join(QLatin1Char('|'));
    }
    QCOMPARE(got, rows);
    const QStringList t = DetailTotalCells(report.rows, Amount);
    QCOMPARE((QStringList{t[9], t[11], t[12], t[14]}.join(QLatin1Char('|'))), totals);
}

void TestStockMovement::detailTotalsSumTheShownFigures()
{
    // Quantities and amounts whose cells show less than the stored value, or
    // nothing: residues of sums, nine decimals, a value adjustment without quantity.
    const double qtys[] = {0.1 + 0.2, 1.123456789, 0, 0.000000001, -2.5, 1e15 + 2};
    const double amounts[] = {0.305, 10.004999, 2.675, 0, -1.005, 0.1 + 0.7};
    std::vector<DetailRow> rows;
    for (size_t i = 0; i < std::size(qtys); ++i) {
        DetailRow r;
        r.inQty = qtys[i];
        r.inAmount = amounts[i];
        r.outQty = qtys[(i + 2) % std::size(qtys)];
        r.outAmount = amounts[(i + 1) % std::size(amounts)];
        rows.push_back(r);
    }
    double sums[4] = {};
    for (const DetailRow& r : rows) {
        const QStringList c = DetailCells(r, Amount, Amount);
        int k = 0;
        for (int col : {9, 11, 12, 14})
            sums[k++] += LeadValue(c[col]);
    }
    const QStringList t = DetailTotalCells(rows, Amount);
    QCOMPARE(t[9], NumText(sums[0]));
    QCOMPARE(t[11], FormatNumber(sums[1], Amount));
    QCOMPARE(t[12], NumText(sums[2]));
    QCOMPARE(t[14], FormatNumber(sums[3], Amount));
}

void TestStockMovement::detailCheckStartsFromStockBefore_data()
{
    QTest::addColumn<double>("openingQty");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<int>("tamperLine");  // -1 none
    QTest::addColumn<int>("firstBad");

    const QStringList inOut{"I G1 5 2 2024-05-10", "O G1 3 0 2024-05-11"};
    QTest::newRow("no stock before") << 0.0 << inOut << -1 << -1;
    QTest::newRow("opening quantity before the first line") << 10.0 << inOut << -1 << -1;
    QTest::newRow("earlier lines before the period")
        << 0.0 << QStringList{"I G1 7 2 2024-04-10", "I G1 5 2 2024-05-10", "O G1 3 0 2024-05-11"} << -1 << -1;
    QTest::newRow("a stored running figure that is wrong") << 10.0 << inOut << 1 << 1;
}

void TestStockMovement::detailCheckStartsFromStockBefore()
{
    QFETCH(double, openingQty);
    QFETCH(QStringList, moves);
    QFETCH(int, tamperLine);
    QFETCH(int, firstBad);

    FreshAccountSet set;
    GoodsSpec g{QStringLiteral("G1"), QStringLiteral("货")};
    g.openingQty = g.stock = openingQty;
    g.openingPrice = g.cost = 2;
    g.openingAmount = g.amount = openingQty * 2;
    AddGoods(set.db(), g);
    PostMoves(set.app(), moves);
    StockMovementFilter f = may2024();
    f.goods = QStringLiteral("G1");
    DetailReport report;
    GenerateStockDetail(set.db(), f, report);
    if (tamperLine >= 0)
        report.rows[tamperLine].stockQty += 1;
    QCOMPARE(CheckDetailRunningStock(report.rows), firstBad);
}

void TestStockMovement::reportStartDate_data()
{
    QTest::addColumn<int>("startDay");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("from");
    QTest::newRow("after the start day") << 5 << QDate(2024, 3, 6) << QDate(2024, 3, 5);
    QTest::newRow("on the start day") << 5 << QDate(2024, 3, 5) << QDate(2024, 2, 5);
    QTest::newRow("January goes back a year") << 5 << QDate(2024, 1, 3) << QDate(2023, 12, 5);
    QTest::newRow("month end") << 28 << QDate(2024, 3, 15) << QDate(2024, 2, 29);
    QTest::newRow("first of the month") << 1 << QDate(2024, 3, 1) << QDate(2024, 2, 1);
}

void TestStockMovement::reportStartDate()
{
    QFETCH(int, startDay);
    QFETCH(QDate, today);
    QFETCH(QDate, from);
    const ReportPeriod p = ReportStartDate(startDay, today);
    QCOMPARE(p.from, from);
    QCOMPARE(p.to, today);
}

VX_REGISTER_TEST(TestStockMovement)
#include "tst_stockmovement.moc"
