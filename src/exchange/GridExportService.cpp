#include "exchange/GridExportService.h"

#include "platform/Grid.h"
#include "platform/Database.h"
#include "platform/Spreadsheet.h"
#include "platform/WholeFile.h"

#include <QBuffer>

#include <QImage>

#include <optional>

namespace {

constexpr int WorkbookColumns = 30;
const QChar CR(13);

bool visible(const Grid* g, int col) { return g->colWidth(col) > 1; }

bool numeric(const GridExportSource& src, int col)
{
    return col > 0 && col < src.colKinds.size() && src.colKinds.at(col) == 1;
}

// The figure of a number column's cell: a bare number, or a quantity shown with its
// unit ("12 个"), which goes out as its number. Anything else stays text.
std::optional<double> figureOf(const QString& cell)
{
    const QString t = cell.trimmed();
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        return v;
    const int blank = t.indexOf(QLatin1Char(' '));
    if (blank > 0) {
        const double lead = t.left(blank).toDouble(&ok);
        if (ok)
            return lead;
    }
    return std::nullopt;
}

// The workbook columns: column 0 (when visible) and the visible columns up to 29.
QVector<int> workbookColumns(const GridExportSource& src)
{
    QVector<int> cols;
    const int last = qMin(src.grid->cols(), WorkbookColumns);
    for (int k = 0; k < last; ++k)
        if (visible(src.grid, k))
            cols << k;
    return cols;
}

int firstRow(const GridExportSource& src) { return src.firstDataRow < 1 ? 1 : src.firstDataRow; }

}  // namespace

QStringList WorkbookColumnNames(const GridExportSource& src)
{
    // Names are made unique the way a select list would be checked: a name
    // is taken when "[name]" does not yet occur among the names before it;
    // a repeated name renumbers the first one to name1 and goes on from 2.
    QStringList names;
    auto taken = [&names](const QString& n) { return names.contains(n); };
    const int headerRow = firstRow(src) - 1;
    for (int k : workbookColumns(src)) {
        const QString h = src.grid->textMatrix(headerRow, k);
        if (h.trimmed().isEmpty()) {
            names << (numeric(src, k) ? QStringLiteral("V%1") : QStringLiteral("F%1")).arg(k + 1);
            continue;
        }
        QString name = h;
        if (!taken(h) && !taken(h + QLatin1Char('1'))) {
            name = h;
        } else {
            int n = 2;
            if (taken(h)) {
                names.replace(names.indexOf(h), h + QLatin1Char('1'));
            } else {
                n = 3;
            }
            while (taken(h + QString::number(n)))
                ++n;
            name = h + QString::number(n);
        }
        names << name;
    }
    return names;
}

void ExportGridToWorkbook(const GridExportSource& src, const QString& path, const ExportProgress& progress)
{
    const Grid* g = src.grid;
    const QVector<int> cols = workbookColumns(src);
    const QStringList names = WorkbookColumnNames(src);
    XlsxWriter w(path, QStringLiteral("mysheet"));
    for (int i = 0; i < cols.size(); ++i)
        w.text(0, i, names.at(i));
    int out = 1;
    for (int r = firstRow(src); r < g->rows(); ++r, ++out) {
        for (int i = 0; i < cols.size(); ++i) {
            const int k = cols.at(i);
            const QString cell = g->textMatrix(r, k);
            if (numeric(src, k)) {
                const std::optional<double> v = figureOf(cell);
                if (v)
                    w.number(out, i, *v);
                else
                    w.text(out, i, cell);
            } else {
                w.text(out, i, cell);
            }
        }
        if (progress)
            progress(r);
    }
    w.finish();
}

QString ProtectLeadingZeros(const QString& cell, int row, const QString& header, QString& note)
{
    if (!cell.startsWith(QLatin1Char('0')))
        return cell;
    for (int p = 2; p <= cell.size(); ++p) {
        const QChar c = cell.at(p - 1);
        const bool pass = c.isDigit() && c.unicode() < 128 ? true : (p >= 3 && c == QLatin1Char('.'));
        if (!pass)
            return cell;
    }
    if (note.isEmpty())
        note = QStringLiteral("系统中个别") + header + QStringLiteral("是以0开头的数字形式，") + CR +
               QStringLiteral("为保证在ExcelCSV文件中不被转换为数字，导出数据时做了适当处理。如： ") + CR +
               QStringLiteral("第 %1 行[%2]修改为[#%2]").arg(row).arg(cell);
    return QLatin1Char('#') + cell;
}

QString ProtectFormulaStart(const QString& cell)
{
    if (cell.isEmpty())
        return cell;
    const QChar c = cell.at(0);
    if (c != QLatin1Char('=') && c != QLatin1Char('+') && c != QLatin1Char('-') && c != QLatin1Char('@'))
        return cell;
    bool number = false;
    cell.toDouble(&number);
    return number ? cell : QLatin1Char('\'') + cell;
}

QString ExportGridToCsv(const GridExportSource& src, const QString& path, const ExportProgress& progress)
{
    const Grid* g = src.grid;
    QString note;
    CsvWriter w(path);
    if (!src.header.isEmpty())
        w.line(src.header);
    QVector<int> cols;
    for (int k = 0; k < g->cols(); ++k)
        if (visible(g, k))
            cols << k;
    for (int r = 0; r < g->rows(); ++r) {
        QString line;
        for (int k : cols) {
            QString cell = g->textMatrix(r, k);
            cell.replace(QLatin1Char(','), QLatin1Char('/'));
            cell.remove(QChar(13));
            cell.remove(QChar(10));
            if (!(k < src.colKinds.size() && src.colKinds.at(k) == 1))
                cell = ProtectLeadingZeros(cell, r, g->textMatrix(0, k), note);
            cell = ProtectFormulaStart(cell);
            line += cell;
            line += QLatin1Char(',');
        }
        w.line(line);
        if (progress)
            progress(r);
    }
    if (!src.footer.isEmpty())
        w.line(src.footer);
    if (!note.isEmpty()) {
        w.line(QStringLiteral(","));
        w.line(QStringLiteral(","));
        w.line(QLatin1Char(',') + note);
    }
    w.finish();
    return note;
}

void ExportGridToPicture(const Grid* grid, const QString& path)
{
    const QImage image = grid->picture();
    if (image.isNull())
        throw SpreadsheetError(QStringLiteral("表格太大，无法保存为图片，请改用Excel文件格式导出。"));
    if (QFileInfo::exists(path))
        throw SpreadsheetError(QStringLiteral("已经存在[%1]这个文件，导出不会覆盖已有的文件。").arg(path));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 90))
        throw SpreadsheetError(QStringLiteral("表格太大，无法保存为图片，请改用Excel文件格式导出。"));
    try {
        PartialFile file(path);
        file.write(bytes);
        file.commit(false);
    } catch (const DbError& e) {
        throw SpreadsheetError(e.description());
    }
}
