#pragma once
// What the stock-document window hands to the shared dialogs and takes back:
// the search fields and the list condition of the search dialog's answer,
// the header and footer texts of a line export, and the goods picker's supplier
// filter. Plain functions; nothing here shows anything.

#include "forms/QueryConditions.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class Database;

// The statement head the search dialog's answer starts with: the list's
// fields through a left join, so a document whose unit is gone is found too.
QString StockDocSearchHead();

// The searchable header fields, captioned by the list grid's headers (by list
// column); the extra header item (list column 11) only when its caption is set.
QVector<QueryField> StockDocSearchFields(const QStringList& listHeaders);

// The condition of a search answer, without the head and " Where " ("" = every
// document); nullopt when the search was cancelled (an empty answer).
std::optional<QString> StockDocSearchCondition(const QString& answer);

// The header and footer texts of a line export: caption,value pairs joined by
// ","; the footer's two parts separated by a carriage return.
QString StockDocExportHeader(const QVector<QPair<QString, QString>>& items);
QString StockDocExportFooter(const QVector<QPair<QString, QString>>& firstLine,
                             const QPair<QString, QString>& secondLine);

// The supplier code that limits the goods picker to the goods of a fixed
// supplier: the unit box's code when fixed suppliers are on and TA1 holds it,
// else "".
QString SupplierGoodsFilter(const Database& db, bool fixedSupplierOn, const QString& unitText);

// True when the fixed-supplier setting is on (its menu being offered is the caller's part).
bool FixedSupplierSetting(const Database& db);

