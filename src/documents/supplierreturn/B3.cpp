#include "documents/supplierreturn/B3.h"

#include "documents/supplierreturn/SupplierReturnPolicies.h"

B3::B3(App& app, bool F3isBm, QWidget* parent)
    : StockDocForm(app, F3isBm ? ReworkReturnPolicy() : PurchaseReturnPolicy(), parent)
{
    setObjectName(QStringLiteral("B3"));
}
