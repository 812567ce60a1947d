#pragma once
// The three spreadsheet import windows as their callers open them. Each is
// modal; the caller continues when it closes.
//
// - FromExcel: goods import, opened by the goods window (operator "001" only
//   may save). It sets up its optional mapping rows from the account set's
//   settings itself. True when an import ran: the caller then puts "OK" into
//   its PubSql and offers its find command for a new list.
// - A12Excel: supplier or customer import, opened by the supplier and customer
//   windows; true when an import ran (the caller sets its PubSql to "OK").
// - DanExcel: document-line import into the caller's line grid through its
//   LineGridHost; writes no database row. The host's PubSql() becomes "OK"
//   after a run that wrote lines.

#include "core/Kinds.h"

#include <QString>

class LineGridHost;
class QWidget;
struct App;

// Goods import. goodsWord is the goods word the goods window was opened with
// (its theHname: the goods, parts or finished-products word).
bool FromExcel(App& app, const QString& goodsWord, QWidget* parent = nullptr);

// Business-unit import for suppliers (UnitKind::Supplier) or customers (UnitKind::Customer).
bool A12Excel(App& app, UnitKind kind, QWidget* parent = nullptr);

// Where the imported values go in a host's line grid (-1 = nowhere).
struct LineImportLayout {
    int qty = 3;         // quantity (stocktaking: counted quantity)
    int price = 4;       // unit price
    int amount = 5;      // amount
    int attr = 2;        // attribute value
    int remark = 6;      // remark
    bool stocktaking = false;  // book 3, counted 4, difference 5, price 6, difference amount 7
    // Inbound receipts, returns to suppliers, returns to stock.
    static LineImportLayout standard() { return {}; }
    // Outbound: quantity 3, unit price 6, amount 7, remark 8.
    static LineImportLayout outbound() { return {3, 6, 7, 2, 8, false}; }
    // Stocktaking: counted quantity 4, remark 8; price and amount rows are hidden.
    static LineImportLayout stocktakingLayout() { return {4, 6, 7, 2, 8, true}; }
};

// Document-line import. caption: the window caption the document window gives
// it ("从Excel文件中读取入库单明细" ...). Mapping rows whose line-grid column is
// hidden are hidden; the quantity row is captioned with the grid's header of
// the quantity column.
void DanExcel(App& app, LineGridHost& host, const LineImportLayout& layout, const QString& caption,
              QWidget* parent = nullptr);
