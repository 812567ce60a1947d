#include "accountsets/Clearing.h"

#include "core/Kinds.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"

namespace {

const QString MustClearDocuments = QStringLiteral("，必须同时选择“清除所有进出单据记录”！");

// `preferred`, or when a unit of any kind has that code already the first free
// one of the same letter, so that codes stay unique over all units.
QString freeUnitCode(const Database& db, const QString& preferred)
{
    const auto taken = [&db](const QString& code) {
        return db.scalarRow(QStringLiteral("SELECT 1 FROM TA1 WHERE F1 = ?"), {code}).has_value();
    };
    if (!taken(preferred))
        return preferred;
    for (int n = 1;; ++n) {
        const QString code = preferred.left(1) + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
        if (!taken(code))
            return code;
    }
}

void addDefaultUnit(Database& db, const QString& unitCode, const QString& name, UnitKind kind)
{
    db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB) VALUES (?, ?, ?)"), {freeUnitCode(db, unitCode), name, code(kind)});
}

}  // namespace

QString ClearingRefusal(const Database& db, const ClearingChoice& choice)
{
    if (choice.documents)
        return {};
    if (choice.stockToZero &&
        !SqlScalar(db, QStringLiteral("SELECT F6 FROM TB1 WHERE F6 IS NOT NULL AND F6 <> '' LIMIT 1")).isEmpty())
        return QStringLiteral("要把系统库存数量清零") + MustClearDocuments;
    if (choice.goods)
        return QStringLiteral("要清除所有货品档案") + MustClearDocuments;
    if (choice.suppliers &&
        !SqlScalar(db, QStringLiteral("SELECT F1 FROM TB1 WHERE LB IN (?, ?, ?, ?) LIMIT 1"),
                   {code(DocKind::Inbound), code(DocKind::SupplierReturn), code(DocKind::Payment),
                    code(DocKind::AddedPayable)})
             .isEmpty())
        return QStringLiteral("要清除供应商档案") + MustClearDocuments;
    if (choice.customers &&
        !SqlScalar(db, QStringLiteral("SELECT F1 FROM TB1 WHERE LB IN (?, ?, ?, ?) LIMIT 1"),
                   {code(DocKind::Outbound), code(DocKind::StockReturn), code(DocKind::Receipt),
                    code(DocKind::AddedReceivable)})
             .isEmpty())
        return QStringLiteral("要清除客户档案") + MustClearDocuments;
    if (choice.departments &&
        !SqlScalar(db, QStringLiteral("SELECT F1 FROM TB1 WHERE LB IN (?, ?, ?, ?) LIMIT 1"),
                   {code(DocKind::Inbound), code(DocKind::SupplierReturn), code(DocKind::Outbound),
                    code(DocKind::StockReturn)})
             .isEmpty())
        return QStringLiteral("要清除部门档案") + MustClearDocuments;
    return {};
}

void ClearData(Database& db, const ClearingChoice& choice)
{
    Transaction tx(db);
    if (choice.documents) {
        db.executeScript(QStringLiteral("DELETE FROM TB1; DELETE FROM TB11; DELETE FROM TC2; DELETE FROM TC21; "
                                        "DELETE FROM TC15; DELETE FROM DanNo"));
        db.execute(QStringLiteral("UPDATE sysinfo SET setval = 1 WHERE ID = ?"), {SetChangeCounter});
        if (!choice.stockToZero && !choice.goods)
            db.execute(QStringLiteral("UPDATE TA4 SET F8 = V3, F7 = V4, Fje = V5"));
    }
    if (choice.stockToZero)
        db.execute(QStringLiteral("UPDATE TA4 SET F8 = 0, V3 = 0, V5 = 0, Fje = 0"));
    if (choice.goods) {
        db.executeScript(QStringLiteral("DELETE FROM TA3; INSERT INTO TA3 (F1, F2) VALUES ('000', '无类别'); "
                                        "DELETE FROM TA4; DELETE FROM Bom"));
    }
    if (choice.suppliers) {
        db.execute(QStringLiteral("DELETE FROM TA1 WHERE LB = ?"), {code(UnitKind::Supplier)});
        addDefaultUnit(db, QStringLiteral("A001"), QStringLiteral("默认供应商"), UnitKind::Supplier);
    }
    if (choice.customers) {
        db.execute(QStringLiteral("DELETE FROM TA1 WHERE LB = ?"), {code(UnitKind::Customer)});
        addDefaultUnit(db, QStringLiteral("B001"), QStringLiteral("默认客户"), UnitKind::Customer);
    }
    if (choice.departments) {
        db.execute(QStringLiteral("DELETE FROM TA1 WHERE LB = ?"), {code(UnitKind::Department)});
        addDefaultUnit(db, QStringLiteral("C001"), QStringLiteral("部门一"), UnitKind::Department);
    }
    tx.commit();
}
