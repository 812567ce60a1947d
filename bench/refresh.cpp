// Times the data refresh of every goods on a generated book of 2 000 goods,
// 20 attribute values and 200 000 posted lines (the running figures left as
// the saves left them): both passes, every goods and attribute value and
// every goods walked once in one transaction, as a ratio to the plain SQLite
// pass of bench_posting, which reads and rewrites the same lines' running
// columns in key order in one transaction.

#include "BookGenerator.h"
#include "accountsets/Refresh.h"
#include "core/Posting.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

QString copyOf(const QString& source, const QString& target)
{
    QFile::remove(target);
    QFile::copy(source, target);
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// The baseline of bench_posting: reads the running columns of every posted
// line in key order and writes a running sum back into them.
int plainPass(Database& db)
{
    Statement read(db, QStringLiteral("SELECT rowid, F6, S6, S7, S8, K6, K7, K8, XS6, XK6 FROM TB11 WHERE SRT <> '' "
                                      "ORDER BY F1, SRT, rowid"));
    Statement write(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, XS6 = ?, "
                                       "XK6 = ? WHERE rowid = ?"));
    double running = 0;
    int lines = 0;
    while (read.step()) {
        const double before = running;
        running += read.column(1).toDouble();
        write.bindAll({before, read.column(3), read.column(4), running, read.column(6), read.column(7), before,
                       running, read.column(0)});
        write.exec();
        ++lines;
    }
    return lines;
}

}  // namespace

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
                    spec.goods, spec.attributeValues, info.lines, info.documents, seconds(t));

        double baseline = 0;
        int lines = 0;
        {
            Database db;
            db.open(copyOf(raw, dir.filePath(QStringLiteral("plain.vxs"))));
            db.setCacheSizeKiB(WalkCacheKiB);
            t.start();
            Transaction tx(db);
            lines = plainPass(db);
            tx.commit();
            baseline = seconds(t);
        }

        Database db;
        db.open(copyOf(raw, dir.filePath(QStringLiteral("refresh.vxs"))));
        int progressCalls = 0;
        t.start();
        const int goods = RefreshGoods(db, rules, CodeCondition{},
                                       [&progressCalls](const QString&, int, int) { ++progressCalls; });
        const double refresh = seconds(t);
        std::printf("full goods refresh: %d goods in %.2f s = %.2f x plain pass (%.2f s over %d lines); "
                    "%d progress reports\n",
                    goods, refresh, refresh / baseline, baseline, lines, progressCalls);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_refresh: %s\n", e.what());
        return 1;
    }
    return 0;
}
