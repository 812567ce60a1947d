#include "core/Posting.h"

#include "core/App.h"
#include "core/PostingSteps.h"
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

using namespace posting;

namespace {

bool isEmptyValue(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

double numberOf(const QVariant& v)
{
    return isEmptyValue(v) ? 0.0 : v.toDouble();
}

QString timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

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
    CostedDocumentTotaler(db, amountFormat).retotal(number);
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
