#pragma once
// The goods list of the goods window: one query for all rows, the cells of
// its 18 columns in one flat vector (loaded into the grid in one reset), and
// the row colours to paint.

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

class Database;
class Grid;

constexpr int GoodsListColumns = 18;

// The select head of the list; the query dialog appends its conditions to it.
QString GoodsListHead();

struct GoodsListQuery {
    // A condition typed in the query dialog ("" = none); it is wrapped in
    // parentheses before the class filter is added, so it cannot escape it.
    QString condition;
    QVariantList params;
    // The list at load joins the categories (goods without one are left
    // out); a query lists those too with an empty category name.
    bool innerJoin = true;
    // Separate part and product files: only goods of this class (0 or 1).
    int goodsClass = -1;
};

struct GoodsListRows {
    int rows = 0;
    std::vector<QString> cells;  // rows x GoodsListColumns
    struct Colour {
        int row;  // data row from 0
        qint64 back;
        qint64 fore;
    };
    std::vector<Colour> colours;  // only rows that carry one
};

GoodsListRows ReadGoodsList(Database& db, const GoodsListQuery& query, const QString& priceFormat,
                            const QString& amountFormat);
// The same from a whole statement of the list's field order (the query
// dialog's answer with the window's filter and order added).
GoodsListRows ReadGoodsListStatement(Database& db, const QString& sql, const QVariantList& params,
                                     const QString& priceFormat, const QString& amountFormat);
// The query dialog's answer (head + " Where (" + conditions + ")", or the
// head alone) with the class filter and the list order added.
QString GoodsQueryStatement(const QString& answer, int goodsClass);

// Heads the list grid: 18 columns, the header row and one blank row; the
// hidden columns (7 to 14, 17) carry what the detail tab takes from a row.
// `attributeName` heads column 15 (the extra goods attribute), `supplier` column 16.
void SetGoodsListHeader(Grid* grid, const QString& theHname, const QString& attributeName);
// Loads the rows in one reset and paints the stored row colours on columns 0 to 14.
void FillGoodsGrid(Grid* grid, GoodsListRows rows);
// The 18 cells of list row `row`.
QStringList GoodsListRowCells(const Grid* grid, int row);
// The category chooser's items, "code.name" in code order.
QStringList GoodsCategoryItems(const Database& db);
// The unit chooser's items: the units in use, or six common ones while no goods has a unit.
QStringList GoodsUnitItems(const Database& db);

// How the list sorts a column: text for 0-4 and 6, numbers for 5, 8 and 14, not at all otherwise.
enum class GoodsSortKind { None, Text, Number };
GoodsSortKind GoodsListSortKind(int col);
