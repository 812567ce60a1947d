#include "platform/Spreadsheet.h"

#include "platform/Database.h"
#include "platform/WholeFile.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <cmath>
#include <cerrno>

#include <freexl.h>
#include <xlsxwriter.h>
#include <zip.h>

SpreadsheetError::SpreadsheetError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

namespace {

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

[[noreturn]] void fail(const QString& text) { throw SpreadsheetError(text); }

[[noreturn]] void brokenWorkbook(const QString& path)
{
    fail(QStringLiteral("文件[%1]不是可以读取的Excel工作簿，或者文件已经损坏。").arg(fileName(path)));
}

[[noreturn]] void tooLarge(const QString& path)
{
    fail(QStringLiteral("文件[%1]的数据量太大（超过 %2 行、%3 列或 %4 个单元格），无法读入。")
             .arg(fileName(path))
             .arg(SheetLimits::MaxRows)
             .arg(SheetLimits::MaxCols)
             .arg(SheetLimits::MaxCells));
}

void refuseExisting(const QString& path)
{
    if (QFileInfo::exists(path))
        fail(QStringLiteral("已经存在[%1]这个文件，导出不会覆盖已有的文件。").arg(path));
}

// Whole numbers without a decimal point, others in up to 15 significant digits.
QString numberText(double v)
{
    if (!std::isfinite(v))
        return QString();
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

QString serialDateText(double serial, bool date1904, bool withDate, bool withTime)
{
    if (serial < 0 || serial > 2958466)
        return numberText(serial);
    double whole = std::floor(serial);
    double frac = serial - whole;
    int secs = int(std::lround(frac * 86400.0));
    if (secs >= 86400) {
        secs -= 86400;
        whole += 1;
    }
    QDate d;
    if (date1904)
        d = QDate(1904, 1, 1).addDays(qint64(whole));
    else if (whole >= 61)
        d = QDate(1899, 12, 30).addDays(qint64(whole));
    else  // the 1900 system counts a 29 February 1900 that never was
        d = QDate(1899, 12, 31).addDays(qint64(whole) - 1);
    const QTime t = QTime(0, 0).addSecs(secs);
    if (withDate && withTime && secs != 0)
        return d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + t.toString(QStringLiteral("hh:mm:ss"));
    if (!withDate || (whole == 0 && withTime && !date1904))
        return t.toString(QStringLiteral("hh:mm:ss"));
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}


// A failure of the whole-file layer, told the way the spreadsheet writers tell theirs.
[[noreturn]] void failWrite(const DbError& e) { fail(e.description()); }

// The cause of a failed workbook write, in Chinese: the library's own texts
// are English, and a full disk shows itself by the space left in the folder.
QString workbookFailureCause(const QString& folder, lxw_error err)
{
    if (DiskFullAt(folder))
        return FileErrorCause(ENOSPC);
    if (err == LXW_ERROR_CREATING_XLSX_FILE || err == LXW_ERROR_CREATING_TMPFILE)
        return FileErrorCause(EACCES);
    return QStringLiteral("写入过程出错（代码 %1）").arg(int(err));
}

}  // namespace

QString ColumnLetters(int col)
{
    QString s;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        s.prepend(QChar(u'A' + (c - 1) % 26));
    return s;
}

// ---- XlsxWriter ----------------------------------------------------------------

struct XlsxWriter::Impl {
    QString target;
    std::unique_ptr<PartialFile> partial;
    lxw_workbook* wb = nullptr;
    lxw_worksheet* ws = nullptr;
    bool finished = false;
};

XlsxWriter::XlsxWriter(const QString& path, const QString& sheetName) : d(std::make_unique<Impl>())
{
    refuseExisting(path);
    d->target = path;
    try {
        d->partial = std::make_unique<PartialFile>(path);
    } catch (const DbError& e) {
        failWrite(e);
    }
    lxw_workbook_options opt{};
    opt.constant_memory = LXW_TRUE;
    opt.use_zip64 = LXW_TRUE;
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    // The library's scratch files go beside the workbook, so that one disk
    // decides whether the export fits.
    opt.tmpdir = const_cast<char*>(folder.constData());
    d->wb = workbook_new_opt(QFile::encodeName(d->partial->path()).constData(), &opt);
    if (!d->wb)
        fail(QStringLiteral("无法创建Excel工作簿[%1]。").arg(path));
    d->ws = workbook_add_worksheet(d->wb, sheetName.toUtf8().constData());
}

XlsxWriter::~XlsxWriter()
{
    if (!d->finished && d->wb)
        workbook_close(d->wb);  // frees the workbook; the partial file goes with d
}

void XlsxWriter::text(int row, int col, const QString& value)
{
    if (value.isEmpty())
        return;
    // A cell holds at most 32 767 characters.
    const QByteArray utf8 = (value.size() > 32767 ? value.left(32767) : value).toUtf8();
    worksheet_write_string(d->ws, lxw_row_t(row), lxw_col_t(col), utf8.constData(), nullptr);
}

void XlsxWriter::number(int row, int col, double value)
{
    worksheet_write_number(d->ws, lxw_row_t(row), lxw_col_t(col), value, nullptr);
}

void XlsxWriter::finish()
{
    const lxw_error err = workbook_close(d->wb);
    d->wb = nullptr;
    d->finished = true;
    if (err != LXW_NO_ERROR)
        fail(QStringLiteral("写入Excel工作簿[%1]时出错：%2。")
                 .arg(d->target, workbookFailureCause(QFileInfo(d->target).absolutePath(), err)));
    try {
        d->partial->commit(false);
    } catch (const DbError& e) {
        failWrite(e);
    }
}

// ---- CsvWriter -----------------------------------------------------------------

struct CsvWriter::Impl {
    std::unique_ptr<PartialFile> partial;
};

CsvWriter::CsvWriter(const QString& path) : d(std::make_unique<Impl>())
{
    refuseExisting(path);
    try {
        d->partial = std::make_unique<PartialFile>(path);
        d->partial->write("\xEF\xBB\xBF", 3);
    } catch (const DbError& e) {
        failWrite(e);
    }
}

CsvWriter::~CsvWriter() = default;

void CsvWriter::line(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes += "\r\n";
    try {
        d->partial->write(bytes);
    } catch (const DbError& e) {
        failWrite(e);
    }
}

void CsvWriter::finish()
{
    try {
        d->partial->commit(false);
    } catch (const DbError& e) {
        failWrite(e);
    }
}

// ---- detection and text --------------------------------------------------------

SheetFileKind DetectSheetFile(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile())
        fail(QStringLiteral("文件[%1]不存在。").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("无法打开文件[%1]：%2").arg(path, f.errorString()));
    const QByteArray head = f.read(8);
    if (head.isEmpty())
        fail(QStringLiteral("文件[%1]是空文件，没有可以读入的数据。").arg(fileName(path)));
    if (head.startsWith("PK\x03\x04"))
        return SheetFileKind::Xlsx;
    if (head == QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return SheetFileKind::Xls;
    return SheetFileKind::Text;
}

QString DecodeTextBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.contains('\0'))
        fail(QStringLiteral("文件不是文本文件，或使用了不支持的编码（如UTF-16）。请把文件另存为CSV（逗号分隔）格式后再读入。"));
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(body);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder gb("GB18030");
    if (gb.isValid()) {
        QString text = gb.decode(body);
        if (!gb.hasError() && !text.contains(QChar::ReplacementCharacter))
            return text;
    }
    fail(QStringLiteral("文件的文字编码无法识别。请把文件另存为UTF-8或GBK（GB18030）编码的CSV文件后再读入。"));
}

QVector<QStringList> ReadTextFile(const QString& path)
{
    DetectSheetFile(path);
    QFile f(path);
    if (f.size() > SheetLimits::MaxTextBytes)
        tooLarge(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("无法打开文件[%1]：%2").arg(path, f.errorString()));
    QString text;
    try {
        text = DecodeTextBytes(f.readAll());
    } catch (const SpreadsheetError& e) {
        fail(QStringLiteral("文件[%1]：").arg(fileName(path)) + e.message());
    }
    QVector<QStringList> rows;
    qsizetype start = 0;
    qint64 cells = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).mid(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        start = end + 1;
        QStringList fields;
        qsizetype from = 0;
        for (;;) {
            const qsizetype comma = line.indexOf(QLatin1Char(','), from);
            if (comma < 0) {
                if (from < line.size())
                    fields << line.mid(from).toString();
                break;
            }
            fields << line.mid(from, comma - from).toString();
            from = comma + 1;
            if (fields.size() > SheetLimits::MaxCols)
                tooLarge(path);
        }
        if (fields.size() > SheetLimits::MaxCols || rows.size() >= SheetLimits::MaxRows)
            tooLarge(path);
        cells += fields.size();
        if (cells > SheetLimits::MaxCells)
            tooLarge(path);
        rows << fields;
    }
    return rows;
}

// ---- .xlsx ---------------------------------------------------------------------

namespace {

struct ZipArchive {
    zip_t* z = nullptr;
    QString path;
    explicit ZipArchive(const QString& p) : path(p)
    {
        int err = 0;
        z = zip_open(QFile::encodeName(p).constData(), ZIP_RDONLY, &err);
        if (!z)
            brokenWorkbook(p);
    }
    ~ZipArchive()
    {
        if (z)
            zip_discard(z);
    }
    bool has(const QString& name) const { return zip_name_locate(z, name.toUtf8().constData(), 0) >= 0; }
    QByteArray read(const QString& name) const
    {
        const QByteArray n = name.toUtf8();
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(z, n.constData(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            brokenWorkbook(path);
        if (qint64(st.size) > SheetLimits::MaxXmlBytes)
            tooLarge(path);
        zip_file_t* f = zip_fopen(z, n.constData(), 0);
        if (!f)
            brokenWorkbook(path);
        QByteArray data(qsizetype(st.size), Qt::Uninitialized);
        qint64 got = 0;
        while (got < qint64(st.size)) {
            const zip_int64_t r = zip_fread(f, data.data() + got, st.size - got);
            if (r <= 0)
                break;
            got += r;
        }
        zip_fclose(f);
        if (got != qint64(st.size))
            brokenWorkbook(path);
        return data;
    }
};

struct SheetRef {
    QString name;
    QString part;  // path inside the package
};

struct Workbook {
    QVector<SheetRef> sheets;
    bool date1904 = false;
    QString sharedStringsPart = QStringLiteral("xl/sharedStrings.xml");
    QString stylesPart = QStringLiteral("xl/styles.xml");
};

QString resolvePart(const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QString t = target;
    QString base = QStringLiteral("xl/");
    while (t.startsWith(QLatin1String("../"))) {
        t = t.mid(3);
        base.clear();
    }
    return base + t;
}

Workbook readWorkbook(const ZipArchive& zip)
{
    if (!zip.has(QStringLiteral("xl/workbook.xml")))
        brokenWorkbook(zip.path);
    QHash<QString, QString> targets;
    Workbook wb;
    if (zip.has(QStringLiteral("xl/_rels/workbook.xml.rels"))) {
        QXmlStreamReader x(zip.read(QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (x.readNextStartElement() || !x.atEnd()) {
            if (x.isStartElement() && x.name() == QLatin1String("Relationship")) {
                const auto a = x.attributes();
                const QString part = resolvePart(a.value(QLatin1String("Target")).toString());
                const QString type = a.value(QLatin1String("Type")).toString();
                targets.insert(a.value(QLatin1String("Id")).toString(), part);
                if (type.endsWith(QLatin1String("/sharedStrings")))
                    wb.sharedStringsPart = part;
                else if (type.endsWith(QLatin1String("/styles")))
                    wb.stylesPart = part;
            }
            if (x.hasError())
                brokenWorkbook(zip.path);
        }
    }
    QXmlStreamReader x(zip.read(QStringLiteral("xl/workbook.xml")));
    int index = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == QLatin1String("workbookPr")) {
            const auto v = x.attributes().value(QLatin1String("date1904"));
            wb.date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (x.name() == QLatin1String("sheet")) {
            ++index;
            SheetRef s;
            const auto a = x.attributes();
            s.name = a.value(QLatin1String("name")).toString();
            QString rid;
            for (const auto& attr : a)
                if (attr.name() == QLatin1String("id"))
                    rid = attr.value().toString();
            s.part = targets.value(rid, QStringLiteral("xl/worksheets/sheet%1.xml").arg(index));
            wb.sheets << s;
        }
    }
    if (x.hasError())
        brokenWorkbook(zip.path);
    return wb;
}

QStringList readSharedStrings(const ZipArchive& zip, const QString& part)
{
    QStringList strings;
    if (!zip.has(part))
        return strings;
    QXmlStreamReader x(zip.read(part));
    QString current;
    bool inSi = false;
    int skipDepth = 0;  // inside phonetic runs, whose text is not shown
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("si")) {
                inSi = true;
                current.clear();
            } else if (x.name() == QLatin1String("rPh")) {
                ++skipDepth;
            } else if (inSi && !skipDepth && x.name() == QLatin1String("t")) {
                current += x.readElementText();
            }
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("si")) {
                strings << current;
                inSi = false;
            } else if (x.name() == QLatin1String("rPh")) {
                --skipDepth;
            }
        }
    }
    if (x.hasError())
        brokenWorkbook(zip.path);
    return strings;
}

// Whether a number format shows a date and/or a time.
struct DateStyle {
    bool date = false;
    bool time = false;
};

DateStyle formatKind(const QString& code)
{
    DateStyle k;
    bool quoted = false;
    bool bracket = false;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('['))
            bracket = true;
        if (c == QLatin1Char(']')) {
            bracket = false;
            continue;
        }
        if (bracket)
            continue;
        const QChar l = c.toLower();
        if (l == QLatin1Char('y') || l == QLatin1Char('d'))
            k.date = true;
        else if (l == QLatin1Char('h') || l == QLatin1Char('s'))
            k.time = true;
        else if (l == QLatin1Char('m'))
            k.date = true;  // months or minutes: a date or time either way
    }
    return k;
}

DateStyle builtinKind(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58))
        return {true, false};
    if (id == 22)
        return {true, true};
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47) || id == 32 || id == 33)
        return {false, true};
    return {};
}

QVector<DateStyle> readStyles(const ZipArchive& zip, const QString& part)
{
    QVector<DateStyle> xfs;
    if (!zip.has(part))
        return xfs;
    QHash<int, DateStyle> custom;
    QXmlStreamReader x(zip.read(part));
    bool inCellXfs = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("numFmt")) {
                const auto a = x.attributes();
                custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                              formatKind(a.value(QLatin1String("formatCode")).toString()));
            } else if (x.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && x.name() == QLatin1String("xf")) {
                const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
                xfs << (custom.contains(id) ? custom.value(id) : builtinKind(id));
            }
        } else if (x.isEndElement() && x.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    if (x.hasError())
        brokenWorkbook(zip.path);
    return xfs;
}

// "BC12" -> column 54, row 11 (both 0-based); false when malformed.
bool parseRef(QStringView ref, int& row, int& col)
{
    qint64 c = 0;
    int i = 0;
    while (i < ref.size() && ref[i].isLetter()) {
        c = c * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
        if (c > SheetLimits::MaxCols + 1)
            return false;
        ++i;
    }
    bool ok = false;
    const qint64 r = ref.mid(i).toLongLong(&ok);
    if (c == 0 || !ok || r < 1)
        return false;
    col = int(c - 1);
    row = r > SheetLimits::MaxRows ? SheetLimits::MaxRows : int(r - 1);
    if (r > SheetLimits::MaxRows)
        row = SheetLimits::MaxRows;
    return true;
}

QVector<QStringList> readXlsxSheet(const QString& path, const QString& sheet)
{
    ZipArchive zip(path);
    const Workbook wb = readWorkbook(zip);
    const SheetRef* ref = nullptr;
    for (const SheetRef& s : wb.sheets)
        if (s.name == sheet)
            ref = &s;
    if (!ref)
        fail(QStringLiteral("工作簿[%1]中没有名为[%2]的工作表。").arg(fileName(path), sheet));
    if (!zip.has(ref->part))
        brokenWorkbook(path);
    const QStringList shared = readSharedStrings(zip, wb.sharedStringsPart);
    const QVector<DateStyle> styles = readStyles(zip, wb.stylesPart);

    QVector<QStringList> rows;
    int width = 0;
    QXmlStreamReader x(zip.read(ref->part));
    int nextRow = 0;
    int nextCol = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == QLatin1String("row")) {
            const auto r = x.attributes().value(QLatin1String("r"));
            int row = nextRow;
            if (!r.isEmpty()) {
                bool ok = false;
                const qint64 n = r.toLongLong(&ok);
                if (!ok || n < 1)
                    brokenWorkbook(path);
                if (n > SheetLimits::MaxRows)
                    tooLarge(path);
                row = int(n - 1);
            }
            nextRow = row + 1;
            nextCol = 0;
            continue;
        }
        if (x.name() != QLatin1String("c"))
            continue;
        const auto a = x.attributes();
        int row = nextRow - 1 < 0 ? 0 : nextRow - 1;
        int col = nextCol;
        const auto r = a.value(QLatin1String("r"));
        if (!r.isEmpty() && !parseRef(r, row, col))
            brokenWorkbook(path);
        if (row >= SheetLimits::MaxRows || col >= SheetLimits::MaxCols)
            tooLarge(path);
        nextCol = col + 1;
        const QString type = a.value(QLatin1String("t")).toString();
        const int style = a.value(QLatin1String("s")).toInt();
        QString value;
        QString raw;
        bool haveRaw = false;
        // Read the cell's children: <v>, <is><t>, <f>.
        while (!x.atEnd()) {
            x.readNext();
            if (x.isEndElement() && x.name() == QLatin1String("c"))
                break;
            if (!x.isStartElement())
                continue;
            if (x.name() == QLatin1String("v")) {
                raw = x.readElementText();
                haveRaw = true;
            } else if (x.name() == QLatin1String("t")) {
                value += x.readElementText();
            } else if (x.name() == QLatin1String("rPh")) {
                x.skipCurrentElement();
            }
        }
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int i = raw.toInt(&ok);
            value = ok && i >= 0 && i < shared.size() ? shared.at(i) : QString();
        } else if (type == QLatin1String("inlineStr")) {
            // value holds the <is><t> text
        } else if (type == QLatin1String("str")) {
            value = raw;
        } else if (type == QLatin1String("b")) {
            value = raw == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == QLatin1String("e")) {
            value.clear();
        } else if (haveRaw) {
            bool ok = false;
            const double v = raw.toDouble(&ok);
            if (!ok) {
                value = raw;
            } else {
                const DateStyle k = style >= 0 && style < styles.size() ? styles.at(style) : DateStyle{};
                value = (k.date || k.time) ? serialDateText(v, wb.date1904, k.date, k.time) : numberText(v);
            }
        }
        if (value.isEmpty())
            continue;
        if (row >= rows.size()) {
            if (qint64(row + 1) * qint64(qMax(width, col + 1)) > SheetLimits::MaxCells)
                tooLarge(path);
            rows.resize(row + 1);
        }
        if (col >= width) {
            if (qint64(rows.size()) * qint64(col + 1) > SheetLimits::MaxCells)
                tooLarge(path);
            width = col + 1;
        }
        QStringList& cells = rows[row];
        while (cells.size() <= col)
            cells << QString();
        cells[col] = value;
    }
    if (x.hasError())
        brokenWorkbook(path);
    for (QStringList& cells : rows)
        while (cells.size() < width)
            cells << QString();
    return rows;
}

// ---- .xls ----------------------------------------------------------------------

struct XlsHandle {
    const void* h = nullptr;
    XlsHandle(const QString& path)
    {
        if (freexl_open(QFile::encodeName(path).constData(), &h) != FREEXL_OK) {
            if (h)
                freexl_close(h);
            h = nullptr;
            brokenWorkbook(path);
        }
    }
    ~XlsHandle()
    {
        if (h)
            freexl_close(h);
    }
};

QStringList xlsSheetNames(const QString& path, const XlsHandle& x)
{
    unsigned int count = 0;
    if (freexl_get_info(x.h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        brokenWorkbook(path);
    QStringList names;
    for (unsigned short i = 0; i < count; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(x.h, i, &name) != FREEXL_OK || !name)
            brokenWorkbook(path);
        names << QString::fromUtf8(name);
    }
    return names;
}

QVector<QStringList> readXlsSheet(const QString& path, const QString& sheet)
{
    XlsHandle x(path);
    const int index = int(xlsSheetNames(path, x).indexOf(sheet));
    if (index < 0)
        fail(QStringLiteral("工作簿[%1]中没有名为[%2]的工作表。").arg(fileName(path), sheet));
    if (freexl_select_active_worksheet(x.h, static_cast<unsigned short>(index)) != FREEXL_OK)
        brokenWorkbook(path);
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(x.h, &rows, &cols) != FREEXL_OK)
        brokenWorkbook(path);
    if (qint64(rows) * qint64(cols) > SheetLimits::MaxCells)
        tooLarge(path);
    QVector<QStringList> out(static_cast<int>(rows));
    for (unsigned int r = 0; r < rows; ++r) {
        QStringList& cells = out[int(r)];
        cells.reserve(cols);
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            QString text;
            if (freexl_get_cell_value(x.h, r, c, &v) == FREEXL_OK) {
                switch (v.type) {
                case FREEXL_CELL_INT:
                    text = QString::number(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = numberText(v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    text = QString::fromUtf8(v.value.text_value);
                    break;
                default:
                    break;
                }
            }
            cells << text;
        }
    }
    // Trailing empty rows are not data.
    while (!out.isEmpty() && std::all_of(out.last().cbegin(), out.last().cend(), [](const QString& s) { return s.isEmpty(); }))
        out.removeLast();
    return out;
}

}  // namespace

QStringList SheetNames(const QString& path)
{
    switch (DetectSheetFile(path)) {
    case SheetFileKind::Xlsx: {
        ZipArchive zip(path);
        QStringList names;
        for (const SheetRef& s : readWorkbook(zip).sheets)
            names << s.name;
        if (names.isEmpty())
            brokenWorkbook(path);
        return names;
    }
    case SheetFileKind::Xls: {
        XlsHandle x(path);
        return xlsSheetNames(path, x);
    }
    case SheetFileKind::Text:
        break;
    }
    brokenWorkbook(path);
}

QVector<QStringList> ReadSheet(const QString& path, const QString& sheet)
{
    switch (DetectSheetFile(path)) {
    case SheetFileKind::Xlsx:
        return readXlsxSheet(path, sheet);
    case SheetFileKind::Xls:
        return readXlsSheet(path, sheet);
    case SheetFileKind::Text:
        break;
    }
    brokenWorkbook(path);
}
