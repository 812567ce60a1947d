#include "core/StatementFilter.h"

#include "core/SqlText.h"

StatementFilter& StatementFilter::code(const QString& column, const QString& typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return *this;
    if (t.contains(QLatin1Char('*')) || t.contains(QLatin1Char('?'))) {
        m_sql += QStringLiteral(" AND %1 LIKE ? ESCAPE '\\'").arg(column);
        m_params << LikePattern(t);
    } else {
        m_sql += QStringLiteral(" AND %1 = ?").arg(column);
        m_params << t;
    }
    return *this;
}

StatementFilter& StatementFilter::like(const QString& column, const QString& typed, Match match)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return *this;
    m_sql += QStringLiteral(" AND %1 LIKE ? ESCAPE '\\'").arg(column);
    m_params << LikePattern(match == Anywhere ? QStringLiteral("*") + t + QStringLiteral("*") : t, Wildcards::StarOnly);
    return *this;
}

StatementFilter& StatementFilter::equals(const QString& column, const QString& typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return *this;
    m_sql += QStringLiteral(" AND %1 = ?").arg(column);
    m_params << t;
    return *this;
}

StatementFilter& StatementFilter::present(const QString& column)
{
    m_sql += QStringLiteral(" AND %1 IS NOT NULL").arg(column);
    return *this;
}

QString StatementFilter::codePart(const QString& text)
{
    const QString t = text.trimmed();
    const int dot = t.indexOf(QLatin1Char('.'));
    return dot >= 1 ? t.left(dot) : t;
}
