#pragma once
// The stock-document service: list, load, save, delete, audit and unaudit of
// a document by its number, for every kind through its StockDocPolicy.
//
// Each function reads the document from the database, never from a window,
// so a test or a benchmark drives it exactly as the window does. Every write
// is one BEGIN IMMEDIATE transaction that re-reads the document's audit state
// inside it: a document audited meanwhile at another workstation is refused,
// and so is a save or delete of a stored document that is no longer what the
// window loaded; a failure leaves the books as they were. Values are bound, never
// spliced into SQL. Refusals come back as the message to show ("" = done);
// database failures are thrown as DbError. Nothing here shows anything.

#include "documents/common/StockDocPolicy.h"

#include <QDate>
#include <QPair>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <optional>
#include <vector>

struct App;
class Database;

struct StockDocLine {
    QString goods;   // TB11.F1
    QString attr;    // HPSX
    double qty = 0;  // as the grid shows it: the stored quantity times the kind's sign
    double price = 0;
    double amount = 0;  // as qty
    QString remark;
    std::optional<double> proposed;  // the price proposed when the goods was put on the line
    double originalPrice = 0;  // YJ: the price before discount
    double discount = 0;       // ZK: the discount factor (1 = none, 0 = not used)
    // A count (stocktaking): the book quantity Z5 it is measured against and the counted
    // quantity F5, none while no count was entered; qty is then the difference.
    double book = 0;
    std::optional<double> counted;
    // Shown only (filled by LoadStockDoc and GoodsForLine).
    QString name;  // TA4.F2 + "/" + TA4.F5
    QString unit;  // TA4.F4
    qint64 backColour = 0;  // BColor, FColor: the row's stored colours (0 = none)
    qint64 foreColour = 0;
};

struct StockDocHeader {
    QString number;   // F1
    QDate date;       // F2
    QString unitCode; // F3
    QString unitName; // TA1.F2
    QString enteredBy;  // F5
    QString auditor;    // F6
    double amount = 0;  // F9
    QString note;       // F10
    double paid = 0;    // K9
    int settlement = 0; // K: 0 to the unit's account, 1 settled
    QString settlementText;  // Kstr
    QString extra;      // OD
    double sn = 0;      // SN
    QString postingKey; // SRT
    QString assemblyProduct;  // zzcp: the product whose structure filled the lines
    double assemblyQty = 0;   // zzsl
    QString assemblyName;     // mcgg
    qint64 backColour = 0;    // BColor, FColor: the list row's stored colours (0 = none)
    qint64 foreColour = 0;
};

struct StockDoc {
    StockDocHeader head;
    QVector<StockDocLine> lines;
    // Every stored column of the header and its lines as LoadStockDoc read them; a save
    // or delete of the stored document goes ahead only while the store still holds them.
    QByteArray loadedStamp;
};

// The twelve columns of a document list, row-major, with the rows' stored colours.
struct StockDocList {
    int rows = 0;
    std::vector<QString> cells;  // rows x StockDocListColumns
    std::vector<std::pair<qint64, qint64>> colours;  // (back, fore) per row; 0 = none
};
constexpr int StockDocListColumns = 12;

// The document type's name (the window caption) and number prefix of the policy's type:
// the type's fixed ones, else those of its settings row.
QString StockDocTypeName(const Database& db, const StockDocPolicy& policy);
QString StockDocNumberPrefix(const Database& db, const QString& typeName);
QString StockDocNumberPrefix(const Database& db, const StockDocPolicy& policy, const QString& typeName);

// The name of a business unit (TA1.F2) and of a goods (TA4.F2); "" when the code is unknown.
QString CounterPartyName(const Database& db, const QString& code);
QString GoodsName(const Database& db, const QString& code);
// A stored price column of a goods (TA4.F7, F71, RkF7 ...); 0 when the code is unknown.
double GoodsPrice(const Database& db, const QString& goods, const char* column);

// The counter-party combo's items, "code.name" by code: the units of the policy's kind
// (with the dual-role units when the kind takes them and setting 1616 is on).
QStringList CounterPartyItems(const Database& db, const StockDocPolicy& policy);
// The extra header item's caption of the policy, "" when the item is not configured.
QString StockDocExtraItemCaption(const Database& db, const StockDocPolicy& policy);
// The twelve list cells of a saved header (as ListStockDocs lists them).
QStringList StockDocListCells(const StockDocHeader& head, const QString& amountFormat);

// The opening list's condition: documents dated on or after `from`, and every unaudited one.
QString OpeningListCondition();
QVariantList OpeningListParams(const QDate& from);

// The documents of the policy's kind and `typeName` that `condition` (an SQL condition on
// TB1/TA1 with its parameters, "" = all) selects, by date and number. A condition typed by
// the user is parenthesised before the kind and type filter.
// With `orphansToo` a document whose unit is no longer in TA1 is listed as well, with an
// empty unit name (the search); the opening list leaves it out.
StockDocList ListStockDocs(const Database& db, const StockDocPolicy& policy, const QString& typeName,
                           const QString& condition, const QVariantList& params, const QString& amountFormat,
                           bool orphansToo = false);

// The stored document with its lines in line order (a line whose goods left the goods file
// is kept, with an empty name and unit), the quantities and amounts signed as its type's
// window shows them, so that saving it unchanged stores what was stored; nullopt when no
// header has the number.
std::optional<StockDoc> LoadStockDoc(const Database& db, const QString& number);

// Writes the document unaudited in one transaction: header and lines numbered 1..n
// (lines without goods dropped), the policy's signs and sides, its save extras. Adding
// when `oldNumber` is "", else replacing the stored document `oldNumber`, which must be
// the one loaded (doc.loadedStamp). Refused when the number is taken, the stored document
// was changed, deleted or audited meanwhile, or no line is left.
// Fills doc.head.amount with the lines' total and the settlement from the policy.
// A kind with a service of its own (StockDocRoutes) is saved, audited and unaudited by it.
QString SaveStockDoc(App& app, const StockDocPolicy& policy, const QString& typeName, StockDoc& doc,
                     const QString& oldNumber);

// Every stored column of the header and the lines of a document, hashed (the stamp of
// StockDoc::loadedStamp); empty when no header has the number.
QByteArray StoredDocStamp(Database& db, const QString& number);

// The date of the latest document of any kind (GetLastDate); nullopt when there is none.
std::optional<QDate> LatestDocDate(const Database& db);

// A row colour as stored: 0 (none) as NULL, as a row never coloured holds it.
QVariant StoredColour(qint64 c);

// The refusal of a save whose stored document is no longer the one the window loaded.
QString ChangedSinceLoadedText();

// Deletes an unaudited document and releases its number; refused when it is audited or
// no longer what was loaded (`loadedStamp`, see StockDoc).
QString DeleteStockDoc(App& app, const QString& number, const QByteArray& loadedStamp);

// Posts a saved document as app.OperatorName, with the balance move of its stored amounts
// and settlement and the policy's out price, then the policy's after-posting step.
QString AuditStockDoc(App& app, const StockDocPolicy& policy, const QString& number);

// Takes an audited document back; refused while a stocktaking is unaudited.
QString UnauditStockDoc(App& app, const StockDocPolicy& policy, const QString& number);

// True while a stocktaking document is saved but not audited: adding and unauditing wait.
bool StocktakingPending(const Database& db);

// The goods of a code for a new line: name/spec, unit, its stock TA4.F8 as book quantity and the proposed price
// (rounded to the price pattern), which a kind with a discount setting (sales) also
// takes as the price before discount, at discount 1, whether or not the columns are shown; nullopt
// for an unknown code.
// `unit` and `date` are the document's counter-party and date, which a policy's proposal may use.
std::optional<StockDocLine> GoodsForLine(const App& app, const StockDocPolicy& policy, const QString& code,
                                         const QString& unit = QString(), const QDate& date = QDate());
// Which stock a line draws on: its goods code (any case) and, while the attribute
// is kept, its attribute value. Lines with equal keys are checked together.
QPair<QString, QString> StockKey(const App& app, const QString& goods, const QString& attr);

// The answer to a goods code of the quick-entry strip that is not in TA4;
// `codeHeader` is the line grid's header of the code column.
QString UnknownStripGoodsText(const QString& goodsTerm, const QString& code, const QString& codeHeader);

// True when the attribute value stands on some line of the goods: the only values the
// attribute picker can offer.
bool AttributeValueKnown(const Database& db, const QString& goods, const QString& value);

// The balance move posting writes for the document's stored amounts and settlement.
BalanceMove StockDocBalanceMove(const Database& db, const StockDocPolicy& policy, const StockDocHeader& head);

// Re-prices the inbound reference price RkF7 of every product built of the goods,
// when both the reference price and the cost-plus-fee price settings are on.
void RollUpBomCost(App& app, const QStringList& goods);
// RollUpBomCost for the goods of the document's lines (a kind's after-posting step).
void RollUpLineBomCosts(App& app, const StockDoc& doc);

// The first line whose goods (and attribute value) the posted stock on the document's date
// does not cover, all lines of that goods and value on the document added up; with the
// stock of that day. None when NoOverIssue is off or every line is covered.
struct DocumentShortage {
    int line = 0;  // 1-based
    QString goods;
    QString attr;
    double needed = 0;
    double stock = 0;
};
std::optional<DocumentShortage> CheckDocumentStock(const App& app, const StockDoc& doc);
// The refusal the audit answers for a shortage ("" when none).
QString DocumentStockRefusal(App& app, const StockDoc& doc);

// The print rule of setting 7716: the refusal for a document that is (or is not yet)
// audited, "" when it may print.
QString StockDocPrintRuleRefusal(const Database& db, bool audited);
