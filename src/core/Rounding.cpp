#include "core/Rounding.h"

#include "core/SqlText.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int MaxDecimals = 22;

// |value| rounded to `decimals` places as the digits of a whole number K
// (the figure is K x 10^-decimals), taken from the 15 significant digits of
// the value and rounded half up in decimal.
QByteArray roundedDigits(double value, int decimals)
{
    if (value == 0.0 || !std::isfinite(value))
        return QByteArrayLiteral("0");
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));  // "d.dddddddddddddde+XX"
    QByteArray mantissa(buf, 1);
    mantissa.append(buf + 2, 14);
    const int exponent = std::atoi(buf + 17);
    const int keep = exponent + 1 + decimals;  // digits of K taken from the mantissa
    QByteArray k;
    if (keep > 15) {
        k = mantissa + QByteArray(keep - 15, '0');
    } else if (keep < 0) {
        k = QByteArrayLiteral("0");
    } else {
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
    int lead = 0;
    while (lead < k.size() - 1 && k.at(lead) == '0')
        ++lead;
    k = k.mid(lead);
    return k.isEmpty() ? QByteArrayLiteral("0") : k;
}

// K of roundedDigits as a whole number, from the scaled binary value, when the
// value lies clearly away from a half at that place (most figures do):
// rounding the scaled value then gives the same K as the decimal road, at a
// fraction of the cost. None near a half, from 10^15 on, and for infinities.
std::optional<qint64> scaledDigits(double value, int decimals)
{
    const double t = std::fabs(value) * Pow10[decimals];
    if (!(t < 1e15))
        return std::nullopt;
    const double whole = std::floor(t);
    const double frac = t - whole;
    if (std::fabs(frac - 0.5) <= 1e-6 + t * 1e-14)
        return std::nullopt;
    return qint64(frac > 0.5 ? whole + 1 : whole);
}

}  // namespace

int PatternDecimals(const QString& pattern)
{
    const int point = pattern.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 0;
    int n = 0;
    for (int i = point + 1; i < pattern.size(); ++i)
        if (pattern.at(i) == QLatin1Char('0') || pattern.at(i) == QLatin1Char('#'))
            ++n;
    return n;
}

QString FormatDecimals(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, MaxDecimals);
    if (const std::optional<qint64> scaled = scaledDigits(value, decimals)) {
        // The digits of K, written from the right, with the point `decimals` from the end.
        char out[48];
        int n = int(sizeof out);
        qint64 k = *scaled;
        for (int written = 0; k > 0 || written <= decimals; ++written) {
            if (written == decimals && decimals > 0)
                out[--n] = '.';
            out[--n] = char('0' + k % 10);
            k /= 10;
        }
        if (value < 0 && *scaled != 0)
            out[--n] = '-';
        return QString::fromLatin1(out + n, int(sizeof out) - n);
    }
    QByteArray k = roundedDigits(value, decimals);
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

QString FormatNumber(double value, const QString& pattern)
{
    return FormatDecimals(value, PatternDecimals(pattern));
}

double RoundToDecimals(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, MaxDecimals);
    if (!std::isfinite(value))
        return value;
    if (const std::optional<qint64> scaled = scaledDigits(value, decimals)) {
        if (*scaled == 0)
            return 0.0;
        const double r = double(*scaled) / Pow10[decimals];
        return value < 0 ? -r : r;
    }
    const QByteArray k = roundedDigits(value, decimals);
    if (k == "0")
        return 0.0;
    const QByteArray text = (value < 0 ? QByteArrayLiteral("-") : QByteArray()) + k + 'e' +
                            QByteArray::number(-decimals);
    return text.toDouble();
}

double RoundToPattern(double value, const QString& pattern)
{
    return RoundToDecimals(value, PatternDecimals(pattern));
}

namespace {

// The whole part and the eight decimals of a number already rounded to eight
// decimals, both as written in its decimal text.
struct EightDecimals {
    bool negative = false;
    qint64 whole = 0;
    qint64 fraction = 0;  // 0 .. 99 999 999
};

std::optional<EightDecimals> splitEight(double a)
{
    EightDecimals s;
    s.negative = a < 0;
    const double m = std::fabs(a);
    if (m < 1e7) {
        const qint64 k = std::llround(m * 1e8);
        s.whole = k / 100000000;
        s.fraction = k % 100000000;
        return s;
    }
    const QString text = FormatDecimals(m, 8);
    const int point = text.indexOf(QLatin1Char('.'));
    bool okWhole = false;
    s.whole = text.left(point).toLongLong(&okWhole);
    s.fraction = text.mid(point + 1).toLongLong();
    if (!okWhole)
        return std::nullopt;
    return s;
}

}  // namespace

double ExactDifference(double& a, double& b)
{
    a = RoundToDecimals(a, 8);
    b = RoundToDecimals(b, 8);
    const auto sa = splitEight(a);
    const auto sb = splitEight(b);
    constexpr qint64 IntMax = std::numeric_limits<qint32>::max();
    if (!sa || !sb || sa->whole > IntMax || sb->whole > IntMax)
        return a - b;
    const qint64 w = (sa->negative ? -sa->whole : sa->whole) - (sb->negative ? -sb->whole : sb->whole);
    if (w > IntMax || w < -IntMax - 1)
        return a - b;
    const double fa = (sa->negative ? -1.0 : 1.0) * double(sa->fraction) / 1e8;
    const double fb = (sb->negative ? -1.0 : 1.0) * double(sb->fraction) / 1e8;
    double d = fa - fb;
    // A residue such as 5.55E-17 is no quantity: twelve decimals turn it into 0.
    if (d != 0 && std::fabs(d) < 1e-5 && GeneralNumberText(d).contains(QLatin1Char('E')))
        d = RoundToDecimals(d, 12);
    return double(w) + d;
}
