#include "BookGenerator.h"

#include "core/Kinds.h"
#include "core/Posting.h"
#include "platform/Database.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <cmath>

QString BookGoodsCode(int i)
{
    return QStringLiteral("G%1").arg(i + 1, 5, 10, QLatin1Char('0'));
}

QString BookAttributeValue(int i)
{
    return QStringLiteral("B%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

namespace {

double cents(double x)
{
    return std::round(x * 100) / 100;
}

struct Kind {
    DocKind lb;
    bool department;
    const char* unit;
};

// The mix of a warehouse's documents: mostly receipts and issues.
const Kind& drawKind(QRandomGenerator& rng)
{
    static const Kind kinds[] = {{DocKind::Inbound, false, "A001"},        {DocKind::Outbound, false, "B001"},
                                 {DocKind::Outbound, true, "P001"},        {DocKind::SupplierReturn, false, "A001"},
                                 {DocKind::StockReturn, false, "B001"},    {DocKind::StockReturn, true, "P001"},
                                 {DocKind::Stocktaking, false, "0000"}};
    static const int weights[] = {45, 25, 12, 5, 4, 3, 6};
    int pick = int(rng.bounded(100));
    for (int i = 0; i < 7; ++i) {
        if (pick < weights[i])
            return kinds[i];
        pick -= weights[i];
    }
    return kinds[0];
}

}  // namespace

BookInfo GenerateBook(const QString& templatePath, const QString& path, const BookSpec& spec, bool walk)
{
    QFile::remove(path);
    if (!QFile::copy(templatePath, path))
        throw DbError(-1, QStringLiteral("无法复制模板：%1").arg(templatePath));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    Database db;
    db.open(path);
    db.setCacheSizeKiB(WalkCacheKiB);
    QRandomGenerator rng(spec.seed);
    BookInfo info;
    {
        Transaction tx(db);
        db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES ('A001', '默认供应商', ?, 1000), "
                                  "('B001', '默认客户', ?, 500), ('P001', '部门一', ?, 0)"),
                   {code(UnitKind::Supplier), code(UnitKind::Customer), code(UnitKind::Department)});
        {
            Statement goods(db, QStringLiteral("INSERT INTO TA4 (F1, F2, F3, F4, V3, V4, V5, F11, Fcplj) "
                                               "VALUES (?, ?, '000', '个', ?, ?, ?, '0', 0)"));
            for (int g = 0; g < spec.goods; ++g) {
                const double qty = rng.bounded(50);
                const double price = cents(1 + rng.bounded(10000) / 100.0);
                goods.bindAll({BookGoodsCode(g), QStringLiteral("货品%1").arg(g + 1), qty, price, cents(qty * price)});
                goods.exec();
            }
        }

        Statement header(db, QStringLiteral(
            "INSERT INTO TB1 (F1, F2, F3, F5, F6, F9, LB, S2, SN, SRT, H8, YF, FK, V1) "
            "VALUES (?, ?, ?, '系统管理员', '系统管理员', ?, ?, ?, 0, ?, ?, ?, 0, ?)"));
        Statement line(db, QStringLiteral(
            "INSERT INTO TB11 (F0, Oid, F1, HPSX, F5, Z5, F6, F7, F8, YJ, ZK, V1, SN, LB, SRT, SH, "
            "R146, R147, R148, C236, C237, C238, R6, R7, R8, C6) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, 0, ?, ?, '系统管理员', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const int documents = (spec.lines + spec.linesPerDocument - 1) / spec.linesPerDocument;
        int serial = 0;
        QDate lastDate;
        for (int d = 0; d < documents; ++d) {
            const QDate date = spec.firstDate.addDays(qint64(d) * spec.days / documents);
            serial = date == lastDate ? serial + 1 : 1;
            lastDate = date;
            const QString key = PostingKeyPrefix(date) + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
            const QString number = QStringLiteral("GB%1").arg(d + 1, 7, 10, QLatin1Char('0'));
            const Kind& kind = drawKind(rng);
            const int v1 = (kind.department || kind.lb == DocKind::Stocktaking) ? 0 : -1;
            const int count = std::min(spec.linesPerDocument, spec.lines - info.lines);
            double total = 0;
            for (int i = 1; i <= count; ++i) {
                const QString goods = BookGoodsCode(int(rng.bounded(spec.goods)));
                const QString attr = BookAttributeValue(int(rng.bounded(spec.attributeValues)));
                const double q = 1 + rng.bounded(20);
                const double price = cents(1 + rng.bounded(10000) / 100.0);
                double f5 = 0, z5 = 0, f6 = 0, r6 = 0, r8 = 0, c6 = 0;
                double inQ = 0, inA = 0, outQ = 0, outA = 0;
                switch (kind.lb) {
                case DocKind::Inbound: f6 = q; r6 = q; r8 = cents(q * price); inQ = q; inA = r8; break;
                case DocKind::SupplierReturn: f6 = -q; r6 = -q; r8 = -cents(q * price); outQ = q; outA = -r8; break;
                case DocKind::Outbound: f6 = -q; c6 = q; outQ = q; outA = cents(q * price); break;
                case DocKind::StockReturn: f6 = q; c6 = -q; inQ = q; inA = cents(q * price); break;
                default:
                    f5 = rng.bounded(40);
                    z5 = rng.bounded(40);
                    f6 = f5 - z5;
                    if (f6 > 0) {
                        r6 = f6;
                        inQ = f6;
                    } else {
                        c6 = -f6;
                        outQ = -f6;
                    }
                    break;
                }
                const double f8 = kind.lb == DocKind::Stocktaking ? 0 : (f6 > 0 ? 1 : -1) * cents(q * price);
                total += f8;
                line.bindAll({number, i, goods, attr, f5, z5, f6, price, f8, price, v1, code(kind.lb),
                              LineKey(key, i), inQ, price, inA, outQ, price, outA, r6, price, r8, c6});
                line.exec();
                ++info.lines;
            }
            header.bindAll({number, date.toString(QStringLiteral("yyyy-MM-dd")), QString::fromLatin1(kind.unit),
                            cents(total), code(kind.lb), kind.lb == DocKind::Stocktaking ? QStringLiteral("库存盘点") : QStringLiteral("单据"),
                            key, date.toString(QStringLiteral("yyyy-MM-dd 08:00:00")), kind.lb == DocKind::Stocktaking ? 0.0 : std::abs(cents(total)),
                            kind.lb == DocKind::Outbound ? v1 : 0});
            header.exec();
            ++info.documents;
        }
        tx.commit();
    }
    if (walk) {
        PostingRules rules;
        rules.attributeOn = true;
        WalkWholeBook(db, rules);
    }
    return info;
}

void WalkWholeBook(Database& db, const PostingRules& rules)
{
    Transaction tx(db);
    // Each goods is finished (its attribute values, then its cost) before the
    // next, so its lines are walked twice while their pages are still cached.
    const RecordSet batches = db.query(QStringLiteral("SELECT F1, HPSX FROM TB11 WHERE SRT <> '' GROUP BY F1, HPSX "
                                                      "ORDER BY F1"));
    const RecordSet goods = db.query(QStringLiteral("SELECT F1, V3, V4, V5 FROM TA4 ORDER BY F1"));
    int b = 0;
    for (int r = 0; r < goods.rowCount(); ++r) {
        const QString code = goods.text(r, 0);
        for (; b < batches.rowCount() && batches.text(b, 0).compare(code, Qt::CaseInsensitive) <= 0; ++b)
            if (rules.attributeOn)
                RepostBatch(db, batches.text(b, 0), batches.text(b, 1), QString());
        double qty = goods.number(r, QStringLiteral("V3"));
        double price = goods.number(r, QStringLiteral("V4"));
        double amount = goods.number(r, QStringLiteral("V5"));
        double outPrice = 0;
        RecostGoods(db, rules, code, qty, price, amount, QString(), outPrice);
    }
    const RecordSet units = db.query(QStringLiteral("SELECT F1 FROM TA1 ORDER BY F1"));
    for (int r = 0; r < units.rowCount(); ++r)
        RepostUnitBalance(db, QStringLiteral("0"), units.text(r, 0));
    tx.commit();
}

double Seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

QString CopyBook(const QString& source, const QString& target)
{
    QFile::remove(target);
    QFile::copy(source, target);
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// The baseline: the selected lines read in key order and their running
// columns rewritten with a running quantity, a price and an amount.
double PlainPass(Database& db, const QString& where, const QVariantList& params, int* lines)
{
    QElapsedTimer t;
    t.start();
    Transaction tx(db);
    Statement read(db, QStringLiteral("SELECT rowid, F6, F8 FROM TB11 WHERE %1 ORDER BY F1, SRT, rowid").arg(where));
    Statement write(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, XS6 = ?, "
                                       "XK6 = ? WHERE rowid = ?"));
    read.bindAll(params);
    double qty = 0;
    double amount = 0;
    while (read.step()) {
        const double q = qty + read.column(1).toDouble();
        const double a = amount + read.column(2).toDouble();
        const double price = q != 0 ? a / q : 0;
        write.bindAll({qty, qty != 0 ? amount / qty : 0.0, amount, q, price, a, qty, q, read.column(0)});
        write.exec();
        qty = q;
        amount = a;
        ++*lines;
    }
    read.reset();
    tx.commit();
    return Seconds(t);
}
