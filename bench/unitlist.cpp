// Opening the supplier window on 50 000 suppliers: the window's whole load
// (list statement, read, grid fill, first status line) beside the least work
// for it, one read through the raw SQLite API of the same rows and columns in
// code order into texts, on the same file in the same run. Also the list read alone.

#include "BookGenerator.h"
#include "basicdata/A1.h"
#include "forms/RecordList.h"
#include "core/App.h"
#include "core/Kinds.h"
#include "platform/Database.h"
#include "platform/Grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr int Units = 50000;
constexpr int Repeats = 5;

double best(const std::function<void()>& job)
{
    double ms = 1e300;
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer t;
        t.start();
        job();
        ms = std::min(ms, t.nsecsElapsed() / 1e6);
    }
    return ms;
}

void fill(Database& db)
{
    Transaction tx(db);
    Statement insert(db, QStringLiteral("INSERT INTO TA1 (F1, F2, F3, F4, F5, F6, F7, NK, LB) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < Units; ++i) {
        // Codes not in insertion order, so the order by code is real work.
        const int n = int((qint64(i) * 7919) % Units);
        insert.bindAll({QStringLiteral("G%1").arg(n, 6, 10, QLatin1Char('0')), QStringLiteral("供应商名称%1").arg(n),
                        QStringLiteral("某省某市某路%1号").arg(n % 997), QStringLiteral("0755-%1").arg(n),
                        QStringLiteral("0755-9%1").arg(n), QStringLiteral("联系人%1").arg(n % 101),
                        n % 5 == 0 ? QStringLiteral("备注") : QString(), n % 13, code(UnitKind::Supplier)});
        insert.exec();
    }
    tx.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication qapp(argc, argv);
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("units.vxs"));
    QFile::copy(templatePath, path);
    try {
        App app;
        app.CurrentDatabase.open(path);
        app.OperatorCode = QStringLiteral("001");
        fill(app.CurrentDatabase);

        int rows = 0;
        const double plain = best([&] {
            std::vector<QString> cells;
            cells.reserve(size_t(Units) * 8);
            rows = RawTextRead(app.CurrentDatabase,
                               QStringLiteral("SELECT F1, F2, F3, F4, F5, F6, F7, NK FROM TA1 WHERE LB = 0 ORDER BY F1"),
                               {}, cells);
        });
        const double listed = best([&] {
            const RecordList list = ListRecords(app.CurrentDatabase,
                                                UnitListStatement(QStringLiteral("select * from ta1 "), 0), 7, 7);
            rows = list.rows;
        });
        int shown = 0;
        const double window = best([&] {
            A1 w(app);
            w.resize(1000, 700);
            w.show();
            QApplication::processEvents();
            shown = w.ListCount;
        });
        std::printf("plain SQLite read of %d suppliers: %.1f ms\n", rows, plain);
        std::printf("list read (ListRecords):           %.1f ms = %.2f x plain\n", listed, listed / plain);
        std::printf("supplier window opened, %d listed: %.1f ms = %.2f x plain\n", shown, window, window / plain);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_unitlist: %s\n", e.what());
        return 1;
    }
    return 0;
}
