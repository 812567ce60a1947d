#pragma once
// The search condition of the query-condition dialog: fields offered by the
// calling window, conditions joined by "并且", "或者" or "排除", and the
// statement handed back. The user's conditions are enclosed in one pair of
// parentheses after " Where ", so a window that appends its own filter
// (" And LB=1") filters all of them, whatever "或者" they contain. Values are
// made safe here: texts trimmed by SqlSafe and written as SQL literals, so a
// text is searched as typed, quotes included ("包含" through LikePattern, with
// "*" as its only wildcard), numbers as their leading number, dates as day
// ranges on the stored padded dates.

#include <QString>
#include <QStringList>
#include <QVector>

enum class QueryFieldType { Text = 0, Number = 1, Date = 2 };

struct QueryField {
    QString caption;
    QString column;  // a column or an expression, inserted unchanged
    QueryFieldType type = QueryFieldType::Text;
};

enum class QueryOp { Equal, Like, Greater, Less };
enum class QueryJoin { First, And, Or, AndNot };

struct QueryCondition {
    QueryJoin join = QueryJoin::First;
    QueryField field;
    QueryOp op = QueryOp::Equal;
    QString value;  // as it enters the condition: text as typed, number text, or date as "yyyy-m-d"
};

// The operator items of a field type: "等于(=)", "包含(like)" for texts;
// "大于(>)", "小于(<)", "等于(=)" for numbers and dates.
QStringList QueryOperatorItems(QueryFieldType type);
QueryOp QueryOperatorOf(const QString& item);
// "并且" / "或者" / "排除".
QStringList QueryJoinItems();
QueryJoin QueryJoinOf(const QString& item);

// A condition from the dialog's boxes; a number field takes the leading number
// of the typed text ("12.50kg" gives 12.5, no number gives 0).
QueryCondition MakeQueryCondition(QueryJoin join, const QueryField& field, QueryOp op, const QString& typed);

// The condition's line in the dialog's list; `first` when it heads the list.
QString QueryConditionDisplay(const QueryCondition& c, bool first);
// The condition's SQL without its connector.
QString QueryConditionSql(const QueryCondition& c);

// head alone without conditions; otherwise head + " Where (" + conditions + ")".
QString QueryStatement(const QString& head, const QVector<QueryCondition>& conditions);
