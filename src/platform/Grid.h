#pragma once
// The one grid of the program: every list and every line grid is a Grid.
// It keeps the notions the windows were written against: rows and columns
// counted with the fixed header rows (row 0, by default the only one), cell
// text by row and column, a current cell and a selection, cell and row
// colours, column widths in twips (15 twips per pixel), alignment, and hidden
// columns as width 0.
//
// The text lives in one flat array inside GridModel; painting never touches
// the database or formats a value. Load a result with load(), which resets
// the model once. For cell-by-cell fills switch redraw off first: changes are
// then announced once when it is switched on again.
//
// Row numbers are grid rows everywhere in this interface (data rows start at
// fixedRows()); only the Qt model indexes count data rows from 0.

#include <QAbstractTableModel>
#include <QColor>
#include <QImage>
#include <QTableView>
#include <QVariantList>
#include <QVector>
#include <vector>

class Database;

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // How sortRows() compares a column.
    enum class SortKind {
        Auto,    // numbers when every non-empty cell is a number, else text
        Text,    // Chinese code page order (common characters by reading), case ignored
        Number,  // the number each text begins with; no number counts 0
    };

    explicit GridModel(QObject* parent = nullptr);

    // Counts include the fixed rows, as the windows count them. Rows never
    // drop below the fixed rows; growing keeps every existing cell.
    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    int fixedRows() const { return m_fixed; }
    void setRows(int rows);
    void setCols(int cols);
    void setFixedRows(int fixed);

    // Out-of-range reads give "", out-of-range writes are ignored.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Cell colours; an invalid colour means the grid's default.
    QColor backColor(int row, int col) const;
    QColor foreColor(int row, int col) const;
    void setBackColor(int row, int col, const QColor& c);
    void setForeColor(int row, int col, const QColor& c);
    void setRowBackColor(int row, const QColor& c);
    void setRowForeColor(int row, const QColor& c);

    // Alignment of a column's data cells and of its fixed cells, and of one
    // cell (overrides the column's). An empty alignment is the general one:
    // numbers to the right, other text to the left.
    Qt::Alignment alignment(int col) const;
    void setAlignment(int col, Qt::Alignment a);
    Qt::Alignment fixedAlignment(int col) const;
    void setFixedAlignment(int col, Qt::Alignment a);
    Qt::Alignment cellAlignment(int row, int col) const;
    void setCellAlignment(int row, int col, Qt::Alignment a);
    // What the cell is painted with: the first set of cell, column, general.
    Qt::Alignment effectiveAlignment(int row, int col) const;

    // Merging of equal neighbours: a merged fixed row joins equal cells left
    // to right; a merged column shows a data cell equal to the one above as
    // part of it.
    bool mergeRow(int row) const;
    void setMergeRow(int row, bool on);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool on);
    // First and last column of the run of equal cells that (row, col) belongs
    // to in a merged fixed row; (col, col) when not merged.
    std::pair<int, int> mergedSpan(int row, int col) const;
    // True when a data cell of a merged column repeats the cell above it.
    bool mergesWithAbove(int row, int col) const;

    using QAbstractTableModel::setData;
    // Replaces all data rows in one reset: `cells` holds dataRows x cols texts
    // in row order (data rows only; the fixed rows keep their text). The new
    // rows have default colours and alignment.
    void setData(int dataRows, int cols, std::vector<QString> cells);
    void insertRow(int row, const QStringList& cells);  // fixedRows() <= row <= rows()
    void removeRow(int row);                            // a data row; others are ignored
    void clearData();                                   // keeps the fixed rows only
    // Empties every cell, the fixed rows included, and drops cell colours and
    // cell alignments; counts, column alignment and merging stay.
    void clear();

    // Sorts all data rows by a column: numeric when every non-empty cell
    // is a number, otherwise by text; stable.
    void sortByColumn(int col, bool ascending);
    // Sorts rows fromRow..toRow (grid rows, both included) by a column,
    // stable, carrying each row's colours along. Out-of-range bounds are
    // clamped to the data rows.
    void sortRows(int col, SortKind kind, bool ascending, int fromRow, int toRow);

    // While batching, cell, colour and alignment changes are not announced
    // one by one; ending the batch announces them in one signal. Row and
    // column count changes are always announced at once.
    void setBatch(bool on);
    bool batching() const { return m_batch; }

    // QAbstractTableModel: model row r is grid row r + fixedRows(); the
    // first fixed row feeds headerData().
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    size_t at(int row, int col) const { return size_t(row) * size_t(m_cols) + size_t(col); }
    bool inRange(int row, int col) const { return row >= 0 && row < m_rows && col >= 0 && col < m_cols; }
    void resize(int rows, int cols);
    void changed(int row1, int col1, int row2, int col2);
    void setColor(std::vector<QRgb>& v, int row, int col1, int col2, const QColor& c);

    int m_rows = 1;
    int m_cols = 0;
    int m_fixed = 1;
    bool m_batch = false;
    bool m_pending = false;
    std::vector<QString> m_text;
    // Per-cell extras stay empty until first used, so a plain list costs
    // nothing beyond its text.
    std::vector<QRgb> m_back;  // 0 = default (stored with alpha, so black is not 0)
    std::vector<QRgb> m_fore;
    std::vector<quint16> m_cellAlign;  // 0 = the column's alignment
    QVector<Qt::Alignment> m_align;
    QVector<Qt::Alignment> m_fixedAlign;
    QVector<bool> m_mergeCol;
    QVector<bool> m_mergeRow;
};

class GridHeader;

class Grid : public QTableView {
    Q_OBJECT
public:
    static constexpr int TwipsPerPixel = 15;
    static int twipsToPixels(int twips) { return twips <= 0 ? 0 : (twips + TwipsPerPixel / 2) / TwipsPerPixel; }
    static int pixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

    // Colour values as the books store them (BColor, FColor) and the popup
    // protocol passes them: red + 256 * green + 65536 * blue; 0 = default.
    static QColor colorFromValue(qint64 value);
    static qint64 colorToValue(const QColor& c);

    explicit Grid(QWidget* parent = nullptr);

    GridModel* gridModel() const { return m_model; }

    // Counts with the fixed rows.
    int rows() const { return m_model->rows(); }
    int cols() const { return m_model->cols(); }
    void setRows(int rows) { m_model->setRows(rows); }
    void setCols(int cols) { m_model->setCols(cols); }
    int fixedRows() const { return m_model->fixedRows(); }
    void setFixedRows(int fixed);

    QString textMatrix(int row, int col) const { return m_model->text(row, col); }
    void setTextMatrix(int row, int col, const QString& text) { m_model->setText(row, col, text); }
    // Header captions: row 0, from column 0.
    void setHeaders(const QStringList& captions);

    // Replaces the data rows in one reset (see GridModel::setData); widths,
    // hidden columns and the fixed rows stay.
    void load(int dataRows, int cols, std::vector<QString> cells);
    // Loads a query's rows as they come, each cell's text read straight from
    // the statement (numbers as RecordSet::text gives them, null as ""), with
    // as many columns as the query has. Answers the number of data rows.
    // Throws DbError.
    int loadQuery(Database& db, const QString& sql, const QVariantList& params = {});

    // Current cell and the selected rectangle, which runs from the current
    // cell to (rowSel, colSel). Setting the row or column collapses the
    // selection onto the new current cell; code may make a fixed row current.
    int row() const { return m_row; }
    int col() const { return m_col; }
    void setRow(int row);
    void setCol(int col);
    void setCurrent(int row, int col);
    int rowSel() const { return m_rowSel; }
    int colSel() const { return m_colSel; }
    void setRowSel(int row);
    void setColSel(int col);
    // Selects whole rows: current cell (fromRow, 0), selection to (toRow, last column).
    void selectRows(int fromRow, int toRow);
    // Selects all data rows of one column, as a click on its header does.
    void selectColumn(int col);
    QString text() const { return textMatrix(row(), col()); }
    void setText(const QString& t) { setTextMatrix(row(), col(), t); }

    // Row and column under the mouse at the last mouse event (-1 = none);
    // the header reports its own rows (0 .. fixedRows() - 1).
    int mouseRow() const { return m_mouseRow; }
    int mouseCol() const { return m_mouseCol; }
    // First data row shown at the top.
    int topRow() const;
    void setTopRow(int row);

    // Column widths in twips; a width under half a pixel hides the column,
    // a negative width restores the default.
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    Qt::Alignment colAlignment(int col) const { return m_model->alignment(col); }
    void setColAlignment(int col, Qt::Alignment a) { m_model->setAlignment(col, a); }
    void setFixedAlignment(int col, Qt::Alignment a) { m_model->setFixedAlignment(col, a); }
    void setCellAlignment(int row, int col, Qt::Alignment a) { m_model->setCellAlignment(row, col, a); }
    // Height of every row, the fixed ones included, in pixels.
    int rowHeight() const;
    using QTableView::rowHeight;

    // Colours of any cell and of a whole row. Reading gives an invalid
    // colour where the grid's default is used; setting an invalid colour
    // restores the default.
    void setCellBackColor(int row, int col, const QColor& c) { m_model->setBackColor(row, col, c); }
    void setCellForeColor(int row, int col, const QColor& c) { m_model->setForeColor(row, col, c); }
    QColor cellBackColor(int row, int col) const { return m_model->backColor(row, col); }
    QColor cellForeColor(int row, int col) const { return m_model->foreColor(row, col); }
    void setRowColors(int row, const QColor& back, const QColor& fore);
    void setRowBackColor(int row, const QColor& c) { m_model->setRowBackColor(row, c); }
    void setRowForeColor(int row, const QColor& c) { m_model->setRowForeColor(row, c); }
    QColor defaultBackColor() const;
    QColor defaultForeColor() const;

    // Merging of equal neighbours (see GridModel).
    void setMergeRow(int row, bool on) { m_model->setMergeRow(row, on); }
    void setMergeCol(int col, bool on) { m_model->setMergeCol(col, on); }

    // Adds a row from tab-separated texts (at the end, or before `row`);
    // texts beyond the last column are dropped.
    void addItem(const QString& tabSeparated, int row = -1);
    void removeItem(int row);
    // Removes all data rows; keeps the fixed rows and column layout.
    void clearRows() { m_model->clearData(); }
    // Empties every cell and its colours; counts and widths stay.
    void clear() { m_model->clear(); }

    void sortByColumn(int col, bool ascending) { m_model->sortByColumn(col, ascending); }
    void sortRows(int col, GridModel::SortKind kind, bool ascending, int fromRow, int toRow)
    {
        m_model->sortRows(col, kind, ascending, fromRow, toRow);
    }

    // Redraw off stops painting and batches cell changes; on announces them
    // once and shows the current cell again.
    bool redraw() const { return m_redraw; }
    void setRedraw(bool on);

    // Rectangle of a cell in the viewport's coordinates, for placing an
    // editor over it; fixed rows lie above the viewport (negative y).
    QRect cellRect(int row, int col) const;

    // The whole grid (all rows, visible columns) as painted, for saving as a
    // picture; a null image when it is too large to hold in memory.
    QImage picture() const;

Q_SIGNALS:
    void clicked_(int row, int col);        // left button released after a press on a data cell
    void doubleClicked_(int row, int col);  // a double click on a data cell
    void rowColChanged(int row, int col);   // the current cell moved (by user or code)
    void rightClicked(int row, int col, const QPoint& globalPos);  // on a data cell; current cell unchanged
    // Every key pressed in the grid, before the grid moves its current cell.
    void keyPressed(int key, Qt::KeyboardModifiers mods, const QString& text);
    // A click on a column header, after the column was selected.
    void headerClicked(int col, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class GridHeader;
    // Blank space left and right of a cell's text, in pixels.
    static constexpr int TextMargin = 3;
    void trackMouse(const QPoint& viewportPos);
    void trackHeaderMouse(int fixedRow, int col);
    void headerSectionClicked(int col);
    std::pair<int, int> cellAt(const QPoint& viewportPos, bool clampToData) const;
    bool isDataCell(int row, int col) const;
    void afterStructureChange();
    void syncView();
    void notifyCurrent();
    bool moveByKey(QKeyEvent* e);

    GridModel* m_model;
    GridHeader* m_header;
    int m_row = 1;
    int m_col = 0;
    int m_rowSel = 1;
    int m_colSel = 0;
    int m_lastRow = 1;   // last current cell announced by rowColChanged
    int m_lastCol = 0;
    int m_knownRows = 1;  // counts seen by the last structure change
    int m_knownCols = 0;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    bool m_redraw = true;
    bool m_syncing = false;
    bool m_pressed = false;
};
