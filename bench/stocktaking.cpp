// Times a stocktaking of every goods of a generated book (5 000 goods, 20
// attribute values; 1 000 000 posted lines with the argument 1000000, 100 000
// by default), each job as a ratio to the least work for it on the same file,
// in the same run, best of three:
//  (a) opening the new documents (at most 999 lines each, so six for 5 000
//      goods): a line with its book quantity for every goods through
//      CountLinesFor, beside one prepared look-up per goods;
//  (b) saving it through SaveStocktaking, beside the same rows written by one
//      prepared insert in one transaction;
//  (c) auditing it through AuditStocktaking and (d) unauditing it, beside
//      LeastWorkDocumentPass over every goods from the document's key.

#include "BookGenerator.h"
#include "core/App.h"
#include "documents/stocktaking/StocktakingService.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.vxs"));
    BookSpec spec;
    spec.goods = 5000;
    spec.lines = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    try {
        App app;
        OpenDocumentBenchBook(app, book, spec);
        app.HpsxName.clear();  // one line per goods, measured against its whole stock
        Database& db = app.CurrentDatabase;
        QElapsedTimer t;
        const QDate last = QDate::fromString(
            db.scalar(QStringLiteral("SELECT max(substr(F2, 1, 10)) FROM TB1")).toString(), QStringLiteral("yyyy-MM-dd"));
        QStringList goods;
        for (int i = 0; i < spec.goods; ++i)
            goods << BookGoodsCode(i);

        // A document holds at most 999 lines: the count of every goods is six documents,
        // each saved and audited before the next starts, unaudited last to first.
        const int perDoc = 999;
        double open = 1e9, openPlain = 1e9, save = 1e9, savePlain = 1e9;
        double audit = 1e9, unaudit = 1e9, passPlain = 1e9;
        int lines = 0;
        for (int run = 0; run < 3; ++run) {
            double runOpen = 0, runOpenPlain = 0, runSave = 0, runSavePlain = 0, runAudit = 0, runUnaudit = 0,
                   runPass = 0;
            lines = 0;
            QStringList numbers;
            QVector<QStringList> chunks;
            for (int first = 0; first < goods.size(); first += perDoc) {
                const QStringList chunk = goods.mid(first, perDoc);
                chunks << chunk;
                // (a) the new document's lines.
                CountDoc doc;
                doc.head.number = QStringLiteral("PD%1").arg(numbers.size() + 1, 4, 10, QLatin1Char('0'));
                doc.head.date = last;
                t.start();
                doc.lines = CountLinesFor(app, chunk);
                for (int i = 0; i < doc.lines.size(); ++i)  // a loss, no difference, a surplus
                    doc.lines[i].counted = std::max(0.0, doc.lines[i].book + (i % 3) - 1);
                runOpen += Seconds(t);
                t.start();
                {
                    Statement look(db, QStringLiteral("SELECT F1, F2, F5, F4, F7, F8 FROM TA4 WHERE F1 = ?"));
                    std::vector<QVariant> row;
                    for (const QString& g : chunk) {
                        look.bindAll({g});
                        if (look.step())
                            for (int c = 0; c < 6; ++c)
                                row.push_back(look.column(c));
                        look.reset();
                    }
                }
                runOpenPlain += Seconds(t);

                // (b) the save, then the same rows by plain inserts (removed again).
                t.start();
                const QString refused = SaveStocktaking(app, doc, QString());
                runSave += Seconds(t);
                if (!refused.isEmpty()) {
                    std::fprintf(stderr, "bench_stocktaking: %s\n", qPrintable(refused));
                    return 1;
                }
                t.start();
                {
                    Transaction tx(db);
                    Statement ins(db, QStringLiteral("INSERT INTO TB11 (F0, Oid, F1, Z5, F5, F6, F7, F8, R6, C6) "
                                                     "VALUES ('PLAIN', ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
                    int oid = 0;
                    for (const CountLine& l : doc.lines) {
                        const double q = l.difference();
                        ins.bindAll({++oid, l.goods, l.book, *l.counted, q, l.price, q * l.price, q > 0 ? q : 0,
                                     q < 0 ? -q : 0});
                        ins.exec();
                    }
                    tx.commit();
                }
                runSavePlain += Seconds(t);
                db.execute(QStringLiteral("DELETE FROM TB11 WHERE F0 = 'PLAIN'"));

                // (c) the audit beside the plain pass from its key.
                t.start();
                const QString auditRefused = AuditStocktaking(app, doc.head.number);
                runAudit += Seconds(t);
                if (!auditRefused.isEmpty()) {
                    std::fprintf(stderr, "bench_stocktaking: %s\n", qPrintable(auditRefused));
                    return 1;
                }
                const QString key =
                    db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = ?"), {doc.head.number}).toString();
                // The plain pass binds one value per goods: halves keep it under SQLite's limit.
                for (int h = 0; h < chunk.size(); h += 500)
                    runPass += LeastWorkDocumentPass(db, chunk.mid(h, 500), key, StocktakingUnit(), std::nullopt,
                                                     &lines);
                numbers << doc.head.number;
            }
            // (d) the unaudits, last to first.
            for (int k = int(numbers.size()) - 1; k >= 0; --k) {
                t.start();
                UnauditStocktaking(app, numbers[k]);
                runUnaudit += Seconds(t);
                DeleteStockDoc(app, numbers[k], LoadStockDoc(app.CurrentDatabase, numbers[k])->loadedStamp);
            }
            open = std::min(open, runOpen);
            openPlain = std::min(openPlain, runOpenPlain);
            save = std::min(save, runSave);
            savePlain = std::min(savePlain, runSavePlain);
            audit = std::min(audit, runAudit);
            unaudit = std::min(unaudit, runUnaudit);
            passPlain = std::min(passPlain, runPass);
        }
        std::printf("(a) new stocktaking of %d goods with book quantities: %.3f s = %.2f x plain look-ups (%.3f s)\n",
                    int(goods.size()), open, open / openPlain, openPlain);
        std::printf("(b) its save:    %.3f s = %.2f x plain inserts (%.3f s)\n", save, save / savePlain, savePlain);
        std::printf("(c) its audit:   %.3f s = %.2f x plain pass (%.3f s over %d lines)\n", audit, audit / passPlain,
                    passPlain, lines);
        std::printf("(d) its unaudit: %.3f s = %.2f x plain pass\n", unaudit, unaudit / passPlain);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_stocktaking: %s %s\n", e.what(), qPrintable(e.technical()));
        return 1;
    }
    return 0;
}
