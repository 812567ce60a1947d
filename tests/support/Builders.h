#pragma once
// Small builders for test data: business units, goods and unaudited
// documents written straight into an account set the way the windows save
// them. Defaults keep a test's setup to the fields it cares about.

#include "core/Kinds.h"

#include <QDate>
#include <QString>
#include <QVector>

class Database;

struct UnitSpec {
    QString code;
    QString name;
    UnitKind kind = UnitKind::Supplier;
    double opening = 0;  // NK
};
void AddUnit(Database& db, const UnitSpec& unit);

struct GoodsSpec {
    QString code;
    QString name;
    QString category = QStringLiteral("000");
    QString unit = QStringLiteral("个");
    double cost = 0;      // F7
    double salePrice = 0; // F71
    double stock = 0;     // F8
    double amount = 0;    // Fje
    double minStock = 0;  // V1
    double maxStock = 0;  // V2
    double openingQty = 0;     // V3
    double openingPrice = 0;   // V4
    double openingAmount = 0;  // V5
    GoodsClass goodsClass = GoodsClass::Part;  // Fcplj
};
void AddGoods(Database& db, const GoodsSpec& goods);

// One row of a product structure: `usage` of `part` per `product`.
void AddBomPart(Database& db, const QString& product, const QString& part, double usage);

struct LineSpec {
    QString goods;
    double qty = 0;     // unsigned: the builder signs it by the document kind
    double price = 0;
    QString attr;       // HPSX
    double counted = 0; // stocktaking: F5
    double book = 0;    // stocktaking: Z5
};

struct DocSpec {
    QString number;
    QDate date = QDate(2024, 5, 13);
    QString unit;       // TB1.F3
    DocKind kind = DocKind::Inbound;
    QString typeName = QStringLiteral("采购入库单");
    bool department = false;  // V1 = 0 on the lines (department counter-party)
    QVector<LineSpec> lines;
    QString enteredBy = QStringLiteral("系统管理员");
    double paid = 0;     // K9, signed like the amount
    int settlement = 0;  // K: 0 to the unit's account, 1 settled at the amount paid
};
// Header and lines, unaudited, with the in/out columns filled as a save does:
// quantities and amounts signed by kind (into stock positive), the in side
// R6-R8 on receipts and returns to suppliers, the out quantity C6 on issues
// and returns to stock (their cost is left to posting), stocktaking on the
// side of its difference, and the physical flow always positive.
void AddDocument(Database& db, const DocSpec& doc);
