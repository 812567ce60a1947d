#include "ReportBooks.h"

#include "core/App.h"
#include "core/Kinds.h"
#include "core/Posting.h"
#include "support/Builders.h"
#include "support/Fixture.h"

void PostMoves(App& app, const QStringList& moves)
{
    Database& db = app.CurrentDatabase;
    const PostingRules rules = PostingRules::of(app);
    if (!db.scalarRow(QStringLiteral("SELECT 1 FROM TA1 WHERE F1 = 'A001'")))
        AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商甲"), UnitKind::Supplier});
    if (!db.scalarRow(QStringLiteral("SELECT 1 FROM TA1 WHERE F1 = 'B001'")))
        AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户乙"), UnitKind::Customer});
    int n = db.scalar(QStringLiteral("SELECT COUNT(*) FROM TB1")).toInt();
    for (QString move : moves) {
        bool audit = true;
        if (move.startsWith(QLatin1Char('-'))) {
            audit = false;
            move = move.mid(1).trimmed();
        }
        const QStringList t = move.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        DocSpec doc;
        doc.number = QStringLiteral("R%1").arg(++n, 4, 10, QLatin1Char('0'));
        doc.date = QDate::fromString(t.value(4), QStringLiteral("yyyy-MM-dd"));
        LineSpec line;
        line.goods = t.value(1);
        line.qty = t.value(2).toDouble();
        line.price = t.value(3).toDouble();
        if (t.value(5).startsWith(QLatin1Char('@')))
            line.attr = t.value(5).mid(1);
        const QChar kind = t.value(0).at(0);
        switch (kind.unicode()) {
        case 'I': doc.kind = DocKind::Inbound; doc.unit = QStringLiteral("A001"); break;
        case 'S': doc.kind = DocKind::SupplierReturn; doc.unit = QStringLiteral("A001"); break;
        case 'O': doc.kind = DocKind::Outbound; doc.unit = QStringLiteral("B001"); break;
        case 'B': doc.kind = DocKind::StockReturn; doc.unit = QStringLiteral("B001"); break;
        case 'T':
            doc.kind = DocKind::Stocktaking;
            line.counted = line.qty;
            line.book = line.price;
            line.qty = 0;
            line.price = 0;
            break;
        default: qFatal("unknown move %s", qPrintable(move));
        }
        doc.lines = {line};
        if (!db.scalarRow(QStringLiteral("SELECT 1 FROM TA4 WHERE F1 = ?"), {line.goods}))
            AddGoods(db, {line.goods, line.goods + QStringLiteral("名称")});
        AddDocument(db, doc);
        if (audit)
            PostDocument(db, rules, doc.number, QStringLiteral("系统管理员"), {});
    }
}

void MayBook(FreshAccountSet& set)
{
    set.loginAs(QStringLiteral("001"));
    set.app().CanSeeCost = -1;
    set.app().CanSeeProfit = -1;
    GoodsSpec g3{QStringLiteral("G3"), QStringLiteral("丙")};
    g3.openingQty = g3.stock = 2;
    g3.openingPrice = g3.cost = 5;
    g3.openingAmount = g3.amount = 10;
    g3.minStock = 5;
    AddGoods(set.db(), g3);
    PostMoves(set.app(), {"I G1 10 2 2024-05-10", "O G1 4 0 2024-05-12", "I G2 5 1 2024-05-13"});
}
