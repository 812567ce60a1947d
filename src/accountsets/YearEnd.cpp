#include "accountsets/YearEnd.h"

#include "core/Kinds.h"
#include "core/Posting.h"
#include "platform/Database.h"

void CarryOverYear(Database& db)
{
    db.setCacheSizeKiB(WalkCacheKiB);
    Transaction tx(db);
    db.execute(QStringLiteral("UPDATE TA4 SET V3 = F8, V4 = F7, V5 = Fje"));
    // The same row the balance chain opens from: the last audited one by key.
    const QString lastAudited = QStringLiteral(
        "FROM TB1 WHERE TB1.F3 = TA1.F1 AND TB1.F6 IS NOT NULL AND TB1.F6 <> '' ORDER BY TB1.SRT DESC, TB1.rowid DESC "
        "LIMIT 1");
    db.execute(QStringLiteral("UPDATE TA1 SET NK = (SELECT coalesce(QM, 0) %1) WHERE (LB = %2 OR LB = %3) "
                              "AND EXISTS (SELECT 1 %1)")
                   .arg(lastAudited)
                   .arg(code(UnitKind::Supplier))
                   .arg(code(UnitKind::Customer)));
    db.execute(QStringLiteral("DELETE FROM TB11"));
    db.execute(QStringLiteral("DELETE FROM TB1"));
    tx.commit();
}
