#pragma once
// The cost price of a goods on a date, as the documents valued at cost read
// it: department issues and the returns that take goods back at cost.

#include <QDate>
#include <QString>

struct App;
class Database;

// The cost price of a goods on a date: of its last audited line (any kind) dated on or before
// the date, by posting key, the out price C7 of an issue (C6 not 0), else the running cost K7
// after the line; 0 when no audited line qualifies.
double CostPriceAtDate(const Database& db, const QString& goods, const QDate& date);

// The price a document valued at cost proposes for a new line: CostPriceAtDate on the
// document's date (today when it has none), else the goods' cost TA4.F7.
double ProposedCostPrice(const App& app, const QString& goods, const QDate& date);
