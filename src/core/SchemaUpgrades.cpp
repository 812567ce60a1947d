#include "core/SchemaUpgrades.h"

#include "core/Schema.h"
#include "platform/Database.h"

#include <QStringList>
#include <algorithm>

namespace {

// Adds a column with the SQLite type for an original type name; a column that
// exists (or a table that does not) makes it fail, which is ignored.
bool addColumn(Database& db, const char* table, const char* column, const char* originalType)
{
    return db.tryExecute(QStringLiteral("ALTER TABLE [%1] ADD COLUMN [%2] %3")
                             .arg(QLatin1String(table), QLatin1String(column),
                                  SqliteColumnType(QLatin1String(originalType))));
}

struct ColumnDef {
    const char* name;
    const char* type;
};

bool createTable(Database& db, const char* table, std::initializer_list<ColumnDef> columns)
{
    QStringList defs;
    for (const ColumnDef& c : columns)
        defs << QStringLiteral("[%1] %2").arg(QLatin1String(c.name), SqliteColumnType(QLatin1String(c.type)));
    return db.tryExecute(
        QStringLiteral("CREATE TABLE [%1] (%2)").arg(QLatin1String(table), defs.join(QStringLiteral(", "))));
}

// A new column whose existing rows must be filled at once: the column and its
// first values appear together or not at all, so a failed fill is retried at
// the next run instead of leaving the column empty for good. A set that has
// the column already is left alone (its values are maintained elsewhere).
void addColumnAndFill(Database& db, const char* table, const char* column, const char* originalType,
                      std::initializer_list<const char*> fills)
{
    try {
        if (db.columnExists(QLatin1String(table), QLatin1String(column)))
            return;
        Transaction tx(db);
        db.execute(QStringLiteral("ALTER TABLE [%1] ADD COLUMN [%2] %3")
                       .arg(QLatin1String(table), QLatin1String(column),
                            SqliteColumnType(QLatin1String(originalType))));
        for (const char* sql : fills)
            db.execute(QLatin1String(sql));
        tx.commit();
    } catch (const DbError&) {
        // Upgrades report nothing; the rollback left the set as it was.
    }
}

// The columns of each index on `table`, in index order, lower case.
QList<QStringList> indexColumns(Database& db, const QString& table)
{
    QList<QStringList> result;
    const RecordSet list = db.query(QStringLiteral("PRAGMA index_list([%1])").arg(table));
    for (int i = 0; i < list.rowCount(); ++i) {
        const RecordSet info =
            db.query(QStringLiteral("PRAGMA index_info([%1])").arg(list.text(i, QStringLiteral("name"))));
        QStringList cols;
        for (int c = 0; c < info.rowCount(); ++c)
            cols << info.text(c, QStringLiteral("name")).toLower();
        result << cols;
    }
    return result;
}

}  // namespace

void CreateMissingIndexes(Database& db)
{
    try {
        QString table;
        QList<QStringList> present;
        for (const IndexDef& ix : AccountSetIndexes()) {
            if (table != QLatin1String(ix.table)) {
                table = QLatin1String(ix.table);
                present = indexColumns(db, table);
            }
            QStringList wanted = QString::fromLatin1(ix.columns).toLower().split(QStringLiteral(", "));
            // An index under another name that begins with the same columns serves as well.
            const bool served = std::any_of(present.begin(), present.end(), [&](const QStringList& cols) {
                return cols.mid(0, wanted.size()) == wanted;
            });
            if (!served)
                db.tryExecute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
                                  .arg(QLatin1String(ix.name), table, QLatin1String(ix.columns)));
        }
    } catch (const DbError&) {
        // A set that cannot be read here fails visibly at its first real query.
    }
}

void UpgradeSchemaOnOpen(Database& db)
{
    addColumn(db, "TA4", "BColor", "Long");
    addColumn(db, "TA4", "FColor", "Long");
    addColumn(db, "TA1", "SCSF", "Double");
    addColumn(db, "TA1", "BColor", "Long");
    addColumn(db, "TA1", "FColor", "Long");
    addColumn(db, "TB1", "BColor", "Long");
    addColumn(db, "TB1", "FColor", "Long");
    addColumn(db, "TB11", "BColor", "Long");
    addColumn(db, "TB11", "FColor", "Long");
    addColumn(db, "TA3", "BColor", "Long");
    addColumn(db, "TA3", "FColor", "Long");
    addColumn(db, "Bom", "BColor", "Long");
    addColumn(db, "Bom", "FColor", "Long");
    addColumn(db, "KhPrice", "BColor", "Long");
    addColumn(db, "KhPrice", "FColor", "Long");

    addColumnAndFill(db, "TA4", "Fje", "Double", {"UPDATE TA4 SET Fje=F8*F7"});
    CreateMissingIndexes(db);
}

void UpgradeSchemaOnLogin(Database& db)
{
    addColumn(db, "DanNo", "DTTM", "datetime");
    addColumn(db, "TA4", "HW", "string (50)");
    addColumn(db, "TA4", "Gys", "string (50)");
    addColumn(db, "TB11", "Fa", "string (50)");
    addColumn(db, "TB11", "YJ", "Double");
    addColumn(db, "TB11", "ZK", "Double");
    addColumn(db, "TB11", "Oid", "Integer");
    addColumn(db, "TB1", "SRT", "String (50)");
    addColumn(db, "TB11", "SRT", "String (50)");
    addColumn(db, "TB11", "HPSX", "string (50)");
    addColumn(db, "TB11", "XS6", "Double");
    addColumn(db, "TB11", "XK6", "Double");
    addColumn(db, "TB11", "Z5", "Double");
    // Document lines carry no primary key. Every account set of this program
    // was made without one, so there is no constraint to drop here.
    addColumn(db, "TB1", "OD", "string (50)");
    addColumn(db, "TA1", "MT", "string (50)");
    addColumn(db, "TA4", "F701", "Double");
    db.tryExecute(QStringLiteral("UPDATE TA4 SET F701=0 WHERE F701 IS NULL"));
    // Before the class column exists these two fail; afterwards they turn the
    // old class value 2 and missing values into parts.
    db.tryExecute(QStringLiteral("UPDATE TA4 SET Fcplj=0 WHERE Fcplj=2"));
    db.tryExecute(QStringLiteral("UPDATE TA4 SET Fcplj=0 WHERE Fcplj IS NULL"));

    addColumnAndFill(db, "TA4", "Fcplj", "DOUBLE",
                     {"UPDATE TA4 SET Fcplj=0",
                      "UPDATE TA4 SET Fcplj=1 WHERE F1 IN (SELECT F0 FROM Bom GROUP BY F0)"});
    // The key and attribute columns added above complete the walks' indexes.
    CreateMissingIndexes(db);
}

bool CreatePrintSetTable(Database& db)
{
    return createTable(db, "PrintSet",
                       {{"Pid", "String (50)"}, {"Puser", "String (50)"}, {"Pcomputer", "String (50)"},
                        {"Pname", "String (50)"}, {"Pfile", "String (50)"}, {"I1", "Integer"},
                        {"I2", "Integer"}, {"I3", "Integer"}, {"I4", "Integer"}, {"D1", "Double"},
                        {"D2", "Double"}, {"D3", "Double"}, {"D4", "Double"}, {"S1", "String (50)"},
                        {"S2", "String (50)"}, {"S3", "String (50)"}, {"S4", "String (50)"}});
}

void CreateRkPriceTable(Database& db)
{
    createTable(db, "RkPrice", {{"F1", "String (50)"}, {"F7", "Double"}, {"F9", "String (50)"}, {"F10", "String (50)"}});
    addColumn(db, "TA4", "RkF7", "Double");
}

void AddUnitDualRoleColumn(Database& db)
{
    addColumn(db, "TA1", "SCSF", "Double");
}

void CreateKhPriceTable(Database& db)
{
    createTable(db, "KhPrice",
                {{"F0", "String (50)"}, {"F1", "String (50)"}, {"F7", "Double"}, {"F8", "String (50)"},
                 {"F9", "String (50)"}});
}

void AddUnitDocDirColumn(Database& db)
{
    addColumn(db, "TA1", "DocDir", "String(150)");
}
