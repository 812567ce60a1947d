#include "admin/Operators.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "core/SqlText.h"
#include "platform/Database.h"

namespace {

QVariantList wordParams(const std::array<int, 8>& words)
{
    QVariantList params;
    for (int w : words)
        params << w;
    return params;
}

// Validates an entry and forces every permission for "001".
std::optional<OperatorSaveResult> refusal(const App& app, const OperatorEntry& e)
{
    OperatorSaveResult r;
    if (!MayManageOperators(app))
        r.status = OperatorSaveStatus::NoRight;
    else if (e.code.isEmpty())
        r.status = OperatorSaveStatus::EmptyAccount;
    else if (e.name.isEmpty())
        r.status = OperatorSaveStatus::EmptyName;
    else
        return std::nullopt;
    return r;
}

OperatorEntry cleaned(const OperatorEntry& entry)
{
    OperatorEntry e;
    e.code = OperatorText(entry.code);
    e.name = OperatorText(entry.name);
    e.words = entry.words;
    if (e.code == TopAdministrator)
        e.words.fill(FullPermissionWord);
    return e;
}

// The name of the operator holding an account; nullopt when the account is free.
std::optional<QString> holderOf(const Database& db, const QString& code)
{
    const std::optional<QVariant> row = db.scalarRow(QStringLiteral("SELECT F2 FROM TE1 WHERE F1 = ?"), {code});
    if (!row)
        return std::nullopt;
    return row->toString();
}

void insertOperator(Database& db, const OperatorEntry& e, const QString& password)
{
    db.execute(QStringLiteral("INSERT INTO TE1 (F3, F1, F2, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               QVariantList{password, e.code, e.name} + wordParams(e.words));
}

}  // namespace

QVector<OperatorListRow> ListOperators(const Database& db)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, F2 FROM TE1 ORDER BY F1"));
    QVector<OperatorListRow> rows;
    rows.reserve(rs.rowCount());
    for (int r = 0; r < rs.rowCount(); ++r)
        rows.push_back({rs.text(r, 0), rs.text(r, 1)});
    return rows;
}

std::optional<OperatorRecord> LoadOperator(const Database& db, const QString& code)
{
    const RecordSet rs = db.query(
        QStringLiteral("SELECT F61, F62, F63, F64, F65, F66, F67, F68, F3, F2 FROM TE1 WHERE F1 = ?"), {code.trimmed()});
    if (rs.isEmpty())
        return std::nullopt;
    OperatorRecord op;
    op.code = code.trimmed();
    for (int g = 0; g < 8; ++g)
        op.words[g] = int(rs.value(0, g).toDouble());
    op.password = rs.text(0, 8);
    op.name = rs.text(0, 9);
    return op;
}

bool MayManageOperators(const App& app)
{
    return app.OperatorCode == TopAdministrator || HasRight(app, RightSystem, RightGroupOn);
}

QString OperatorText(const QString& typed)
{
    return SqlSafe(typed).toUpper();
}

OperatorSaveResult AddOperator(App& app, const OperatorEntry& entry)
{
    OperatorEntry e = cleaned(entry);
    if (auto refused = refusal(app, e))
        return *refused;
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    OperatorSaveResult r;
    if (const auto holder = holderOf(db, e.code)) {
        r.status = OperatorSaveStatus::AccountTaken;
        r.holderName = *holder;
        return r;
    }
    insertOperator(db, e, QString());
    tx.commit();
    r.saved = e;
    return r;
}

OperatorSaveResult UpdateOperator(App& app, const QString& listedCode, const OperatorEntry& entry,
                                  const QString& keptPassword)
{
    OperatorEntry e = cleaned(entry);
    if (auto refused = refusal(app, e))
        return *refused;
    const QString listed = listedCode.trimmed();
    // The top administrator's account cannot change.
    if (listed == TopAdministrator) {
        e.code = TopAdministrator;
        e.words.fill(FullPermissionWord);
    }
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    OperatorSaveResult r;
    if (e.code.compare(listed, Qt::CaseInsensitive) != 0) {
        if (const auto holder = holderOf(db, e.code)) {
            r.status = OperatorSaveStatus::AccountTaken;
            r.holderName = *holder;
            return r;
        }
    }
    db.execute(QStringLiteral("UPDATE TE1 SET F1 = ?, F2 = ?, F61 = ?, F62 = ?, F63 = ?, F64 = ?, F65 = ?, "
                              "F66 = ?, F67 = ?, F68 = ? WHERE F1 = ?"),
               QVariantList{e.code, e.name} + wordParams(e.words) + QVariantList{listed});
    if (db.changes() == 0)
        insertOperator(db, e, keptPassword);
    tx.commit();
    r.saved = e;
    return r;
}

OperatorDeleteStatus DeleteOperator(App& app, const QString& code)
{
    const QString account = code.trimmed();
    if (account == TopAdministrator)
        return OperatorDeleteStatus::TopAdministrator;
    if (!MayManageOperators(app))
        return OperatorDeleteStatus::NoRight;
    app.CurrentDatabase.execute(QStringLiteral("DELETE FROM TE1 WHERE F1 = ?"), {account});
    return OperatorDeleteStatus::Deleted;
}
