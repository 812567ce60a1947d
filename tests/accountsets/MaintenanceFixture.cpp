#include "MaintenanceFixture.h"

#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Builders.h"

#include <cmath>

namespace {

QString fig(const QVariant& v)
{
    return v.isNull() ? QStringLiteral("null") : QString::number(v.toDouble(), 'g', 12);
}

QString rows(const Database& db, const QString& sql)
{
    const RecordSet rs = db.query(sql);
    QString out;
    for (int r = 0; r < rs.rowCount(); ++r) {
        for (int c = 0; c < rs.columnCount(); ++c) {
            const QVariant v = rs.value(r, c);
            out += (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong) ? fig(v) : v.toString();
            out += QLatin1Char('|');
        }
        out += QLatin1Char('\n');
    }
    return out;
}

void post(Database& db, const PostingRules& rules, const DocSpec& doc, double yf)
{
    AddDocument(db, doc);
    PostDocument(db, rules, doc.number, QStringLiteral("系统管理员"), {yf, 0});
}

}  // namespace

void BuildPostedBook(Database& db, bool attributeOn)
{
    PostingRules rules;
    rules.attributeOn = attributeOn;
    AddGoods(db, {.code = QStringLiteral("G1"), .name = QStringLiteral("螺丝"), .cost = 10, .stock = 5, .amount = 50,
                  .openingQty = 5, .openingPrice = 10, .openingAmount = 50});
    AddGoods(db, {.code = QStringLiteral("G2"), .name = QStringLiteral("螺母")});
    AddGoods(db, {.code = QStringLiteral("G3"), .name = QStringLiteral("垫片"), .cost = 3, .stock = 7, .amount = 21,
                  .openingQty = 7, .openingPrice = 3, .openingAmount = 21});
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商甲"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户乙"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("车间"), UnitKind::Department, 0});

    const auto doc = [](const char* number, QDate date, const char* unit, DocKind kind, bool department,
                        QVector<LineSpec> lines) {
        DocSpec d;
        d.number = QString::fromLatin1(number);
        d.date = date;
        d.unit = QString::fromLatin1(unit);
        d.kind = kind;
        d.department = department;
        d.lines = lines;
        return d;
    };
    const QString g1 = QStringLiteral("G1"), g2 = QStringLiteral("G2");
    // Without an attribute the lines carry no value, and the stocktaking's
    // book quantity is the goods' whole stock, opening quantity included.
    const QString a = attributeOn ? QStringLiteral("A") : QString();
    const QString b = attributeOn ? QStringLiteral("B") : QString();
    const QString x = attributeOn ? QStringLiteral("X") : QString();
    const double book = attributeOn ? 7 : 15;
    post(db, rules, doc("RK01", QDate(2024, 1, 5), "A001", DocKind::Inbound, false,
                        {{g1, 10, 12, a}, {g2, 20, 5, x}}), 220);
    post(db, rules, doc("CK01", QDate(2024, 1, 10), "B001", DocKind::Outbound, false, {{g1, 4, 20, a}}), 80);
    post(db, rules, doc("LY01", QDate(2024, 1, 12), "P001", DocKind::Outbound, true, {{g2, 5, 0, x}}), 0);
    post(db, rules, doc("TK01", QDate(2024, 1, 15), "B001", DocKind::StockReturn, false, {{g1, 1, 20, a}}), -20);
    post(db, rules, doc("TH01", QDate(2024, 1, 16), "A001", DocKind::SupplierReturn, false, {{g2, 2, 5, x}}), -10);
    DocSpec count = doc("PD01", QDate(2024, 1, 20), "0000", DocKind::Stocktaking, false, {});
    count.lines = {{g1, 0, 0, a, 8, book}};
    post(db, rules, count, 0);
    post(db, rules, doc("RK02", QDate(2024, 1, 8), "A001", DocKind::Inbound, false, {{g1, 3, 15, b}}), 45);
    AddDocument(db, doc("RK03", QDate(2024, 1, 25), "A001", DocKind::Inbound, false, {{g1, 2, 10, a}}));
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F5, F6, LB, S2, SRT, YF, FK) "
                              "VALUES ('FK01', '2024-01-30', 'A001', '系统管理员', '系统管理员', ?, '付款', "
                              "'S202401300001', 0, 30)"),
               {code(DocKind::Payment)});
    RepostUnitBalance(db, QStringLiteral("S202401300001"), QStringLiteral("A001"));
}

QString PostedFigures(const Database& db)
{
    return rows(db, QStringLiteral("SELECT SRT, F1, HPSX, F5, Z5, F6, F7, F8, R6, R7, R8, C6, C7, C8, S6, S7, S8, K6, K7, "
                                   "K8, XS6, XK6 FROM TB11 ORDER BY SRT, rowid")) +
           rows(db, QStringLiteral("SELECT F1, F7, F8, Fje, V3, V4, V5 FROM TA4 ORDER BY F1")) +
           rows(db, QStringLiteral("SELECT F1, F3, F9, QC, YF, FK, QM FROM TB1 ORDER BY SRT, F1")) +
           rows(db, QStringLiteral("SELECT F1, NK FROM TA1 ORDER BY F1"));
}

QString TableSnapshot(const Database& db, const QStringList& tables)
{
    QString out;
    for (const QString& t : tables)
        out += t + QLatin1Char('\n') + rows(db, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(t));
    return out;
}

QString BrokenInvariants(const Database& db)
{
    QString broken;
    const RecordSet goods = db.query(QStringLiteral(
        "SELECT F1, F8, coalesce(V3, 0) + coalesce((SELECT sum(F6) FROM TB11 WHERE TB11.F1 = TA4.F1 AND SRT <> ''), 0), "
        "(SELECT K6 FROM TB11 WHERE TB11.F1 = TA4.F1 AND SRT <> '' ORDER BY SRT DESC, rowid DESC LIMIT 1) FROM TA4"));
    for (int r = 0; r < goods.rowCount(); ++r) {
        const double f8 = goods.value(r, 1).toDouble();
        const double sum = goods.value(r, 2).toDouble();
        if (std::fabs(f8 - sum) > 1e-9)
            broken += QStringLiteral("%1: F8 %2, opening + posted %3\n").arg(goods.text(r, 0)).arg(f8).arg(sum);
        if (!goods.value(r, 3).isNull() && std::fabs(f8 - goods.value(r, 3).toDouble()) > 1e-9)
            broken += QStringLiteral("%1: F8 %2, last K6 %3\n").arg(goods.text(r, 0)).arg(f8).arg(goods.value(r, 3).toDouble());
    }
    const RecordSet units = db.query(QStringLiteral("SELECT F1, coalesce(NK, 0) FROM TA1"));
    for (int u = 0; u < units.rowCount(); ++u) {
        double balance = units.value(u, 1).toDouble();
        const RecordSet chain = db.query(QStringLiteral("SELECT F1, QC, YF, FK, QM FROM TB1 WHERE F3 = ? AND SRT <> '' "
                                                        "ORDER BY SRT, rowid"),
                                         {units.text(u, 0)});
        for (int r = 0; r < chain.rowCount(); ++r) {
            const double qc = chain.value(r, 1).toDouble();
            const double qm = chain.value(r, 4).toDouble();
            const double expected = balance + chain.value(r, 2).toDouble() - chain.value(r, 3).toDouble();
            if (std::fabs(qc - balance) > 1e-9 || std::fabs(qm - expected) > 1e-9)
                broken += QStringLiteral("%1 %2: QC %3 QM %4, chain gives %5 and %6\n")
                              .arg(units.text(u, 0), chain.text(r, 0))
                              .arg(qc)
                              .arg(qm)
                              .arg(balance)
                              .arg(expected);
            balance = expected;
        }
    }
    return broken;
}
