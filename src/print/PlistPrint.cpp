#include "print/PlistPrint.h"

#include "core/App.h"
#include "widgets/BusyPointer.h"
#include "platform/Messages.h"
#include "print/Myprn.h"
#include "print/Primitives.h"

void PlistPrint::EnsurePlist(Database& db)
{
    // The TEMP table shadows the account set's own Plist on this connection.
    db.execute(QStringLiteral(
        "CREATE TEMP TABLE IF NOT EXISTS Plist (F0 TEXT, F1 TEXT, F2 TEXT, F3 TEXT, F4 TEXT, F5 TEXT, F6 TEXT, "
        "F7 TEXT, F8 TEXT, F9 TEXT, F10 TEXT, F11 TEXT, F12 TEXT, F13 TEXT, F14 TEXT, F15 TEXT, M1 TEXT, M2 TEXT, "
        "V1 REAL, V2 REAL, V3 REAL, V4 REAL, V5 REAL, V6 REAL, V7 REAL)"));
}

PlistPrint::PlistPrint(App& app)
    : m_app(app)
{
}

void PlistPrint::setValue(const QString& name, const QString& value)
{
    m_values.emplace_back(name, value);
}

void PlistPrint::addRow(const QStringList& texts, const QList<double>& numbers, const QStringList& memos)
{
    m_rows.push_back({texts.mid(0, 15), numbers.mid(0, 7), memos.mid(0, 2)});
}

void PlistPrint::stage()
{
    Database& db = m_app.CurrentDatabase;
    EnsurePlist(db);
    Transaction t(db);
    db.execute(QStringLiteral("delete from temp.Plist"));
    Statement insert(db, QStringLiteral("insert into temp.Plist (F0,F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,F13,F14,"
                                        "F15,M1,M2,V1,V2,V3,V4,V5,V6,V7) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const int width = m_rows.size() > 9999 ? int(QString::number(qulonglong(m_rows.size())).size()) : 5;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        insert.bind(0, QStringLiteral("%1").arg(qulonglong(i + 1), width, 10, QLatin1Char('0')));
        for (int c = 0; c < 15; ++c)
            insert.bind(1 + c, c < r.texts.size() ? QVariant(r.texts[c]) : QVariant());
        for (int c = 0; c < 2; ++c)
            insert.bind(16 + c, c < r.memos.size() ? QVariant(r.memos[c]) : QVariant());
        for (int c = 0; c < 7; ++c)
            insert.bind(18 + c, c < r.numbers.size() ? QVariant(r.numbers[c]) : QVariant());
        insert.exec();
    }
    t.commit();
}

bool PlistPrint::show(QWidget* parent)
{
    if (NoPrinter(1))
        return false;
    Myprn window(m_app, parent);
    {
        BusyPointer busy;
        try {
            stage();
        } catch (const DbError& e) {
            MsgBox(QStringLiteral("无法准备打印数据：\n\n") + e.description());
            return false;
        }
        PrintEngine& engine = window.engine();
        engine.startNamedValues(m_app.CompanyName);
        for (const auto& [name, value] : m_values)
            engine.addNamedValue(name, value);
        engine.Pid = Pid;
        engine.RptFile = RptFile;
        engine.PrnSQL = PrnSQL;
        engine.MyCmd = MyCmd;
    }
    window.exec();
    return true;
}
