#include "core/StatementFilter.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The conditions a report adds to its statement: text and values bound apart.
class TestStatementFilter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conditions_data();
    void conditions();
    void codePart_data();
    void codePart();
    void typedTextsFindWhatIsStored_data();
    void typedTextsFindWhatIsStored();
};

namespace {

enum Kind { Code, LikeWhole, LikeAnywhere, Equals };

void apply(StatementFilter& f, int kind, const QString& typed)
{
    switch (kind) {
    case Code: f.code(QStringLiteral("c"), typed); break;
    case LikeWhole: f.like(QStringLiteral("c"), typed); break;
    case LikeAnywhere: f.like(QStringLiteral("c"), typed, StatementFilter::Anywhere); break;
    case Equals: f.equals(QStringLiteral("c"), typed); break;
    }
}

}  // namespace

void TestStatementFilter::conditions_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("params");
    QTest::newRow("code plain") << int(Code) << " G1 " << " AND c = ?" << QVariantList{"G1"};
    QTest::newRow("code pattern") << int(Code) << "G?1*" << " AND c LIKE ? ESCAPE '\\'" << QVariantList{"G_1%"};
    QTest::newRow("code empty") << int(Code) << "  " << "" << QVariantList{};
    QTest::newRow("like whole") << int(LikeWhole) << "a*b" << " AND c LIKE ? ESCAPE '\\'" << QVariantList{"a%b"};
    QTest::newRow("like keeps ? and %") << int(LikeWhole) << "a?%" << " AND c LIKE ? ESCAPE '\\'"
                                        << QVariantList{"a?\\%"};
    QTest::newRow("like anywhere") << int(LikeAnywhere) << " x " << " AND c LIKE ? ESCAPE '\\'" << QVariantList{"%x%"};
    QTest::newRow("equals") << int(Equals) << "O'K" << " AND c = ?" << QVariantList{"O'K"};
    QTest::newRow("equals empty") << int(Equals) << "" << "" << QVariantList{};
}

void TestStatementFilter::conditions()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QString, sql);
    QFETCH(QVariantList, params);
    QString statement = QStringLiteral("SELECT 1 WHERE 1 = 1");
    QVariantList bound{42};
    StatementFilter f(statement, bound);
    apply(f, kind, typed);
    QCOMPARE(statement, QStringLiteral("SELECT 1 WHERE 1 = 1") + sql);
    QCOMPARE(bound, QVariantList{42} + params);
}

void TestStatementFilter::codePart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::newRow("code.name") << " 01.五金 " << "01";
    QTest::newRow("no dot") << "01" << "01";
    QTest::newRow("leading dot") << ".5" << ".5";
    QTest::newRow("empty") << "" << "";
}

void TestStatementFilter::codePart()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QCOMPARE(StatementFilter::codePart(text), code);
}

// Quotes, percent signs and underscores typed by the operator reach the
// database as values: they find the row holding them and nothing else.
void TestStatementFilter::typedTextsFindWhatIsStored_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("apostrophe") << int(LikeAnywhere) << "'s" << QStringList{"G1"};
    QTest::newRow("percent") << int(LikeAnywhere) << "50%" << QStringList{"G2"};
    QTest::newRow("underscore") << int(LikeWhole) << "a_b" << QStringList{"G3"};
    QTest::newRow("injection") << int(Equals) << "x' OR '1'='1" << QStringList{};
    QTest::newRow("code pattern") << int(Code) << "g*" << QStringList{"G1", "G2", "G3"};
}

void TestStatementFilter::typedTextsFindWhatIsStored()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    FreshAccountSet set;
    Database& db = set.db();
    db.executeScript(QStringLiteral("CREATE TEMP TABLE t (k TEXT COLLATE NOCASE, c TEXT COLLATE NOCASE);"
                                    "INSERT INTO t VALUES ('G1', 'Joe''s');"
                                    "INSERT INTO t VALUES ('G2', '50% off');"
                                    "INSERT INTO t VALUES ('G3', 'a_b');"
                                    "INSERT INTO t VALUES ('H1', 'axb');"));
    QString sql = QStringLiteral("SELECT k FROM t WHERE 1 = 1");
    QVariantList params;
    StatementFilter f(sql, params);
    if (kind == Code)
        f.code(QStringLiteral("k"), typed);
    else
        apply(f, kind, typed);
    sql += QStringLiteral(" ORDER BY k");
    Statement st(db, sql);
    st.bindAll(params);
    QStringList keys;
    while (st.step())
        keys << st.text(0);
    QCOMPARE(keys, found);
}

VX_REGISTER_TEST(TestStatementFilter)
#include "tst_statementfilter.moc"
