#pragma once
// The whole posted history of many goods at once: the data refresh's walk.
//
// Two ways give the same figures (those of WholeGoodsWalker for each goods in
// turn; see core/Posting.h):
//  - goods by goods, each goods' lines read through the (F1, SRT) index: for
//    a few goods, it reads only their lines.
//  - all the goods together in key order (SRT, then rowid), through the SRT
//    index, with every goods' running figures held in memory (a few hundred
//    bytes per goods and attribute value). Each goods still meets its lines in
//    its own key order, so its figures are those of its own walk. A book is
//    written as its documents are posted, so key order is, but for
//    back-dated documents, the order its lines are stored in: each page is
//    read and written about once however large the book, and each document
//    valued at cost is totalled once. Goods by goods, a book larger than the
//    cache reads each page again for every goods with a line on it (at 10
//    million lines, eight times the file), and on any book a document is
//    totalled again for each of its goods (a full refresh of 1 million lines
//    takes 1.6 times as long as in key order).
// The cache is the walk cache (SizeWalkCache); the key-order walk adds
// nothing to it but its per-goods figures and the numbers of the documents
// whose totals follow.

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

// Whether `goods` goods of the book are walked in key order: when they hold,
// as far as their share of the goods records tells, half the lines or more;
// or, on a file that does not fit the walk cache, more lines than it has pages.
bool WholeWalkInKeyOrder(const Database& db, int goods);

// Walks the whole posted history of every goods of the list (codes compared
// without regard to ASCII case, as the queries do), goods by goods in the
// list's order or all in key order (by default as WholeWalkInKeyOrder tells);
// a goods listed twice is walked twice, goods by goods. Joins the caller's transaction. Throws DbError for a line without
// quantity (the first such goods of the list, as walking them in turn would).
void WalkWholeGoods(Database& db, const PostingRules& rules, const std::vector<GoodsToWalk>& goods,
                    WholeWalkOrder order = WholeWalkOrder::BySize, const WholeWalkProgress& progress = {});
