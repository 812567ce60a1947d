#include "documents/common/StockDocPolicy.h"

#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"

int StockDocStorage::columnOf(LineRole role) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].role == role)
            return i;
    return -1;
}

QString BalanceRule::settlementText(double paid, int index) const
{
    const QStringList& items = paid != 0 ? paidSettlement : unpaidSettlement;
    return index >= 0 && index < items.size() ? items[index] : QString();
}

void StockDocPolicy::useDepartments()
{
    texts.unitLabel = QStringLiteral("相关部门");
    texts.amountLabel = QStringLiteral("总金额");
    texts.unitPickerCaption = QStringLiteral("部门列表");
    balance.alwaysSettled = true;
    balance.settlementOffered = false;
}

QString RefuseWhileStocktaking(const Database& db)
{
    return StocktakingPending(db) ? QStringLiteral("系统内发现未审核的盘点单，在盘点期间，请不要做任何入库出库操作！")
                                  : QString();
}

QString RefuseUnauditWhileStocktaking(const Database& db)
{
    return StocktakingPending(db) ? QStringLiteral("系统内发现未审核的盘点单，在盘点期间，请不要做任何撤销审核操作！")
                                  : QString();
}

double ProposeCostPrice(const App& app, const QString& goods, const QString&, const QDate&)
{
    return GoodsPrice(app.CurrentDatabase, goods, "F7");
}

double ProposeReferenceOrCost(const App& app, const QString& goods, const QString&, const QDate&)
{
    return GoodsPrice(app.CurrentDatabase, goods, app.InboundRefPrice == 1 ? "RkF7" : "F7");
}
