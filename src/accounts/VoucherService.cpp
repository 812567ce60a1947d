#include "accounts/VoucherService.h"

#include "core/App.h"
#include "core/DocNumbers.h"
#include "core/Permissions.h"
#include "core/Posting.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>

namespace {

QString timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QStringList headersOf(const QString& date, const QString& unit, const QString& method, const QString& amount)
{
    return {QStringLiteral("凭证号"), date,   unit,   QStringLiteral("相关单据"), method, amount,
            QStringLiteral("经手人"), QStringLiteral("制单人"), QStringLiteral("摘要"), QStringLiteral("记账时间")};
}

constexpr int MaxDailySerial = 9999;

// What a window's copy of a voucher is compared with: its key, its posting
// time and every stored value the window shows.
const QString VersionExpr = QStringLiteral(
    "ifnull(TB1.SRT,'')||'|'||ifnull(TB1.H8,'')||'|'||ifnull(TB1.F2,'')||'|'||ifnull(TB1.F3,'')||'|'||"
    "ifnull(TB1.YF,0)||'|'||ifnull(TB1.FK,0)||'|'||ifnull(TB1.S1,'')||'|'||ifnull(TB1.F10,'')");

}  // namespace

VoucherSide VoucherSideOf(DocKind kind)
{
    VoucherSide s;
    s.kind = kind;
    const bool supplier = kind == DocKind::AddedPayable || kind == DocKind::Payment;
    s.unitKind = supplier ? UnitKind::Supplier : UnitKind::Customer;
    s.rightDigit = supplier ? RightItem1 : RightItem2;
    const QString unit = supplier ? QStringLiteral("供应商") : QStringLiteral("客户");
    switch (kind) {
    case DocKind::AddedPayable:
    case DocKind::AddedReceivable:
        s.windowName = QStringLiteral("YingLst");
        s.caption = supplier ? QStringLiteral("增加应付") : QStringLiteral("增加应收");
        s.listTab = supplier ? QStringLiteral("应付账列表") : QStringLiteral("应收款列表");
        s.voucherTab = supplier ? QStringLiteral("应付账明细") : QStringLiteral("应收款明细");
        s.amountColumn = QStringLiteral("YF");
        s.prefix = supplier ? QStringLiteral("YF") : QStringLiteral("YS");
        s.defaultSummary = supplier ? QStringLiteral("增加应付") : QStringLiteral("增加应收");
        s.headers = headersOf(QStringLiteral("凭证日期"), unit,
                              supplier ? QStringLiteral("付款方式") : QStringLiteral("收款方式"),
                              supplier ? QStringLiteral("应付金额") : QStringLiteral("应收金额"));
        break;
    default:
        s.windowName = QStringLiteral("PayLst");
        s.caption = supplier ? QStringLiteral("付款给供应商") : QStringLiteral("收款");
        s.listTab = supplier ? QStringLiteral("支出列表") : QStringLiteral("收款列表");
        s.voucherTab = supplier ? QStringLiteral("支出凭证") : QStringLiteral("收款凭证");
        s.amountColumn = QStringLiteral("FK");
        s.prefix = supplier ? QStringLiteral("FK") : QStringLiteral("SK");
        s.dailyNumbers = true;
        s.proposesToday = true;
        s.defaultSummary = supplier ? QStringLiteral("付款") : QStringLiteral("收款");
        s.headers = headersOf(supplier ? QStringLiteral("付款日期") : QStringLiteral("收款日期"), unit,
                              supplier ? QStringLiteral("付款方式") : QStringLiteral("收款方式"),
                              supplier ? QStringLiteral("付款金额") : QStringLiteral("收款金额"));
        break;
    }
    return s;
}

QStringList VoucherHeaders(const VoucherSide& side, bool topAdministrator)
{
    QStringList headers = side.headers;
    if (!topAdministrator)
        headers[VoucherTimeColumn].clear();
    return headers;
}

namespace {

struct SortItem {
    int column;          // the list column it sorts by
    const char* clause;  // %1: the side's amount column
};
const SortItem SortItems[VoucherSortItems] = {
    {0, " order by TB1.F1"}, {1, " order by TB1.F2"}, {2, " order by TB1.F3"},  {5, " order by TB1.%1 desc"},
    {6, " order by TB1.S1"}, {7, " order by TB1.F5"}, {VoucherTimeColumn, " order by TB1.H8 desc"},
};

}  // namespace

QString VoucherSortCaption(const VoucherSide& side, int item)
{
    if (item == VoucherSortByTime)
        return QStringLiteral("&7.按记账时间");
    return QStringLiteral("&%1.按").arg(item + 1) + side.headers[SortItems[item].column];
}

QString VoucherSortClause(const VoucherSide& side, int item)
{
    const QString clause = QString::fromLatin1(SortItems[item].clause);
    return clause.contains(QLatin1String("%1")) ? clause.arg(side.amountColumn) : clause;
}

QStringList VoucherUnitChoices(const Database& db, const VoucherSide& side)
{
    const RecordSet rs = db.query(
        QStringLiteral("select F1||'.'||F2 from TA1 where LB=? and F2 is not null order by F1"), {code(side.unitKind)});
    QStringList choices;
    for (int r = 0; r < rs.rowCount(); ++r)
        if (!rs.value(r, 0).isNull())
            choices << rs.text(r, 0);
    return choices;
}

QVector<QueryField> VoucherQueryFields(const VoucherSide& side)
{
    const QStringList& h = side.headers;
    return {
        {h[0], QStringLiteral("TB1.F1"), QueryFieldType::Text},
        {h[1], QStringLiteral("TB1.F2"), QueryFieldType::Date},
        {h[2] + QStringLiteral("编码"), QStringLiteral("TB1.F3"), QueryFieldType::Text},
        {h[2] + QStringLiteral("名称"), QStringLiteral("TA1.F2"), QueryFieldType::Text},
        {h[5], QStringLiteral("TB1.") + side.amountColumn, QueryFieldType::Number},
        {h[6], QStringLiteral("TB1.S1"), QueryFieldType::Text},
        {h[7], QStringLiteral("TB1.F5"), QueryFieldType::Text},
        {h[8], QStringLiteral("TB1.F10"), QueryFieldType::Text},
    };
}

QString VoucherListHead(const VoucherSide& side)
{
    return QStringLiteral("select TB1.F1,TB1.F2,TB1.F3||'.'||TA1.F2 as Kdw,'','',TB1.%1,TB1.S1,TB1.F5,TB1.F10,"
                          "TB1.H8,%2 FROM TB1 LEFT JOIN TA1 ON TB1.F3=TA1.F1 ")
        .arg(side.amountColumn, VersionExpr);
}

QString VoucherListStatement(const QString& statement, const VoucherSide& side)
{
    static const QRegularExpression where(QStringLiteral("\\bwhere\\b"), QRegularExpression::CaseInsensitiveOption);
    const QString kind = QStringLiteral("TB1.LB=(%1)").arg(code(side.kind));
    const QRegularExpressionMatch m = where.match(statement);
    if (!m.hasMatch())
        return statement.trimmed() + QStringLiteral(" Where ") + kind;
    const QString condition = statement.mid(m.capturedEnd()).trimmed();
    const QString head = statement.left(m.capturedStart()).trimmed();
    if (condition.isEmpty())
        return head + QStringLiteral(" Where ") + kind;
    return head + QStringLiteral(" Where (") + condition + QStringLiteral(") and ") + kind;
}

QString VoucherOpeningStatement(const VoucherSide& side, const QDate& today)
{
    const QDate first(today.year(), today.month(), 1);
    return VoucherListStatement(VoucherListHead(side) + QStringLiteral(" Where TB1.F2>='") + SqlDate(first) +
                                    QLatin1Char('\''),
                                side);
}

VoucherList ListVouchers(const Database& db, const QString& statement, const QString& order)
{
    const RecordSet rs = db.query(statement + QLatin1Char(' ') + order + QStringLiteral(",TB1.SN,TB1.rowid"));
    VoucherList list;
    list.rows = rs.rowCount();
    list.cells.reserve(size_t(list.rows) * VoucherListColumns);
    for (int r = 0; r < list.rows; ++r) {
        for (int c = 0; c < VoucherListColumns; ++c) {
            const QVariant v = rs.value(r, c);
            QString text;
            if (c == 1) {
                QString stored = v.toString();
                try {
                    text = DateText(ParseDate(stored));
                } catch (const DateError&) {
                    text = v.toString();
                }
            } else if (c == 5) {
                text = v.isNull() ? QString() : GeneralNumberText(v.toDouble());
            } else {
                text = v.toString();
            }
            list.cells.push_back(text);
        }
        list.versions << rs.text(r, VoucherListColumns);
    }
    return list;
}

QString ProposeVoucherNumber(const Database& db, const VoucherSide& side, const QDate& today)
{
    if (!side.dailyNumbers)
        return NextDocNumber(db, side.prefix, QStringLiteral("TB1"), today);
    const QString stem = side.prefix + today.toString(QStringLiteral("yyMMdd"));
    const RecordSet used =
        db.query(QStringLiteral("select F1 from TB1 where F1>=? and F1<?"), {stem, stem + QChar(0xFFFF)});
    QSet<QString> taken;
    for (int r = 0; r < used.rowCount(); ++r)
        taken.insert(used.text(r, 0).toUpper());
    for (int serial = 1; serial <= MaxDailySerial; ++serial) {
        const QString candidate = stem + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
        if (!taken.contains(candidate) && IsDocNumberFree(db, candidate))
            return candidate;
    }
    return {};
}

std::optional<double> VoucherAmountValue(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return t.toDouble();
}

QString VoucherUnitCode(const QString& unitText)
{
    const int point = unitText.indexOf(QLatin1Char('.'));
    return point > 0 ? unitText.left(point) : unitText;
}

QDate VoucherDateValue(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString t = text;
    try {
        return ParseDate(t);
    } catch (const DateError&) {
        return {};
    }
}

namespace {

// The stored voucher of the side with that number: its key and unit, or nullopt.
struct StoredVoucher {
    QString key;
    QString unit;
    QString version;
};
std::optional<StoredVoucher> storedVoucher(const Database& db, const VoucherSide& side, const QString& number)
{
    const RecordSet rs =
        db.query(QStringLiteral("select SRT, F3, %1 from TB1 where F1=? and LB=? limit 1").arg(VersionExpr),
                 {number, code(side.kind)});
    if (rs.isEmpty())
        return std::nullopt;
    return StoredVoucher{rs.text(0, 0), rs.text(0, 1), rs.text(0, 2)};
}

// Re-chains the units a change touched: each from the lowest key it changed.
void rechain(Database& db, const QString& unitA, const QString& keyA, const QString& unitB, const QString& keyB)
{
    if (unitA.isEmpty()) {
        RepostUnitBalance(db, keyB, unitB);
        return;
    }
    if (unitA.compare(unitB, Qt::CaseInsensitive) == 0) {
        RepostUnitBalance(db, std::min(keyA, keyB), unitB);
        return;
    }
    RepostUnitBalance(db, keyA, unitA);
    RepostUnitBalance(db, keyB, unitB);
}

}  // namespace

QString StoredVoucherVersion(const Database& db, const VoucherSide& side, const QString& number)
{
    const std::optional<StoredVoucher> stored = storedVoucher(db, side, number);
    return stored ? stored->version : QString();
}

VoucherSaveResult SaveVoucher(App& app, const VoucherSide& side, VoucherInput& input, const LoadedVoucher* original)
{
    Database& db = app.CurrentDatabase;
    VoucherSaveResult result;
    input.number = input.number.toUpper();
    result.unitCode = VoucherUnitCode(input.unitText);

    Transaction tx(db);
    const QString name = SqlScalar(db, QStringLiteral("select F2 from TA1 where F1=? and LB=?"),
                                   {result.unitCode, code(side.unitKind)});
    if (name.isEmpty()) {
        result.status = VoucherSaveStatus::UnitUnknown;
        return result;
    }
    result.unitText = result.unitCode + QLatin1Char('.') + name;
    const std::optional<double> amount = VoucherAmountValue(input.amountText);
    if (!amount || *amount == 0) {
        result.status = VoucherSaveStatus::BadAmount;
        return result;
    }
    result.amount = *amount;
    const QString holder = SqlScalar(db, QStringLiteral("select F1 from TB1 where F1=? and F1<>?"),
                                     {input.number, original ? original->number : QString()});
    if (!holder.isEmpty()) {
        result.status = VoucherSaveStatus::NumberTaken;
        return result;
    }

    SizeWalkCache(db);
    QString oldUnit;
    QString oldKey;
    if (original) {
        const std::optional<StoredVoucher> stored = storedVoucher(db, side, original->number);
        if (!stored || stored->key.isEmpty() || stored->version != original->version) {
            result.status = VoucherSaveStatus::Stale;
            return result;
        }
        oldUnit = stored->unit;
        oldKey = stored->key;
    }
    // The key is taken while the stored row still holds its own: an edited voucher never
    // gets back the key it had, so no window's copy of it can match the new row.
    result.key = NextPostingKey(db, input.date);
    if (original)
        db.execute(QStringLiteral("delete from TB1 where F1=? and LB=?"), {original->number, code(side.kind)});
    db.execute(QStringLiteral("update sysinfo set setval=setval+1 where ID=?"), {int(SetChangeCounter)});
    result.postedAt = timeStamp();
    const bool raises = side.amountColumn == QLatin1String("YF");
    db.execute(QStringLiteral("insert into TB1 (S2,SRT,LB,F1,F2,F3,YF,FK,K,S1,F5,F6,F10,H8) "
                              "values (?,?,?,?,?,?,?,?,0,?,?,?,?,?)"),
               {input.summary.isEmpty() ? side.defaultSummary : input.summary, result.key, code(side.kind),
                input.number, SqlDate(input.date), result.unitCode, raises ? result.amount : 0.0,
                raises ? 0.0 : result.amount, input.handler, app.OperatorName, app.OperatorName, input.summary,
                result.postedAt});
    rechain(db, oldUnit, oldKey, result.unitCode, result.key);
    result.version = storedVoucher(db, side, input.number)->version;
    tx.commit();
    input.unitText = result.unitText;
    return result;
}

VoucherDeleteStatus DeleteVoucher(Database& db, const VoucherSide& side, const LoadedVoucher& loaded)
{
    Transaction tx(db);
    const std::optional<StoredVoucher> stored = storedVoucher(db, side, loaded.number);
    if (!stored || stored->key.isEmpty())
        return VoucherDeleteStatus::NoKey;
    if (stored->version != loaded.version)
        return VoucherDeleteStatus::Stale;
    SizeWalkCache(db);
    db.execute(QStringLiteral("delete from TB1 where F1=? and LB=?"), {loaded.number, code(side.kind)});
    RepostUnitBalance(db, stored->key, stored->unit);
    tx.commit();
    return VoucherDeleteStatus::Deleted;
}

QString VoucherRefusalText(const VoucherSide& side, const VoucherSaveResult& result, const VoucherInput& input)
{
    const QStringList& h = side.headers;
    switch (result.status) {
    case VoucherSaveStatus::UnitUnknown:
        return QStringLiteral("在系统资料库中不存在[") + result.unitCode + QStringLiteral("]这个") + h[2] +
               QStringLiteral("！\r\r请填写或选择有效的") + h[2] + QStringLiteral("编码！");
    case VoucherSaveStatus::BadAmount:
        return QStringLiteral("请填写") + h[5] + QStringLiteral("!");
    case VoucherSaveStatus::NumberTaken:
        return QStringLiteral("系统中已经存在 ") + input.number + QStringLiteral(" 这个") + h[0] + QStringLiteral("！");
    case VoucherSaveStatus::Stale:
        return QStringLiteral("该凭证已被其他用户修改或删除，请取消后重新查询！");
    case VoucherSaveStatus::Saved:
        break;
    }
    return {};
}
