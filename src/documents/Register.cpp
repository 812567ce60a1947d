#include "documents/Register.h"

#include "core/Permissions.h"
#include "core/WindowRegistry.h"
#include "documents/inbound/B1.h"
#include "widgets/NoRightsRefusal.h"

void RegisterDocumentWindows(WindowRegistry& reg)
{
    reg.modeless<PurchaseReceiptWindow>(QStringLiteral("Menu_BB0"), OperatorRight(RightInbound, RightGroupOn));
    reg.modeless<ProductionReceiptWindow>(QStringLiteral("Menu_BB3"), OperatorRight(RightInbound, RightGroupOn));
}
