// The grid's table model: cell texts in one flat array, colours and
// alignment per cell, merges, sorting and batched changes.
#include "platform/Grid.h"

#include <QStringEncoder>
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
