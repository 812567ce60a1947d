#include "support/Builders.h"

#include "platform/Database.h"

void AddUnit(Database& db, const UnitSpec& unit)
{
    db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES (?, ?, ?, ?)"),
               {unit.code, unit.name, unit.kind, unit.opening});
}

void AddGoods(Database& db, const GoodsSpec& g)
{
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, F7, F71, F8, Fje, V1, V2, Fcplj) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
               {g.code, g.name, g.category, g.unit, g.cost, g.salePrice, g.stock, g.amount, g.minStock,
                g.maxStock});
}

void AddDocument(Database& db, const DocSpec& doc)
{
    // Into stock: inbound (1) and returns to stock (4); out of stock: 2 and 3.
    const bool inward = doc.kind == 1 || doc.kind == 4;
    double total = 0;
    Transaction tx(db);
    int oid = 0;
    for (const LineSpec& l : doc.lines) {
        ++oid;
        double signedQty;
        if (doc.kind == 7)
            signedQty = l.counted - l.book;
        else
            signedQty = inward ? l.qty : -l.qty;
        const double amount = signedQty * l.price;
        total += amount;
        const double q = std::abs(signedQty);
        const double a = std::abs(amount);
        const bool in = signedQty >= 0;
        db.execute(QStringLiteral(
                       "INSERT INTO TB11 (F0, Oid, F1, HPSX, F5, Z5, F6, F7, F8, V1, SN, LB, SRT, "
                       "R146, R147, R148, C236, C237, C238, R6, R7, R8, C6, C7, C8) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {doc.number, oid, l.goods, l.attr, l.counted, l.book, signedQty, l.price, amount,
                    doc.department ? 0 : -1, doc.kind,
                    in ? q : 0.0, in ? l.price : 0.0, in ? a : 0.0,
                    in ? 0.0 : q, in ? 0.0 : l.price, in ? 0.0 : a,
                    in ? q : 0.0, in ? l.price : 0.0, in ? a : 0.0,
                    in ? 0.0 : q, in ? 0.0 : l.price, in ? 0.0 : a});
    }
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F5, F6, F9, LB, S2, SN, SRT, QC, YF, FK, QM) "
                              "VALUES (?, ?, ?, ?, '', ?, ?, ?, 0, '', 0, 0, 0, 0)"),
               {doc.number, doc.date.toString(QStringLiteral("yyyy-MM-dd")), doc.unit, doc.enteredBy, total,
                doc.kind, doc.typeName});
    tx.commit();
}
