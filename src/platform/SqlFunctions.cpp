#include "platform/SqlFunctions.h"

#include "platform/sqlcipher.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

namespace {

QString argText(sqlite3_value* v)
{
    const unsigned char* t = sqlite3_value_text(v);
    return t ? QString::fromUtf8(reinterpret_cast<const char*>(t), sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

void fnDatediff(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto from = ParseSqlDate(argText(argv[1]));
    const auto to = ParseSqlDate(argText(argv[2]));
    if (!from || !to) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto diff = DateDiff(argText(argv[0]), *from, *to);
    if (!diff) {
        sqlite3_result_error(ctx, "datediff: unknown unit", -1);
        return;
    }
    sqlite3_result_int64(ctx, *diff);
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void fnDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void fnIif(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const bool cond = sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0.0;
    sqlite3_result_value(ctx, cond ? argv[1] : argv[2]);
}

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER || sqlite3_value_type(argv[0]) == SQLITE_FLOAT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    sqlite3_result_double(ctx, LeadingNumber(argText(argv[0])));
}

void fnNz(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_int(ctx, 0);
}

void fnInt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, sqlite3_int64(std::floor(sqlite3_value_double(argv[0]))));
}

void fnCdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const auto d = ParseSqlDate(argText(argv[0]));
    if (d)
        resultText(ctx, d->toString(QStringLiteral("yyyy-MM-dd")));
    else
        sqlite3_result_null(ctx);
}

void fnCstr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    resultText(ctx, argText(argv[0]));
}

void fnCdbl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    const QString s = argText(argv[0]);
    const int start = qMax(1, sqlite3_value_int(argv[1]));
    const int len = argc > 2 ? qMax(0, sqlite3_value_int(argv[2])) : -1;
    resultText(ctx, s.mid(start - 1, len));
}

}  // namespace

std::optional<QDate> ParseSqlDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<qint64> DateDiff(const QString& unit, const QDate& from, const QDate& to)
{
    const QString u = unit.trimmed().toLower();
    if (u == QLatin1String("d") || u == QLatin1String("y"))
        return from.daysTo(to);
    if (u == QLatin1String("m"))
        return qint64(to.year() - from.year()) * 12 + (to.month() - from.month());
    if (u == QLatin1String("yyyy"))
        return qint64(to.year() - from.year());
    if (u == QLatin1String("q"))
        return qint64(to.year() - from.year()) * 4 + ((to.month() - 1) / 3 - (from.month() - 1) / 3);
    if (u == QLatin1String("ww")) {
        // Sunday-started weeks crossed.
        const qint64 a = from.toJulianDay() - (from.dayOfWeek() % 7);
        const qint64 b = to.toJulianDay() - (to.dayOfWeek() % 7);
        return (b - a) / 7;
    }
    if (u == QLatin1String("w"))
        return from.daysTo(to) / 7;
    return std::nullopt;
}

double LeadingNumber(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?)"));
    QString t = text;
    t.remove(QLatin1Char(' '));
    const auto m = re.match(t);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

void RegisterSqlFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8;
    const int det = SQLITE_UTF8 | 0x800;  // SQLITE_DETERMINISTIC
    sqlite3_create_function(db, "datediff", 3, det, nullptr, fnDatediff, nullptr, nullptr);
    sqlite3_create_function(db, "now", 0, flags, nullptr, fnNow, nullptr, nullptr);
    sqlite3_create_function(db, "date", 0, flags, nullptr, fnDate, nullptr, nullptr);
    sqlite3_create_function(db, "iif", 3, det, nullptr, fnIif, nullptr, nullptr);
    sqlite3_create_function(db, "val", 1, det, nullptr, fnVal, nullptr, nullptr);
    sqlite3_create_function(db, "nz", 1, det, nullptr, fnNz, nullptr, nullptr);
    sqlite3_create_function(db, "nz", 2, det, nullptr, fnNz, nullptr, nullptr);
    sqlite3_create_function(db, "int", 1, det, nullptr, fnInt, nullptr, nullptr);
    sqlite3_create_function(db, "cdate", 1, det, nullptr, fnCdate, nullptr, nullptr);
    sqlite3_create_function(db, "cstr", 1, det, nullptr, fnCstr, nullptr, nullptr);
    sqlite3_create_function(db, "cdbl", 1, det, nullptr, fnCdbl, nullptr, nullptr);
    sqlite3_create_function(db, "mid", 2, det, nullptr, fnMid, nullptr, nullptr);
    sqlite3_create_function(db, "mid", 3, det, nullptr, fnMid, nullptr, nullptr);
}
