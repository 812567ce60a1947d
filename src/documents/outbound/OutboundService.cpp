#include "documents/outbound/OutboundService.h"

#include "basicdata/Quotations.h"
#include "core/App.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"


double ProposedSalePrice(const App& app, const QString& goods, const QString& customer)
{
    const Database& db = app.CurrentDatabase;
    if (app.OfferCustomerPrice == 1 && !customer.trimmed().isEmpty()) {
        const std::optional<QVariant> quoted = db.scalarRow(
            QStringLiteral("SELECT F7 FROM KhPrice WHERE F0 = ? AND F1 = ? LIMIT 1"), {customer.trimmed(), goods});
        if (quoted && !quoted->isNull())
            return quoted->toDouble();
    }
    return GoodsPrice(db, goods, "F71");
}

void KeepLastSalePrices(App& app, const StockDoc& doc)
{
    if (app.OfferCustomerPrice != 1)
        return;
    for (const StockDocLine& l : doc.lines)
        if (l.price != 0)
            KeepLastPrice(app.CurrentDatabase, doc.head.unitCode, l.goods, l.price);
}

void RevalueIssueAtCost(Database& db, const QString& amountFormat, const QString& number)
{
    db.execute(QStringLiteral("UPDATE TB11 SET F8 = -ifnull(C8, 0), C238 = ifnull(C8, 0) WHERE F0 = ?"),
               {number});
    RetotalCostedDocument(db, amountFormat, number);
}
