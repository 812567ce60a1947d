#pragma once
// Generated books for the benchmarks: an account set copied from the
// template and filled with years of posted documents, so that walks, reports
// and refreshes can be timed on the sizes a long-running warehouse reaches.

#include <QDate>
#include <QString>
#include <QVariantList>

class QElapsedTimer;

class Database;
struct PostingRules;

struct BookSpec {
    int goods = 2000;
    int attributeValues = 20;
    int lines = 200000;
    int linesPerDocument = 20;
    QDate firstDate = QDate(2023, 1, 1);
    int days = 365;
    quint32 seed = 20240513;
};

// What a generated book holds, for the jobs timed on it.
struct BookInfo {
    int documents = 0;
    int lines = 0;
};

// Copies the template to `path` and writes the book's goods, units and
// documents of every stock kind in date order, each stamped with its posting
// key and line keys as an audit would. With `walk` the running figures are
// then computed by WalkWholeBook; without, they are left as the saves left them.
BookInfo GenerateBook(const QString& templatePath, const QString& path, const BookSpec& spec, bool walk = true);

// Re-posts every goods and attribute value, every goods and every unit from
// the start of its history, in one transaction: the data refresh's walk.
void WalkWholeBook(Database& db, const PostingRules& rules);

// The goods codes and attribute values the generator uses.
QString BookGoodsCode(int i);
QString BookAttributeValue(int i);

// Seconds since the timer started.
double Seconds(const QElapsedTimer& t);
// A writable copy of a book file at `target` (replacing it); returns `target`.
QString CopyBook(const QString& source, const QString& target);
// The plain baseline of the benchmarks: the selected lines read in key order
// and their running columns rewritten with a running quantity, a price and an
// amount, in one transaction. Returns seconds; adds the lines to *lines.
double PlainPass(Database& db, const QString& where, const QVariantList& params, int* lines);
