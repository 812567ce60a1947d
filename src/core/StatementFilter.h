#pragma once
// The conditions a report or list adds to its statement over document lines
// and goods from what the operator typed or chose. Each condition is appended
// as " AND ..." to the statement, its value bound in the same order, never
// spliced into the text; a typed text is trimmed first and an empty one adds
// nothing. Column names come from the program, never from the operator.
//
//   QString sql = "SELECT ... FROM TB11 l JOIN TA4 g ON g.F1 = l.F1 WHERE l.SRT >= ?";
//   QVariantList params{from};
//   StatementFilter(sql, params).code("l.F1", typedCode).like("g.F2", typedName, StatementFilter::Anywhere);

#include <QString>
#include <QVariantList>

class StatementFilter {
public:
    enum Match { Whole, Anywhere };

    StatementFilter(QString& sql, QVariantList& params) : m_sql(sql), m_params(params) {}

    // A code or a pattern: equality for a plain code (code columns compare
    // without regard to case, as LIKE does, and their index serves), LIKE
    // for a pattern with "*" or "?".
    StatementFilter& code(const QString& column, const QString& typed);
    // LIKE with "*" as the only wildcard: the text whole, or found anywhere.
    StatementFilter& like(const QString& column, const QString& typed, Match match = Whole);
    // Equality with the text.
    StatementFilter& equals(const QString& column, const QString& typed);
    // The column holds a value.
    StatementFilter& present(const QString& column);

    // The code of a list text "code.name": the text before a "." found at
    // the second position or later, else the whole (trimmed) text.
    static QString codePart(const QString& text);

private:
    QString& m_sql;
    QVariantList& m_params;
};
