#pragma once
// Business units (TA1): suppliers, customers and departments as the record
// windows keep them. Codes are one key space over every kind: upper case,
// without blanks, without ".". Every write is one transaction: an edit updates
// the stored row and carries a changed code into every table that names it
// (documents TB1.F3, the goods' fixed supplier TA4.Gys, quotations KhPrice.F0),
// or changes nothing. Nothing here shows anything.

#include "basicdata/Quotations.h"
#include "forms/RecordList.h"

#include <QString>
#include <QVector>
#include <optional>

class Database;

struct UnitRecord {
    QString code;     // F1
    QString name;     // F2
    QString address;  // F3 (departments: function)
    QString phone;    // F4
    QString fax;      // F5
    QString contact;  // F6 (departments: e-mail)
    QString remark;   // F7
    QString opening;  // NK as typed; stored as its BoxValue
    std::optional<QString> mobile;  // MT; nullopt = the window has no such box, keep what is stored
    std::optional<bool> dualRole;   // SCSF; nullopt = the setting is off, keep what is stored
    std::optional<QString> docDir;  // DocDir, stored verbatim; nullopt = folders are off, keep it
};

struct UnitSaveRequest {
    int kind = 0;                 // UnitKind written to LB and kept on edit
    bool adding = true;
    QString listedCode;           // editing: the code of the stored row being edited
    QString codeBeforeEdit;       // editing: the code when Edit was chosen (the rename's source)
    bool rechainBalance = false;  // editing: the opening balance changed, re-chain the unit's account
    // The customer's quotation lines as the window holds them: when given, they
    // replace the stored quotations of the saved code in the same transaction.
    std::optional<QVector<QuoteLine>> quotes;
};

// A typed code as every record save stores it: upper case, made safe, all blanks removed.
QString NormaliseCode(const QString& typed);

// Cleans the record's texts as the save writes them (the window shows the
// result even when the save is refused), checks it and stores it.
// Throws DbError; then nothing was written.
RecordSaveResult SaveUnit(Database& db, UnitRecord& record, const UnitSaveRequest& request);

// The fields of a unit that its list does not hold.
struct UnitExtras {
    QString mobile;
    bool dualRole = false;
    QString docDir;
};
UnitExtras LoadUnitExtras(const Database& db, const QString& code);

// True when a document or voucher names the unit (TB1.F3), audited or not.
bool UnitCodeInUse(const Database& db, const QString& code);
// True when TA1 holds any unit, of any kind, under another code.
bool OtherUnitExists(const Database& db, const QString& code);
// Deletes the unit of that kind and its quotations, in one transaction.
void DeleteUnit(Database& db, const QString& code, int kind);

// The list statement of a unit window: `select` restricted to one unit kind
// and ordered by code. A condition already in `select` (after "Where") is kept
// in parentheses, so an "or" typed by the user cannot reach other kinds.
QString UnitListStatement(const QString& select, int unitKind);
