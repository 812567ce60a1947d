#include "platform/Database.h"
#include "platform/SqlFunctions.h"
#include "support/TestRegistry.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestSqlFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void datediff_data();
    void datediff();
    void datediffOfNoDateIsNull();
    void datediffRefusesUnknownUnit();
    void nowIsTheLocalTime();
    void iif_data();
    void iif();
    void val_data();
    void val();

private:
    QTemporaryDir m_dir;
    Database m_db;
};

void TestSqlFunctions::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db.create(m_dir.path() + QStringLiteral("/f.vxs"));
    m_db.execute(QStringLiteral("CREATE TABLE t (d TEXT)"));
}

void TestSqlFunctions::cleanupTestCase()
{
    m_db.close();
}

void TestSqlFunctions::datediff_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("result");
    QTest::newRow("d leap February") << "d" << "2024-01-31" << "2024-03-01" << 30;
    QTest::newRow("d common February") << "d" << "2023-01-31" << "2023-03-01" << 29;
    QTest::newRow("d unpadded") << "d" << "2024-1-31" << "2024-3-1" << 30;
    QTest::newRow("d backwards") << "d" << "2024-03-01" << "2024-01-31" << -30;
    QTest::newRow("d same day") << "d" << "2024-05-13" << "2024-05-13" << 0;
    QTest::newRow("d new year") << "d" << "2023-12-31" << "2024-01-01" << 1;
    QTest::newRow("d time ignored") << "d" << "2024-05-13 23:59:59" << "2024-05-14 00:00:01" << 1;
    QTest::newRow("d slashes") << "d" << "2024/5/13" << "2024-05-20" << 7;
    QTest::newRow("D upper case") << "D" << "2024-05-13" << "2024-05-20" << 7;
    QTest::newRow("m month boundary") << "m" << "2024-01-31" << "2024-02-01" << 1;
    QTest::newRow("m within month") << "m" << "2024-02-01" << "2024-02-29" << 0;
    QTest::newRow("m across year") << "m" << "2023-11-30" << "2024-02-01" << 3;
    QTest::newRow("m backwards") << "m" << "2024-03-01" << "2024-01-31" << -2;
    QTest::newRow("m unpadded") << "m" << "2024-1-5" << "2024-12-5" << 11;
    QTest::newRow("yyyy year boundary") << "yyyy" << "2023-12-31" << "2024-01-01" << 1;
    QTest::newRow("yyyy within year") << "yyyy" << "2024-01-01" << "2024-12-31" << 0;
    QTest::newRow("yyyy backwards") << "yyyy" << "2025-01-01" << "2023-12-31" << -2;
    QTest::newRow("yyyy leap day") << "yyyy" << "2024-02-29" << "2025-02-28" << 1;
}

void TestSqlFunctions::datediff()
{
    QFETCH(QString, unit);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, result);
    const QVariant v = m_db.scalar(QStringLiteral("SELECT datediff(?, ?, ?)"), {unit, from, to});
    QCOMPARE(v.typeId(), QMetaType::LongLong);
    QCOMPARE(v.toInt(), result);
}

void TestSqlFunctions::datediffOfNoDateIsNull()
{
    QVERIFY(!m_db.scalar(QStringLiteral("SELECT datediff('d', NULL, '2024-01-01')")).isValid());
    QVERIFY(!m_db.scalar(QStringLiteral("SELECT datediff('d', '2024-02-30', '2024-03-01')")).isValid());
    QVERIFY(!m_db.scalar(QStringLiteral("SELECT datediff('d', '', '2024-03-01')")).isValid());
    // In a filter a missing date matches neither side.
    m_db.execute(QStringLiteral("INSERT INTO t (d) VALUES ('2024-01-10'), (NULL), ('')"));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT count(*) FROM t WHERE datediff('d', d, '2024-01-31') >= 0")).toInt(), 1);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT count(*) FROM t WHERE datediff('d', d, '2024-01-31') < 0")).toInt(), 0);
    m_db.execute(QStringLiteral("DELETE FROM t"));
}

void TestSqlFunctions::datediffRefusesUnknownUnit()
{
    QVERIFY_THROWS_EXCEPTION(DbError, m_db.scalar(QStringLiteral("SELECT datediff('x', '2024-01-01', '2024-01-02')")));
}

void TestSqlFunctions::nowIsTheLocalTime()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString now = m_db.scalar(QStringLiteral("SELECT now()")).toString();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")).match(now).hasMatch(),
             qPrintable(now));
    const QDateTime t = QDateTime::fromString(now, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY(t >= before.addMSecs(-before.time().msec()));
    QVERIFY(t <= after);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT datediff('d', now(), date())")).toInt(), 0);
}

void TestSqlFunctions::iif_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("result");
    QTest::newRow("true comparison") << "iif(2 > 1, 'a', 'b')" << QVariant(QStringLiteral("a"));
    QTest::newRow("false comparison") << "iif(1 > 2, 'a', 'b')" << QVariant(QStringLiteral("b"));
    QTest::newRow("null condition") << "iif(NULL, 'a', 'b')" << QVariant(QStringLiteral("b"));
    QTest::newRow("fraction is true") << "iif(0.5, 'a', 'b')" << QVariant(QStringLiteral("a"));
    QTest::newRow("minus one is true") << "iif(-1, 'a', 'b')" << QVariant(QStringLiteral("a"));
    QTest::newRow("keeps the number type") << "iif(1, 3, 'b')" << QVariant(qlonglong(3));
    QTest::newRow("null answer") << "iif(1, NULL, 'b')" << QVariant();
    QTest::newRow("nested") << "iif(0, 'a', iif(1, 'c', 'd'))" << QVariant(QStringLiteral("c"));
}

void TestSqlFunctions::iif()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, result);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT ") + expression), result);
}

void TestSqlFunctions::val_data()
{
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<double>("result");
    QTest::newRow("number and unit") << QVariant(QStringLiteral("12.5kg")) << 12.5;
    QTest::newRow("no number") << QVariant(QStringLiteral("abc")) << 0.0;
    QTest::newRow("empty") << QVariant(QStringLiteral("")) << 0.0;
    QTest::newRow("null") << QVariant() << 0.0;
    QTest::newRow("blanks skipped") << QVariant(QStringLiteral("  1 2 3")) << 123.0;
    QTest::newRow("sign and exponent") << QVariant(QStringLiteral("-3.5e2个")) << -350.0;
    QTest::newRow("leading point") << QVariant(QStringLiteral(".5")) << 0.5;
    QTest::newRow("second point stops") << QVariant(QStringLiteral("1.2.3")) << 1.2;
    QTest::newRow("comma stops") << QVariant(QStringLiteral("12,5")) << 12.0;
    QTest::newRow("plus sign") << QVariant(QStringLiteral("+7")) << 7.0;
    QTest::newRow("code with zeros") << QVariant(QStringLiteral("0012")) << 12.0;
    QTest::newRow("whole number") << QVariant(42) << 42.0;
    QTest::newRow("real number") << QVariant(2.25) << 2.25;
}

void TestSqlFunctions::val()
{
    QFETCH(QVariant, input);
    QFETCH(double, result);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT val(?)"), {input}).toDouble(), result);
}

VX_REGISTER_TEST(TestSqlFunctions)
#include "tst_sqlfunctions.moc"
