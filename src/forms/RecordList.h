#pragma once
// Reading a record window's list: one statement, all rows at once, laid out
// as the grid takes them (one flat text array, row after row), with the rows'
// stored colours beside them; and what a record window's save answers.
// Shared by the unit, category and goods windows.

#include <QString>
#include <QVariantList>
#include <QVector>
#include <vector>

class Database;

struct RecordList {
    struct Colours {
        int row = 0;  // 0-based list row
        qint64 back = 0;
        qint64 fore = 0;
    };
    int rows = 0;
    int cols = 0;
    std::vector<QString> cells;  // rows x cols, row after row
    QVector<Colours> colours;    // only rows with a colour of their own
    QString text(int row, int col) const { return cells[size_t(row) * size_t(cols) + size_t(col)]; }
};

// Runs `sql` (streamed, no per-row objects) and takes its first `textCols` fields by position as text (null as
// ""); with numberCol >= 0 that field is written through NumText (null as 0).
// BColor and FColor are read by name when the statement returns them.
// Throws DbError.
RecordList ListRecords(Database& db, const QString& sql, int textCols, int numberCol = -1,
                       const QVariantList& params = {});

// What a save of a record window answers. On anything but Saved nothing was written.
// Told: refused, and the window has already told the operator why.
enum class RecordSaveStatus { Saved, EmptyCode, EmptyName, CodeHasPoint, CodeTaken, Told };
struct RecordSaveResult {
    RecordSaveStatus status = RecordSaveStatus::Saved;
    QString holderName;  // CodeTaken: the name of the record holding the code
};
