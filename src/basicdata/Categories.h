#pragma once
// Goods categories (TA3). A changed category code is carried into the goods
// (TA4.F3) in the same transaction as the category's own row.

#include "basicdata/Units.h"

#include <QString>

class Database;

struct CategoryRecord {
    QString code;  // F1, at most 25 characters
    QString name;  // F2
};

// Cleans code and name as the save writes them, checks and stores the category.
// Throws DbError; then nothing was written.
RecordSaveResult SaveCategory(Database& db, CategoryRecord& record, bool adding, const QString& listedCode,
                              const QString& codeBeforeEdit);

// True when a goods record belongs to the category.
bool CategoryCodeInUse(const Database& db, const QString& code);
// True when TA3 holds another category.
bool OtherCategoryExists(const Database& db, const QString& code);
void DeleteCategory(Database& db, const QString& code);
