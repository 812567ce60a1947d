#include "basicdata/Categories.h"

#include "core/SqlText.h"
#include "platform/Database.h"

RecordSaveResult SaveCategory(Database& db, CategoryRecord& r, bool adding, const QString& listedCode,
                              const QString& codeBeforeEdit)
{
    r.code = r.code.toUpper();
    if (SqlSafe(r.code).isEmpty())
        return {RecordSaveStatus::EmptyCode, {}};
    if (SqlSafe(r.name).isEmpty())
        return {RecordSaveStatus::EmptyName, {}};
    r.code = NormaliseCode(r.code);
    if (r.code.contains(QLatin1Char('.')))
        return {RecordSaveStatus::CodeHasPoint, {}};
    const std::optional<QVariant> holder =
        db.scalarRow(QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = ? LIMIT 1"), {r.code});
    if (holder && (adding || r.code.compare(listedCode.trimmed(), Qt::CaseInsensitive) != 0))
        return {RecordSaveStatus::CodeTaken, holder->toString()};

    Transaction tx(db);
    bool updated = false;
    if (!adding && !listedCode.trimmed().isEmpty()) {
        db.execute(QStringLiteral("UPDATE TA3 SET F1 = ?, F2 = ? WHERE F1 = ?"), {r.code, r.name, listedCode.trimmed()});
        updated = db.changes() > 0;
    }
    if (!updated)
        db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES (?, ?)"), {r.code, r.name});
    const QString before = codeBeforeEdit.trimmed();
    if (!adding && !before.isEmpty() && before != r.code)
        db.execute(QStringLiteral("UPDATE TA4 SET F3 = ? WHERE F3 = ?"), {r.code, before});
    tx.commit();
    return {};
}

bool CategoryCodeInUse(const Database& db, const QString& code)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F3 = ? LIMIT 1"), {code.trimmed()}).has_value();
}

bool OtherCategoryExists(const Database& db, const QString& code)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TA3 WHERE F1 <> ? LIMIT 1"), {code.trimmed()}).has_value();
}

void DeleteCategory(Database& db, const QString& code)
{
    db.execute(QStringLiteral("DELETE FROM TA3 WHERE F1 = ?"), {code.trimmed()});
}
