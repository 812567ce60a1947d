#pragma once
// The members through which one window drives another window's line grid
// and its in-cell editor: the goods picker in batch-add mode and the
// spreadsheet line import call these on a document window, the product
// structure grid or the quotation grid. Column 0 is always the goods code;
// the other columns mean what the host says.
//
// What every host guarantees:
// - After TxtEnter_LostFocus() has committed a goods code that TA4 holds
//   into column 0, curMxR() is the line holding that goods (the existing line
//   when the host refused the code as a duplicate) and GdMx()->rows() - 1 is
//   the blank last row where the next goods goes.
// - GdMx_Click() places the editor at (GdMx()->row(), GdMx()->col()).

#include <QString>

class Grid;
class QLineEdit;

class LineGridHost {
public:
    virtual ~LineGridHost() = default;

    // The in-cell editor; callers set its text and its visibility.
    virtual QLineEdit* TxtEnter() = 0;
    // Commits the editor's text into (curMxR, curMxC) while adding or
    // editing and the editor is visible, and hides the editor.
    virtual void TxtEnter_LostFocus() = 0;
    // The line grid.
    virtual Grid* GdMx() = 0;
    // Commits an open editor, takes the grid's row and column as the current
    // line and column and opens the editor there when the cell may be edited.
    virtual void GdMx_Click() = 0;

    virtual int curMxR() const = 0;
    virtual void setCurMxR(int row) = 0;
    // False for a host without a current column (the quotation grid); the
    // batch pick then leaves the column alone.
    virtual bool hasCurMxC() const { return true; }
    virtual int curMxC() const = 0;
    virtual void setCurMxC(int col) = 0;

    // Hand-over text; the line import writes "OK" after it wrote lines.
    virtual QString& PubSql() = 0;
};
