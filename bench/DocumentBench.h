#pragma once
// What the document benches share: the run around a job on the generated
// book, the back-dated documents they post, and the timing of an audit and
// its unaudit beside the least work for them, cold and warm.
//
// Cold is the first job of a fresh connection (an empty page cache, so every
// page the job reads is decrypted again); warm runs right after other work on
// the same rows. Each figure is the best of the runs; both sides run on the
// same file, with the same cache, in the same run.

#include "BookGenerator.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

struct App;
class Database;
struct StockDoc;
struct StockDocLine;
struct StockDocPolicy;

// A document bench's book and command line: [lines] [goods] [runs].
struct DocumentBench {
    const char* name = "";
    QString book;   // the book's file
    BookSpec spec;  // 5 000 goods by default, documents of ten lines
    int runs = 2;
};

// Runs `job` on a generated book opened in a fresh App as the administrator
// with the attribute 批号 (`defaultLines` lines without an argument). A
// DbError (a refusal included, see Require) ends the bench with its text
// under the bench's name; answers the exit code.
int RunDocumentBench(int argc, char** argv, const char* name, int defaultLines,
                     const std::function<void(App&, const DocumentBench&)>& job);

// Throws a service's refusal ("" = done) as a DbError naming `what`.
void Require(const QString& refused, const char* what);

// Closes and reopens the connection: the page cache a session starts with.
void ReopenCold(Database& db);

// The least of `runs` timings of `job`, in seconds.
double BestOf(int runs, const std::function<void()>& job);

// The book's first customer, added when it has none.
QString BenchCustomer(Database& db);

// A document `number` of `count` distinct goods drawn with `seed` for `unit`
// on `date`, each with a drawn attribute value and price: one piece, or with
// `drawQty` 1 to 20 pieces. Lines `accept` refuses are drawn again.
StockDoc BenchDocument(const BookSpec& spec, const QString& number, const QString& unit, const QDate& date,
                       quint32 seed, int count, bool drawQty,
                       const std::function<bool(const StockDocLine&)>& accept = {});

// A job's best time, cold and warm, in seconds; a sum starts from {0, 0}.
struct JobTimes {
    double cold = 1e300;
    double warm = 1e300;
    // Keeps the lesser of each.
    void keep(double seconds, bool isCold);
    // Adds another job's times (the parts of a job done as several documents).
    JobTimes& operator+=(const JobTimes& other);
};

// Prints "label  cold ... = r x least work (...), warm ... = r x ...".
void PrintBeside(const char* label, const JobTimes& job, const JobTimes& least);

// The audit and unaudit of a saved, unaudited document, each beside the
// least work for it (LeastWorkAudit, LeastWorkUnaudit).
struct AuditTimes {
    JobTimes audit, unaudit, leastAudit, leastUnaudit;
    int lines = 0;  // the lines the least work walked in one audit
    // The running and stored figures after the least audit that differ from
    // those after the audit, of `figures` compared.
    int differing = 0;
    int figures = 0;
    AuditTimes& operator+=(const AuditTimes& other);
};
// Each run times, cold and then warm: `audit`, `unaudit`, the least audit,
// the least unaudit; the document ends unaudited. With `stockDate` the least
// work also reads the stock of the goods on that day (the stock check). The
// first run compares the figures each audit left (S6-K8 of every posted line
// of the document's goods from its key, TA4.F7/F8/Fje of the goods).
AuditTimes TimeAudits(Database& db, const QString& number, const std::function<void()>& audit,
                      const std::function<void()>& unaudit, const std::optional<QDate>& stockDate, bool attributeOn,
                      int runs);

// Prints how many figures the least work left otherwise than the audit.
void PrintFiguresCheck(const AuditTimes& times);
