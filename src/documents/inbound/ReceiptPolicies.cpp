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

StockDocPolicy receiptPolicy()
{
    StockDocPolicy p;
    p.texts.numberLabel = QStringLiteral("入库单号");
    p.texts.dateLabel = QStringLiteral("入库日期");
    p.texts.lineNoun = QStringLiteral("入库");
    p.useSupplierAccount();
    p.storage.columns = {{LineRole::Code, {}},       {LineRole::Name, {}},
                 {LineRole::Attribute, {}},  {LineRole::Quantity, QStringLiteral("入库数量")},
                 {LineRole::Price, QStringLiteral("入库单价")}, {LineRole::Amount, QStringLiteral("小计金额")},
                 {LineRole::Remark, QStringLiteral("备注")}, {LineRole::Proposed, {}}};
    p.pricing.proposePrice = ProposeReferenceOrCost;
    p.audit.outPrice = OutPriceRule::Zero;
    p.audit.unauditWarning = QStringLiteral("如果这批已审核入库的%1已经出库，\r\r撤销审核操作可能会造成库存%1数据出现负数，\r\r"
                                      "并且影响出库成本的计算！");
    p.texts.importCaption = QStringLiteral("从Excel文件中读取入库单明细");
    p.print.plans = {{QStringLiteral("&1.货品入库单(方案一)")}, {QStringLiteral("&2.货品入库单(方案二)")}};
    p.storage.saveExtras = keepReferencePrices;
    p.audit.afterPosting = RollUpLineBomCosts;
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
