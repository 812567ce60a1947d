#include "documents/stockreturn/D3.h"

#include "documents/stockreturn/StockReturnPolicies.h"

D3::D3(App& app, bool F3isBm, QWidget* parent)
    : StockDocForm(app, F3isBm ? DepartmentReturnPolicy() : CustomerReturnPolicy(), parent)
{
    setObjectName(QStringLiteral("D3"));
}
