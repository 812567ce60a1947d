// Times the data refresh on a generated book whose running figures are as the
// saves left them, each job beside the least work for it on a copy of the same
// file, with the same page cache, in the same run:
//  - every goods (attribute values and cost), as the refresh walks them all:
//    in key order, beside LeastWorkStoredOrderPass;
//  - on a book that fits the walk cache, the same on a book whose walk
//    indexes are those of an older template, after the opening's schema
//    upgrade has created them again; and every goods walked goods by goods (as
//    the refresh of a few goods walks them), beside LeastWorkGoodsWalk;
//  - every unit's account chain, beside LeastWorkUnitChains.
// Usage: bench_refresh [lines] [goods] [runs]; the minimum of the runs counts.
// 10 000 000 lines take about 4 GB of disk for the book and its copy, and as
// much again for the journal.

#include "BookGenerator.h"
#include "accountsets/Refresh.h"
#include "core/Posting.h"
#include "core/SchemaUpgrades.h"
#include "core/WholeGoodsWalk.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Timing {
    double seconds = 1e300;
    double cpu = 1e300;
    double peakMiB = 0;
};

// The minimum over the runs, each on a fresh copy of `raw`; `job` gets the
// open copy and answers the seconds of its timed part.
Timing best(int runs, const QString& raw, const QString& copy, const std::function<double(Database&)>& job)
{
    Timing t;
    for (int i = 0; i < runs; ++i) {
        Database db;
        db.open(CopyBook(raw, copy));
        ResetPeakMemory();
        const double cpu = CpuSeconds();
        t.seconds = std::min(t.seconds, job(db));
        t.cpu = std::min(t.cpu, CpuSeconds() - cpu);
        t.peakMiB = std::max(t.peakMiB, PeakMemoryMiB());
    }
    return t;
}

void line(const char* job, const Timing& program, const Timing& least)
{
    std::printf("%-40s %8.2f s %8.2f s %6.2f %8.2f s %8.2f s %6.2f   %5.0f / %5.0f MiB\n", job, program.seconds,
                least.seconds, program.seconds / least.seconds, program.cpu, least.cpu, program.cpu / least.cpu,
                program.peakMiB, least.peakMiB);
}

}  // namespace

int main(int argc, char** argv)
{
    KeepFreedMemory();
    QCoreApplication app(argc, argv);
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString raw = dir.filePath(QStringLiteral("raw.vxs"));
    const QString oldRaw = dir.filePath(QStringLiteral("old.vxs"));
    const QString copy = dir.filePath(QStringLiteral("copy.vxs"));
    const BookSpec spec = BookSpecFromArguments(argc, argv);
    const int runs = RunsFromArguments(argc, argv);
    PostingRules rules;
    rules.attributeOn = true;

    try {
        QElapsedTimer t;
        t.start();
        const BookInfo info = GenerateBook(templatePath, raw, spec, false);
        const qint64 bytes = QFile(raw).size();
        std::printf("book: %d goods, %d attribute values, %d posted lines in %d documents, %.0f MB "
                    "(written in %.1f s); walk cache %d MiB of a %d MiB budget; min of %d run(s)\n",
                    spec.goods, spec.attributeValues, info.lines, info.documents, double(bytes) / 1e6, Seconds(t),
                    WalkCacheKiBFor(bytes) / 1024, WalkCacheBudgetKiB / 1024, runs);
        bool fits = false;
        {
            Database db;
            db.open(raw);
            fits = WalkCacheKiBFor(bytes) < WalkCacheBudgetKiB;
            std::printf("the refresh walks %s; least work goods by goods reads with: %s\n",
                        WholeWalkInKeyOrder(db, spec.goods) ? "all goods in key order" : "goods by goods",
                        qPrintable(LeastWorkPlan(db)));
        }
        std::printf("%-40s %10s %10s %6s %10s %10s %6s   %s\n", "job (wall time, then CPU time)", "program",
                    "least work", "ratio", "program", "least work", "ratio", "peak memory");
        int lines = 0;
        const Timing storedOrder = best(runs, raw, copy, [&](Database& db) {
            SizeWalkCache(db);
            lines = 0;
            return LeastWorkStoredOrderPass(db, &lines);
        });
        auto refresh = [&](WholeWalkOrder order) {
            return [&rules, order](Database& db) {
                QElapsedTimer w;
                w.start();
                RefreshGoods(db, rules, CodeCondition{}, {}, order);
                return Seconds(w);
            };
        };
        line("data refresh, all goods", best(runs, raw, copy, refresh(WholeWalkOrder::BySize)), storedOrder);
        std::printf("  (beside the least work that reads in stored order, sorts in memory and writes back "
                    "in stored order)\n");
        // Past the cache the walks through the goods index take many minutes.
        if (fits) {
            CopyBook(raw, oldRaw);
            {
                Database db;
                db.open(oldRaw);
                db.executeScript(QStringLiteral("DROP INDEX ix_tb11_f1_srt; DROP INDEX ix_tb11_f1_hpsx_srt; "
                                                "DROP INDEX ix_tb1_f3_srt"));
            }
            double upgrade = 1e300;
            const Timing oldGoods = best(runs, oldRaw, copy, [&](Database& db) {
                QElapsedTimer w;
                w.start();
                UpgradeSchemaOnOpen(db);
                upgrade = std::min(upgrade, Seconds(w));
                w.start();
                RefreshGoods(db, rules, CodeCondition{});
                return Seconds(w);
            });
            line("the same on an older template's indexes", oldGoods, storedOrder);
            std::printf("  (the opening's upgrade created the missing indexes in %.2f s)\n", upgrade);
            QFile::remove(oldRaw);

            const Timing leastGoods = best(runs, raw, copy, [&](Database& db) {
                SizeWalkCache(db);
                lines = 0;
                return LeastWorkGoodsWalk(db, QStringLiteral("SRT <> ''"), {}, &lines);
            });
            line("all goods walked goods by goods", best(runs, raw, copy, refresh(WholeWalkOrder::GoodsByGoods)),
                 leastGoods);
            std::printf("  (beside the least work that reads in goods order through the goods index)\n");
        }

        int rows = 0;
        const Timing leastUnits = best(runs, raw, copy, [&](Database& db) {
            SizeWalkCache(db);
            rows = 0;
            return LeastWorkUnitChains(db, QStringLiteral("SRT <> ''"), {}, &rows);
        });
        const Timing units = best(runs, raw, copy, [&](Database& db) {
            QElapsedTimer w;
            w.start();
            RefreshUnits(db, CodeCondition{});
            return Seconds(w);
        });
        line("data refresh, unit balances", units, leastUnits);
        std::printf("(%d lines and %d headers walked; ratio = program / least work; CPU time leaves out the waits "
                    "for the disk, which vary with other work on the machine)\n", lines, rows);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_refresh: %s\n", e.what());
        return 1;
    }
    return 0;
}
