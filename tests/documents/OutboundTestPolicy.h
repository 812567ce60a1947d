#pragma once
// The least outbound policy the outbound service tests need: sales deliveries
// (document type 87) or department issues (85), out of stock, with the
// outbound line columns and print plans.

#include "documents/common/StockDocPolicy.h"
#include "documents/outbound/OutboundPrint.h"

inline StockDocPolicy TestOutboundPolicy(bool department)
{
    StockDocPolicy p;
    p.kind = DocKind::Outbound;
    p.typeSetting = department ? 85 : 87;
    p.extraItemSetting = department ? 185 : 187;
    p.department = department;
    p.counterParty = department ? UnitKind::Department : UnitKind::Customer;
    p.numberLabel = QStringLiteral("出库单号");
    p.unitLabel = department ? QStringLiteral("相关部门") : QStringLiteral("收货单位");
    p.lineNoun = QStringLiteral("出库");
    p.columns = {{LineRole::Code, {}},          {LineRole::Name, {}},
                 {LineRole::Attribute, {}},     {LineRole::Quantity, QStringLiteral("数量")},
                 {LineRole::OriginalPrice, QStringLiteral("原价")}, {LineRole::Discount, QStringLiteral("折扣")},
                 {LineRole::Price, QStringLiteral("销售单价")}, {LineRole::Amount, QStringLiteral("小计金额")},
                 {LineRole::Remark, QStringLiteral("备注")}};
    p.sign = -1;
    p.reportSide = StockSide::Out;
    p.flowSide = StockSide::Out;
    p.negateBalanceFor = UnitKind::Supplier;
    p.unpaidSettlement = {QStringLiteral("记入应收账"), QStringLiteral("零付款结算")};
    p.paidSettlement = {QStringLiteral("余款记入应收账"), QStringLiteral("按实付款结算")};
    p.alwaysSettled = department;
    p.proposal = PriceProposal::CostPrice;
    p.outPrice = OutPriceRule::LastOutLine;
    p.rightGroup = 4;
    p.printPlans = OutboundPrintPlans(department);
    return p;
}
