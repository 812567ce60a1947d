#include "core/Posting.h"

#include "core/App.h"
#include "core/Kinds.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

bool isEmptyValue(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

double numberOf(const QVariant& v)
{
    return isEmptyValue(v) ? 0.0 : v.toDouble();
}

// A stored figure that is empty, or another number, must be written.
bool differs(const QVariant& stored, double value)
{
    return isEmptyValue(stored) || stored.toDouble() != value;
}

// Two stored or computed figures are the same (an empty one only as another empty one).
bool same(const QVariant& a, const QVariant& b)
{
    if (isEmptyValue(a) || isEmptyValue(b))
        return isEmptyValue(a) && isEmptyValue(b);
    return a.toDouble() == b.toDouble();
}

// Keeps "-0" out of the books.
double plain(double x)
{
    return x + 0.0;
}

QString timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A walk joins the caller's transaction, which rolls back as a whole when the
// walk fails; alone it opens its own. A savepoint per walk would copy every
// page it touches once more and doubles the cost of a full walk.
class JoinedTransaction {
public:
    explicit JoinedTransaction(Database& db)
    {
        if (!db.inTransaction())
            m_own.emplace(db);
    }
    void commit()
    {
        if (m_own)
            m_own->commit();
    }

private:
    std::optional<Transaction> m_own;
};

// The running stock and cost walk of one goods. Holds its prepared statements
// so that a poster can walk many goods with one preparation.
class GoodsRecoster {
public:
    GoodsRecoster(Database& db, const PostingRules& rules)
        : m_amountDecimals(PatternDecimals(rules.amountFormat)),
          m_priceDecimals(PatternDecimals(rules.priceFormat)),
          m_lines(db, QStringLiteral("SELECT rowid, SRT, S6, S7, S8, R6, R7, R8, C6, C7, C8, K6, K7, K8, LB, V1, "
                                     "F7, F8 FROM TB11 WHERE F1 = ? AND SRT >= ? AND SRT <> '' "
                                     "ORDER BY SRT, rowid")),
          m_update(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, R7 = ?, "
                                      "R8 = ?, C7 = ?, C8 = ?, F7 = ?, F8 = ? WHERE rowid = ?")),
          m_goods(db, QStringLiteral("UPDATE TA4 SET F7 = ?, F8 = ?, Fje = ? WHERE F1 = ?"))
    {
    }

    // Walks `goods` from `fromSRT`. At a line whose key is in `restartKeys` the
    // figures are taken afresh from the line before, as a walk starting there would.
    QString walk(const QString& goods, double& qty, double& price, double& amount, const QString& fromSRT,
                 double& outPrice, const QSet<QString>& restartKeys)
    {
        amount = A(amount);
        outPrice = P(outPrice);
        if (qty != 0)
            price = amount / qty;
        price = P(price);
        double carried = outPrice;

        enum Col { RowId, Srt, S6, S7, S8, R6, R7, R8, C6, C7, C8, K6, K7, K8, Lb, V1, F7, F8, Count };
        QVariant v[Count];
        QString previousKey;
        double previousC6 = 0;
        double previousC7 = 0;
        m_lines.bind(0, goods);
        m_lines.bind(1, fromSRT);
        while (m_lines.step()) {
            for (int i = 0; i < Count; ++i)
                v[i] = m_lines.column(i);
            const QString key = v[Srt].toString();
            if (!previousKey.isEmpty() && key != previousKey && restartKeys.contains(key)) {
                amount = A(amount);
                carried = P(previousC6 != 0 ? previousC7 : 0);
                if (qty != 0)
                    price = amount / qty;
                price = P(price);
            }
            previousKey = key;

            const auto kind = DocKind(v[Lb].toInt());
            if (kind != DocKind::Inbound && kind != DocKind::SupplierReturn && kind != DocKind::Outbound &&
                kind != DocKind::StockReturn && kind != DocKind::Stocktaking) {
                // No posted line carries another kind; such a line keeps its figures.
                previousC6 = numberOf(v[C6]);
                previousC7 = numberOf(v[C7]);
                continue;
            }
            const double r = numberOf(v[R6]);
            double c = numberOf(v[C6]);
            double minusR = -r;
            double afterIn = ExactDifference(qty, minusR);
            const double q = ExactDifference(afterIn, c);

            double a = 0;
            double p = price;
            double out = 0;
            double in = 0;
            QVariant r7 = v[R7], r8 = v[R8], c7 = v[C7], c8 = v[C8], f7 = v[F7], f8 = v[F8];
            if (kind == DocKind::Inbound || kind == DocKind::SupplierReturn) {
                a = A(amount) + A(numberOf(v[R8]));
                p = q != 0 ? P(a / q) : price;
                carried = 0;
            } else if (kind == DocKind::Stocktaking && r > 0) {
                in = r * price;
                a = A(amount) + A(in);
                p = q != 0 ? P(a / q) : price;
            } else if (q != 0) {
                if (carried == 0)
                    carried = price;
                out = A(c * carried);
                a = amount - out;
                p = P(a / q);
            } else {
                carried = price;
                out = amount;
                a = 0;
                p = price;
            }
            if (kind == DocKind::Outbound || kind == DocKind::StockReturn) {
                c7 = carried;
                c8 = plain(out);
                if (!isEmptyValue(v[V1]) && v[V1].toDouble() == 0) {
                    f7 = carried;
                    f8 = plain(-out);
                }
            } else if (kind == DocKind::Stocktaking) {
                r7 = price;
                r8 = plain(in);
                c7 = carried;
                c8 = plain(out);
                f7 = r > 0 ? price : carried;
                f8 = plain(r > 0 ? in : -out);
            }

            const double s6 = qty, s7 = price, s8 = amount;
            a = plain(a);
            const bool changed = differs(v[S6], s6) || differs(v[S7], s7) || differs(v[S8], s8) ||
                                 differs(v[K6], q) || differs(v[K7], p) || differs(v[K8], a) || !same(r7, v[R7]) ||
                                 !same(r8, v[R8]) || !same(c7, v[C7]) || !same(c8, v[C8]) || !same(f7, v[F7]) ||
                                 !same(f8, v[F8]);
            if (changed) {
                m_update.bindAll({s6, s7, s8, q, p, a, r7, r8, c7, c8, f7, f8, v[RowId]});
                m_update.exec();
            }
            previousC6 = numberOf(v[C6]);
            previousC7 = numberOf(c7);
            qty = q;
            price = p;
            amount = a;
        }
        m_lines.reset();

        m_goods.bindAll({GeneralNumberText(price).toDouble(), GeneralNumberText(qty).toDouble(),
                         GeneralNumberText(amount).toDouble(), goods});
        m_goods.exec();
        return GeneralNumberText(qty) + QLatin1Char('&') + GeneralNumberText(amount);
    }

private:
    double A(double x) const { return RoundToDecimals(x, m_amountDecimals); }
    double P(double x) const { return RoundToDecimals(x, m_priceDecimals); }

    int m_amountDecimals;
    int m_priceDecimals;
    Statement m_lines;
    Statement m_update;
    Statement m_goods;
};

// The running stock walk of one goods and attribute value.
class BatchReposter {
public:
    explicit BatchReposter(Database& db)
        : m_before(db, QStringLiteral("SELECT total(F6) FROM TB11 WHERE F1 = ? AND HPSX = ? AND SRT <> '' "
                                      "AND SRT < ?")),
          m_lines(db, QStringLiteral("SELECT rowid, XS6, F6, XK6, R6, R8, C6, F5, Z5, F8, LB, F0, Oid FROM TB11 "
                                     "WHERE F1 = ? AND HPSX = ? AND SRT >= ? AND SRT <> '' ORDER BY SRT, rowid")),
          m_update(db, QStringLiteral("UPDATE TB11 SET XS6 = ?, XK6 = ?, R6 = ?, R8 = ?, C6 = ?, F5 = ?, Z5 = ?, "
                                      "F6 = ? WHERE rowid = ?"))
    {
    }

    // Every walked line ends with XS6/XK6 equal to the stock before and after it
    // and its in/out quantities following F6, whatever it held before; so the
    // result depends only on the lines, not on how often they were walked.
    void walk(const QString& goods, const QString& batch, const QString& fromSRT)
    {
        double s = 0;
        if (!fromSRT.isEmpty()) {
            m_before.bindAll({goods, batch, fromSRT});
            if (m_before.step())
                s = numberOf(m_before.column(0));
            m_before.reset();
        }

        enum Col { RowId, XS6, F6, XK6, R6, R8, C6, F5, Z5, F8, Lb, Doc, Oid, Count };
        QVariant v[Count];
        m_lines.bindAll({goods, batch, fromSRT});
        while (m_lines.step()) {
            for (int i = 0; i < Count; ++i)
                v[i] = m_lines.column(i);
            QVariant xs6 = v[XS6], f6 = v[F6], xk6 = v[XK6], r6 = v[R6], r8 = v[R8], c6 = v[C6], f5 = v[F5],
                     z5 = v[Z5];
            bool changed = false;
            if (differs(xs6, s)) {
                xs6 = s;
                changed = true;
            }
            const auto kind = DocKind(v[Lb].toInt());
            const bool receipt = kind == DocKind::Inbound || kind == DocKind::SupplierReturn;
            const bool issue = kind == DocKind::Outbound || kind == DocKind::StockReturn;
            if (receipt || issue) {
                if (isEmptyValue(f6))
                    throw missingQuantity(v[Doc], v[Oid]);
                const double qty = f6.toDouble();
                if (receipt && differs(r6, qty)) {
                    r6 = qty;
                    r8 = v[F8];
                    changed = true;
                } else if (issue && differs(c6, plain(-qty))) {
                    c6 = plain(-qty);
                    changed = true;
                }
                if (changed || differs(xk6, s + qty)) {
                    xk6 = s + qty;
                    changed = true;
                }
                s += qty;
            } else if (kind == DocKind::Stocktaking) {
                if (isEmptyValue(f5))
                    throw missingQuantity(v[Doc], v[Oid]);
                const double counted = std::fabs(f5.toDouble());
                const double difference = counted - s;
                const double in = difference > 0 ? difference : 0.0;
                const double out = difference > 0 ? 0.0 : plain(s - counted);
                if (differs(z5, s)) {
                    z5 = s;
                    changed = true;
                }
                if (changed || differs(f6, difference) || f5.toDouble() < 0 || differs(r6, in) || differs(c6, out) ||
                    differs(xk6, counted)) {
                    f5 = counted;
                    f6 = plain(difference);
                    r6 = in;
                    c6 = out;
                    xk6 = counted;
                    changed = true;
                }
                s = counted;
            }
            if (changed) {
                m_update.bindAll({xs6, xk6, r6, r8, c6, f5, z5, f6, v[RowId]});
                m_update.exec();
            }
        }
        m_lines.reset();
    }

private:
    static DbError missingQuantity(const QVariant& doc, const QVariant& oid)
    {
        return DbError(-1, QStringLiteral("单据 %1 第 %2 行没有数量，无法计算库存！").arg(doc.toString(), oid.toString()));
    }

    Statement m_before;
    Statement m_lines;
    Statement m_update;
};

// One line of a document being posted or taken back, with the key it gets or had.
struct DocLine {
    qint64 rowid = 0;
    QString goods;
    QString batch;
    QString key;
};

// The document's header, refused when missing.
RecordSet documentHeader(const Database& db, const QString& docNo)
{
    RecordSet head = db.query(QStringLiteral("SELECT F2, F3, F6, SRT FROM TB1 WHERE F1 = ?"), {docNo});
    if (head.isEmpty())
        throw DbError(-1, QStringLiteral("找不到单据：%1").arg(docNo));
    return head;
}

// The lines in line-number order. When posting, each gets the line key of its
// number; when taking back, the key it holds (or would have held).
std::vector<DocLine> documentLines(const Database& db, const QString& docNo, const QString& docKey, bool posting)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT rowid, Oid, F1, HPSX, SRT FROM TB11 WHERE F0 = ? "
                                                 "ORDER BY Oid, rowid"),
                                  {docNo});
    std::vector<DocLine> lines;
    lines.reserve(size_t(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r) {
        const int oid = rs.value(r, 1).toInt();
        if (posting && (oid < 0 || oid > 999))
            throw DbError(-1, QStringLiteral("单据 %1 的行号超出 1-999，不能审核！").arg(docNo));
        DocLine l;
        l.rowid = rs.value(r, 0).toLongLong();
        l.goods = rs.text(r, 2);
        l.batch = rs.text(r, 3);
        const QString held = rs.text(r, 4);
        l.key = posting || held.isEmpty() ? LineKey(docKey, oid) : held;
        lines.push_back(l);
    }
    return lines;
}

// Walks every goods and attribute value of the lines once, from its first line
// key. With `restartAtLines` the goods' figures restart at each of its lines as
// the per-line posting cycle would restart them.
void walkDocumentGoods(Database& db, const PostingRules& rules, const std::vector<DocLine>& lines,
                       bool restartAtLines)
{
    struct Goods {
        QString code;
        QString firstKey;
        QSet<QString> keys;
    };
    struct Batch {
        QString goods;
        QString batch;
        QString firstKey;
    };
    std::vector<Goods> goods;
    std::vector<Batch> batches;
    QHash<QString, size_t> goodsIndex;
    QHash<QString, size_t> batchIndex;
    for (const DocLine& l : lines) {
        if (l.goods.isEmpty())
            continue;
        // Codes compare without regard to case, as the queries do.
        const QString g = l.goods.toCaseFolded();
        auto gi = goodsIndex.find(g);
        if (gi == goodsIndex.end()) {
            gi = goodsIndex.insert(g, goods.size());
            goods.push_back({l.goods, l.key, {}});
        }
        Goods& entry = goods[*gi];
        entry.keys.insert(l.key);
        entry.firstKey = std::min(entry.firstKey, l.key);

        const QString b = g + QChar(0) + l.batch.toCaseFolded();
        auto bi = batchIndex.find(b);
        if (bi == batchIndex.end()) {
            bi = batchIndex.insert(b, batches.size());
            batches.push_back({l.goods, l.batch, l.key});
        }
        batches[*bi].firstKey = std::min(batches[*bi].firstKey, l.key);
    }

    if (rules.attributeOn) {
        BatchReposter reposter(db);
        for (const Batch& b : batches)
            reposter.walk(b.goods, b.batch, b.firstKey);
    }
    GoodsRecoster recoster(db, rules);
    const QSet<QString> none;
    for (const Goods& g : goods) {
        RunningFigures f = RunningFiguresBefore(db, g.code, g.firstKey);
        recoster.walk(g.code, f.qty, f.price, f.amount, g.firstKey, f.outPrice, restartAtLines ? g.keys : none);
    }
}

}  // namespace

PostingRules PostingRules::of(const App& app)
{
    PostingRules r;
    r.priceFormat = app.PriceFormat;
    r.amountFormat = app.AmountFormat;
    r.attributeOn = !app.HpsxName.isEmpty();
    return r;
}

QString PostingKeyPrefix(const QDate& date)
{
    return QStringLiteral("S%1%2%3")
        .arg(date.year(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString NextPostingKey(const Database& db, const QDate& date)
{
    const QString prefix = PostingKeyPrefix(date);
    const QString highest = db.scalar(QStringLiteral("SELECT SRT FROM TB11 WHERE SRT >= ? AND SRT < ? "
                                                     "ORDER BY SRT DESC LIMIT 1"),
                                      {prefix, PostingKeyPrefix(date.addDays(1))})
                                .toString();
    int serial = 1;
    if (!highest.isEmpty()) {
        QString rest = highest;
        rest.remove(prefix);
        serial = int(LeadingNumber(rest.left(4))) + 1;
    }
    if (serial > 9999)
        throw DbError(-1, QStringLiteral("%1 这一天已审核 9999 张单据，不能再审核该日期的单据！")
                              .arg(date.toString(QStringLiteral("yyyy-MM-dd"))));
    return prefix + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
}

QString LineKey(const QString& postingKey, int lineNo)
{
    return postingKey + QStringLiteral("%1").arg(lineNo, 3, 10, QLatin1Char('0'));
}

RunningFigures RunningFiguresBefore(const Database& db, const QString& goods, const QString& key)
{
    RunningFigures f;
    const RecordSet last = db.query(QStringLiteral("SELECT K6, K7, K8, C6, C7 FROM TB11 WHERE F1 = ? AND SRT <> '' "
                                                   "AND SRT < ? ORDER BY SRT DESC, rowid DESC LIMIT 1"),
                                    {goods, key});
    if (!last.isEmpty()) {
        f.qty = numberOf(last.value(0, 0));
        f.price = numberOf(last.value(0, 1));
        f.amount = numberOf(last.value(0, 2));
        f.outPrice = numberOf(last.value(0, 3)) != 0 ? numberOf(last.value(0, 4)) : 0.0;
        return f;
    }
    const RecordSet opening = db.query(QStringLiteral("SELECT V3, V4, V5 FROM TA4 WHERE F1 = ? LIMIT 1"), {goods});
    if (!opening.isEmpty()) {
        f.qty = numberOf(opening.value(0, 0));
        f.price = numberOf(opening.value(0, 1));
        f.amount = numberOf(opening.value(0, 2));
    }
    return f;
}

QString RecostGoods(Database& db, const PostingRules& rules, const QString& goods, double& qty, double& price,
                    double& amount, const QString& fromSRT, double& outPrice)
{
    JoinedTransaction tx(db);
    QString answer;
    {
        GoodsRecoster recoster(db, rules);
        answer = recoster.walk(goods, qty, price, amount, fromSRT, outPrice, {});
    }
    tx.commit();
    return answer;
}

void RepostBatch(Database& db, const QString& goods, const QString& batch, const QString& fromSRT)
{
    JoinedTransaction tx(db);
    {
        BatchReposter reposter(db);
        reposter.walk(goods, batch, fromSRT);
    }
    tx.commit();
}

void RepostUnitBalance(Database& db, const QString& fromSRT, const QString& unitCode)
{
    JoinedTransaction tx(db);
    double balance = 0;
    const std::optional<QVariant> before =
        db.scalarRow(QStringLiteral("SELECT QM FROM TB1 WHERE F3 = ? AND SRT <> '' AND SRT < ? AND F6 <> '' "
                                    "AND F6 IS NOT NULL ORDER BY SRT DESC, rowid DESC LIMIT 1"),
                     {unitCode, fromSRT});
    if (before)
        balance = numberOf(*before);
    else
        balance = numberOf(db.scalar(QStringLiteral("SELECT NK FROM TA1 WHERE F1 = ? LIMIT 1"), {unitCode}));
    {
        Statement rows(db, QStringLiteral("SELECT rowid, QC, YF, FK, QM, F1 FROM TB1 WHERE F3 = ? AND SRT <> '' "
                                          "AND SRT >= ? ORDER BY SRT, rowid"));
        Statement update(db, QStringLiteral("UPDATE TB1 SET QC = ?, QM = ? WHERE rowid = ?"));
        rows.bindAll({unitCode, fromSRT});
        while (rows.step()) {
            const QVariant yf = rows.column(2);
            const QVariant fk = rows.column(3);
            if (isEmptyValue(yf) || isEmptyValue(fk))
                throw DbError(-1, QStringLiteral("单据 %1 没有往来金额，无法计算余额！").arg(rows.column(5).toString()));
            const double qc = balance;
            balance = balance + yf.toDouble() - fk.toDouble();
            if (differs(rows.column(1), qc) || differs(rows.column(4), balance)) {
                update.bindAll({qc, balance, rows.column(0)});
                update.exec();
            }
        }
    }
    tx.commit();
}

std::optional<StockShortage> CheckStockOnDate(const App& app, const QString& goods, double qty, const QDate& docDate,
                                              QString& batch)
{
    if (qty == 0 || app.NoOverIssue == 0)
        return std::nullopt;
    const bool attributeOn = !app.HpsxName.isEmpty();
    if (!attributeOn)
        batch.clear();
    QString sql = QStringLiteral("SELECT total(TB11.F6) FROM TB11 JOIN TB1 ON TB1.F1 = TB11.F0 "
                                 "WHERE TB11.F1 = ? AND TB11.SRT <> '' AND TB1.F2 < ?");
    QVariantList params{goods, docDate.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))};
    if (attributeOn) {
        sql += QStringLiteral(" AND TB11.HPSX = ?");
        params << batch;
    }
    const double stock = numberOf(app.CurrentDatabase.scalar(sql, params));
    if (stock >= qty)
        return std::nullopt;
    return StockShortage{goods, docDate, stock};
}

QString StockShortageText(const App& app, const StockShortage& shortage)
{
    return QStringLiteral("日期：") + shortage.date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("　") +
           app.GoodsTerm + QStringLiteral("：") + shortage.goods + QStringLiteral("  库存数量不足！") +
           QStringLiteral("\n\n") + QStringLiteral("当天库存量：") + GeneralNumberText(shortage.stock);
}

double BomCostSum(const Database& db, const QString& goods)
{
    const QString sum = SqlScalar(db,
                                  QStringLiteral("SELECT sum(Bom.F6 * TA4.F7) FROM Bom JOIN TA4 ON TA4.F1 = Bom.F1 "
                                                 "WHERE Bom.F0 = ?"),
                                  {goods});
    return sum.toDouble();
}

QString PostDocument(Database& db, const PostingRules& rules, const QString& docNo, const QString& auditor,
                     const BalanceMove& move)
{
    // The write lock is taken here, before the serial search, and held to the end.
    Transaction tx(db);
    db.setCacheSizeKiB(WalkCacheKiB);
    const RecordSet head = documentHeader(db, docNo);
    if (!head.text(0, QStringLiteral("F6")).trimmed().isEmpty() || !head.text(0, QStringLiteral("SRT")).isEmpty())
        throw DbError(-1, QStringLiteral("该单据已审核，不需要再次审核！"));
    const std::optional<QDate> date = ParseSqlDate(head.text(0, QStringLiteral("F2")));
    if (!date)
        throw DbError(-1, QStringLiteral("单据 %1 的日期无效，不能审核！").arg(docNo));
    const QString unit = head.text(0, QStringLiteral("F3"));

    const QString key = NextPostingKey(db, *date);
    const std::vector<DocLine> lines = documentLines(db, docNo, key, true);
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = ?, F6 = ?, H8 = ?, YF = ?, FK = ? WHERE F1 = ?"),
               {key, auditor, timeStamp(), move.yf, move.fk, docNo});
    db.execute(QStringLiteral("UPDATE TB11 SET SH = ? WHERE F0 = ?"), {auditor, docNo});
    RepostUnitBalance(db, key, unit);
    {
        Statement stamp(db, QStringLiteral("UPDATE TB11 SET SRT = ? WHERE rowid = ?"));
        for (const DocLine& l : lines) {
            stamp.bindAll({l.key, l.rowid});
            stamp.exec();
        }
    }
    walkDocumentGoods(db, rules, lines, true);
    tx.commit();
    return key;
}

void UnpostDocument(Database& db, const PostingRules& rules, const QString& docNo)
{
    Transaction tx(db);
    db.setCacheSizeKiB(WalkCacheKiB);
    const RecordSet head = documentHeader(db, docNo);
    const QString key = head.text(0, QStringLiteral("SRT"));
    if (key.isEmpty())
        throw DbError(-1, QStringLiteral("该单据未审核，不能执行撤销审核！"));
    const QString unit = head.text(0, QStringLiteral("F3"));

    const std::vector<DocLine> lines = documentLines(db, docNo, key, false);
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = '', F6 = '', H8 = ? WHERE F1 = ?"), {timeStamp(), docNo});
    db.execute(QStringLiteral("UPDATE TB11 SET SH = '', SRT = '' WHERE F0 = ?"), {docNo});
    RepostUnitBalance(db, key, unit);
    walkDocumentGoods(db, rules, lines, false);
    tx.commit();
}
