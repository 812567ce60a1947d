#pragma once
// Assembly from the product structure on an outbound document: the operator
// names a finished product and how many to assemble, and the document's lines
// become one line per part of the product's structure (Bom), the part's usage
// times the assembly quantity. The services below read only; the lines live in
// the window's grid until the document is saved, which stores the accepted
// product code, quantity and name in TB1.zzcp, zzsl and mcgg.
//
// The window's three buttons call the glue at the end: CmdAutoZZ the fill,
// CmdRfSL the quantity question before the fill, CmdZZQuery the product look-up.

#include <QString>
#include <QVector>
#include <optional>

class Database;
class LineGridHost;
class QLabel;
class QLineEdit;
class QWidget;
struct App;
struct StockDocPolicy;

// A goods marked as finished product (TA4.F11 = "1").
struct AssemblyProduct {
    QString code;      // TA4.F1 as stored
    QString nameSpec;  // name, a blank, spec ("" when either is missing)
    QString unit;      // TA4.F4
};

// The product of the code (letter case ignored); nullopt when no goods of the
// code is marked as finished product, whether or not Bom rows exist for it.
std::optional<AssemblyProduct> FindAssemblyProduct(const Database& db, const QString& code);

// One part line of a fill. A part without a goods record has no name, unit,
// price or amount: `known` is false and only the code and quantity are shown.
struct AssemblyLine {
    QString part;      // Bom.F1
    QString name;      // name, a blank, spec
    QString unit;
    double qty = 0;    // usage x assembly quantity
    double price = 0;  // cost price F7 in department mode, sale reference price F71 in sales mode
    double amount = 0; // usage x price x assembly quantity, unrounded
    QString remark;    // Bom.F8
    bool known = true;
};

// The part lines for `quantity` products, in part-code order (the order of the
// structure rows is otherwise undefined). Empty for a product without structure.
QVector<AssemblyLine> AssemblyLines(const Database& db, const QString& product, double quantity, bool department);

// The assembly quantity a box holds: the number its text begins with.
double AssemblyQuantity(const QString& text);

// The assembly row of the window (Txt7 product code, Txt8 quantity, Txt9 name,
// LabDW10 unit) and the product code accepted last (OldZZCP).
struct AssemblyRow {
    QLineEdit* code = nullptr;
    QLineEdit* quantity = nullptr;
    QLineEdit* name = nullptr;
    QLabel* unit = nullptr;
    QString* accepted = nullptr;
};

// CmdAutoZZ: checks the product code (messages as the window shows them), asks
// before clearing existing lines, fills the row's name and unit, turns an empty
// or zero quantity into 1 and replaces the host's lines by the part lines (the
// header row, one line per part, one blank row; columns found by role in the
// policy), with the current line 1. True when the lines were replaced: the
// window then re-totals and shows the line status. A refusal puts the accepted
// code back into the code box.
bool FillAssemblyLines(App& app, const StockDocPolicy& policy, const AssemblyRow& row, LineGridHost& host);

// CmdRfSL: refuses a zero quantity, asks whether to refresh the parts for the
// quantity and then runs FillAssemblyLines. True when the lines were replaced.
bool RefreshAssemblyLines(App& app, const StockDocPolicy& policy, const AssemblyRow& row, LineGridHost& host);

// CmdZZQuery: the goods picker listing only products with a structure, starting
// from the code box; a choice puts its code and its name (without spec) into
// the row. The lines are not touched.
void PickAssemblyProduct(App& app, const AssemblyRow& row, QWidget* window);
