#pragma once
// Making SQL text safe, numbers and dates into text and back, and splitting
// display texts. Several hundred call sites rely on the exact edge behaviour
// of these procedures ("" means nothing found, 0 means none).

#include <QDate>
#include <QString>
#include <QVariantList>
#include <optional>

class Database;
class Grid;
struct App;

// First field of the first row as text; "" for no row, a null, or any error.
QString SqlScalar(const Database& db, const QString& sql, const QVariantList& params = {});

// The checked form: tells a value, "no row" and a failed query apart.
struct ScalarAnswer {
    enum class State { Found, NoRow, Failed };
    State state = State::NoRow;
    QString text;  // the value as SqlScalar would give it (only for Found)
    bool found() const { return state == State::Found; }
    bool failed() const { return state == State::Failed; }
};
ScalarAnswer SqlScalarChecked(const Database& db, const QString& sql, const QVariantList& params = {});

// Cleans a user text of a one-line box: blanks trimmed, line breaks and tabs
// removed; rewrites `text` too. Quotes, apostrophes and question marks stay as
// typed: every text is stored as typed and searched as typed, so texts reach
// SQL only as bound values (or through SqlLiteral).
QString SqlSafe(QString& text);
QString SqlSafe(const QString& text);

// The text as an SQL string literal, every apostrophe doubled: for the few
// statements that are handed on as text (the query dialog's conditions, a
// picker's keyword filter) instead of being run with bound values.
QString SqlLiteral(const QString& text);

// A number as text: at most 15 significant digits, at most 8 decimals.
QString NumText(double value);
// The number the text of NumText(value) stands for, for totals of shown figures.
double NumTextValue(double value);

// The general text form of a number: at most 15 significant digits, no
// trailing zeros, exponent form below 1E-06 and from 1E+15 ("1E-07").
QString GeneralNumberText(double value);

// "#0" or "#0." + decimals zeros; lowers `decimals` above 12 to 12.
QString FormatPattern(int& decimals);

// Date as "yyyy-m-d" without leading zeros, the form shown and put into
// statements compared through datediff.
QString DateText(const QDate& date);
// Date as zero-padded "yyyy-MM-dd": the form stored in date columns and
// compared directly against them, so that text order is date order.
QString SqlDate(const QDate& date);

// A user text as a date, tolerant of many spellings; rewrites `text` with its
// SqlSafe form. Throws DateError when the text builds no valid date.
struct DateError {
    QString text;
};
QDate ParseDate(QString& text);

// Display texts "code name": the number the text begins with, and the part after the first blank.
double LeadValue(const QString& text);
// The number a box holds: its text without blanks, tabs and line breaks, read
// up to the first character that is no part of a number; 0 without one.
double BoxValue(const QString& text);
QString AfterSpace(const QString& text);

// Numbers from 1E+15 up cannot be kept to the last digit typed, so no box,
// cell or import takes them.
constexpr double TypedNumberLimit = 1e15;
// A number typed into a box or cell, or read from an import: blanks dropped,
// "" is 0. nullopt for a text that is no number ("abc", "12..5", "1,000") or
// whose size reaches TypedNumberLimit.
std::optional<double> TypedNumber(const QString& text);
// What the user is told when `text` stands where a number belongs.
QString NotANumberText(const QString& text);

// The LIKE pattern (ESCAPE '\') of a typed text: "*" and "?" become "%" and
// "_", a literal "%", "_" or "\" is escaped.
// With Wildcards::StarOnly a typed "?" is a literal question mark, for the
// filter boxes whose texts never used it as a wildcard.
enum class Wildcards { StarAndQuestion, StarOnly };
QString LikePattern(const QString& typed, Wildcards wildcards = Wildcards::StarAndQuestion);

// The name of a business unit from "code.name" or "code"; the code when unknown.
QString UnitName(const Database& db, const QString& codeText);
