#pragma once
// The attribute values of one goods with their stock, for the attribute
// picker: every value of its posted lines dated up to a day, largest stock
// first. A stock-decreasing document sees only values that still have stock.

#include <QDate>
#include <QString>
#include <QVector>

class Database;

// Direction of the calling document.
enum class StockDirection {
    In = 1,   // receipts, returns to stock, stocktaking: every value
    Out = 3,  // issues, returns to suppliers: values with stock only
};

struct AttributeStock {
    QString value;  // TB11.HPSX ("" for lines without one)
    double qty = 0;
};

// Values containing `filter` (all when empty), equal stock in value order.
QVector<AttributeStock> QueryHpsxList(const Database& db, const QString& goods, const QDate& upTo,
                                      StockDirection direction, const QString& filter = QString());
