#include "documents/outbound/OutboundPolicies.h"

#include "core/App.h"
#include "core/SettingsCatalogue.h"
#include "documents/common/StockDocService.h"
#include "documents/outbound/OutboundPrint.h"
#include "documents/outbound/OutboundService.h"

namespace {

StockDocPolicy outboundPolicy()
{
    StockDocPolicy p;
    p.texts.numberLabel = QStringLiteral("出库单号");
    p.texts.dateLabel = QStringLiteral("出库日期");
    p.texts.unitLabel = QStringLiteral("收货单位");
    p.texts.amountLabel = QStringLiteral("应收款");
    p.texts.paidLabel = QStringLiteral("实收款");
    p.texts.unitCodeHeader = QStringLiteral("客户编码");
    p.texts.unitListHeader = p.texts.unitLabel;
    p.texts.lineNoun = QStringLiteral("出库");
    p.storage.columns = {{LineRole::Code, {}},
                 {LineRole::Name, {}},
                 {LineRole::Attribute, {}},
                 {LineRole::Quantity, QStringLiteral("数量")},
                 {LineRole::OriginalPrice, QStringLiteral("原价")},
                 {LineRole::Discount, QStringLiteral("折扣")},
                 {LineRole::Price, QStringLiteral("销售单价")},
                 {LineRole::Amount, QStringLiteral("小计金额")},
                 {LineRole::Remark, QStringLiteral("备注")},
                 {LineRole::Proposed, {}}};
    p.useCustomerAccount();
    p.audit.outPrice = OutPriceRule::LastOutLine;
    p.useCarefulUnaudit();
    p.audit.checksStock = true;
    p.storage.refusesZeroQuantity = true;
    p.storage.attributeFromPicker = true;
    // The header's received amount and extra item keep the outbound window's own box names;
    // Txt7-Txt9 are the assembly row's.
    p.texts.boxNames = {{}, {}, {}, {}, {}, {}, {}, QStringLiteral("Txt10"), QStringLiteral("Txt11")};
    p.texts.headerEnterAsTab = true;
    p.audit.canAudit = DocumentStockRefusal;
    p.storage.attributeOut = true;
    p.storage.importLayout = LineImportLayout::outbound();
    p.texts.importCaption = QStringLiteral("从Excel文件中读取出库单明细");
    return p;
}

}  // namespace

StockDocPolicy SalesDeliveryPolicy()
{
    StockDocPolicy p = outboundPolicy();
    p.type = DocType::SalesDelivery;
    p.pricing.priceRight = PriceRight::Profit;
    p.pricing.discountSetting = SetSalesDiscount;
    p.pricing.proposePrice = [](const App& app, const QString& goods, const QString& unit, const QDate&) {
        return ProposedSalePrice(app, goods, unit);
    };
    p.storage.saveExtras = KeepLastSalePrices;
    UseOutboundPrint(p.print, false);
    return p;
}

StockDocPolicy DepartmentIssuePolicy()
{
    StockDocPolicy p = outboundPolicy();
    p.type = DocType::DepartmentIssue;
    p.useDepartments();
    // An issue is valued at cost.
    p.useCostPrices();
    p.pricing.listShowsAmount = false;
    p.audit.afterAudit = [](App& app, const StockDoc& doc) {
        RevalueIssueAtCost(app.CurrentDatabase, app.AmountFormat, doc.head.number);
    };
    UseOutboundPrint(p.print, true);
    return p;
}
