#pragma once
// The line model of the stock-document window: what each column of the line
// grid is, by role. One row per role says how a line shows in the cell, how
// the cell is read back into the line, when the cell editor opens on it, what
// committing the editor does, which cell Enter goes to next and the column's
// share of the grid's width. The window reads these rows in one loop; a kind
// adds roles of its own (from LineRole::KindOwn up) with their rows in its
// policy's columns, without touching the window.

#include <QString>
#include <functional>
#include <optional>

struct App;
struct StockDoc;
struct StockDocLine;
struct StockDocPolicy;

// What a line-grid column holds. The window and the service find columns by
// role, never by a fixed index.
enum class LineRole : int {
    Code, Name, Attribute, Quantity, OriginalPrice, Discount, Price, Amount, Remark, Proposed,
    KindOwn = 100,  // the first role a kind may define itself
};

// What a role's rules may ask of the line editor (the window's grid and its cell editor).
class LineCells {
public:
    virtual ~LineCells() = default;
    virtual const App& lineApp() const = 0;
    virtual const StockDocPolicy& linePolicy() const = 0;
    virtual QString cell(int row, LineRole role) const = 0;  // "" when the kind has no such column
    virtual void setCell(int row, LineRole role, const QString& text) = 0;
    virtual bool discountsOn() const = 0;    // the discount columns are in use
    virtual bool amountsHidden() const = 0;  // prices and amounts are hidden from the operator
    // None when `qty` of the row's goods may be issued; shows the shortage.
    virtual bool stockCovers(int row, double qty) = 0;
    // Puts the goods of a typed code on the row (or refuses it), as the code column commits.
    virtual void commitGoodsCode(int row, const QString& text) = 0;
};

// Where Enter goes after a cell: the role, and whether to the next row.
struct NextCell {
    LineRole role;
    int rowStep = 0;
};

struct LineColumn {
    LineRole role;
    QString header;  // "" = the role's own header (goods word, attribute name ...)
    // Rules; those left empty are the role's standard ones (StandardLineColumn).
    std::function<QString(const App&)> defaultHeader;
    int weight = -1;  // share of the grid's width; 0 = never shown; -1 = the role's
    std::function<bool(const LineCells&)> shown;                     // the column has a width
    std::function<QString(const App&, const StockDocLine&)> show;  // the cell of a stored line
    std::function<void(StockDocLine&, const QString&)> store;      // the cell read into a line
    std::function<bool(const LineCells&, bool hasGoods)> editable;  // the cell editor opens
    std::optional<bool> numeric;  // the editor's text must be a number (TypedNumber) to commit
    std::function<QString(const QString&)> editText;                // the editor's text of a cell
    std::function<void(LineCells&, int row, const QString& text)> commit;
    std::function<NextCell(const LineCells&, int row)> next;
    // The cell shows red text (a loss); empty = never.
    std::function<bool(const LineCells&, int row)> alarm;
};

// The standard rules of a role, with `header`; a column of a kind's own role has none.
LineColumn StandardLineColumn(LineRole role, const QString& header = QString());
// The column with its empty rules filled from its role's standard ones.
LineColumn CompletedLineColumn(const LineColumn& column);
