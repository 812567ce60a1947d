#include "widgets/GridBehaviours.h"

#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Grid.h"
#include "platform/Messages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QMenu>
#include <QPointer>

void ShowAccountSetInStatusBar(App& app)
{
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, AccountSetDisplayName(app));
}

void ShowLoadingInStatusBar(App& app)
{
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, QStringLiteral("请稍候，系统正在读入数据……"));
}

int EditStateOf(const QWidget* w)
{
    for (const QWidget* p = w; p; p = p->parentWidget()) {
        const QVariant v = p->property("Edstu");
        if (v.isValid())
            return v.toInt();
    }
    return 0;
}

RowColourTarget RowColourTarget::byColumn(const QString& table, const QString& keyColumn, const Grid* grid, int gridCol)
{
    RowColourTarget t;
    t.table = table;
    t.keyColumns = {keyColumn};
    QPointer<const Grid> g(grid);
    t.keyValues = [g, gridCol](int row) -> QVariantList {
        return {g ? QVariant(g->textMatrix(row, gridCol)) : QVariant()};
    };
    return t;
}

// ---- GridContextMenu ----------------------------------------------------

GridContextMenu::GridContextMenu(App& app, Grid* grid, RowColourTarget target)
    : QObject(grid), m_app(app), m_grid(grid), m_target(std::move(target))
{
    connect(grid, &Grid::rightClicked, this, &GridContextMenu::popupAt);
}

void GridContextMenu::popupAt(int row, int col, const QPoint& globalPos)
{
    if (EditStateOf(m_grid) >= 1)
        return;
    if (row < m_grid->fixedRows() || row >= m_grid->rows() || col < 0 || col >= m_grid->cols())
        return;
    m_grid->setCurrent(row, col);

    auto& colours = m_app.PopupRowColors;
    colours[0] = 0;
    const bool colourItems = !m_target.copyOnly() && !m_grid->textMatrix(row, 0).isEmpty();
    if (colourItems) {
        colours[1] = Grid::colorToValue(m_grid->cellBackColor(row, col));
        colours[2] = Grid::colorToValue(m_grid->cellForeColor(row, col));
    }
    m_app.PopupCellText = m_grid->textMatrix(row, col);

    QMenu menu(m_grid);
    menu.setObjectName(QStringLiteral("Menu_Clip"));
    QAction* copy = menu.addAction(m_app.PopupCellText.isEmpty()
                                       ? QStringLiteral("&C.复制")
                                       : QStringLiteral("&C.复制“") + m_app.PopupCellText + QStringLiteral("”"));
    copy->setObjectName(QStringLiteral("Menu_ClipCopy"));
    connect(copy, &QAction::triggered, this, &GridContextMenu::copyCell);
    if (colourItems) {
        menu.addSeparator()->setObjectName(QStringLiteral("Menu_SetColor0"));
        QAction* back = menu.addAction(QStringLiteral("&B.设置当前行背景颜色"));
        back->setObjectName(QStringLiteral("Menu_SetColor1"));
        connect(back, &QAction::triggered, this, [this] { chooseColour(1); });
        QAction* fore = menu.addAction(QStringLiteral("&F.设置当前行文字颜色"));
        fore->setObjectName(QStringLiteral("Menu_SetColor2"));
        connect(fore, &QAction::triggered, this, [this] { chooseColour(2); });
    }
    QPointer<Grid> guard(m_grid);
    menu.exec(globalPos);
    if (!guard)
        return;

    if (colourItems && (colours[0] == 1 || colours[0] == 2))
        writeColour(row, int(colours[0]));
    colours[0] = 0;
}

void GridContextMenu::copyCell()
{
    QClipboard* clip = QApplication::clipboard();
    clip->clear();
    if (!m_app.PopupCellText.isEmpty())
        clip->setText(m_app.PopupCellText);
    m_app.PopupCellText.clear();
    m_app.PopupRowColors[0] = 0;
}

void GridContextMenu::chooseColour(int index)
{
    m_app.PopupRowColors[0] = index;
    const std::optional<QColor> chosen = Dialogs().pickColour(Grid::colorFromValue(m_app.PopupRowColors[index]));
    if (!chosen) {
        // Cancelling the colour dialog changes nothing: the row keeps its colour.
        m_app.PopupRowColors[0] = 0;
        return;
    }
    m_app.PopupRowColors[index] = Grid::colorToValue(*chosen);
}

void GridContextMenu::writeColour(int row, int index)
{
    const int col = m_grid->col();
    const QColor present = index == 1 ? m_grid->cellBackColor(row, col) : m_grid->cellForeColor(row, col);
    const qint64 current = Grid::colorToValue(present);
    const qint64 wanted = m_app.PopupRowColors[index];
    if (current == wanted)
        return;

    // The stored colour changes first: a failed write leaves the row as it was painted.
    QStringList where;
    for (const QString& c : m_target.keyColumns)
        where << c + QStringLiteral("=?");
    QVariantList params{wanted};
    params += m_target.keyValues(row);
    try {
        m_app.CurrentDatabase.execute(QStringLiteral("UPDATE %1 SET %2=? WHERE %3")
                                          .arg(m_target.table, index == 1 ? QStringLiteral("BColor") : QStringLiteral("FColor"),
                                               where.join(QStringLiteral(" AND "))),
                                      params);
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }

    const QColor c = Grid::colorFromValue(wanted);
    if (index == 1)
        m_grid->setRowBackColor(row, c);
    else
        m_grid->setRowForeColor(row, c);
}

// ---- RowColourMarks -----------------------------------------------------

void PaintRowColours(Grid* grid, int row, qint64 back, qint64 fore)
{
    if (back != 0)
        grid->setRowBackColor(row, Grid::colorFromValue(back));
    if (fore != 0)
        grid->setRowForeColor(row, Grid::colorFromValue(fore));
}

void RowColourMarks(Grid* grid, const RecordSet& rs, int firstRow)
{
    const int b = rs.columnIndex(QStringLiteral("BColor"));
    const int f = rs.columnIndex(QStringLiteral("FColor"));
    if (b < 0 && f < 0)
        return;
    const bool redraw = grid->redraw();
    grid->setRedraw(false);
    for (int i = 0; i < rs.rowCount() && firstRow + i < grid->rows(); ++i) {
        const qint64 back = b < 0 ? 0 : rs.value(i, b).toLongLong();
        const qint64 fore = f < 0 ? 0 : rs.value(i, f).toLongLong();
        PaintRowColours(grid, firstRow + i, back, fore);
    }
    grid->setRedraw(redraw);
}

// ---- ColumnSortMenu -----------------------------------------------------

namespace {

bool isTotalsRow(const Grid* grid, int row)
{
    if (row < grid->fixedRows())
        return false;
    for (int j = 0; j < grid->cols(); ++j)
        if (grid->textMatrix(row, j).remove(QLatin1Char(' ')).startsWith(QStringLiteral("合计")))
            return true;
    return false;
}

}  // namespace

bool WholeColumnSelected(const Grid* g)
{
    return g->rows() > g->fixedRows() && g->row() == g->fixedRows() && g->rowSel() + 1 == g->rows() &&
           g->col() == g->colSel();
}

void AlignTextAndNumbers(Grid* grid, const QList<int>& numberColumns)
{
    for (int c = 0; c < grid->cols(); ++c)
        grid->setColAlignment(c, (numberColumns.contains(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

ColumnSortMenu::ColumnSortMenu(Grid* grid, std::function<Kind(int col)> kindOf, int minRows)
    : QObject(grid), m_grid(grid), m_kindOf(std::move(kindOf)), m_minRows(minRows)
{
    connect(grid, &Grid::headerClicked, this, &ColumnSortMenu::offerAt);
}

void ColumnSortMenu::offerAt(int col, const QPoint& globalPos)
{
    const Grid* g = m_grid;
    const bool wholeColumn = WholeColumnSelected(g) && g->col() == col;
    if (g->rows() <= m_minRows || !wholeColumn)
        return;
    QMenu menu(m_grid);
    menu.setObjectName(QStringLiteral("Menu_sort"));
    QAction* by = menu.addAction(QStringLiteral("按") + g->textMatrix(0, col) + QStringLiteral("排序"));
    by->setObjectName(QStringLiteral("Menu_sortBy"));
    connect(by, &QAction::triggered, this, [this, col] { sortBy(col); });
    menu.exec(globalPos);
}

void ColumnSortMenu::sortBy(int col)
{
    const Kind kind = m_kindOf ? m_kindOf(col) : Kind::None;
    if (kind == Kind::None)
        return;
    bool ascending;
    if (kind == Kind::Text) {
        ascending = m_lastCode != 5;
        m_lastCode = ascending ? 5 : 6;
    } else {
        ascending = m_lastCode != 3;
        m_lastCode = ascending ? 3 : 4;
    }
    int last = m_grid->rows() - 1;
    if (isTotalsRow(m_grid, last))
        --last;
    m_grid->sortRows(col, kind == Kind::Text ? GridModel::SortKind::Text : GridModel::SortKind::Number, ascending,
                     m_grid->fixedRows(), last);
}

// ---- RecordStatusLine ---------------------------------------------------

RecordStatusLine::RecordStatusLine(App& app, Grid* grid, Options options)
    : QObject(grid), m_app(app), m_grid(grid), m_opt(std::move(options))
{
    connect(grid, &Grid::rowColChanged, this, &RecordStatusLine::update);
}

void RecordStatusLine::update()
{
    if (!m_app.MainWindow)
        return;
    // Records and positions count data rows only, whatever the header's height.
    const int first = m_grid->fixedRows();
    const int rows = m_grid->rows();
    if (m_opt.totalsRow && rows <= first + 1 && m_grid->textMatrix(first, 0).trimmed().isEmpty()) {
        m_app.MainWindow->setStatusText(4, QStringLiteral("无信息"));
        return;
    }
    const int records = rows - first - (m_opt.totalsRow ? 1 : 0);
    if (records <= 0 && !m_opt.emptyText.isEmpty()) {
        m_app.MainWindow->setStatusText(4, m_opt.emptyText);
        return;
    }
    const int row = m_grid->row();
    if (m_opt.highlightRow && row >= first && m_grid->cols() > 0 && !WholeColumnSelected(m_grid)) {
        // The selection runs along the current row, away from the current column.
        const int right = m_opt.rightCol >= 0 ? m_opt.rightCol : m_grid->cols() - 1;
        const int middle = m_opt.middleCol >= 0 ? m_opt.middleCol : m_grid->cols() / 2;
        QSignalBlocker block(m_grid);
        m_grid->setRowSel(row);
        m_grid->setColSel(m_grid->col() < middle ? right : 0);
    }
    m_app.MainWindow->setStatusText(
        4, QStringLiteral("共 %1 条记录 当前为第 %2 条").arg(records).arg(row - first + 1));
}

// ---- StatusPanelRestore -------------------------------------------------

StatusPanelRestore::StatusPanelRestore(App& app, QWidget* window) : QObject(window), m_app(app)
{
    window->installEventFilter(this);
    App* a = &app;
    connect(window, &QObject::destroyed, window, [a] { ShowAccountSetInStatusBar(*a); });
}

bool StatusPanelRestore::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide)
        ShowAccountSetInStatusBar(m_app);
    return QObject::eventFilter(watched, event);
}
