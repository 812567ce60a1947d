#include "basicdata/RkPriceHistory.h"

#include "platform/Database.h"

QVector<RefPriceChange> LoadRkPriceHistory(const Database& db, const QString& goods)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F10, F7, F9 FROM RkPrice WHERE F1 = ? ORDER BY rowid"), {goods});
    QVector<RefPriceChange> rows;
    for (int r = 0; r < rs.rowCount(); ++r)
        rows.append({rs.text(r, 0), rs.value(r, 1).toDouble(), rs.text(r, 2)});
    return rows;
}

void ClearRkPriceHistory(Database& db, const QString& goods)
{
    db.execute(QStringLiteral("DELETE FROM RkPrice WHERE F1 = ?"), {goods});
}
