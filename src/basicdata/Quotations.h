#pragma once
// Customer quotations (KhPrice): one price per customer and goods. The
// customer window edits them as lines of its quotation grid and stores them
// with the customer, in the customer's save transaction, under the code that
// save writes; so no quotation is ever stored under a code no customer has,
// and cancelling an edit leaves the stored quotations as they were.

#include <QString>
#include <QVector>
#include <optional>

class Database;

struct QuoteLine {
    QString goods;     // F1
    QString nameSpec;  // name and specification of the goods
    QString unit;
    QString price;     // as shown; stored as its leading number
    QString remark;    // F8, at most 50 characters
    QString date;      // F9, the quote date
    qint64 back = 0;   // row colours (BColor, FColor), 0 = default
    qint64 fore = 0;
};

// The customer's quotations ordered by goods code, joined with the goods
// (a quotation whose goods is gone keeps an empty name and unit); prices in
// the price pattern. Throws DbError.
QVector<QuoteLine> LoadQuotes(const Database& db, const QString& customer, const QString& priceFormat);

// A new quotation line for a goods: its name + "/" + spec, unit and sale
// reference price; nullopt when TA4 has no such goods.
std::optional<QuoteLine> NewQuoteLine(const Database& db, const QString& goods, const QString& today);

// Replaces every stored quotation of `customer` with `lines` (lines without a
// goods code are skipped). Call inside the caller's transaction.
void ReplaceQuotes(Database& db, const QString& customer, const QVector<QuoteLine>& lines);

// Index of the first line whose column text equals (or, with `contains`,
// holds) `text`, case ignored; -1 when none. Columns: 0 code, 1 name, 4 remark.
int FindQuoteLine(const QVector<QuoteLine>& lines, int column, const QString& text, bool contains);

// The quote date written for today.
QString QuoteDateText();

// Records `price` as the customer's last transaction price of the goods: a new row, or the
// stored price (quoted or last) replaced when it differs, with the remark "最近交易价" and
// today's date; an equal stored price is left as it is. Call inside the caller's transaction.
void KeepLastPrice(Database& db, const QString& customer, const QString& goods, double price);
