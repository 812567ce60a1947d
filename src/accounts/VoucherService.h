#pragma once
// Vouchers: TB1 rows without lines that change a business unit's account at
// once. Four kinds, two windows: added payables (100) and receivables (-100)
// raise the balance through YF, payments (10) and receipts (-10) lower it
// through FK. A voucher is stored audited and posted: it takes the next
// posting key of its date (NextPostingKey, which counts the keys of stock
// documents and vouchers alike, so no voucher ever shares a key with another
// row) and its unit's chain is re-chained from that key (RepostUnitBalance).
//
// Whole or nothing: a save (delete of the stored row, insert, re-chaining of
// the former and the new unit) and a delete (delete, re-chaining) are one
// BEGIN IMMEDIATE transaction that first checks the stored voucher is still
// the one the window loaded (same kind, key and values): a voucher changed
// or deleted at another workstation meanwhile is refused and nothing is
// written. Values are bound; nothing here shows anything. Database failures
// are thrown as DbError.

#include "core/Kinds.h"
#include "forms/QueryConditions.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;
struct App;

// What a voucher kind is: everything the two windows differ in.
struct VoucherSide {
    DocKind kind = DocKind::AddedPayable;
    UnitKind unitKind = UnitKind::Supplier;
    QString amountColumn;    // "YF" (added) or "FK" (payment, receipt)
    QString prefix;          // number prefix: YF, YS, FK, SK
    bool dailyNumbers = false;  // numbers by day of entry (NextVoucherNo), else by month (NextDocNumber)
    bool proposesToday = false; // a new voucher's date field starts with today
    QString defaultSummary;  // S2 when the summary is empty
    int rightDigit = 0;      // digit of RightAccounts that add, edit and delete need
    QStringList headers;     // the ten list headers (column 9 without the operator rule)
    QString windowName;      // the window showing the kind: YingLst or PayLst
    QString caption;         // its caption on this side
    QString listTab;         // the caption of its list tab
    QString voucherTab;      // the caption of its voucher tab
};

// The side of a voucher kind (one of the four above).
VoucherSide VoucherSideOf(DocKind kind);

// The list headers an operator sees: the posting-time column is the top
// administrator's only.
constexpr int VoucherTimeColumn = 9;
QStringList VoucherHeaders(const VoucherSide& side, bool topAdministrator);

// The seven orders of the list: number, date, unit, amount (largest first),
// handler, maker, posting time (latest first). The caption of an item names
// the header it sorts by; the clause is the list's ORDER BY.
constexpr int VoucherSortItems = 7;
constexpr int VoucherSortByDate = 1;
constexpr int VoucherSortByTime = 6;
QString VoucherSortCaption(const VoucherSide& side, int item);
QString VoucherSortClause(const VoucherSide& side, int item);

// What the unit box offers: "code.name" of every named unit of the side, by code.
QStringList VoucherUnitChoices(const Database& db, const VoucherSide& side);

// The fields the query dialog offers over the side's list, and the one it starts on.
QVector<QueryField> VoucherQueryFields(const VoucherSide& side);
constexpr int VoucherQueryDefaultField = 3;

// The list's select head, handed to the query dialog too: ten shown columns
// (number, date, unit "code.name", two empty, amount, handler, maker, summary,
// posting time) and the row's version last (see LoadedVoucher).
QString VoucherListHead(const VoucherSide& side);
// `statement` (the head with or without a " Where " condition) restricted to
// the side's kind: a condition is put in parentheses before the kind filter,
// so an "or" typed in the query dialog cannot reach other rows.
QString VoucherListStatement(const QString& statement, const VoucherSide& side);
// The opening list: vouchers dated on or after the first day of `today`'s month.
QString VoucherOpeningStatement(const VoucherSide& side, const QDate& today);

// Rows of a voucher list, as the grid shows them (dates without leading
// zeros, the amount as stored, null as ""), with each row's version.
struct VoucherList {
    int rows = 0;
    std::vector<QString> cells;  // rows x 10
    QStringList versions;        // what a save or delete of each row checks
};
constexpr int VoucherListColumns = 10;
// Runs a statement of VoucherListStatement in `order` (an ORDER BY clause of
// the list; SN and rowid break ties). Throws DbError.
VoucherList ListVouchers(const Database& db, const QString& statement, const QString& order);

// The number a new voucher is offered: the side's prefix, today as yymmdd and
// a serial. Monthly sides: NextDocNumber over TB1 (NoFreeDocNumber when the
// month is full). Daily sides: the first serial of today not in TB1 and not
// reserved in DanNo today; "" when none up to 9999 is left.
QString ProposeVoucherNumber(const Database& db, const VoucherSide& side, const QDate& today);

// The value of an amount field: a plain decimal number, sign allowed, blanks
// around it ignored; nullopt for anything else ("12abc", "1,000", "").
std::optional<double> VoucherAmountValue(const QString& text);

// The unit code of a unit field "code.name" (the whole text when it has no
// "." after its first character).
QString VoucherUnitCode(const QString& unitText);

// The date of a date field: an invalid date when it is empty or no date.
QDate VoucherDateValue(const QString& text);

// A voucher as the entry fields hold it once cleaned.
struct VoucherInput {
    QString number;   // upper-cased by the save
    QDate date;
    QString unitText; // "code" or "code.name"
    QString amountText;
    QString handler;  // S1
    QString summary;  // F10 (and S2 when not empty)
};

// The voucher under edit as the window loaded it: its number and its version
// (posting key, posting time and stored values as the list read them).
struct LoadedVoucher {
    QString number;
    QString version;
};
// The version of the stored voucher of the side with that number ("" = none).
QString StoredVoucherVersion(const Database& db, const VoucherSide& side, const QString& number);

enum class VoucherSaveStatus { Saved, UnitUnknown, BadAmount, NumberTaken, Stale };
struct VoucherSaveResult {
    VoucherSaveStatus status = VoucherSaveStatus::Saved;
    QString unitCode;
    QString unitText;  // "code.name" once the unit was found
    double amount = 0;
    QString key;       // the posting key given
    QString postedAt;  // H8
    QString version;   // of the row written
};

// Checks and stores a voucher of the side for the operator (maker and
// auditor OperatorName): refused when the unit is not one of the side's kind
// (or has no name), the amount is 0 or not a number, the number is used by
// another TB1 row, or (editing) the stored voucher is not `original`. Adding
// when `original` is null. Raises the change counter (setting 100) on success.
VoucherSaveResult SaveVoucher(App& app, const VoucherSide& side, VoucherInput& input,
                              const LoadedVoucher* original);
// What the operator is told of a refused save (status not Saved), in the
// side's words.
QString VoucherRefusalText(const VoucherSide& side, const VoucherSaveResult& result, const VoucherInput& input);

enum class VoucherDeleteStatus { Deleted, NoKey, Stale };
// Deletes the voucher of the side and re-chains its unit from its key.
// NoKey: no such voucher of the side, or never posted; Stale: the stored
// voucher is not the one loaded.
VoucherDeleteStatus DeleteVoucher(Database& db, const VoucherSide& side, const LoadedVoucher& loaded);
