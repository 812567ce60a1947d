#include "documents/common/StockDocPolicy.h"

int StockDocPolicy::columnOf(LineRole role) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].role == role)
            return i;
    return -1;
}

QString StockDocPolicy::settlementText(double paid, int index) const
{
    const QStringList& items = paid != 0 ? paidSettlement : unpaidSettlement;
    return index >= 0 && index < items.size() ? items[index] : QString();
}


void StockDocPolicy::useDepartments()
{
    unitLabel = QStringLiteral("相关部门");
    amountLabel = QStringLiteral("总金额");
    unitPickerCaption = QStringLiteral("部门列表");
    alwaysSettled = true;
}
