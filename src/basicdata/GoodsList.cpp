#include "basicdata/GoodsList.h"

#include "core/Rounding.h"
#include "platform/Database.h"
#include "platform/Grid.h"

QString GoodsListHead()
{
    return QStringLiteral("SELECT TA4.F1, TA4.F2, TA3.F2 AS LB, TA4.F4, TA4.F5, TA4.F7, TA4.F6, TA4.F3, TA4.F71, TA4.F11, "
                          "TA4.V1, TA4.V2, TA4.V3, TA4.V5, TA4.F8, TA4.BColor, TA4.FColor, TA4.HW AS HW, TA4.Gys AS Gys "
                          "FROM TA4 ");
}

GoodsListRows ReadGoodsList(Database& db, const GoodsListQuery& q, const QString& priceFormat,
                            const QString& amountFormat)
{
    QString sql = GoodsListHead() + (q.innerJoin ? QStringLiteral("JOIN TA3 ON TA4.F3 = TA3.F1")
                                                 : QStringLiteral("LEFT JOIN TA3 ON TA4.F3 = TA3.F1"));
    QStringList where;
    if (!q.condition.trimmed().isEmpty())
        where << QLatin1Char('(') + q.condition + QLatin1Char(')');
    QVariantList params = q.params;
    if (q.goodsClass >= 0) {
        where << QStringLiteral("TA4.Fcplj = ?");
        params << q.goodsClass;
    }
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY TA4.F1");
    return ReadGoodsListStatement(db, sql, params, priceFormat, amountFormat);
}

QString GoodsQueryStatement(const QString& answer, int goodsClass)
{
    QString sql = answer;
    if (goodsClass >= 0)
        sql += (answer.contains(QLatin1String(" Where "), Qt::CaseInsensitive) ? QStringLiteral(" And TA4.Fcplj = ")
                                                                              : QStringLiteral(" Where TA4.Fcplj = ")) +
               QString::number(goodsClass);
    return sql + QStringLiteral(" ORDER BY TA4.F1");
}

GoodsListRows ReadGoodsListStatement(Database& db, const QString& sql, const QVariantList& params,
                                     const QString& priceFormat, const QString& amountFormat)
{
    // Stepped once, straight into the cells: no intermediate record set.
    Statement st(db, sql);
    st.bindAll(params);
    GoodsListRows out;
    const int pricePlaces = PatternDecimals(priceFormat);
    const int amountPlaces = PatternDecimals(amountFormat);
    // Grid column -> query field.
    static const int field[GoodsListColumns - 1] = {0, 1, 4, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 18};
    while (st.step()) {
        const size_t base = out.cells.size();
        out.cells.resize(base + GoodsListColumns);
        QString* row = out.cells.data() + base;
        for (int c = 0; c < GoodsListColumns - 1; ++c) {
            const QVariant v = st.column(field[c]);
            if (v.isNull())
                continue;
            if (c == 5 || c == 8)
                row[c] = FormatDecimals(v.toDouble(), pricePlaces);
            else if (c == 13)
                row[c] = FormatDecimals(v.toDouble(), amountPlaces);
            else if (v.typeId() == QMetaType::Double)
                row[c] = QString::number(v.toDouble(), 'g', 15);
            else
                row[c] = v.toString();
        }
        const qint64 back = st.column(15).toLongLong();
        const qint64 fore = st.column(16).toLongLong();
        if (back || fore)
            out.colours.push_back({out.rows, back, fore});
        ++out.rows;
    }
    return out;
}

void SetGoodsListHeader(Grid* grid, const QString& theHname, const QString& attributeName)
{
    grid->setCols(GoodsListColumns);
    grid->clear();
    grid->clearRows();
    grid->setRows(2);
    grid->setHeaders({theHname + QStringLiteral("编码"), QStringLiteral("品名"), QStringLiteral("规格型号"),
                      QStringLiteral("所属类别"), QStringLiteral("单位"), QStringLiteral("单价"), QStringLiteral("备注"),
                      QStringLiteral("类别编码"), QStringLiteral("销售单价"), QString(), QString(), QString(), QString(),
                      QString(), QStringLiteral("当前存量"), attributeName, QStringLiteral("供应商"), QString()});
    for (int c = 0; c < GoodsListColumns; ++c)
        grid->setFixedAlignment(c, Qt::AlignCenter);
    for (int c : {0, 1, 2, 6})
        grid->setColAlignment(c, Qt::AlignLeft | Qt::AlignVCenter);
    for (int c : {3, 4})
        grid->setColAlignment(c, Qt::AlignCenter);
    for (int c = 7; c <= 14; ++c)
        grid->setColWidth(c, 0);
    grid->setColWidth(17, 0);
}

void FillGoodsGrid(Grid* grid, GoodsListRows rows)
{
    if (rows.rows == 0) {
        grid->clearRows();
        grid->setRows(2);
        return;
    }
    grid->load(rows.rows, GoodsListColumns, std::move(rows.cells));
    for (const GoodsListRows::Colour& c : rows.colours) {
        for (int col = 0; col <= 14; ++col) {
            if (c.back)
                grid->setCellBackColor(c.row + 1, col, Grid::colorFromValue(c.back));
            if (c.fore)
                grid->setCellForeColor(c.row + 1, col, Grid::colorFromValue(c.fore));
        }
    }
}

QStringList GoodsListRowCells(const Grid* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < GoodsListColumns; ++c)
        cells << grid->textMatrix(row, c);
    return cells;
}

GoodsSortKind GoodsListSortKind(int col)
{
    if ((col >= 0 && col <= 4) || col == 6)
        return GoodsSortKind::Text;
    if (col == 5 || col == 8 || col == 14)
        return GoodsSortKind::Number;
    return GoodsSortKind::None;
}

QStringList GoodsCategoryItems(const Database& db)
{
    QStringList items;
    const RecordSet cats = db.query(QStringLiteral("SELECT F1, F2 FROM TA3 ORDER BY F1"));
    for (int r = 0; r < cats.rowCount(); ++r)
        items << cats.text(r, 0).trimmed() + QLatin1Char('.') + cats.text(r, 1).trimmed();
    return items;
}

QStringList GoodsUnitItems(const Database& db)
{
    const RecordSet units =
        db.query(QStringLiteral("SELECT F4 FROM TA4 WHERE F4 <> '' AND F4 IS NOT NULL GROUP BY F4 ORDER BY F4"));
    if (units.isEmpty())
        return {QStringLiteral("PCS"), QStringLiteral("个"), QStringLiteral("支"), QStringLiteral("件"),
                QStringLiteral("Kg"), QStringLiteral("箱")};
    QStringList items;
    for (int r = 0; r < units.rowCount(); ++r)
        items << units.text(r, 0);
    return items;
}
