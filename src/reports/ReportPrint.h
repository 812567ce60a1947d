#pragma once
// The print of a report list through the print window: the print right,
// a list that has rows, then the grid's rows staged with the window caption
// and the totals row's quantity and amount as named values.

#include <QString>

class Grid;
class QWidget;
struct App;

struct ReportListPrint {
    QString pid;           // layout id
    QString templateFile;  // default template in the program folder
    int lastCol = 0;       // columns 0..lastCol are staged as F1..
    int qtyCol = 0;        // totals row cells handed over as SumSL and SumJE
    int amountCol = 0;
    bool goodsRowsOnly = false;  // leave out rows without a goods code (the totals row)
    bool rowNumber = false;      // stage the grid row number after the cells
};

void PrintReportList(App& app, QWidget* window, Grid* grid, const ReportListPrint& print);
