#include "basicdata/RecordList.h"

#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <QRegularExpression>

RecordList ListRecords(const Database& db, const QString& sql, int textCols, int numberCol,
                       const QVariantList& params)
{
    const RecordSet rs = db.query(sql, params);
    RecordList list;
    list.rows = rs.rowCount();
    list.cols = numberCol >= textCols ? numberCol + 1 : textCols;
    list.cells.reserve(size_t(list.rows) * size_t(list.cols));
    const int back = rs.columnIndex(QStringLiteral("BColor"));
    const int fore = rs.columnIndex(QStringLiteral("FColor"));
    for (int r = 0; r < list.rows; ++r) {
        for (int c = 0; c < list.cols; ++c) {
            if (c == numberCol)
                list.cells.push_back(NumText(rs.value(r, c).toDouble()));
            else if (c < rs.columnCount())
                list.cells.push_back(rs.text(r, c));
            else
                list.cells.emplace_back();
        }
        const qint64 b = back >= 0 ? rs.value(r, back).toLongLong() : 0;
        const qint64 f = fore >= 0 ? rs.value(r, fore).toLongLong() : 0;
        if (b != 0 || f != 0)
            list.colours.push_back({r, b, f});
    }
    return list;
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

double TypedNumber(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char(' '));
    t.remove(QLatin1Char('\t'));
    t.remove(QLatin1Char('\n'));
    t.remove(QLatin1Char('\r'));
    return LeadingNumber(t);
}
