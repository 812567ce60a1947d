#pragma once
// The whole posted history of many goods at once: the data refresh's walk.
//
// Two ways give the same figures (those of WholeGoodsWalker for each goods in
// turn; see core/Posting.h):
//  - goods by goods, each goods' lines read through the (F1, SRT) index. On a
//    book whose pages fit the walk cache this reads each page once.
//  - all the goods together in key order (SRT, then rowid), through the SRT
//    index, with every goods' running figures held in memory (a few hundred
//    bytes per goods and attribute value). Each goods still meets its lines in
//    its own key order, so its figures are those of its own walk. A book is
//    written as its documents are posted, so key order is, but for
//    back-dated documents, the order the lines are stored in: each page is
//    read and written about once however large the book. Goods by goods, a
//    book larger than the cache reads each page again for every goods with a
//    line on it (at 10 million lines, eight times the file).
// The cache is the walk cache (SizeWalkCache); the key-order walk adds
// nothing to it but its per-goods figures.

#include "core/Posting.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Database;

// One goods of a whole-history walk.
struct GoodsToWalk {
    QString code;
    // Its figures before its first line: with them the walk also re-costs the
    // goods and stores its final figures in TA4; without, only the running
    // stock of its attribute values is walked.
    std::optional<RunningFigures> opening;
};

// Which of the two walks runs: the one the book's size calls for, or either.
enum class WholeWalkOrder { BySize, GoodsByGoods, KeyOrder };

// Called now and then with the goods in work (its index in the list) and how
// many goods' worth of the walk is done.
using WholeWalkProgress = std::function<void(int goods, int done)>;

// Whether `goods` goods of the book are walked in key order: when the file
// does not fit the walk cache and the goods hold, as far as their share of the
// goods records tells, more lines than the file has pages.
bool WholeWalkInKeyOrder(const Database& db, int goods);

// Walks the whole posted history of every goods of the list (codes compared
// without regard to ASCII case, as the queries do), in the list's order or,
// past the cache, in key order; a goods listed twice is walked twice, in list
// order. Joins the caller's transaction. Throws DbError for a line without
// quantity (the first such goods of the list, as walking them in turn would).
void WalkWholeGoods(Database& db, const PostingRules& rules, const std::vector<GoodsToWalk>& goods,
                    WholeWalkOrder order = WholeWalkOrder::BySize, const WholeWalkProgress& progress = {});
