#pragma once
// Generated books for the benchmarks: an account set copied from the
// template and filled with years of posted documents, so that walks, reports
// and refreshes can be timed on the sizes a long-running warehouse reaches.

#include "core/Posting.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <optional>
#include <vector>

class QElapsedTimer;

class App;
class Database;

struct BookSpec {
    int goods = 2000;
    int attributeValues = 20;
    int lines = 200000;
    int linesPerDocument = 20;
    QDate firstDate = QDate(2023, 1, 1);
    int days = 365;
    quint32 seed = 20240513;
};

// What a generated book holds, for the jobs timed on it.
struct BookInfo {
    int documents = 0;
    int lines = 0;
};

// Copies the template to `path` and writes the book's goods, units and
// documents of every stock kind in date order, each stamped with its posting
// key and line keys as an audit would. With `walk` the running figures are
// then computed by WalkWholeBook; without, they are left as the saves left them.
BookInfo GenerateBook(const QString& templatePath, const QString& path, const BookSpec& spec, bool walk = true);

// Re-posts every goods and attribute value, every goods and every unit from
// the start of its history, in one transaction: the data refresh's walks
// (all goods together in key order).
void WalkWholeBook(Database& db, const PostingRules& rules);

// The goods codes and attribute values the generator uses.
QString BookGoodsCode(int i);
QString BookAttributeValue(int i);

// Seconds since the timer started.
double Seconds(const QElapsedTimer& t);
// A writable copy of a book file at `target` (replacing it), synced to disk; returns `target`.
QString CopyBook(const QString& source, const QString& target);
// The book size from the command line: [lines] [goods], over `spec`'s defaults.
BookSpec BookSpecFromArguments(int argc, char** argv, BookSpec spec = {});
// How often each job runs (the third argument, 2 by default); the minimum counts,
// so that no job pays alone for the first touch of memory and files.
int RunsFromArguments(int argc, char** argv);

// User and system CPU time of this process, in seconds.
double CpuSeconds();
// Peak resident memory of this process since the last reset, in MiB.
void ResetPeakMemory();
double PeakMemoryMiB();

// The least work for re-posting goods: one statement reading the selected
// posted lines in goods-then-key order, the running stock per attribute value
// and the running quantity, price and amount computed in memory, every line's
// running columns written by one prepared UPDATE by rowid and the goods'
// final figures stored, in one transaction. Returns seconds; adds the lines
// to *lines.
double LeastWorkGoodsWalk(Database& db, const QString& where, const QVariantList& params, int* lines);
// The least work for the same job on a book larger than the page cache: the
// selected columns of every posted line read in stored order, sorted in
// memory into goods-then-key order, the figures computed as above and every
// line written back in stored order (holds all the lines in memory).
double LeastWorkStoredOrderPass(Database& db, int* lines);
// The least work for re-posting a document whose lines hold `goods`, from
// its posting key on: with `stockDate` the stock of every goods and attribute
// value on that day; the unit's account chain re-chained from the key; each
// goods' running figures before the key read once; all their lines from the
// key read in goods-then-key order (one statement per 900 goods), computed in
// memory and written by rowid; the goods' final figures stored. The running
// stock of each of `values` (goods and attribute value, none without an
// attribute) is counted on from its stock before the key, a stocktaking line
// of it taking its difference afresh; out lines start from the out price of
// `outPrice`, as the audit does. Joins the caller's transaction, else runs
// in its own. Returns seconds; adds the lines to *lines.
double LeastWorkDocumentPass(Database& db, const QStringList& goods, const QString& key, const QString& unit,
                             const std::optional<QDate>& stockDate, const QVector<QPair<QString, QString>>& values,
                             OutPriceRule outPrice, int* lines);
// The least work for auditing the saved document `number`, in one
// transaction with the walk cache: its header read, the next posting key of
// its date found, key and auditor stamped on the header and on each line (one
// UPDATE by rowid), then LeastWorkDocumentPass over its goods from the key.
double LeastWorkAudit(Database& db, const QString& number, const QString& auditor,
                      const std::optional<QDate>& stockDate, bool attributeOn, int* lines);
// The least work for taking the audit back: keys and auditor cleared on the
// header and, by one statement, on the lines, then LeastWorkDocumentPass from
// the old key.
double LeastWorkUnaudit(Database& db, const QString& number, bool attributeOn, int* lines);
// How SQLite runs the least work's read of every posted line.
QString LeastWorkPlan(Database& db);
// The least work for re-chaining units: one statement reading the selected
// posted headers in unit-then-key order, the balance computed in memory, each changed
// row written by one prepared UPDATE by rowid, one transaction.
double LeastWorkUnitChains(Database& db, const QString& where, const QVariantList& params, int* rows);
// Keeps freed memory in the process: otherwise a job also measures the kernel
// handing out fresh pages, which varies more than the work itself.
void KeepFreedMemory();

// The least work for listing rows: the raw SQLite API, one statement with its
// parameters bound as text, every column of every row made into a text once
// (null "", whole numbers and decimals in their shortest form); the cells are
// appended to `cells`. Returns the rows read.
int RawTextRead(Database& db, const QString& sql, const QVariantList& params, std::vector<QString>& cells);

// The document benches' book: generated from the template beside the bench
// (nousit.dat) with spec.lines lines in documents of ten, its size printed, and
// opened in app as the administrator with the attribute 批号.
BookInfo OpenDocumentBenchBook(App& app, const QString& book, BookSpec spec);
