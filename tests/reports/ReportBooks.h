#pragma once
// Books for the report tests, written by the real save and posting path:
// documents added unaudited, then audited one after another in the order
// given, so a document can be back-dated into another's history.

#include <QDate>
#include <QString>
#include <QStringList>

class Database;
class FreshAccountSet;
struct App;

// One move per entry, audited in list order:
//   "I G1 10 2 2024-05-13"      receipt of 10 at 2 dated 13 May 2024
//   "O G1 3 0 2024-05-14"       sales issue of 3 (cost from posting)
//   "T G1 8 10 2024-05-15"      stocktaking: counted 8, book 10
//   "S G1 2 2 2024-05-16"       return to supplier of 2 at 2
//   "B G1 1 5 2024-05-17"       customer return of 1 at 5
// Optional last token "@A": attribute value A; a leading "-" saves the
// document without auditing it.
void PostMoves(App& app, const QStringList& moves);

// A book of May 2024 with operator 001 logged in, seeing cost and profit:
// G1 in 10 at 2 and out 4, G2 in 5 at 1, G3 only an opening balance of 2 at 5
// with a safety stock of 5.
void MayBook(FreshAccountSet& set);
