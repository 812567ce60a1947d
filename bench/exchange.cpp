// Spreadsheet exchange on big inputs, each beside the least work for it in
// the same run:
// - exporting a 100 000-row grid to .xlsx, against libxlsxwriter writing the
//   same cells (same options) straight from a prepared array;
// - importing 50 000 goods, against one prepared INSERT of the same rows in
//   one transaction on a copy of the same template, with the same cache.

#include "core/Kinds.h"
#include "exchange/GridExportService.h"
#include "exchange/ImportRuns.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include <xlsxwriter.h>

namespace {

constexpr int ExportRows = 100000;
constexpr int Cols = 8;
constexpr int ImportRows = 50000;
constexpr int Repeats = 3;

QString cellText(int r, int c)
{
    switch (c) {
    case 0: return QStringLiteral("G%1").arg(r, 6, 10, QLatin1Char('0'));
    case 1: return QStringLiteral("货品名称%1").arg(r % 997);
    case 2: return QStringLiteral("规格%1").arg(r % 31);
    case 3: return QStringLiteral("个");
    case 4: return QString::number((r * 7919) % 10007);
    case 5: return QString::number(((r * 104729) % 100000) / 100.0, 'f', 2);
    case 6: return QStringLiteral("0%1").arg(r % 100);
    default: return QString::number(r * c % 1000);
    }
}

bool numericCol(int c) { return c == 4 || c == 5 || c == 7; }

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

void plainXlsx(const QString& path, const std::vector<QByteArray>& utf8, const std::vector<double>& numbers)
{
    lxw_workbook_options opt{};
    opt.constant_memory = LXW_TRUE;
    opt.use_zip64 = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(path).constData(), &opt);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "mysheet");
    for (int c = 0; c < Cols; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), utf8[size_t(c)].constData(), nullptr);
    for (int r = 0; r < ExportRows; ++r)
        for (int c = 0; c < Cols; ++c) {
            const size_t i = size_t(r + 1) * Cols + size_t(c);
            if (numericCol(c))
                worksheet_write_number(ws, lxw_row_t(r + 1), lxw_col_t(c), numbers[i], nullptr);
            else
                worksheet_write_string(ws, lxw_row_t(r + 1), lxw_col_t(c), utf8[i].constData(), nullptr);
        }
    workbook_close(wb);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString templatePath = QCoreApplication::applicationDirPath() + QStringLiteral("/nousit.dat");

    // ---- export ----
    Grid grid;
    {
        QStringList headers;
        for (int c = 0; c < Cols; ++c)
            headers << QStringLiteral("列%1").arg(c);
        grid.setCols(Cols);
        grid.setHeaders(headers);
        std::vector<QString> cells;
        for (int r = 0; r < ExportRows; ++r)
            for (int c = 0; c < Cols; ++c)
                cells.push_back(cellText(r, c));
        grid.load(ExportRows, Cols, std::move(cells));
    }
    GridExportSource src{&grid, QVector<qint16>(Cols + 1, 0)};
    for (int c = 0; c < Cols; ++c)
        src.colKinds[c] = numericCol(c) ? 1 : 0;
    std::vector<QByteArray> utf8;
    std::vector<double> numbers;
    for (int r = 0; r <= ExportRows; ++r)
        for (int c = 0; c < Cols; ++c) {
            utf8.push_back(grid.textMatrix(r, c).toUtf8());
            numbers.push_back(grid.textMatrix(r, c).toDouble());
        }
    int n = 0;
    const QString plainPath = dir.filePath(QStringLiteral("plain.xlsx"));
    const double plainExport = best([&] { QFile::remove(plainPath); }, [&] { plainXlsx(plainPath, utf8, numbers); });
    const double ourExport = best([] {}, [&] { ExportGridToWorkbook(src, dir.filePath(QStringLiteral("e%1.xlsx").arg(n++))); });

    // ---- import ----
    GridModel importGrid;
    importGrid.setCols(6);
    {
        std::vector<QString> cells;
        for (int r = 0; r < ImportRows; ++r)
            for (int c : {0, 1, 2, 3, 4, 5})
                cells.push_back(cellText(r, c));
        importGrid.setData(ImportRows, 6, std::move(cells));
        for (int c = 0; c < 6; ++c)
            importGrid.setText(0, c, QString(QChar(u'A' + c)));
    }
    GoodsImportInput in;
    in.grid = &importGrid;
    in.mapping = QStringList(GoodsFieldCount, QString());
    in.mapping[GCode] = QStringLiteral("A");
    in.mapping[GName] = QStringLiteral("B");
    in.mapping[GSpec] = QStringLiteral("C");
    in.mapping[GUnit] = QStringLiteral("D");
    in.mapping[GOpeningQty] = QStringLiteral("E");
    in.mapping[GCost] = QStringLiteral("F");
    in.defaultCategoryCode = QStringLiteral("000");
    in.defaultCategoryName = QStringLiteral("无类别");

    Database db;
    auto freshSet = [&] {
        db.close();
        const QString path = dir.filePath(QStringLiteral("set.vxs"));
        QFile::remove(path);
        QFile::copy(templatePath, path);
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        db.open(path);
    };
    const double plainImport = best(freshSet, [&] {
        Transaction tx(db);
        Statement insert(db, QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, F5, F6, F7, F71, F8, Fje, V1, V2, V3, V4, V5, "
                                            "RkF7, F701, HW, Gys, Fcplj) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                            "?, ?, ?, ?, ?, ?)"));
        for (int r = 1; r <= ImportRows; ++r) {
            const double q = importGrid.text(r, 4).toDouble();
            const double p = importGrid.text(r, 5).toDouble();
            insert.bindAll({importGrid.text(r, 0).toUpper(), importGrid.text(r, 1), QStringLiteral("000"),
                            importGrid.text(r, 3), importGrid.text(r, 2), QString(), p, 0.0, q, q * p, 0.0, 0.0, q, p,
                            q * p, 0.0, 0.0, QString(), QString(), 0});
            insert.exec();
        }
        tx.commit();
    });
    const double ourImport = best(freshSet, [&] {
        const ImportOutcome out = RunGoodsImport(db, in, [](const QString&) { return int(MB::No); });
        if (!out.ok())
            std::printf("import failed: %s\n", qPrintable(out.message));
    });

    std::printf("Spreadsheet exchange (best of %d)\n", Repeats);
    std::printf("%-58s %10s %10s %8s\n", "job", "ms", "plain ms", "ratio");
    std::printf("%-58s %10.1f %10.1f %8.2f\n", "export 100 000 rows x 8 columns to .xlsx", ourExport, plainExport,
                ourExport / plainExport);
    std::printf("%-58s %10.1f %10.1f %8.2f\n", "import 50 000 goods", ourImport, plainImport, ourImport / plainImport);
    return 0;
}
