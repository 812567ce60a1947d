#include "accounts/LedgerService.h"

#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"

#include <QHash>

namespace {

// The unit filter of a ledger statement on `column`, with its parameters.
QString unitFilter(const QString& column, UnitKind unitKind, const QString& codeFilter, QVariantList& params)
{
    QString sql = QStringLiteral(" %1.LB = ?").arg(column);
    params << code(unitKind);
    if (!codeFilter.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND %1.F1 LIKE ? ESCAPE '\\'").arg(column);
        params << LikePattern(codeFilter.trimmed());
    }
    return sql;
}

}  // namespace

std::vector<GeneralLedgerRow> GeneralLedger(Database& db, UnitKind unitKind, const QString& codeFilter,
                                            const QDate& from, const QDate& to)
{
    SizeWalkCache(db);
    // Posting keys begin with the date, so the keys before the period are those below its first day's prefix.
    // The opening of a unit without rows in the period is the balance after its last row that went to the
    // account (settlement mode 0; a row without a mode counts as mode 0): a settled row is not one.
    const QString before = PostingKeyPrefix(from);
    QVariantList unitParams{before};
    const QString units = QStringLiteral(
        "SELECT TA1.F1, TA1.F2, TA1.NK, (SELECT QM FROM TB1 WHERE TB1.F3 = TA1.F1 AND TB1.SRT <> '' AND TB1.SRT < ? "
        "AND TB1.F6 <> '' AND IFNULL(TB1.K, 0) = 0 ORDER BY TB1.SRT DESC, TB1.rowid DESC LIMIT 1) FROM TA1 WHERE") +
                          unitFilter(QStringLiteral("TA1"), unitKind, codeFilter, unitParams) +
                          QStringLiteral(" ORDER BY TA1.F1");
    const RecordSet unitRows = db.query(units, unitParams);

    std::vector<GeneralLedgerRow> rows;
    rows.reserve(size_t(unitRows.rowCount()));
    QHash<QString, size_t> byCode;
    for (int r = 0; r < unitRows.rowCount(); ++r) {
        GeneralLedgerRow row;
        row.code = unitRows.text(r, 0);
        row.name = unitRows.value(r, 1).isNull() || unitRows.text(r, 1).isEmpty() ? row.code : unitRows.text(r, 1);
        const QVariant last = unitRows.value(r, 3);
        row.opening = last.isNull() ? unitRows.number(r, 2) : last.toDouble();
        row.closing = row.opening;
        byCode.insert(row.code.toUpper(), rows.size());
        rows.push_back(row);
    }

    QVariantList params{SqlDate(from), SqlDate(to)};
    const QString period =
        QStringLiteral("SELECT TB1.F3, TB1.QC, TB1.YF, TB1.FK, TB1.QM FROM TB1 JOIN TA1 ON TA1.F1 = TB1.F3 "
                       "WHERE TB1.F2 >= ? AND TB1.F2 <= ? AND TB1.SRT <> '' AND TB1.F6 <> '' AND") +
        unitFilter(QStringLiteral("TA1"), unitKind, codeFilter, params) +
        QStringLiteral(" ORDER BY TB1.F3, TB1.SRT, TB1.rowid");
    Statement st(db, period);
    st.bindAll(params);
    QString current;
    GeneralLedgerRow* row = nullptr;
    while (st.step()) {
        const QString unit = st.text(0).toUpper();
        if (unit != current) {
            current = unit;
            const auto it = byCode.constFind(unit);
            row = it == byCode.constEnd() ? nullptr : &rows[*it];
            if (row) {
                row->opening = st.real(1);
                row->increase = 0;
                row->decrease = 0;
            }
        }
        if (!row)
            continue;
        row->increase += st.real(2);
        row->decrease += st.real(3);
        row->closing = st.real(4);
    }
    return rows;
}

std::vector<DetailLedgerLine> DetailLedger(Database& db, UnitKind unitKind, const QString& codeFilter,
                                           const QDate& from, const QDate& to)
{
    SizeWalkCache(db);
    QVariantList params{SqlDate(from), SqlDate(to)};
    const QString sql =
        QStringLiteral("SELECT TB1.F3, TA1.F2, TB1.F1, TB1.S2, TB1.QC, TB1.YF, TB1.FK, TB1.QM FROM TB1 "
                       "JOIN TA1 ON TA1.F1 = TB1.F3 WHERE TB1.F2 >= ? AND TB1.F2 <= ? AND TB1.SRT <> '' "
                       "AND TB1.F6 <> '' AND") +
        unitFilter(QStringLiteral("TA1"), unitKind, codeFilter, params) +
        QStringLiteral(" ORDER BY TB1.F3, TB1.SRT, TB1.rowid");
    Statement st(db, sql);
    st.bindAll(params);
    std::vector<DetailLedgerLine> lines;
    DetailLedgerLine subtotal;
    const auto closeUnit = [&] {
        if (!subtotal.code.isEmpty())
            lines.push_back(subtotal);
    };
    while (st.step()) {
        DetailLedgerLine line;
        line.code = st.text(0);
        line.name = st.isNull(1) || st.text(1).isEmpty() ? line.code : st.text(1);
        line.number = st.text(2);
        line.business = st.text(3);
        line.before = st.real(4);
        line.increase = st.real(5);
        line.decrease = st.real(6);
        line.after = st.real(7);
        if (line.code.compare(subtotal.code, Qt::CaseInsensitive) != 0 || subtotal.code.isEmpty()) {
            closeUnit();
            line.firstOfUnit = true;
            subtotal = DetailLedgerLine{};
            subtotal.code = line.code;
            subtotal.name = line.name;
            subtotal.business = DetailSubtotalText;
            subtotal.subtotal = true;
            subtotal.before = line.before;
        }
        subtotal.increase += line.increase;
        subtotal.decrease += line.decrease;
        subtotal.after = line.after;
        lines.push_back(line);
    }
    closeUnit();
    return lines;
}
