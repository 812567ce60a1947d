// Times the return-to-stock audit on a generated book (5 000 goods, 20
// attribute values; 1 000 000 posted lines with the argument 1000000, 100 000
// by default), each job as a ratio to the least work for it on the same file,
// in the same run:
//  (a) auditing a back-dated 50-line customer return through AuditStockDoc
//      with the customer-return policy (the header amount restated from the
//      lines included), beside LeastWorkDocumentPass: the stock of the same
//      goods on the day, the customer's account chain and the goods' lines
//      from the document's key on, each read once by plain statements and
//      rewritten, in one transaction;
//  (b) unauditing it through UnauditStockDoc, beside the same plain pass.

#include "BookGenerator.h"
#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "documents/stockreturn/StockReturnPolicies.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
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
        QElapsedTimer t;
        Database& db = app.CurrentDatabase;
        const StockDocPolicy policy = CustomerReturnPolicy();
        QString customer = db.scalar(QStringLiteral("SELECT F1 FROM TA1 WHERE LB = 1 ORDER BY F1 LIMIT 1")).toString();
        if (customer.isEmpty()) {
            customer = QStringLiteral("KH001");
            db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES (?, '客户', 1, 0)"), {customer});
        }

        // A return of 50 goods, one piece each, early in the book.
        QRandomGenerator rng(13);
        StockDoc doc;
        doc.head.number = QStringLiteral("BACKTK01");
        doc.head.date = spec.firstDate.addDays(30);
        doc.head.unitCode = customer;
        QStringList goods;
        while (goods.size() < 50) {
            const QString code = BookGoodsCode(int(rng.bounded(spec.goods)));
            if (goods.contains(code))
                continue;
            StockDocLine l;
            l.goods = code;
            l.attr = BookAttributeValue(int(rng.bounded(spec.attributeValues)));
            l.qty = 1;
            l.price = 1 + rng.bounded(5000) / 100.0;
            l.amount = l.price;
            goods << code;
            doc.lines << l;
        }
        const QString refused = SaveStockDoc(app, policy, StockDocTypeName(db, policy), doc, QString());
        if (!refused.isEmpty()) {
            std::fprintf(stderr, "bench_stockreturn: %s\n", qPrintable(refused));
            return 1;
        }

        auto plainPass = [&](const QString& from, int* lines) {
            return LeastWorkDocumentPass(db, goods, from, customer, doc.head.date, lines);
        };
        int lines = 0;
        plainPass(QStringLiteral("S"), &lines);
        double audit = 1e9, unaudit = 1e9, baseline = 1e9;
        for (int run = 0; run < 3; ++run) {
            t.start();
            const QString auditRefused = AuditStockDoc(app, policy, doc.head.number);
            audit = std::min(audit, Seconds(t));
            if (!auditRefused.isEmpty()) {
                std::fprintf(stderr, "bench_stockreturn: %s\n", qPrintable(auditRefused));
                return 1;
            }
            const QString key =
                db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = ?"), {doc.head.number}).toString();
            lines = 0;
            baseline = std::min(baseline, plainPass(key, &lines));
            t.start();
            UnauditStockDoc(app, policy, doc.head.number);
            unaudit = std::min(unaudit, Seconds(t));
        }
        std::printf("(a) audit of a back-dated 50-line customer return: %.3f s = %.2f x plain pass (%.3f s over %d lines)\n",
                    audit, audit / baseline, baseline, lines);
        std::printf("(b) its unaudit:                                   %.3f s = %.2f x plain pass\n", unaudit,
                    unaudit / baseline);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_stockreturn: %s\n", e.what());
        return 1;
    }
    return 0;
}
