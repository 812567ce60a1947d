#pragma once
// The goods list of the goods window: one query for all rows, the cells of
// its 18 columns in one flat vector (loaded into the grid in one reset), and
// the row colours to paint.

#include <QString>
#include <QVariantList>
#include <vector>

class Database;

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
