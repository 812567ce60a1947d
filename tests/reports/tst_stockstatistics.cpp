#include "ReportBooks.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "reports/StockStatistics.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The stock list with its filters, alarms and price rights; the stock per
// goods and attribute value; the summary's cross-check.
class TestStockStatistics : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listFilters_data();
    void listFilters();
    void listCells_data();
    void listCells();
    void listTotalsSumTheShownFigures_data();
    void listTotalsSumTheShownFigures();
    void batchStock();
    void batchStockMismatch_data();
    void batchStockMismatch();
    void inboundRemarks();
    void crossCheckByCode_data();
    void crossCheckByCode();
};

namespace {

void addStockGoods(Database& db)
{
    auto add = [&](const char* code, const char* name, double stock, double min, double max, const char* remark = "") {
        GoodsSpec g{QString::fromUtf8(code), QString::fromUtf8(name)};
        g.stock = stock;
        g.minStock = min;
        g.maxStock = max;
        g.cost = 2;
        g.salePrice = 3;
        g.amount = stock * 2;
        AddGoods(db, g);
        db.execute(QStringLiteral("UPDATE TA4 SET F6 = ? WHERE F1 = ?"), {QString::fromUtf8(remark), g.code});
    };
    add("A1", "螺丝", 5, 10, 0);
    add("A2", "螺母", 50, 10, 20, "易碎");
    add("B1", "O'Neil 垫片", 15, 10, 0);
    add("B2", "垫圈", 0, 0, 0);
}

QStringList codesOf(const std::vector<StockListRow>& rows)
{
    QStringList out;
    for (const auto& r : rows)
        out << r.code;
    return out;
}

}  // namespace

void TestStockStatistics::listFilters_data()
{
    QTest::addColumn<int>("alarm");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<QString>("qtyOp");
    QTest::addColumn<double>("qtyValue");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("every goods") << 0 << "" << "" << "" << "" << 0.0 << QStringList{"A1", "A2", "B1", "B2"};
    QTest::newRow("below safety stock") << 1 << "" << "" << "" << "" << 0.0 << QStringList{"A1"};
    QTest::newRow("above maximum stock, never without one") << 2 << "" << "" << "" << "" << 0.0 << QStringList{"A2"};
    QTest::newRow("code matches whole") << 0 << "A" << "" << "" << "" << 0.0 << QStringList{};
    QTest::newRow("code with a wildcard") << 0 << "a*" << "" << "" << "" << 0.0 << QStringList{"A1", "A2"};
    QTest::newRow("name anywhere, apostrophe") << 0 << "" << "O'Neil" << "" << "" << 0.0 << QStringList{"B1"};
    QTest::newRow("typed question mark is no wildcard") << 0 << "A?" << "" << "" << "" << 0.0 << QStringList{};
    QTest::newRow("percent is literal") << 0 << "%" << "" << "" << "" << 0.0 << QStringList{};
    QTest::newRow("remark whole") << 0 << "" << "" << "易碎" << "" << 0.0 << QStringList{"A2"};
    QTest::newRow("quantity at least") << 0 << "" << "" << "" << ">=" << 15.0 << QStringList{"A2", "B1"};
    QTest::newRow("quantity at most") << 0 << "" << "" << "" << "<=" << 5.0 << QStringList{"A1", "B2"};
}

void TestStockStatistics::listFilters()
{
    QFETCH(int, alarm);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, remark);
    QFETCH(QString, qtyOp);
    QFETCH(double, qtyValue);
    QFETCH(QStringList, codes);

    FreshAccountSet set;
    addStockGoods(set.db());
    StockListFilter f;
    f.alarm = StockListFilter::Alarm(alarm);
    f.filterRun = true;
    f.code = code;
    f.name = name;
    f.remark = remark;
    if (!qtyOp.isEmpty()) {
        f.qty = StockListFilter::Qty::Compare;
        f.qtyOp = qtyOp;
        f.qtyValue = qtyValue;
    }
    QCOMPARE(codesOf(ListStock(set.db(), f, PriceBasis::Cost)), codes);
    if (alarm == 1)
        QVERIFY(AnyGoodsBelowMin(set.db()));
    if (alarm == 2)
        QVERIFY(AnyGoodsAboveMax(set.db()));
}

void TestStockStatistics::listCells_data()
{
    QTest::addColumn<bool>("cost");
    QTest::addColumn<bool>("profit");
    QTest::addColumn<bool>("refPrice");
    QTest::addColumn<int>("basis");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("cells");  // columns 7, 8, 9, 11, 12

    QTest::newRow("cost: stored amount") << true << true << false << 0 << "A2" << "50|2.00|100.00||";
    QTest::newRow("cost, sale price shown: still the stored amount") << true << true << false << 1 << "A2"
                                                                      << "50|3.00|100.00||";
    QTest::newRow("cost: no stock shows 0") << true << false << false << 0 << "B2" << "0|2.00|0||";
    QTest::newRow("sale prices only: quantity times price") << false << true << false << 1 << "A2"
                                                            << "50|3.00|150.00||";
    QTest::newRow("no prices") << false << false << false << 0 << "A2" << "50||||";
    QTest::newRow("accounting price falls back to the listed price") << false << false << true << 0 << "A2"
                                                                     << "50|||2.00|100.00";
}

void TestStockStatistics::listCells()
{
    QFETCH(bool, cost);
    QFETCH(bool, profit);
    QFETCH(bool, refPrice);
    QFETCH(int, basis);
    QFETCH(QString, code);
    QFETCH(QString, cells);

    FreshAccountSet set;
    addStockGoods(set.db());
    set.db().execute(QStringLiteral("UPDATE TA4 SET RKF7 = NULL"));
    StockListFilter f;
    f.code = code;
    const auto rows = ListStock(set.db(), f, PriceBasis(basis));
    QCOMPARE(int(rows.size()), 1);
    StockListView view;
    view.canSeeCost = cost;
    view.canSeeProfit = profit;
    view.inboundRefPrice = refPrice;
    const QStringList c = StockListCells(rows[0], view);
    QCOMPARE((QStringList{c[7], c[8], c[9], c[11], c[12]}.join(QLatin1Char('|'))), cells);
}

void TestStockStatistics::listTotalsSumTheShownFigures_data()
{
    QTest::addColumn<bool>("cost");
    QTest::addColumn<QString>("amountFormat");
    QTest::newRow("cost, cents") << true << "#0.00";
    QTest::newRow("sale prices only, cents") << false << "#0.00";
    QTest::newRow("cost, whole amounts") << true << "#0";
    QTest::newRow("sale prices only, four places") << false << "#0.0000";
}

void TestStockStatistics::listTotalsSumTheShownFigures()
{
    QFETCH(bool, cost);
    QFETCH(QString, amountFormat);
    // Quantities and amounts whose cells show less than the stored value:
    // residues of sums, nine decimals, halves, exponent forms.
    const double qtys[] = {0.1 + 0.2, 1.123456789, 0.0000001, 2.5, 0, 1e15 + 2, -3.000000005, 7};
    const double amounts[] = {0.305, 10.004999, 2.675, 1e-9, 123.455, 5e14 + 0.5, -1.005, 0.1 + 0.7};
    std::vector<StockListRow> rows;
    for (size_t i = 0; i < std::size(qtys); ++i) {
        StockListRow r;
        r.code = QStringLiteral("G%1").arg(i);
        r.qty = qtys[i];
        r.amount = amounts[i];
        r.price = amounts[(i + 3) % std::size(amounts)];
        rows.push_back(r);
    }
    StockListView view;
    view.canSeeCost = cost;
    view.amountFormat = amountFormat;
    const std::vector<QString> cells = StockListTable(rows, view);
    QCOMPARE(cells.size(), (rows.size() + 1) * 15);
    double qty = 0, amount = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList one = StockListCells(rows[i], view);
        QCOMPARE(QStringList(cells.begin() + std::ptrdiff_t(i * 15), cells.begin() + std::ptrdiff_t(i * 15 + 15)), one);
        qty += LeadValue(one[7]);
        amount += LeadValue(one[9]);
    }
    const QString* total = &cells[rows.size() * 15];
    QCOMPARE(total[1], QStringLiteral("合计："));
    QCOMPARE(total[7], GeneralNumberText(qty));
    QCOMPARE(total[9], FormatNumber(amount, amountFormat));
}

void TestStockStatistics::batchStock()
{
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    PostMoves(set.app(), {"I G1 4 2 2024-05-10 @A", "I G1 6 3 2024-05-11 @B", "O G1 4 0 2024-05-12 @A",
                          "I G2 5 1 2024-05-12", "-I G2 9 1 2024-05-13"});
    // One line with no attribute value at all, one with an empty value: two rows.
    set.db().execute(QStringLiteral("UPDATE TB11 SET HPSX = NULL WHERE F1 = 'G2'"));
    PostMoves(set.app(), {"I G2 2 1 2024-05-14"});

    const BatchStockReport r = ListBatchStock(set.db(), {});
    QStringList got;
    for (const BatchStockRow& row : r.rows) {
        const QStringList c = BatchStockCells(row, QStringLiteral("#0.00"));
        got << QStringList{c[0], row.attribute.isNull() ? QStringLiteral("null") : c[4], c[5], c[6], c[7],
                           QString::number(row.band)}
                   .join(QLatin1Char('|'));
    }
    // G1@A sums to 0 and is left out; units follow the quantity.
    QCOMPARE(got, (QStringList{"G1|B|6 个|3.00|18|0", "G2|null|5 个|1.00|5|1", "G2||2 个|1.00|2|1"}));
    const QStringList t = BatchStockTotalCells(r, QStringLiteral("#0.00"));
    QCOMPARE(t[5], QStringLiteral("13"));
    QCOMPARE(t[7], QStringLiteral("25.00"));
    for (const BatchStockRow& row : r.rows)
        QVERIFY2(!row.mismatch, qPrintable(row.code));

    BatchStockFilter byValue;
    byValue.attribute = QStringLiteral("B");
    const BatchStockReport b = ListBatchStock(set.db(), byValue);
    QCOMPARE(int(b.rows.size()), 1);
    // The goods' other values hold no stock, so the filtered row still agrees.
    QVERIFY(!b.rows[0].mismatch);
}

void TestStockStatistics::batchStockMismatch_data()
{
    QTest::addColumn<double>("opening");
    QTest::addColumn<QString>("attributeFilter");
    QTest::addColumn<bool>("tamper");
    QTest::addColumn<bool>("mismatch");
    QTest::newRow("posted lines only") << 0.0 << "" << false << false;
    QTest::newRow("opening quantity counts as posting counts it") << 7.0 << "" << false << false;
    QTest::newRow("other values outside the filter") << 0.0 << "A" << false << true;
    QTest::newRow("stock that posting did not write") << 0.0 << "" << true << true;
}

void TestStockStatistics::batchStockMismatch()
{
    QFETCH(double, opening);
    QFETCH(QString, attributeFilter);
    QFETCH(bool, tamper);
    QFETCH(bool, mismatch);

    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    GoodsSpec g{QStringLiteral("G1"), QStringLiteral("货")};
    g.openingQty = g.stock = opening;
    g.openingPrice = g.cost = 1;
    g.openingAmount = g.amount = opening;
    AddGoods(set.db(), g);
    PostMoves(set.app(), {"I G1 4 2 2024-05-10 @A", "I G1 6 3 2024-05-11 @B"});
    if (tamper)
        set.db().execute(QStringLiteral("UPDATE TA4 SET F8 = F8 + 1"));
    BatchStockFilter f;
    f.attribute = attributeFilter;
    const BatchStockReport r = ListBatchStock(set.db(), f);
    QVERIFY(!r.rows.empty());
    QCOMPARE(r.rows.back().mismatch, mismatch);
}

void TestStockStatistics::inboundRemarks()
{
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    PostMoves(set.app(), {"I G1 4 2 2024-05-10 @A", "I G1 6 3 2024-05-11 @A", "I G1 5 3 2024-05-12 @A",
                          "O G1 7 0 2024-05-13 @A", "I G2 1 1 2024-05-13 @A"});
    auto remark = [&](const char* doc, const QString& text) {
        set.db().execute(QStringLiteral("UPDATE TB11 SET F9 = ? WHERE F0 = ?"), {text, QString::fromLatin1(doc)});
    };
    remark("R0001", QStringLiteral("旧批"));
    remark("R0002", QStringLiteral("货'柜2"));
    remark("R0003", QStringLiteral("货柜3"));

    BatchStockFilter f;
    f.inboundRemarks = true;
    BatchStockReport r = ListBatchStock(set.db(), f);
    QCOMPARE(int(r.rows.size()), 2);
    // Stock 8 is covered by the two latest receipts (5, then 6), newest first.
    QCOMPARE(r.rows[0].remark, QStringLiteral(" 货柜3(5) 货'柜2(6)"));
    QCOMPARE(r.rows[1].remark, QString());

    f.remark = QStringLiteral("货'柜");
    r = ListBatchStock(set.db(), f);
    QCOMPARE(int(r.rows.size()), 1);
    f.remark = QStringLiteral("柜3");
    r = ListBatchStock(set.db(), f);
    QCOMPARE(int(r.rows.size()), 1);
    QCOMPARE(r.totalQty, 9.0);  // the totals are those before the remark filter
}

void TestStockStatistics::crossCheckByCode_data()
{
    QTest::addColumn<QStringList>("summary");
    QTest::addColumn<QStringList>("stock");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("index");

    QTest::newRow("same goods in another order") << QStringList{"A1 5", "B1 7"} << QStringList{"B1 7", "C1 0", "A1 5"}
                                                 << 0 << -1;
    QTest::newRow("a goods the stock list lacks") << QStringList{"A1 5", "X9 1"} << QStringList{"A1 5"} << 1 << 1;
    QTest::newRow("quantities differ") << QStringList{"A1 5", "B1 7"} << QStringList{"A1 5", "B1 6"} << 2 << 1;
    QTest::newRow("codes compared without case") << QStringList{"a1 5"} << QStringList{"A1 5"} << 0 << -1;
}

void TestStockStatistics::crossCheckByCode()
{
    QFETCH(QStringList, summary);
    QFETCH(QStringList, stock);
    QFETCH(int, result);
    QFETCH(int, index);
    auto parse = [](const QStringList& l) {
        std::vector<CodeQty> out;
        for (const QString& s : l)
            out.push_back({s.section(QLatin1Char(' '), 0, 0), s.section(QLatin1Char(' '), 1).toDouble()});
        return out;
    };
    const SummaryStockComparison c = CompareSummaryWithStock(parse(summary), parse(stock));
    QCOMPARE(int(c.result), result);
    QCOMPARE(c.summaryIndex, index);
}

VX_REGISTER_TEST(TestStockStatistics)
#include "tst_stockstatistics.moc"
