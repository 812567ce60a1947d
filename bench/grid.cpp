// Loading, filling, sorting and painting a Grid of 100 000 rows x 12 columns,
// and a list of as many document lines read from a generated book and shown.
// Each job is printed beside a plain baseline measured in the same run:
// making the same cell texts into a std::vector<QString>, which any load has
// to do anyway. A QStandardItemModel of 10 000 rows, scaled to 100 000,
// shows what an item object per cell would cost. The list read is printed
// beside its least work: one plain SQLite statement whose cells become the
// grid's texts straight from their stored values (text from its UTF-8, a
// number written shortest), then one load and one paint.
// Usage: bench_grid [rows]

#include "BookGenerator.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/sqlcipher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <malloc.h>

namespace {

int Rows = 100000;
constexpr int Cols = 12;
constexpr int Repeats = 3;

// Texts like those of a goods list: codes, names, units, quantities, amounts.
QString cellText(int r, int c)
{
    switch (c) {
    case 0: return QStringLiteral("G%1").arg(r, 6, 10, QLatin1Char('0'));
    case 1: return QStringLiteral("货品名称%1").arg(r % 997);
    case 2: return QStringLiteral("规格%1").arg(r % 31);
    case 3: return QStringLiteral("个");
    case 4: return QString::number((r * 7919) % 10007);
    case 5: return QString::number(((r * 104729) % 100000) / 100.0, 'f', 2);
    default: return QString::number(r * c % 1000);
    }
}

std::vector<QString> makeCells(int rows)
{
    std::vector<QString> cells;
    cells.reserve(size_t(rows) * Cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < Cols; ++c)
            cells.push_back(cellText(r, c));
    return cells;
}

// Best of a few runs, in milliseconds; `prepare` runs untimed before each.
double best(const std::function<void()>& prepare, const std::function<void()>& job)
{
    double ms = 1e300;
    for (int i = 0; i < Repeats; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        job();
        ms = std::min(ms, t.nsecsElapsed() / 1e6);
    }
    return ms;
}

void paintNow(Grid& g)
{
    g.viewport()->repaint();
    QApplication::processEvents();
}

Grid* freshGrid(std::unique_ptr<Grid>& holder)
{
    holder = std::make_unique<Grid>();
    Grid* g = holder.get();
    QStringList headers;
    for (int c = 0; c < Cols; ++c)
        headers << QStringLiteral("列%1").arg(c);
    g->setHeaders(headers);
    g->resize(1200, 800);
    g->show();
    QApplication::processEvents();
    return g;
}

}  // namespace

int main(int argc, char** argv)
{
    // Keep freed memory in the process: otherwise each run also measures the
    // kernel handing out fresh pages, which varies more than the work itself.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        Rows = std::max(1000, QByteArray(argv[1]).toInt());

    // The texts outlive each run, as they do in the grid.
    std::vector<QString> kept;
    const double baseline = best([&] { kept = {}; }, [&] { kept = makeCells(Rows); });
    kept = {};

    std::unique_ptr<Grid> holder;
    std::vector<QString> cells;
    Grid* g = nullptr;
    auto loadReady = [&] {
        g = freshGrid(holder);
        cells = makeCells(Rows);
    };
    const double load = best(loadReady, [&] { g->load(Rows, Cols, std::move(cells)); });
    const double loadPaint = best(loadReady, [&] {
        g->load(Rows, Cols, std::move(cells));
        paintNow(*g);
    });

    const double fill = best([&] { g = freshGrid(holder); }, [&] {
        g->setRedraw(false);
        g->setCols(Cols);
        g->setRows(Rows + 1);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 0; c < Cols; ++c)
                g->setTextMatrix(r, c, cellText(r - 1, c));
        g->setRedraw(true);
        paintNow(*g);
    });

    auto loaded = [&] {
        g = freshGrid(holder);
        g->load(Rows, Cols, makeCells(Rows));
    };
    const double sortNumber = best(loaded, [&] { g->sortByColumn(4, true); });
    const double sortText = best(loaded, [&] { g->sortByColumn(1, true); });
    const double scroll = best(loaded, [&] {
        for (int top = 1; top < Rows; top += Rows / 20) {
            g->setTopRow(top);
            paintNow(*g);
        }
    });

    const int ItemRows = Rows / 10;
    const double items = best([] {}, [ItemRows] {
        QStandardItemModel model(ItemRows, Cols);
        for (int r = 0; r < ItemRows; ++r)
            for (int c = 0; c < Cols; ++c)
                model.setItem(r, c, new QStandardItem(cellText(r, c)));
    }) * (Rows / ItemRows);

    // A list of document lines from a generated book, read and shown.
    QTemporaryDir dir;
    BookSpec spec;
    spec.lines = Rows;
    GenerateBook(QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat"),
                 dir.filePath(QStringLiteral("list.vxs")), spec, false);
    Database db;
    db.open(dir.filePath(QStringLiteral("list.vxs")));
    const QString listSql = QStringLiteral("SELECT F0, Oid, F1, HPSX, F5, F6, F7, F8, R6, C6, SRT, SH FROM TB11 "
                                           "WHERE SRT <> '' ORDER BY SRT");
    db.query(listSql);  // pages cached alike for every run
    const double listLeast = best([&] { g = freshGrid(holder); }, [&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.handle(), listSql.toUtf8().constData(), -1, &st, nullptr);
        std::vector<QString> texts;
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < Cols; ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_NULL:
                    texts.emplace_back();
                    break;
                case SQLITE_INTEGER:
                    texts.push_back(QString::number(sqlite3_column_int64(st, c)));
                    break;
                case SQLITE_FLOAT:
                    texts.push_back(QString::number(sqlite3_column_double(st, c), 'g', QLocale::FloatingPointShortest));
                    break;
                default:
                    texts.push_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                                      sqlite3_column_bytes(st, c)));
                }
            }
            ++rows;
        }
        sqlite3_finalize(st);
        g->load(rows, Cols, std::move(texts));
        paintNow(*g);
    });
    const double listProgram = best([&] { g = freshGrid(holder); }, [&] {
        g->loadQuery(db, listSql);
        paintNow(*g);
    });
    const double listRecordSet = best([&] { g = freshGrid(holder); }, [&] {
        const RecordSet rs = db.query(listSql);
        std::vector<QString> texts;
        texts.reserve(size_t(rs.rowCount()) * Cols);
        for (int r = 0; r < rs.rowCount(); ++r)
            for (int c = 0; c < Cols; ++c)
                texts.push_back(rs.text(r, c));
        g->load(rs.rowCount(), Cols, std::move(texts));
        paintNow(*g);
    });

    std::printf("Grid, %d rows x %d columns (best of %d)\n", Rows, Cols, Repeats);
    std::printf("%-58s %10s %8s\n", "job", "ms", "ratio");
    auto line = [&](const char* job, double ms) { std::printf("%-58s %10.1f %8.2f\n", job, ms, ms / baseline); };
    line("baseline: cell texts into a std::vector<QString>", baseline);
    line("load (one model reset)", load);
    line("load + first paint", loadPaint);
    line("texts + load + first paint", baseline + loadPaint);
    line("fill cell by cell (texts included), redraw off, + paint", fill);
    line("sort a number column", sortNumber);
    line("sort a text column (Chinese code-page order)", sortText);
    line("scroll through in 20 jumps, painting each", scroll);
    line("QStandardItemModel, 10 000 rows x 10 (reference)", items);
    std::printf("\n%-58s %10s %8s\n", "list of posted lines read from the book and shown", "ms", "ratio");
    auto listLine = [&](const char* job, double ms) { std::printf("%-58s %10.1f %8.2f\n", job, ms, ms / listLeast); };
    listLine("least work: statement text -> array, load, paint", listLeast);
    listLine("Grid::loadQuery + paint (the program)", listProgram);
    listLine("RecordSet, then texts, load, paint (reference)", listRecordSet);
    return 0;
}
