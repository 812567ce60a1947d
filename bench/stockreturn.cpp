// Times the return-to-stock audit on a generated book (5 000 goods, 20
// attribute values; 1 000 000 posted lines with the argument 1000000, 100 000
// by default), each job as a ratio to the least work for it on the same file,
// in the same run, cold and warm (DocumentBench.h):
//  (a) auditing a back-dated 50-line customer return through AuditStockDoc
//      with the customer-return policy (the header amount restated from the
//      lines included), beside LeastWorkAudit: the header and lines stamped,
//      the stock of the same goods on the day, the customer's account chain
//      and the goods' lines from the document's key on, each read once by
//      plain statements and rewritten, in one transaction;
//  (b) unauditing it through UnauditStockDoc, beside LeastWorkUnaudit.

#include "DocumentBench.h"
#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "documents/stockreturn/StockReturnPolicies.h"
#include "platform/Database.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return RunDocumentBench(argc, argv, "bench_stockreturn", 100000, [](App& app, const DocumentBench& bench) {
        Database& db = app.CurrentDatabase;
        const StockDocPolicy policy = CustomerReturnPolicy();
        StockDoc doc = BenchDocument(bench.spec, QStringLiteral("BACKTK01"), BenchCustomer(db),
                                     bench.spec.firstDate.addDays(30), 13, 50, false);
        Require(SaveStockDoc(app, policy, StockDocTypeName(db, policy), doc, QString()), "save");

        const AuditTimes times = TimeAudits(
            db, doc.head.number, [&] { Require(AuditStockDoc(app, policy, doc.head.number), "audit"); },
            [&] { Require(UnauditStockDoc(app, policy, doc.head.number), "unaudit"); }, doc.head.date, true,
            bench.runs);
        std::printf("over %d lines from the document's key:\n", times.lines);
        PrintBeside("(a) audit of a back-dated 50-line customer return:", times.audit, times.leastAudit);
        PrintBeside("(b) its unaudit:                                  ", times.unaudit, times.leastUnaudit);
        PrintFiguresCheck(times);
    });
}
