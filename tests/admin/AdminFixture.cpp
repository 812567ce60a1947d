#include "AdminFixture.h"

#include "core/MainMenuTree.h"
#include "core/MenuModel.h"
#include "core/Settings.h"
#include "platform/Database.h"

#include <QRegularExpression>
#include <QTest>

LoadedAccountSet::LoadedAccountSet()
{
    BuildMainMenu(app().Menus);
    LoadSettings(app());
}

QMap<int, QVector<SettingRow>> SettingsSnapshot(const Database& db)
{
    QMap<int, QVector<SettingRow>> rows;
    const RecordSet rs = db.query(QStringLiteral("SELECT rowid, ID, setval, setstr, shuoming FROM sysinfo ORDER BY rowid"));
    for (int r = 0; r < rs.rowCount(); ++r)
        rows[rs.value(r, 1).toInt()].push_back(
            {rs.value(r, 0).toLongLong(), rs.value(r, 2), rs.value(r, 3), rs.value(r, 4)});
    return rows;
}

QVariant SetVal(const Database& db, int id)
{
    return db.scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"), {id});
}

QVariant SetStr(const Database& db, int id)
{
    return db.scalar(QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {id});
}

WizardSettings PreparedSettings(App& app)
{
    WizardSettings s = LoadWizardSettings(app);
    RebuildDocumentPage(app, s);
    return s;
}

void ApplyChoices(WizardSettings& s, const QString& choices)
{
    static const QRegularExpression indexed(QStringLiteral("^([A-Za-z]+?)(\\d+)$"));
    for (const QString& choice : choices.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = choice.indexOf(QLatin1Char('='));
        const QString name = choice.left(eq);
        const QString value = choice.mid(eq + 1);
        const int number = value.toInt();
        if (name == QLatin1String("CmbDay")) s.CmbDay = number;
        else if (name == QLatin1String("CmbDanPrint")) s.CmbDanPrint = number;
        else if (name == QLatin1String("CmbHP")) s.CmbHP = value;
        else if (name == QLatin1String("CmbLj")) s.CmbLj = value;
        else if (name == QLatin1String("CmbCP")) s.CmbCP = value;
        else if (name == QLatin1String("CmbSX")) s.CmbSX = value;
        else if (name == QLatin1String("Txt9181")) s.Txt9181 = value;
        else if (name == QLatin1String("TxtHPSX")) s.TxtHPSX = value;
        else if (name == QLatin1String("ChKnext")) s.ChKnext = number;
        else {
            const QRegularExpressionMatch m = indexed.match(name);
            QVERIFY2(m.hasMatch(), qPrintable(choice));
            const QString base = m.captured(1);
            const int i = m.captured(2).toInt();
            if (base == QLatin1String("ChK")) s.ChK[i] = number;
            else if (base == QLatin1String("ChKmoshi")) s.ChKmoshi[i] = number;
            else if (base == QLatin1String("ChkHP")) s.ChkHP[i] = number;
            else if (base == QLatin1String("ChKDan")) s.ChKDan[i] = number;
            else if (base == QLatin1String("TxtDan")) s.TxtDan[i] = value;
            else if (base == QLatin1String("TxtH")) s.TxtH[i] = value;
            else if (base == QLatin1String("TxtDanEnabled")) s.TxtDanEnabled[i] = number != 0;
            else if (base == QLatin1String("Txt")) s.Txt[i] = value;
            else QFAIL(qPrintable(QStringLiteral("unknown control ") + name));
        }
    }
}
