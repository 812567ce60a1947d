#include "MaintenanceFixture.h"

#include "core/Kinds.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "support/PostingReference.h"
#include "support/Builders.h"

#include <QDate>
#include <QRandomGenerator>
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
    PostDocument(db, rules, doc.number, QStringLiteral("系统管理员"), {yf, 0}, StoredKindRule(db, doc.number));
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

void BuildRandomBook(Database& db, quint32 seed, int lines, int goods, bool attributeOn)
{
    QRandomGenerator rng(seed);
    Transaction tx(db);
    auto maybeNull = [&](double v) { return rng.bounded(8) == 0 ? QVariant() : QVariant(v); };
    auto cents = [](double v) { return std::round(v * 100) / 100; };
    // G1 .. Gn have records; the last code has lines only; one more record has no lines.
    for (int g = 1; g <= goods; ++g) {
        const double qty = rng.bounded(2) ? double(rng.bounded(30)) : 0.0;
        const double price = cents(1 + rng.bounded(2000) / 100.0);
        db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, V3, V4, V5, F7, F8, Fje) "
                                  "VALUES (?, '货品', '000', '个', ?, ?, ?, 1, 2, 3)"),
                   {QStringLiteral("G%1").arg(g), qty, price, maybeNull(cents(qty * price))});
    }
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, V3, V4, V5) VALUES ('EMPTY', '无明细', '000', '个', 4, 2, 8)"));
    const QVariant batches[] = {QStringLiteral(""), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"),
                                QVariant()};
    const DocKind kinds[] = {DocKind::Inbound,  DocKind::Inbound,     DocKind::Inbound,  DocKind::SupplierReturn,
                             DocKind::Outbound, DocKind::Outbound,    DocKind::StockReturn, DocKind::Stocktaking};
    const int perDoc = 5;
    QDate date(2024, 3, 1);
    int serial = 0;
    for (int d = 0, written = 0; written < lines; ++d) {
        if (rng.bounded(3) == 0) {
            date = date.addDays(1);
            serial = 0;
        }
        QString key = QStringLiteral("S%1%2").arg(date.toString(QStringLiteral("yyyyMMdd"))).arg(++serial, 4, 10,
                                                                                                 QLatin1Char('0'));
        // Now and then a document dated back under a few days' earlier key, at
        // times one already taken and at times in lower case: the lines are not
        // stored in key order.
        if (d > 20 && rng.bounded(8) == 0)
            key = QStringLiteral("%1%2%3")
                      .arg(rng.bounded(2) ? QStringLiteral("S") : QStringLiteral("s"))
                      .arg(date.addDays(-1 - int(rng.bounded(5))).toString(QStringLiteral("yyyyMMdd")))
                      .arg(1 + int(rng.bounded(3)), 4, 10, QLatin1Char('0'));
        const DocKind kind = kinds[rng.bounded(8)];
        const bool receipt = kind == DocKind::Inbound || kind == DocKind::SupplierReturn;
        const bool issue = kind == DocKind::Outbound || kind == DocKind::StockReturn;
        const bool counting = kind == DocKind::Stocktaking;
        const bool department = issue && rng.bounded(2) == 0;
        const QString number = QStringLiteral("D%1").arg(d, 5, 10, QLatin1Char('0'));
        db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F6, LB, SRT, YF, FK, QC, QM, V1) "
                                  "VALUES (?, ?, ?, '系统管理员', ?, ?, ?, ?, 7, 7, ?)"),
                   {number, date.toString(QStringLiteral("yyyy-MM-dd")),
                    counting ? QStringLiteral("0000") : (receipt ? QStringLiteral("A001") : QStringLiteral("B001")),
                    code(kind), key, double(rng.bounded(100)), double(rng.bounded(50)), department ? 0 : -1});
        for (int oid = 1; oid <= perDoc && written < lines; ++oid, ++written) {
            const int g = 1 + int(rng.bounded(goods + 1));  // goods + 1: lines without a goods record
            QString goodsCode = g > goods ? QStringLiteral("ORPHAN") : QStringLiteral("G%1").arg(g);
            if (rng.bounded(6) == 0)
                goodsCode = goodsCode.toLower();
            const QVariant batch = attributeOn ? batches[rng.bounded(5)] : QVariant(QString(""));
            const double q = 1 + rng.bounded(15);
            const double price = cents(1 + rng.bounded(3000) / 100.0);
            const double sign = (kind == DocKind::SupplierReturn || kind == DocKind::Outbound) ? -1 : 1;
            double f6 = sign * q;
            QVariant f5 = 0.0, z5 = 0.0;
            if (counting) {
                const double counted = double(rng.bounded(25));
                f5 = rng.bounded(4) == 0 ? -counted : counted;
                z5 = double(rng.bounded(25));
                f6 = counted - z5.toDouble();
            }
            const double f8 = counting ? 0.0 : cents(f6 * price);
            // Side quantities as a save writes them, now and then of the wrong sign.
            const bool wrong = rng.bounded(10) == 0;
            const double r6 = receipt ? (wrong ? -f6 : f6) : (counting && f6 > 0 ? f6 : 0.0);
            const double c6 = issue ? (wrong ? f6 : -f6) : (counting && f6 < 0 ? -f6 : 0.0);
            const QString srt = rng.bounded(25) == 0 ? QString(QStringLiteral("")) : key + QStringLiteral("%1").arg(oid, 3, 10, QLatin1Char('0'));
            db.execute(QStringLiteral("INSERT INTO TB11 (F0, Oid, F1, HPSX, F5, Z5, F6, F7, F8, V1, LB, SRT, R6, R7, R8, "
                                      "C6, C7, C8, S6, S7, S8, K6, K7, K8, XS6, XK6) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {number, oid, goodsCode, batch, f5, z5, f6, price, f8, department || counting ? 0 : -1, code(kind), srt,
                        r6, price, maybeNull(receipt ? f8 : 0.0), c6, maybeNull(3.0), maybeNull(1.0),
                        maybeNull(1.0), 2.0, maybeNull(3.0), 4.0, maybeNull(5.0), 6.0, maybeNull(0.0), maybeNull(1.0)});
        }
    }
    tx.commit();
}

QString ExactSnapshot(const Database& db, const QStringList& tables)
{
    QString out;
    for (const QString& t : tables) {
        const RecordSet rs = db.query(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(t));
        out += t + QLatin1Char('\n');
        for (int r = 0; r < rs.rowCount(); ++r) {
            for (int c = 0; c < rs.columnCount(); ++c) {
                const QVariant v = rs.value(r, c);
                out += rs.columnNames().at(c) + QLatin1Char('=');
                out += v.isNull() ? QStringLiteral("null")
                       : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                                                        : QString::fromLatin1(v.typeName()) + QLatin1Char(':') + v.toString();
                out += QLatin1Char('|');
            }
            out += QLatin1Char('\n');
        }
    }
    return out;
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
