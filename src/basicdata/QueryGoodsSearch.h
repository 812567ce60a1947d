#pragma once
// The searches behind the goods picker: the goods matching the picker's
// filters, the category check of its category box, and its quick add.

#include <QString>
#include <QStringList>
#include <vector>

class Database;

struct GoodsSearch {
    QString categoryCode;  // "" = every category
    QString code;          // each non-empty text matches where the column contains it
    QString name;
    QString spec;
    QString unit;
    QString remark;
    QString supplier;      // not "" = goods of that fixed supplier or of none
    bool onlyWithStructure = false;  // only products that have structure lines
    bool firstList = false;          // the opening list: the first 1 000 in code order
};

// The rows the picker lists: per goods five cells (code, name, spec,
// "stock unit", remark), in code order, in one flat vector.
struct GoodsSearchResult {
    int rows = 0;
    std::vector<QString> cells;
};
constexpr int GoodsSearchColumns = 5;
constexpr int GoodsFirstListLimit = 1000;

GoodsSearchResult SearchGoods(const Database& db, const GoodsSearch& search);

// "code.name" for a category typed as "code", "code.name" or picked from the
// list; "" when no such category exists.
QString CategoryChoice(const Database& db, const QString& typed);

// The goods the picker's quick add writes: a part with every figure 0.
struct QuickGoods {
    QString category;  // category code
    QString code;
    QString name;
    QString spec;
    QString unit;
    QString remark;
};
// "" when added, else the refusal the operator is shown.
QString QuickAddGoods(Database& db, const QuickGoods& goods);
