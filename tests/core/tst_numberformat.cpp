#include "core/Rounding.h"
#include "core/SqlText.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

// The number texts of lists and reports are written the short way; they
// must stay exactly the texts of the long way: every digit taken from the
// value rounded to 15 significant digits (Qt's rounding for the general
// text, the C library's for the patterns), on tricky values and on many
// random ones.
class TestNumberFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void knownTexts_data();
    void knownTexts();
    void trickyValuesAsTheLongWay_data();
    void trickyValuesAsTheLongWay();
    void randomValuesAsTheLongWay();
};

namespace {

// ---- the long way, step by step

struct LongDecimal {
    bool negative = false;
    QString digits;
    int exponent = 0;
};

LongDecimal longDecimal(double value)
{
    LongDecimal d;
    if (value == 0.0 || !std::isfinite(value))
        return d;
    const QString e = QString::number(value, 'e', 14);
    const int ePos = e.indexOf(QLatin1Char('e'));
    QString mantissa = e.left(ePos);
    if (mantissa.startsWith(QLatin1Char('-'))) {
        d.negative = true;
        mantissa.remove(0, 1);
    }
    mantissa.remove(QLatin1Char('.'));
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    d.digits = mantissa;
    d.exponent = e.mid(ePos + 1).toInt();
    return d;
}

QString longPlain(const LongDecimal& d)
{
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    QString s;
    if (d.exponent >= 0) {
        QString digits = d.digits;
        if (digits.size() < d.exponent + 1)
            digits += QString(d.exponent + 1 - digits.size(), QLatin1Char('0'));
        s = digits.left(d.exponent + 1);
        const QString frac = digits.mid(d.exponent + 1);
        if (!frac.isEmpty())
            s += QLatin1Char('.') + frac;
    } else {
        s = QStringLiteral("0.") + QString(-d.exponent - 1, QLatin1Char('0')) + d.digits;
    }
    return d.negative ? QLatin1Char('-') + s : s;
}

QString longGeneral(double value)
{
    const LongDecimal d = longDecimal(value);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    if (d.exponent >= 15 || d.exponent < -6) {
        QString s = d.digits.left(1);
        if (d.digits.size() > 1)
            s += QLatin1Char('.') + d.digits.mid(1);
        s += QStringLiteral("E%1%2")
                 .arg(QLatin1Char(d.exponent < 0 ? '-' : '+'))
                 .arg(std::abs(d.exponent), 2, 10, QLatin1Char('0'));
        return d.negative ? QLatin1Char('-') + s : s;
    }
    return longPlain(d);
}

QString longRoundPlain(const QString& text, int decimals)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString body = negative ? text.mid(1) : text;
    const int point = body.indexOf(QLatin1Char('.'));
    if (point < 0 || body.size() - point - 1 <= decimals)
        return text;
    const bool up = body.at(point + 1 + decimals) >= QLatin1Char('5');
    QString digits = body.left(point) + body.mid(point + 1, decimals);
    if (up) {
        int i = digits.size() - 1;
        while (i >= 0 && digits.at(i) == QLatin1Char('9'))
            digits[i--] = QLatin1Char('0');
        if (i >= 0)
            digits[i] = QChar(digits.at(i).unicode() + 1);
        else
            digits.prepend(QLatin1Char('1'));
    }
    const int intLen = digits.size() - decimals;
    const QString s = digits.left(intLen) + QLatin1Char('.') + digits.mid(intLen);
    return negative ? QLatin1Char('-') + s : s;
}

QString longNumText(double value)
{
    QString t = longGeneral(value);
    const int point = t.indexOf(QLatin1Char('.'));
    if (point >= 0 && t.size() - point - 1 > 8)
        t = longGeneral(longRoundPlain(longPlain(longDecimal(value)), 8).toDouble());
    return t;
}

QString longFixed(double value, int decimals)
{
    QByteArray k = "0";
    if (value != 0.0 && std::isfinite(value)) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
        QByteArray mantissa(buf, 1);
        mantissa.append(buf + 2, 14);
        const int keep = std::atoi(buf + 17) + 1 + decimals;
        if (keep > 15) {
            k = mantissa + QByteArray(keep - 15, '0');
        } else if (keep >= 0) {
            k = mantissa.left(keep);
            if (mantissa.at(keep) >= '5') {
                int i = k.size() - 1;
                while (i >= 0 && k.at(i) == '9')
                    k[i--] = '0';
                if (i >= 0)
                    k[i] = char(k.at(i) + 1);
                else
                    k.prepend('1');
            }
        }
        while (k.size() > 1 && k.at(0) == '0')
            k.remove(0, 1);
        if (k.isEmpty())
            k = "0";
    }
    const bool negative = value < 0 && k != "0";
    if (decimals > 0) {
        if (k.size() <= decimals)
            k.prepend(QByteArray(decimals + 1 - k.size(), '0'));
        k.insert(k.size() - decimals, '.');
    }
    if (negative)
        k.prepend('-');
    return QString::fromLatin1(k);
}

// Compares every text of one value; answers the first difference, or "".
QString differenceAt(double value)
{
    const QString shown = QString::number(value, 'g', 17);
    if (GeneralNumberText(value) != longGeneral(value))
        return shown + QStringLiteral(" general: ") + GeneralNumberText(value) + QStringLiteral(" vs ") + longGeneral(value);
    if (NumText(value) != longNumText(value))
        return shown + QStringLiteral(" NumText: ") + NumText(value) + QStringLiteral(" vs ") + longNumText(value);
    for (int decimals : {0, 1, 2, 3, 4, 6, 8, 12}) {
        const QString fixed = FormatDecimals(value, decimals);
        if (fixed != longFixed(value, decimals))
            return shown + QStringLiteral(" %1 decimals: ").arg(decimals) + fixed + QStringLiteral(" vs ") +
                   longFixed(value, decimals);
        // (Figures past 1E+300 overflow when read back, the long way too.)
        if (std::fabs(value) < 1e300 && RoundToDecimals(value, decimals) != fixed.toDouble())
            return shown + QStringLiteral(" %1 decimals read back: ").arg(decimals) +
                   QString::number(RoundToDecimals(value, decimals), 'g', 17);
    }
    return {};
}

}  // namespace

void TestNumberFormat::knownTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("general");
    QTest::addColumn<QString>("numText");
    QTest::addColumn<QString>("twoPlaces");
    QTest::newRow("zero") << 0.0 << "0" << "0" << "0.00";
    QTest::newRow("minus zero") << -0.0 << "0" << "0" << "0.00";
    QTest::newRow("sum with a binary residue") << 0.1 + 0.2 << "0.3" << "0.3" << "0.30";
    QTest::newRow("half rounds away from zero") << -2.675 << "-2.675" << "-2.675" << "-2.68";
    QTest::newRow("below a cent shows no minus") << -0.004 << "-0.004" << "-0.004" << "0.00";
    QTest::newRow("nine decimals") << 1.123456789 << "1.123456789" << "1.12345679" << "1.12";
    QTest::newRow("smallest positional") << 0.000001 << "0.000001" << "0.000001" << "0.00";
    QTest::newRow("exponent below") << 0.0000001 << "1E-07" << "1E-07" << "0.00";
    QTest::newRow("exponent from 1E+15") << 1e15 << "1E+15" << "1E+15" << "1000000000000000.00";
    QTest::newRow("fifteen digits") << 999999999999999.0 << "999999999999999" << "999999999999999"
                                    << "999999999999999.00";
    QTest::newRow("sixteen digits round") << 1234567890123456.0 << "1.23456789012346E+15" << "1.23456789012346E+15"
                                          << "1234567890123460.00";
    QTest::newRow("three exponent digits") << 1e300 << "1E+300" << "1E+300"
                                           << "1" + QString(300, QLatin1Char('0')) + ".00";
}

void TestNumberFormat::knownTexts()
{
    QFETCH(double, value);
    QFETCH(QString, general);
    QFETCH(QString, numText);
    QFETCH(QString, twoPlaces);
    QCOMPARE(GeneralNumberText(value), general);
    QCOMPARE(NumText(value), numText);
    QCOMPARE(FormatNumber(value, QStringLiteral("#0.00")), twoPlaces);
}

void TestNumberFormat::trickyValuesAsTheLongWay_data()
{
    QTest::addColumn<double>("value");
    const double values[] = {
        0.0, -0.0, 0.5, 0.125, 1.005, 2.675, -2.675, 1.45, 4.345, 8.675, 99.995, 0.045, 1234.5, -1234.5,
        1.0 / 3, 2.0 / 3, 0.1 + 0.2, 3.999999999999999, 9.999999999999999, 0.000001, 9.99999999999999e-7,
        1e-7, 1.5e-7, 5e-9, -5e-9, 0.000000005, 123.456789012345678, 1e14, 1e15 - 1, 1e15, 1e15 + 1,
        123456789012345.6, 100000000000000.5, 1234567890123.125, 1125899906842624.5, 9007199254740993.0,
        1e21, 1e22, 1e23, 1e300, 1.7976931348623157e308, 5e-324, 2.2250738585072014e-308,
        std::numeric_limits<double>::infinity(), 0.30000000000000004, 4.35, 4.355, 0.7 * 3, 1e-5 / 3};
    for (double v : values)
        QTest::addRow("%.17g", v) << v;
}

void TestNumberFormat::trickyValuesAsTheLongWay()
{
    QFETCH(double, value);
    QCOMPARE(differenceAt(value), QString());
    QCOMPARE(differenceAt(-value), QString());
}

void TestNumberFormat::randomValuesAsTheLongWay()
{
    QRandomGenerator rng(20240513);
    auto check = [](double v) {
        const QString d = differenceAt(v);
        QVERIFY2(d.isEmpty(), qPrintable(d));
    };
    for (int i = 0; i < 20000; ++i) {
        // Figures as the books hold them: cents, eight-decimal quantities, products and quotients of them.
        const double cents = double(rng.bounded(2000000000)) / 100;
        const double qty = double(qint64(rng.bounded(100000000)) * 10 + rng.bounded(10)) / 1e8;
        check(cents);
        check(-qty);
        check(cents * qty);
        check(qty != 0 ? cents / qty : cents);
        // Any double at all, and numbers placed right at a half of some decimal place.
        quint64 bits = rng.generate64();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any))
            check(any);
        const int places = int(rng.bounded(12));
        check((double(rng.bounded(100000000)) + 0.5) / std::pow(10.0, places));
    }
}

VX_REGISTER_TEST(TestNumberFormat)
#include "tst_numberformat.moc"
