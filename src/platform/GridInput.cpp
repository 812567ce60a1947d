// Mouse and keys: which cell the mouse is over, clicks and double clicks,
// the right click that opens a window's popup menu, and moving the current
// cell by key.
#include "platform/Grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>

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
