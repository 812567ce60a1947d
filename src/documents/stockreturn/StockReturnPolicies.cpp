#include "documents/stockreturn/StockReturnPolicies.h"

#include "core/App.h"
#include "core/Rounding.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"

#include <cmath>

namespace {

StockDocPolicy stockReturnPolicy()
{
    StockDocPolicy p;
    p.texts.numberLabel = QStringLiteral("退库单号");
    p.texts.dateLabel = QStringLiteral("退库日期");
    p.texts.unitLabel = QStringLiteral("退货单位");
    p.texts.amountLabel = QStringLiteral("应付款");
    p.texts.paidLabel = QStringLiteral("实付款");
    p.texts.unitCodeHeader = QStringLiteral("退库单位编码");
    p.texts.unitListHeader = QStringLiteral("退库单位");
    p.texts.lineNoun = QStringLiteral("退库");
    p.texts.importCaption = QStringLiteral("从Excel文件中读取退库单明细");
    p.storage.columns = {{LineRole::Code, {}},
                         {LineRole::Name, {}},
                         {LineRole::Attribute, {}},
                         {LineRole::Quantity, QStringLiteral("退货数量")},
                         {LineRole::Price, QStringLiteral("核算单价")},
                         {LineRole::Amount, QStringLiteral("小计金额")},
                         {LineRole::Remark, QStringLiteral("备注")},
                         {LineRole::Proposed, {}}};
    // The amounts are stored negative: a customer's (or department's) balance falls by the return.
    p.useCustomerAccount();
    p.audit.confirmation = AuditConfirmation::YesNo;
    p.audit.auditQuestion = QStringLiteral("审核后单据将不可修改！\r\r真的要继续吗？");
    p.audit.outPrice = OutPriceRule::LastOutLine;
    p.useCarefulUnaudit();
    // The lines keep the name of the auditor whose audit was taken back.
    p.audit.unauditKeepsLineAuditor = true;
    // The header amount follows the lines as the posting left them.
    p.audit.afterAudit = [](App& app, const StockDoc& doc) {
        RestateAmountFromLines(app.CurrentDatabase, app.AmountFormat, doc.head.number,
                               DocTypeOf(DocType::CustomerReturn).headerSign);
    };
    p.pricing.priceRight = PriceRight::Profit;
    p.print.plans = {{QStringLiteral("&1.货品退库单(方案一)")}, {QStringLiteral("&2.货品退库单(方案二)")}};
    return p;
}

}  // namespace

void RestateAmountFromLines(Database& db, const QString& amountFormat, const QString& number, int headerSign)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F8 FROM TB11 WHERE F0 = ?"), {number});
    double total = 0;
    for (int r = 0; r < rs.rowCount(); ++r)
        total += RoundToPattern(std::abs(rs.number(r, 0)), amountFormat);
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = ? WHERE F1 = ?"),
               {headerSign * RoundToPattern(total, amountFormat), number});
}

StockDocPolicy CustomerReturnPolicy()
{
    StockDocPolicy p = stockReturnPolicy();
    p.type = DocType::CustomerReturn;
    p.pricing.proposePrice = [](const App& app, const QString& goods, const QString&, const QDate&) {
        return GoodsPrice(app.CurrentDatabase, goods, "F71");
    };
    return p;
}

StockDocPolicy DepartmentReturnPolicy()
{
    StockDocPolicy p = stockReturnPolicy();
    p.type = DocType::DepartmentReturn;
    p.useDepartments();
    // A department return comes back at cost.
    p.useCostPrices();
    return p;
}
