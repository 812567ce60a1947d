#pragma once
// What the outbound documents (sales deliveries and department issues) add to
// the stock-document service: the proposed price of a line, the customer's
// last prices kept at the save and the re-valuation of a department issue at
// cost after its audit. Each takes the database through the App and shows
// nothing; the writes join the caller's transaction (the save's or the audit's).

#include <QDate>
#include <QString>
#include <optional>

struct App;
class Database;
struct StockDoc;

// The price a sales delivery proposes: the customer's KhPrice (setting OfferCustomerPrice on
// and a customer chosen), else the goods' sale price TA4.F71.
double ProposedSalePrice(const App& app, const QString& goods, const QString& customer);
// Sales deliveries with OfferCustomerPrice on: each line's unit price (not 0) becomes the
// customer's last transaction price of the goods.
void KeepLastSalePrices(App& app, const StockDoc& doc);

// A department issue just posted: every line's amount becomes minus its cost amount
// (F8 = -C8, C238 = C8) and the header's amount F9 their total in the amount pattern.
void RevalueIssueAtCost(Database& db, const QString& amountFormat, const QString& number);
