#pragma once
// The one door every list, record, document and report window uses to export
// a grid: the modal export window ToExcel (spreadsheet .xlsx, CSV or picture).
//
// Calling protocol: fill app.ExportColKinds with one entry per grid column
// (1 = numeric column, anything else = text; SetExportColKinds below does it
// from a list of numeric columns), then call ToExcel. Nothing is returned;
// the window reports completion or failure to the user itself.

#include <QList>
#include <QString>

class Grid;
class QWidget;
struct App;

// Shows the export window for `grid` modally.
// - name: proposed file name without extension (the window or tab caption);
// - header / footer: lines written before / after the grid rows of a CSV ("" = none);
// - firstDataRow: first data row of the grid for the workbook (the column
//   names come from the row above it); 0 counts as 1.
void ToExcel(App& app, Grid* grid, const QString& name, const QString& header = QString(),
             const QString& footer = QString(), int firstDataRow = 1, QWidget* parent = nullptr);

// app.ExportColKinds sized to the grid's columns, 1 for the listed columns, 0 for the rest.
void SetExportColKinds(App& app, const Grid* grid, const QList<int>& numericColumns);
