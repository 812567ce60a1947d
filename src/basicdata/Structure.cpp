#include "basicdata/Structure.h"

#include "core/Rounding.h"
#include "platform/Database.h"

#include <cmath>
#include <limits>

QVector<StructureLine> LoadStructure(const Database& db, const QString& product, PriceBasis basis)
{
    const QString price = basis == PriceBasis::Cost ? QStringLiteral("TA4.F7") : QStringLiteral("TA4.F71");
    const RecordSet rs = db.query(
        QStringLiteral("SELECT Bom.F1, TA4.F2 || TA4.F5, TA4.F4, Bom.F6, %1, Bom.F8, Bom.BColor, Bom.FColor, TA4.F8, "
                       "TA4.F2 || ' ' || TA4.F5, TA4.F1 "
                       "FROM Bom LEFT JOIN TA4 ON Bom.F1 = TA4.F1 WHERE Bom.F0 = ? ORDER BY Bom.F1, Bom.rowid")
            .arg(price),
        {product});
    QVector<StructureLine> lines;
    lines.reserve(rs.rowCount());
    for (int r = 0; r < rs.rowCount(); ++r) {
        StructureLine l;
        l.part = rs.text(r, 0);
        l.nameSpec = rs.text(r, 1);
        l.unit = rs.text(r, 2);
        l.usage = rs.value(r, 3).toDouble();
        l.price = rs.value(r, 4).toDouble();
        l.remark = rs.text(r, 5);
        l.back = rs.value(r, 6).toLongLong();
        l.fore = rs.value(r, 7).toLongLong();
        l.stock = rs.value(r, 8).toDouble();
        l.shownName = rs.text(r, 9);
        l.known = !rs.value(r, 10).isNull();
        lines.append(l);
    }
    return lines;
}

qint64 AssemblableCount(const QVector<StructureLine>& lines)
{
    if (lines.isEmpty())
        return 0;
    qint64 least = std::numeric_limits<qint64>::max();
    for (const StructureLine& l : lines) {
        const double ratio = l.usage == 0 ? l.stock : l.stock / l.usage;
        // nearbyint rounds half to even in the default rounding mode.
        double k = std::nearbyint(ratio);
        if (!(k > 0))
            k = 0;  // negative stock, and NaN, make nothing
        const qint64 count = k >= 9.0e18 ? std::numeric_limits<qint64>::max() : qint64(k);
        least = std::min(least, count);
    }
    return least;
}

double StructureTotal(const QVector<StructureLine>& lines)
{
    double total = 0;
    for (const StructureLine& l : lines)
        total += l.amount();
    return total;
}

std::optional<StructureLine> LookupPart(const Database& db, const QString& code, bool canSeeCost,
                                        const QString& priceFormat)
{
    if (code.trimmed().isEmpty())
        return std::nullopt;
    const RecordSet rs =
        db.query(QStringLiteral("SELECT F1, F2 || '/' || F5, F4, F7, F8 FROM TA4 WHERE F1 = ?"), {code.trimmed()});
    if (rs.isEmpty())
        return std::nullopt;
    StructureLine l;
    l.part = rs.text(0, 0);
    l.nameSpec = rs.text(0, 1);
    l.unit = rs.text(0, 2);
    l.stock = rs.value(0, 4).toDouble();
    l.usage = 1;
    l.price = canSeeCost ? RoundToPattern(rs.value(0, 3).toDouble(), priceFormat) : 0;
    return l;
}

bool IsPartOf(const Database& db, const QString& product, const QString& part)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM Bom WHERE F0 = ? AND F1 = ?"), {part.trimmed(), product.trimmed()})
        .has_value();
}

bool SaveStructure(Database& db, const QString& product, const QVector<StructureLine>& lines)
{
    Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM Bom WHERE F0 = ?"), {product});
    Statement insert(db, QStringLiteral("INSERT INTO Bom (F0, F1, F6, F8, BColor, FColor) VALUES (?, ?, ?, ?, ?, ?)"));
    bool any = false;
    for (const StructureLine& l : lines) {
        if (l.part.trimmed().isEmpty())
            continue;
        insert.bindAll({product, l.part.trimmed(), l.usage, l.remark, l.back, l.fore});
        insert.exec();
        any = true;
    }
    tx.commit();
    return any;
}

QVector<QPair<QString, QString>> ProductsUsingPart(const Database& db, const QString& part)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT DISTINCT Bom.F0, TA4.F2 FROM Bom LEFT JOIN TA4 ON Bom.F0 = TA4.F1 "
                                                 "WHERE Bom.F1 = ? AND Bom.F0 <> Bom.F1 ORDER BY Bom.F0"),
                                  {part.trimmed()});
    QVector<QPair<QString, QString>> products;
    for (int r = 0; r < rs.rowCount(); ++r)
        products.append({rs.text(r, 0), rs.text(r, 1)});
    return products;
}
