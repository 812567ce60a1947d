#pragma once
// The in/out/stock reports: what came into and went out of stock over a
// period, per goods (the summary) and line by line (the detail).
//
// Both read only what posting wrote: audited documents (TB1.F6 set) and the
// running columns of their lines in posting-key order (S6-S8 the stock before
// a line, R6/R8 the in side, C6/C8 the out side, K6-K8 the stock after it),
// plus the goods' opening balance V3-V5. Nothing is written.
//
// Figures. A goods' opening is the stock before its first line of the period,
// its in and out figures the sums over its lines, each line amount rounded to
// the amount pattern before it is added, and its closing the stock after its
// last line. A goods without lines in the period (all-goods mode only) opens
// and closes at the stock after its last audited line dated before the
// period, or at its opening balance when there is none.
//
// Period. A line's posting key begins with "S" and its document's date, and
// posting stamps keys only on lines of audited documents, whole or not at
// all. So the lines of audited documents dated in a period are exactly the
// lines whose key lies in that period's key range, which the indexes on
// TB11(SRT) and TB11(F1, SRT) read directly: each report is one or two set
// queries over key ranges, nothing is read per line, and no function wraps a
// column in a condition. Each run first sizes the connection's page cache to
// the book (SizeWalkCache): the summary reads a year's lines in goods order,
// which on the default cache decrypts most pages many times over.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class Database;

// Inputs of a run. Patterns are typed texts: "*" any text, "?" one character;
// "" means every goods / every category.
struct StockMovementFilter {
    QString category;  // category code, "" = every category (goods without one are never listed)
    QString goods;     // goods code or pattern
    QString orderNo;   // detail only: the documents' extra header item (TB1.OD), "" = any
    QDate from;        // inclusive
    QDate to;          // inclusive
};

// "" when the typed goods box means every goods: empty, or "所有" + the goods word.
QString GoodsPatternOf(const QString& typed, const QString& goodsTerm);

// A run is asked now and then whether to go on; `rowsSoFar` rows are final.
// Answering false cancels the run.
using KeepGoing = std::function<bool(int rowsSoFar)>;
// How many source lines a run reads between two questions (all-goods mode
// also asks after each goods).
constexpr int ReportPollEvery = 64;

// One goods of the summary.
struct SummaryRow {
    QString code, name, spec, unit, categoryCode, categoryName;
    QVariant openQty;  // null when the first line's stock before it was empty
    double openPrice = 0;
    double openAmount = 0;
    double inQty = 0, inAmount = 0;
    double outQty = 0, outAmount = 0;
    double closeQty = 0, closeAmount = 0;
    bool closed = true;  // false: cancelled while the goods was in hand (opening cells only)
};

struct SummaryTotals {
    double openQty = 0, openAmount = 0;
    double inQty = 0, inAmount = 0, outQty = 0, outAmount = 0, closeQty = 0, closeAmount = 0;
};

struct SummaryReport {
    std::vector<SummaryRow> rows;
    SummaryTotals totals;
    bool cancelled = false;
};

// Only goods with audited lines in the period, by category code, then goods code.
void GenerateMovedGoodsSummary(Database& db, const StockMovementFilter& filter, const QString& amountFormat,
                               SummaryReport& report, const KeepGoing& keepGoing = {});
// Every goods that passes the patterns, also when nothing moved, by category code, then goods code.
void GenerateAllGoodsSummary(Database& db, const StockMovementFilter& filter, const QString& amountFormat,
                             SummaryReport& report, const KeepGoing& keepGoing = {});

// The 18 cells of a summary row as the report shows them (columns 0-17), and of the totals row.
QStringList SummaryCells(const SummaryRow& row, const QString& priceFormat, const QString& amountFormat);
QStringList SummaryTotalCells(const SummaryTotals& totals, const QString& amountFormat);

// One posted line of the detail report.
struct DetailRow {
    QString docNo, date, unitName, orderNo, categoryCode, goods, name, spec, unit;
    double inQty = 0, inPrice = 0, inAmount = 0;
    double outQty = 0, outPrice = 0, outAmount = 0;
    double stockQty = 0, stockPrice = 0, stockAmount = 0;  // after the line
    QVariant stockQtyBefore;                                  // S6: the stock before the line
    QString remark;
};

struct DetailReport {
    std::vector<DetailRow> rows;
    bool cancelled = false;
};

// Every audited line of the period in posting-key order.
void GenerateStockDetail(Database& db, const StockMovementFilter& filter, DetailReport& report,
                         const KeepGoing& keepGoing = {});

// The 19 cells of a detail line as the report shows them (columns 0-18).
QStringList DetailCells(const DetailRow& row, const QString& priceFormat, const QString& amountFormat);
// The totals row: in and out quantity and amount, summed from the values the
// lines' cells show.
QStringList DetailTotalCells(const std::vector<DetailRow>& rows, const QString& amountFormat);

// The running-stock check of a one-goods detail: from the stock before the
// first listed line, each line's stock after it must equal the running sum of
// in minus out within a small tolerance. Answers the index of the first line
// that does not, or -1.
int CheckDetailRunningStock(const std::vector<DetailRow>& rows);

// The default period of a report: the report start day `startDay` (1-27, or
// 28 for month end) and today.
struct ReportPeriod {
    QDate from;
    QDate to;
};
ReportPeriod ReportStartDate(int startDay, const QDate& today);
