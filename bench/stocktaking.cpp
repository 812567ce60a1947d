// Times a stocktaking of every goods of a generated book (5 000 goods, 20
// attribute values, no attribute kept by the count; 1 000 000 posted lines
// with the argument 1000000, 100 000 by default). A document holds at most
// 999 lines, so the count is six documents, each opened, saved and audited
// before the next starts, as the count runs alone. Each job is the sum over
// the six documents, cold and warm (DocumentBench.h), beside the least work
// for the same rows on the same file in the same run:
//  (a) opening a document: a line with name, unit, cost price and book
//      quantity for each of its goods through CountLinesFor, beside one
//      prepared look-up per goods through the raw SQLite API making the same
//      values;
//  (b) saving it through SaveStocktaking, beside one transaction that checks
//      the number, the unposted documents and the latest date by their
//      indexes and writes the header and the lines by one prepared insert;
//  (c) auditing it through AuditStocktaking, beside LeastWorkAudit;
//  (d) unauditing it through UnauditStocktaking, beside LeastWorkUnaudit.

#include "DocumentBench.h"
#include "core/App.h"
#include "core/Kinds.h"
#include "documents/stocktaking/StocktakingService.h"
#include "platform/Database.h"
#include "platform/sqlcipher.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <cmath>
#include <cstdio>

namespace {

double cents(double x)
{
    return std::round(x * 100) / 100;
}

// The least work for (a): the same values as CountLinesFor.
QVector<CountLine> leastOpen(Database& db, const QStringList& codes)
{
    QVector<CountLine> lines;
    lines.reserve(codes.size());
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QByteArrayLiteral("SELECT F1, F2, F5, F4, F7, F8 FROM TA4 WHERE F1 = ?");
    sqlite3_prepare_v2(db.handle(), sql.constData(), int(sql.size()), &st, nullptr);
    auto text = [&](int c) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
    };
    for (const QString& code : codes) {
        const QByteArray key = code.toUtf8();
        sqlite3_bind_text(st, 1, key.constData(), int(key.size()), SQLITE_STATIC);
        if (sqlite3_step(st) == SQLITE_ROW) {
            CountLine l;
            l.goods = text(0);
            l.name = text(1) + QLatin1Char('/') + text(2);
            l.unit = text(3);
            l.price = cents(sqlite3_column_double(st, 4));
            l.book = sqlite3_column_double(st, 5);
            lines << l;
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    return lines;
}

// The least work for (b): the checks by their indexes, then the rows.
void leastSave(Database& db, const QString& number, const QDate& date, const QVector<CountLine>& lines)
{
    Transaction tx(db);
    db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE F1 = ?"), {number});
    db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE SRT = '' LIMIT 1"));
    db.scalarRow(QStringLiteral("SELECT max(F2) FROM TB1"));
    double total = 0;
    for (const CountLine& l : lines)
        total += cents(l.difference() * l.price);
    db.execute(QStringLiteral("INSERT INTO TB1 (SRT, OD, S2, SN, LB, H8, F1, F2, F3, F5, F6, F9, F10, K9, K, Kstr, "
                              "V1, QC, YF, FK, QM) VALUES ('', '', '库存盘点', 0, ?, ?, ?, ?, '0000', '系统管理员', '', "
                              "?, '', 0, 0, '', 0, 0, 0, 0, 0)"),
               {code(DocKind::Stocktaking), QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                number, date.toString(QStringLiteral("yyyy-MM-dd")), cents(total)});
    Statement insert(db, QStringLiteral("INSERT INTO TB11 (SRT, SH, HPSX, Oid, V1, SN, LB, F0, F1, Z5, F5, F6, F7, "
                                        "F8, R146, R147, R148, R6, R7, R8, C236, C237, C238, C6, C7, C8, F9) "
                                        "VALUES ('', '', '', ?, 0, 0, 7, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                        "?, ?, ?, ?, ?, '')"));
    int oid = 0;
    for (const CountLine& l : lines) {
        const double q = l.difference();
        const double a = cents(q * l.price);
        const bool in = q >= 0;
        insert.bindInt64(0, ++oid);
        insert.bind(1, number);
        insert.bind(2, l.goods);
        const double figures[] = {l.book, *l.counted, q, l.price, a,
                                  in ? q : 0, in ? l.price : 0, in ? a : 0, in ? q : 0, in ? l.price : 0, in ? a : 0,
                                  in ? 0 : -q, in ? 0 : l.price, in ? 0 : -a, in ? 0 : -q, in ? 0 : l.price, in ? 0 : -a};
        for (int i = 0; i < 17; ++i)
            insert.bindReal(3 + i, figures[i]);
        insert.exec();
    }
    tx.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    return RunDocumentBench(argc, argv, "bench_stocktaking", 100000, [](App& app, const DocumentBench& bench) {
        app.HpsxName.clear();  // one line per goods, counted against its whole stock
        Database& db = app.CurrentDatabase;
        const QDate last = QDate::fromString(db.scalar(QStringLiteral("SELECT max(F2) FROM TB1")).toString().left(10),
                                             QStringLiteral("yyyy-MM-dd"));
        QStringList goods;
        for (int i = 0; i < bench.spec.goods; ++i)
            goods << BookGoodsCode(i);

        QElapsedTimer t;
        auto timed = [&](JobTimes& into, bool cold, const std::function<void()>& job) {
            if (cold)
                ReopenCold(db);
            t.start();
            job();
            into.keep(Seconds(t), cold);
        };
        // Sums over the documents.
        const JobTimes none{0, 0};
        JobTimes open = none, leastOpened = none, save = none, leastSaved = none;
        AuditTimes posting{none, none, none, none, 0};
        QStringList numbers;
        for (int first = 0; first < goods.size(); first += 999) {
            const QStringList chunk = goods.mid(first, 999);
            CountDoc doc;
            doc.head.number = QStringLiteral("PD%1").arg(numbers.size() + 1, 4, 10, QLatin1Char('0'));
            doc.head.date = last;
            const QString plain = QStringLiteral("PLAIN%1").arg(numbers.size() + 1);

            // (a) and (b), each run leaving the book as it found it but for the last save.
            JobTimes docOpen, docLeastOpen, docSave, docLeastSave;
            for (int run = 0; run < 2 * bench.runs; ++run) {
                const bool cold = run % 2 == 0;
                timed(docOpen, cold, [&] { doc.lines = CountLinesFor(app, chunk); });
                QVector<CountLine> least;
                timed(docLeastOpen, cold, [&] { least = leastOpen(db, chunk); });
                if (least.size() != doc.lines.size())
                    throw DbError(-1, QStringLiteral("the least work found other goods"));
                for (int i = 0; i < doc.lines.size(); ++i)  // a loss, no difference, a surplus
                    doc.lines[i].counted = std::max(0.0, doc.lines[i].book + (i % 3) - 1);
                if (run > 0)
                    Require(DeleteStockDoc(app, doc.head.number, LoadStockDoc(db, doc.head.number)->loadedStamp),
                            "delete");
                timed(docSave, cold, [&] { Require(SaveStocktaking(app, doc, QString()), "save"); });
                timed(docLeastSave, cold, [&] { leastSave(db, plain, doc.head.date, doc.lines); });
                db.execute(QStringLiteral("DELETE FROM TB11 WHERE F0 = ?"), {plain});
                db.execute(QStringLiteral("DELETE FROM TB1 WHERE F1 = ?"), {plain});
            }
            open += docOpen;
            leastOpened += docLeastOpen;
            save += docSave;
            leastSaved += docLeastSave;

            // (c) and (d); then audited again, so that the next document counts after it.
            posting += TimeAudits(
                db, doc.head.number, [&] { Require(AuditStocktaking(app, doc.head.number), "audit"); },
                [&] { Require(UnauditStocktaking(app, doc.head.number), "unaudit"); }, std::nullopt, false,
                bench.runs);
            Require(AuditStocktaking(app, doc.head.number), "audit");
            numbers << doc.head.number;
        }
        for (int k = int(numbers.size()) - 1; k >= 0; --k) {
            Require(UnauditStocktaking(app, numbers[k]), "unaudit");
            Require(DeleteStockDoc(app, numbers[k], LoadStockDoc(db, numbers[k])->loadedStamp), "delete");
        }
        std::printf("a stocktaking of %d goods in %d documents (%d lines walked by each least audit):\n",
                    int(goods.size()), int(numbers.size()), posting.lines);
        PrintBeside("(a) opening with book quantities:", open, leastOpened);
        PrintBeside("(b) save:                        ", save, leastSaved);
        PrintBeside("(c) audit:                       ", posting.audit, posting.leastAudit);
        PrintBeside("(d) unaudit:                     ", posting.unaudit, posting.leastUnaudit);
        PrintFiguresCheck(posting);
    });
}
