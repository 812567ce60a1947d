#include "core/CapitalAmount.h"
#include "support/TestRegistry.h"

#include <QTest>

class TestCapitalAmount : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void capitalAmount_data();
    void capitalAmount();
};

void TestCapitalAmount::capitalAmount_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "";
    QTest::newRow("100") << 100.0 << "壹佰元整";
    QTest::newRow("1234.5") << 1234.5 << "壹仟贰佰叁拾肆元伍角零分";
    QTest::newRow("100.05") << 100.05 << "壹佰元零角伍分";
    QTest::newRow("10.1") << 10.1 << "壹拾元壹角零分";
    QTest::newRow("20001.02") << 20001.02 << "贰万零壹元零角贰分";
    QTest::newRow("0.5") << 0.5 << "伍角零分";
    QTest::newRow("0.01") << 0.01 << "壹分";
    QTest::newRow("1.005 rounds down") << 1.005 << "壹元整";
    QTest::newRow("ten million") << 10000000.0 << "壹仟万元整";
    QTest::newRow("hundred million") << 100000000.0 << "壹亿元整";
    QTest::newRow("1 000 010 000.5") << 1000010000.5 << "壹拾亿零壹万元伍角零分";
    QTest::newRow("largest in words") << 999999999999.99
                                      << "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";
    QTest::newRow("fifteen digits of fen") << 1000000000000.0 << "1000000000000";
    QTest::newRow("negative whole") << -5.0 << "负伍元整";
    QTest::newRow("negative with fen") << -123.45 << "负壹佰贰拾叁元肆角伍分";
    QTest::newRow("negative below a yuan") << -0.5 << "负伍角零分";
    QTest::newRow("negative too large") << -1000000000000.0 << "-1000000000000";
    QTest::newRow("rounds to no fen") << 0.004 << "零分";
    QTest::newRow("negative rounds to no fen") << -0.004 << "零分";
}

void TestCapitalAmount::capitalAmount()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(CapitalAmount(amount), expected);
}

VX_REGISTER_TEST(TestCapitalAmount)
#include "tst_capitalamount.moc"
