#pragma once
// Shared by the tests of file maintenance: a small book of posted documents,
// the invariants the posting walks keep, snapshots of tables for "nothing
// changed" checks, and another program instance holding a set open.

#include "support/OtherInstance.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class Database;

// Goods G1 (opening 5 at 10), G2 (none), G3 (opening 7 at 3, no lines);
// supplier A001 (NK 100), customer B001 (NK 50), department P001 (NK 0).
// Posted in this order: receipt, customer issue, department issue, customer
// return, return to supplier, stocktaking, a receipt dated before most of
// them, and a payment to A001; one receipt stays unaudited. Lines of G1 carry
// the attribute values "A" and "B", lines of G2 "X" (no value without an attribute).
void BuildPostedBook(Database& db, bool attributeOn = true);

// A random book of `lines` document lines over `goods` goods, written as
// posted (keys set) with running figures left wrong or empty: every stock
// kind, department lines, stocktaking lines with negative counts, side
// quantities of the wrong sign, a few unposted lines, goods codes in either
// case, one goods with lines but no goods record, a goods without lines,
// attribute values "", "a"/"A" (one value), "b" and NULL, unit headers with
// posting keys, and back-dated documents (keys below those stored before
// them, some equal to another's, some in lower case). Without an attribute
// every line's value is "".
void BuildRandomBook(Database& db, quint32 seed, int lines, int goods, bool attributeOn);

// Every row and column of the tables, value and type, one text to compare exactly.
QString ExactSnapshot(const Database& db, const QStringList& tables);

// Every running figure the walks write (lines, goods totals, unit chains),
// one text to compare before and after.
QString PostedFigures(const Database& db);

// The rows of the tables, one text to compare before and after.
QString TableSnapshot(const Database& db, const QStringList& tables);

// What breaks the invariants of posting ("" when none does): per goods,
// TA4.F8 = V3 + the sum of F6 over its posted lines = K6 of its last posted
// line; per unit, its posted rows chain from NK (QC = the QM before, QM = QC + YF - FK).
QString BrokenInvariants(const Database& db);
