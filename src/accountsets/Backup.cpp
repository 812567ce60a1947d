#include "accountsets/Backup.h"

#include "accountsets/AccountSetList.h"
#include "accountsets/BackupFileWork.h"
#include "core/App.h"
#include "core/Files.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"

#include <cmath>

QString BackupFileName(const App& app, const QDate& day)
{
    const QString name = app.OpenedFromCommandLine == -1 ? QString() : app.CurrentSetName;
    return QStringLiteral("备份") + name + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".vxs");
}

QString AutoBackupFolder(App& app)
{
    QString folder = SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {SetAutoBackupFolder});
    if (!folder.isEmpty() && FolderUsable(folder).isEmpty())
        folder.clear();
    if (folder.isEmpty())
        folder = DefaultFolder(app, 1);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void BackupAccountSet(App& app, const QString& target)
{
    ExclusiveSetAccess alone(app);
    app.CurrentDatabase.exportTo(target, app.CurrentDatabase.password(), RestrictToAdmin);
}

AutoBackupSettings LoadAutoBackupSettings(App& app)
{
    AutoBackupSettings s;
    s.lastBackup = NoBackupYetText;
    if (app.OpenedFromCommandLine == -1)
        return s;
    const Database& db = app.CurrentDatabase;
    s.days = NumText(SettingValue(db, SetAutoBackupDays));
    const QString last = SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {SetAutoBackupDays});
    if (last.isEmpty())
        s.days.clear();
    else
        s.lastBackup = last;
    return s;
}

std::optional<int> BackupIntervalDays(const QString& text)
{
    const double value = std::nearbyint(LeadingNumber(text.trimmed()));
    if (value < 0)
        return 0;
    if (!(value <= MaxBackupIntervalDays))
        return std::nullopt;
    return int(value);
}

int StoredIntervalDays(double setval)
{
    const double days = std::fabs(std::nearbyint(setval));
    return days > MaxBackupIntervalDays ? MaxBackupIntervalDays : int(days);
}

void SaveAutoBackupSettings(Database& db, int days, const QString& lastBackup, const QString& folder)
{
    Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetAutoBackupDays});
    db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"), {SetAutoBackupDays, days, lastBackup});
    if (db.scalarRow(QStringLiteral("SELECT 1 FROM sysinfo WHERE ID = ?"), {SetAutoBackupFolder}))
        db.execute(QStringLiteral("UPDATE sysinfo SET setstr = ? WHERE ID = ?"), {folder, SetAutoBackupFolder});
    else
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, 1, ?)"), {SetAutoBackupFolder, folder});
    tx.commit();
}
