#include "basicdata/UnitPicker.h"

#include "core/Kinds.h"
#include "core/Settings.h"
#include "core/SettingsCatalogue.h"
#include "core/SqlText.h"
#include "platform/Database.h"

namespace {

const char* const BoxColumns[6] = {"F1", "F2", "F3", "F4", "F5", "F7"};

QString likeContains(const QString& safeText)
{
    return QLatin1Char('%') + LikePattern(safeText, Wildcards::StarOnly) + QLatin1Char('%');
}

}  // namespace

bool PickerOffersDualRole(const Database& db, int pickKind, bool noDualRole)
{
    if (pickKind == code(UnitKind::Department) || noDualRole)
        return false;
    return SettingValue(db, SetDualRoleUnits) == 1;
}

RecordList ListPickerUnits(Database& db, int pickKind, bool withDualRole, const UnitPickerBoxes& boxes)
{
    QString kind;
    QVariantList params;
    if (pickKind == PickSuppliersAndDepartments) {
        kind = QStringLiteral("LB <> ? AND LB <> ?");
        params << code(UnitKind::Customer) << code(UnitKind::Reserved);
    } else if (pickKind == PickCustomersAndDepartments) {
        kind = QStringLiteral("LB <> ? AND LB <> ?");
        params << code(UnitKind::Supplier) << code(UnitKind::Reserved);
    } else {
        kind = QStringLiteral("LB = ?");
        params << pickKind;
    }
    if (withDualRole)
        kind += QStringLiteral(" OR SCSF = 1");
    QString sql = QStringLiteral("SELECT F1, F2, F3, F4, F5, F7 FROM TA1 WHERE (") + kind + QLatin1Char(')');
    for (int i = 0; i < 6; ++i) {
        const QString safe = SqlSafe(boxes[size_t(i)]);
        if (safe.isEmpty())
            continue;
        sql += QStringLiteral(" AND %1 LIKE ? ESCAPE '\\'").arg(QLatin1String(BoxColumns[i]));
        params << likeContains(safe);
    }
    sql += QStringLiteral(" ORDER BY F1");
    return ListRecords(db, sql, 6, -1, params);
}

int QuickAddKind(int pickKind)
{
    switch (pickKind) {
    case code(UnitKind::Supplier):
    case code(UnitKind::Customer):
    case code(UnitKind::Department):
        return pickKind;
    case PickSuppliersAndDepartments:
        return code(UnitKind::Supplier);
    case PickCustomersAndDepartments:
        return code(UnitKind::Customer);
    default:
        return -1;
    }
}

RecordSaveResult QuickAddUnit(Database& db, int pickKind, UnitPickerBoxes& boxes)
{
    const int kind = QuickAddKind(pickKind);
    if (SqlSafe(boxes[0]).isEmpty())
        return {RecordSaveStatus::EmptyCode, {}};
    boxes[0] = NormaliseCode(boxes[0]);
    if (SqlSafe(boxes[1]).isEmpty())
        return {RecordSaveStatus::EmptyName, {}};
    if (boxes[0].contains(QLatin1Char('.')))
        return {RecordSaveStatus::CodeHasPoint, {}};
    const std::optional<QVariant> holder =
        db.scalarRow(QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = ? LIMIT 1"), {boxes[0]});
    if (holder)
        return {RecordSaveStatus::CodeTaken, holder->toString()};
    for (int i = 2; i < 6; ++i)
        SqlSafe(boxes[size_t(i)]);
    if (kind < 0)
        throw DbError(-1, QStringLiteral("这个列表不能新增档案。"));
    db.execute(QStringLiteral("INSERT INTO TA1 (LB, F1, F2, F3, F4, F5, F7, F6, NK) VALUES (?, ?, ?, ?, ?, ?, ?, ' ', 0)"),
               {kind, boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5]});
    return {};
}

QString UnitKeywordStatement(const QString& head, const QString& keyword)
{
    const QString safe = SqlSafe(keyword);
    if (safe.isEmpty())
        return head;
    const QString pattern = SqlLiteral(likeContains(safe)) + QStringLiteral(" ESCAPE '\\'");
    QString where = QStringLiteral(" Where (F1 like ") + pattern;
    for (int n = 2; n <= 7; ++n)
        where += QStringLiteral(" or F%1 like ").arg(n) + pattern;
    return head + where + QStringLiteral(") ");
}
