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
#include <string>
#include <unordered_map>
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

// A stored figure: empty (NULL) or a number.
struct Fig {
    double v = 0;
    bool empty = true;
    Fig() = default;
    Fig(double x) : v(x), empty(false) {}
};

double numberOf(Fig f)
{
    return f.empty ? 0.0 : f.v;
}

// A stored figure that is empty, or another number, must be written.
bool differs(Fig stored, double value)
{
    return stored.empty || stored.v != value;
}

// Two stored or computed figures are the same (an empty one only as another empty one).
bool same(Fig a, Fig b)
{
    if (a.empty || b.empty)
        return a.empty && b.empty;
    return a.v == b.v;
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

// One posted line as the walks read it. Every walk selects these columns in
// this order, so one reader serves them all.
struct Line {
    qint64 rowid = 0;
    DocKind kind = DocKind(0);  // LB
    bool noBatch = false;  // HPSX is NULL: no attribute walk reaches the line
    Fig v1, s6, s7, s8, k6, k7, k8, r6, r7, r8, c6, c7, c8, f5, f6, f7, f8, z5, xs6, xk6;
};

const QString LineColumns = QStringLiteral(
    "rowid, LB, HPSX IS NULL, V1, S6, S7, S8, K6, K7, K8, R6, R7, R8, C6, C7, C8, F5, F6, F7, F8, Z5, XS6, XK6, "
    "F0, Oid, HPSX, SRT");
enum LineColumn { ColDoc = 23, ColOid = 24, ColHpsx = 25, ColSrt = 26 };

Fig figAt(const Statement& st, int col)
{
    return st.isNull(col) ? Fig() : Fig(st.real(col));
}

Line readLine(const Statement& st)
{
    Line l;
    l.rowid = st.int64(0);
    l.kind = DocKind(st.int64(1));
    l.noBatch = st.int64(2) != 0;
    Fig* figs[] = {&l.v1, &l.s6, &l.s7, &l.s8, &l.k6, &l.k7, &l.k8, &l.r6, &l.r7, &l.r8,
                   &l.c6, &l.c7, &l.c8, &l.f5, &l.f6, &l.f7, &l.f8, &l.z5, &l.xs6, &l.xk6};
    for (int i = 0; i < 20; ++i)
        *figs[i] = figAt(st, 3 + i);
    return l;
}

// Binds the figures in order, then the rowid, and runs the update.
void writeLine(Statement& update, std::initializer_list<Fig> figs, qint64 rowid)
{
    int i = 0;
    for (Fig f : figs) {
        if (f.empty)
            update.bindNull(i++);
        else
            update.bindReal(i++, f.v);
    }
    update.bindInt64(i, rowid);
    update.exec();
}

DbError missingQuantity(const Statement& st)
{
    return DbError(-1, QStringLiteral("单据 %1 第 %2 行没有数量，无法计算库存！").arg(st.text(ColDoc), st.text(ColOid)));
}

// The running stock of a goods and attribute value at one line: `s` enters
// as the stock before the line and leaves as the stock after it. The line
// ends with XS6/XK6 equal to those and its in/out quantities following F6,
// whatever it held before; so the result depends only on the lines, not on
// how often they were walked. Answers whether the line changed; nullopt for
// a line without the quantity the stock needs.
std::optional<bool> batchStep(Line& l, double& s)
{
    bool changed = false;
    if (differs(l.xs6, s)) {
        l.xs6 = s;
        changed = true;
    }
    const bool receipt = l.kind == DocKind::Inbound || l.kind == DocKind::SupplierReturn;
    const bool issue = l.kind == DocKind::Outbound || l.kind == DocKind::StockReturn;
    if (receipt || issue) {
        if (l.f6.empty)
            return std::nullopt;
        const double qty = l.f6.v;
        if (receipt && differs(l.r6, qty)) {
            l.r6 = qty;
            l.r8 = l.f8;
            changed = true;
        } else if (issue && differs(l.c6, plain(-qty))) {
            l.c6 = plain(-qty);
            changed = true;
        }
        if (changed || differs(l.xk6, s + qty)) {
            l.xk6 = s + qty;
            changed = true;
        }
        s += qty;
    } else if (l.kind == DocKind::Stocktaking) {
        if (l.f5.empty)
            return std::nullopt;
        const double counted = std::fabs(l.f5.v);
        const double difference = counted - s;
        const double in = difference > 0 ? difference : 0.0;
        const double out = difference > 0 ? 0.0 : plain(s - counted);
        if (differs(l.z5, s)) {
            l.z5 = s;
            changed = true;
        }
        if (changed || differs(l.f6, difference) || l.f5.v < 0 || differs(l.r6, in) || differs(l.c6, out) ||
            differs(l.xk6, counted)) {
            l.f5 = counted;
            l.f6 = plain(difference);
            l.r6 = in;
            l.c6 = out;
            l.xk6 = counted;
            changed = true;
        }
        s = counted;
    }
    return changed;
}

// The running stock and moving-average cost of one goods, line by line in
// key order.
class CostWalk {
public:
    // carryOutPrice: whether a restart inside a document carries the out price of
    // the line before (the kinds whose audit passes 0 start from 0 instead).
    CostWalk(const PostingRules& rules, bool carryOutPrice = true)
        : m_carryOutPrice(carryOutPrice), m_amountDecimals(PatternDecimals(rules.amountFormat)),
          m_priceDecimals(PatternDecimals(rules.priceFormat))
    {
    }

    // Takes the figures before the first line.
    void start(double qty, double price, double amount, double outPrice)
    {
        this->qty = qty;
        this->amount = A(amount);
        outPrice = P(outPrice);
        this->price = qty != 0 ? this->amount / qty : price;
        this->price = P(this->price);
        carried = outPrice;
        startOutPrice = outPrice;
        previousC6 = 0;
        previousC7 = 0;
    }

    // Restarts the figures as a walk starting at the current line would: the
    // out price is that of the line before.
    void restart()
    {
        amount = A(amount);
        carried = P(m_carryOutPrice && previousC6 != 0 ? previousC7 : 0);
        if (qty != 0)
            price = amount / qty;
        price = P(price);
    }

    // Values one line: its running columns before and after it, and the cost
    // columns that follow from the running price. Answers whether it changed.
    bool step(Line& l)
    {
        const DocKind kind = l.kind;
        if (kind != DocKind::Inbound && kind != DocKind::SupplierReturn && kind != DocKind::Outbound &&
            kind != DocKind::StockReturn && kind != DocKind::Stocktaking) {
            // No posted line carries another kind; such a line keeps its figures.
            previousC6 = numberOf(l.c6);
            previousC7 = numberOf(l.c7);
            return false;
        }
        const double r = numberOf(l.r6);
        double c = numberOf(l.c6);
        double minusR = -r;
        double afterIn = ExactDifference(qty, minusR);
        const double q = ExactDifference(afterIn, c);

        double a = 0;
        double p = price;
        double out = 0;
        double in = 0;
        Fig r7 = l.r7, r8 = l.r8, c7 = l.c7, c8 = l.c8, f7 = l.f7, f8 = l.f8;
        if (kind == DocKind::Inbound || kind == DocKind::SupplierReturn) {
            a = A(amount) + A(numberOf(l.r8));
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
            if (!l.v1.empty && l.v1.v == 0) {
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
        const bool changed = differs(l.s6, s6) || differs(l.s7, s7) || differs(l.s8, s8) || differs(l.k6, q) ||
                             differs(l.k7, p) || differs(l.k8, a) || !same(r7, l.r7) || !same(r8, l.r8) ||
                             !same(c7, l.c7) || !same(c8, l.c8) || !same(f7, l.f7) || !same(f8, l.f8);
        previousC6 = numberOf(l.c6);
        previousC7 = numberOf(c7);
        l.s6 = s6;
        l.s7 = s7;
        l.s8 = s8;
        l.k6 = q;
        l.k7 = p;
        l.k8 = a;
        l.r7 = r7;
        l.r8 = r8;
        l.c7 = c7;
        l.c8 = c8;
        l.f7 = f7;
        l.f8 = f8;
        qty = q;
        price = p;
        amount = a;
        return changed;
    }

    double qty = 0;
    double price = 0;
    double amount = 0;
    double startOutPrice = 0;

private:
    double A(double x) const { return RoundToDecimals(x, m_amountDecimals); }
    double P(double x) const { return RoundToDecimals(x, m_priceDecimals); }

    bool m_carryOutPrice;
    int m_amountDecimals;
    int m_priceDecimals;
    double carried = 0;
    double previousC6 = 0;
    double previousC7 = 0;
};

// Stores a goods' final figures in TA4 and answers them as "qty&amount".
QString storeGoodsFigures(Statement& store, const QString& goods, const CostWalk& walk)
{
    const QString qty = GeneralNumberText(walk.qty);
    const QString amount = GeneralNumberText(walk.amount);
    store.bindAll({GeneralNumberText(walk.price).toDouble(), qty.toDouble(), amount.toDouble(), goods});
    store.exec();
    return qty + QLatin1Char('&') + amount;
}

const QString StoreGoodsSql = QStringLiteral("UPDATE TA4 SET F7 = ?, F8 = ?, Fje = ? WHERE F1 = ?");

// The documents valued at cost (department issues and returns, TB11.V1 = 0) whose line
// amounts a walk changed: their stored totals follow once the walk of the goods is done.
class CostedTotals {
public:
    explicit CostedTotals(const PostingRules& rules) : m_amountFormat(rules.amountFormat) {}

    void note(const Line& before, const Line& after, const Statement& lines)
    {
        if ((after.kind == DocKind::Outbound || after.kind == DocKind::StockReturn) && !after.v1.empty &&
            after.v1.v == 0 && !same(before.f8, after.f8))
            m_docs.insert(lines.text(ColDoc));
    }
    void store(Database& db)
    {
        for (const QString& doc : std::as_const(m_docs))
            RetotalCostedDocument(db, m_amountFormat, doc);
        m_docs.clear();
    }

private:
    QString m_amountFormat;
    QSet<QString> m_docs;
};

// The running stock and cost walk of one goods from a key on. Holds its
// prepared statements so that a poster can walk many goods with one preparation.
class GoodsRecoster {
public:
    GoodsRecoster(Database& db, const PostingRules& rules, OutPriceRule outPrice = OutPriceRule::LastOutLine)
        : m_walk(rules, outPrice == OutPriceRule::LastOutLine), m_totals(rules), m_db(db),
          m_lines(db, QStringLiteral("SELECT %1 FROM TB11 WHERE F1 = ? AND SRT >= ? AND SRT <> '' "
                                     "ORDER BY SRT, rowid").arg(LineColumns)),
          m_update(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, R7 = ?, "
                                      "R8 = ?, C7 = ?, C8 = ?, F7 = ?, F8 = ? WHERE rowid = ?")),
          m_goods(db, StoreGoodsSql)
    {
    }

    // Walks `goods` from `fromSRT`. At a line whose key is in `restartKeys` the
    // figures are taken afresh from the line before, as a walk starting there would.
    QString walk(const QString& goods, double& qty, double& price, double& amount, const QString& fromSRT,
                 double& outPrice, const QSet<QString>& restartKeys)
    {
        m_walk.start(qty, price, amount, outPrice);
        outPrice = m_walk.startOutPrice;
        QString previousKey;
        m_lines.bind(0, goods);
        m_lines.bind(1, fromSRT);
        while (m_lines.step()) {
            Line l = readLine(m_lines);
            if (!restartKeys.isEmpty()) {
                const QString key = m_lines.text(ColSrt);
                if (!previousKey.isEmpty() && key != previousKey && restartKeys.contains(key))
                    m_walk.restart();
                previousKey = key;
            }
            const Line before = l;
            if (m_walk.step(l)) {
                writeLine(m_update, {l.s6, l.s7, l.s8, l.k6, l.k7, l.k8, l.r7, l.r8, l.c7, l.c8, l.f7, l.f8},
                          l.rowid);
                m_totals.note(before, l, m_lines);
            }
        }
        m_lines.reset();
        m_totals.store(m_db);
        qty = m_walk.qty;
        price = m_walk.price;
        amount = m_walk.amount;
        return storeGoodsFigures(m_goods, goods, m_walk);
    }

private:
    CostWalk m_walk;
    CostedTotals m_totals;
    Database& m_db;
    Statement m_lines;
    Statement m_update;
    Statement m_goods;
};

// The running stock walk of one goods and attribute value from a key on.
class BatchReposter {
public:
    explicit BatchReposter(Database& db)
        : m_before(db, QStringLiteral("SELECT total(F6) FROM TB11 WHERE F1 = ? AND HPSX = ? AND SRT <> '' "
                                      "AND SRT < ?")),
          m_lines(db, QStringLiteral("SELECT %1 FROM TB11 WHERE F1 = ? AND HPSX = ? AND SRT >= ? AND SRT <> '' "
                                     "ORDER BY SRT, rowid").arg(LineColumns)),
          m_update(db, QStringLiteral("UPDATE TB11 SET XS6 = ?, XK6 = ?, R6 = ?, R8 = ?, C6 = ?, F5 = ?, Z5 = ?, "
                                      "F6 = ? WHERE rowid = ?"))
    {
    }

    void walk(const QString& goods, const QString& batch, const QString& fromSRT)
    {
        double s = 0;
        if (!fromSRT.isEmpty()) {
            m_before.bindAll({goods, batch, fromSRT});
            if (m_before.step())
                s = numberOf(m_before.column(0));
            m_before.reset();
        }
        m_lines.bindAll({goods, batch, fromSRT});
        while (m_lines.step()) {
            Line l = readLine(m_lines);
            const std::optional<bool> changed = batchStep(l, s);
            if (!changed)
                throw missingQuantity(m_lines);
            if (*changed)
                writeLine(m_update, {l.xs6, l.xk6, l.r6, l.r8, l.c6, l.f5, l.z5, l.f6}, l.rowid);
        }
        m_lines.reset();
    }

private:
    Statement m_before;
    Statement m_lines;
    Statement m_update;
};

// The figures a walk from a key starts with (RunningFiguresBefore), its two
// look-ups prepared once for all the goods of a document: preparing them per
// goods cost a third of a large document's audit.
class FiguresBefore {
public:
    explicit FiguresBefore(const Database& db)
        : m_last(db, QStringLiteral("SELECT K6, K7, K8, C6, C7 FROM TB11 WHERE F1 = ? AND SRT <> '' AND SRT < ? "
                                    "ORDER BY SRT DESC, rowid DESC LIMIT 1")),
          m_opening(db, QStringLiteral("SELECT V3, V4, V5 FROM TA4 WHERE F1 = ? LIMIT 1"))
    {
    }

    RunningFigures at(const QString& goods, const QString& key)
    {
        RunningFigures f;
        m_last.bindAll({goods, key});
        if (m_last.step()) {
            f.qty = m_last.real(0);
            f.price = m_last.real(1);
            f.amount = m_last.real(2);
            f.outPrice = m_last.real(3) != 0 ? m_last.real(4) : 0.0;
        } else {
            m_opening.bindAll({goods});
            if (m_opening.step()) {
                f.qty = m_opening.real(0);
                f.price = m_opening.real(1);
                f.amount = m_opening.real(2);
            }
            m_opening.reset();
        }
        m_last.reset();
        return f;
    }

private:
    Statement m_last;
    Statement m_opening;
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
                       bool restartAtLines, OutPriceRule outPrice)
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
    GoodsRecoster recoster(db, rules, outPrice);
    FiguresBefore before(db);
    const QSet<QString> none;
    for (const Goods& g : goods) {
        RunningFigures f = before.at(g.code, g.firstKey);
        if (outPrice == OutPriceRule::Zero)
            f.outPrice = 0;
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
    // Headers count too: a document posted without lines holds its serial as well.
    const QString next = PostingKeyPrefix(date.addDays(1));
    const QString highest =
        db.scalar(QStringLiteral("SELECT max(k) FROM (SELECT max(SRT) AS k FROM TB11 WHERE SRT >= ? AND SRT < ? "
                                 "UNION ALL SELECT max(SRT) FROM TB1 WHERE SRT >= ? AND SRT < ?)"),
                  {prefix, next, prefix, next})
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
    return FiguresBefore(db).at(goods, key);
}

int WalkCacheKiBFor(qint64 fileBytes)
{
    const qint64 wanted = fileBytes / 1024 + fileBytes / 1024 / 4 + WalkCacheMinimumKiB;
    return int(std::clamp<qint64>(wanted, WalkCacheMinimumKiB, WalkCacheBudgetKiB));
}

void SizeWalkCache(Database& db)
{
    db.setCacheSizeKiB(WalkCacheKiBFor(db.fileSize()));
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

struct UnitBalanceWalker::Impl {
    explicit Impl(Database& db)
        : before(db, QStringLiteral("SELECT QM FROM TB1 WHERE F3 = ? AND SRT <> '' AND SRT < ? AND F6 <> '' "
                                    "AND F6 IS NOT NULL ORDER BY SRT DESC, rowid DESC LIMIT 1")),
          opening(db, QStringLiteral("SELECT NK FROM TA1 WHERE F1 = ? LIMIT 1")),
          rows(db, QStringLiteral("SELECT rowid, QC, YF, FK, QM, F1 FROM TB1 WHERE F3 = ? AND SRT <> '' "
                                  "AND SRT >= ? ORDER BY SRT, rowid")),
          update(db, QStringLiteral("UPDATE TB1 SET QC = ?, QM = ? WHERE rowid = ?"))
    {
    }
    Statement before;
    Statement opening;
    Statement rows;
    Statement update;
};

UnitBalanceWalker::UnitBalanceWalker(Database& db) : d(std::make_unique<Impl>(db)) {}

UnitBalanceWalker::~UnitBalanceWalker() = default;

void UnitBalanceWalker::walk(const QString& fromSRT, const QString& unitCode)
{
    double balance = 0;
    d->before.bindAll({unitCode, fromSRT});
    if (d->before.step()) {
        balance = d->before.isNull(0) ? 0.0 : d->before.real(0);
    } else {
        d->opening.bindAll({unitCode});
        if (d->opening.step() && !d->opening.isNull(0))
            balance = d->opening.real(0);
        d->opening.reset();
    }
    d->before.reset();

    Statement& rows = d->rows;
    rows.bindAll({unitCode, fromSRT});
    while (rows.step()) {
        if (rows.isNull(2) || rows.isNull(3))
            throw DbError(-1, QStringLiteral("单据 %1 没有往来金额，无法计算余额！").arg(rows.text(5)));
        const double qc = balance;
        balance = balance + rows.real(2) - rows.real(3);
        if (differs(figAt(rows, 1), qc) || differs(figAt(rows, 4), balance))
            writeLine(d->update, {qc, balance}, rows.int64(0));
    }
    rows.reset();
}

void RepostUnitBalance(Database& db, const QString& fromSRT, const QString& unitCode)
{
    JoinedTransaction tx(db);
    {
        UnitBalanceWalker walker(db);
        walker.walk(fromSRT, unitCode);
    }
    tx.commit();
}

struct WholeGoodsWalker::Impl {
    Impl(Database& db, const PostingRules& rules)
        : attributeOn(rules.attributeOn),
          cost(rules),
          totals(rules),
          lines(db, QStringLiteral("SELECT %1 FROM TB11 WHERE F1 = ? AND SRT <> '' ORDER BY SRT, rowid")
                        .arg(LineColumns)),
          update(db, QStringLiteral("UPDATE TB11 SET S6 = ?, S7 = ?, S8 = ?, K6 = ?, K7 = ?, K8 = ?, R6 = ?, R7 = ?, "
                                    "R8 = ?, C6 = ?, C7 = ?, C8 = ?, F5 = ?, F6 = ?, F7 = ?, F8 = ?, Z5 = ?, XS6 = ?, "
                                    "XK6 = ? WHERE rowid = ?")),
          goods(db, StoreGoodsSql),
          db(db)
    {
    }
    bool attributeOn;
    CostWalk cost;
    CostedTotals totals;
    Statement lines;
    Statement update;
    Statement goods;
    Database& db;
    // Running stock per attribute value, keyed as the queries compare the
    // values (ASCII letters without regard to case).
    std::unordered_map<std::string, double> stock;
};

WholeGoodsWalker::WholeGoodsWalker(Database& db, const PostingRules& rules)
    : d(std::make_unique<Impl>(db, rules))
{
}

WholeGoodsWalker::~WholeGoodsWalker() = default;

void WholeGoodsWalker::walk(const QString& goods, const RunningFigures* opening)
{
    d->stock.clear();
    if (opening)
        d->cost.start(opening->qty, opening->price, opening->amount, opening->outPrice);
    Statement& lines = d->lines;
    std::string key;
    lines.bind(0, goods);
    while (lines.step()) {
        Line l = readLine(lines);
        bool changed = false;
        if (d->attributeOn && !l.noBatch) {
            const QByteArrayView value = lines.utf8(ColHpsx);
            key.assign(value.data(), size_t(value.size()));
            for (char& ch : key)
                if (ch >= 'A' && ch <= 'Z')
                    ch = char(ch - 'A' + 'a');
            const std::optional<bool> batchChanged = batchStep(l, d->stock[key]);
            if (!batchChanged)
                throw missingQuantity(lines);
            changed = *batchChanged;
        }
        const Line before = l;
        if (opening && d->cost.step(l))
            changed = true;
        if (changed) {
            writeLine(d->update,
                      {l.s6, l.s7, l.s8, l.k6, l.k7, l.k8, l.r6, l.r7, l.r8, l.c6, l.c7, l.c8, l.f5, l.f6, l.f7,
                       l.f8, l.z5, l.xs6, l.xk6},
                      l.rowid);
            d->totals.note(before, l, lines);
        }
    }
    lines.reset();
    d->totals.store(d->db);
    if (opening)
        storeGoodsFigures(d->goods, goods, d->cost);
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

void RetotalCostedDocument(Database& db, const QString& amountFormat, const QString& number)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F8 FROM TB11 WHERE F0 = ?"), {number});
    double total = 0;
    for (int r = 0; r < rs.rowCount(); ++r)
        total += RoundToPattern(-rs.number(r, 0), amountFormat);
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = ? WHERE F1 = ?"), {RoundToPattern(total, amountFormat), number});
}

OutPriceRule OutPriceRuleOf(DocKind kind)
{
    return kind == DocKind::Outbound || kind == DocKind::StockReturn ? OutPriceRule::LastOutLine : OutPriceRule::Zero;
}

QString PostDocument(Database& db, const PostingRules& rules, const QString& docNo, const QString& auditor,
                     const BalanceMove& move, OutPriceRule outPrice)
{
    // The write lock is taken here (or by the caller), before the serial search, and held
    // to the end. Joining the caller's transaction instead of a savepoint inside it keeps
    // the journal from copying every touched page twice.
    JoinedTransaction tx(db);
    SizeWalkCache(db);
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
    RepostUnitBalance(db, key, unit);
    {
        // Key and auditor in one write of each line (documentLines read every line of the document).
        Statement stamp(db, QStringLiteral("UPDATE TB11 SET SRT = ?, SH = ? WHERE rowid = ?"));
        for (const DocLine& l : lines) {
            stamp.bindAll({l.key, auditor, l.rowid});
            stamp.exec();
        }
    }
    walkDocumentGoods(db, rules, lines, true, outPrice);
    tx.commit();
    return key;
}

void UnpostDocument(Database& db, const PostingRules& rules, const QString& docNo, OutPriceRule outPrice,
                    bool keepLineAuditor)
{
    JoinedTransaction tx(db);
    SizeWalkCache(db);
    const RecordSet head = documentHeader(db, docNo);
    const QString key = head.text(0, QStringLiteral("SRT"));
    if (key.isEmpty())
        throw DbError(-1, QStringLiteral("该单据未审核，不能执行撤销审核！"));
    const QString unit = head.text(0, QStringLiteral("F3"));

    const std::vector<DocLine> lines = documentLines(db, docNo, key, false);
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = '', F6 = '', H8 = ? WHERE F1 = ?"), {timeStamp(), docNo});
    db.execute(keepLineAuditor ? QStringLiteral("UPDATE TB11 SET SRT = '' WHERE F0 = ?")
                               : QStringLiteral("UPDATE TB11 SET SH = '', SRT = '' WHERE F0 = ?"),
               {docNo});
    RepostUnitBalance(db, key, unit);
    walkDocumentGoods(db, rules, lines, false, outPrice);
    tx.commit();
}
