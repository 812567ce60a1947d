#pragma once
// Helpers shared by the exchange tests: an import grid filled from rows of
// texts, and a small document window standing in for a LineGridHost.

#include "platform/Grid.h"
#include "widgets/LineGridHost.h"

#include <QLineEdit>
#include <QStringList>
#include <QVector>

class Database;

// An import grid as the frame leaves it: row 0 holds the letters, data from row 1.
void FillImportGrid(GridModel& g, const QVector<QStringList>& rows);

// Mapping texts: `n` empty rows with the given ones set ({field, "C"}).
QStringList Mapping(int n, const QList<QPair<int, QString>>& set);

// A document window's line grid in miniature: columns 0 code, 1 name,
// 2 attribute, 3 quantity, 4 price, 5 amount, 6 remark (or the stocktaking
// columns). Committing a code fills the line from TA4 like a document
// window does; a code already on another line is refused (no attribute).
class StandInHost : public LineGridHost {
public:
    StandInHost(Database& db, int cols = 8);
    QLineEdit* TxtEnter() override { return &editor; }
    void TxtEnter_LostFocus() override;  // virtual: the stocktaking stand-in adds to it
    Grid* GdMx() override { return &grid; }
    void GdMx_Click() override;
    int curMxR() const override { return row; }
    void setCurMxR(int r) override { row = r; }
    int curMxC() const override { return col; }
    void setCurMxC(int c) override { col = c; }
    QString& PubSql() override { return pubSql; }

    Database& db;
    Grid grid;
    QLineEdit editor;
    int row = 1;
    int col = 0;
    QString pubSql;
    int refusals = 0;
};
