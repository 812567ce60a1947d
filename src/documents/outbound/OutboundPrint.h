#pragma once
// Printing an outbound document by one of its print plans: one staged Plist
// row per document line as the window shows it, the header's named values, the
// plan's layout id and default template, and the query that reads the rows
// back (one row per line, or one per goods for the delivery note). Printing
// needs no permission word; the gates are an empty document, the printer and
// the print rule of setting 7716.

#include "documents/common/StockDocPolicy.h"

#include <QString>
#include <QVector>

class Grid;
class PlistPrint;
class QWidget;
struct App;

// The plans of the outbound menu, in menu order: two document layouts in both
// modes and, in sales mode only, the delivery note with one row per goods.
QVector<PrintPlan> OutboundPrintPlans(bool department);

// What the print reads of the shown document: the header boxes as shown and
// the line grid (columns found by role in the policy, rows from 1 up to the
// first row without a goods code).
struct OutboundPrintSheet {
    QString number;     // Txt0
    QString date;       // Txt1
    QString unitName;   // Txt2
    QString unitCode;   // list column 7 of the shown document
    QString enteredBy;  // Txt3
    QString auditor;    // Txt4, "" while unaudited
    QString note;       // Txt6
    QString unitLabel;  // caption of Lab2 ("收货单位" / "相关部门")
    QString extraCaption;  // caption of the extra header item; "" when the item is not shown
    QString extra;         // Txt11
    const Grid* lines = nullptr;
};

// Stages plan `index` (0-based, as the menu's items) of the sheet into `job`:
// rows, named values, Pid, RptFile and PrnSQL. `caption` is the document type's
// name; `pricesShown` false blanks the prices and amounts. Answers the refusal
// to show ("无数据可打印！" or the print rule's), "" when staged. Reads only.
QString StageOutboundPrint(App& app, const StockDocPolicy& policy, const QString& caption,
                           const OutboundPrintSheet& sheet, int index, bool pricesShown, PlistPrint& job);

// Menu_prn: the empty-document test, the printer test, the print rule, then
// the print engine's preview of the staged plan. Shows its own messages.
void PrintOutboundDocument(App& app, QWidget* window, const StockDocPolicy& policy, const QString& caption,
                           const OutboundPrintSheet& sheet, int index, bool pricesShown);
