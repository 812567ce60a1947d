// The goods window and its list, the goods picker window and its searches on
// 50 000 goods,
// each beside the least work for the same rows: one statement through the raw
// SQLite API reading the same columns in the same order into texts, on the
// same file and cache, in the same run. Best of a few runs each; printed as ratios.

#include "BookGenerator.h"
#include "basicdata/A4.h"
#include "basicdata/GoodsList.h"
#include "basicdata/QueryGoods.h"
#include "basicdata/QueryGoodsSearch.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr int Goods = 50000;
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

// The baseline: the statement stepped once, every column made into a text.
int plainRead(Database& db, const QString& sql, const QVariantList& params)
{
    std::vector<QString> cells;
    return RawTextRead(db, sql, params, cells);
}

void fill(Database& db)
{
    Transaction tx(db);
    db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('01', '五金'), ('02', '电器')"));
    Statement ins(db, QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, F5, F6, F7, F71, F8, Fje, V1, V2, V3, V5, HW, Gys, "
                                     "Fcplj, BColor) VALUES (?, ?, ?, '个', ?, ?, ?, ?, ?, ?, 0, 0, 0, 0, '', '', 0, ?)"));
    for (int i = 0; i < Goods; ++i) {
        ins.bindAll({QStringLiteral("G%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("货品名称%1").arg(i % 4999),
                     i % 3 ? QStringLiteral("01") : QStringLiteral("02"), QStringLiteral("规格%1").arg(i % 31),
                     QStringLiteral("备注%1").arg(i % 101), (i % 1000) / 10.0, (i % 777) / 10.0, i % 50, i % 50 * 2.5,
                     i % 97 == 0 ? 255 : 0});
        ins.exec();
    }
    tx.commit();
}

void report(const char* job, double ms, double baseMs, int rows)
{
    std::printf("%-46s %8.1f ms = %5.2f x plain read (%.1f ms, %d rows)\n", job, ms, ms / baseMs, baseMs, rows);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication qapp(argc, argv);
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("goods.vxs"));
    QFile::copy(templatePath, book);
    try {
        App app;
        app.CurrentDatabase.open(book);
        app.OperatorCode = QStringLiteral("001");
        app.CanSeeCost = -1;
        app.CanSeeProfit = -1;
        Database& db = app.CurrentDatabase;
        fill(db);

        // The goods list: query, formatting and the grid load of all 50 000 rows.
        Grid grid;
        grid.setCols(GoodsListColumns);
        int rows = 0;
        const double list = best([&] {
            GoodsListRows r = ReadGoodsList(db, GoodsListQuery{}, QStringLiteral("#0.00"), QStringLiteral("#0.00"));
            rows = r.rows;
            grid.load(r.rows, GoodsListColumns, std::move(r.cells));
        });
        const QString listSql = GoodsListHead() + QStringLiteral("JOIN TA3 ON TA4.F3 = TA3.F1 ORDER BY TA4.F1");
        const double listBase = best([&] { plainRead(db, listSql, {}); });
        report("goods list (query, formats, grid load)", list, listBase, rows);

        // The picker's opening list: the first 1 000 goods in code order.
        GoodsSearch first;
        first.firstList = true;
        const double opening = best([&] {
            GoodsSearchResult r = SearchGoods(db, first);
            rows = r.rows;
            grid.load(r.rows, GoodsSearchColumns, std::move(r.cells));
        });
        const QString pickSql = QStringLiteral("SELECT F1, F2, F5, F8, F4, F6 FROM TA4");
        const double openingBase = best([&] { plainRead(db, pickSql + QStringLiteral(" ORDER BY F1 LIMIT 1000"), {}); });
        report("goods picker opening list (first 1 000)", opening, openingBase, rows);

        // A name search: every goods whose name contains the text.
        GoodsSearch byName;
        byName.name = QStringLiteral("名称12");
        const double search = best([&] {
            GoodsSearchResult r = SearchGoods(db, byName);
            rows = r.rows;
            grid.load(r.rows, GoodsSearchColumns, std::move(r.cells));
        });
        const double searchBase = best([&] {
            plainRead(db, pickSql + QStringLiteral(" WHERE F2 LIKE ? ESCAPE '\\' ORDER BY F1"), {QStringLiteral("%名称12%")});
        });
        report("goods picker name search", search, searchBase, rows);

        // A code search that lists everything (the preset of a short code).
        GoodsSearch byCode;
        byCode.code = QStringLiteral("G");
        const double all = best([&] {
            GoodsSearchResult r = SearchGoods(db, byCode);
            rows = r.rows;
            grid.load(r.rows, GoodsSearchColumns, std::move(r.cells));
        });
        const double allBase = best([&] {
            plainRead(db, pickSql + QStringLiteral(" WHERE F1 LIKE ? ESCAPE '\\' ORDER BY F1"), {QStringLiteral("%G%")});
        });
        report("goods picker code search (all 50 000)", all, allBase, rows);

        // The goods window opened on all of them: settings, category and
        // unit lists, the list with its colours, shown.
        // Timed until shown; closing it is not part of opening.
        double window = 1e300;
        for (int i = 0; i < Repeats; ++i) {
            QElapsedTimer t;
            t.start();
            auto* w = new A4(app, app.GoodsTerm);
            w->resize(1000, 700);
            w->show();
            QApplication::processEvents();
            window = std::min(window, t.nsecsElapsed() / 1e6);
            rows = w->ListCount;
            delete w;
        }
        report("goods window opened (A4)", window, listBase, rows);

        // The picker window opened (its first list), then a name search typed into it.
        const double pickerOpen = best([&] {
            QueryGoods picker(app);
            picker.show();
            QApplication::processEvents();
        });
        report("goods picker window opened", pickerOpen, openingBase, 1000);
        QueryGoods picker(app);
        picker.show();
        QApplication::processEvents();
        const double pickerSearch = best([&] {
            picker.Txt1->setText(QStringLiteral("名称12"));
            picker.Cmd1->click();
            QApplication::processEvents();
        });
        report("goods picker window name search", pickerSearch, searchBase, picker.GD->rows() - 1);
        picker.hide();
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_goods: %s\n", e.what());
        return 1;
    }
    return 0;
}
