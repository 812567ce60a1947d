#include "widgets/GridColumnAutoWiden.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "platform/Grid.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPointer>
#include <cmath>

void FitGridColumn(App& app, Grid* grid, int column, const QString& text)
{
    // Pending paint and layout events run first; the grid may be gone after them.
    QPointer<Grid> guard(grid);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    if (!guard || column < 0 || column >= guard->cols())
        return;
    // A hidden column (width 0) is hidden on purpose: it stays hidden.
    const int present = guard->colWidth(column);
    if (present == 0)
        return;
    const QFont font = app.MainWindow ? app.MainWindow->backgroundFont() : QApplication::font();
    const double twips = QFontMetricsF(font).horizontalAdvance(text) * Grid::TwipsPerPixel + 100;
    // The grid keeps whole pixels: round up so the text really fits.
    const int wanted = int(std::ceil(twips / Grid::TwipsPerPixel)) * Grid::TwipsPerPixel;
    if (present < wanted)
        guard->setColWidth(column, wanted);
}

GridColumnAutoWiden::GridColumnAutoWiden(App& app, Grid* grid) : QObject(grid)
{
    connect(grid, &Grid::rowColChanged, this, [&app, grid](int row, int col) {
        if (row >= 0 && col >= 0)
            FitGridColumn(app, grid, col, grid->textMatrix(row, col));
    });
}
