#include "forms/RecordListGrid.h"

#include "platform/Grid.h"
#include "widgets/GridBehaviours.h"

#include <QStyle>

void SetRecordListHeader(Grid* grid, const QStringList& headers, const QList<int>& numericColumns)
{
    const QSignalBlocker block(grid);
    grid->setCols(int(headers.size()));
    grid->setRows(2);
    grid->clear();
    grid->setHeaders(headers);
    for (int c = 0; c < grid->cols(); ++c)
        grid->setFixedAlignment(c, Qt::AlignCenter);
    AlignTextAndNumbers(grid, numericColumns);
}

int RecordListWidthTwips(const Grid* grid)
{
    // The grid's own frame, not its viewport: a viewport is laid out only when
    // the grid is first shown, after the window's resize has already asked.
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    return Grid::pixelsToTwips(std::max(0, grid->contentsRect().width() - scrollBar));
}

void SpreadRecordListColumns(Grid* grid, int columns, int widthTwips, bool hiddenLast, int margin)
{
    const int shown = hiddenLast ? columns - 1 : columns;
    if (shown <= 0)
        return;
    const int width = widthTwips / shown;
    for (int c = 0; c < shown; ++c)
        grid->setColWidth(c, std::max(600, width - margin));
    if (hiddenLast)
        grid->setColWidth(columns - 1, 0);
}

void LoadRecordList(Grid* grid, RecordList list)
{
    const QSignalBlocker block(grid);
    grid->load(list.rows, list.cols, std::move(list.cells));
    grid->setRedraw(false);
    for (const RecordList::Colours& c : list.colours)
        PaintRowColours(grid, c.row + 1, c.back, c.fore);
    grid->setRedraw(true);
}

int AppendRecordRow(Grid* grid, const QStringList& row)
{
    const QSignalBlocker block(grid);
    grid->addItem(row.join(QLatin1Char('\t')));
    if (grid->rows() > 2 && grid->textMatrix(1, 0).trimmed().isEmpty())
        grid->removeItem(1);
    return grid->rows() - 1;
}

void WriteRecordRow(Grid* grid, int at, const QStringList& row)
{
    for (int c = 0; c < row.size(); ++c)
        grid->setTextMatrix(at, c, row[c]);
}
