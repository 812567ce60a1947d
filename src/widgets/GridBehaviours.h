#pragma once
// Behaviours every list grid shares, written once and attached to a Grid by
// its window: the right-click popup (copy a cell, colour a row and store the
// colour with the record), painting stored row colours when a list is filled,
// sorting by a column from a header click, the record position in the main
// window's status line, and giving that line back to the account-set name
// when the window goes away.
//
// Edit state: a window that can be adding or editing a record exposes the Qt
// property `Edstu` (int; 0 = browsing). The main window's exit, the account-set
// switch and the grid popup read it through EditStateOf.
//
// A list window attaches them once, after building its grid; each is owned
// by the grid (or the window) it watches:
//   new GridContextMenu(app, GD, RowColourTarget::byColumn("TA1", "F1", GD, 0));
//   new ColumnSortMenu(GD, [](int c) { return c >= 11 && c <= 13 ? ColumnSortMenu::Kind::Number
//                                                                  : ColumnSortMenu::Kind::Text; }, 4);
//   new RecordStatusLine(app, GD);
//   new StatusPanelRestore(app, this);
// and after each fill from a record set selecting BColor and FColor:
//   RowColourMarks(GD, rs);

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class Grid;
class QWidget;
class RecordSet;
struct App;

// Status panel 4 shows the open account set's name again (the file's base
// name for a set opened from the command line, which has none).
void ShowAccountSetInStatusBar(App& app);
// Status panel 4 shows the "please wait, loading" text.
void ShowLoadingInStatusBar(App& app);

// The edit state of the window that holds `w`: the `Edstu` property of `w`
// or of its nearest ancestor that has one; 0 when none has it.
int EditStateOf(const QWidget* w);

// Where a grid's row colours are kept: the table and the columns that
// identify a row, with a function giving their values for a grid row.
struct RowColourTarget {
    QString table;          // "" = copy-only grid
    QStringList keyColumns; // e.g. {"F1"} or {"F1", "F0", "Oid"}
    std::function<QVariantList(int row)> keyValues;

    bool copyOnly() const { return table.isEmpty(); }
    // The common case: one key column read from a grid column.
    static RowColourTarget byColumn(const QString& table, const QString& keyColumn, const Grid* grid, int gridCol);
};

// Right-click popup of a list grid: copy the cell text, and on record grids
// set the row's background or text colour, written to the row's record at once.
// A right click on the header, or while the window edits (Edstu >= 1), shows nothing.
class GridContextMenu : public QObject {
    Q_OBJECT
public:
    GridContextMenu(App& app, Grid* grid, RowColourTarget target = {});

    // Runs the whole popup for the cell at (row, col): the menu at `globalPos`,
    // then the colour write for the chosen item.
    void popupAt(int row, int col, const QPoint& globalPos);

private:
    void copyCell();
    void chooseColour(int index);
    void writeColour(int row, int index);
    App& m_app;
    Grid* m_grid;
    RowColourTarget m_target;
};

// Paints the stored colours of a filled list: record i of `rs` (columns
// BColor and FColor, null as 0) colours every cell of grid row firstRow + i.
// Colour values as Grid::colorToValue gives them; 0 keeps the default.
void RowColourMarks(Grid* grid, const RecordSet& rs, int firstRow = 1);
// Paints one grid row with stored colours; 0 leaves that colour at the default.
void PaintRowColours(Grid* grid, int row, qint64 back, qint64 fore);

// True when the selection is one whole column of data rows, as a click on
// its header leaves it. Row highlighting leaves such a selection alone, so
// that the header's sort menu is offered.
bool WholeColumnSelected(const Grid* grid);

// Codes, units and telephone numbers are text even when they are all digits:
// every data column stands left but the `numberColumns`, which stand right.
void AlignTextAndNumbers(Grid* grid, const QList<int>& numberColumns);

// Header click on a list grid offers "按<column>排序". Text columns sort
// ascending, then descending on the next text sort (code 5 / 6, case ignored);
// number columns likewise (code 3 / 4). The last sort code is shared by all
// columns of the grid. A totals row (a last row with a cell "合计…") always
// stays last. Row colours move with their rows.
class ColumnSortMenu : public QObject {
    Q_OBJECT
public:
    enum class Kind { None, Text, Number };
    // minRows: sorting is offered only when the grid has more rows than this
    // (header and totals row included).
    ColumnSortMenu(Grid* grid, std::function<Kind(int col)> kindOf, int minRows = 1);

    // Offers the sort for column `col` at `globalPos` when the selection is
    // that whole column of data (what a header click gives).
    void offerAt(int col, const QPoint& globalPos);
    // The sort itself, as the menu item runs it.
    void sortBy(int col);
    qint16 lastSortCode() const { return m_lastCode; }

private:
    Grid* m_grid;
    std::function<Kind(int col)> m_kindOf;
    int m_minRows;
    qint16 m_lastCode = 0;
};

// Keeps status panel 4 at "共 n 条记录 当前为第 r 条" while the current row
// of a list moves, and highlights the current row.
class RecordStatusLine : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool highlightRow = true;  // stretch the selection along the current row:
        int rightCol = -1;         //   to this column (-1 = the last) when the current column
        int middleCol = -1;        //   lies left of this one (-1 = half the columns), else to column 0
        bool totalsRow = false;    // the last row is a totals row: records = rows - 2, "无信息" when empty
        QString emptyText;         // shown when the list holds no record ("" = count as usual)
    };
    RecordStatusLine(App& app, Grid* grid, Options options);
    RecordStatusLine(App& app, Grid* grid) : RecordStatusLine(app, grid, Options{}) {}

    // Writes the status text for the grid's current row.
    void update();

private:
    App& m_app;
    Grid* m_grid;
    Options m_opt;
};

// Puts the account-set name back into status panel 4 when `window` is
// hidden or destroyed.
class StatusPanelRestore : public QObject {
    Q_OBJECT
public:
    StatusPanelRestore(App& app, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    App& m_app;
};
