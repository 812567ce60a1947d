#pragma once
// Spreadsheet and text files in and out, in place of the old engine's Excel
// driver.
//
// Writing: .xlsx through libxlsxwriter and CSV as UTF-8 with a byte-order
// mark and CR LF. Both write to a temporary name in the target folder and
// take the real name only when complete, and never replace an existing file:
// a file under the real name is always whole and never someone else's.
//
// Reading: the kind is told by the file's content, not its name: a zip
// package (.xlsx, read with libzip and QXmlStreamReader), an OLE compound file
// (.xls, read with freexl) or text (CSV / TXT, UTF-8 with or without a BOM, or
// GB18030). Every cell arrives as text, as the spreadsheet shows it: whole
// numbers without a decimal point, dates as yyyy-MM-dd, empty for an empty
// or unreadable cell.
//
// Every failure is a SpreadsheetError whose message is a Chinese sentence
// fit to show the user; reading never writes anything.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <exception>
#include <memory>

class SpreadsheetError : public std::exception {
public:
    explicit SpreadsheetError(QString message);
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Limits that keep a hostile or broken file from exhausting memory.
namespace SheetLimits {
constexpr int MaxRows = 1048576;           // the format's own limit
constexpr int MaxCols = 16384;
constexpr qint64 MaxCells = 20000000;      // rows x columns of one sheet
constexpr qint64 MaxXmlBytes = 1LL << 30;  // one unpacked part of an .xlsx
constexpr qint64 MaxTextBytes = 512LL << 20;
}  // namespace SheetLimits

// ---- writing ----------------------------------------------------------------

// One new .xlsx workbook with one sheet, written row by row (row 0 first).
class XlsxWriter {
public:
    // Fails when `path` exists or its folder cannot be written.
    XlsxWriter(const QString& path, const QString& sheetName);
    ~XlsxWriter();  // an unfinished workbook leaves no file behind
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    void text(int row, int col, const QString& value);
    void number(int row, int col, double value);
    // Writes the file and gives it its real name.
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A new text file written as UTF-8 with BOM, each line ended by CR LF.
class CsvWriter {
public:
    explicit CsvWriter(const QString& path);  // fails when `path` exists
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;
    void line(const QString& text);
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// ---- reading ----------------------------------------------------------------

enum class SheetFileKind { Xlsx, Xls, Text };

// The kind by content. Throws for a missing, unreadable or empty file.
SheetFileKind DetectSheetFile(const QString& path);

// The sheet names of a workbook (.xlsx or .xls), in workbook order. Throws
// when the file is no workbook (text files included).
QStringList SheetNames(const QString& path);

// Every row of one sheet, its first row included, as texts; rows are as long
// as the widest row. Throws for an unknown sheet or a broken file.
QVector<QStringList> ReadSheet(const QString& path, const QString& sheet);

// A text file's lines split at every comma (no quoting; the text after the
// last comma is a field only when not empty; an empty line has no fields).
QVector<QStringList> ReadTextFile(const QString& path);

// Bytes of a text file as text: UTF-8 (with or without BOM) when they are
// valid UTF-8, else GB18030. Throws for binary data (NUL bytes, UTF-16) and
// for bytes that are neither.
QString DecodeTextBytes(const QByteArray& bytes);

// "A", "B", ... "Z", "AA" ...: the spreadsheet's name of a 0-based column.
QString ColumnLetters(int col);
