#pragma once
// The history of a goods' inbound reference price (table RkPrice): a row per
// change, written by the goods save and the inbound save.

#include <QString>
#include <QVector>

class Database;

struct RefPriceChange {
    QString when;      // F10
    double price = 0;  // F7
    QString operatorName;  // F9
};

// The goods' rows in the order they were written.
QVector<RefPriceChange> LoadRkPriceHistory(const Database& db, const QString& goods);

// Removes every history row of the goods; the reference price itself stays.
void ClearRkPriceHistory(Database& db, const QString& goods);
