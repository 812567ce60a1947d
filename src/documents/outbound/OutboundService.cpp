#include "documents/outbound/OutboundService.h"

#include "basicdata/Quotations.h"
#include "core/App.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "platform/Database.h"

#include <QMap>


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

std::optional<DocumentShortage> CheckDocumentStock(const App& app, const StockDoc& doc)
{
    if (app.NoOverIssue == 0)
        return std::nullopt;
    // Lines of one goods and attribute value, in the order of their first line.
    QMap<QPair<QString, QString>, int> firstLine;
    QVector<DocumentShortage> groups;
    for (int i = 0; i < doc.lines.size(); ++i) {
        const StockDocLine& l = doc.lines[i];
        const QPair<QString, QString> key = StockKey(app, l.goods, l.attr);
        auto it = firstLine.find(key);
        if (it == firstLine.end()) {
            it = firstLine.insert(key, groups.size());
            groups.append({i + 1, l.goods.trimmed(), key.second, 0, 0});
        }
        groups[*it].needed += l.qty;
    }
    for (DocumentShortage& g : groups) {
        QString attr = g.attr;
        const std::optional<StockShortage> s = CheckStockOnDate(app, g.goods, g.needed, doc.head.date, attr);
        if (s) {
            g.stock = s->stock;
            return g;
        }
    }
    return std::nullopt;
}

QString DocumentStockRefusal(App& app, const StockDoc& doc)
{
    const std::optional<DocumentShortage> s = CheckDocumentStock(app, doc);
    if (!s)
        return {};
    return StockShortageText(app, StockShortage{s->goods, doc.head.date, s->stock}) + QStringLiteral("\r\r") +
           QStringLiteral("在单据[%1]中，第 %2 行[%3]存量不足，不能出库!").arg(doc.head.number).arg(s->line).arg(s->goods);
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
    // The total of the amounts as the line grid shows them, each in the amount pattern.
    const RecordSet rs = db.query(QStringLiteral("SELECT C8 FROM TB11 WHERE F0 = ?"), {number});
    double total = 0;
    for (int r = 0; r < rs.rowCount(); ++r)
        total += RoundToPattern(rs.number(r, 0), amountFormat);
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = ? WHERE F1 = ?"),
               {RoundToPattern(total, amountFormat), number});
}
