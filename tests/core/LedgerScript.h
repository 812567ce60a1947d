#pragma once
// A book written from a short script, one document per move, for the tests
// of the posting walks. Each move is stamped with the next key of its date
// (the document key and its line key) and its document marked audited, but
// nothing is walked: the test runs the walk it is about.
//
//   "I G1 10 12"   receipt of 10 at 12             (kind 1)
//   "S G1 2 10"    return to supplier of 2 at 10   (kind 2)
//   "O G1 3 20"    sales issue of 3 at 20          (kind 3, customer line)
//   "D G1 3"       department issue of 3           (kind 3, department line)
//   "B G1 3 20"    customer return of 3 at 20      (kind 4)
//   "E G1 3"       department return of 3          (kind 4, department line)
//   "T G1 8 12"    stocktaking: counted 8, book 12 (kind 7)
// Optional tokens: "@A" attribute value A, "d=2024-05-14" the document date
// (13 May 2024 otherwise), "-" first: saved but not posted.

#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

// Writes the moves; answers each move's line key ("" for an unposted move).
// Goods that do not exist yet are added with no opening balance.
QStringList BuildLedger(Database& db, const QStringList& moves);

// Document number of the move with index i (from 0).
QString LedgerDoc(int i);

// A stored figure as general number text, "null" when empty.
QString FigureText(const QVariant& value);

// Checks of the form "COL=value COL=value" on one line, values compared as
// general number text; answers "" when all hold, else what differed.
QString CheckLine(const Database& db, const QString& lineKeyOrDoc, const QString& checks);
