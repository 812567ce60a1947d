#include "core/Rounding.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <cmath>

// Rounding through the number patterns and the eight-decimal difference.
class TestRounding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundToPattern_data();
    void roundToPattern();
    void exactDifference_data();
    void exactDifference();
    void cancellingQuantitiesGiveExactlyZero();
};

void TestRounding::roundToPattern_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("rounded");

    QTest::newRow("half away from zero") << 2.675 << "#0.00" << "2.68" << 2.68;
    QTest::newRow("negative half away from zero") << -2.675 << "#0.00" << "-2.68" << -2.68;
    QTest::newRow("decimal half, binary below it") << 1.005 << "#0.00" << "1.01" << 1.01;
    QTest::newRow("exact binary half") << 0.125 << "#0.00" << "0.13" << 0.13;
    QTest::newRow("whole numbers") << 2.5 << "#0" << "3" << 3.0;
    QTest::newRow("below the half") << 9.99499 << "#0.00" << "9.99" << 9.99;
    QTest::newRow("carry into a new digit") << 9.995 << "#0.00" << "10.00" << 10.0;
    QTest::newRow("small negative becomes zero") << -0.004 << "#0.00" << "0.00" << 0.0;
    QTest::newRow("eight decimals") << 10.123456789 << "#0.00000000" << "10.12345679" << 10.12345679;
    QTest::newRow("twelve decimals of a residue") << 5.55e-17 << "#0.000000000000" << "0.000000000000" << 0.0;
    QTest::newRow("large amount") << 123456789.125 << "#0.00" << "123456789.13" << 123456789.13;
    QTest::newRow("a product that is no exact binary number") << 3 * 10.01 << "#0.00" << "30.03" << 30.03;
}

void TestRounding::roundToPattern()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(double, rounded);

    QCOMPARE(FormatNumber(value, pattern), text);
    const double r = RoundToPattern(value, pattern);
    QCOMPARE(r, rounded);
    QVERIFY(!std::signbit(r) || r != 0);
    // Rounding again changes nothing.
    QCOMPARE(RoundToPattern(r, pattern), r);
}

void TestRounding::exactDifference_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("difference");
    QTest::addColumn<double>("aAfter");
    QTest::addColumn<double>("bAfter");

    QTest::newRow("fractions") << 0.3 << 0.1 << 0.2 << 0.3 << 0.1;
    QTest::newRow("equal") << 0.3 << 0.3 << 0.0 << 0.3 << 0.3;
    QTest::newRow("first argument rewritten") << 10.123456789 << 0.0 << 10.12345679 << 10.12345679 << 0.0;
    QTest::newRow("second argument rewritten") << 1.0 << 0.333333333 << 0.66666667 << 1.0 << 0.33333333;
    QTest::newRow("negative") << -2.25 << 0.75 << -3.0 << -2.25 << 0.75;
    QTest::newRow("subtracting a negative") << 10.0 << -0.5 << 10.5 << 10.0 << -0.5;
    QTest::newRow("beyond a 32-bit whole part") << 5e9 << 0.25 << 4999999999.75 << 5e9 << 0.25;
}

void TestRounding::exactDifference()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, difference);
    QFETCH(double, aAfter);
    QFETCH(double, bAfter);

    QCOMPARE(ExactDifference(a, b), difference);
    QCOMPARE(a, aAfter);
    QCOMPARE(b, bAfter);
}

void TestRounding::cancellingQuantitiesGiveExactlyZero()
{
    double a = 0.1 + 0.2;  // 0.30000000000000004
    double b = 0.3;
    const double d = ExactDifference(a, b);
    QVERIFY(d == 0.0);
    double c = 1.1;
    double e = 0.7 + 0.4;
    QVERIFY(ExactDifference(c, e) == 0.0);
}

VX_REGISTER_TEST(TestRounding)
#include "tst_rounding.moc"
