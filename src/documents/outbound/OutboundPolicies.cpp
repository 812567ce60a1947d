#include "documents/outbound/OutboundPolicies.h"

#include "core/App.h"
#include "core/SettingsCatalogue.h"
#include "documents/common/CostPrice.h"
#include "documents/common/StockDocService.h"
#include "documents/outbound/OutboundPrint.h"
#include "documents/outbound/OutboundService.h"

namespace {

StockDocPolicy outboundPolicy()
{
    StockDocPolicy p;
    p.numberLabel = QStringLiteral("出库单号");
    p.dateLabel = QStringLiteral("出库日期");
    p.unitLabel = QStringLiteral("收货单位");
    p.amountLabel = QStringLiteral("应收款");
    p.paidLabel = QStringLiteral("实收款");
    p.unitCodeHeader = QStringLiteral("客户编码");
    p.unitListHeader = p.unitLabel;
    p.lineNoun = QStringLiteral("出库");
    p.unitPickerCaption = QStringLiteral("客户档案");
    p.columns = {{LineRole::Code, {}},
                 {LineRole::Name, {}},
                 {LineRole::Attribute, {}},
                 {LineRole::Quantity, QStringLiteral("数量")},
                 {LineRole::OriginalPrice, QStringLiteral("原价")},
                 {LineRole::Discount, QStringLiteral("折扣")},
                 {LineRole::Price, QStringLiteral("销售单价")},
                 {LineRole::Amount, QStringLiteral("小计金额")},
                 {LineRole::Remark, QStringLiteral("备注")},
                 {LineRole::Proposed, {}}};
    // A supplier offered as a customer (dual role), or a unit gone from TA1, is booked the other way.
    p.negateBalanceFor = UnitKind::Supplier;
    p.negateUnknownUnit = true;
    p.unpaidSettlement = {QStringLiteral("记入应收账"), QStringLiteral("零付款结算")};
    p.paidSettlement = {QStringLiteral("余款记入应收账"), QStringLiteral("按实付款结算")};
    p.outPrice = OutPriceRule::LastOutLine;
    p.unauditWarning = QStringLiteral("在特定情况下，撤销审核操作可能会造成%1进出存单价金额方面出现误差！");
    p.unauditQuestion = QStringLiteral("请仔细确认，真的要继续吗？");
    p.unauditWarnsTwice = false;
    p.unauditDoneMessage = false;
    p.printNeedsRight = false;
    p.paidOnIssue = true;
    p.checksStock = true;
    p.refusesZeroQuantity = true;
    p.attributeFromPicker = true;
    // The header's received amount and extra item keep the outbound window's own box names;
    // Txt7-Txt9 are the assembly row's.
    p.boxNames = {{}, {}, {}, {}, {}, {}, {}, QStringLiteral("Txt10"), QStringLiteral("Txt11")};
    p.beforePosting = DocumentStockRefusal;
    p.attributeOut = true;
    p.importLayout = LineImportLayout::outbound();
    p.importCaption = QStringLiteral("从Excel文件中读取出库单明细");
    return p;
}

}  // namespace

StockDocPolicy SalesDeliveryPolicy()
{
    StockDocPolicy p = outboundPolicy();
    p.type = DocType::SalesDelivery;
    p.priceRight = PriceRight::Profit;
    p.discountSetting = SetSalesDiscount;
    p.proposePrice = [](const App& app, const QString& goods, const QString& unit, const QDate&) {
        return ProposedSalePrice(app, goods, unit);
    };
    p.saveExtras = KeepLastSalePrices;
    p.printPlans = OutboundPrintPlans(false);
    return p;
}

StockDocPolicy DepartmentIssuePolicy()
{
    StockDocPolicy p = outboundPolicy();
    p.type = DocType::DepartmentIssue;
    p.useDepartments();
    p.columns[p.columnOf(LineRole::Price)].header = QStringLiteral("成本单价");
    // An issue is valued at cost.
    p.priceRight = PriceRight::Cost;
    p.listShowsAmount = false;
    p.pricesEditable = false;
    p.proposePrice = [](const App& app, const QString& goods, const QString&, const QDate& date) {
        return ProposedCostPrice(app, goods, date);
    };
    p.afterAudit = [](App& app, const StockDoc& doc) {
        RevalueIssueAtCost(app.CurrentDatabase, app.AmountFormat, doc.head.number);
    };
    p.printPlans = OutboundPrintPlans(true);
    return p;
}
