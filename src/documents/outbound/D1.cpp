#include "documents/outbound/D1.h"

#include "documents/outbound/OutboundPolicies.h"

D1::D1(App& app, bool F3isBm, QWidget* parent)
    : StockDocForm(app, F3isBm ? DepartmentIssuePolicy() : SalesDeliveryPolicy(), parent)
{
    setObjectName(QStringLiteral("D1"));
}
