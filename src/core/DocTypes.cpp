#include "core/DocTypes.h"

#include "core/Permissions.h"
#include "core/SettingsCatalogue.h"

namespace {

constexpr StockSide In = StockSide::In;
constexpr StockSide Out = StockSide::Out;

const std::array<DocTypeInfo, 8> Table = {{
    {DocType::PurchaseReceipt, DocKind::Inbound, UnitKind::Supplier, true, 1, 1, In, In, RightInbound,
     {{{"采购入库一", "pdan1.vxp"}, {"采购入库二", "pdan2.vxp"}, {}}}},
    {DocType::PurchaseReturn, DocKind::SupplierReturn, UnitKind::Supplier, true, -1, -1, In, Out, RightInbound,
     {{{"采购退货一", "pdan1.vxp"}, {"采购退货二", "pdan2.vxp"}, {}}}},
    {DocType::ProductionReceipt, DocKind::Inbound, UnitKind::Department, false, 1, 1, In, In, RightInbound,
     {{{"产品入库一", "pdan1.vxp"}, {"产品入库二", "pdan2.vxp"}, {}}}},
    {DocType::ReworkReturn, DocKind::SupplierReturn, UnitKind::Department, false, -1, -1, In, Out, RightInbound,
     {{{"次品返工一", "pdan1.vxp"}, {"次品返工二", "pdan2.vxp"}, {}}}},
    {DocType::DepartmentIssue, DocKind::Outbound, UnitKind::Department, false, -1, 1, Out, Out, RightOutbound,
     {{{"领用单一", "pckd1.vxp"}, {"领用单二", "pckd2.vxp"}, {}}}},
    {DocType::DepartmentReturn, DocKind::StockReturn, UnitKind::Department, false, 1, -1, Out, In, RightOutbound,
     {{{"退料单一", "pdan1.vxp"}, {"退料单二", "pdan2.vxp"}, {}}}},
    {DocType::SalesDelivery, DocKind::Outbound, UnitKind::Customer, true, -1, 1, Out, Out, RightOutbound,
     {{{"销售单一", "pckd1.vxp"}, {"销售单二", "pckd2.vxp"}, {"送货单", "psh.vxp"}}}},
    {DocType::CustomerReturn, DocKind::StockReturn, UnitKind::Customer, true, 1, -1, Out, In, RightOutbound,
     {{{"退货单一", "pdan1.vxp"}, {"退货单二", "pdan2.vxp"}, {}}}},
}};

// Stocktaking counts against the reserved unit; its difference goes in or out by its sign.
const DocTypeInfo StocktakingRow = {DocType::Stocktaking, DocKind::Stocktaking, UnitKind::Reserved, false, 1, 1, In, In,
                                    RightStocktaking,
                                    {{{"采购盘点一", "ppd1.vxp"}, {"采购盘点二", "ppd2.vxp"}, {}}},
                                    "库存盘点", "PD", "0000", SetStocktakeExtraItem};

}  // namespace

const std::array<DocTypeInfo, 8>& DocTypes()
{
    return Table;
}

const DocTypeInfo& DocTypeOf(DocType type)
{
    if (type == DocType::Stocktaking)
        return StocktakingRow;
    for (const DocTypeInfo& t : Table)
        if (t.type == type)
            return t;
    return Table.front();  // unreachable: every enumerator has its row
}

std::optional<DocType> DocTypeFor(DocKind kind, bool department)
{
    for (const DocTypeInfo& t : Table)
        if (t.kind == kind && t.department() == department)
            return t.type;
    return std::nullopt;
}

std::optional<DocType> DocTypeOfSetting(int id)
{
    for (const DocTypeInfo& t : Table)
        if (t.nameSetting() == id)
            return t.type;
    return std::nullopt;
}
