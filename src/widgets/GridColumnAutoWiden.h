#pragma once
// A grid column grows to the text of the cell entered, never narrows.

#include <QObject>
#include <QString>

class Grid;
struct App;

// Widens a grid column to fit a text in the background font plus 100 twips;
// never narrows, leaves hidden (width 0) and unknown columns alone.
void FitGridColumn(App& app, Grid* grid, int column, const QString& text);

// Attached to a grid (and owned by it): each time the current cell moves,
// its column is fitted to the cell's text.
class GridColumnAutoWiden : public QObject {
    Q_OBJECT
public:
    GridColumnAutoWiden(App& app, Grid* grid);
};
