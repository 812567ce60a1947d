#pragma once
// The layout of an account set: every table and column the program reads or
// writes, the fixed rows and the default settings. The build writes the
// template "nousit.dat" from this; every new account set is a copy of it.

#include <QString>
#include <vector>

class Database;

// An index of a current account set: the columns the posting walks and the
// reports filter and order by.
struct IndexDef {
    const char* name;
    const char* table;
    const char* columns;  // "F1, SRT"
};
// Every index of a new account set.
const std::vector<IndexDef>& AccountSetIndexes();

// Creates all tables, indexes and fixed rows in an empty database.
void CreateAccountSetSchema(Database& db);

// Writes a new encrypted template file at `path` (replacing an old one).
void WriteTemplateFile(const QString& path);

// The SQLite type for a column type name of the original dialect:
// Long/Integer/Byte -> INTEGER, Double/Single/Currency -> REAL,
// String (n)/Text/Memo -> TEXT COLLATE NOCASE, datetime -> TEXT.
QString SqliteColumnType(const QString& originalType);
