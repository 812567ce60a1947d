#pragma once
// The account ledgers: what the balance chain of the audited TB1 rows says
// about the units of one side over a period. Nothing is computed that the
// chain does not hold: the opening of a unit is the QC of its first row in the
// period, whatever its settlement mode (or, without rows there, the QM of its
// last row before the period that went to the account, settlement mode K 0,
// else TA1.NK), the closing the QM of its last row; increases and decreases
// are the sums of YF and FK over every row of the period. Rows are walked in key order, rows with equal
// keys by rowid, as RepostUnitBalance walks them. Each ledger is a fixed
// number of statements whatever the number of units, on a page cache sized
// to the book (SizeWalkCache). Reads only; throws DbError.

#include "core/Kinds.h"

#include <QDate>
#include <QString>
#include <vector>

class Database;

// One unit of the general ledger. Units are keyed by code: two units with
// the same name are two rows; a unit without a name shows its code.
struct GeneralLedgerRow {
    QString code;
    QString name;
    double opening = 0;
    double increase = 0;
    double decrease = 0;
    double closing = 0;
};

// Every unit of `unitKind` (only those whose code matches `codeFilter`, a
// typed pattern with * and ?, when it is not empty) in code order, over the
// days `from` to `to` inclusive.
std::vector<GeneralLedgerRow> GeneralLedger(Database& db, UnitKind unitKind, const QString& codeFilter,
                                            const QDate& from, const QDate& to);

// One line of the detail ledger: a document or voucher of the period, or the
// subtotal closing a unit's lines (business " 合  计 ").
struct DetailLedgerLine {
    QString code;
    QString name;
    QString number;    // empty on a subtotal
    QString business;  // S2, or " 合  计 "
    bool subtotal = false;
    bool firstOfUnit = false;  // the opening is shown on the unit's first line only
    double before = 0;         // QC; on a subtotal the unit's opening
    double increase = 0;       // YF; on a subtotal the unit's sum
    double decrease = 0;       // FK; on a subtotal the unit's sum
    double after = 0;          // QM; on a subtotal the unit's last QM
};
inline const QString DetailSubtotalText = QStringLiteral(" 合  计 ");

// The audited rows of the side's units dated in the period, by unit code and
// key, each unit followed by its subtotal; units without rows are left out.
std::vector<DetailLedgerLine> DetailLedger(Database& db, UnitKind unitKind, const QString& codeFilter,
                                           const QDate& from, const QDate& to);
