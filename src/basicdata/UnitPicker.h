#pragma once
// The business-unit picker's list and its quick add, and the keyword search
// over the units' text columns. The picker lists one kind (or one side: 80 =
// suppliers and departments, 81 = customers and departments), never the
// reserved kind, optionally with the dual-role units of any kind.

#include "forms/RecordList.h"
#include "basicdata/Units.h"

#include <QString>
#include <array>

class Database;

// The picker's kinds (its pubLB): a unit kind or one of the two sides.
constexpr int PickSuppliersAndDepartments = 80;
constexpr int PickCustomersAndDepartments = 81;

// The six search boxes: code, name, address, phone, fax, remark.
using UnitPickerBoxes = std::array<QString, 6>;

// True when the list also offers dual-role units: never for departments or
// when the caller says so, otherwise when the account set allows dual roles.
bool PickerOffersDualRole(const Database& db, int pickKind, bool noDualRole);

// The units of the kind whose columns contain every non-empty box text
// (made safe first), in code order: code, name, address, phone, fax, remark.
RecordList ListPickerUnits(Database& db, int pickKind, bool withDualRole, const UnitPickerBoxes& boxes);

// The unit kind a quick add from a list of `pickKind` writes; -1 for none.
int QuickAddKind(int pickKind);

// Quick add: cleans the boxes as stored (the code normalised like every
// record save, so the code shown is the code written) and adds the unit.
// Reuses the save's statuses; CodeTaken names the holder. Throws DbError.
RecordSaveResult QuickAddUnit(Database& db, int pickKind, UnitPickerBoxes& boxes);

// The keyword condition over TA1.F1-F7, for a unit list statement: `head`
// followed by " Where (F1 like ... or ... F7 like ...)"; `head` alone for "".
QString UnitKeywordStatement(const QString& head, const QString& keyword);
