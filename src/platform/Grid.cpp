#include "platform/Grid.h"

#include "platform/Database.h"

#include <QApplication>
#include <QClipboard>
#include <QStringEncoder>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>
#include <numeric>

namespace {

// Moves the cells of a rows x cols array into a new shape; cells outside the
// new shape are dropped, new cells are default. Lazy arrays that were never
// used stay empty.
template <typename T>
void relayout(std::vector<T>& v, int oldRows, int oldCols, int rows, int cols, bool lazy)
{
    if (lazy && v.empty())
        return;
    if (oldCols == cols) {
        v.resize(size_t(rows) * size_t(cols));
        return;
    }
    std::vector<T> out(size_t(rows) * size_t(cols));
    const int keepRows = std::min(oldRows, rows);
    const int keepCols = std::min(oldCols, cols);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c)
            out[size_t(r) * size_t(cols) + size_t(c)] = std::move(v[size_t(r) * size_t(oldCols) + size_t(c)]);
    v = std::move(out);
}

template <typename T>
void insertRowCells(std::vector<T>& v, size_t pos, int cols, bool lazy)
{
    if (lazy && v.empty())
        return;
    v.insert(v.begin() + std::ptrdiff_t(pos), size_t(cols), T());
}

template <typename T>
void eraseRowCells(std::vector<T>& v, size_t pos, int cols)
{
    if (v.empty())
        return;
    v.erase(v.begin() + std::ptrdiff_t(pos), v.begin() + std::ptrdiff_t(pos + size_t(cols)));
}

// Puts rows first.. in the order given (order[i] = old offset of new row i).
template <typename T>
void permuteRows(std::vector<T>& v, int first, int cols, const std::vector<int>& order)
{
    if (v.empty())
        return;
    std::vector<T> moved;
    moved.reserve(order.size() * size_t(cols));
    for (int from : order)
        for (int c = 0; c < cols; ++c)
            moved.push_back(std::move(v[size_t(first + from) * size_t(cols) + size_t(c)]));
    std::move(moved.begin(), moved.end(), v.begin() + std::ptrdiff_t(size_t(first) * size_t(cols)));
}

bool isNumber(const QString& text)
{
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

// The number a text begins with (leading blanks skipped); 0 when none.
double leadingNumber(const QString& text)
{
    const int n = int(text.size());
    int i = 0;
    while (i < n && text.at(i).isSpace())
        ++i;
    const int start = i;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    auto digits = [&] {
        const int from = i;
        while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'))
            ++i;
        return i > from;
    };
    bool any = digits();
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        any = digits() || any;
    }
    if (!any)
        return 0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
            ++j;
        if (j < n && text.at(j).isDigit()) {
            i = j;
            digits();
        }
    }
    return QStringView(text).mid(start, i - start).toDouble();
}

// Fills in the general alignment: numbers right, text left, centred vertically.
Qt::Alignment completeAlignment(Qt::Alignment a, const QString& text)
{
    if (!(a & Qt::AlignHorizontal_Mask))
        a |= isNumber(text) ? Qt::AlignRight : Qt::AlignLeft;
    if (!(a & Qt::AlignVertical_Mask))
        a |= Qt::AlignVCenter;
    return a;
}

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
    }

private:
    const GridModel* m_model;
};

constexpr int TextMargin = 3;

}  // namespace

// ---------------------------------------------------------------- GridModel

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent), m_mergeRow(1, false) {}

void GridModel::resize(int rows, int cols)
{
    relayout(m_text, m_rows, m_cols, rows, cols, false);
    relayout(m_back, m_rows, m_cols, rows, cols, true);
    relayout(m_fore, m_rows, m_cols, rows, cols, true);
    relayout(m_cellAlign, m_rows, m_cols, rows, cols, true);
    m_align.resize(cols);
    m_fixedAlign.resize(cols);
    m_mergeCol.resize(cols);
    m_rows = rows;
    m_cols = cols;
}

void GridModel::setRows(int rows)
{
    rows = std::max(rows, m_fixed);
    if (rows == m_rows)
        return;
    if (rows > m_rows) {
        beginInsertRows({}, m_rows - m_fixed, rows - m_fixed - 1);
        resize(rows, m_cols);
        endInsertRows();
    } else {
        beginRemoveRows({}, rows - m_fixed, m_rows - m_fixed - 1);
        resize(rows, m_cols);
        endRemoveRows();
    }
}

void GridModel::setCols(int cols)
{
    cols = std::max(cols, 0);
    if (cols == m_cols)
        return;
    if (cols > m_cols) {
        beginInsertColumns({}, m_cols, cols - 1);
        resize(m_rows, cols);
        endInsertColumns();
    } else {
        beginRemoveColumns({}, cols, m_cols - 1);
        resize(m_rows, cols);
        endRemoveColumns();
    }
}

void GridModel::setFixedRows(int fixed)
{
    fixed = std::max(fixed, 0);
    if (fixed == m_fixed)
        return;
    beginResetModel();
    if (m_rows < fixed)
        resize(fixed, m_cols);
    m_fixed = fixed;
    m_mergeRow.resize(fixed);
    endResetModel();
}

QString GridModel::text(int row, int col) const
{
    return inRange(row, col) ? m_text[at(row, col)] : QString();
}

void GridModel::setText(int row, int col, const QString& text)
{
    if (!inRange(row, col))
        return;
    QString& cell = m_text[at(row, col)];
    if (cell == text)
        return;
    cell = text;
    changed(row, col, row, col);
}

void GridModel::changed(int row1, int col1, int row2, int col2)
{
    if (m_batch) {
        m_pending = true;
        return;
    }
    if (col1 > col2)
        return;
    if (row1 < m_fixed)
        Q_EMIT headerDataChanged(Qt::Horizontal, col1, col2);
    const int first = std::max(row1, m_fixed);
    if (first <= row2)
        Q_EMIT dataChanged(index(first - m_fixed, col1), index(row2 - m_fixed, col2));
}

QColor GridModel::backColor(int row, int col) const
{
    if (!inRange(row, col) || m_back.empty() || !m_back[at(row, col)])
        return {};
    return QColor::fromRgb(m_back[at(row, col)]);
}

QColor GridModel::foreColor(int row, int col) const
{
    if (!inRange(row, col) || m_fore.empty() || !m_fore[at(row, col)])
        return {};
    return QColor::fromRgb(m_fore[at(row, col)]);
}

void GridModel::setColor(std::vector<QRgb>& v, int row, int col1, int col2, const QColor& c)
{
    if (row < 0 || row >= m_rows || col1 < 0 || col2 >= m_cols || col1 > col2)
        return;
    const QRgb value = c.isValid() ? c.rgb() : 0;
    if (v.empty()) {
        if (!value)
            return;
        v.assign(size_t(m_rows) * size_t(m_cols), 0);
    }
    for (int col = col1; col <= col2; ++col)
        v[at(row, col)] = value;
    changed(row, col1, row, col2);
}

void GridModel::setBackColor(int row, int col, const QColor& c)
{
    setColor(m_back, row, col, col, c);
}

void GridModel::setForeColor(int row, int col, const QColor& c)
{
    setColor(m_fore, row, col, col, c);
}

void GridModel::setRowBackColor(int row, const QColor& c)
{
    setColor(m_back, row, 0, m_cols - 1, c);
}

void GridModel::setRowForeColor(int row, const QColor& c)
{
    setColor(m_fore, row, 0, m_cols - 1, c);
}

Qt::Alignment GridModel::alignment(int col) const
{
    return col >= 0 && col < m_cols ? m_align[col] : Qt::Alignment();
}

void GridModel::setAlignment(int col, Qt::Alignment a)
{
    if (col < 0 || col >= m_cols)
        return;
    m_align[col] = a;
    if (m_rows > m_fixed)
        changed(m_fixed, col, m_rows - 1, col);
}

Qt::Alignment GridModel::fixedAlignment(int col) const
{
    return col >= 0 && col < m_cols ? m_fixedAlign[col] : Qt::Alignment();
}

void GridModel::setFixedAlignment(int col, Qt::Alignment a)
{
    if (col < 0 || col >= m_cols)
        return;
    m_fixedAlign[col] = a;
    if (m_fixed > 0)
        changed(0, col, m_fixed - 1, col);
}

Qt::Alignment GridModel::cellAlignment(int row, int col) const
{
    if (!inRange(row, col) || m_cellAlign.empty())
        return {};
    return Qt::Alignment(m_cellAlign[at(row, col)]);
}

void GridModel::setCellAlignment(int row, int col, Qt::Alignment a)
{
    if (!inRange(row, col))
        return;
    if (m_cellAlign.empty()) {
        if (!a)
            return;
        m_cellAlign.assign(size_t(m_rows) * size_t(m_cols), 0);
    }
    m_cellAlign[at(row, col)] = quint16(a.toInt());
    changed(row, col, row, col);
}

Qt::Alignment GridModel::effectiveAlignment(int row, int col) const
{
    if (!inRange(row, col))
        return Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment a = cellAlignment(row, col);
    if (!a)
        a = row < m_fixed ? m_fixedAlign[col] : m_align[col];
    return completeAlignment(a, m_text[at(row, col)]);
}

bool GridModel::mergeRow(int row) const
{
    return row >= 0 && row < m_fixed && m_mergeRow[row];
}

void GridModel::setMergeRow(int row, bool on)
{
    if (row < 0 || row >= m_fixed || m_mergeRow[row] == on)
        return;
    m_mergeRow[row] = on;
    changed(row, 0, row, m_cols - 1);
}

bool GridModel::mergeCol(int col) const
{
    return col >= 0 && col < m_cols && m_mergeCol[col];
}

void GridModel::setMergeCol(int col, bool on)
{
    if (col < 0 || col >= m_cols || m_mergeCol[col] == on)
        return;
    m_mergeCol[col] = on;
    if (m_rows > m_fixed)
        changed(m_fixed, col, m_rows - 1, col);
}

std::pair<int, int> GridModel::mergedSpan(int row, int col) const
{
    if (!inRange(row, col) || !mergeRow(row))
        return {col, col};
    const QString& t = m_text[at(row, col)];
    int first = col;
    while (first > 0 && m_text[at(row, first - 1)] == t)
        --first;
    int last = col;
    while (last + 1 < m_cols && m_text[at(row, last + 1)] == t)
        ++last;
    return {first, last};
}

bool GridModel::mergesWithAbove(int row, int col) const
{
    return row > m_fixed && row < m_rows && mergeCol(col) && m_text[at(row, col)] == m_text[at(row - 1, col)];
}

void GridModel::setData(int dataRows, int cols, std::vector<QString> cells)
{
    dataRows = std::max(dataRows, 0);
    cols = std::max(cols, 0);
    cells.resize(size_t(dataRows) * size_t(cols));

    beginResetModel();
    std::vector<QString> text;
    text.reserve(size_t(m_fixed + dataRows) * size_t(cols));
    for (int r = 0; r < m_fixed; ++r)
        for (int c = 0; c < cols; ++c)
            text.push_back(c < m_cols ? std::move(m_text[at(r, c)]) : QString());
    std::move(cells.begin(), cells.end(), std::back_inserter(text));

    // Keep the fixed rows' colours and alignments; the new rows start plain.
    const int rows = m_fixed + dataRows;
    auto keepFixed = [&](auto& v) {
        relayout(v, m_rows, m_cols, m_fixed, cols, true);
        relayout(v, m_fixed, cols, rows, cols, true);
    };
    keepFixed(m_back);
    keepFixed(m_fore);
    keepFixed(m_cellAlign);
    m_align.resize(cols);
    m_fixedAlign.resize(cols);
    m_mergeCol.resize(cols);
    m_text = std::move(text);
    m_rows = rows;
    m_cols = cols;
    m_pending = false;
    endResetModel();
}

void GridModel::insertRow(int row, const QStringList& cells)
{
    if (row < m_fixed || row > m_rows)
        return;
    beginInsertRows({}, row - m_fixed, row - m_fixed);
    const size_t pos = at(row, 0);
    insertRowCells(m_text, pos, m_cols, false);
    insertRowCells(m_back, pos, m_cols, true);
    insertRowCells(m_fore, pos, m_cols, true);
    insertRowCells(m_cellAlign, pos, m_cols, true);
    ++m_rows;
    const int n = std::min(int(cells.size()), m_cols);
    for (int c = 0; c < n; ++c)
        m_text[pos + size_t(c)] = cells.at(c);
    endInsertRows();
}

void GridModel::removeRow(int row)
{
    if (row < m_fixed || row >= m_rows)
        return;
    beginRemoveRows({}, row - m_fixed, row - m_fixed);
    const size_t pos = at(row, 0);
    eraseRowCells(m_text, pos, m_cols);
    eraseRowCells(m_back, pos, m_cols);
    eraseRowCells(m_fore, pos, m_cols);
    eraseRowCells(m_cellAlign, pos, m_cols);
    --m_rows;
    endRemoveRows();
}

void GridModel::clearData()
{
    setRows(m_fixed);
}

void GridModel::clear()
{
    for (QString& t : m_text)
        t.clear();
    m_back.clear();
    m_fore.clear();
    m_cellAlign.clear();
    if (m_rows > 0)
        changed(0, 0, m_rows - 1, m_cols - 1);
}

void GridModel::sortByColumn(int col, bool ascending)
{
    sortRows(col, SortKind::Auto, ascending, m_fixed, m_rows - 1);
}

void GridModel::sortRows(int col, SortKind kind, bool ascending, int fromRow, int toRow)
{
    if (col < 0 || col >= m_cols)
        return;
    fromRow = std::max(fromRow, m_fixed);
    toRow = std::min(toRow, m_rows - 1);
    if (toRow <= fromRow)
        return;
    const int n = toRow - fromRow + 1;
    auto cell = [&](int i) -> const QString& { return m_text[at(fromRow + i, col)]; };

    if (kind == SortKind::Auto) {
        kind = SortKind::Number;
        for (int i = 0; i < n && kind == SortKind::Number; ++i)
            if (!cell(i).trimmed().isEmpty() && !isNumber(cell(i)))
                kind = SortKind::Text;
    }

    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    if (kind == SortKind::Number) {
        std::vector<double> keys(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            keys[size_t(i)] = leadingNumber(cell(i));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return ascending ? keys[size_t(a)] < keys[size_t(b)] : keys[size_t(b)] < keys[size_t(a)];
        });
    } else {
        // Texts compare in the Chinese code page's byte order, as the
        // operators know it: digits, then Latin letters, then Chinese
        // characters (the common ones by their reading).
        QStringEncoder encoder("GB18030");
        std::vector<QByteArray> keys(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const QString lower = cell(i).toLower();
            keys[size_t(i)] = encoder.isValid() ? QByteArray(encoder.encode(lower)) : lower.toUtf8();
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return ascending ? keys[size_t(a)] < keys[size_t(b)] : keys[size_t(b)] < keys[size_t(a)];
        });
    }

    permuteRows(m_text, fromRow, m_cols, order);
    permuteRows(m_back, fromRow, m_cols, order);
    permuteRows(m_fore, fromRow, m_cols, order);
    permuteRows(m_cellAlign, fromRow, m_cols, order);
    changed(fromRow, 0, toRow, m_cols - 1);
}

void GridModel::setBatch(bool on)
{
    if (m_batch == on)
        return;
    m_batch = on;
    if (!on && m_pending) {
        m_pending = false;
        if (m_rows > 0)
            changed(0, 0, m_rows - 1, m_cols - 1);
    }
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows - m_fixed;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + m_fixed;
    const int col = index.column();
    if (!inRange(row, col))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_text[at(row, col)];
    case Qt::TextAlignmentRole:
        return int(effectiveAlignment(row, col).toInt());
    case Qt::BackgroundRole: {
        const QColor c = backColor(row, col);
        return c.isValid() ? QVariant(c) : QVariant();
    }
    case Qt::ForegroundRole: {
        const QColor c = foreColor(row, col);
        return c.isValid() ? QVariant(c) : QVariant();
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || m_fixed == 0 || section < 0 || section >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return m_text[at(0, section)];
    if (role == Qt::TextAlignmentRole)
        return int(effectiveAlignment(0, section).toInt());
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

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
            painter->drawText(span.adjusted(TextMargin, 0, -TextMargin, 0), int(model->effectiveAlignment(k, first)),
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

QImage Grid::picture() const
{
    std::vector<int> visible;
    qint64 width = 0;
    for (int c = 0; c < cols(); ++c)
        if (!isColumnHidden(c) && columnWidth(c) > 0) {
            visible.push_back(c);
            width += columnWidth(c);
        }
    const int h = rowHeight();
    const qint64 height = qint64(rows()) * h;
    // A 32-bit picture of more than 1 GB cannot be saved sensibly anyway.
    if (width == 0 || height == 0 || width > 32767 || width * height > (qint64(1) << 28))
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(defaultBackColor());

    QStyleOptionViewItem opt;
    opt.initFrom(this);
    const QColor gridColor = QColor::fromRgb(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &opt, this)));
    QPainter p(&image);
    p.setFont(font());

    auto xOf = [&](size_t i) {
        int x = 0;
        for (size_t j = 0; j < i; ++j)
            x += columnWidth(visible[j]);
        return x;
    };
    std::vector<int> xs(visible.size());
    for (size_t i = 0; i < visible.size(); ++i)
        xs[i] = xOf(i);

    for (int k = 0; k < fixedRows(); ++k) {
        const int y = k * h;
        for (size_t i = 0; i < visible.size();) {
            const int col = visible[i];
            const int last = m_model->mergedSpan(k, col).second;
            size_t j = i;
            int w = 0;
            while (j < visible.size() && visible[j] <= last)
                w += columnWidth(visible[j++]);
            const QRect r(xs[i], y, w, h);
            const QColor back = m_model->backColor(k, col);
            p.fillRect(r, back.isValid() ? back : palette().color(QPalette::Button));
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            const QColor fore = m_model->foreColor(k, col);
            p.setPen(fore.isValid() ? fore : palette().color(QPalette::ButtonText));
            p.drawText(r.adjusted(TextMargin, 0, -TextMargin, 0), int(m_model->effectiveAlignment(k, col)),
                       m_model->text(k, col));
            i = j;
        }
    }
    for (int row = fixedRows(); row < rows(); ++row) {
        const int y = row * h;
        for (size_t i = 0; i < visible.size(); ++i) {
            const int col = visible[i];
            const QRect r(xs[i], y, columnWidth(col), h);
            const QColor back = m_model->backColor(row, col);
            if (back.isValid())
                p.fillRect(r, back);
            if (!m_model->mergesWithAbove(row, col)) {
                const QColor fore = m_model->foreColor(row, col);
                p.setPen(fore.isValid() ? fore : defaultForeColor());
                p.drawText(r.adjusted(TextMargin, 0, -TextMargin, 0), int(m_model->effectiveAlignment(row, col)),
                           m_model->text(row, col));
            }
            p.setPen(gridColor);
            p.drawLine(r.topRight(), r.bottomRight());
            if (!m_model->mergesWithAbove(row + 1, col))
                p.drawLine(r.bottomLeft(), r.bottomRight());
        }
    }
    return image;
}

// ------------------------------------------------------- state and the view

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

std::pair<int, int> Grid::cellAt(const QPoint& pos, bool clampToData) const
{
    int r = rowAt(pos.y());
    int c = columnAt(pos.x());
    if (clampToData) {
        if (r < 0 && m_model->rowCount() > 0)
            r = pos.y() < 0 ? 0 : m_model->rowCount() - 1;
        if (c < 0 && cols() > 0)
            c = pos.x() < 0 ? 0 : cols() - 1;
    }
    if (r < 0 || c < 0)
        return {-1, -1};
    return {r + fixedRows(), c};
}

void Grid::trackMouse(const QPoint& viewportPos)
{
    const auto [r, c] = cellAt(viewportPos, false);
    m_mouseRow = r;
    m_mouseCol = c;
}

void Grid::trackHeaderMouse(int fixedRow, int col)
{
    m_mouseRow = fixedRow;
    m_mouseCol = col;
}

void Grid::headerSectionClicked(int col)
{
    selectColumn(col);
    Q_EMIT headerClicked(col, m_header->lastGlobalPos);
}

void Grid::mousePressEvent(QMouseEvent* e)
{
    trackMouse(e->position().toPoint());
    e->accept();
    m_pressed = false;
    // Only the left button moves the current cell; a right click leaves it
    // for the popup menu to decide.
    if (e->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    if (!isDataCell(m_mouseRow, m_mouseCol))
        return;
    if (e->modifiers() & Qt::ShiftModifier) {
        m_rowSel = m_mouseRow;
        m_colSel = m_mouseCol;
        syncView();
    } else {
        setCurrent(m_mouseRow, m_mouseCol);
    }
    m_pressed = true;
}

void Grid::mouseMoveEvent(QMouseEvent* e)
{
    trackMouse(e->position().toPoint());
    e->accept();
    if (!m_pressed || !(e->buttons() & Qt::LeftButton))
        return;
    const auto [r, c] = cellAt(e->position().toPoint(), true);
    if (!isDataCell(r, c) || (r == m_rowSel && c == m_colSel))
        return;
    m_rowSel = r;
    m_colSel = c;
    syncView();
    scrollTo(m_model->index(r - fixedRows(), c));
}

void Grid::mouseReleaseEvent(QMouseEvent* e)
{
    trackMouse(e->position().toPoint());
    e->accept();
    if (e->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    Q_EMIT clicked_(m_row, m_col);
}

void Grid::mouseDoubleClickEvent(QMouseEvent* e)
{
    trackMouse(e->position().toPoint());
    e->accept();
    // The release that follows a double click is no second click.
    m_pressed = false;
    if (e->button() == Qt::LeftButton && isDataCell(m_mouseRow, m_mouseCol))
        Q_EMIT doubleClicked_(m_row, m_col);
}

void Grid::contextMenuEvent(QContextMenuEvent* e)
{
    e->accept();
    QPoint global = e->globalPos();
    if (e->reason() == QContextMenuEvent::Mouse) {
        trackMouse(e->pos());
    } else {
        // From the keyboard: the current cell stands in for the mouse.
        if (!isDataCell(m_row, m_col))
            return;
        m_mouseRow = m_row;
        m_mouseCol = m_col;
        global = viewport()->mapToGlobal(cellRect(m_row, m_col).center());
    }
    if (isDataCell(m_mouseRow, m_mouseCol))
        Q_EMIT rightClicked(m_mouseRow, m_mouseCol, global);
}

bool Grid::moveByKey(QKeyEvent* e)
{
    const int key = e->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right
        && key != Qt::Key_PageUp && key != Qt::Key_PageDown && key != Qt::Key_Home && key != Qt::Key_End)
        return false;
    const int f = fixedRows();
    const int last = rows() - 1;
    if (last < f || cols() == 0)
        return true;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    int r = std::max(shift ? m_rowSel : m_row, f);
    int c = shift ? m_colSel : m_col;
    auto visibleFrom = [&](int from, int step) {
        for (int i = from; i >= 0 && i < cols(); i += step)
            if (!isColumnHidden(i))
                return i;
        return c;
    };
    const int page = std::max(viewport()->height() / std::max(rowHeight(), 1) - 1, 1);
    switch (key) {
    case Qt::Key_Up: r = std::max(r - 1, f); break;
    case Qt::Key_Down: r = std::min(r + 1, last); break;
    case Qt::Key_Left: c = visibleFrom(c - 1, -1); break;
    case Qt::Key_Right: c = visibleFrom(c + 1, 1); break;
    case Qt::Key_PageUp: r = std::max(r - page, f); break;
    case Qt::Key_PageDown: r = std::min(r + page, last); break;
    case Qt::Key_Home:
        if (ctrl)
            r = f;
        else
            c = visibleFrom(0, 1);
        break;
    case Qt::Key_End:
        if (ctrl)
            r = last;
        else
            c = visibleFrom(cols() - 1, -1);
        break;
    }
    if (shift) {
        m_rowSel = r;
        m_colSel = c;
        syncView();
    } else {
        setCurrent(r, c);
    }
    scrollTo(m_model->index(r - f, c));
    return true;
}

void Grid::keyPressEvent(QKeyEvent* e)
{
    QPointer<Grid> alive(this);
    Q_EMIT keyPressed(e->key(), e->modifiers(), e->text());
    if (!alive)
        return;
    if (e->matches(QKeySequence::Copy)) {
        if (isDataCell(m_row, m_col))
            QApplication::clipboard()->setText(text());
        e->accept();
        return;
    }
    if (moveByKey(e)) {
        e->accept();
        return;
    }
    // Enter belongs to the grid (windows start their editor on it); it must
    // not reach a dialog's default button.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    e->ignore();
}

void Grid::focusInEvent(QFocusEvent* e)
{
    QTableView::focusInEvent(e);
    // The view may pick a current index of its own on focus; ours wins.
    syncView();
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
