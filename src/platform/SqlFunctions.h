#pragma once
// Functions of the original SQL dialect that the program's statements use,
// registered on every connection so the statements keep their meaning:
//   datediff(unit, from, to)  whole units from `from` to `to`; unit 'd' days,
//                             'm' months, 'yyyy' years, 'q' quarters, 'ww' weeks
//                             (dates as YYYY-MM-DD, unpadded forms accepted)
//   now()                     current local date and time, "YYYY-MM-DD HH:MM:SS"
//   date()                    current local date, "YYYY-MM-DD"
//   iif(cond, a, b)           a when cond is true (non-zero), else b
//   val(text)                 the number at the start of a text, 0 when none
//   nz(value, default)        default when value is null
//   int(number)               largest whole number not above it
//   cdate(text)               the date of a text as YYYY-MM-DD (null if none)
//   cstr(value), cdbl(value)  conversions to text and number
//   mid(text, start[, len])   characters from position `start` (1-based)
#include <QDate>
#include <QString>
#include <optional>

struct sqlite3;

void RegisterSqlFunctions(sqlite3* db);

// The date a text names: "2024-05-13", "2024-5-3", "2024/5/3", with or
// without a time after it. nullopt when the text is no date.
std::optional<QDate> ParseSqlDate(const QString& text);
// Whole units from `from` to `to` the way the original engine counts them:
// boundaries crossed, so datediff('m', '2024-01-31', '2024-02-01') is 1.
std::optional<qint64> DateDiff(const QString& unit, const QDate& from, const QDate& to);
// The number at the start of a text ("12.5kg" -> 12.5, "abc" -> 0).
double LeadingNumber(const QString& text);
