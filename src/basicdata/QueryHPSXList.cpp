#include "basicdata/QueryHPSXList.h"

#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"

QVector<AttributeStock> QueryHpsxList(const Database& db, const QString& goods, const QDate& upTo,
                                      StockDirection direction, const QString& filter)
{
    // Posted lines only: a key at or above "S" and below the key of the next day.
    QString sql = QStringLiteral("SELECT IFNULL(HPSX, ''), SUM(F6) FROM TB11 WHERE F1 = ? AND SRT >= 'S' AND SRT < ?");
    QVariantList params{goods, PostingKeyPrefix(upTo.addDays(1))};
    const QString typed = SqlSafe(filter);
    if (!typed.isEmpty()) {
        sql += QStringLiteral(" AND HPSX LIKE ? ESCAPE '\\'");
        params << QLatin1Char('%') + LikePattern(typed, Wildcards::StarOnly) + QLatin1Char('%');
    }
    sql += QStringLiteral(" GROUP BY IFNULL(HPSX, '') ORDER BY SUM(F6) DESC, 1");
    const RecordSet rs = db.query(sql, params);
    QVector<AttributeStock> values;
    for (int r = 0; r < rs.rowCount(); ++r) {
        const double qty = rs.value(r, 1).toDouble();
        if (direction == StockDirection::Out && !(qty > 0))
            break;  // sorted by stock: no later value has any
        values.append({rs.text(r, 0), qty});
    }
    return values;
}
