#pragma once
// The data refresh: re-posts running figures from the documents when they
// have gone wrong. Each operation is one transaction, so a failure part way
// leaves the books as they were before it; the walks are those of posting
// (core/Posting.h), each goods' lines read once and each changed line written once.

#include "core/SqlText.h"
#include "core/WholeGoodsWalk.h"

#include <QString>
#include <QVariantList>
#include <functional>

class Database;
struct PostingRules;

// How a typed code selects goods or units: equal to, containing, or beginning
// with it. In the last two "*" and "?" act as wildcards.
enum class CodeMatch { Equals = 0, Contains = 1, BeginsWith = 2 };

// A condition on a code column, with its values bound as parameters.
struct CodeCondition {
    QString sql;  // "" = no condition
    QVariantList params;
};


// The condition on `column` for the trimmed `code` under `match`.
CodeCondition CodeFilter(const QString& column, CodeMatch match, const QString& code);

// Called during a long run with the item in work and how far the run is.
using RefreshProgress = std::function<void(const QString& item, int done, int total)>;

// Re-posts the goods that `filter` selects ("" = all), each goods' lines in
// one pass (WalkWholeGoods: a few goods goods by goods, many all together in
// key order): with an attribute tracked, the stock of each attribute value with
// posted lines from its first line; for every selected goods record, the cost
// from its opening balance. The figures are those of RepostBatch for every
// goods and attribute value followed by RecostGoods for every goods. Answers
// the number of goods re-costed. Throws DbError.
int RefreshGoods(Database& db, const PostingRules& rules, const CodeCondition& filter,
                 const RefreshProgress& progress = {}, WholeWalkOrder order = WholeWalkOrder::BySize);

// Re-chains the account balance of every business unit `filter` selects, of
// every kind, over all its posted rows from its opening balance. Answers the
// number of units. Throws DbError.
int RefreshUnits(Database& db, const CodeCondition& filter, const RefreshProgress& progress = {});

// Values the cost-valued lines of department issues and returns (outbound and
// return-to-stock documents whose header V1 is 0) at their out-side cost and
// sets the headers' totals from them (a total of 0 keeps the old one); sets
// each stocktaking document's total to the sum of its lines. Throws DbError.
void RefreshDocumentTotals(Database& db);

// Brings the out-side quantity of returns to stock (C6 = -F6) and the in-side
// quantity of returns to suppliers (R6 = F6) back in line. Throws DbError.
void RepairReturnData(Database& db);
