// Times the stock reports on a generated book of four years, each job beside
// the least work for the same output: plain statements reading the rows the
// job needs in the order they are stored or indexed, the figures computed in
// memory and the same cells and totals made, on the same file with the same
// cache policy, in the same run. The cells of both sides are compared.
//
//   bench_reports [lines [goods]]     default 100 000 lines, 2 000 goods;
//                                      1000000 and 10000000 for the large books
//
// Every job is timed twice: cold, the first run on a fresh connection (what a
// clerk waits for when opening the report), and warm, the best of three
// further runs on that connection.

#include "BookGenerator.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/sqlcipher.h"
#include "reports/StockMovement.h"
#include "reports/StockStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

namespace {

constexpr int WarmRuns = 3;
const QString Fmt = QStringLiteral("#0.00");
using Cells = std::vector<QString>;
using Job = std::function<Cells(Database&)>;

struct Timing {
    double cold = 0;
    double warm = 1e300;
    Cells cells;
};

// The first run on a fresh connection, then the best of the warm runs on it.
Timing timed(const QString& book, const Job& job)
{
    Timing t;
    Database db;
    db.open(book);
    QElapsedTimer w;
    w.start();
    t.cells = job(db);
    t.cold = Seconds(w);
    for (int i = 0; i < WarmRuns; ++i) {
        w.start();
        job(db);
        t.warm = std::min(t.warm, Seconds(w));
    }
    return t;
}

void line(const char* job, const Timing& program, const Timing& least)
{
    std::printf("%-40s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f   %s\n", job, program.cold, least.cold,
                program.cold / least.cold, program.warm, least.warm, program.warm / least.warm,
                program.cells == least.cells ? "same" : "DIFFERENT");
}

void append(Cells& cells, const QStringList& row)
{
    for (const QString& c : row)
        cells.push_back(c);
}

std::string folded(QByteArrayView v)
{
    std::string s(v.data(), size_t(v.size()));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// ------------------------------------------------------------- the summary

Cells programSummary(Database& db, const StockMovementFilter& f, bool allGoods)
{
    SummaryReport r;
    if (allGoods)
        GenerateAllGoodsSummary(db, f, Fmt, r);
    else
        GenerateMovedGoodsSummary(db, f, Fmt, r);
    Cells cells;
    cells.reserve((r.rows.size() + 1) * 18);
    for (const SummaryRow& row : r.rows)
        append(cells, SummaryCells(row, Fmt, Fmt));
    append(cells, SummaryTotalCells(r.totals, Fmt));
    return cells;
}

// Three statements: the goods in report order, the period's lines in key
// order summed per goods in memory, and for a goods without lines the last
// line before the period.
Cells leastSummary(Database& db, const StockMovementFilter& f, bool allGoods)
{
    SizeWalkCache(db);
    const int places = PatternDecimals(Fmt);
    struct Moves {
        std::optional<double> openQty;
        double openPrice = 0, openAmount = 0, in = 0, inAmount = 0, out = 0, outAmount = 0, close = 0, closeAmount = 0;
    };
    std::unordered_map<std::string, Moves> moved;
    Statement lines(db, QStringLiteral("SELECT F1, S6, S7, S8, R6, R8, C6, C8, K6, K8 FROM TB11"
                                       " WHERE SRT >= ? AND SRT < ? ORDER BY SRT, rowid"));
    lines.bindAll({PostingKeyPrefix(f.from), PostingKeyPrefix(f.to.addDays(1))});
    while (lines.step()) {
        auto [it, first] = moved.try_emplace(folded(lines.utf8(0)));
        Moves& m = it->second;
        if (first) {
            if (!lines.isNull(1))
                m.openQty = lines.real(1);
            m.openPrice = lines.real(2);
            m.openAmount = lines.real(3);
        }
        m.in += lines.real(4);
        m.inAmount += RoundToDecimals(lines.real(5), places);
        m.out += lines.real(6);
        m.outAmount += RoundToDecimals(lines.real(7), places);
        m.close = lines.real(8);
        m.closeAmount = RoundToDecimals(lines.real(9), places);
    }

    Statement before(db, QStringLiteral("SELECT K6, K7, K8 FROM TB11 WHERE F1 = ? AND SRT > '' AND SRT < ?"
                                        " ORDER BY SRT DESC, rowid DESC LIMIT 1"));
    Statement goods(db, QStringLiteral("SELECT g.F1, g.F2, g.F5, g.F4, g.F3, c.F2, g.V3, g.V4, g.V5"
                                       " FROM TA4 g LEFT JOIN TA3 c ON c.F1 = g.F3 WHERE g.F3 IS NOT NULL"
                                       " ORDER BY g.F3, g.F1"));
    Cells cells;
    SummaryTotals totals;
    while (goods.step()) {
        const auto m = moved.find(folded(goods.utf8(0)));
        if (m == moved.end() && !allGoods)
            continue;
        SummaryRow row;
        row.code = goods.text(0);
        row.name = goods.text(1);
        row.spec = goods.text(2);
        row.unit = goods.text(3);
        row.categoryCode = goods.text(4);
        row.categoryName = goods.text(5);
        if (m != moved.end()) {
            const Moves& v = m->second;
            row.openQty = v.openQty ? QVariant(*v.openQty) : QVariant();
            row.openPrice = v.openPrice;
            row.openAmount = v.openAmount;
            row.inQty = v.in;
            row.inAmount = v.inAmount;
            row.outQty = v.out;
            row.outAmount = v.outAmount;
            row.closeQty = v.close;
            row.closeAmount = v.closeAmount;
        } else {
            before.bindAll({row.code, PostingKeyPrefix(f.from)});
            Statement& from = before.step() ? before : goods;
            const int at = &from == &before ? 0 : 6;
            row.openQty = from.isNull(at) ? QVariant() : QVariant(from.real(at));
            row.openPrice = from.real(at + 1);
            row.openAmount = from.real(at + 2);
            row.closeQty = from.real(at);
            row.closeAmount = RoundToDecimals(from.real(at + 2), places);
            before.reset();
        }
        totals.openQty += row.openQty.isNull() ? 0.0 : row.openQty.toDouble();
        totals.openAmount += RoundToDecimals(row.openAmount, places);
        totals.inQty += row.inQty;
        totals.inAmount += row.inAmount;
        totals.outQty += row.outQty;
        totals.outAmount += row.outAmount;
        totals.closeQty += row.closeQty;
        totals.closeAmount += row.closeAmount;
        append(cells, SummaryCells(row, Fmt, Fmt));
    }
    append(cells, SummaryTotalCells(totals, Fmt));
    return cells;
}

// -------------------------------------------------------------- the detail

Cells programDetail(Database& db, const StockMovementFilter& f)
{
    DetailReport r;
    GenerateStockDetail(db, f, r);
    Cells cells;
    for (const DetailRow& row : r.rows)
        append(cells, DetailCells(row, Fmt, Fmt));
    append(cells, DetailTotalCells(r.rows, Fmt));
    return cells;
}

Cells leastDetail(Database& db, const StockMovementFilter& f)
{
    SizeWalkCache(db);
    Statement st(db, QStringLiteral("SELECT d.F1, d.F2, u.F2, d.OD, g.F3, l.F1, g.F2, g.F5, g.F4, l.R6, l.R7, l.R8,"
                                    " l.C6, l.C7, l.C8, l.K6, l.K7, l.K8, l.F9 FROM TB11 l"
                                    " JOIN TA4 g ON g.F1 = l.F1 JOIN TB1 d ON d.F1 = l.F0"
                                    " LEFT JOIN TA1 u ON u.F1 = d.F3 WHERE l.F1 = ? AND l.SRT > '' AND d.F6 <> ''"
                                    " AND g.F3 IS NOT NULL ORDER BY l.SRT, l.rowid"));
    st.bindAll({f.goods});
    Cells cells;
    std::vector<DetailRow> rows;
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
        append(cells, DetailCells(r, Fmt, Fmt));
        rows.push_back(std::move(r));
    }
    append(cells, DetailTotalCells(rows, Fmt));
    return cells;
}

// ---------------------------------------------------------- the stock list

Cells programStockList(Database& db)
{
    return StockListTable(ListStock(db, {}, PriceBasis::Cost), StockListView());
}

// The raw SQLite API: one statement, each column read once by its type, the
// cells made and the totals summed from the values shown.
Cells leastStockList(Database& db)
{
    SizeWalkCache(db);
    const int places = PatternDecimals(Fmt);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db.handle(),
                       "SELECT g.F1, g.F2, g.F5, c.F2, g.F4, g.V1, g.V2, g.F8, g.F7, g.Fje, g.F6, g.HW, g.Gys"
                       " FROM TA4 g LEFT JOIN TA3 c ON c.F1 = g.F3 ORDER BY g.F1",
                       -1, &st, nullptr);
    auto text = [st](int col) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                 sqlite3_column_bytes(st, col));
    };
    auto general = [st](int col) {
        return sqlite3_column_type(st, col) == SQLITE_NULL ? QString()
                                                           : GeneralNumberText(sqlite3_column_double(st, col));
    };
    Cells cells;
    double qtyTotal = 0, amountTotal = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const double qty = sqlite3_column_double(st, 7);
        const double amount = sqlite3_column_double(st, 9);
        cells.push_back(text(0));
        cells.push_back(text(1));
        cells.push_back(text(2));
        cells.push_back(text(3));
        cells.push_back(text(4));
        cells.push_back(general(5));
        cells.push_back(general(6));
        cells.push_back(NumText(qty));
        cells.push_back(FormatDecimals(sqlite3_column_double(st, 8), places));
        cells.push_back(qty != 0 ? FormatDecimals(amount, places) : QStringLiteral("0"));
        cells.push_back(text(10));
        cells.emplace_back();
        cells.emplace_back();
        cells.push_back(text(11));
        cells.push_back(text(12));
        qtyTotal += NumTextValue(qty);
        if (qty != 0)
            amountTotal += RoundToDecimals(amount, places);
    }
    sqlite3_finalize(st);
    Cells total(15);
    total[1] = QStringLiteral("合计：");
    total[7] = GeneralNumberText(qtyTotal);
    total[9] = FormatDecimals(amountTotal, places);
    cells.insert(cells.end(), total.begin(), total.end());
    return cells;
}

// --------------------------------------------- stock per attribute value

Cells programBatchStock(Database& db)
{
    const BatchStockReport r = ListBatchStock(db, {});
    Cells cells;
    for (const BatchStockRow& row : r.rows)
        append(cells, BatchStockCells(row, Fmt));
    append(cells, BatchStockTotalCells(r, Fmt));
    return cells;
}

Cells leastBatchStock(Database& db)
{
    SizeWalkCache(db);
    Statement st(db, QStringLiteral("SELECT l.F1, g.F2, g.F5, g.F3, l.HPSX, TOTAL(l.F6), TOTAL(l.R8) - TOTAL(l.C8),"
                                    " g.F6, g.F4 FROM TB11 l LEFT JOIN TA4 g ON g.F1 = l.F1 WHERE l.SRT <> ''"
                                    " GROUP BY l.F1, l.HPSX ORDER BY l.F1, l.HPSX"));
    BatchStockReport r;
    while (st.step()) {
        BatchStockRow row;
        row.qty = st.real(5);
        if (row.qty == 0)
            continue;
        row.code = st.text(0);
        row.name = st.text(1);
        row.spec = st.text(2);
        row.categoryCode = st.text(3);
        row.attribute = st.text(4);
        row.amount = st.real(6);
        row.remark = st.text(7);
        row.unit = st.text(8);
        r.totalQty += row.qty;
        r.totalAmount += row.amount;
        r.rows.push_back(std::move(row));
    }
    Cells cells;
    for (const BatchStockRow& row : r.rows)
        append(cells, BatchStockCells(row, Fmt));
    append(cells, BatchStockTotalCells(r, Fmt));
    return cells;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BookSpec defaults;
    defaults.lines = 100000;
    defaults.goods = 2000;
    BookSpec spec = BookSpecFromArguments(argc, argv, defaults);
    spec.firstDate = QDate(2020, 1, 1);
    spec.days = 365 * 4;
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.vxs"));

    try {
        QElapsedTimer t;
        t.start();
        const BookInfo info = GenerateBook(templatePath, book, spec, true);
        const qint64 bytes = QFile(book).size();
        std::printf("book: %d goods, %d posted lines in %d documents over 4 years (%.1f s, %.0f MB, "
                    "report cache %d MiB)\n",
                    spec.goods, info.lines, info.documents, Seconds(t), double(bytes) / 1e6,
                    WalkCacheKiBFor(bytes) / 1024);

        StockMovementFilter year;
        year.from = QDate(2022, 1, 1);
        year.to = QDate(2022, 12, 31);
        StockMovementFilter one;
        one.goods = BookGoodsCode(7);
        one.from = QDate(2000, 1, 1);
        one.to = QDate(2099, 12, 31);

        std::printf("%-40s %8s %8s %6s   %8s %8s %6s   %s\n", "job (seconds)", "cold", "least", "ratio", "warm",
                    "least", "ratio", "cells");
        struct Pair {
            const char* name;
            Job program;
            Job least;
        };
        const Pair jobs[] = {
            {"summary of a year, all goods", [&](Database& db) { return programSummary(db, year, true); },
             [&](Database& db) { return leastSummary(db, year, true); }},
            {"summary of a year, moved goods only", [&](Database& db) { return programSummary(db, year, false); },
             [&](Database& db) { return leastSummary(db, year, false); }},
            {"detail of one goods over every year", [&](Database& db) { return programDetail(db, one); },
             [&](Database& db) { return leastDetail(db, one); }},
            {"stock list, every goods", programStockList, leastStockList},
            {"stock per goods and attribute value", programBatchStock, leastBatchStock},
        };
        for (const Pair& job : jobs) {
            const Timing program = timed(book, job.program);
            const Timing least = timed(book, job.least);
            line(job.name, program, least);
        }
        std::printf("(cold: the first run on a fresh connection; warm: the best of %d more on it; "
                    "ratio = program / least work)\n", WarmRuns);
    } catch (const DbError& e) {
        std::fprintf(stderr, "database error: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
