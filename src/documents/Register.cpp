#include "documents/Register.h"

#include "core/Permissions.h"
#include "core/WindowRegistry.h"
#include "documents/inbound/B1.h"
#include "documents/outbound/D1.h"
#include "documents/stockreturn/D3.h"
#include "documents/stocktaking/C2.h"
#include "documents/supplierreturn/B3.h"
#include "widgets/NoRightsRefusal.h"

void RegisterDocumentWindows(WindowRegistry& reg)
{
    reg.modeless<PurchaseReceiptWindow>(QStringLiteral("Menu_BB0"), OperatorRight(RightInbound, RightGroupOn));
    reg.modeless<ProductionReceiptWindow>(QStringLiteral("Menu_BB3"), OperatorRight(RightInbound, RightGroupOn));
    reg.modeless<PurchaseReturnWindow>(QStringLiteral("Menu_BB1"), OperatorRight(RightInbound, RightGroupOn));
    reg.modeless<ReworkReturnWindow>(QStringLiteral("Menu_BB4"), OperatorRight(RightInbound, RightGroupOn));
    reg.modeless<DepartmentIssueWindow>(QStringLiteral("Menu_DD0"), OperatorRight(RightOutbound, RightGroupOn));
    reg.modeless<SalesDeliveryWindow>(QStringLiteral("Menu_DD3"), OperatorRight(RightOutbound, RightGroupOn));
    reg.modeless<DepartmentReturnWindow>(QStringLiteral("Menu_DD1"), OperatorRight(RightOutbound, RightGroupOn));
    reg.modeless<CustomerReturnWindow>(QStringLiteral("Menu_DD4"), OperatorRight(RightOutbound, RightGroupOn));
    reg.modeless<C2>(QStringLiteral("Menu_C2"), OperatorRight(RightStocktaking, RightGroupOn));
}
