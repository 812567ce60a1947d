#include "core/SqlText.h"

#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// A number split into its 15 significant decimal digits (trailing zeros
// dropped) and the decimal exponent of the first digit.
struct Decimal {
    bool negative = false;
    int count = 0;  // digits in use; 0 for zero
    int exponent = 0;
    char digits[24] = {};
};

// Reads "d.ddde+XX" (any number of digits) into `d`, trailing zeros dropped.
void readScientific(const char* text, const char* end, Decimal& d)
{
    const char* p = text;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && d.count < int(sizeof d.digits))
            d.digits[d.count++] = *p;
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
    int exponent = 0;
    bool below = false;
    if (p < end)
        ++p;
    if (p < end && (*p == '-' || *p == '+'))
        below = *p++ == '-';
    for (; p < end; ++p)
        exponent = exponent * 10 + (*p - '0');
    d.exponent = below ? -exponent : exponent;
}

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0.0 || !std::isfinite(value))
        return d;
    d.negative = value < 0;
    // The shortest text that reads back as the value. With 15 digits or fewer
    // it is also the value rounded to 15 significant digits: a normal double
    // lies within a tenth of a unit of the 15th digit of it. Longer ones, and
    // the subnormal numbers below 2.2E-308, are rounded to 15 digits the long
    // way, which settles exact halves as before.
    const bool normal = std::fabs(value) >= std::numeric_limits<double>::min();
    if (normal) {
        char buf[40];
        const auto shortest = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
        readScientific(buf, shortest.ptr, d);
    }
    if (!normal || d.count > 15) {
        d.count = 0;
        const QByteArray e = QString::number(std::fabs(value), 'e', 14).toLatin1();  // "1.23450000000000e+02"
        readScientific(e.constData(), e.constData() + e.size(), d);
    }
    return d;
}

// Writes the decimal in positional notation into `out` (room for
// 26 + |exponent| characters); answers the length.
int writePlain(const Decimal& d, char* out)
{
    int n = 0;
    if (d.count == 0) {
        out[n++] = '0';
        return n;
    }
    if (d.negative)
        out[n++] = '-';
    if (d.exponent >= 0) {
        for (int i = 0; i <= d.exponent; ++i)
            out[n++] = i < d.count ? d.digits[i] : '0';
        if (d.count > d.exponent + 1) {
            out[n++] = '.';
            for (int i = d.exponent + 1; i < d.count; ++i)
                out[n++] = d.digits[i];
        }
    } else {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = 0; i < -d.exponent - 1; ++i)
            out[n++] = '0';
        for (int i = 0; i < d.count; ++i)
            out[n++] = d.digits[i];
    }
    return n;
}

// The decimal in positional notation, without exponent ("0.000000123").
QString plainText(const Decimal& d)
{
    QByteArray text(26 + std::abs(d.exponent), Qt::Uninitialized);
    return QString::fromLatin1(text.constData(), writePlain(d, text.data()));
}

// The general text of the decimal: positional from 1E-06 up to below 1E+15,
// else "d.dddE+XX".
QString generalText(const Decimal& d)
{
    char out[48];
    if (d.count == 0)
        return QStringLiteral("0");
    if (d.exponent >= -6 && d.exponent < 15)
        return QString::fromLatin1(out, writePlain(d, out));
    int n = 0;
    if (d.negative)
        out[n++] = '-';
    out[n++] = d.digits[0];
    if (d.count > 1) {
        out[n++] = '.';
        for (int i = 1; i < d.count; ++i)
            out[n++] = d.digits[i];
    }
    out[n++] = 'E';
    out[n++] = d.exponent < 0 ? '-' : '+';
    const int e = std::abs(d.exponent);
    if (e >= 100)
        out[n++] = char('0' + e / 100);
    out[n++] = char('0' + e / 10 % 10);
    out[n++] = char('0' + e % 10);
    return QString::fromLatin1(out, n);
}

// Rounds a plain decimal text to `decimals` places, half away from zero.
QString roundPlain(const QString& text, int decimals)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    QString body = negative ? text.mid(1) : text;
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

// Trims blanks only (U+0020), as the cleaning rules expect: a line break
// after a blank keeps that blank.
QString trimBlanks(const QString& s)
{
    int from = 0;
    int to = s.size();
    while (from < to && s.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

QString scalarText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return GeneralNumberText(v.toDouble());
    case QMetaType::QDate:
        return DateText(v.toDate());
    default:
        return v.toString();
    }
}

// The date forms taken as they stand: year-month-day with "-", "/" or "."
// between the parts, optionally followed by a time of day.
std::optional<QDate> recogniseDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

// Position of the first blank at the second character or later, or -1.
int blankAfterFirst(const QString& t)
{
    return t.indexOf(QLatin1Char(' '), 1);
}

}  // namespace

ScalarAnswer SqlScalarChecked(const Database& db, const QString& sql, const QVariantList& params)
{
    ScalarAnswer answer;
    try {
        const std::optional<QVariant> row = db.scalarRow(sql, params);
        if (!row) {
            answer.state = ScalarAnswer::State::NoRow;
            return answer;
        }
        answer.text = scalarText(*row);
        answer.state = ScalarAnswer::State::Found;
    } catch (...) {
        answer.state = ScalarAnswer::State::Failed;
        answer.text.clear();
    }
    return answer;
}

QString SqlScalar(const Database& db, const QString& sql, const QVariantList& params)
{
    return SqlScalarChecked(db, sql, params).text;
}

QString SqlSafe(QString& text)
{
    QString s = trimBlanks(text);
    s.remove(QChar(13));
    s.remove(QChar(10));
    s.remove(QChar(9));
    text = s;
    return s;
}

QString SqlLiteral(const QString& text)
{
    QString s = text;
    return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

QString SqlSafe(const QString& text)
{
    QString copy = text;
    return SqlSafe(copy);
}

QString GeneralNumberText(double value)
{
    return generalText(toDecimal(value));
}

QString NumText(double value)
{
    const Decimal d = toDecimal(value);
    // Positional text with at most eight decimals is already the answer.
    if (d.count == 0 || (d.exponent >= -6 && d.exponent < 15 && d.count - d.exponent - 1 <= 8))
        return generalText(d);
    QString t = generalText(d);
    const int point = t.indexOf(QLatin1Char('.'));
    if (point >= 0 && t.size() - point - 1 > 8) {
        const QString rounded = roundPlain(plainText(d), 8);
        t = GeneralNumberText(rounded.toDouble());
    }
    QString sign;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        sign = t.left(1);
        t.remove(0, 1);
    }
    if (t.startsWith(QLatin1Char('.')))
        t.prepend(QLatin1Char('0'));
    return sign + t;
}

double NumTextValue(double value)
{
    // When the shortest text of the value is what NumText shows, that text
    // reads back as the value itself; only longer figures need their text.
    if (!std::isfinite(value))
        return 0.0;
    char buf[40];
    const auto shortest = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    Decimal d;
    readScientific(buf, shortest.ptr, d);
    if (value == 0.0 || (d.count <= 15 && d.exponent >= -6 && d.exponent < 15 && d.count - d.exponent - 1 <= 8))
        return value + 0.0;
    return LeadValue(NumText(value));
}

QString FormatPattern(int& decimals)
{
    if (decimals > 12)
        decimals = 12;
    if (decimals <= 0)
        return QStringLiteral("#0");
    return QStringLiteral("#0.") + QString(decimals, QLatin1Char('0'));
}

QString DateText(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString SqlDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate ParseDate(QString& text)
{
    const QString cleaned = SqlSafe(text);
    if (cleaned.isEmpty())
        return QDate::currentDate();
    if (const auto d = recogniseDate(cleaned))
        return *d;

    QString s;
    s.reserve(cleaned.size());
    for (const QChar c : cleaned)
        s += (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c : QLatin1Char(' ');
    s.replace(QLatin1String("  "), QLatin1String(" "));
    s.replace(QLatin1String("  "), QLatin1String(" "));
    s = s.trimmed();

    QString year;
    bool yearFirst = false;
    for (int y = 2000; y <= 2029; ++y) {
        const QString digits = QString::number(y);
        const int at = s.indexOf(digits);
        if (at >= 0) {
            year = digits;
            yearFirst = at == 0;
            s.remove(digits);
            s = s.trimmed();
            break;
        }
    }
    if (year.isEmpty()) {
        const int blank = blankAfterFirst(s);
        if (blank < 0)
            return QDate::currentDate();
        QString group = s.left(blank);
        if (group.size() > 2)
            group = group.right(2);
        year = QStringLiteral("20") + QStringLiteral("%1").arg(group.toInt(), 2, 10, QLatin1Char('0'));
        s = s.mid(blank + 1).trimmed();
        yearFirst = true;
    }
    if (s.isEmpty())
        s = QStringLiteral("1 1");

    QString first = s;
    QString second = QStringLiteral("1");
    const int blank = blankAfterFirst(s);
    if (blank >= 0) {
        first = s.left(blank);
        const QString rest = s.mid(blank + 1).trimmed();
        const int next = rest.indexOf(QLatin1Char(' '));
        second = next < 0 ? rest : rest.left(next);
    }
    const QString built = yearFirst ? year + QLatin1Char('-') + first + QLatin1Char('-') + second
                                    : year + QLatin1Char('-') + second + QLatin1Char('-') + first;
    const auto d = recogniseDate(built);
    if (!d)
        throw DateError{built};
    return *d;
}

double LeadValue(const QString& text)
{
    QString t = trimBlanks(text);
    if (t.isEmpty())
        return 0;
    const int blank = blankAfterFirst(t);
    if (blank >= 0)
        t = t.left(blank);
    return LeadingNumber(t);
}

double BoxValue(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    return LeadingNumber(t);
}

std::optional<double> TypedNumber(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    if (t.isEmpty())
        return 0.0;
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) >= TypedNumberLimit)
        return std::nullopt;
    return v;
}

QString NotANumberText(const QString& text)
{
    bool number = false;
    QString t = text;
    t.remove(QLatin1Char(' '));
    t.toDouble(&number);
    if (number)
        return QStringLiteral("[%1]数值太大，不能超过15位整数！").arg(text.trimmed());
    return QStringLiteral("[%1]不是有效的数字，请重新输入！").arg(text.trimmed());
}

QString AfterSpace(const QString& text)
{
    const QString t = trimBlanks(text);
    const int blank = blankAfterFirst(t);
    if (blank < 0)
        return QString();
    return t.mid(blank + 1);
}

QString UnitName(const Database& db, const QString& codeText)
{
    QString c = trimBlanks(codeText);
    const int dot = c.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        c = c.left(dot);
    const QString name = SqlScalar(db, QStringLiteral("select F2 from Ta1 where F1=?"), {c});
    return name.isEmpty() ? c : name;
}

QString LikePattern(const QString& typed, Wildcards wildcards)
{
    QString pattern;
    pattern.reserve(typed.size());
    for (const QChar c : typed) {
        if (c == QLatin1Char('*')) {
            pattern += QLatin1Char('%');
        } else if (c == QLatin1Char('?') && wildcards == Wildcards::StarAndQuestion) {
            pattern += QLatin1Char('_');
        } else {
            if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
                pattern += QLatin1Char('\\');
            pattern += c;
        }
    }
    return pattern;
}
