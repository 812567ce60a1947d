#include "forms/QueryConditions.h"
#include "support/TestRegistry.h"

#include <QTest>

// The statements of the query-condition dialog.
class TestQueryConditions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneCondition_data();
    void oneCondition();
    void joinsAreParenthesised_data();
    void joinsAreParenthesised();
    void displayLines();
};

namespace {

const QueryField Name{QStringLiteral("名称"), QStringLiteral("TA1.F2"), QueryFieldType::Text};
const QueryField Price{QStringLiteral("单价"), QStringLiteral("TA4.F7"), QueryFieldType::Number};
const QueryField Day{QStringLiteral("日期"), QStringLiteral("TB1.F2"), QueryFieldType::Date};

}  // namespace

void TestQueryConditions::oneCondition_data()
{
    QTest::addColumn<int>("field");  // 0 name, 1 price, 2 date
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sql");
    QTest::newRow("text equal") << 0 << "等于(=)" << " x " << "TA1.F2 = 'x'";
    QTest::newRow("text like") << 0 << "包含(like)" << "x" << "TA1.F2 like '%x%' ESCAPE '\\'";
    QTest::newRow("apostrophe as typed") << 0 << "等于(=)" << "O'B" << "TA1.F2 = 'O''B'";
    QTest::newRow("apostrophe in like") << 0 << "包含(like)" << "O'B?" << "TA1.F2 like '%O''B?%' ESCAPE '\\'";
    QTest::newRow("percent is literal") << 0 << "包含(like)" << "5%" << "TA1.F2 like '%5\\%%' ESCAPE '\\'";
    QTest::newRow("star is a wildcard") << 0 << "包含(like)" << "a*b" << "TA1.F2 like '%a%b%' ESCAPE '\\'";
    QTest::newRow("empty like") << 0 << "包含(like)" << "" << "TA1.F2 like '%%' ESCAPE '\\'";
    QTest::newRow("number") << 1 << "大于(>)" << "12.50kg" << "TA4.F7 > 12.5";
    QTest::newRow("not a number") << 1 << "等于(=)" << "abc" << "TA4.F7 = 0";
    QTest::newRow("negative") << 1 << "小于(<)" << "-5" << "TA4.F7 < (-5)";
    QTest::newRow("date after") << 2 << "大于(>)" << "2024-1-5" << "TB1.F2 >= '2024-01-06'";
    QTest::newRow("date before") << 2 << "小于(<)" << "2024-1-5" << "TB1.F2 < '2024-01-05'";
    QTest::newRow("date on") << 2 << "等于(=)" << "2024-12-31" << "(TB1.F2 >= '2024-12-31' And TB1.F2 < '2025-01-01')";
}

void TestQueryConditions::oneCondition()
{
    QFETCH(int, field);
    QFETCH(QString, op);
    QFETCH(QString, typed);
    QFETCH(QString, sql);
    const QueryField f = field == 0 ? Name : field == 1 ? Price : Day;
    QVERIFY(QueryOperatorItems(f.type).contains(op));
    const QueryCondition c = MakeQueryCondition(QueryJoin::First, f, QueryOperatorOf(op), typed);
    QCOMPARE(QueryConditionSql(c), sql);
    QCOMPARE(QueryStatement(QStringLiteral("H"), {c}), QStringLiteral("H Where (") + sql + QLatin1Char(')'));
}

void TestQueryConditions::joinsAreParenthesised_data()
{
    QTest::addColumn<QString>("first");  // join of the condition that heads the list
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("statement");
    QTest::newRow("and") << "" << "并且" << "H Where (TA1.F2 = 'a' And TA1.F2 = 'b')";
    QTest::newRow("or") << "" << "或者" << "H Where (TA1.F2 = 'a' Or TA1.F2 = 'b')";
    QTest::newRow("exclude") << "" << "排除" << "H Where (TA1.F2 = 'a' AND Not TA1.F2 = 'b')";
    // What is left when the first of three conditions was removed.
    QTest::newRow("or heads") << "或者" << "并且" << "H Where (TA1.F2 = 'a' And TA1.F2 = 'b')";
    QTest::newRow("exclude heads") << "排除" << "或者" << "H Where (Not TA1.F2 = 'a' Or TA1.F2 = 'b')";
}

void TestQueryConditions::joinsAreParenthesised()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, statement);
    const QueryJoin head = first.isEmpty() ? QueryJoin::First : QueryJoinOf(first);
    const QVector<QueryCondition> cs{MakeQueryCondition(head, Name, QueryOp::Equal, QStringLiteral("a")),
                                     MakeQueryCondition(QueryJoinOf(second), Name, QueryOp::Equal, QStringLiteral("b"))};
    QCOMPARE(QueryStatement(QStringLiteral("H"), cs), statement);
    QCOMPARE(QueryStatement(QStringLiteral("H"), {}), QStringLiteral("H"));
}

void TestQueryConditions::displayLines()
{
    const QueryCondition c = MakeQueryCondition(QueryJoin::Or, Price, QueryOp::Greater, QStringLiteral("12.50"));
    QCOMPARE(QueryConditionDisplay(c, false), QStringLiteral("或者    单价  大于     12.5"));
    QCOMPARE(QueryConditionDisplay(c, true), QStringLiteral("      单价  大于     12.5"));
    const QueryCondition d = MakeQueryCondition(QueryJoin::First, Name, QueryOp::Like, QStringLiteral("x"));
    QCOMPARE(QueryConditionDisplay(d, true), QStringLiteral("        名称  包含     x"));
}

VX_REGISTER_TEST(TestQueryConditions)
#include "tst_queryconditions.moc"
