#include "documents/common/StockDocPolicy.h"

#include "core/App.h"
#include "documents/common/CostPrice.h"
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

void StockDocPolicy::useSupplierAccount()
{
    texts.unitLabel = QStringLiteral("供货单位");
    texts.amountLabel = QStringLiteral("应付款");
    texts.paidLabel = QStringLiteral("实付款");
    texts.unitCodeHeader = QStringLiteral("供应商编码");
    texts.unitPickerCaption = QStringLiteral("供应商档案");
    balance.negateFor = UnitKind::Customer;
    balance.unpaidSettlement = {QStringLiteral("记入应付账"), QStringLiteral("零付款结算")};
    balance.paidSettlement = {QStringLiteral("余款记入应付账"), QStringLiteral("按实付款结算")};
}

void StockDocPolicy::useCustomerAccount()
{
    texts.unitPickerCaption = QStringLiteral("客户档案");
    balance.negateFor = UnitKind::Supplier;
    balance.negateUnknownUnit = true;
    balance.unpaidSettlement = {QStringLiteral("记入应收账"), QStringLiteral("零付款结算")};
    balance.paidSettlement = {QStringLiteral("余款记入应收账"), QStringLiteral("按实付款结算")};
    balance.paidOnIssue = true;
}

void StockDocPolicy::useCarefulUnaudit()
{
    audit.unauditWarning = QStringLiteral("在特定情况下，撤销审核操作可能会造成%1进出存单价金额方面出现误差！");
    audit.unauditQuestion = QStringLiteral("请仔细确认，真的要继续吗？");
    audit.unauditWarnsTwice = false;
    audit.unauditDoneMessage = false;
}

void StockDocPolicy::useCostPrices()
{
    storage.columns[columnOf(LineRole::Price)].header = QStringLiteral("成本单价");
    pricing.priceRight = PriceRight::Cost;
    pricing.pricesEditable = false;
    pricing.proposePrice = [](const App& app, const QString& goods, const QString&, const QDate& date) {
        return ProposedCostPrice(app, goods, date);
    };
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
