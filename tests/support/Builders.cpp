#include "support/Builders.h"

#include "platform/Database.h"

void AddUnit(Database& db, const UnitSpec& unit)
{
    db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES (?, ?, ?, ?)"),
               {unit.code, unit.name, code(unit.kind), unit.opening});
}

void AddGoods(Database& db, const GoodsSpec& g)
{
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, F7, F71, F8, Fje, V1, V2, V3, V4, V5, Fcplj) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {g.code, g.name, g.category, g.unit, g.cost, g.salePrice, g.stock, g.amount, g.minStock,
                g.maxStock, g.openingQty, g.openingPrice, g.openingAmount, code(g.goodsClass)});
}

void AddBomPart(Database& db, const QString& product, const QString& part, double usage)
{
    db.execute(QStringLiteral("INSERT INTO Bom (F0, F1, F6, F8) VALUES (?, ?, ?, '')"), {product, part, usage});
}

namespace {

// The columns a save writes for one line; everything else keeps its default.
struct SavedLine {
    double f5 = 0, z5 = 0, f6 = 0, f7 = 0, f8 = 0;
    double r6 = 0, r7 = 0, r8 = 0, c6 = 0;
    double r146 = 0, r147 = 0, r148 = 0, c236 = 0, c237 = 0, c238 = 0;
};

SavedLine savedLine(DocKind kind, const LineSpec& l)
{
    SavedLine s;
    s.f7 = l.price;
    const double q = l.qty;
    const double a = l.qty * l.price;
    auto inflow = [&](double qty, double amount) {
        s.r146 = qty;
        s.r147 = l.price;
        s.r148 = amount;
    };
    auto outflow = [&](double qty, double amount) {
        s.c236 = qty;
        s.c237 = l.price;
        s.c238 = amount;
    };
    switch (kind) {
    case DocKind::Inbound:  // receipt
        s.f6 = q;
        s.f8 = a;
        s.r6 = s.f6;
        s.r7 = l.price;
        s.r8 = s.f8;
        inflow(q, a);
        break;
    case DocKind::SupplierReturn:  // return to supplier: the in side, negative
        s.f6 = -q;
        s.f8 = -a;
        s.r6 = s.f6;
        s.r7 = l.price;
        s.r8 = s.f8;
        outflow(q, a);
        break;
    case DocKind::Outbound:  // issue: the out side, positive
        s.f6 = -q;
        s.f8 = -a;
        s.c6 = q;
        outflow(q, a);
        break;
    case DocKind::StockReturn:  // return to stock: the out side, negative
        s.f6 = q;
        s.f8 = a;
        s.c6 = -q;
        inflow(q, a);
        break;
    case DocKind::Stocktaking: {  // stocktaking: counted minus book
        s.f5 = l.counted;
        s.z5 = l.book;
        s.f6 = l.counted - l.book;
        s.f8 = s.f6 * l.price;
        if (s.f6 > 0) {
            s.r6 = s.f6;
            inflow(s.f6, s.f8);
        } else {
            s.c6 = -s.f6;
            outflow(-s.f6, -s.f8);
        }
        break;
    }
    default:
        break;
    }
    return s;
}

}  // namespace

void AddDocument(Database& db, const DocSpec& doc)
{
    const int v1 = (doc.department || doc.kind == DocKind::Stocktaking) ? 0 : -1;
    double total = 0;
    Transaction tx(db);
    int oid = 0;
    for (const LineSpec& l : doc.lines) {
        ++oid;
        const SavedLine s = savedLine(doc.kind, l);
        total += s.f8;
        db.execute(QStringLiteral(
                       "INSERT INTO TB11 (F0, Oid, F1, HPSX, F5, Z5, F6, F7, F8, YJ, ZK, V1, SN, LB, SRT, SH, "
                       "R146, R147, R148, C236, C237, C238, R6, R7, R8, C6) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, 0, ?, '', '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {doc.number, oid, l.goods, l.attr, s.f5, s.z5, s.f6, s.f7, s.f8, l.price, v1, code(doc.kind),
                    s.r146, s.r147, s.r148, s.c236, s.c237, s.c238, s.r6, s.r7, s.r8, s.c6});
    }
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F5, F6, F9, K9, K, LB, S2, SN, SRT, QC, YF, FK, QM, V1) "
                              "VALUES (?, ?, ?, ?, '', ?, ?, ?, ?, ?, 0, '', 0, 0, 0, 0, ?)"),
               {doc.number, doc.date.toString(QStringLiteral("yyyy-MM-dd")),
                doc.kind == DocKind::Stocktaking ? QStringLiteral("0000") : doc.unit, doc.enteredBy, total, doc.paid,
                doc.settlement, code(doc.kind), doc.kind == DocKind::Stocktaking ? QStringLiteral("库存盘点") : doc.typeName,
                doc.kind == DocKind::Outbound ? v1 : 0});
    tx.commit();
}
