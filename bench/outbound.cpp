// Times the outbound audit on a generated book (5 000 goods, 20 attribute
// values; 1 000 000 posted lines with the argument 1000000, 100 000 by
// default), each job as a ratio to the least work for it on the same file, in
// the same run, cold and warm (DocumentBench.h):
//  (a) auditing a back-dated 50-line sales delivery through AuditStockDoc with
//      the sales policy (the stock check of the whole document included),
//      beside LeastWorkAudit: the header and lines stamped, the stock of the
//      same goods on the day, the customer's account chain and the goods'
//      lines from the document's key on, each read once by plain statements
//      and rewritten, in one transaction;
//  (b) unauditing it through UnauditStockDoc, beside LeastWorkUnaudit.

#include "DocumentBench.h"
#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "documents/outbound/OutboundPolicies.h"
#include "documents/outbound/OutboundService.h"
#include "platform/Database.h"

#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    return RunDocumentBench(argc, argv, "bench_outbound", 100000, [](App& app, const DocumentBench& bench) {
        app.NoOverIssue = 1;
        Database& db = app.CurrentDatabase;
        const StockDocPolicy policy = SalesDeliveryPolicy();
        // One piece each of a value in stock, early in the book.
        StockDoc doc = BenchDocument(bench.spec, QStringLiteral("BACKCK01"), BenchCustomer(db),
                                     bench.spec.firstDate.addDays(30), 11, 50, false, [&](const StockDocLine& l) {
                                         StockDoc one;
                                         one.head.date = bench.spec.firstDate.addDays(30);
                                         one.lines << l;
                                         return !CheckDocumentStock(app, one);
                                     });
        Require(SaveStockDoc(app, policy, QStringLiteral("销售发货单"), doc, QString()), "save");

        const AuditTimes times = TimeAudits(
            db, doc.head.number, [&] { Require(AuditStockDoc(app, policy, doc.head.number), "audit"); },
            [&] { Require(UnauditStockDoc(app, policy, doc.head.number), "unaudit"); }, doc.head.date, true,
            bench.runs);
        double check = BestOf(bench.runs, [&] { CheckDocumentStock(app, doc); });
        std::printf("over %d lines from the document's key:\n", times.lines);
        PrintBeside("(a) audit of a back-dated 50-line sales delivery:", times.audit, times.leastAudit);
        PrintBeside("(b) its unaudit:                                 ", times.unaudit, times.leastUnaudit);
        PrintFiguresCheck(times);
        std::printf("    the stock check of its lines alone: %.3f s\n", check);
    });
}
