// Payables and receivables on the generated book (1M lines in documents of
// ten by default) with its documents spread over 2 000 suppliers: a voucher
// saved back-dated to the book's second month, which re-chains the unit's
// later rows, and the general and the detail ledger over the book's year,
// each beside the least work for it on the same file in the same run:
//  - save: one transaction, one INSERT of the row, the unit's chain read in
//    key order and its changed rows written by rowid (LeastWorkUnitChains);
//  - ledgers: one statement reading the same TB1 rows in unit-then-key order
//    into texts (RawTextRead), plus the units for the general ledger.
// Targets: save at most 1.3 x, ledgers at most 1.5 x. The general ledger runs
// two statements whatever the number of units.

#include "DocumentBench.h"
#include "accounts/LedgerService.h"
#include "accounts/VoucherService.h"
#include "core/App.h"
#include "core/Kinds.h"
#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

constexpr int Units = 2000;

// BestOf in milliseconds.
double bestOf(int runs, const std::function<void()>& job)
{
    return BestOf(runs, job) * 1000;
}

QString unitCode(int i)
{
    return QStringLiteral("U%1").arg(i, 4, 10, QLatin1Char('0'));
}

// 2 000 suppliers; the supplier documents spread over them; every unit re-chained.
void spreadOverUnits(Database& db)
{
    Transaction tx(db);
    Statement unit(db, QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES (?, ?, ?, ?)"));
    for (int i = 0; i < Units; ++i) {
        unit.bindAll({unitCode(i), QStringLiteral("供应商%1").arg(i), code(UnitKind::Supplier), i % 100});
        unit.exec();
    }
    db.execute(QStringLiteral("UPDATE TB1 SET F3 = 'U' || substr('0000' || (rowid % ?), -4) WHERE F3 = 'A001'"),
               {Units});
    UnitBalanceWalker walker(db);
    for (int i = 0; i < Units; ++i)
        walker.walk(QString(), unitCode(i));
    tx.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    return RunDocumentBench(argc, argv, "bench_accounts", 1000000, [](App& app, const DocumentBench& bench) {
        const BookSpec& spec = bench.spec;
        const int runs = bench.runs;
        Database& db = app.CurrentDatabase;
        spreadOverUnits(db);
        SizeWalkCache(db);
        const QString unit = unitCode(7);
        const QDate back = spec.firstDate.addMonths(1);
        const VoucherSide side = VoucherSideOf(DocKind::AddedPayable);
        const int unitRows = db.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE F3 = ?"), {unit}).toInt();

        // Each save is taken back by an untimed delete, so every run finds the same book.
        double save = 1e300;
        for (int i = 0; i < runs; ++i) {
            VoucherInput input{QStringLiteral("YFBENCH"), back, unit, QStringLiteral("123.45"), {}, {}};
            QElapsedTimer t;
            t.start();
            if (SaveVoucher(app, side, input, nullptr).status != VoucherSaveStatus::Saved)
                throw DbError(-1, QStringLiteral("voucher not saved"));
            save = std::min(save, t.nsecsElapsed() / 1e6);
            DeleteVoucher(db, side, {QStringLiteral("YFBENCH"), StoredVoucherVersion(db, side, QStringLiteral("YFBENCH"))});
        }
        double leastSave = 1e300;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            Transaction tx(db);
            db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, LB, SRT, YF, FK, F6) VALUES ('YFLEAST', ?, ?, 100, ?, "
                                      "123.45, 0, '系统管理员')"),
                       {SqlDate(back), unit, PostingKeyPrefix(back) + QStringLiteral("9999")});
            int rows = 0;
            LeastWorkUnitChains(db, QStringLiteral("F3 = ? AND SRT <> ''"), {unit}, &rows);
            tx.commit();
            leastSave = std::min(leastSave, t.nsecsElapsed() / 1e6);
            db.execute(QStringLiteral("DELETE FROM TB1 WHERE F1 = 'YFLEAST'"));
            RepostUnitBalance(db, QString(), unit);
        }

        const QDate from = spec.firstDate;
        const QDate to = spec.firstDate.addDays(spec.days - 1);
        int ledgerRows = 0;
        const double general = bestOf(runs, [&] {
            ledgerRows = int(GeneralLedger(db, UnitKind::Supplier, QString(), from, to).size());
        });
        const QString periodRows = QStringLiteral(
            "SELECT TB1.F3, TB1.QC, TB1.YF, TB1.FK, TB1.QM FROM TB1 JOIN TA1 ON TA1.F1 = TB1.F3 WHERE TB1.F2 >= ? AND "
            "TB1.F2 <= ? AND TB1.SRT <> '' AND TB1.F6 <> '' AND TA1.LB = 0 ORDER BY TB1.F3, TB1.SRT, TB1.rowid");
        const double leastGeneral = bestOf(runs, [&] {
            std::vector<QString> cells;
            RawTextRead(db, QStringLiteral("SELECT F1, F2, NK FROM TA1 WHERE LB = 0 ORDER BY F1"), {}, cells);
            RawTextRead(db, periodRows, {SqlDate(from), SqlDate(to)}, cells);
        });
        int detailLines = 0;
        const double detail = bestOf(runs, [&] {
            detailLines = int(DetailLedger(db, UnitKind::Supplier, QString(), from, to).size());
        });
        const double leastDetail = bestOf(runs, [&] {
            std::vector<QString> cells;
            RawTextRead(db,
                        QStringLiteral("SELECT TB1.F3, TA1.F2, TB1.F1, TB1.S2, TB1.QC, TB1.YF, TB1.FK, TB1.QM FROM TB1 "
                                       "JOIN TA1 ON TA1.F1 = TB1.F3 WHERE TB1.F2 >= ? AND TB1.F2 <= ? AND "
                                       "TB1.SRT <> '' AND TB1.F6 <> '' AND TA1.LB = 0 ORDER BY TB1.F3, TB1.SRT, "
                                       "TB1.rowid"),
                        {SqlDate(from), SqlDate(to)}, cells);
        });
        std::printf("back-dated voucher save (unit of %d rows): %.1f ms = %.2f x least work (%.1f ms)\n", unitRows,
                    save, save / leastSave, leastSave);
        std::printf("general ledger over a year, %d units:       %.1f ms = %.2f x least work (%.1f ms)\n",
                    ledgerRows, general, general / leastGeneral, leastGeneral);
        std::printf("detail ledger over a year, %d lines:       %.1f ms = %.2f x least work (%.1f ms)\n",
                    detailLines, detail, detail / leastDetail, leastDetail);
    });
}
