#pragma once
// Document statistics: the lines of audited documents over a period, listed
// by one of the statistics windows (document lists, reconciliation
// statements, outbound cost, sales gross profit, stocktaking), their grid
// cells with the totals row, and what each of their prints stages.
//
// Reading. One statement per member, built once from bound conditions: no
// typed text ever becomes SQL. The period is a range of posting keys (a line
// carries the key "S" + its document's date only once the document is
// audited), which the index on TB11(SRT) serves. Signs are applied to the
// values read, never written into the statement. Each run first sizes the
// page cache to the book (SizeWalkCache), as every long read does.
//
// Patterns. A typed unit, goods code, extra item or extended text matches the
// whole value unless it holds "*" (any text) or "?" (one character); "%" and
// "_" are plain characters, and quotes are found like any other character.

#include "core/Kinds.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Database;
class PlistPrint;

enum class StatMember {
    Lst,    // inbound and outbound document lists: one kind
    DZLst,  // reconciliation statements: a delivery kind and its return kind
    CBLst,  // outbound cost: issues and returns to stock
    MLLst,  // sales gross profit: issues and returns to stock
    C3,     // stocktaking
};

// What a run lists. `kind` is the mode's kind (Lst) or the delivery kind of
// the pair (DZLst, CBLst, MLLst); C3 always lists stocktaking documents.
struct StatFilter {
    StatMember member = StatMember::Lst;
    DocKind kind = DocKind::Inbound;
    QStringList docTypes;  // TB1.S2 names to keep; empty = every type of the kinds
    QString unit;          // unit code or pattern, "" = every unit
    QString category;      // category code, "" = every category
    QString goods;         // goods code or pattern
    QString orderNo;       // the documents' extra header item (TB1.OD)
    QDate from, to;        // both days included
    // The extended filter (Lst and C3, only while it is open).
    QString name, spec, measure, docNo, note, remark;
    QString attribute;     // Lst, with an attribute configured
};

// "-" in the member's statements of old: lines stored negative (returns to
// suppliers, issues) listed positive. -1 or 1.
double StatSignOf(StatMember member, DocKind kind);

// One listed line, its figures already signed as the member shows them.
struct StatLine {
    QString docNo, date, orderNo, unitCode, unitName, docNote;
    QString goods, name, spec, categoryCode, categoryName, measure, remark, attribute, key;
    int kind = 0;               // TB1.LB
    double qty = 0;             // signed quantity (C3: the difference)
    double price = 0;           // unit price (C3: price; CBLst, MLLst: cost price)
    double amount = 0;          // signed amount (CBLst, MLLst: cost amount; C3: difference amount)
    double salePrice = 0;       // MLLst
    double saleAmount = 0;      // MLLst
    double book = 0, counted = 0;  // C3
    qint64 backColor = 0, textColor = 0;
};

// Asked now and then during a run; answering false cancels it.
using StatKeepGoing = std::function<bool(int rowsSoFar)>;

struct StatResult {
    std::vector<StatLine> lines;
    bool cancelled = false;
};

// The lines of the filter, in the member's order: by the documents' SN, then
// document number and line (Oid), so equal SN values always come out in one
// order; stocktaking by posting key.
StatResult ListStatLines(Database& db, const StatFilter& filter, const StatKeepGoing& keepGoing = {});

// How the cells are written.
struct StatView {
    QString priceFormat = QStringLiteral("#0.00");
    QString amountFormat = QStringLiteral("#0.00");
    QString hpsxName;  // attribute name, "" = none
};

// Column counts and the hidden key column of each member's grid.
int StatColumnCount(StatMember member);
int StatKeyColumn(StatMember member);
// The reconciliation grid carries the unit code in a hidden column after the key.
constexpr int DZUnitCodeColumn = 16;

// The grid's data rows and its totals row ("合计：" in column 6; empty when
// there is no line). Totals are summed from the values the cells show.
struct StatTable {
    std::vector<QStringList> rows;
    QStringList totals;
};
StatTable StatCells(StatMember member, const std::vector<StatLine>& lines, const StatView& view);

// ------------------------------------------------------------------- prints

enum class StatPrintKind { Detail, Summary, AmountSummary };

// What a print reads of the window besides its rows.
struct StatPrintContext {
    QString caption;     // the window caption
    QString unitHeader;  // header of grid column 3
    QString unitName;    // UnitName of the unit combo's text
    QString fromDate, toDate;
    bool amountsHidden = false;  // the operator may not see the amounts (or the set keeps none)
    QString priceFormat = QStringLiteral("#0.00");
    QString amountFormat = QStringLiteral("#0.00");
};

// One print as handed to PlistPrint: rows, named values (after "RegName"),
// layout id, default template file name (in the program folder) and the SQL
// that reads the staged rows back.
struct StatPrintRow {
    QStringList texts;     // F1..F15
    QList<double> numbers; // V1..
};
struct StatPrintJob {
    QString pid;
    QString templateFile;
    QString prnSql;
    std::vector<std::pair<QString, QString>> values;
    std::vector<StatPrintRow> rows;
};

// The print of a member's grid: `rows` are the data rows in the order shown
// (the totals row left out), `totals` the totals row as shown.
StatPrintJob StatPrint(StatMember member, StatPrintKind kind, const std::vector<QStringList>& rows,
                       const QStringList& totals, const StatPrintContext& context);

// Fills the hand-over with the job; the caller sets RptFile's folder and shows it.
void HandOver(const StatPrintJob& job, PlistPrint& print, const QString& appFolder);
