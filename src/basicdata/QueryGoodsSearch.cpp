#include "basicdata/QueryGoodsSearch.h"

#include "core/Kinds.h"
#include "core/SqlText.h"
#include "platform/Database.h"

namespace {

QString codeOf(const QString& text)
{
    const int dot = text.indexOf(QLatin1Char('.'));
    return dot > 0 ? text.left(dot) : text;
}

}  // namespace

GoodsSearchResult SearchGoods(const Database& db, const GoodsSearch& s)
{
    QString sql = QStringLiteral("SELECT F1, F2, F5, F8, F4, F6 FROM TA4");
    QStringList where;
    QVariantList params;
    if (!s.categoryCode.isEmpty()) {
        where << QStringLiteral("F3 = ?");
        params << s.categoryCode;
    }
    const std::pair<const char*, const QString*> contains[] = {
        {"F1", &s.code}, {"F2", &s.name}, {"F5", &s.spec}, {"F4", &s.unit}, {"F6", &s.remark}};
    for (const auto& [column, text] : contains) {
        if (text->isEmpty())
            continue;
        where << QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(QLatin1String(column));
        params << QLatin1Char('%') + LikePattern(*text, Wildcards::StarOnly) + QLatin1Char('%');
    }
    if (!s.supplier.isEmpty()) {
        where << QStringLiteral("(Gys = ? OR Gys = '' OR Gys IS NULL)");
        params << s.supplier;
    }
    if (s.onlyWithStructure)
        where << QStringLiteral("EXISTS (SELECT 1 FROM Bom WHERE Bom.F0 = TA4.F1)");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY F1");
    if (s.firstList)
        sql += QStringLiteral(" LIMIT %1").arg(GoodsFirstListLimit);

    const RecordSet rs = db.query(sql, params);
    GoodsSearchResult result;
    result.rows = rs.rowCount();
    result.cells.reserve(size_t(result.rows) * GoodsSearchColumns);
    for (int r = 0; r < result.rows; ++r) {
        result.cells.push_back(rs.text(r, 0));
        result.cells.push_back(rs.text(r, 1));
        result.cells.push_back(rs.text(r, 2));
        result.cells.push_back(NumText(rs.value(r, 3).toDouble()) + QLatin1Char(' ') + rs.text(r, 4));
        result.cells.push_back(rs.text(r, 5));
    }
    return result;
}

QString CategoryChoice(const Database& db, const QString& typed)
{
    const QString code = codeOf(SqlSafe(typed));
    if (code.isEmpty())
        return QString();
    const QString name = SqlScalar(db, QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = ?"), {code});
    return name.isEmpty() ? QString() : code + QLatin1Char('.') + name;
}

QString QuickAddGoods(Database& db, const QuickGoods& g)
{
    const QString category = CategoryChoice(db, g.category);
    if (category.isEmpty())
        return QStringLiteral("请输入有效的类别编码或从下拉列表中选择类别！");
    const QString code = SqlSafe(g.code);
    if (code.isEmpty())
        return QStringLiteral("请输入编码！");
    const QString name = SqlSafe(g.name);
    if (name.isEmpty())
        return QStringLiteral("请输入名称！");
    if (db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ?"), {code}).has_value())
        return QStringLiteral("在系统中已经存在[") + code + QStringLiteral("]这个编码！");
    db.execute(QStringLiteral("INSERT INTO TA4 (Fcplj, F11, F1, F2, F3, F4, F5, F6, F7, F8, F71, V1, V2, V3, V4, V5) "
                              "VALUES (?, '0', ?, ?, ?, ?, ?, ?, 0, 0, 0, 0, 0, 0, 0, 0)"),
               {::code(GoodsClass::Part), code, name, codeOf(category), g.unit.trimmed(), g.spec.trimmed(),
                g.remark.trimmed()});
    return QString();
}
