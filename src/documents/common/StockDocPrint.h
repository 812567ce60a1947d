#pragma once
// Printing a stock document by one of its kind's print plans: one staged Plist
// row per document line, the header's named values, the plan's layout id and
// default template (from the document type), and the query that reads the rows
// back (the kind's line query, or one row per goods for a per-goods plan). The
// window hands the document as it shows it, edited or stored; the goods are
// read once for the whole document.

#include <QString>

class PlistPrint;
class QWidget;
struct App;
struct StockDoc;
struct StockDocPolicy;

// Stages plan `index` (0-based, as the print menu's items) of `doc` into `job`: rows F1..F13
// (code, name, spec, unit, -, quantity with unit, price, amount, remark, attribute, line number,
// price before discount, discount) with V1..V3 (quantity, amount, line number), named values,
// Pid, RptFile and PrnSQL. `caption` is the document type's name; `pricesShown` false blanks
// prices and amounts. Answers the refusal to show ("无数据可打印！", the print rule's, an unknown
// plan), "" when staged. Reads only.
QString StageStockDocPrint(App& app, const StockDocPolicy& policy, const QString& caption, const StockDoc& doc,
                           int index, bool pricesShown, PlistPrint& job);

// The print command: the empty-document test, the printer test, the staging, then the print
// engine's preview. Shows its own messages.
void PrintStockDoc(App& app, QWidget* window, const StockDocPolicy& policy, const QString& caption,
                   const StockDoc& doc, int index, bool pricesShown);
