#pragma once
// What a statistics window shows before it reads a line: the word, kind and
// caption of its mode, the items of its document-type list (read from the
// main menu's type captions and the extra-item settings), the units of a
// kind, its grid's headers and column roles, and which prices and amounts the
// operator may see. Reads the menu model and the account set; shows nothing.

#include "reports/DocStatistics.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class Database;
class MenuModel;

// Unit kinds of the type items that are not one kind of TA1.LB.
constexpr int StatSuppliersAndDepartments = 80;
constexpr int StatCustomersAndDepartments = 81;

struct StatMode {
    QString word;     // StatWord: in the caption and the headers
    DocKind kind = DocKind::Inbound;
    QString caption;  // the fixed caption; "" = the chosen type + "统计"
};
// The mode of a member: "B2", "B4", "D2" or "D4" for the document lists, "B2"
// or "D2" for the reconciliation statements; the other members have one.
StatMode StatModeOf(StatMember member, const QString& whoami);

// One entry of the document-type list: its text, the TB1.S2 names it keeps
// (none = every type of the kinds), the unit kind of its counter-parties
// (0, 1, 8, or 80 suppliers and departments, 81 customers and departments)
// and the caption of its extra header item.
struct StatTypeItem {
    QString text;
    QStringList names;
    int unitKind = 0;
    QString extraCaption;
};
// The member's type list in its mode: the types in use (their menu items
// shown), then the all-types item when there are two. Gross profit lists the
// sales types; stocktaking has none.
std::vector<StatTypeItem> StatTypeItems(StatMember member, const QString& whoami, const MenuModel& menus,
                                        const Database& db);

// The unit list of a type item: "code.name" of the units of its kind, with
// the dual-role units when the set has them on (not for departments alone).
QStringList StatUnitItems(const Database& db, int unitKind);

// The code of a "code.name" text: the text before its first "." unless the
// "." comes first, then the whole text.
QString StatCodeOf(const QString& text);

// The roles of the grid's columns.
struct StatShape {
    int goods = 5;           // goods code; its name is the next column
    QList<int> alwaysHidden;  // the category code, the line key and what only the prints read
    int measure = 10;        // unit of measure or attribute value: half width
    int firstNumber = 11;    // sorted as numbers
    int lastNumber = 13;
    int firstExported = 12;  // exported as numbers
    int lastExported = 13;
    QList<int> hiddenWithAmounts;  // the price and amount columns the operator may not see
    QList<int> widenedByHidden;    // for each of them, the column that takes its width (-1 none)
    int narrowFrom = -1;           // the number columns from here on are a 14th of the grid (-1 none)
};
StatShape StatShapeOf(StatMember member);

// The headers of the member's grid (row 0), the key column's empty.
QStringList StatHeaders(StatMember member, const QString& word, const QString& extraCaption,
                        const QString& goodsTerm, const QString& hpsxName);

// Who is looking: the set keeps prices (WithPrices) and the operator may see
// cost prices (CanSeeCost) and sale prices (CanSeeProfit).
struct StatViewer {
    bool withPrices = true;
    bool canSeeCost = true;
    bool canSeeProfit = true;
};
// Whether the prices and amounts of the chosen item stay out of the grid and
// out of every print. Outbound documents and returns to stock of departments
// are valued at cost: an operator who may not see cost prices does not see
// them in the lists of those types (nor of all types).
bool StatAmountsHidden(StatMember member, DocKind kind, const StatTypeItem* chosen, const StatViewer& viewer);
// Whether the print menu may be used at all: the operator sees the prices of
// the window's side.
bool StatMayPrint(StatMember member, DocKind kind, const StatViewer& viewer);
