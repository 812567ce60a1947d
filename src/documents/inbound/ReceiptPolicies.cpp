#include "documents/inbound/ReceiptPolicies.h"

#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"

#include <QDateTime>

namespace {

// A receipt keeps the inbound reference price of its goods when the operator
// changed the proposed price: TA4.RkF7 follows and RkPrice keeps the history.
void keepReferencePrices(App& app, const StockDoc& doc)
{
    if (app.InboundRefPrice != 1)
        return;
    Database& db = app.CurrentDatabase;
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    for (const StockDocLine& l : doc.lines) {
        if (!l.proposed || l.price == 0 || l.price == *l.proposed)
            continue;
        db.execute(QStringLiteral("UPDATE TA4 SET RkF7 = ? WHERE F1 = ?"), {l.price, l.goods});
        db.execute(QStringLiteral("INSERT INTO RkPrice (F1, F7, F9, F10) VALUES (?, ?, ?, ?)"),
                   {l.goods, l.price, app.OperatorName, now});
    }
}

void rollUpAfterPosting(App& app, const StockDoc& doc)
{
    QStringList goods;
    for (const StockDocLine& l : doc.lines)
        goods << l.goods;
    RollUpBomCost(app, goods);
}

StockDocPolicy receiptPolicy()
{
    StockDocPolicy p;
    p.numberLabel = QStringLiteral("入库单号");
    p.dateLabel = QStringLiteral("入库日期");
    p.unitLabel = QStringLiteral("供货单位");
    p.amountLabel = QStringLiteral("应付款");
    p.paidLabel = QStringLiteral("实付款");
    p.unitCodeHeader = QStringLiteral("供应商编码");
    p.lineNoun = QStringLiteral("入库");
    p.unitPickerCaption = QStringLiteral("供应商档案");
    p.columns = {{LineRole::Code, {}},       {LineRole::Name, {}},
                 {LineRole::Attribute, {}},  {LineRole::Quantity, QStringLiteral("入库数量")},
                 {LineRole::Price, QStringLiteral("入库单价")}, {LineRole::Amount, QStringLiteral("小计金额")},
                 {LineRole::Remark, QStringLiteral("备注")}, {LineRole::Proposed, {}}};
    p.negateBalanceFor = UnitKind::Customer;
    p.unpaidSettlement = {QStringLiteral("记入应付账"), QStringLiteral("零付款结算")};
    p.paidSettlement = {QStringLiteral("余款记入应付账"), QStringLiteral("按实付款结算")};
    p.proposal = PriceProposal::ReferenceOrCost;
    p.keepsReferencePrice = true;
    p.rollsUpBomCost = true;
    p.outPrice = OutPriceRule::Zero;
    p.unauditWarning = QStringLiteral("如果这批已审核入库的%1已经出库，\r\r撤销审核操作可能会造成库存%1数据出现负数，\r\r"
                                      "并且影响出库成本的计算！");
    p.importCaption = QStringLiteral("从Excel文件中读取入库单明细");
    p.printPlans = {{QStringLiteral("&1.货品入库单(方案一)")}, {QStringLiteral("&2.货品入库单(方案二)")}};
    p.saveExtras = keepReferencePrices;
    p.afterPosting = rollUpAfterPosting;
    return p;
}

}  // namespace

StockDocPolicy PurchaseReceiptPolicy()
{
    StockDocPolicy p = receiptPolicy();
    p.type = DocType::PurchaseReceipt;
    return p;
}

StockDocPolicy ProductionReceiptPolicy()
{
    StockDocPolicy p = receiptPolicy();
    p.type = DocType::ProductionReceipt;
    p.useDepartments();
    return p;
}
