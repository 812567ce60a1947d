#include "accountsets/Refresh.h"

#include "core/Kinds.h"
#include "core/Posting.h"
#include "core/SqlText.h"
#include "core/WholeGoodsWalk.h"
#include "platform/Database.h"

namespace {

void report(const RefreshProgress& progress, const QString& item, int done, int total)
{
    if (progress)
        progress(item, done, total);
}

QString andWhere(const CodeCondition& filter)
{
    return filter.sql.isEmpty() ? QString() : QStringLiteral(" AND (") + filter.sql + QLatin1Char(')');
}

QString onlyWhere(const CodeCondition& filter)
{
    return filter.sql.isEmpty() ? QString() : QStringLiteral(" WHERE (") + filter.sql + QLatin1Char(')');
}

}  // namespace

CodeCondition CodeFilter(const QString& column, CodeMatch match, const QString& code)
{
    const QString v = code.trimmed();
    switch (match) {
    case CodeMatch::Equals:
        return {column + QStringLiteral(" = ?"), {v}};
    case CodeMatch::Contains:
        return {column + QStringLiteral(" LIKE ? ESCAPE '\\'"), {QLatin1Char('%') + LikePattern(v) + QLatin1Char('%')}};
    case CodeMatch::BeginsWith:
        break;
    }
    return {column + QStringLiteral(" LIKE ? ESCAPE '\\'"), {LikePattern(v) + QLatin1Char('%')}};
}

int RefreshGoods(Database& db, const PostingRules& rules, const CodeCondition& filter, const RefreshProgress& progress,
                 WholeWalkOrder order)
{
    SizeWalkCache(db);
    Transaction tx(db);
    const RecordSet goods =
        db.query(QStringLiteral("SELECT F1, V3, V4, V5 FROM TA4") + onlyWhere(filter) + QStringLiteral(" ORDER BY F1"),
                 filter.params);
    // Goods with posted lines but no goods record get their attribute
    // values' stock re-posted and no cost. Without an attribute no document is
    // posted per attribute value: walking the lines per value would rebase
    // stocktaking lines on a stock that leaves out the goods' opening quantity.
    // The codes are found by stepping from one code to the next through the
    // (F1, SRT) index, one seek per code, instead of reading every line.
    RecordSet unlisted;
    if (rules.attributeOn)
        unlisted = db.query(
            QStringLiteral("WITH RECURSIVE codes(c) AS (SELECT (SELECT min(F1) FROM TB11) UNION ALL "
                           "SELECT (SELECT min(F1) FROM TB11 WHERE F1 > codes.c) FROM codes WHERE codes.c IS NOT NULL) "
                           "SELECT c FROM codes WHERE c IS NOT NULL "
                           "AND NOT EXISTS (SELECT 1 FROM TA4 WHERE TA4.F1 = codes.c) "
                           "AND EXISTS (SELECT 1 FROM TB11 WHERE TB11.F1 = codes.c AND TB11.SRT <> ''") +
                andWhere(filter) + QLatin1Char(')'),
            filter.params);
    std::vector<GoodsToWalk> walk;
    walk.reserve(size_t(goods.rowCount() + unlisted.rowCount()));
    for (int r = 0; r < goods.rowCount(); ++r) {
        RunningFigures opening;
        opening.qty = goods.number(r, QStringLiteral("V3"));
        opening.price = goods.number(r, QStringLiteral("V4"));
        opening.amount = goods.number(r, QStringLiteral("V5"));
        walk.push_back({goods.text(r, 0), opening});
    }
    for (int r = 0; r < unlisted.rowCount(); ++r)
        walk.push_back({unlisted.text(r, 0), std::nullopt});
    const int total = int(walk.size());
    WalkWholeGoods(db, rules, walk, order, [&](int item, int done) {
        report(progress, QStringLiteral("正在刷新货品----") + walk[size_t(item)].code, done, total);
    });
    tx.commit();
    return goods.rowCount();
}

int RefreshUnits(Database& db, const CodeCondition& filter, const RefreshProgress& progress)
{
    SizeWalkCache(db);
    Transaction tx(db);
    const RecordSet units =
        db.query(QStringLiteral("SELECT F1 FROM TA1") + onlyWhere(filter) + QStringLiteral(" ORDER BY F1"), filter.params);
    UnitBalanceWalker walker(db);
    for (int r = 0; r < units.rowCount(); ++r) {
        const QString code = units.text(r, 0);
        report(progress, QStringLiteral("正在刷新关系单位----") + code, r, units.rowCount());
        // "0" sorts below every posting key: the whole chain from the opening balance.
        walker.walk(QStringLiteral("0"), code);
    }
    tx.commit();
    return units.rowCount();
}

void RefreshDocumentTotals(Database& db)
{
    Transaction tx(db);
    const QString costValued = QStringLiteral("(LB = %1 OR LB = %2) AND V1 = 0")
                                   .arg(code(DocKind::Outbound))
                                   .arg(code(DocKind::StockReturn));
    const QString costSum = QStringLiteral("(SELECT sum(F8) FROM TB11 WHERE TB11.F0 = TB1.F1 AND TB11.V1 = 0)");
    db.execute(QStringLiteral("UPDATE TB11 SET F7 = C7, F8 = -C8 WHERE V1 = 0 AND F0 IN (SELECT F1 FROM TB1 WHERE %1)")
                   .arg(costValued));
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = -%1 WHERE %2 AND coalesce(%1, 0) <> 0").arg(costSum, costValued));
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = coalesce((SELECT sum(F8) FROM TB11 WHERE TB11.F0 = TB1.F1), 0) "
                              "WHERE LB = ?"),
               {code(DocKind::Stocktaking)});
    tx.commit();
}

void RepairReturnData(Database& db)
{
    Transaction tx(db);
    db.execute(QStringLiteral("UPDATE TB11 SET C6 = -F6 WHERE LB = ?"), {code(DocKind::StockReturn)});
    db.execute(QStringLiteral("UPDATE TB11 SET R6 = F6 WHERE LB = ?"), {code(DocKind::SupplierReturn)});
    tx.commit();
}
