// Times posting on a generated book of 2 000 goods, 20 attribute values and
// 200 000 posted lines, each job as a ratio to one plain SQLite pass that
// reads the same lines in key order and rewrites their running columns
// (S6-S8, K6-K8, XS6, XK6) with figures of the same kind, in one transaction:
//  (a) posting a back-dated 50-line document (and taking it back);
//  (b) a full walk of every goods and attribute value, once from the figures
//      the saves left (every line is rewritten) and once more on the walked
//      book (nothing changes), the walk the data refresh makes;
// and the full walk from the saved figures with several page-cache sizes.

#include "BookGenerator.h"
#include "core/Posting.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double fullWalk(const QString& file, int cacheKiB, const PostingRules& rules)
{
    Database db;
    db.open(file);
    db.setCacheSizeKiB(cacheKiB);
    QElapsedTimer t;
    t.start();
    WalkWholeBook(db, rules);
    return Seconds(t);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.vxs"));
    const QString book = dir.filePath(QStringLiteral("book.vxs"));
    const BookSpec spec;
    PostingRules rules;
    rules.attributeOn = true;

    try {
        QElapsedTimer t;
        t.start();
        const BookInfo info = GenerateBook(templatePath, saved, spec, false);
        std::printf("book: %d goods, %d attribute values, %d posted lines in %d documents (written in %.1f s, %.0f MB)\n",
                    spec.goods, spec.attributeValues, info.lines, info.documents, Seconds(t),
                    double(QFile(saved).size()) / 1e6);

        for (int kib : {2000, 16384, 65536, 131072, 262144})
            std::printf("full walk from the saved figures, %6d KiB page cache: %.2f s\n", kib,
                        fullWalk(CopyBook(saved, dir.filePath(QStringLiteral("walk.vxs"))), kib, rules));

        int lines = 0;
        Database plain;
        plain.open(CopyBook(saved, dir.filePath(QStringLiteral("plain.vxs"))));
        plain.setCacheSizeKiB(WalkCacheKiB);
        const double baseline = PlainPass(plain, QStringLiteral("SRT <> ''"), {}, &lines);
        lines = 0;
        const double baselineAgain = PlainPass(plain, QStringLiteral("SRT <> ''"), {}, &lines);
        const double fromSaved = fullWalk(CopyBook(saved, book), WalkCacheKiB, rules);
        const double again = fullWalk(book, WalkCacheKiB, rules);
        std::printf("(b) full walk of every goods from the saved figures: %.2f s = %.2f x plain pass (%.2f s over %d "
                    "lines)\n", fromSaved, fromSaved / baseline, baseline, lines);
        std::printf("(b) full walk of every goods on the walked book:     %.2f s = %.2f x plain pass (%.2f s)\n", again,
                    again / baselineAgain, baselineAgain);

        // (a) A receipt of 50 goods dated on the book's second day.
        Database db;
        db.open(book);
        QRandomGenerator rng(7);
        const QString number = QStringLiteral("BACK0001");
        const QDate date = spec.firstDate.addDays(1);
        QStringList goods;
        {
            Transaction tx(db);
            while (goods.size() < 50) {
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
        t.start();
        const QString key = PostDocument(db, rules, number, QStringLiteral("系统管理员"), {100, 0});
        const double post = Seconds(t);
        t.start();
        UnpostDocument(db, rules, number);
        const double unpost = Seconds(t);
        t.start();
        PostDocument(db, rules, number, QStringLiteral("系统管理员"), {100, 0});
        const double repost = Seconds(t);

        lines = 0;
        QElapsedTimer p;
        p.start();
        double baselineA = 0;
        {
            Transaction tx(db);
            for (const QString& code : goods)
                PlainPass(db, QStringLiteral("F1 = ? AND SRT >= ?"), {code, key}, &lines);
            tx.commit();
            baselineA = Seconds(p);
        }
        std::printf("(a) back-dated 50-line document: %.3f s = %.2f x plain pass (%.3f s over %d lines); "
                    "taking it back %.3f s, posting it again %.3f s\n",
                    post, post / baselineA, baselineA, lines, unpost, repost);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_posting: %s\n", e.what());
        return 1;
    }
    return 0;
}
