#pragma once
// What the stock-document kinds differ in. One StockDocForm window and one
// StockDocService serve every kind; a policy is the document type (its row of
// the DocTypes table) and a few small parts: texts, storage, balance rule,
// audit rule, pricing and print. The shared code asks the policy instead of
// testing the kind. A new kind adds a policy, never a copy of the window or
// the service.

#include "core/DocTypes.h"
#include "core/Posting.h"
#include "documents/common/LineRoles.h"
#include "exchange/ImportOpeners.h"

#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

struct App;
class Database;
class QWidget;
struct StockDoc;

// Which right lets the operator see a kind's prices: the cost right or the profit right.
enum class PriceRight { Cost, Profit };

// One print plan of a kind, its layout id and default template those of the type's
// layout of the same place (DocTypeInfo::layouts).
struct PrintPlan {
    QString menuCaption;
    bool perGoods = false;  // one printed row per goods instead of one per line
    QString caption;        // the named value "Caption"; "" = the document type's name
};

// The captions and names of the window's own controls.
struct StockDocTexts {
    QString numberLabel;    // Lab(0)
    QString dateLabel;      // Lab(1)
    QString unitLabel;      // Lab(2)
    QString amountLabel;    // Lab(5)
    QString paidLabel;      // Lab(7)
    QString unitCodeHeader; // list column 7
    QString unitListHeader = QStringLiteral("供货单位");  // list column 2, in both modes
    QString listAmountHeader = QStringLiteral("金额");    // list column 5
    QString windowCaption;  // "" = the document type's name
    QString tabNoun;        // the tabs' "<noun>列表", "<noun>明细"; "" = the type's name
    QString lineNoun;       // "入库" in "不能保存空的单据！请录入入库货品！"
    QString unitPickerCaption;
    QString importCaption;  // the line import dialog's caption
    QStringList boxNames;   // objectNames of the header boxes Txt0..Txt8 ("" or missing = "Txt<n>")
    // Enter in a header box moves on as Tab does, instead of to the unit combo.
    bool headerEnterAsTab = false;
    // The footer amount (Lab(5)'s box) is blue when 0 or more and red when negative.
    bool amountSignColours = false;
};

// A kind whose documents a service of its own writes and posts (stocktaking): the
// base service hands the save, audit and unaudit on to it. Empty = the base's own.
struct StockDocRoutes {
    std::function<QString(App&, StockDoc&, const QString& oldNumber)> save;
    std::function<QString(App&, const QString& number)> audit;
    std::function<QString(App&, const QString& number)> unaudit;
};

// How a document is stored. The signs and sides come from the type (DocTypeInfo);
// the policy names the line columns and what the save refuses or adds.
struct StockDocStorage {
    QVector<LineColumn> columns;
    bool refusesZeroQuantity = false;  // the save refuses a line with quantity 0
    // The lines draw on the stock of their attribute value: the picker lists only values that
    // have stock, and the save refuses a line without a value whose goods is kept under values.
    bool attributeOut = false;
    bool attributeFromPicker = false;  // the attribute cell takes only values the picker offers
    LineImportLayout importLayout = LineImportLayout::standard();
    // The role the quick-entry strip's quantity adds to. Another role than the quantity
    // takes the sum (or, on a new line, the strip's quantity) through its own commit.
    LineRole stripRole = LineRole::Quantity;
    // The line columns the export writes as numbers (the rest go out as text).
    QVector<LineRole> exportNumbers{LineRole::OriginalPrice, LineRole::Discount, LineRole::Price, LineRole::Amount};
    // Run inside the save's transaction after the rows are written.
    std::function<void(App&, const StockDoc&)> saveExtras;
    StockDocRoutes service;

    int columnOf(LineRole role) const;  // -1 when the kind has no such column
};

// The counter-party's account: how the stored amounts move its balance.
struct BalanceRule {
    // YF/FK are negated for units of this kind (and, with negateUnknownUnit, for a unit gone from TA1).
    std::optional<UnitKind> negateFor;
    bool negateUnknownUnit = false;
    // The settlement combo's items: [0] to the account, [1] settled; unpaid and paid texts.
    QStringList unpaidSettlement;
    QStringList paidSettlement;
    bool alwaysSettled = false;  // index 1 whatever the amounts do (department modes)
    // The paid amount and settlement controls are offered (not in department modes; a
    // department document that is not always settled is booked wholly to the account).
    bool settlementOffered = true;
    bool paidOnIssue = false;    // the paid amount follows ReceivedOnIssue instead of PaidOnReceipt

    QString settlementText(double paid, int index) const;
};

// The stocktaking exclusivity every other kind keeps: "" unless a stocktaking is unaudited.
QString RefuseWhileStocktaking(const Database& db);
QString RefuseUnauditWhileStocktaking(const Database& db);

// How an audit is asked for.
enum class AuditConfirmation {
    ScopeDialog,  // the audit-scope dialog: the shown document or every unaudited one
    YesNo,        // one question; the shown document only
};

// Auditing and unauditing, and when a document may be added, audited or unaudited at all.
struct AuditRule {
    AuditConfirmation confirmation = AuditConfirmation::ScopeDialog;
    // The audit's question (%1 = the goods word).
    QString auditQuestion = QStringLiteral("审核操作将对库存%1进行更新，审核后单据将不可修改！\r\r真的要继续吗？");
    OutPriceRule outPrice = OutPriceRule::Zero;
    bool checksStock = false;  // NoOverIssue: a committed quantity and the audit check the stock
    // Refusals ("" = allowed), asked before anything is shown or written. The defaults keep
    // every kind but stocktaking still while a stocktaking is unaudited.
    std::function<QString(const Database&)> canAdd = RefuseWhileStocktaking;
    std::function<QString(const Database&)> canUnaudit = RefuseUnauditWhileStocktaking;
    // An exclusive kind: the add refuses a busy account set before it asks for the operator's
    // right, and the unaudit asks its warnings before it refuses.
    bool exclusive = false;
    // The refusal of a document date ("" = allowed; empty = every date): a new document
    // proposes the latest document's date instead of today, and the date picker puts the
    // previous date back.
    std::function<QString(const Database&, const QDate&)> canDate;
    // The scope dialog offers only the shown document, under this caption ("" = the dialog's).
    bool auditsShownOnly = false;
    QString shownCaption;
    // Checked inside the audit's transaction before anything is written: "" posts, else the refusal.
    std::function<QString(App&, const StockDoc&)> canAudit;
    // Run inside the transaction after posting and after unposting.
    std::function<void(App&, const StockDoc&)> afterPosting;
    // Run inside the audit's transaction after posting (not on unaudit).
    std::function<void(App&, const StockDoc&)> afterAudit;
    // Unaudit: the first warning's text (%1 = the goods word), the question after it.
    QString unauditWarning;
    QString unauditQuestion = QStringLiteral("真的要继续吗？");
    bool unauditWarnsTwice = true;
    bool unauditDoneMessage = true;
    bool unauditKeepsLineAuditor = false;  // the lines keep SH when the audit is taken back
};

// Prices: who sees them, whether they are typed, and the one proposal for a new line.
struct PricingRule {
    PriceRight priceRight = PriceRight::Cost;
    bool listShowsAmount = true;  // the list's amount column (hidden when prices are hidden anyway)
    int discountSetting = 0;      // sysinfo row whose setval 1 puts the discount columns in use; 0 = never
    bool pricesEditable = true;   // the price and amount cells open in the line editor
    // The price proposed for a goods put on a line, for the counter-party and date.
    std::function<double(const App&, const QString& goods, const QString& unit, const QDate& date)> proposePrice;
};

// One document line as the print stages it: the texts F1..F13 and numbers V1..V3 of its
// Plist row, and what it adds to the totals SumSl and SumJe.
struct PrintedLine {
    QStringList texts;
    QList<double> numbers;
    double qty = 0;
    double amount = 0;
};

// Printing: the plans of the print menu, whether they need the print right, and
// what a kind adds to the shared staging (StageStockDocPrint).
struct PrintRule {
    QVector<PrintPlan> plans;
    bool needsRight = true;
    // The staged row of line number n, from the line and its goods' name, spec and unit;
    // empty = the standard row (see StageStockDocPrint).
    std::function<PrintedLine(const App&, const StockDocLine&, const QStringList& goods, int n, bool pricesShown)>
        stageLine;
    // The print's record-set query over the staged rows, one row per line.
    QString lineSql = QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F10 from plist order by F0");
    // The named value of the counter-party's code, and those read from its TA1 row (name, column).
    QString unitCodeValue = QStringLiteral("单位编码");
    QVector<QPair<QString, QString>> unitValues = {
        {QStringLiteral("单位地址"), QStringLiteral("F3")}, {QStringLiteral("单位电话"), QStringLiteral("F4")},
        {QStringLiteral("单位传真"), QStringLiteral("F5")}, {QStringLiteral("联系人"), QStringLiteral("F6")},
        {QStringLiteral("手机号"), QStringLiteral("MT")}};
};

struct StockDocPolicy {
    DocType type = DocType::PurchaseReceipt;
    // What the type is: kind, signs, counter-parties, settings rows, rights group, layouts.
    const DocTypeInfo& docType() const { return DocTypeOf(type); }
    // The F3isBm mode: the counter-party is a department.
    bool department() const { return docType().department(); }

    StockDocTexts texts;
    StockDocStorage storage;
    BalanceRule balance;
    AuditRule audit;
    PricingRule pricing;
    PrintRule print;

    int columnOf(LineRole role) const { return storage.columnOf(role); }
    // The department mode of a kind (production receipts, department issues): the
    // department captions, and the document never touches the department's account.
    void useDepartments();
    // The supplier's side (receipts, returns to suppliers): the supplier captions and the
    // payable; a customer offered as a dual-role unit is booked the other way.
    void useSupplierAccount();
    // The customer's side (deliveries, returns to stock): the customer picker and the
    // receivable, moved by the received amount; a supplier offered as a dual-role unit,
    // or a unit gone from TA1, is booked the other way.
    void useCustomerAccount();
    // The unaudit asks once, warning of errors in prices and amounts, and says nothing when done.
    void useCarefulUnaudit();
    // Lines valued at cost (department issues and returns): the price column "成本单价",
    // proposed at the cost on the document's date, never typed, seen with the cost right.
    void useCostPrices();
};

// The price proposals the kinds share: the goods' cost price TA4.F7, and the inbound
// reference price TA4.RkF7 while that setting is on, else the cost price.
double ProposeCostPrice(const App& app, const QString& goods, const QString& unit, const QDate& date);
double ProposeReferenceOrCost(const App& app, const QString& goods, const QString& unit, const QDate& date);
