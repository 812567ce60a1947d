#include "basicdata/Units.h"

#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QRegularExpression>

QString NormaliseCode(const QString& typed)
{
    QString code = SqlSafe(typed.toUpper());
    code.remove(QLatin1Char(' '));
    code.remove(QChar(0x3000));  // the full-width blank is a blank too
    return SqlSafe(code);
}

namespace {

void cleanTexts(UnitRecord& r)
{
    r.code = r.code.toUpper();
    for (QString* t : {&r.code, &r.name, &r.address, &r.phone, &r.fax, &r.contact, &r.remark})
        SqlSafe(*t);
    if (r.mobile)
        SqlSafe(*r.mobile);
}

// The name of the unit holding `code`; nullopt when no unit holds it. A unit
// without a name still holds its code.
std::optional<QString> holderOf(const Database& db, const QString& table, const QString& code)
{
    const std::optional<QVariant> row =
        db.scalarRow(QStringLiteral("SELECT F2 FROM %1 WHERE F1 = ? LIMIT 1").arg(table), {code});
    if (!row)
        return std::nullopt;
    return row->toString();
}

void insertUnit(Database& db, const UnitRecord& r, int kind)
{
    db.execute(QStringLiteral("INSERT INTO TA1 (F1, F2, F3, F4, F5, F6, F7, NK, LB, MT, SCSF, DocDir) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {r.code, r.name, r.address, r.phone, r.fax, r.contact, r.remark, BoxValue(r.opening), kind,
                r.mobile ? QVariant(*r.mobile) : QVariant(), r.dualRole && *r.dualRole ? 1 : 0,
                r.docDir ? QVariant(*r.docDir) : QVariant()});
}

// Updates the stored row in place; false when it is gone (deleted meanwhile elsewhere).
bool updateUnit(Database& db, const UnitRecord& r, int kind, const QString& listedCode)
{
    QString sql = QStringLiteral("UPDATE TA1 SET F1 = ?, F2 = ?, F3 = ?, F4 = ?, F5 = ?, F6 = ?, F7 = ?, NK = ?");
    QVariantList params{r.code, r.name, r.address, r.phone, r.fax, r.contact, r.remark, BoxValue(r.opening)};
    if (r.mobile) {
        sql += QStringLiteral(", MT = ?");
        params << *r.mobile;
    }
    if (r.dualRole) {
        sql += QStringLiteral(", SCSF = ?");
        params << (*r.dualRole ? 1 : 0);
    }
    if (r.docDir) {
        sql += QStringLiteral(", DocDir = ?");
        params << *r.docDir;
    }
    sql += QStringLiteral(" WHERE F1 = ? AND LB = ?");
    params << listedCode << kind;
    db.execute(sql, params);
    return db.changes() > 0;
}

void renameUnit(Database& db, const QString& from, const QString& to)
{
    db.execute(QStringLiteral("UPDATE TB1 SET F3 = ? WHERE F3 = ?"), {to, from});
    db.execute(QStringLiteral("UPDATE TA4 SET Gys = ? WHERE Gys = ?"), {to, from});
    db.execute(QStringLiteral("UPDATE KhPrice SET F0 = ? WHERE F0 = ?"), {to, from});
}

}  // namespace

RecordSaveResult SaveUnit(Database& db, UnitRecord& r, const UnitSaveRequest& req)
{
    cleanTexts(r);
    if (r.code.isEmpty())
        return {RecordSaveStatus::EmptyCode, {}};
    if (r.name.isEmpty())
        return {RecordSaveStatus::EmptyName, {}};
    r.code = NormaliseCode(r.code);
    if (r.code.contains(QLatin1Char('.')))
        return {RecordSaveStatus::CodeHasPoint, {}};
    const std::optional<QString> holder = holderOf(db, QStringLiteral("TA1"), r.code);
    if (holder && (req.adding || r.code.compare(req.listedCode.trimmed(), Qt::CaseInsensitive) != 0))
        return {RecordSaveStatus::CodeTaken, *holder};

    Transaction tx(db);
    if (req.adding || req.listedCode.trimmed().isEmpty() || !updateUnit(db, r, req.kind, req.listedCode.trimmed()))
        insertUnit(db, r, req.kind);
    const QString before = req.codeBeforeEdit.trimmed();
    if (!req.adding && !before.isEmpty() && before != r.code)
        renameUnit(db, before, r.code);
    if (req.quotes)
        ReplaceQuotes(db, r.code, *req.quotes);
    if (!req.adding && req.rechainBalance)
        RepostUnitBalance(db, QString(), r.code);
    tx.commit();
    return {};
}

UnitExtras LoadUnitExtras(const Database& db, const QString& code)
{
    UnitExtras e;
    const RecordSet rs = db.query(QStringLiteral("SELECT MT, SCSF, DocDir FROM TA1 WHERE F1 = ? LIMIT 1"), {code});
    if (rs.isEmpty())
        return e;
    e.mobile = rs.text(0, 0);
    e.dualRole = rs.value(0, 1).toDouble() == 1;
    e.docDir = rs.text(0, 2);
    return e;
}

bool UnitCodeInUse(const Database& db, const QString& code)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE F3 = ? LIMIT 1"), {code.trimmed()}).has_value();
}

bool OtherUnitExists(const Database& db, const QString& code)
{
    return db.scalarRow(QStringLiteral("SELECT 1 FROM TA1 WHERE F1 <> ? LIMIT 1"), {code.trimmed()}).has_value();
}

void DeleteUnit(Database& db, const QString& code, int kind)
{
    Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM TA1 WHERE F1 = ? AND LB = ?"), {code.trimmed(), kind});
    db.execute(QStringLiteral("DELETE FROM KhPrice WHERE F0 = ?"), {code.trimmed()});
    tx.commit();
}

QString UnitListStatement(const QString& select, int unitKind)
{
    static const QRegularExpression where(QStringLiteral("\\bwhere\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = where.match(select, 1);
    const QString kind = QString::number(unitKind);
    if (!m.hasMatch())
        return select + QStringLiteral(" Where LB=") + kind + QStringLiteral(" order by F1");
    const QString condition = select.mid(m.capturedEnd()).trimmed();
    if (condition.isEmpty())
        return select.left(m.capturedStart()) + QStringLiteral(" Where LB=") + kind + QStringLiteral(" order by F1");
    return select.left(m.capturedStart()) + QStringLiteral(" Where (") + condition + QStringLiteral(") And LB=")
           + kind + QStringLiteral(" order by F1");
}
