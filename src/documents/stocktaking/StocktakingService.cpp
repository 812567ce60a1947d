#include "documents/stocktaking/StocktakingService.h"

#include "core/App.h"
#include "core/DocNumbers.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QDateTime>
#include <cmath>

namespace {

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

struct StoredState {
    int kind = 0;
    QString auditor;
    QString key;
    bool audited() const { return !auditor.trimmed().isEmpty() || !key.isEmpty(); }
};

std::optional<StoredState> storedState(const Database& db, const QString& number)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT LB, F6, SRT FROM TB1 WHERE F1 = ? LIMIT 1"), {number});
    if (rs.isEmpty())
        return std::nullopt;
    return StoredState{int(rs.number(0, 0)), rs.text(0, 1), rs.text(0, 2)};
}

// The type name of some unposted document other than `except`; "" when there is none.
QString unpostedOther(const Database& db, const QString& except)
{
    // Two searches of the key index; ifnull() around SRT would read every header.
    const std::optional<QVariant> name = db.scalarRow(
        QStringLiteral("SELECT ifnull(S2, '') FROM TB1 WHERE (SRT = '' OR SRT IS NULL) AND F1 <> ? LIMIT 1"),
        {except.trimmed()});
    if (!name)
        return {};
    const QString text = name->toString();
    return text.isEmpty() ? QStringLiteral("?") : text;
}

const QString AlreadyAudited = QStringLiteral("该单据已审核，不需要再次审核！");
const QString NotAudited = QStringLiteral("该单据未审核，不能执行撤销审核！");

}  // namespace

QString StocktakingTypeName()
{
    return QStringLiteral("库存盘点");
}

QString StocktakingUnit()
{
    return QStringLiteral("0000");
}

double CountLineAmount(const App& app, const CountLine& line)
{
    return RoundToPattern(line.difference() * line.price, app.AmountFormat);
}

double BookQuantity(const App& app, const QString& goods, const QString& attr)
{
    const Database& db = app.CurrentDatabase;
    if (app.HpsxName.isEmpty() || attr.trimmed().isEmpty())
        return db.scalarRow(QStringLiteral("SELECT ifnull(F8, 0) FROM TA4 WHERE F1 = ? LIMIT 1"), {goods.trimmed()})
            .value_or(QVariant(0.0))
            .toDouble();
    return db.scalarRow(QStringLiteral("SELECT ifnull(sum(F6), 0) FROM TB11 WHERE SRT <> '' AND F1 = ? AND HPSX = ?"),
                        {goods.trimmed(), attr.trimmed()})
        .value_or(QVariant(0.0))
        .toDouble();
}

namespace {

const QString GoodsLineSql =
    QStringLiteral("SELECT F1, F2, F5, F4, ifnull(F7, 0), ifnull(F8, 0) FROM TA4 WHERE F1 = ? LIMIT 1");

CountLine goodsLine(int priceDecimals, const QString& goods, const QString& name, const QString& spec,
                    const QString& unit, double cost, double stock)
{
    CountLine l;
    l.goods = goods;
    l.name = name + QLatin1Char('/') + spec;
    l.unit = unit;
    l.price = RoundToDecimals(cost, priceDecimals);
    l.book = stock;
    return l;
}

}  // namespace

std::optional<CountLine> CountLineFor(const App& app, const QString& code)
{
    const RecordSet rs = app.CurrentDatabase.query(GoodsLineSql, {code.trimmed()});
    if (rs.isEmpty())
        return std::nullopt;
    return goodsLine(PatternDecimals(app.PriceFormat), rs.text(0, 0), rs.text(0, 1), rs.text(0, 2), rs.text(0, 3),
                     rs.number(0, 4), rs.number(0, 5));
}

QVector<CountLine> CountLinesFor(App& app, const QStringList& codes)
{
    QVector<CountLine> lines;
    lines.reserve(codes.size());
    const int priceDecimals = PatternDecimals(app.PriceFormat);
    Statement look(app.CurrentDatabase, GoodsLineSql);
    for (const QString& code : codes) {
        look.bindAll({code.trimmed()});
        if (look.step())
            lines << goodsLine(priceDecimals, look.text(0), look.text(1), look.text(2), look.text(3), look.real(4),
                               look.real(5));
        look.reset();
    }
    return lines;
}

QString StocktakingAddRefusal(const Database& db, const QString& except)
{
    const QString waiting = unpostedOther(db, except);
    if (waiting.isEmpty())
        return {};
    return QStringLiteral("系统内存在未审核的单据（") + waiting + QStringLiteral("），此时不能进行新的库存盘点！");
}

QString StocktakingAuditRefusal(const Database& db, const QString& number)
{
    const QString waiting = unpostedOther(db, number);
    if (waiting.isEmpty())
        return {};
    return QStringLiteral("发现有新开的未审核的单据（") + waiting +
           QStringLiteral("），此时不能审核盘点单！\r请删除未审核的单据，然后再进行盘点审核操作！");
}

QString StocktakingUnauditRefusal(const Database& db, const QString& number)
{
    const QString waiting = unpostedOther(db, number);
    if (waiting.isEmpty())
        return {};
    return QStringLiteral("发现系统内存在的未审核的单据（") + waiting +
           QStringLiteral("），此时不能撤销审核盘点单！\r请删除或审核未审核的单据，然后再进行盘点审核操作！");
}

QString StocktakingDateRefusal(const Database& db, const QDate& date)
{
    if (!date.isValid())
        return QStringLiteral("盘点日期无效！");
    const std::optional<QDate> last = LatestDocDate(db);
    if (!last || date >= *last)
        return {};
    return QStringLiteral("盘点日期必须在[") + last->addDays(-1).toString(QStringLiteral("yyyy-M-d")) +
           QStringLiteral("]之后！");
}

std::optional<CountDoc> LoadStocktaking(const Database& db, const QString& number)
{
    const std::optional<StockDoc> stored = LoadStockDoc(db, number);
    if (!stored)
        return std::nullopt;
    CountDoc doc;
    doc.head = stored->head;
    doc.loadedStamp = stored->loadedStamp;
    // A stocktaking's amount is stored with its sign; LoadStockDoc leaves other kinds' signs
    // to their type, which a stocktaking has none of.
    doc.head.amount = db.scalarRow(QStringLiteral("SELECT ifnull(F9, 0) FROM TB1 WHERE F1 = ?"), {doc.head.number})
                          .value_or(QVariant(0.0))
                          .toDouble();
    const RecordSet rs = db.query(
        QStringLiteral("SELECT TB11.F1, TB11.HPSX, TB11.Z5, TB11.F5, TB11.F7, TB11.F9, TA4.F2, TA4.F5, TA4.F4, "
                       "TB11.BColor, TB11.FColor FROM TB11 JOIN TA4 ON TB11.F1 = TA4.F1 WHERE TB11.F0 = ? "
                       "ORDER BY TB11.Oid, TB11.F1"),
        {doc.head.number});
    for (int r = 0; r < rs.rowCount(); ++r) {
        CountLine l;
        l.goods = rs.text(r, 0);
        l.attr = rs.text(r, 1);
        l.book = rs.number(r, 2);
        l.counted = std::abs(rs.number(r, 3));
        l.price = rs.number(r, 4);
        l.remark = rs.text(r, 5);
        l.name = rs.text(r, 6) + QLatin1Char('/') + rs.text(r, 7);
        l.unit = rs.text(r, 8);
        l.backColour = rs.value(r, 9).toLongLong();
        l.foreColour = rs.value(r, 10).toLongLong();
        doc.lines << l;
    }
    return doc;
}

QString SaveStocktaking(App& app, CountDoc& doc, const QString& oldNumber)
{
    Database& db = app.CurrentDatabase;
    StockDocHeader& h = doc.head;
    h.number = h.number.simplified().remove(QLatin1Char(' '));
    h.unitCode = StocktakingUnit();
    if (h.number.isEmpty())
        return QStringLiteral("盘点单号不能为空！");

    // Rows keep their grid numbers as Oid; a row without goods leaves its number free.
    struct Row {
        int oid;
        CountLine line;
    };
    QVector<Row> rows;
    for (int i = 0; i < doc.lines.size(); ++i) {
        CountLine l = doc.lines[i];
        l.goods = l.goods.trimmed().toUpper();
        if (l.goods.isEmpty())
            continue;
        if (app.HpsxName.isEmpty())
            l.attr.clear();
        if (!l.counted)
            return QStringLiteral("第 %1 行 %2 的实盘数还没有录入！\r\r请录入实盘数（盘亏为零时请录入 0）。")
                .arg(i + 1)
                .arg(l.goods);
        // A count is never negative: a typed sign is dropped as posting does.
        l.counted = std::abs(*l.counted);
        rows << Row{i + 1, l};
    }
    if (rows.isEmpty())
        return QStringLiteral("不能保存空的单据！请录入盘点") + app.GoodsTerm + QStringLiteral("！");
    if (rows.last().oid > 999)
        return QStringLiteral("一张单据最多 999 行，请分成几张单据录入！");

    double total = 0;
    for (const Row& r : rows)
        total += CountLineAmount(app, r.line);
    h.amount = RoundToPattern(total, app.AmountFormat);

    Transaction tx(db);
    const QString old = oldNumber.trimmed();
    const bool adding = old.isEmpty();
    const std::optional<StoredState> taken = storedState(db, h.number);
    if (adding) {
        if (taken)
            return QStringLiteral("已经存在[") + h.number + QStringLiteral("[这个编码，请重新设置编码!");
        const QString waiting = StocktakingAddRefusal(db, h.number);
        if (!waiting.isEmpty())
            return waiting;
    } else {
        const std::optional<StoredState> stored = storedState(db, old);
        if (!stored || stored->kind != code(DocKind::Stocktaking))
            return QStringLiteral("找不到单据：") + old;
        if (stored->audited())
            return QStringLiteral("此单据已经审核，不可修改！");
        if (!doc.loadedStamp.isEmpty() && StoredDocStamp(db, old) != doc.loadedStamp)
            return ChangedSinceLoadedText();
        if (taken && h.number.compare(old, Qt::CaseInsensitive) != 0)
            return QStringLiteral("已经存在[") + h.number + QStringLiteral("]这个编码，请重新设置编码!");
    }
    const QString late = StocktakingDateRefusal(db, h.date);
    if (!late.isEmpty())
        return late;
    if (!adding) {
        db.execute(QStringLiteral("DELETE FROM TB11 WHERE F0 = ?"), {old});
        db.execute(QStringLiteral("DELETE FROM TB1 WHERE F1 = ?"), {old});
    }

    db.execute(QStringLiteral("INSERT INTO TB1 (SRT, OD, S2, SN, LB, H8, F1, F2, F3, F5, F6, F9, F10, K9, K, Kstr, "
                              "V1, QC, YF, FK, QM, BColor, FColor) VALUES ('', ?, ?, ?, ?, ?, ?, ?, ?, ?, '', ?, ?, "
                              "0, 0, '', 0, 0, 0, 0, 0, ?, ?)"),
               {h.extra.trimmed(), StocktakingTypeName(), h.sn, code(DocKind::Stocktaking), now(), h.number,
                SqlDate(h.date), h.unitCode, h.enteredBy.trimmed(), h.amount, h.note.trimmed(), StoredColour(h.backColour),
                StoredColour(h.foreColour)});
    Statement insert(db, QStringLiteral("INSERT INTO TB11 (SRT, SH, HPSX, Oid, V1, SN, LB, F0, F1, Z5, F5, F6, F7, "
                                        "F8, R146, R147, R148, R6, R7, R8, C236, C237, C238, C6, C7, C8, F9, "
                                        "BColor, FColor) VALUES ('', '', ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                        "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Row& r : rows) {
        const CountLine& l = r.line;
        const double q = l.difference();
        const double a = CountLineAmount(app, l);
        const bool surplus = q >= 0;
        const double rq = surplus ? q : 0, rp = surplus ? l.price : 0, ra = surplus ? a : 0;
        const double cq = surplus ? 0 : -q, cp = surplus ? 0 : l.price, ca = surplus ? 0 : -a;
        insert.bindAll({l.attr.trimmed(), r.oid, h.sn, code(DocKind::Stocktaking), h.number, l.goods, l.book,
                        *l.counted, q, l.price, a, rq, rp, ra, rq, rp, ra, cq, cp, ca, cq, cp, ca, l.remark,
                        StoredColour(l.backColour), StoredColour(l.foreColour)});
        insert.exec();
    }
    tx.commit();
    ReleaseNumber(app, h.number);
    if (!adding && old.compare(h.number, Qt::CaseInsensitive) != 0)
        ReleaseNumber(app, old);
    return {};
}

QString AuditStocktaking(App& app, const QString& number)
{
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    const std::optional<StoredState> state = storedState(db, number.trimmed());
    if (!state || state->kind != code(DocKind::Stocktaking))
        return QStringLiteral("找不到单据：") + number;
    if (state->audited())
        return AlreadyAudited;
    const QString waiting = StocktakingAuditRefusal(db, number);
    if (!waiting.isEmpty())
        return waiting;
    // No unit balance moves: the counter-party is the reserved unit.
    PostDocument(db, PostingRules::of(app), number.trimmed(), app.OperatorName, BalanceMove{}, OutPriceRule::Zero);
    tx.commit();
    return {};
}

QString UnauditStocktaking(App& app, const QString& number)
{
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    const std::optional<StoredState> state = storedState(db, number.trimmed());
    if (!state || state->kind != code(DocKind::Stocktaking))
        return QStringLiteral("找不到单据：") + number;
    if (state->key.isEmpty())
        return NotAudited;
    const QString waiting = StocktakingUnauditRefusal(db, number);
    if (!waiting.isEmpty())
        return waiting;
    UnpostDocument(db, PostingRules::of(app), number.trimmed(), OutPriceRule::Zero);
    tx.commit();
    return {};
}
