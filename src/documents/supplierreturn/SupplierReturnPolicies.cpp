#include "documents/supplierreturn/SupplierReturnPolicies.h"

#include "documents/common/StockDocService.h"

namespace {

StockDocPolicy returnPolicy()
{
    StockDocPolicy p;
    p.texts.numberLabel = QStringLiteral("退货单号");
    p.texts.dateLabel = QStringLiteral("退货日期");
    p.texts.lineNoun = QStringLiteral("退货");
    p.useSupplierAccount();
    p.texts.importCaption = QStringLiteral("从Excel文件中读取退货单明细");
    p.storage.columns = {{LineRole::Code, {}},
                         {LineRole::Name, {}},
                         {LineRole::Attribute, {}},
                         {LineRole::Quantity, QStringLiteral("退货数量")},
                         {LineRole::Price, QStringLiteral("退货单价")},
                         {LineRole::Amount, QStringLiteral("小计金额")},
                         {LineRole::Remark, QStringLiteral("备注")},
                         {LineRole::Proposed, {}}};
    // Only values that have stock can be returned; the cell takes them from the picker only.
    p.storage.attributeOut = true;
    p.storage.attributeFromPicker = true;
    p.pricing.proposePrice = ProposeCostPrice;
    p.audit.confirmation = AuditConfirmation::YesNo;
    p.audit.auditQuestion = QStringLiteral("审核操作将对库存%1进行更新，\r\r审核后单据将不可修改！\r\r真的要继续吗？");
    p.audit.outPrice = OutPriceRule::Zero;
    p.audit.checksStock = true;
    // Every road a line comes by (strip, picker, import, several lines of one goods) is
    // checked once more, added up, inside the audit before anything is written.
    p.audit.canAudit = DocumentStockRefusal;
    p.useCarefulUnaudit();
    p.audit.afterPosting = RollUpLineBomCosts;
    p.print.plans = {{QStringLiteral("&1.公司退货单(方案一)")}, {QStringLiteral("&2.公司退货单(方案二)")}};
    return p;
}

}  // namespace

StockDocPolicy PurchaseReturnPolicy()
{
    StockDocPolicy p = returnPolicy();
    p.type = DocType::PurchaseReturn;
    return p;
}

StockDocPolicy ReworkReturnPolicy()
{
    StockDocPolicy p = returnPolicy();
    p.type = DocType::ReworkReturn;
    p.useDepartments();
    // The paid amount and settlement are not offered, but the return still lowers what
    // the department is owed: it is booked to the department's account.
    p.balance.alwaysSettled = false;
    return p;
}
