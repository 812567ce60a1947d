#include "documents/common/CostPrice.h"

#include "core/App.h"
#include "core/Posting.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"

double CostPriceAtDate(const Database& db, const QString& goods, const QDate& date)
{
    if (!date.isValid())
        return 0;
    // The key begins with the document's date: every key below the next day's prefix is dated
    // on or before the date, and the highest of them is the last line posted up to it.
    const RecordSet rs = db.query(
        QStringLiteral("SELECT C6, C7, K7 FROM TB11 WHERE F1 = ? AND SRT > '' AND SRT < ? AND SH <> '' "
                       "ORDER BY SRT DESC, rowid DESC LIMIT 1"),
        {goods, PostingKeyPrefix(date.addDays(1))});
    if (rs.isEmpty())
        return 0;
    return rs.number(0, 0) != 0 ? rs.number(0, 1) : rs.number(0, 2);
}

double ProposedCostPrice(const App& app, const QString& goods, const QDate& date)
{
    const Database& db = app.CurrentDatabase;
    const double cost = CostPriceAtDate(db, goods, date.isValid() ? date : QDate::currentDate());
    if (cost != 0)
        return cost;
    return GoodsPrice(db, goods, "F7");
}
