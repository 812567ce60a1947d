#include "documents/common/StockDocService.h"

#include "core/App.h"
#include "core/CapitalAmount.h"
#include "core/DocNumbers.h"
#include "core/Posting.h"
#include "core/Rounding.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

// The sign a document's type stores its header amounts with (TB1.F9, TB1.K9), from its
// kind and its department flag (V1 = 0); 1 for kinds that are no stock-document type.
int storedHeaderSign(const QVariant& kind, const QVariant& v1)
{
    const std::optional<DocType> type = DocTypeFor(DocKind(kind.toInt()), !v1.isNull() && v1.toInt() == 0);
    return type ? DocTypeOf(*type).headerSign : 1;
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A stored "yyyy-MM-dd" date as the lists show it ("2024-5-3"); other texts as they are.
QString shownDate(const QString& stored)
{
    if (stored.size() < 10 || stored[4] != QLatin1Char('-') || stored[7] != QLatin1Char('-'))
        return stored;
    QString shown = stored.left(5);
    if (stored[5] != QLatin1Char('0'))
        shown += stored[5];
    shown += stored[6];
    shown += QLatin1Char('-');
    if (stored[8] != QLatin1Char('0'))
        shown += stored[8];
    shown += stored[9];
    return shown;
}

QString upperCode(const QString& code)
{
    return code.trimmed().toUpper();
}

// The stored header's auditor and posting key; nullopt when no header has the number.
struct AuditState {
    QString auditor;
    QString key;
    bool audited() const { return !auditor.trimmed().isEmpty() || !key.isEmpty(); }
};
std::optional<AuditState> auditState(const Database& db, const QString& number)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F6, SRT FROM TB1 WHERE F1 = ? LIMIT 1"), {number});
    if (rs.isEmpty())
        return std::nullopt;
    return AuditState{rs.text(0, 0), rs.text(0, 1)};
}

// Every stored column of the header and of its lines, hashed; empty when no header has
// the number. Two reads give the same stamp only while nothing was written in between
// (each save also stamps H8 with its time).
QByteArray storedStamp(Database& db, const QString& number)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    bool found = false;
    const QString sql[] = {QStringLiteral("SELECT * FROM TB1 WHERE F1 = ? ORDER BY rowid"),
                           QStringLiteral("SELECT * FROM TB11 WHERE F0 = ? ORDER BY rowid")};
    for (int part = 0; part < 2; ++part) {
        Statement st(db, sql[part]);
        st.bind(0, number);
        while (st.step()) {
            found = found || part == 0;
            hash.addData(QByteArrayView("\x1e", 1));
            for (int c = 0; c < st.columnCount(); ++c) {
                if (st.isNull(c)) {
                    hash.addData(QByteArrayView("\x00", 1));
                    continue;
                }
                const QByteArrayView v = st.utf8(c);
                const qint64 size = v.size();
                hash.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
                hash.addData(v);
            }
        }
    }
    return found ? hash.result() : QByteArray();
}

const QString ChangedElsewhere = QStringLiteral("此单据在本窗口打开之后已被其他工作站修改、删除或审核，");

const QString AlreadyAudited = QStringLiteral("该单据已审核，不需要再次审核！");
const QString NotAudited = QStringLiteral("该单据未审核，不能执行撤销审核！");

// The first line (numbered from 1) that draws on stock without an attribute value although
// its goods' stock is kept under values only: every posted line of the goods carries one.
// Such a line could only draw on the empty value, which holds nothing. 0 when there is none.
int lineWithoutNeededAttribute(const Database& db, const QVector<StockDocLine>& lines)
{
    QStringList marks;
    QVariantList goods;
    for (const StockDocLine& l : lines)
        if (l.attr.trimmed().isEmpty() && !goods.contains(l.goods)) {
            marks << QStringLiteral("?");
            goods << l.goods;
        }
    if (goods.isEmpty())
        return 0;
    const RecordSet kept = db.query(QStringLiteral("SELECT upper(F1) FROM TB11 WHERE SRT <> '' AND F1 IN (%1) "
                                                   "GROUP BY upper(F1) HAVING min(ifnull(HPSX, '') <> '') = 1")
                                        .arg(marks.join(QLatin1Char(','))),
                                    goods);
    QSet<QString> byValue;
    for (int r = 0; r < kept.rowCount(); ++r)
        byValue.insert(kept.text(r, 0));
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].attr.trimmed().isEmpty() && byValue.contains(lines[i].goods))
            return i + 1;
    return 0;
}

}  // namespace

QString StockDocTypeName(const Database& db, const StockDocPolicy& policy)
{
    if (!policy.docType().configurable())
        return QString::fromUtf8(policy.docType().fixedName);
    return SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {policy.docType().nameSetting()}).trimmed();
}

QString StockDocNumberPrefix(const Database& db, const QString& typeName)
{
    return SqlScalar(db, QStringLiteral("SELECT shuoming FROM sysinfo WHERE setstr = ?"), {typeName}).trimmed();
}

QString StockDocNumberPrefix(const Database& db, const StockDocPolicy& policy, const QString& typeName)
{
    if (!policy.docType().configurable())
        return QString::fromUtf8(policy.docType().fixedPrefix);
    return StockDocNumberPrefix(db, typeName);
}

QString CounterPartyName(const Database& db, const QString& code)
{
    return SqlScalar(db, QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = ?"), {code});
}

QString GoodsName(const Database& db, const QString& code)
{
    return SqlScalar(db, QStringLiteral("SELECT F2 FROM TA4 WHERE F1 = ?"), {code});
}

double GoodsPrice(const Database& db, const QString& goods, const char* column)
{
    const std::optional<QVariant> v = db.scalarRow(
        QStringLiteral("SELECT %1 FROM TA4 WHERE F1 = ? LIMIT 1").arg(QLatin1String(column)), {goods});
    return v ? v->toDouble() : 0.0;
}

QStringList CounterPartyItems(const Database& db, const StockDocPolicy& policy)
{
    QString sql = QStringLiteral("SELECT F1, F2 FROM TA1 WHERE LB = ?");
    if (policy.docType().dualRoleUnits &&
        SettingValue(db, SetDualRoleUnits) == 1)
        sql += QStringLiteral(" OR SCSF = 1");
    const RecordSet rs = db.query(sql + QStringLiteral(" ORDER BY F1"), {code(policy.docType().counterParty)});
    QStringList items;
    for (int r = 0; r < rs.rowCount(); ++r)
        items << rs.text(r, 0).trimmed() + QLatin1Char('.') + rs.text(r, 1).trimmed();
    return items;
}

QString StockDocExtraItemCaption(const Database& db, const StockDocPolicy& policy)
{
    return SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ? AND setval <> 0"),
                     {policy.docType().extraItemSetting()});
}

QStringList StockDocListCells(const StockDocHeader& h, const QString& amountFormat)
{
    return {h.number,    DateText(h.date), h.unitName,    h.enteredBy,     h.auditor,
            FormatNumber(h.amount, amountFormat), h.note, h.unitCode, NumText(h.paid),
            QString::number(h.settlement), h.settlementText, h.extra};
}

QString OpeningListCondition()
{
    return QStringLiteral("TB1.F2 >= ? OR TB1.F6 IS NULL OR TB1.F6 = ''");
}

QVariantList OpeningListParams(const QDate& from)
{
    return {SqlDate(from)};
}

StockDocList ListStockDocs(const Database& db, const StockDocPolicy& policy, const QString& typeName,
                           const QString& condition, const QVariantList& params, const QString& amountFormat,
                           bool orphansToo)
{
    QString sql = QStringLiteral(
        "SELECT TB1.F1, TB1.F2, TA1.F2, TB1.F5, TB1.F6, TB1.F9, TB1.F10, TB1.F3, TB1.K9, TB1.K, TB1.Kstr, TB1.OD, "
        "TB1.BColor, TB1.FColor FROM TB1 ");
    sql += orphansToo ? QStringLiteral("LEFT JOIN") : QStringLiteral("JOIN");
    sql += QStringLiteral(" TA1 ON TB1.F3 = TA1.F1 WHERE ");
    if (!condition.trimmed().isEmpty())
        sql += QLatin1Char('(') + condition + QStringLiteral(") AND ");
    sql += QStringLiteral("TB1.LB = ? AND TB1.S2 = ? ORDER BY TB1.F2, TB1.F1");
    QVariantList all = params;
    all << code(policy.docType().kind) << typeName;

    StockDocList list;
    list.cells.reserve(4096);
    Statement st(const_cast<Database&>(db), sql);
    st.bindAll(all);
    const int decimals = PatternDecimals(amountFormat);
    const int sign = policy.docType().headerSign;
    while (st.step()) {
        for (int c = 0; c < StockDocListColumns; ++c) {
            const QVariant v = st.column(c);
            if (c == 1)
                list.cells.push_back(shownDate(v.toString()));
            else if (c == 5)
                list.cells.push_back(
                    QString::number(RoundToDecimals(sign * v.toDouble(), decimals), 'f', decimals));
            else if (c == 8 && sign < 0 && !v.isNull())
                list.cells.push_back(QString::number(0 - v.toDouble()));
            else
                list.cells.push_back(v.isNull() ? QString() : v.toString());
        }
        list.colours.emplace_back(st.column(12).toLongLong(), st.column(13).toLongLong());
        ++list.rows;
    }
    return list;
}

std::optional<QDate> LatestDocDate(const Database& db)
{
    // The greatest date text is the greatest date's: one step to the end of the date index.
    const std::optional<QVariant> latest = db.scalarRow(QStringLiteral("SELECT max(F2) FROM TB1"));
    if (!latest || latest->isNull())
        return std::nullopt;
    const QDate last = QDate::fromString(latest->toString().left(10), QStringLiteral("yyyy-MM-dd"));
    return last.isValid() ? std::optional<QDate>(last) : std::nullopt;
}

QVariant StoredColour(qint64 c)
{
    return c ? QVariant(c) : QVariant();
}

QString ChangedSinceLoadedText()
{
    return ChangedElsewhere + QStringLiteral("本次修改没有保存！\r\r请重新打开该单据再修改。");
}

QByteArray StoredDocStamp(Database& db, const QString& number)
{
    return storedStamp(db, number.trimmed());
}

std::optional<StockDoc> LoadStockDoc(const Database& db, const QString& number)
{
    const RecordSet head = db.query(
        QStringLiteral("SELECT TB1.F1, TB1.F2, TB1.F3, TA1.F2, TB1.F5, TB1.F6, TB1.F9, TB1.F10, TB1.K9, TB1.K, "
                       "TB1.Kstr, TB1.OD, TB1.SN, TB1.SRT, TB1.zzcp, TB1.zzsl, TB1.mcgg, TB1.LB, TB1.V1, TB1.BColor, TB1.FColor "
                       "FROM TB1 LEFT JOIN TA1 ON TA1.F1 = TB1.F3 "
                       "WHERE TB1.F1 = ? LIMIT 1"),
        {number.trimmed()});
    if (head.isEmpty())
        return std::nullopt;
    StockDoc doc;
    StockDocHeader& h = doc.head;
    h.number = head.text(0, 0);
    h.date = QDate::fromString(head.text(0, 1).left(10), QStringLiteral("yyyy-MM-dd"));
    h.unitCode = head.text(0, 2);
    h.unitName = head.text(0, 3);
    h.enteredBy = head.text(0, 4);
    h.auditor = head.text(0, 5);
    // Amounts are shown as typed: the type's stored header sign is undone.
    const int sign = storedHeaderSign(head.value(0, 17), head.value(0, 18));
    h.amount = sign * head.number(0, 6);
    h.note = head.text(0, 7);
    h.paid = sign * head.number(0, 8);
    h.settlement = int(head.number(0, 9));
    h.settlementText = head.text(0, 10);
    h.extra = head.text(0, 11);
    h.sn = head.number(0, 12);
    h.postingKey = head.text(0, 13);
    h.assemblyProduct = head.text(0, 14);
    h.assemblyQty = head.number(0, 15);
    h.assemblyName = head.text(0, 16);
    h.backColour = head.value(0, 19).toLongLong();
    h.foreColour = head.value(0, 20).toLongLong();
    // Lines are shown as typed too: the type's line sign is undone, whatever sign was typed.
    const std::optional<DocType> type =
        DocTypeFor(DocKind(head.value(0, 17).toInt()), !head.value(0, 18).isNull() && head.value(0, 18).toInt() == 0);
    const int lineSign = type ? DocTypeOf(*type).lineSign : 1;

    const RecordSet rs = db.query(
        QStringLiteral("SELECT TB11.F1, TB11.HPSX, TB11.F6, TB11.F7, TB11.F8, TB11.F9, TA4.F2, TA4.F5, TA4.F4, "
                       "TB11.BColor, TB11.FColor, TB11.YJ, TB11.ZK, TB11.Z5, TB11.F5 FROM TB11 LEFT JOIN TA4 ON TB11.F1 = TA4.F1 WHERE TB11.F0 = ? ORDER BY TB11.Oid, TB11.F1"),
        {h.number});
    for (int r = 0; r < rs.rowCount(); ++r) {
        StockDocLine l;
        l.goods = rs.text(r, 0);
        l.attr = rs.text(r, 1);
        l.qty = lineSign * rs.number(r, 2);
        l.price = rs.number(r, 3);
        l.amount = lineSign * rs.number(r, 4);
        l.remark = rs.text(r, 5);
        if (!rs.value(r, 6).isNull())
            l.name = rs.text(r, 6) + QLatin1Char('/') + rs.text(r, 7);
        l.unit = rs.text(r, 8);
        l.backColour = rs.value(r, 9).toLongLong();
        l.foreColour = rs.value(r, 10).toLongLong();
        l.originalPrice = rs.number(r, 11);
        l.discount = rs.number(r, 12);
        l.book = rs.number(r, 13);
        if (!rs.value(r, 14).isNull())
            l.counted = std::abs(rs.number(r, 14));
        doc.lines << l;
    }
    doc.loadedStamp = storedStamp(const_cast<Database&>(db), h.number);
    return doc;
}

QString SaveStockDoc(App& app, const StockDocPolicy& policy, const QString& typeName, StockDoc& doc,
                     const QString& oldNumber)
{
    if (policy.storage.service.save)
        return policy.storage.service.save(app, doc, oldNumber);
    Database& db = app.CurrentDatabase;
    StockDocHeader& h = doc.head;
    h.number = h.number.simplified().remove(QLatin1Char(' '));
    h.unitCode = upperCode(h.unitCode);

    QVector<StockDocLine> lines;
    for (StockDocLine l : doc.lines) {
        l.goods = upperCode(l.goods);
        if (l.goods.isEmpty())
            continue;
        if (app.HpsxName.isEmpty())
            l.attr.clear();
        lines << l;
    }
    if (lines.isEmpty())
        return QStringLiteral("不能保存空的单据！请录入") + policy.texts.lineNoun + app.GoodsTerm + QStringLiteral("！");
    if (policy.storage.refusesZeroQuantity) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].qty == 0)
                return QStringLiteral("第 %1 行,数量不能为 0 ！").arg(i + 1);
    }
    if (lines.size() > 999)
        return QStringLiteral("一张单据最多 999 行，请分成几张单据录入！");
    if (policy.storage.attributeOut && !app.HpsxName.isEmpty()) {
        if (const int row = lineWithoutNeededAttribute(db, lines))
            return QStringLiteral("第 %1 行[%2]的%3不能为空！").arg(row).arg(lines[row - 1].goods, app.HpsxName);
    }

    double total = 0;
    for (const StockDocLine& l : lines)
        total += l.amount;
    h.amount = RoundToPattern(total, app.AmountFormat);
    if (policy.balance.alwaysSettled) {
        h.settlement = 1;
    } else if (!policy.balance.settlementOffered) {
        h.settlement = 0;
        h.paid = 0;
    }
    h.settlementText = policy.balance.settlementText(h.paid, h.settlement);

    Transaction tx(db);
    const bool adding = oldNumber.trimmed().isEmpty();
    const std::optional<AuditState> taken = auditState(db, h.number);
    if (adding) {
        if (taken)
            return QStringLiteral("已经存在[") + h.number + QStringLiteral("[这个编码，请重新设置编码!");
    } else {
        const std::optional<AuditState> old = auditState(db, oldNumber.trimmed());
        if (old && old->audited())
            return QStringLiteral("此单据已经审核，不可修改！");
        if (doc.loadedStamp.isEmpty() || storedStamp(db, oldNumber.trimmed()) != doc.loadedStamp)
            return ChangedSinceLoadedText();
        if (taken && h.number.compare(oldNumber.trimmed(), Qt::CaseInsensitive) != 0)
            return QStringLiteral("已经存在[") + h.number + QStringLiteral("]这个编码，请重新设置编码!");
        db.execute(QStringLiteral("DELETE FROM TB11 WHERE F0 = ?"), {oldNumber.trimmed()});
        db.execute(QStringLiteral("DELETE FROM TB1 WHERE F1 = ?"), {oldNumber.trimmed()});
    }

    const int v1 = policy.department() ? 0 : 1;
    db.execute(QStringLiteral("INSERT INTO TB1 (SRT, OD, S2, SN, LB, H8, F1, F2, F3, F5, F6, F9, F10, K9, K, Kstr, "
                              "V1, zzcp, zzsl, mcgg, BColor, FColor) "
                              "VALUES ('', ?, ?, ?, ?, ?, ?, ?, ?, ?, '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {h.extra.trimmed(), typeName, h.sn, code(policy.docType().kind), now(), h.number, SqlDate(h.date), h.unitCode,
                h.enteredBy.trimmed(), policy.docType().headerSign * h.amount, h.note.trimmed(),
                policy.docType().headerSign * h.paid, h.settlement, h.settlementText, v1,
                h.assemblyProduct.trimmed(), h.assemblyQty, h.assemblyName, StoredColour(h.backColour),
                StoredColour(h.foreColour)});
    Statement insert(db, QStringLiteral("INSERT INTO TB11 (SRT, SH, HPSX, Oid, V1, SN, LB, F0, F1, F6, F7, F8, F9, "
                                        "R146, R147, R148, C236, C237, C238, R6, R7, R8, C6, C7, C8, YJ, ZK, "
                                        "BColor, FColor) "
                                        "VALUES ('', '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                        "?, ?, ?, ?, ?, ?)"));
    int oid = 0;
    for (const StockDocLine& l : lines) {
        const double q = policy.docType().lineSign * l.qty;
        const double a = policy.docType().lineSign * l.amount;
        const bool flowIn = policy.docType().flowSide == StockSide::In;
        const bool reportIn = policy.docType().reportSide == StockSide::In;
        const QVariant none;
        insert.bindAll({l.attr.trimmed(), ++oid, v1, h.sn, code(policy.docType().kind), h.number,
                        l.goods, q, l.price, a, l.remark,
                        flowIn ? QVariant(l.qty) : none, flowIn ? QVariant(l.price) : none,
                        flowIn ? QVariant(l.amount) : none, flowIn ? none : QVariant(l.qty),
                        flowIn ? none : QVariant(l.price), flowIn ? none : QVariant(l.amount),
                        reportIn ? QVariant(q) : none, reportIn ? QVariant(l.price) : none,
                        reportIn ? QVariant(a) : none, reportIn ? none : QVariant(-q),
                        reportIn ? none : QVariant(l.price), reportIn ? none : QVariant(-a), l.originalPrice,
                        l.discount, StoredColour(l.backColour), StoredColour(l.foreColour)});
        insert.exec();
    }
    doc.lines = lines;
    if (policy.storage.saveExtras)
        policy.storage.saveExtras(app, doc);
    tx.commit();
    ReleaseNumber(app, h.number);
    return {};
}

QString DeleteStockDoc(App& app, const QString& number, const QByteArray& loadedStamp)
{
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    const std::optional<AuditState> state = auditState(db, number.trimmed());
    if (state && state->audited())
        return QStringLiteral("该单据已审核，不能删除！");
    if (loadedStamp.isEmpty() || storedStamp(db, number.trimmed()) != loadedStamp)
        return ChangedElsewhere + QStringLiteral("没有删除！\r\r请重新打开该单据再操作。");
    db.execute(QStringLiteral("DELETE FROM TB1 WHERE F1 = ?"), {number.trimmed()});
    db.execute(QStringLiteral("DELETE FROM TB11 WHERE F0 = ?"), {number.trimmed()});
    tx.commit();
    ReleaseNumber(app, number.trimmed());
    return {};
}

bool StocktakingPending(const Database& db)
{
    return db.scalarRow(QStringLiteral("SELECT F1 FROM TB1 WHERE SRT = '' AND LB = ? LIMIT 1"),
                        {code(DocKind::Stocktaking)})
        .has_value();
}

BalanceMove StockDocBalanceMove(const Database& db, const StockDocPolicy& policy, const StockDocHeader& head)
{
    // The move follows the stored amounts: a return (stored negative) lowers the balance.
    const int sign = policy.docType().headerSign;
    BalanceMove m;
    if (head.settlement == 1 || policy.balance.alwaysSettled) {
        m.yf = sign * head.paid;
        m.fk = sign * head.paid;
    } else {
        m.yf = sign * head.amount;
        m.fk = sign * head.paid;
    }
    if (policy.balance.negateFor) {
        const std::optional<QVariant> kind =
            db.scalarRow(QStringLiteral("SELECT LB FROM TA1 WHERE F1 = ? LIMIT 1"), {head.unitCode});
        const bool missing = !kind || kind->isNull();
        if ((missing && policy.balance.negateUnknownUnit) ||
            (!missing && kind->toInt() == code(*policy.balance.negateFor))) {
            m.yf = -m.yf;
            m.fk = -m.fk;
        }
    }
    return m;
}

QString AuditStockDoc(App& app, const StockDocPolicy& policy, const QString& number)
{
    if (policy.storage.service.audit)
        return policy.storage.service.audit(app, number);
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    const std::optional<StockDoc> doc = LoadStockDoc(db, number);
    if (!doc)
        return QStringLiteral("找不到单据：") + number;
    if (!doc->head.auditor.trimmed().isEmpty() || !doc->head.postingKey.isEmpty())
        return AlreadyAudited;
    if (!doc->head.date.isValid())
        return QStringLiteral("单据 %1 的日期无效，不能审核！").arg(number);
    if (policy.audit.canAudit) {
        const QString refused = policy.audit.canAudit(app, *doc);
        if (!refused.isEmpty())
            return refused;
    }
    PostDocument(db, PostingRules::of(app), doc->head.number, app.OperatorName,
                 StockDocBalanceMove(db, policy, doc->head), policy.audit.outPrice);
    if (policy.audit.afterPosting)
        policy.audit.afterPosting(app, *doc);
    if (policy.audit.afterAudit)
        policy.audit.afterAudit(app, *doc);
    tx.commit();
    return {};
}

QString UnauditStockDoc(App& app, const StockDocPolicy& policy, const QString& number)
{
    if (policy.storage.service.unaudit)
        return policy.storage.service.unaudit(app, number);
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    const std::optional<StockDoc> doc = LoadStockDoc(db, number);
    if (!doc)
        return QStringLiteral("找不到单据：") + number;
    if (doc->head.postingKey.isEmpty())
        return NotAudited;
    if (policy.audit.canUnaudit) {
        const QString refused = policy.audit.canUnaudit(db);
        if (!refused.isEmpty())
            return refused;
    }
    UnpostDocument(db, PostingRules::of(app), doc->head.number, policy.audit.outPrice,
                   policy.audit.unauditKeepsLineAuditor);
    if (policy.audit.afterPosting)
        policy.audit.afterPosting(app, *doc);
    tx.commit();
    return {};
}

std::optional<StockDocLine> GoodsForLine(const App& app, const StockDocPolicy& policy, const QString& code,
                                         const QString& unit, const QDate& date)
{
    const RecordSet rs = app.CurrentDatabase.query(
        QStringLiteral("SELECT F1, F2, F5, F4, ifnull(F8, 0) FROM TA4 WHERE F1 = ? LIMIT 1"), {code.trimmed()});
    if (rs.isEmpty())
        return std::nullopt;
    StockDocLine l;
    l.goods = rs.text(0, 0);
    l.name = rs.text(0, 1) + QLatin1Char('/') + rs.text(0, 2);
    l.unit = rs.text(0, 3);
    l.book = rs.number(0, 4);
    const double price = policy.pricing.proposePrice ? policy.pricing.proposePrice(app, l.goods, unit, date) : 0.0;
    l.price = RoundToPattern(price, app.PriceFormat);
    l.proposed = l.price;
    l.qty = 1;
    l.amount = l.price;
    if (policy.pricing.discountSetting != 0) {
        l.originalPrice = l.price;
        l.discount = 1;
    }
    return l;
}

bool AttributeValueKnown(const Database& db, const QString& goods, const QString& value)
{
    return !value.trimmed().isEmpty() &&
           db.scalarRow(QStringLiteral("SELECT 1 FROM TB11 WHERE F1 = ? AND HPSX = ? LIMIT 1"),
                        {goods.trimmed(), value.trimmed()})
               .has_value();
}

void RollUpBomCost(App& app, const QStringList& goods)
{
    if (app.InboundRefPrice != 1 || app.CostPlusFeePrice != 1 || goods.isEmpty())
        return;
    Database& db = app.CurrentDatabase;
    QStringList marks;
    QVariantList params;
    for (const QString& g : goods) {
        if (g.trimmed().isEmpty())
            continue;
        marks << QStringLiteral("?");
        params << g;
    }
    if (params.isEmpty())
        return;
    const RecordSet products = db.query(
        QStringLiteral("SELECT DISTINCT F0 FROM Bom WHERE F1 IN (%1)").arg(marks.join(QLatin1Char(','))), params);
    for (int r = 0; r < products.rowCount(); ++r) {
        const QString p = products.text(r, 0);
        db.execute(QStringLiteral("UPDATE TA4 SET RkF7 = (1 + ifnull(F701, 0)) * ? WHERE F1 = ?"),
                   {BomCostSum(db, p), p});
    }
}

QString StockDocPrintRuleRefusal(const Database& db, bool audited)
{
    const int rule = int(std::lround(SettingValue(db, SetPrintRule)));
    if (rule == 1 && audited)
        return QStringLiteral("根据系统设置，单据只能在审核之前打印。该单据已审核，不能打印！");
    if (rule == 2 && !audited)
        return QStringLiteral("根据系统设置，单据只能在审核之后打印。该单据未审核，不能打印！");
    return {};
}

QPair<QString, QString> StockKey(const App& app, const QString& goods, const QString& attr)
{
    return {goods.trimmed().toUpper(), app.HpsxName.isEmpty() ? QString() : attr.trimmed()};
}

QString UnknownStripGoodsText(const QString& goodsTerm, const QString& code, const QString& codeHeader)
{
    return goodsTerm + QStringLiteral("资料库中不存在“") + code + QStringLiteral("”这个") + codeHeader +
           QStringLiteral("！\r\r请点击“？”按钮查找系统中存在的") + codeHeader +
           QStringLiteral("，\r\r或在基础数据中增加新的") + goodsTerm + QStringLiteral("资料！");
}

void RollUpLineBomCosts(App& app, const StockDoc& doc)
{
    QStringList goods;
    for (const StockDocLine& l : doc.lines)
        goods << l.goods;
    RollUpBomCost(app, goods);
}

std::optional<DocumentShortage> CheckDocumentStock(const App& app, const StockDoc& doc)
{
    if (app.NoOverIssue == 0)
        return std::nullopt;
    // Lines of one goods and attribute value, in the order of their first line.
    QMap<QPair<QString, QString>, int> firstLine;
    QVector<DocumentShortage> groups;
    for (int i = 0; i < doc.lines.size(); ++i) {
        const StockDocLine& l = doc.lines[i];
        const QPair<QString, QString> key = StockKey(app, l.goods, l.attr);
        auto it = firstLine.find(key);
        if (it == firstLine.end()) {
            it = firstLine.insert(key, groups.size());
            groups.append({i + 1, l.goods.trimmed(), key.second, 0, 0});
        }
        groups[*it].needed += l.qty;
    }
    for (DocumentShortage& g : groups) {
        QString attr = g.attr;
        const std::optional<StockShortage> s = CheckStockOnDate(app, g.goods, g.needed, doc.head.date, attr);
        if (s) {
            g.stock = s->stock;
            return g;
        }
    }
    return std::nullopt;
}

QString DocumentStockRefusal(App& app, const StockDoc& doc)
{
    const std::optional<DocumentShortage> s = CheckDocumentStock(app, doc);
    if (!s)
        return {};
    return StockShortageText(app, StockShortage{s->goods, doc.head.date, s->stock}) + QStringLiteral("\r\r") +
           QStringLiteral("在单据[%1]中，第 %2 行[%3]存量不足，不能出库!").arg(doc.head.number).arg(s->line).arg(s->goods);
}
