#pragma once
// The stocktaking document (kind 7, number prefix "PD", counter-party "0000"):
// book quantities, save with the difference split by its sign, audit and
// unaudit, and the rule that a count runs alone.
//
// A line holds the book quantity the count is measured against, the counted
// quantity and the unit price; the difference (counted - book) and its amount
// are always computed here from those three, never taken from a window. A
// surplus (or no difference) is stored on the in side, a loss on the out side
// with its quantity and amount made positive.
//
// Every write is one BEGIN IMMEDIATE transaction that re-reads the stored state
// inside it, with bound values; refusals come back as the message to show
// ("" = done) and database failures are thrown as DbError.

#include "documents/common/StockDocService.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

struct App;
class Database;

// The type name stored in TB1.S2 and shown as the window's caption.
QString StocktakingTypeName();
// The fixed counter-party of every stocktaking.
QString StocktakingUnit();

struct CountLine {
    QString goods;   // TB11.F1
    QString attr;    // HPSX
    double book = 0;                // Z5: the stock the count is measured against
    std::optional<double> counted;  // F5: nullopt while no count was entered
    double price = 0;               // F7
    QString remark;                 // F9
    // Shown only (filled by LoadStocktaking and CountLineFor).
    QString name;  // TA4.F2 + "/" + TA4.F5
    QString unit;  // TA4.F4
    qint64 backColour = 0;
    qint64 foreColour = 0;

    double difference() const { return counted.value_or(book) - book; }
};

struct CountDoc {
    StockDocHeader head;   // unitCode is always StocktakingUnit()
    QVector<CountLine> lines;  // in grid order; a line without goods keeps its row number free
    // The stamp of the stored document as LoadStocktaking read it (see StockDoc): when set,
    // a save replacing it goes ahead only while the store still holds it.
    QByteArray loadedStamp;
};

// The difference amount of a line, rounded to the amount pattern.
double CountLineAmount(const App& app, const CountLine& line);

// The book quantity of a goods: its stock TA4.F8, or with an attribute value (while the
// attribute is kept) the posted stock of that goods and value over all dates.
double BookQuantity(const App& app, const QString& goods, const QString& attr = QString());

// A new line for a goods code: name, unit, book quantity and the cost price TA4.F7;
// nullopt for an unknown code.
std::optional<CountLine> CountLineFor(const App& app, const QString& code);
// The lines of many goods codes at once, in their order, unknown codes left out: one
// prepared look-up for them all.
QVector<CountLine> CountLinesFor(App& app, const QStringList& codes);

// "" when a new stocktaking may start, else the refusal naming the type of an unposted
// document (`except` = the stocktaking's own number, left out of the search).
QString StocktakingAddRefusal(const Database& db, const QString& except = QString());
// "" when the stocktaking `number` may be audited or unaudited: no other document of any
// kind is unposted; else the refusal naming the type of one.
QString StocktakingAuditRefusal(const Database& db, const QString& number);
QString StocktakingUnauditRefusal(const Database& db, const QString& number);
// "" when a stocktaking may be dated `date`: no document of any kind is dated later.
QString StocktakingDateRefusal(const Database& db, const QDate& date);

// The stored document with its lines in line order; nullopt when no stocktaking has the number.
std::optional<CountDoc> LoadStocktaking(const Database& db, const QString& number);

// Writes the document unaudited: adding when `oldNumber` is "", else replacing the stored
// stocktaking `oldNumber`. Refused for an empty number, a number taken by any document, a
// stored document audited meanwhile, a date before the latest document, no lines, or a
// line whose count was never entered (the row is named), or a stored document that is no
// longer the one loaded (doc.loadedStamp, when set). Fills doc.head.amount.
QString SaveStocktaking(App& app, CountDoc& doc, const QString& oldNumber);

// Posts the stored stocktaking as app.OperatorName; refused while another document of any
// kind is unposted.
QString AuditStocktaking(App& app, const QString& number);
// Takes the posted stocktaking back; refused while another document of any kind is unposted.
QString UnauditStocktaking(App& app, const QString& number);
