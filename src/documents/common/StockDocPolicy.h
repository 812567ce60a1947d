#pragma once
// What the stock-document kinds differ in. One StockDocForm window and one
// StockDocService serve every kind; a policy names its kind's columns, signs,
// texts and extra steps, and the shared code asks the policy instead of
// testing the kind. A new kind adds a policy (and its own extras through the
// hooks), never a copy of the window or the service.

#include "core/DocTypes.h"
#include "core/Posting.h"
#include "exchange/ImportOpeners.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

struct App;
class Database;
class QWidget;
struct StockDoc;

// What a line-grid column holds. The window and the service find columns by
// role, never by a fixed index.
enum class LineRole { Code, Name, Attribute, Quantity, OriginalPrice, Discount, Price, Amount, Remark, Proposed };

struct LineColumn {
    LineRole role;
    QString header;  // "" = the role's shared header (goods word, attribute name, "备注" ...)
};

// Which right lets the operator see a kind's prices: the cost right or the profit right.
enum class PriceRight { Cost, Profit };

// How the price of a goods put on a line is proposed.
enum class PriceProposal {
    ReferenceOrCost,  // TA4.RkF7 when the inbound reference price is on, else the cost price F7
    CostPrice,        // the cost price F7
};

// One print plan of a kind, its layout id and default template those of the type's
// layout of the same place (DocTypeInfo::layouts).
struct PrintPlan {
    QString menuCaption;
    bool perGoods = false;  // one printed row per goods instead of one per line
    QString caption;        // the named value "Caption"; "" = the document type's name
};

struct StockDocPolicy {
    DocType type = DocType::PurchaseReceipt;
    // What the type is: kind, signs, counter-parties, settings rows, rights group, layouts.
    const DocTypeInfo& docType() const { return DocTypeOf(type); }
    // The F3isBm mode: the counter-party is a department.
    bool department() const { return docType().department(); }

    // Captions of the window's own labels.
    QString numberLabel;    // Lab(0)
    QString dateLabel;      // Lab(1)
    QString unitLabel;      // Lab(2)
    QString amountLabel;    // Lab(5)
    QString paidLabel;      // Lab(7)
    QString unitCodeHeader; // list column 7
    QString unitListHeader = QStringLiteral("供货单位");  // list column 2, in both modes
    QString lineNoun;       // "入库" in "不能保存空的单据！请录入入库货品！"
    QString unitPickerCaption;

    QVector<LineColumn> columns;

    // The unit's account: YF/FK are negated for units of this kind.
    std::optional<UnitKind> negateBalanceFor;
    // The settlement combo's items: [0] to the account, [1] settled; unpaid and paid texts.
    QStringList unpaidSettlement;
    QStringList paidSettlement;
    // The settlement stays "settled" (index 1) whatever the amounts do.
    bool alwaysSettled = false;

    PriceProposal proposal = PriceProposal::ReferenceOrCost;
    bool keepsReferencePrice = false;  // the save writes RkPrice and TA4.RkF7 (setting 878)
    bool rollsUpBomCost = false;       // audit and unaudit re-price products built of the goods
    OutPriceRule outPrice = OutPriceRule::Zero;

    // Unaudit: the first warning's text, %1 = the goods word.
    QString unauditWarning;

    QVector<PrintPlan> printPlans;
    // The print's record-set query over the staged rows (see PrintStage).
    QString printSql = QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F10 from plist order by F0");

    // The attribute picker lists only values that have stock (stock-decreasing kinds).
    bool attributeOut = false;

    // Line import: where the imported values go, and the import dialog's caption.
    LineImportLayout importLayout = LineImportLayout::standard();
    QString importCaption;

    // Kind-specific steps, run inside the save's or the audit's transaction.
    std::function<void(App&, const StockDoc&)> saveExtras;
    std::function<void(App&, const StockDoc&)> afterPosting;

    // Outbound extras; the defaults keep the receipts' behaviour.
    PriceRight priceRight = PriceRight::Cost;
    bool listShowsAmount = true;   // the list's amount column (hidden when prices are hidden anyway)
    int discountSetting = 0;       // sysinfo row whose setval 1 puts the discount columns in use; 0 = never
    bool pricesEditable = true;    // the price and amount cells open in the line editor
    bool checksStock = false;      // NoOverIssue: a committed quantity and the audit check the stock
    bool refusesZeroQuantity = false;  // the save refuses a line with quantity 0
    bool attributeFromPicker = false;  // the attribute cell takes only values the picker offers
    bool negateUnknownUnit = false;    // YF/FK are negated also when the unit is missing from TA1
    QStringList boxNames;          // objectNames of the header boxes Txt0..Txt8 ("" or missing = "Txt<n>")
    QString unauditQuestion = QStringLiteral("真的要继续吗？");
    bool unauditWarnsTwice = true;
    bool unauditDoneMessage = true;
    bool printNeedsRight = true;   // printing tests the print item of the right group
    bool paidOnIssue = false;      // the received amount follows ReceivedOnIssue instead of PaidOnReceipt
    // The proposed price of a goods for a line, for the counter-party and date; replaces `proposal`.
    std::function<double(const App&, const QString& goods, const QString& unit, const QDate& date)> proposePrice;
    // Checked inside the audit's transaction before anything is written: "" posts, else the refusal.
    std::function<QString(App&, const StockDoc&)> beforePosting;
    // Prints plan `plan` (1-based) of the document the window shows; replaces the shared staging.
    std::function<void(App&, QWidget* window, const QString& caption, int plan, bool pricesShown)> printShown;
    // Run inside the audit's transaction after posting (not on unaudit).
    std::function<void(App&, const StockDoc&)> afterAudit;

    int columnOf(LineRole role) const;  // -1 when the kind has no such column
    QString settlementText(double paid, int index) const;
    // The department mode of a kind (production receipts, department issues): the
    // department captions, and the document never touches the department's account.
    void useDepartments();
};
