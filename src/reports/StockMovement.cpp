#include "reports/StockMovement.h"

#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "core/StatementFilter.h"
#include "platform/Database.h"

#include <cmath>
#include <string>
#include <unordered_map>

namespace {

// The category and goods filter: a chosen category code, or every goods that
// has a category; the goods code or pattern.
void addGoodsFilter(QString& sql, QVariantList& params, const QString& categoryColumn, const QString& goodsColumn,
                    const StockMovementFilter& f)
{
    StatementFilter filter(sql, params);
    if (f.category.isEmpty())
        filter.present(categoryColumn);
    else
        filter.equals(categoryColumn, f.category);
    filter.code(goodsColumn, f.goods);
}

// First key of a date and first key after a date: the period's key range.
QString keyFrom(const QDate& d)
{
    return PostingKeyPrefix(d);
}
QString keyAfter(const QDate& d)
{
    return PostingKeyPrefix(d.addDays(1));
}

double num(const QVariant& v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

// A line amount rounded to the report's amount pattern (decimals read once).
class AmountRounder {
public:
    explicit AmountRounder(const QString& pattern) : m_decimals(PatternDecimals(pattern)) {}
    double operator()(double v) const { return RoundToDecimals(v, m_decimals); }

private:
    int m_decimals;
};

class Poller {
public:
    explicit Poller(const KeepGoing& keepGoing) : m_keepGoing(keepGoing) {}
    // Counts one source line; asks every ReportPollEvery lines.
    bool line(int rowsSoFar)
    {
        if (!m_keepGoing || ++m_lines % ReportPollEvery != 0)
            return true;
        return m_keepGoing(rowsSoFar);
    }
    bool now(int rowsSoFar) { return !m_keepGoing || m_keepGoing(rowsSoFar); }

private:
    const KeepGoing& m_keepGoing;
    int m_lines = 0;
};

// What a goods' lines of the period add up to, read in key order.
struct PeriodMoves {
    int lines = 0;
    QVariant openQty;  // S6 of the first line, null when empty
    double openPrice = 0, openAmount = 0;
    double inQty = 0, inAmount = 0, outQty = 0, outAmount = 0;
    double closeQty = 0, closeAmount = 0;
};

// A code as the queries compare codes: ASCII letters without regard to case.
std::string codeKey(QByteArrayView code)
{
    std::string key(code.data(), size_t(code.size()));
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return key;
}

// The period's lines in key order, summed per goods. They are read in the
// order they are stored (the key follows the date), which touches each page
// of the period once; reading them goods by goods through the (F1, SRT)
// index instead seeks every line's page anew.
std::unordered_map<std::string, PeriodMoves> periodMoves(Database& db, const StockMovementFilter& f,
                                                         const AmountRounder& round)
{
    std::unordered_map<std::string, PeriodMoves> moves;
    QString sql = QStringLiteral("SELECT F1, S6, S7, S8, R6, R8, C6, C8, K6, K8 FROM TB11 WHERE SRT >= ? AND SRT < ?");
    QVariantList params{keyFrom(f.from), keyAfter(f.to)};
    StatementFilter(sql, params).code(QStringLiteral("F1"), f.goods);
    sql += QStringLiteral(" ORDER BY SRT, rowid");
    Statement st(db, sql);
    st.bindAll(params);
    while (st.step()) {
        PeriodMoves& m = moves[codeKey(st.utf8(0))];
        if (m.lines++ == 0) {
            m.openQty = st.isNull(1) ? QVariant() : QVariant(st.real(1));
            m.openPrice = st.real(2);
            m.openAmount = st.real(3);
        }
        m.inQty += st.real(4);
        m.inAmount += round(st.real(5));
        m.outQty += st.real(6);
        m.outAmount += round(st.real(7));
        m.closeQty = st.real(8);
        m.closeAmount = round(st.real(9));
    }
    return moves;
}

// Positions of the goods statement's columns.
enum SummaryCol { gCode, gName, gSpec, gUnit, gCat, gCatName, gV3, gV4, gV5 };

// The goods of the report in report order: by category code, then goods code.
QString goodsSql(const StockMovementFilter& f, QVariantList& params)
{
    QString sql = QStringLiteral(
        "SELECT g.F1, g.F2, g.F5, g.F4, g.F3, (SELECT c.F2 FROM TA3 c WHERE c.F1 = g.F3 LIMIT 1), g.V3, g.V4, g.V5"
        " FROM TA4 g WHERE 1 = 1");
    addGoodsFilter(sql, params, QStringLiteral("g.F3"), QStringLiteral("g.F1"), f);
    sql += QStringLiteral(" ORDER BY g.F3, g.F1, g.rowid");
    return sql;
}

void openRow(SummaryRow& row, const Statement& st, const QVariant& qty, double price, double amount)
{
    row.code = st.text(gCode);
    row.name = st.text(gName);
    row.spec = st.text(gSpec);
    row.unit = st.text(gUnit);
    row.categoryCode = st.text(gCat);
    row.categoryName = st.text(gCatName);
    row.openQty = qty;
    row.openPrice = price;
    row.openAmount = amount;
    row.closed = false;
}

QVariant figure(const Statement& st, int col)
{
    return st.isNull(col) ? QVariant() : QVariant(st.real(col));
}

void addOpening(SummaryTotals& t, const SummaryRow& row, const AmountRounder& round)
{
    t.openQty += num(row.openQty);
    t.openAmount += round(row.openAmount);
}

void addClosed(SummaryTotals& t, const SummaryRow& row)
{
    t.inQty += row.inQty;
    t.inAmount += row.inAmount;
    t.outQty += row.outQty;
    t.outAmount += row.outAmount;
    t.closeQty += row.closeQty;
    t.closeAmount += row.closeAmount;
}

void generateSummary(Database& db, bool allGoods, const StockMovementFilter& f, const QString& amountFormat,
                     SummaryReport& report, const KeepGoing& keepGoing)
{
    report = SummaryReport();
    Poller poll(keepGoing);
    const AmountRounder round(amountFormat);
    if (f.from.isValid() && f.to.isValid() && f.from > f.to && !allGoods)
        return;

    SizeWalkCache(db);
    // The lines are summed first, like a snapshot opened before the goods
    // are walked; the goods then come in report order, polled as if each
    // line were read in turn.
    const std::unordered_map<std::string, PeriodMoves> moves = periodMoves(db, f, round);
    QVariantList params;
    Statement st(db, goodsSql(f, params));
    st.bindAll(params);
    // The stock after a goods' last line before the period, for goods without lines in it.
    Statement before(db, QStringLiteral("SELECT K6, K7, K8 FROM TB11 WHERE F1 = ? AND SRT > '' AND SRT < ?"
                                        " ORDER BY SRT DESC, rowid DESC LIMIT 1"));
    const QString periodStart = keyFrom(f.from);

    auto& rows = report.rows;
    bool first = true;
    while (st.step()) {
        const auto moved = moves.find(codeKey(st.utf8(gCode)));
        if (moved == moves.end() && !allGoods)
            continue;
        if (!first && allGoods && !poll.now(int(rows.size()))) {
            report.cancelled = true;
            break;
        }
        first = false;
        rows.emplace_back();
        SummaryRow& row = rows.back();
        if (moved == moves.end()) {
            before.reset();
            before.bindAll({st.text(gCode), periodStart});
            if (before.step()) {
                openRow(row, st, figure(before, 0), before.real(1), before.real(2));
                row.closeQty = before.real(0);
                row.closeAmount = round(before.real(2));
            } else {
                openRow(row, st, figure(st, gV3), st.real(gV4), st.real(gV5));
                row.closeQty = st.real(gV3);
                row.closeAmount = round(st.real(gV5));
            }
            addOpening(report.totals, row, round);
            if (row.code.isEmpty()) {
                // A goods with an empty code keeps its opening cells only.
                row.closeQty = row.closeAmount = 0;
            } else {
                addClosed(report.totals, row);
            }
            row.closed = true;
            continue;
        }
        const PeriodMoves& m = moved->second;
        openRow(row, st, m.openQty, m.openPrice, m.openAmount);
        addOpening(report.totals, row, round);
        if (!allGoods)
            for (int i = 0; i < m.lines; ++i)
                if (!poll.line(int(rows.size()) - 1)) {
                    report.cancelled = true;
                    return;  // the goods in hand keeps its opening cells only
                }
        row.inQty = m.inQty;
        row.inAmount = m.inAmount;
        row.outQty = m.outQty;
        row.outAmount = m.outAmount;
        row.closeQty = m.closeQty;
        row.closeAmount = m.closeAmount;
        row.closed = true;
        addClosed(report.totals, row);
    }
}

QString fmt(double v, const QString& pattern)
{
    return FormatNumber(v, pattern);
}

}  // namespace

QString GoodsPatternOf(const QString& typed, const QString& goodsTerm)
{
    const QString t = typed.trimmed();
    if (t.isEmpty() || t == QStringLiteral("所有") + goodsTerm)
        return QString();
    return t;
}

void GenerateMovedGoodsSummary(Database& db, const StockMovementFilter& filter, const QString& amountFormat,
                               SummaryReport& report, const KeepGoing& keepGoing)
{
    generateSummary(db, false, filter, amountFormat, report, keepGoing);
}

void GenerateAllGoodsSummary(Database& db, const StockMovementFilter& filter, const QString& amountFormat,
                             SummaryReport& report, const KeepGoing& keepGoing)
{
    generateSummary(db, true, filter, amountFormat, report, keepGoing);
}

QStringList SummaryCells(const SummaryRow& row, const QString& priceFormat, const QString& amountFormat)
{
    QStringList c(18);
    c[0] = row.code;
    c[1] = row.name;
    c[2] = row.spec;
    c[3] = row.unit;
    c[4] = row.categoryCode;
    c[5] = row.categoryName;
    c[6] = row.openQty.isNull() ? QString() : NumText(row.openQty.toDouble());
    c[7] = fmt(row.openPrice, priceFormat);
    c[8] = fmt(row.openAmount, amountFormat);
    if (!row.closed || row.code.isEmpty())
        return c;
    c[9] = NumText(row.inQty);
    c[11] = fmt(row.inAmount, amountFormat);
    c[12] = NumText(row.outQty);
    c[14] = fmt(row.outAmount, amountFormat);
    c[15] = NumText(row.closeQty);
    c[17] = fmt(row.closeAmount, amountFormat);
    return c;
}

QStringList SummaryTotalCells(const SummaryTotals& t, const QString& amountFormat)
{
    QStringList c(18);
    c[6] = NumText(t.openQty);
    c[8] = fmt(t.openAmount, amountFormat);
    c[9] = NumText(t.inQty);
    c[11] = fmt(t.inAmount, amountFormat);
    c[12] = NumText(t.outQty);
    c[14] = fmt(t.outAmount, amountFormat);
    c[15] = NumText(t.closeQty);
    c[17] = fmt(t.closeAmount, amountFormat);
    return c;
}

void GenerateStockDetail(Database& db, const StockMovementFilter& f, DetailReport& report, const KeepGoing& keepGoing)
{
    report = DetailReport();
    if (f.from.isValid() && f.to.isValid() && f.from > f.to)
        return;
    SizeWalkCache(db);
    QVariantList params{keyFrom(f.from), keyAfter(f.to)};
    QString sql = QStringLiteral(
        "SELECT d.F1, d.F2, u.F2, d.OD, g.F3, l.F1, g.F2, g.F5, g.F4,"
        " l.R6, l.R7, l.R8, l.C6, l.C7, l.C8, l.K6, l.K7, l.K8, l.F9, l.S6"
        " FROM TB11 l JOIN TA4 g ON g.F1 = l.F1 JOIN TB1 d ON d.F1 = l.F0 LEFT JOIN TA1 u ON u.F1 = d.F3"
        " WHERE l.SRT >= ? AND l.SRT < ? AND d.F6 <> ''");
    addGoodsFilter(sql, params, QStringLiteral("g.F3"), QStringLiteral("l.F1"), f);
    StatementFilter(sql, params).like(QStringLiteral("d.OD"), f.orderNo);
    sql += QStringLiteral(" ORDER BY l.SRT, l.rowid");

    Statement st(db, sql);
    st.bindAll(params);
    Poller poll(keepGoing);
    while (st.step()) {
        DetailRow r;
        r.docNo = st.text(0);
        r.date = st.text(1);
        r.unitName = st.text(2);
        r.orderNo = st.text(3);
        r.categoryCode = st.text(4);
        r.goods = st.text(5);
        r.name = st.text(6);
        r.spec = st.text(7);
        r.unit = st.text(8);
        r.inQty = st.real(9);
        r.inPrice = st.real(10);
        r.inAmount = st.real(11);
        r.outQty = st.real(12);
        r.outPrice = st.real(13);
        r.outAmount = st.real(14);
        r.stockQty = st.real(15);
        r.stockPrice = st.real(16);
        r.stockAmount = st.real(17);
        r.remark = st.text(18);
        r.stockQtyBefore = figure(st, 19);
        report.rows.push_back(std::move(r));
        if (!poll.line(int(report.rows.size()))) {
            report.cancelled = true;
            return;
        }
    }
}

QStringList DetailCells(const DetailRow& r, const QString& priceFormat, const QString& amountFormat)
{
    QStringList c(19);
    c[0] = r.docNo;
    c[1] = r.date;
    c[2] = r.unitName;
    c[3] = r.orderNo;
    c[4] = r.categoryCode;
    c[5] = r.goods;
    c[6] = r.name;
    c[7] = r.spec;
    c[8] = r.unit;
    // In and out sides: an empty quantity stands for 0; price and amount show
    // only where the side moved (an amount alone is a value adjustment).
    auto side = [&](int col, double qty, double price, double amount) {
        const QString q = NumText(qty);
        c[col] = q == QLatin1String("0") ? QString() : q;
        const bool noQty = NumTextValue(qty) == 0;
        c[col + 1] = noQty ? QString() : fmt(price, priceFormat);
        c[col + 2] = (noQty && amount == 0) ? QString() : fmt(amount, amountFormat);
    };
    side(9, r.inQty, r.inPrice, r.inAmount);
    side(12, r.outQty, r.outPrice, r.outAmount);
    c[15] = NumText(r.stockQty);
    c[16] = fmt(r.stockPrice, priceFormat);
    c[17] = fmt(r.stockAmount, amountFormat);
    c[18] = r.remark;
    return c;
}

QStringList DetailTotalCells(const std::vector<DetailRow>& rows, const QString& amountFormat)
{
    const AmountRounder round(amountFormat);
    double inQty = 0, inAmount = 0, outQty = 0, outAmount = 0;
    // The values the side cells of DetailCells show: an amount shows where
    // the quantity does, or where it is not 0.
    auto add = [&](double& qtySum, double& amountSum, double qty, double amount) {
        const double shownQty = NumTextValue(qty);
        qtySum += shownQty;
        if (shownQty != 0 || amount != 0)
            amountSum += std::isfinite(amount) ? round(amount) : 0.0;
    };
    for (const DetailRow& r : rows) {
        add(inQty, inAmount, r.inQty, r.inAmount);
        add(outQty, outAmount, r.outQty, r.outAmount);
    }
    QStringList t(19);
    t[9] = NumText(inQty);
    t[11] = fmt(inAmount, amountFormat);
    t[12] = NumText(outQty);
    t[14] = fmt(outAmount, amountFormat);
    return t;
}

int CheckDetailRunningStock(const std::vector<DetailRow>& rows)
{
    if (rows.empty())
        return -1;
    // Quantities are stored on eight decimals; sums of many lines may drift below that.
    constexpr double tolerance = 1e-6;
    double s = num(rows.front().stockQtyBefore);
    for (size_t i = 0; i < rows.size(); ++i) {
        s += rows[i].inQty - rows[i].outQty;
        if (std::fabs(rows[i].stockQty - s) > tolerance)
            return int(i);
    }
    return -1;
}

ReportPeriod ReportStartDate(int startDay, const QDate& today)
{
    const int n = qMax(1, startDay);
    const QDate firstOfMonth(today.year(), today.month(), 1);
    QDate from;
    if (n >= 28)
        from = firstOfMonth.addDays(-1);
    else if (today.day() > n)
        from = QDate(today.year(), today.month(), n);
    else {
        const QDate prev = firstOfMonth.addMonths(-1);
        from = QDate(prev.year(), prev.month(), n);
    }
    return {from, today};
}
