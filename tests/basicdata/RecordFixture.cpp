#include "RecordFixture.h"

#include "platform/Database.h"
#include "platform/Grid.h"

void RecordBooks::setSetting(int id, double value)
{
    db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {id});
    db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (?, ?)"), {id, value});
}

void Trigger(QWidget* w, const char* item)
{
    QAction* a = control<QAction>(w, QString::fromLatin1(item));
    QVERIFY2(a, item);
    a->trigger();
}

void TypeBox(QWidget* w, int i, const QString& text)
{
    QWidget* box = control<QWidget>(w, QStringLiteral("Txt%1").arg(i));
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else if (auto* many = qobject_cast<QPlainTextEdit*>(box))
        many->setPlainText(text);
}

QString BoxText(QWidget* w, int i)
{
    QWidget* box = control<QWidget>(w, QStringLiteral("Txt%1").arg(i));
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->text();
    if (auto* many = qobject_cast<QPlainTextEdit*>(box))
        return many->toPlainText();
    return {};
}

QStringList GridCodes(QWidget* w, const char* grid)
{
    Grid* g = control<Grid>(w, QString::fromLatin1(grid));
    QStringList out;
    for (int r = 1; r < g->rows(); ++r)
        out << g->textMatrix(r, 0);
    return out;
}

QString ListColumnsFillRefusal(QWidget* w)
{
    Grid* g = control<Grid>(w, QStringLiteral("GD"));
    int shown = 0;
    for (int c = 0; c < g->cols(); ++c)
        shown += g->columnWidth(c);
    const int viewport = g->viewport()->width();
    if (shown > viewport * 8 / 10 && shown <= viewport)
        return {};
    return QStringLiteral("columns take %1 of %2").arg(shown).arg(viewport);
}

void SelectCode(QWidget* w, const QString& code)
{
    Grid* g = control<Grid>(w, QStringLiteral("GD"));
    for (int r = 1; r < g->rows(); ++r)
        if (g->textMatrix(r, 0) == code)
            g->setCurrent(r, 0);
}

void LoginWithBasicWord(FreshAccountSet& set, int word, int accountsWord)
{
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                                    "VALUES ('002', '张三', '', ?, 1, 1, 1, 1, 1, ?, 1)"),
                     {word, accountsWord});
    set.loginAs(QStringLiteral("002"));
}

QStringList ListCodes(const RecordList& list)
{
    QStringList out;
    for (int r = 0; r < list.rows; ++r)
        out << list.text(r, 0);
    return out;
}
