#pragma once
// Posting: how audited document lines become running stock, moving-average
// cost and running account balances.
//
// Order. Every running figure follows the posting keys: a document's key is
// "S" + its date (yyyyMMdd) + a four-digit serial of that date, a line's key
// is the document key + its line number (Oid) in three digits. Lines are
// walked in key order, rows with equal keys by rowid. A line or header with an
// empty key is not posted and is left out of every walk and stock sum.
//
// What must always hold after a posting, an unposting or a full walk:
//  - per goods, over its posted lines: S6/S7/S8 of a line are K6/K7/K8 of the
//    line before it (the first line starts from TA4.V3/V4/V5), K6 = S6 + R6 - C6
//    on eight decimals, and TA4.F8/F7/Fje equal K6/K7/K8 of the last line;
//  - per goods and attribute value (HPSX): XS6 is the sum of F6 of the lines
//    before, restarted at each stocktaking line at its counted quantity, and
//    XK6 the same after the line;
//  - per business unit, over its posted TB1 rows: the first QC is TA1.NK,
//    QM = QC + YF - FK, and each QC is the QM of the row before.
//
// A poster walks each goods and attribute value first (RepostBatch may change
// the in and out quantities of stocktaking lines) and each goods after
// (RecostGoods values those quantities). Posting a document walks every goods
// once from its first line in the document, restarting the running figures at
// each further line of that goods exactly as a walk per line would, so the
// figures equal those of posting line by line. A walk of a goods' whole
// history (the data refresh) does both in one pass over its lines in key
// order, each line's attribute step before its cost step: a line's attribute
// figures depend only on the lines before it of the same value, so this gives
// the figures of the two walks run one after the other, writing each line once.
//
// Whole or nothing: PostDocument and UnpostDocument take the write lock
// before the serial search and hold it to their last write, so a failure
// leaves the books as they were and two workstations never share a serial.
// Inside a caller's transaction they join it, and a failure leaves the
// caller to roll back.
// The walks join the caller's transaction, or open their own when there is
// none; a walk that fails leaves the caller to roll back. Codes and attribute
// values reach every query as bound parameters.

#include "core/Kinds.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

struct App;
class Database;

// What the walks need of the settings: the two number patterns and whether a
// goods attribute is tracked (HpsxName not empty).
struct PostingRules {
    QString priceFormat = QStringLiteral("#0.00");
    QString amountFormat = QStringLiteral("#0.00");
    bool attributeOn = false;
    static PostingRules of(const App& app);
};

// Page cache of a connection that walks lines (audit, refresh, year-end, unit
// chains) or reads many (every report, statistics, ledger and stocktaking
// run calls SizeWalkCache before its first read): the whole file and a
// quarter more for the pages a walk dirties, within the memory budget. A
// cache smaller than the pages a full walk touches spills dirty pages and
// reads and writes each page several times (on a 300 MB book a fixed 128 MiB
// made the refresh twice as slow); the 2 MB default makes a full walk 2.5 to
// 4 times slower (bench_posting), and on an encrypted file turns a report
// that reads lines in goods order into page decryption (a year's summary
// 2.7 times the least work on its first run).
constexpr int WalkCacheMinimumKiB = 16 * 1024;
constexpr int WalkCacheBudgetKiB = 512 * 1024;
// The cache for a file of `fileBytes`, between the minimum and the budget.
int WalkCacheKiBFor(qint64 fileBytes);
// Sizes the connection's page cache for a walk or a long read over its file.
void SizeWalkCache(Database& db);

// "S" + year, month and day of the date: the first nine characters of every key of that date.
QString PostingKeyPrefix(const QDate& date);
// The key the next document of that date gets: one above the date's highest posting key of
// a header or a line, serial "0001" when there is none. Stays free only inside the poster's transaction.
// Throws DbError past serial 9999.
QString NextPostingKey(const Database& db, const QDate& date);
// The line key of line `lineNo` of a document posted under `postingKey`.
QString LineKey(const QString& postingKey, int lineNo);

// A goods' running quantity, price and amount, and the out price carried on.
struct RunningFigures {
    double qty = 0;
    double price = 0;
    double amount = 0;
    double outPrice = 0;
};
// The figures a walk from `key` starts with: K6/K7/K8 of the goods' last posted line below
// the key (out price its C7 when its C6 is not 0), else the opening V3/V4/V5, else zeros.
RunningFigures RunningFiguresBefore(const Database& db, const QString& goods, const QString& key);

// Re-costs one goods over its posted lines from `fromSRT` on ("" = all) and stores the final
// figures in TA4.F7/F8/Fje. qty, price and amount enter as the figures before the walk and
// leave as the final ones; outPrice is rounded to the price pattern. Answers "qty&amount".
QString RecostGoods(Database& db, const PostingRules& rules, const QString& goods, double& qty,
                    double& price, double& amount, const QString& fromSRT, double& outPrice);

// Re-posts the running stock (XS6/XK6) of one goods and attribute value from `fromSRT` on
// ("" = all), bringing the in and out quantities in line with F6 and rebasing stocktaking
// lines on the stock at their place. Throws DbError on a line without quantity.
void RepostBatch(Database& db, const QString& goods, const QString& batch, const QString& fromSRT);

// The whole posted history of goods, one goods at a time: its lines are read
// once in key order; the running stock of each attribute value (when an
// attribute is tracked, as RepostBatch from "") and the running cost (as
// RecostGoods from "" with the opening figures) are computed together in
// memory, and each changed line is written once. The figures equal those of
// RepostBatch for every attribute value followed by RecostGoods. Statements
// are prepared once for all the goods walked. Joins the caller's transaction.
// (WalkWholeGoods in core/WholeGoodsWalk.h walks many goods at once.)
class WholeGoodsWalker {
public:
    WholeGoodsWalker(Database& db, const PostingRules& rules);
    ~WholeGoodsWalker();
    // Walks one goods; with `opening` (its figures before the first line) also
    // its cost, storing the final figures in TA4. Throws DbError on a line
    // without quantity.
    void walk(const QString& goods, const RunningFigures* opening);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// RepostUnitBalance for many units with one preparation of its statements.
class UnitBalanceWalker {
public:
    explicit UnitBalanceWalker(Database& db);
    ~UnitBalanceWalker();
    void walk(const QString& fromSRT, const QString& unitCode);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Re-chains the unit's account balance (QC/QM) over its posted rows from `fromSRT` on, from
// the QM of its last audited row below the key, or from TA1.NK. Throws DbError on a row
// without YF or FK.
void RepostUnitBalance(Database& db, const QString& fromSRT, const QString& unitCode);

// What a line would overdraw: its goods, the document's date and the stock of that day.
struct StockShortage {
    QString goods;
    QDate date;
    double stock = 0;
};

// None when `qty` of the goods (and attribute value) may be issued on `docDate`: always when
// NoOverIssue is off or qty is 0; else the stock of posted lines dated up to that day must
// cover it, or the shortage is answered. Shows nothing. Clears `batch` when no attribute is
// tracked.
std::optional<StockShortage> CheckStockOnDate(const App& app, const QString& goods, double qty, const QDate& docDate,
                                              QString& batch);
// The message the window shows for a shortage.
QString StockShortageText(const App& app, const StockShortage& shortage);

// Sets the stored total TB1.F9 of a document valued at cost (a department issue or return)
// to the total of its line amounts as its line grid shows them, each in the amount pattern.
// The walks call it for every such document whose line amounts they changed.
void RetotalCostedDocument(Database& db, const QString& amountFormat, const QString& number);

// Material cost of a product: its parts' usage times their moving-average cost; 0 without parts.
double BomCostSum(const Database& db, const QString& goods);

// The out price the walks of a document's goods start with, and restart with at each
// further line of a goods: the cost price C7 of the goods' last out line before the line
// (outbound documents and returns to stock), or 0, so the first out line the walk meets is
// taken out at the running price (receipts, returns to suppliers and stocktaking).
enum class OutPriceRule { LastOutLine, Zero };
// The rule of a document kind; every caller of PostDocument and UnpostDocument passes its
// kind's rule, since no one rule is right for every kind.
OutPriceRule OutPriceRuleOf(DocKind kind);

// What a posted document adds to and takes off its unit's balance.
struct BalanceMove {
    double yf = 0;
    double fk = 0;
};

// Posts an unaudited stock document: key, auditor and time stamp on the header, auditor and
// line key on every line, the unit's balance chain, and the walks of every goods (and goods
// and attribute value) of its lines, started with the out price of `outPrice`. One
// transaction. Answers the posting key. Throws DbError when the document is missing or
// already audited, or when a walk fails.
QString PostDocument(Database& db, const PostingRules& rules, const QString& docNo, const QString& auditor,
                     const BalanceMove& move, OutPriceRule outPrice);

// Takes an audited stock document back: clears its keys and auditor, re-chains its unit
// without it and re-walks its goods from where its lines stood, started with the out price
// of `outPrice`. One transaction. Throws DbError when the document is missing or not audited.
// With `keepLineAuditor` the lines keep their auditor mark SH (their empty key alone says
// they are no longer posted).
void UnpostDocument(Database& db, const PostingRules& rules, const QString& docNo, OutPriceRule outPrice,
                    bool keepLineAuditor = false);
