// Times posting on a generated, fully walked book: auditing a back-dated
// 50-line receipt (every later line of its 50 goods and every later row of
// its supplier's account chain is walked again) and taking it back, each
// beside the least work for it on the same file with the same page cache in
// the same run: one statement reading the posted lines of those goods from
// the document's key in goods-then-key order and one reading the supplier's
// later rows, the figures computed in memory, one prepared UPDATE by rowid
// each, one transaction (LeastWorkGoodsWalk, LeastWorkUnitChains).
// Usage: bench_posting [lines] [goods] [runs]; the minimum of the runs counts.

#include "BookGenerator.h"
#include "core/Posting.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    KeepFreedMemory();
    QCoreApplication app(argc, argv);
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.vxs"));
    const BookSpec spec = BookSpecFromArguments(argc, argv);
    const int runs = RunsFromArguments(argc, argv);
    PostingRules rules;
    rules.attributeOn = true;

    try {
        QElapsedTimer t;
        t.start();
        const BookInfo info = GenerateBook(templatePath, book, spec, true);
        std::printf("book: %d goods, %d attribute values, %d posted lines in %d documents, %.0f MB "
                    "(written and walked in %.1f s); min of %d run(s)\n",
                    spec.goods, spec.attributeValues, info.lines, info.documents,
                    double(QFile(book).size()) / 1e6, Seconds(t), runs);

        // A receipt of 50 goods dated on the book's second day.
        Database db;
        db.open(book);
        SizeWalkCache(db);
        QRandomGenerator rng(7);
        const QString number = QStringLiteral("BACK0001");
        const QDate date = spec.firstDate.addDays(1);
        const int count = std::min(50, spec.goods);
        QStringList goods;
        {
            Transaction tx(db);
            while (goods.size() < count) {
                const QString code = BookGoodsCode(int(rng.bounded(spec.goods)));
                if (goods.contains(code))
                    continue;
                goods << code;
                const double qty = 1 + rng.bounded(20);
                const double price = 1 + rng.bounded(5000) / 100.0;
                db.execute(QStringLiteral("INSERT INTO TB11 (F0, Oid, F1, HPSX, F6, F7, F8, V1, LB, SRT, R146, R147, "
                                          "R148, R6, R7, R8) VALUES (?, ?, ?, ?, ?, ?, ?, -1, 1, '', ?, ?, ?, ?, ?, ?)"),
                           {number, goods.size(), code, BookAttributeValue(int(rng.bounded(spec.attributeValues))),
                            qty, price, qty * price, qty, price, qty * price, qty, price, qty * price});
            }
            db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F5, F6, LB, S2, SRT) "
                                      "VALUES (?, ?, 'A001', '系统管理员', '', 1, '采购入库单', '')"),
                       {number, date.toString(QStringLiteral("yyyy-MM-dd"))});
            tx.commit();
        }

        double post = 1e300, unpost = 1e300, least = 1e300;
        double postCpu = 1e300, unpostCpu = 1e300, leastCpu = 1e300;
        QString key;
        int lines = 0;
        for (int i = 0; i < runs; ++i) {
            double cpu = CpuSeconds();
            t.start();
            key = PostDocument(db, rules, number, QStringLiteral("系统管理员"), {100, 0}, OutPriceRuleOf(DocKind::Inbound));
            post = std::min(post, Seconds(t));
            postCpu = std::min(postCpu, CpuSeconds() - cpu);
            cpu = CpuSeconds();
            t.start();
            UnpostDocument(db, rules, number, OutPriceRuleOf(DocKind::Inbound));
            unpost = std::min(unpost, Seconds(t));
            unpostCpu = std::min(unpostCpu, CpuSeconds() - cpu);

            QStringList marks;
            QVariantList params;
            for (const QString& code : goods) {
                marks << QStringLiteral("?");
                params << code;
            }
            params << key;
            lines = 0;
            cpu = CpuSeconds();
            int headers = 0;
            t.start();
            {
                Transaction tx(db);
                LeastWorkGoodsWalk(db, QStringLiteral("F1 IN (%1) AND SRT >= ? AND SRT <> ''").arg(marks.join(QLatin1Char(','))),
                                   params, &lines);
                LeastWorkUnitChains(db, QStringLiteral("F3 = 'A001' AND SRT >= ? AND SRT <> ''"), {key}, &headers);
                tx.commit();
            }
            least = std::min(least, Seconds(t));
            leastCpu = std::min(leastCpu, CpuSeconds() - cpu);
        }
        std::printf("%-28s %10s %10s %6s %10s %10s %6s\n", "job (wall time, then CPU time)", "program", "least work",
                    "ratio", "program", "least work", "ratio");
        auto line = [&](const char* job, double wall, double cpu) {
            std::printf("%-28s %8.3f s %8.3f s %6.2f %8.3f s %8.3f s %6.2f\n", job, wall, least, wall / least, cpu,
                        leastCpu, cpu / leastCpu);
        };
        line("back-dated 50-line audit", post, postCpu);
        line("its unaudit", unpost, unpostCpu);
        std::printf("(%d lines of %d goods from %s on; ratio = program / least work)\n", lines, count, qPrintable(key));
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_posting: %s\n", e.what());
        return 1;
    }
    return 0;
}
