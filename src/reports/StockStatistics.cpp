#include "reports/StockStatistics.h"

#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "core/StatementFilter.h"
#include "platform/Database.h"

#include <QHash>
#include <cmath>

namespace {

double num(const QVariant& v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

// A typed filter text: trimmed, and bound as it stands, so a text saved
// with an apostrophe or a quote is found by typing it.
QString cleaned(const QString& typed)
{
    return typed.trimmed();
}


QString compareOp(const QString& op)
{
    if (op == QLatin1String(">=") || op == QLatin1String("<=") || op == QLatin1String("="))
        return op;
    return QString();
}

}  // namespace

std::vector<StockListRow> ListStock(Database& db, const StockListFilter& f, PriceBasis basis)
{
    const QString price = basis == PriceBasis::Cost ? QStringLiteral("g.F7") : QStringLiteral("g.F71");
    QString sql = QStringLiteral(
                      "SELECT g.F1, g.F2, g.F5, c.F2, g.F4, g.V1, g.V2, g.F8, %1, g.Fje, g.F6,"
                      " g.BColor, g.FColor, g.RKF7, g.HW, g.Gys FROM TA4 g LEFT JOIN TA3 c ON c.F1 = g.F3 WHERE 1 = 1")
                      .arg(price);
    QVariantList params;
    switch (f.alarm) {
    case StockListFilter::Alarm::BelowMin:
        sql += QStringLiteral(" AND g.F8 < g.V1");
        break;
    case StockListFilter::Alarm::AboveMax:
        sql += QStringLiteral(" AND g.F8 > g.V2 AND g.V2 <> 0");
        break;
    case StockListFilter::Alarm::None:
        if (f.filterRun)
            sql += QStringLiteral(" AND g.F2 IS NOT NULL");
        StatementFilter(sql, params)
            .like(QStringLiteral("g.F3"), StatementFilter::codePart(f.category))
            .like(QStringLiteral("g.F1"), f.code)
            .like(QStringLiteral("g.F2"), f.name, StatementFilter::Anywhere)
            .like(QStringLiteral("g.F5"), f.spec)
            .like(QStringLiteral("g.F6"), f.remark)
            .like(QStringLiteral("g.HW"), f.location)
            .like(QStringLiteral("g.Gys"), StatementFilter::codePart(f.supplier));
        if (f.qty == StockListFilter::Qty::Compare && !compareOp(f.qtyOp).isEmpty()) {
            sql += QStringLiteral(" AND g.F8 %1 ?").arg(compareOp(f.qtyOp));
            params << f.qtyValue;
        } else if (f.qty == StockListFilter::Qty::BelowMin) {
            sql += QStringLiteral(" AND g.F8 < g.V1");
        } else if (f.qty == StockListFilter::Qty::AboveMax) {
            sql += QStringLiteral(" AND g.F8 > g.V2");
        }
        if (const QString op = compareOp(f.priceOp); !op.isEmpty()) {
            sql += QStringLiteral(" AND %1 %2 ?").arg(price, op);
            params << f.priceValue;
        }
        if (const QString op = compareOp(f.totalOp); !op.isEmpty()) {
            sql += QStringLiteral(" AND g.F8 * %1 %2 ?").arg(price, op);
            params << f.totalValue;
        }
        break;
    }
    sql += QStringLiteral(" ORDER BY g.F1");

    SizeWalkCache(db);
    std::vector<StockListRow> rows;
    Statement st(db, sql);
    st.bindAll(params);
    auto figure = [&st](int col) { return st.isNull(col) ? std::optional<double>() : st.real(col); };
    while (st.step()) {
        StockListRow r;
        r.code = st.text(0);
        r.name = st.text(1);
        r.spec = st.text(2);
        r.categoryName = st.text(3);
        r.unit = st.text(4);
        r.minStock = figure(5);
        r.maxStock = figure(6);
        r.qty = st.real(7);
        r.price = st.real(8);
        r.amount = st.real(9);
        r.remark = st.text(10);
        r.backColor = st.int64(11);
        r.textColor = st.int64(12);
        r.refPrice = figure(13);
        r.location = st.text(14);
        r.supplier = st.text(15);
        rows.push_back(std::move(r));
    }
    return rows;
}

namespace {

constexpr int StockListColumns = 15;

// Rounding of figures to the decimals of the list's patterns, read once.
struct StockListPlaces {
    explicit StockListPlaces(const StockListView& v)
        : price(PatternDecimals(v.priceFormat)), amount(PatternDecimals(v.amountFormat))
    {
    }
    int price;
    int amount;
};

// The value a cell of FormatDecimals(x, decimals) shows.
double shownFigure(double x, int decimals)
{
    return std::isfinite(x) ? RoundToDecimals(x, decimals) : 0.0;
}

// Writes the cells of a goods row into c[0..14]; adds the quantity and
// amount the row shows to the totals.
void writeStockListRow(QString* c, const StockListRow& r, const StockListView& v, const StockListPlaces& places,
                       double& qtyTotal, double& amountTotal)
{
    c[0] = r.code;
    c[1] = r.name;
    c[2] = r.spec;
    c[3] = r.categoryName;
    c[4] = r.unit;
    c[5] = r.minStock ? GeneralNumberText(*r.minStock) : QString();
    c[6] = r.maxStock ? GeneralNumberText(*r.maxStock) : QString();
    c[7] = NumText(r.qty);
    qtyTotal += NumTextValue(r.qty);
    c[10] = r.remark;
    if (v.inboundRefPrice) {
        // The accounting price falls back to the listed price when none was recorded.
        const double ref = r.refPrice.value_or(r.price);
        c[11] = FormatDecimals(ref, places.price);
        c[12] = FormatDecimals(r.qty * shownFigure(ref, places.price), places.amount);
    }
    if (v.canSeeCost || v.canSeeProfit) {
        c[8] = FormatDecimals(r.price, places.price);
        if (v.canSeeCost) {
            if (r.qty != 0) {
                c[9] = FormatDecimals(r.amount, places.amount);
                amountTotal += shownFigure(r.amount, places.amount);
            } else {
                c[9] = QStringLiteral("0");
            }
        } else {
            const double amount = r.qty * shownFigure(r.price, places.price);
            c[9] = FormatDecimals(amount, places.amount);
            amountTotal += shownFigure(amount, places.amount);
        }
    }
    c[13] = r.location;
    c[14] = r.supplier;
}

}  // namespace

QStringList StockListCells(const StockListRow& r, const StockListView& v)
{
    QString c[StockListColumns];
    double qty = 0, amount = 0;
    writeStockListRow(c, r, v, StockListPlaces(v), qty, amount);
    return QStringList(std::begin(c), std::end(c));
}

std::vector<QString> StockListTable(const std::vector<StockListRow>& rows, const StockListView& v)
{
    std::vector<QString> cells((rows.size() + 1) * StockListColumns);
    const StockListPlaces places(v);
    double qty = 0, amount = 0;
    for (size_t i = 0; i < rows.size(); ++i)
        writeStockListRow(&cells[i * StockListColumns], rows[i], v, places, qty, amount);
    QString* t = &cells[rows.size() * StockListColumns];
    t[1] = QStringLiteral("合计：");
    t[7] = GeneralNumberText(qty);
    t[9] = FormatDecimals(amount, places.amount);
    return cells;
}

bool AnyGoodsAboveMax(Database& db)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F8 > V2 AND V2 <> 0 LIMIT 1")).has_value();
}

bool AnyGoodsBelowMin(Database& db)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F8 < V1 LIMIT 1")).has_value();
}

BatchStockReport ListBatchStock(Database& db, const BatchStockFilter& f)
{
    QString sql = QStringLiteral(
        "SELECT l.F1, g.F2, g.F5, g.F3, l.HPSX, TOTAL(l.F6), TOTAL(l.R8) - TOTAL(l.C8), g.F6, g.F4,"
        " g.F8, g.V3 FROM TB11 l LEFT JOIN TA4 g ON g.F1 = l.F1 WHERE l.SRT <> ''");
    QVariantList params;
    StatementFilter filter(sql, params);
    filter.equals(QStringLiteral("g.F3"), StatementFilter::codePart(f.category))
        .like(QStringLiteral("l.F1"), f.code)
        .like(QStringLiteral("g.F2"), f.name, StatementFilter::Anywhere)
        .like(QStringLiteral("g.F5"), f.spec, StatementFilter::Anywhere);
    if (!f.inboundRemarks)
        filter.like(QStringLiteral("g.F6"), f.remark, StatementFilter::Anywhere);
    filter.like(QStringLiteral("l.HPSX"), f.attribute);
    sql += QStringLiteral(" GROUP BY l.F1, l.HPSX ORDER BY l.F1, l.HPSX");

    BatchStockReport report;
    auto& rows = report.rows;
    SizeWalkCache(db);
    Statement st(db, sql);
    st.bindAll(params);

    // A goods' stock must equal its opening quantity plus its posted lines,
    // as posting counts them; the rows of one goods are checked together.
    QString goods;
    double running = 0, expected = 0;
    int band = 1;
    auto checkGoods = [&] {
        if (!rows.empty() && std::fabs(expected - running) > 1e-6)
            rows.back().mismatch = true;
    };
    while (st.step()) {
        const double qty = st.column(5).toDouble();
        if (qty == 0)
            continue;
        BatchStockRow r;
        r.code = st.column(0).toString();
        r.name = st.column(1).toString();
        r.spec = st.column(2).toString();
        r.categoryCode = st.column(3).toString();
        r.attribute = st.column(4);
        r.qty = qty;
        r.amount = st.column(6).toDouble();
        r.remark = st.column(7).toString();
        r.unit = st.column(8);
        report.totalQty += qty;
        report.totalAmount += r.amount;
        if (rows.empty() || r.code != goods) {
            checkGoods();
            band = 1 - band;
            goods = r.code;
            running = num(st.column(10));
            expected = num(st.column(9));
        }
        running += qty;
        r.band = band;
        rows.push_back(std::move(r));
    }
    checkGoods();

    if (f.inboundRemarks) {
        // The remarks of the latest lines that brought in each row's stock, newest first.
        Statement in(db, QStringLiteral("SELECT F6, F9 FROM TB11 WHERE F6 > 0 AND F1 = ? AND HPSX = ? AND SRT <> ''"
                                        " ORDER BY SRT DESC LIMIT 10"));
        for (BatchStockRow& r : rows) {
            if (r.qty <= 0)
                continue;
            in.reset();
            in.bindAll({r.code, r.attribute.toString()});
            QString text;
            double covered = 0;
            while (covered < r.qty && in.step()) {
                const double q = in.column(0).toDouble();
                covered += q;
                const QString remark = in.column(1).toString();
                if (!remark.isEmpty())
                    text += QStringLiteral(" ") + remark + QStringLiteral("(") + GeneralNumberText(q) + QStringLiteral(")");
            }
            r.remark = text;
        }
        // The remark filter keeps the rows whose inbound remarks hold the text.
        const QString wanted = cleaned(f.remark);
        if (!wanted.isEmpty()) {
            std::vector<BatchStockRow> kept;
            for (BatchStockRow& r : rows)
                if (r.remark.contains(wanted))
                    kept.push_back(std::move(r));
            rows = std::move(kept);
        }
    }
    return report;
}

QStringList BatchStockCells(const BatchStockRow& r, const QString& priceFormat)
{
    QStringList c(9);
    c[0] = r.code;
    c[1] = r.name;
    c[2] = r.spec;
    c[3] = r.categoryCode;
    c[4] = r.attribute.toString();
    c[5] = GeneralNumberText(r.qty) + QStringLiteral(" ") + (r.unit.isNull() ? QStringLiteral("  ") : r.unit.toString());
    c[6] = r.qty != 0 ? FormatNumber(r.amount / r.qty, priceFormat) : QStringLiteral("0");
    c[7] = GeneralNumberText(r.amount);
    c[8] = r.remark;
    return c;
}

QStringList BatchStockTotalCells(const BatchStockReport& report, const QString& amountFormat)
{
    QStringList t(9);
    t[5] = NumText(report.totalQty);
    t[7] = FormatNumber(report.totalAmount, amountFormat);
    return t;
}

SummaryStockComparison CompareSummaryWithStock(const std::vector<CodeQty>& summary, const std::vector<CodeQty>& stock)
{
    QHash<QString, double> byCode;
    for (const CodeQty& s : stock)
        byCode.insert(s.code.toUpper(), s.qty);
    SummaryStockComparison out;
    for (size_t i = 0; i < summary.size(); ++i) {
        const auto it = byCode.constFind(summary[i].code.toUpper());
        if (it == byCode.constEnd()) {
            out.result = SummaryStockComparison::Result::CodeMissing;
            out.summaryIndex = int(i);
            out.summaryQty = summary[i].qty;
            return out;
        }
        if (std::fabs(*it - summary[i].qty) > 1e-6) {
            out.result = SummaryStockComparison::Result::QtyDiffers;
            out.summaryIndex = int(i);
            out.summaryQty = summary[i].qty;
            out.stockQty = *it;
            return out;
        }
    }
    return out;
}
