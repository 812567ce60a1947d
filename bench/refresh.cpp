// Times the data refresh of every goods on a generated book of 2 000 goods,
// 20 attribute values and 200 000 posted lines (the running figures left as
// the saves left them): both passes, every goods and attribute value and
// every goods walked once in one transaction, as a ratio to the plain SQLite
// pass that bench_posting uses (PlainPass), which reads and rewrites the same
// lines' running columns in key order in one transaction.

#include "BookGenerator.h"
#include "accountsets/Refresh.h"
#include "core/Posting.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString raw = dir.filePath(QStringLiteral("raw.vxs"));
    BookSpec spec;
    PostingRules rules;
    rules.attributeOn = true;

    try {
        QElapsedTimer t;
        t.start();
        const BookInfo info = GenerateBook(templatePath, raw, spec, false);
        std::printf("book: %d goods, %d attribute values, %d posted lines in %d documents (written in %.1f s)\n",
                    spec.goods, spec.attributeValues, info.lines, info.documents, Seconds(t));

        double baseline = 0;
        int lines = 0;
        {
            Database db;
            db.open(CopyBook(raw, dir.filePath(QStringLiteral("plain.vxs"))));
            db.setCacheSizeKiB(WalkCacheKiB);
            baseline = PlainPass(db, QStringLiteral("SRT <> ''"), {}, &lines);
        }

        Database db;
        db.open(CopyBook(raw, dir.filePath(QStringLiteral("refresh.vxs"))));
        int progressCalls = 0;
        t.start();
        const int goods = RefreshGoods(db, rules, CodeCondition{},
                                       [&progressCalls](const QString&, int, int) { ++progressCalls; });
        const double refresh = Seconds(t);
        std::printf("full goods refresh: %d goods in %.2f s = %.2f x plain pass (%.2f s over %d lines); "
                    "%d progress reports\n",
                    goods, refresh, refresh / baseline, baseline, lines, progressCalls);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_refresh: %s\n", e.what());
        return 1;
    }
    return 0;
}
