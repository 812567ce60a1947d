// Times the stock-document service on a generated book (5 000 goods, 20
// attribute values; 1 000 000 posted lines with the argument 1000000, 100 000
// by default so that `make bench` stays short), each job as a ratio to the
// least work for it on the same file, in the same run, cold and warm
// (DocumentBench.h):
//  (a) auditing a back-dated 50-line receipt through AuditStockDoc, beside
//      LeastWorkAudit: the header and lines stamped, the supplier's account
//      chain and the same goods' lines from the document's key on, each read
//      once by plain statements and rewritten, in one transaction;
//  (b) unauditing it through UnauditStockDoc, beside LeastWorkUnaudit; the
//      posting engine alone is timed on the same document with the balance
//      move its audit posts;
//  (c) opening a list of every document (100 000 on the 1M book) into the
//      grid through ListStockDocs, beside a plain read of the same rows;
//  (d), (e) as (a) and (b) for a back-dated 50-line return to the supplier.

#include "DocumentBench.h"
#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/supplierreturn/SupplierReturnPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"

#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    return RunDocumentBench(argc, argv, "bench_stockdoc", 100000, [](App& app, const DocumentBench& bench) {
        QElapsedTimer t;
        Database& db = app.CurrentDatabase;

        // Jobs (a)/(b) for a receipt, (d)/(e) for a return to the supplier of the same size.
        auto timeDocument = [&](const StockDocPolicy& policy, const QString& number, quint32 seed, char job,
                                const char* what) {
            // A document of 50 goods dated on the book's second day, saved through the service.
            StockDoc doc = BenchDocument(bench.spec, number, QStringLiteral("A001"), bench.spec.firstDate.addDays(1),
                                         seed, 50, true);
            Require(SaveStockDoc(app, policy, StockDocTypeName(db, policy), doc, QString()), "save");
            const AuditTimes times = TimeAudits(
                db, number, [&] { Require(AuditStockDoc(app, policy, number), "audit"); },
                [&] { Require(UnauditStockDoc(app, policy, number), "unaudit"); }, std::nullopt, true, bench.runs);
            // The engine alone on the same document, to tell the service's share.
            const std::optional<StockDoc> saved = LoadStockDoc(db, number);
            const BalanceMove move = StockDocBalanceMove(db, policy, saved->head);
            double enginePost = 1e9, engineUnpost = 1e9;
            for (int run = 0; run < bench.runs; ++run) {
                t.start();
                PostDocument(db, PostingRules::of(app), number, app.OperatorName, move, OutPriceRule::Zero);
                enginePost = std::min(enginePost, Seconds(t));
                t.start();
                UnpostDocument(db, PostingRules::of(app), number, OutPriceRule::Zero);
                engineUnpost = std::min(engineUnpost, Seconds(t));
            }
            std::printf("over %d lines from the %s's key:\n", times.lines, what);
            std::printf("(%c) audit of a back-dated 50-line %s:", job, what);
            PrintBeside("", times.audit, times.leastAudit);
            std::printf("(%c) its unaudit:                          ", job + 1);
            PrintBeside("", times.unaudit, times.leastUnaudit);
            PrintFiguresCheck(times);
            std::printf("    the posting engine alone (warm): post %.3f s, unpost %.3f s\n", enginePost, engineUnpost);
        };
        timeDocument(PurchaseReceiptPolicy(), QStringLiteral("BACK0001"), 7, 'a', "receipt");
        timeDocument(PurchaseReturnPolicy(), QStringLiteral("BACK0002"), 11, 'd', "return ");
        const StockDocPolicy policy = PurchaseReceiptPolicy();

        // (c) Every document of the book listed as one kind and type.
        db.execute(QStringLiteral("UPDATE TB1 SET LB = 1, S2 = '采购入库单'"));
        Grid grid;
        double listing = 1e9, plainRead = 1e9;
        int rows = 0, plainRows = 0;
        for (int run = 0; run < bench.runs; ++run) {
            t.start();
            StockDocList list =
                ListStockDocs(db, policy, QStringLiteral("采购入库单"), QString(), {}, QStringLiteral("#0.00"));
            rows = list.rows;
            grid.load(list.rows, StockDocListColumns, std::move(list.cells));
            listing = std::min(listing, Seconds(t));
            t.start();
            std::vector<QString> cells;
            plainRows = RawTextRead(db, QStringLiteral(
                "SELECT TB1.F1, TB1.F2, TA1.F2, TB1.F5, TB1.F6, TB1.F9, TB1.F10, TB1.F3, TB1.K9, TB1.K, TB1.Kstr, "
                "TB1.OD, TB1.BColor, TB1.FColor FROM TB1 JOIN TA1 ON TB1.F3 = TA1.F1 WHERE TB1.LB = 1 AND "
                "TB1.S2 = '采购入库单' ORDER BY TB1.F2, TB1.F1"), {}, cells);
            plainRead = std::min(plainRead, Seconds(t));
        }
        std::printf("(c) list of %d documents into the grid:    %.3f s = %.2f x plain read (%.3f s over %d rows)\n",
                    rows, listing, listing / plainRead, plainRead, plainRows);
    });
}
