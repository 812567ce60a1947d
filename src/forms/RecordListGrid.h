#pragma once
// The list tab's grid of a record window. The list is a copy of the last
// query: it is laid out from the kind's headers, loaded in one reset, and
// patched in place when a record is saved or deleted instead of being read
// again. None of these emit a row change.

#include "forms/RecordList.h"

#include <QList>
#include <QStringList>

class Grid;

// Empties the grid to its header row (captions centred, `numericColumns`
// right-aligned, the others left) and one blank row.
void SetRecordListHeader(Grid* grid, const QStringList& headers, const QList<int>& numericColumns);

// The grid's usable width in twips: its frame less a vertical scroll bar.
int RecordListWidthTwips(const Grid* grid);

// Shares `widthTwips` among the first `columns` columns (the last of them kept
// at width 0 when `hiddenLast`), each taking `margin` twips less than its share
// but at least 600.
void SpreadRecordListColumns(Grid* grid, int columns, int widthTwips, bool hiddenLast, int margin);

// Loads the rows of `list` and paints their stored colours.
void LoadRecordList(Grid* grid, RecordList list);

// Adds `row` as the last list row, taking the place of the empty list's blank
// row; answers the row it stands in.
int AppendRecordRow(Grid* grid, const QStringList& row);

// Writes `row` over list row `at`, column by column.
void WriteRecordRow(Grid* grid, int at, const QStringList& row);
