#pragma once
// The import runs behind the three import windows. Each reads the import
// grid through the mapping rows: the text of mapping row k names the source
// column of field k by its first letter ("A" = column 0); "" = not mapped.
// Data rows are grid rows 1 .. rows - 1.
//
// The goods and business-unit runs write in one transaction (BEGIN
// IMMEDIATE): a run that fails writes nothing, and its message names the
// grid row and the reason. A row is held to the limits the record windows
// keep (text lengths, figures that are numbers below 1E+15), and a code met
// twice in one file is refused rather than the later row winning. Every question the run needs is asked before the
// transaction opens, so no other workstation waits on the operator. Texts
// are bound, never pasted into SQL: quotes and apostrophes import verbatim.
// They write TA4 / TA3 / TA1 directly through bound statements.

#include "exchange/ImportOpeners.h"

#include <QString>
#include <QStringList>
#include <functional>

class Database;
class GridModel;
class LineGridHost;
struct App;

// A problem with the mapping itself (a letter naming no column of the grid),
// as a message; "" when every mapped row names a column. captions: the
// labels of the mapping rows, for the message.
QString MappingProblem(const GridModel& grid, const QStringList& mapping, const QStringList& captions);

// The outcome of a goods or unit run.
struct ImportOutcome {
    enum class State { Done, Cancelled, Failed };
    State state = State::Done;
    int stored = 0;     // rows that added or changed a record
    int failedRow = 0;  // grid row of the failure (0 = none)
    QString message;    // the failure, for the user
    bool ok() const { return state == State::Done; }
};

// ---- goods -------------------------------------------------------------------

enum GoodsField {
    GCode, GName, GCategoryName, GUnit, GSpec, GRemark, GAmount, GCost, GCategoryCode, GOpeningQty,
    GMinStock, GMaxStock, GSalePrice, GLocation, GSupplierCode, GRefPrice, GFeeRate, GSupplierName,
    GoodsFieldCount
};

struct GoodsImportInput {
    const GridModel* grid = nullptr;
    QStringList mapping;  // GoodsFieldCount texts
    QString defaultCategoryCode;
    QString defaultCategoryName;
    int goodsClass = 0;   // Fcplj written to every imported goods
};

// Answer for a supplier code no unit has: MB::Yes adds it (and every later
// such code), MB::No skips it (and every later one), MB::Cancel skips this
// goods only and asks again at the next.
using AskAddSupplier = std::function<int(const QString& code)>;

// Adds new goods (opening balance, prices, fixed supplier) and updates the
// descriptive fields of known ones; adds missing categories and, when the
// answer says so, missing suppliers. A new goods gets its opening amount
// V5 = V3 * V4 and its stock amount Fje = F8 * F7 (or the file's amount);
// no other goods is touched.
ImportOutcome RunGoodsImport(Database& db, const GoodsImportInput& in, const AskAddSupplier& ask);

// ---- business units ------------------------------------------------------------

enum UnitField { UCode, UName, UAddress, UPhone, UFax, UContact, URemark, UOpening, UnitFieldCount };

struct UnitImportInput {
    const GridModel* grid = nullptr;
    QStringList mapping;  // UnitFieldCount texts
    UnitKind kind = UnitKind::Supplier;
};

// For a code that belongs to a unit of another kind (kindWord "客户" ...):
// MB::OK skips the row, MB::Cancel ends the run with nothing written.
using AskSkipUnit = std::function<int(int row, const QString& code, const QString& kindWord)>;

// Adds new units of the kind, overwrites the mapped fields of known ones of
// the same kind and rebuilds the balance chain of a known unit whose opening
// balance was imported.
ImportOutcome RunUnitImport(Database& db, const UnitImportInput& in, const AskSkipUnit& ask);

// ---- document lines --------------------------------------------------------------

enum LineField { LCode, LQty, LPrice, LAmount, LAttr, LRemark, LineFieldCount };

struct LineImportOutcome {
    int written = 0;  // rows that made a line
    int missing = 0;  // codes that are no goods
    int refused = 0;  // codes the document refused (a duplicate line ...); none of their cells written
    QStringList problems;  // rows whose figures are no numbers, each "第 n 行：" + why; nothing written
};

// Drives the host's own line entry: for every row the code goes through the
// host's editor and commit, then the quantity, price, amount, attribute and
// remark cells are written. Writes no database row. `yield` runs between rows.
LineImportOutcome RunLineImport(App& app, LineGridHost& host, const LineImportLayout& layout,
                                const GridModel& grid, const QStringList& mapping,
                                const std::function<void()>& yield = {});
