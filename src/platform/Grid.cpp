// The grid widget: its header of fixed rows, the current cell and
// selection, widths and colours, loading rows, and keeping the view in step
// with the model. Mouse and keys are in GridInput.cpp, the picture of the
// whole grid in GridPicture.cpp, the model in GridModel.cpp.
#include "platform/Grid.h"

#include "platform/Database.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Blanks the data cells that a merged column shows as part of the cell above.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(const GridModel* model, QObject* parent) : QStyledItemDelegate(parent), m_model(model) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_model->mergesWithAbove(index.row() + m_model->fixedRows(), index.column()))
            option->text.clear();
        // A number too wide for its cell would lose its leading digits to the
        // clip (3300.00 showing as "300.00"): it ends in "…" instead, which
        // cannot be misread. Left-aligned text keeps its plain clip.
        if (!(option->displayAlignment & Qt::AlignLeft))
            option->textElideMode = Qt::ElideRight;
    }

private:
    const GridModel* m_model;
};

}  // namespace

// ---------------------------------------------------------------- GridHeader

// The horizontal header paints all fixed rows of the grid, one above the
// other, with their merges, colours and alignment; it reports the fixed row
// and column under the mouse to the grid.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(Grid* grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setMouseTracking(true);
        setSectionResizeMode(QHeaderView::Interactive);
        setMinimumHeight(0);
        setMinimumSectionSize(1);
    }

    QSize sizeHint() const override
    {
        QSize s = QHeaderView::sizeHint();
        s.setHeight(m_grid->fixedRows() * m_grid->rowHeight());
        return s;
    }

    QPoint lastGlobalPos;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int col) const override
    {
        const GridModel* model = m_grid->gridModel();
        const int h = m_grid->rowHeight();
        for (int k = 0; k < model->fixedRows(); ++k) {
            const QRect cell(rect.x(), rect.y() + k * h, rect.width(), h);
            const auto [first, last] = model->mergedSpan(k, col);
            QRect span = cell;
            if (first != last) {
                span.setLeft(sectionViewportPosition(first) >= 0 ? sectionViewportPosition(first) : cell.left());
                const int lastPos = sectionViewportPosition(last);
                span.setRight(lastPos >= 0 ? lastPos + sectionSize(last) - 1 : cell.right());
            }
            painter->save();
            painter->setClipRect(cell, Qt::IntersectClip);
            QStyleOptionHeader opt;
            opt.initFrom(this);
            opt.rect = span;
            opt.section = col;
            opt.orientation = Qt::Horizontal;
            opt.state |= QStyle::State_Raised | QStyle::State_Horizontal;
            opt.position = QStyleOptionHeader::Middle;
            style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
            const QColor back = model->backColor(k, first);
            if (back.isValid())
                painter->fillRect(span.adjusted(0, 0, -1, -1), back);
            const QColor fore = model->foreColor(k, first);
            painter->setPen(fore.isValid() ? fore : palette().color(QPalette::ButtonText));
            painter->drawText(span.adjusted(Grid::TextMargin, 0, -Grid::TextMargin, 0), int(model->effectiveAlignment(k, first)),
                              model->text(k, first));
            painter->restore();
        }
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        track(e->position().toPoint());
        QHeaderView::mousePressEvent(e);
    }

    void mouseMoveEvent(QMouseEvent* e) override
    {
        track(e->position().toPoint());
        QHeaderView::mouseMoveEvent(e);
    }

    void mouseReleaseEvent(QMouseEvent* e) override
    {
        track(e->position().toPoint());
        lastGlobalPos = e->globalPosition().toPoint();
        QHeaderView::mouseReleaseEvent(e);
    }

private:
    void track(const QPoint& pos)
    {
        const int col = logicalIndexAt(pos);
        const int h = std::max(m_grid->rowHeight(), 1);
        const int row = pos.y() >= 0 ? pos.y() / h : -1;
        const bool inside = col >= 0 && row >= 0 && row < m_grid->fixedRows();
        m_grid->trackHeaderMouse(inside ? row : -1, inside ? col : -1);
    }

    Grid* m_grid;
};

// ---------------------------------------------------------------- Grid

QColor Grid::colorFromValue(qint64 value)
{
    if (value <= 0)
        return {};
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 Grid::colorToValue(const QColor& c)
{
    if (!c.isValid())
        return 0;
    return qint64(c.red()) | (qint64(c.green()) << 8) | (qint64(c.blue()) << 16);
}

Grid::Grid(QWidget* parent) : QTableView(parent), m_model(new GridModel(this)), m_header(new GridHeader(this))
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();

    setHorizontalHeader(m_header);
    setModel(m_model);
    // A clicked column is selected from the first data row, as the windows'
    // sort offer expects (the view alone would start at the top visible row).
    connect(m_header, &QHeaderView::sectionClicked, this, &Grid::headerSectionClicked);

    setItemDelegate(new GridDelegate(m_model, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Mouse and keys are handled here; the view only shows the selection.
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setMouseTracking(true);

    connect(m_model, &QAbstractItemModel::modelReset, this, &Grid::afterStructureChange);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &Grid::afterStructureChange);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &Grid::afterStructureChange);
    connect(m_model, &QAbstractItemModel::columnsInserted, this, &Grid::afterStructureChange);
    connect(m_model, &QAbstractItemModel::columnsRemoved, this, &Grid::afterStructureChange);
    afterStructureChange();
}

void Grid::setFixedRows(int fixed)
{
    m_model->setFixedRows(fixed);
    m_header->setVisible(m_model->fixedRows() > 0);
    m_header->updateGeometry();
    updateGeometries();
}

void Grid::setHeaders(const QStringList& captions)
{
    if (cols() < captions.size())
        setCols(int(captions.size()));
    for (int c = 0; c < captions.size(); ++c)
        setTextMatrix(0, c, captions.at(c));
}

void Grid::load(int dataRows, int cols, std::vector<QString> cells)
{
    m_model->setData(dataRows, cols, std::move(cells));
}

int Grid::loadQuery(Database& db, const QString& sql, const QVariantList& params)
{
    Statement st(db, sql);
    st.bindAll(params);
    const int cols = st.columnCount();
    std::vector<QString> cells;
    int rows = 0;
    while (st.step()) {
        for (int c = 0; c < cols; ++c)
            cells.push_back(st.text(c));
        ++rows;
    }
    load(rows, cols, std::move(cells));
    return rows;
}

bool Grid::isDataCell(int row, int col) const
{
    return row >= fixedRows() && row < rows() && col >= 0 && col < cols();
}

void Grid::setRow(int row)
{
    if (row < 0 || row >= rows())
        return;
    m_row = m_rowSel = row;
    m_colSel = m_col;
    syncView();
    notifyCurrent();
}

void Grid::setCol(int col)
{
    if (col < 0 || col >= cols())
        return;
    m_col = m_colSel = col;
    m_rowSel = m_row;
    syncView();
    notifyCurrent();
}

void Grid::setCurrent(int row, int col)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return;
    m_row = m_rowSel = row;
    m_col = m_colSel = col;
    syncView();
    notifyCurrent();
}

void Grid::setRowSel(int row)
{
    if (row < 0 || row >= rows())
        return;
    m_rowSel = row;
    syncView();
}

void Grid::setColSel(int col)
{
    if (col < 0 || col >= cols())
        return;
    m_colSel = col;
    syncView();
}

void Grid::selectRows(int fromRow, int toRow)
{
    if (fromRow < 0 || fromRow >= rows() || toRow < 0 || toRow >= rows() || cols() == 0)
        return;
    m_row = fromRow;
    m_rowSel = toRow;
    m_col = 0;
    m_colSel = cols() - 1;
    syncView();
    notifyCurrent();
}

void Grid::selectColumn(int col)
{
    if (col < 0 || col >= cols())
        return;
    if (rows() > fixedRows()) {
        m_row = fixedRows();
        m_rowSel = rows() - 1;
    }
    m_col = m_colSel = col;
    syncView();
    notifyCurrent();
}

int Grid::topRow() const
{
    const int r = rowAt(0);
    return r < 0 ? fixedRows() : r + fixedRows();
}

void Grid::setTopRow(int row)
{
    if (row < fixedRows() || row >= rows())
        return;
    scrollTo(m_model->index(row - fixedRows(), std::max(columnAt(0), 0)), QAbstractItemView::PositionAtTop);
}

int Grid::colWidth(int col) const
{
    if (col < 0 || col >= cols() || isColumnHidden(col))
        return 0;
    return pixelsToTwips(columnWidth(col));
}

void Grid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= cols())
        return;
    const int pixels = twips < 0 ? m_header->defaultSectionSize() : twipsToPixels(twips);
    if (pixels == 0) {
        setColumnHidden(col, true);
        return;
    }
    setColumnHidden(col, false);
    setColumnWidth(col, pixels);
}

int Grid::rowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void Grid::setRowColors(int row, const QColor& back, const QColor& fore)
{
    m_model->setRowBackColor(row, back);
    m_model->setRowForeColor(row, fore);
}

QColor Grid::defaultBackColor() const
{
    return palette().color(QPalette::Base);
}

QColor Grid::defaultForeColor() const
{
    return palette().color(QPalette::Text);
}

void Grid::addItem(const QString& tabSeparated, int row)
{
    m_model->insertRow(row < 0 ? rows() : row, tabSeparated.split(QLatin1Char('\t')));
}

void Grid::removeItem(int row)
{
    m_model->removeRow(row);
}

void Grid::setRedraw(bool on)
{
    if (on == m_redraw)
        return;
    m_redraw = on;
    m_model->setBatch(!on);
    setUpdatesEnabled(on);
    if (on) {
        syncView();
        viewport()->update();
        m_header->viewport()->update();
    }
}

QRect Grid::cellRect(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return {};
    if (row >= fixedRows())
        return visualRect(m_model->index(row - fixedRows(), col));
    const int h = rowHeight();
    const int width = isColumnHidden(col) ? 0 : columnWidth(col);
    return QRect(columnViewportPosition(col), -(fixedRows() - row) * h, width, h);
}

void Grid::afterStructureChange()
{
    const int f = fixedRows();
    const bool dataAppeared = m_knownRows <= f && rows() > f;
    if (m_row >= rows())
        m_row = std::max(rows() - 1, 0);
    if (dataAppeared && m_row < f)
        m_row = f;
    if (m_rowSel >= rows() || dataAppeared)
        m_rowSel = m_row;
    if (m_col >= cols())
        m_col = std::max(cols() - 1, 0);
    if (m_colSel >= cols() || m_knownCols == 0)
        m_colSel = m_col;
    m_knownRows = rows();
    m_knownCols = cols();
    m_header->updateGeometry();
    syncView();
    notifyCurrent();
}

void Grid::syncView()
{
    QItemSelectionModel* sm = selectionModel();
    if (!m_redraw || m_syncing || !sm)
        return;
    QScopedValueRollback<bool> guard(m_syncing, true);
    const int f = fixedRows();
    if (isDataCell(m_row, m_col))
        sm->setCurrentIndex(m_model->index(m_row - f, m_col), QItemSelectionModel::NoUpdate);
    else
        sm->clearCurrentIndex();
    const int r1 = std::max(std::min(m_row, m_rowSel), f);
    const int r2 = std::min(std::max(m_row, m_rowSel), rows() - 1);
    const int c1 = std::max(std::min(m_col, m_colSel), 0);
    const int c2 = std::min(std::max(m_col, m_colSel), cols() - 1);
    if (r1 <= r2 && c1 <= c2)
        sm->select(QItemSelection(m_model->index(r1 - f, c1), m_model->index(r2 - f, c2)),
                   QItemSelectionModel::ClearAndSelect);
    else
        sm->clearSelection();
}

void Grid::notifyCurrent()
{
    if (m_row == m_lastRow && m_col == m_lastCol)
        return;
    m_lastRow = m_row;
    m_lastCol = m_col;
    Q_EMIT rowColChanged(m_row, m_col);
}

// ------------------------------------------------------------ mouse and keys

void Grid::headerSectionClicked(int col)
{
    selectColumn(col);
    Q_EMIT headerClicked(col, m_header->lastGlobalPos);
}

void Grid::changeEvent(QEvent* e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        m_header->updateGeometry();
        updateGeometries();
    }
}
