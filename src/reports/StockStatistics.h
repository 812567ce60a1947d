#pragma once
// Stock statistics: the goods file with its stock, prices and amounts (the
// stock list and the two stock alarms), and the stock held per goods and
// attribute value summed from the posted lines. Both only read the books,
// on a page cache sized to the book (SizeWalkCache).

#include "core/Kinds.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

class Database;

// ---------------------------------------------------------------- stock list

// Which goods the stock list shows. Texts are as typed: the code, spec,
// remark and location match whole unless they hold "*", the name anywhere.
struct StockListFilter {
    enum class Alarm { None, BelowMin, AboveMax };
    enum class Qty { Any, BelowMin, AboveMax, Compare };

    Alarm alarm = Alarm::None;  // the alarm lists ignore every other field
    bool filterRun = false;     // a run of the filter panel: goods without a name are left out
    QString category;           // category code, "" = any
    QString code, name, spec, remark, location;
    QString supplier;           // supplier code, "" = any
    Qty qty = Qty::Any;
    QString qtyOp;              // ">=" or "<=" with Qty::Compare
    double qtyValue = 0;
    QString priceOp;            // ">=", "<=" or "="; "" = no price condition
    double priceValue = 0;
    QString totalOp;            // on quantity x price
    double totalValue = 0;
};

struct StockListRow {
    QString code, name, spec, categoryName, unit;
    std::optional<double> minStock, maxStock;  // V1, V2; none when empty
    double qty = 0;               // F8
    double price = 0;             // F7 or F71 by the basis
    double amount = 0;            // Fje, at cost
    QString remark;
    qint64 backColor = 0, textColor = 0;  // stored row colours, 0 = default
    std::optional<double> refPrice;       // RKF7; none when empty
    QString location, supplier;
};

// The goods of the list by goods code.
std::vector<StockListRow> ListStock(Database& db, const StockListFilter& filter, PriceBasis basis);

// What the operator may see and the settings that shape the cells.
struct StockListView {
    bool canSeeCost = true;
    bool canSeeProfit = true;
    bool inboundRefPrice = false;
    QString priceFormat = QStringLiteral("#0.00");
    QString amountFormat = QStringLiteral("#0.00");
};

// The 15 cells of a goods row.
QStringList StockListCells(const StockListRow& row, const StockListView& view);
// The cells of the whole list, 15 per goods row and then the totals row
// (quantity and amount): each figure is formatted once, and the totals are
// summed from the values the cells show, not read back from their texts.
std::vector<QString> StockListTable(const std::vector<StockListRow>& rows, const StockListView& view);

// Whether the start-up alarms have anything to show.
bool AnyGoodsAboveMax(Database& db);
bool AnyGoodsBelowMin(Database& db);

// ------------------------------------------------- stock per attribute value

struct BatchStockFilter {
    QString category;  // category code, "" = any
    QString code;      // whole code unless it holds "*"
    QString name, spec;
    QString remark;      // goods remark, only in goods-remark mode
    QString attribute;   // whole value unless it holds "*"
    bool inboundRemarks = false;  // the remark column shows the latest inbound lines' remarks
};

struct BatchStockRow {
    QString code, name, spec, categoryCode;
    QVariant attribute;  // null and "" are kept apart
    double qty = 0;
    double amount = 0;
    QVariant unit;       // null when the goods has none
    QString remark;      // goods remark, or the inbound remarks
    int band = 0;        // 0 or 1, alternating per goods
    bool mismatch = false;  // last row of a goods whose stock differs from its posted lines
};

struct BatchStockReport {
    std::vector<BatchStockRow> rows;
    double totalQty = 0;     // over every listed row, before the remark filter
    double totalAmount = 0;
};

// Posted lines summed per goods and attribute value, by code and value; rows
// summing to 0 are left out. A goods' stock in TA4 is checked against its
// opening quantity plus its listed rows.
BatchStockReport ListBatchStock(Database& db, const BatchStockFilter& filter);

// The 9 cells of a row and of the totals row.
QStringList BatchStockCells(const BatchStockRow& row, const QString& priceFormat);
QStringList BatchStockTotalCells(const BatchStockReport& report, const QString& amountFormat);

// --------------------------------------------------------------- cross-check

// Compares a summary's closing quantities with the stock list by goods code.
struct SummaryStockComparison {
    enum class Result { Same, CodeMissing, QtyDiffers };
    Result result = Result::Same;
    int summaryIndex = -1;  // the first summary row that disagrees
    double summaryQty = 0;
    double stockQty = 0;
};
struct CodeQty {
    QString code;
    double qty = 0;
};
SummaryStockComparison CompareSummaryWithStock(const std::vector<CodeQty>& summary, const std::vector<CodeQty>& stock);
