// Times the stock-document service on a generated book (5 000 goods, 20
// attribute values; 1 000 000 posted lines with the argument 1000000, 100 000
// by default so that `make bench` stays short), each job as a ratio to the
// least work for it on the same file, in the same run:
//  (a) auditing a back-dated 50-line receipt through AuditStockDoc, beside
//      LeastWorkDocumentPass: the supplier's account chain and the same
//      goods' lines from the document's key on, each read once by plain
//      statements and rewritten, in one transaction;
//  (b) unauditing it through UnauditStockDoc, beside the same plain pass;
//      the posting engine alone is timed on the same document with the
//      balance move its audit posts;
//  (c) opening a list of every document (100 000 on the 1M book) into the
//      grid through ListStockDocs, beside a plain read of the same rows;
//  (d), (e) as (a) and (b) for a back-dated 50-line return to the supplier.

#include "BookGenerator.h"
#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/supplierreturn/SupplierReturnPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
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

        // Jobs (a)/(b) for a receipt, (d)/(e) for a return to the supplier of the same size.
        auto timeDocument = [&](const StockDocPolicy& policy, const QString& number, quint32 seed, char job,
                                const char* what) {
            // A document of 50 goods dated on the book's second day, saved through the service.
            QRandomGenerator rng(seed);
            StockDoc doc;
            doc.head.number = number;
            doc.head.date = spec.firstDate.addDays(1);
            doc.head.unitCode = QStringLiteral("A001");
            QStringList goods;
            while (goods.size() < 50) {
                const QString code = BookGoodsCode(int(rng.bounded(spec.goods)));
                if (goods.contains(code))
                    continue;
                goods << code;
                StockDocLine l;
                l.goods = code;
                l.attr = BookAttributeValue(int(rng.bounded(spec.attributeValues)));
                l.qty = 1 + rng.bounded(20);
                l.price = 1 + rng.bounded(5000) / 100.0;
                l.amount = l.qty * l.price;
                doc.lines << l;
            }
            const QString refused = SaveStockDoc(app, policy, StockDocTypeName(db, policy), doc, QString());
            if (!refused.isEmpty()) {
                std::fprintf(stderr, "bench_stockdoc: %s\n", qPrintable(refused));
                return false;
            }

            // Both the jobs and their baseline run on a warm page cache (one untimed plain
            // pass first); on a shared machine each is the best of three runs.
            auto plainPass = [&](const QString& from, int* lines) {
                return LeastWorkDocumentPass(db, goods, from, doc.head.unitCode, std::nullopt, lines);
            };
            const std::optional<StockDoc> saved = LoadStockDoc(db, doc.head.number);
            const BalanceMove move = StockDocBalanceMove(db, policy, saved->head);
            int lines = 0;
            plainPass(QStringLiteral("S"), &lines);
            double audit = 1e9, unaudit = 1e9, baseline = 1e9, enginePost = 1e9, engineUnpost = 1e9;
            for (int run = 0; run < 3; ++run) {
                t.start();
                AuditStockDoc(app, policy, doc.head.number);
                audit = std::min(audit, Seconds(t));
                const QString key =
                    db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = ?"), {doc.head.number}).toString();
                lines = 0;
                baseline = std::min(baseline, plainPass(key, &lines));
                t.start();
                UnauditStockDoc(app, policy, doc.head.number);
                unaudit = std::min(unaudit, Seconds(t));
                // The engine alone on the same document, to tell the service's share.
                t.start();
                PostDocument(db, PostingRules::of(app), doc.head.number, app.OperatorName, move, OutPriceRule::Zero);
                enginePost = std::min(enginePost, Seconds(t));
                t.start();
                UnpostDocument(db, PostingRules::of(app), doc.head.number, OutPriceRule::Zero);
                engineUnpost = std::min(engineUnpost, Seconds(t));
            }
            std::printf("(%c) audit of a back-dated 50-line %s: %.3f s = %.2f x plain pass (%.3f s over %d lines)\n",
                        job, what, audit, audit / baseline, baseline, lines);
            std::printf("(%c) its unaudit:                           %.3f s = %.2f x plain pass\n", job + 1, unaudit,
                        unaudit / baseline);
            std::printf("    the posting engine alone: post %.3f s, unpost %.3f s\n", enginePost, engineUnpost);

            return true;
        };
        if (!timeDocument(PurchaseReceiptPolicy(), QStringLiteral("BACK0001"), 7, 'a', "receipt") ||
            !timeDocument(PurchaseReturnPolicy(), QStringLiteral("BACK0002"), 11, 'd', "return "))
            return 1;
        const StockDocPolicy policy = PurchaseReceiptPolicy();

        // (c) Every document of the book listed as one kind and type.
        db.execute(QStringLiteral("UPDATE TB1 SET LB = 1, S2 = '采购入库单'"));
        Grid grid;
        double listing = 1e9, plainRead = 1e9;
        int rows = 0, plainRows = 0;
        for (int run = 0; run < 3; ++run) {
            t.start();
            StockDocList list =
                ListStockDocs(db, policy, QStringLiteral("采购入库单"), QString(), {}, QStringLiteral("#0.00"));
            rows = list.rows;
            grid.load(list.rows, StockDocListColumns, std::move(list.cells));
            listing = std::min(listing, Seconds(t));
            t.start();
            plainRows = 0;
            Statement read(db, QStringLiteral(
                "SELECT TB1.F1, TB1.F2, TA1.F2, TB1.F5, TB1.F6, TB1.F9, TB1.F10, TB1.F3, TB1.K9, TB1.K, TB1.Kstr, "
                "TB1.OD, TB1.BColor, TB1.FColor FROM TB1 JOIN TA1 ON TB1.F3 = TA1.F1 WHERE TB1.LB = 1 AND "
                "TB1.S2 = '采购入库单' ORDER BY TB1.F2, TB1.F1"));
            std::vector<QString> cells;
            while (read.step()) {
                for (int c = 0; c < StockDocListColumns; ++c)
                    cells.push_back(read.column(c).toString());
                ++plainRows;
            }
            plainRead = std::min(plainRead, Seconds(t));
        }
        std::printf("(c) list of %d documents into the grid:    %.3f s = %.2f x plain read (%.3f s over %d rows)\n",
                    rows, listing, listing / plainRead, plainRead, plainRows);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_stockdoc: %s\n", e.what());
        return 1;
    }
    return 0;
}
