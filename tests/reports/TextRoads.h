#pragma once
// Roads of a goods name for the text tests, each in a file apart from the
// goods window's headers: the stock list's price basis and the import's goods
// fields share names with the goods window's.

#include <QStringList>

class Database;

// The codes the stock list shows when its name filter holds `typedName`.
QStringList StockListCodesByName(Database& db, const QString& typedName);

// Imports goods `code` named `name` from a file; "" when stored, else the message.
QString ImportGoodsNamed(Database& db, const QString& code, const QString& name);
