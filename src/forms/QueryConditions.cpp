#include "forms/QueryConditions.h"

#include "core/SqlText.h"
#include "platform/SqlFunctions.h"

QStringList QueryOperatorItems(QueryFieldType type)
{
    if (type == QueryFieldType::Text)
        return {QStringLiteral("等于(=)"), QStringLiteral("包含(like)")};
    return {QStringLiteral("大于(>)"), QStringLiteral("小于(<)"), QStringLiteral("等于(=)")};
}

QueryOp QueryOperatorOf(const QString& item)
{
    if (item.startsWith(QStringLiteral("包含")))
        return QueryOp::Like;
    if (item.startsWith(QStringLiteral("大于")))
        return QueryOp::Greater;
    if (item.startsWith(QStringLiteral("小于")))
        return QueryOp::Less;
    return QueryOp::Equal;
}

QStringList QueryJoinItems()
{
    return {QStringLiteral("并且"), QStringLiteral("或者"), QStringLiteral("排除")};
}

QueryJoin QueryJoinOf(const QString& item)
{
    const QString t = item.trimmed();
    if (t == QStringLiteral("或者"))
        return QueryJoin::Or;
    if (t == QStringLiteral("排除"))
        return QueryJoin::AndNot;
    return QueryJoin::And;
}

QueryCondition MakeQueryCondition(QueryJoin join, const QueryField& field, QueryOp op, const QString& typed)
{
    QueryCondition c{join, field, op, typed};
    if (field.type == QueryFieldType::Number)
        c.value = NumText(LeadingNumber(typed.trimmed()));
    return c;
}

namespace {

QString opWord(QueryOp op)
{
    switch (op) {
    case QueryOp::Equal: return QStringLiteral("等于");
    case QueryOp::Like: return QStringLiteral("包含");
    case QueryOp::Greater: return QStringLiteral("大于");
    case QueryOp::Less: return QStringLiteral("小于");
    }
    return {};
}

QString opToken(QueryOp op)
{
    switch (op) {
    case QueryOp::Equal: return QStringLiteral(" = ");
    case QueryOp::Like: return QStringLiteral(" like ");
    case QueryOp::Greater: return QStringLiteral(" > ");
    case QueryOp::Less: return QStringLiteral(" < ");
    }
    return {};
}

QString connector(QueryJoin j)
{
    switch (j) {
    case QueryJoin::First: return {};
    case QueryJoin::And: return QStringLiteral(" And ");
    case QueryJoin::Or: return QStringLiteral(" Or ");
    case QueryJoin::AndNot: return QStringLiteral(" AND Not ");
    }
    return {};
}

QString joinWord(QueryJoin j)
{
    switch (j) {
    case QueryJoin::And: return QStringLiteral("并且");
    case QueryJoin::Or: return QStringLiteral("或者");
    case QueryJoin::AndNot: return QStringLiteral("排除");
    case QueryJoin::First: break;
    }
    return {};
}

QString quoted(const QString& s)
{
    return SqlLiteral(s);
}

}  // namespace

QString QueryConditionDisplay(const QueryCondition& c, bool first)
{
    QString prefix;
    if (c.join == QueryJoin::First)
        prefix = QString(8, QLatin1Char(' '));
    else if (first)
        prefix = QString(6, QLatin1Char(' '));
    else
        prefix = joinWord(c.join) + QString(4, QLatin1Char(' '));
    return prefix + c.field.caption + QStringLiteral("  ") + opWord(c.op) + QStringLiteral("     ") + c.value;
}

QString QueryConditionSql(const QueryCondition& c)
{
    const QString& col = c.field.column;
    switch (c.field.type) {
    case QueryFieldType::Text: {
        const QString safe = SqlSafe(c.value);
        if (c.op == QueryOp::Like)
            return col + opToken(c.op) + quoted(QLatin1Char('%') + LikePattern(safe, Wildcards::StarOnly) + QLatin1Char('%'))
                   + QStringLiteral(" ESCAPE '\\'");
        return col + QStringLiteral(" = ") + quoted(safe);
    }
    case QueryFieldType::Number: {
        const QString n = NumText(LeadingNumber(c.value));
        return col + opToken(c.op) + (n.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + n + QLatin1Char(')') : n);
    }
    case QueryFieldType::Date: {
        // Day ranges on the padded stored dates, so an index on the column serves.
        const std::optional<QDate> d = ParseSqlDate(c.value);
        const QDate day = d ? *d : QDate::currentDate();
        const QString from = quoted(SqlDate(day));
        const QString next = quoted(SqlDate(day.addDays(1)));
        if (c.op == QueryOp::Greater)
            return col + QStringLiteral(" >= ") + next;
        if (c.op == QueryOp::Less)
            return col + QStringLiteral(" < ") + from;
        return QLatin1Char('(') + col + QStringLiteral(" >= ") + from + QStringLiteral(" And ") + col
               + QStringLiteral(" < ") + next + QLatin1Char(')');
    }
    }
    return {};
}

QString QueryStatement(const QString& head, const QVector<QueryCondition>& conditions)
{
    if (conditions.isEmpty())
        return head;
    QString where;
    for (int i = 0; i < conditions.size(); ++i) {
        const QueryCondition& c = conditions[i];
        if (i == 0)
            where += c.join == QueryJoin::AndNot ? QStringLiteral("Not ") : QString();
        else
            where += connector(c.join);
        where += QueryConditionSql(c);
    }
    return head + QStringLiteral(" Where (") + where + QLatin1Char(')');
}
