// Times the stock reports on a generated book of several years, each job as a
// ratio to the least work for it: one plain SQLite statement reading the same
// lines (or goods) with the same figures summed in SQL, on the same file with
// the same page cache, in the same run.
//
//   bench_reports [lines [goods]]     default 200 000 lines, 2 000 goods
//
// Jobs: the all-goods and the only-moved summary of the last full year, the
// detail of one goods over every year, the stock list of every goods and the
// stock per goods and attribute value; each includes making the cell texts.

#include "BookGenerator.h"
#include "platform/Database.h"
#include "reports/StockMovement.h"
#include "reports/StockStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr int Repeats = 3;
const QString Fmt = QStringLiteral("#0.00");

double best(const std::function<void()>& job)
{
    double s = 1e300;
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer t;
        t.start();
        job();
        s = std::min(s, Seconds(t));
    }
    return s;
}

// Steps a plain statement to its end, touching every column.
int plainRead(Database& db, const QString& sql, const QVariantList& params)
{
    Statement st(db, sql);
    st.bindAll(params);
    int rows = 0;
    double sink = 0;
    while (st.step()) {
        ++rows;
        for (int c = 0; c < st.columnCount(); ++c)
            sink += st.column(c).toDouble();
    }
    return rows + (sink == 0.123 ? 1 : 0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BookSpec spec;
    spec.lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200000;
    spec.goods = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 2000;
    spec.firstDate = QDate(2020, 1, 1);
    spec.days = 365 * 4;
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.vxs"));

    try {
        QElapsedTimer t;
        t.start();
        const BookInfo info = GenerateBook(templatePath, book, spec, true);
        std::printf("book: %d goods, %d posted lines in %d documents over 4 years (%.1f s, %.0f MB)\n", spec.goods,
                    info.lines, info.documents, Seconds(t), double(QFile(book).size()) / 1e6);

        Database db;
        db.open(book);
        db.setCacheSizeKiB(262144);

        StockMovementFilter year;
        year.from = QDate(2022, 1, 1);
        year.to = QDate(2022, 12, 31);
        const QVariantList yearKeys{QStringLiteral("S20220101"), QStringLiteral("S20230101")};

        std::printf("%-52s %9s %9s %7s\n", "job", "s", "least", "ratio");
        auto line = [](const char* job, double s, double least) {
            std::printf("%-52s %9.3f %9.3f %7.2f\n", job, s, least, s / least);
        };

        // Warm the cache once so every job and baseline reads from memory alike.
        plainRead(db, QStringLiteral("SELECT F1, SRT, S6, S8, R6, R8, C6, C8, K6, K8, F6, HPSX FROM TB11"), {});

        SummaryReport summary;
        auto summaryCells = [&] {
            for (const SummaryRow& r : summary.rows)
                SummaryCells(r, Fmt, Fmt);
        };
        const double yearLeast = best([&] {
            plainRead(db, QStringLiteral("SELECT F1, TOTAL(R6), TOTAL(R8), TOTAL(C6), TOTAL(C8) FROM TB11"
                                         " WHERE SRT >= ? AND SRT < ? GROUP BY F1"),
                      yearKeys);
        });
        line("summary of a year, all goods", best([&] {
                 GenerateAllGoodsSummary(db, year, Fmt, summary);
                 summaryCells();
             }),
             yearLeast);
        line("summary of a year, moved goods only", best([&] {
                 GenerateMovedGoodsSummary(db, year, Fmt, summary);
                 summaryCells();
             }),
             yearLeast);

        StockMovementFilter one;
        one.goods = BookGoodsCode(7);
        one.from = QDate(2000, 1, 1);
        one.to = QDate(2099, 12, 31);
        DetailReport detail;
        line("detail of one goods over every year", best([&] {
                 GenerateStockDetail(db, one, detail);
                 for (const DetailRow& r : detail.rows)
                     DetailCells(r, Fmt, Fmt);
             }),
             best([&] {
                 plainRead(db, QStringLiteral("SELECT d.F1, d.F2, u.F2, d.OD, g.F3, l.F1, g.F2, g.F5, g.F4, l.R6,"
                                              " l.R7, l.R8, l.C6, l.C7, l.C8, l.K6, l.K7, l.K8, l.F9 FROM TB11 l"
                                              " JOIN TA4 g ON g.F1 = l.F1 JOIN TB1 d ON d.F1 = l.F0"
                                              " LEFT JOIN TA1 u ON u.F1 = d.F3 WHERE l.F1 = ? AND l.SRT > ''"
                                              " ORDER BY l.SRT"),
                           {one.goods});
             }));

        const StockListView view;
        line("stock list, every goods", best([&] {
                 for (const StockListRow& r : ListStock(db, {}, PriceBasis::Cost))
                     StockListCells(r, view);
             }),
             best([&] {
                 plainRead(db, QStringLiteral("SELECT F1, F2, F5, F3, F4, V1, V2, F8, F7, Fje, F6 FROM TA4 ORDER BY F1"),
                           {});
             }));

        line("stock per goods and attribute value", best([&] {
                 const BatchStockReport r = ListBatchStock(db, {});
                 for (const BatchStockRow& row : r.rows)
                     BatchStockCells(row, Fmt);
             }),
             best([&] {
                 plainRead(db, QStringLiteral("SELECT F1, HPSX, TOTAL(F6), TOTAL(R8) - TOTAL(C8) FROM TB11"
                                              " WHERE SRT <> '' GROUP BY F1, HPSX"),
                           {});
             }));
    } catch (const DbError& e) {
        std::fprintf(stderr, "database error: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
