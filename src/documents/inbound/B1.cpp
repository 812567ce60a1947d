#include "documents/inbound/B1.h"

#include "documents/inbound/ReceiptPolicies.h"

B1::B1(App& app, bool F3isBm, QWidget* parent)
    : StockDocForm(app, F3isBm ? ProductionReceiptPolicy() : PurchaseReceiptPolicy(), parent)
{
    setObjectName(QStringLiteral("B1"));
}
