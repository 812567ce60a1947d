#pragma once
// Writing one grid to a file: the three writers behind the export window.
// They read the grid and show nothing; failures are SpreadsheetError with a
// message for the user. Each writes under a temporary name and takes the
// real name only when the file is whole, never replacing an existing file.
//
// Rules the writers keep:
// - A column is exported when it is visible (width over 1 twip).
// - Workbook: only grid columns 0 to 29; column 0 always text, other columns
//   numbers where the column kind is 1; column names from the row above the
//   first data row, repeated names numbered (数量1, 数量2 ...), an empty name
//   replaced by the column's stand-in name (F3, V4 ...). Text cells stay text,
//   so "0012" keeps its zeros.
// - CSV: every row from row 0, every visible column; "," becomes "/", line
//   breaks are dropped; a text cell that reads as a number with a leading
//   zero is written with "#" before it, and the first such change is
//   described in a note appended to the file; a cell that starts with "=",
//   "+", "-" or "@" and is no number gets "'" before it, so that a
//   spreadsheet shows it as text instead of running it as a formula.
// - Picture: the whole table (all rows and visible columns), as JPEG.

#include <QString>
#include <QVector>
#include <functional>

class Grid;

struct GridExportSource {
    const Grid* grid = nullptr;
    QVector<qint16> colKinds;  // per grid column: 1 numeric
    QString header;            // CSV line before the rows ("" = none)
    QString footer;            // CSV line after the rows
    int firstDataRow = 1;      // workbook: first data row; 0 counts as 1
};

// Called after each written grid row, for a progress line.
using ExportProgress = std::function<void(int row)>;

// The workbook's column names for the exported columns, in order.
QStringList WorkbookColumnNames(const GridExportSource& src);

void ExportGridToWorkbook(const GridExportSource& src, const QString& path, const ExportProgress& progress = {});

// Returns the leading-zero note ("" when no cell was changed).
QString ExportGridToCsv(const GridExportSource& src, const QString& path, const ExportProgress& progress = {});

// "#" + cell when the cell is a leading-zero number ("007", "0", "00.5"); the
// first change of an export fills `note` (header is the column's row-0 text).
QString ProtectLeadingZeros(const QString& cell, int row, const QString& header, QString& note);

// "'" + cell when a spreadsheet would read the cell as a formula: it starts
// with "=", "+", "-" or "@" and is not a number ("-5" and "+1.5" stay).
QString ProtectFormulaStart(const QString& cell);

void ExportGridToPicture(const Grid* grid, const QString& path);
