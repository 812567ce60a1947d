#include "accountsets/AutoBackup.h"

#include "accountsets/Backup.h"
#include "accountsets/BackupFileWork.h"
#include "core/App.h"
#include "core/Settings.h"
#include "widgets/BusyPointer.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "platform/SqlFunctions.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

void showStatus(App& app, const QString& text)
{
    if (app.MainWindow)
        app.MainWindow->setStatusText(4, text);
}

// The names in `folder` made of "备份" + the set name + `digits` + `suffix`.
// The digits are matched exactly, so that the copies of a set whose name
// begins with this one's are never taken for this set's.
QStringList copiesIn(const QString& folder, const QString& setName, const QString& digits, const QString& suffix)
{
    const QRegularExpression re(QStringLiteral("^") + QRegularExpression::escape(QStringLiteral("备份") + setName) +
                                    digits + QRegularExpression::escape(suffix) + QStringLiteral("$"),
                                QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (re.match(name).hasMatch())
            names << name;
    return names;
}

// Renames this month's copy to ".___" after deleting the rotated copies of
// every month when one of this month exists already. `keep` (the open set's
// own file) is never touched. Throws DbError.
void rotate(const QString& folder, const QString& setName, const QDate& today, const QString& keep)
{
    const QString month = today.toString(QStringLiteral("yyyyMM"));
    QString found;
    for (const QString& name : copiesIn(folder, setName, month + QStringLiteral("\\d{2}"), QStringLiteral(".vxs")))
        if (QFileInfo(folder + name).absoluteFilePath() != QFileInfo(keep).absoluteFilePath()) {
            found = name;
            break;
        }
    if (found.isEmpty())
        return;
    if (!copiesIn(folder, setName, month + QStringLiteral("\\d{2}"), QStringLiteral(".___")).isEmpty())
        for (const QString& old : copiesIn(folder, setName, QStringLiteral("\\d{8}"), QStringLiteral(".___")))
            if (!QFile::remove(folder + old))
                throw DbError(-1, QStringLiteral("无法删除文件：%1").arg(folder + old), DbError::Kind::NoAccess);
    const QString rotated = found.left(found.size() - 3) + QStringLiteral("___");
    if (!QFile::rename(folder + found, folder + rotated))
        throw DbError(-1, QStringLiteral("无法改名文件：%1").arg(folder + found), DbError::Kind::NoAccess);
}

// Writes the new copy beside its final name, restricts it, rotates the older
// copies and only then gives the new one its name. Throws DbError.
void writeCopy(App& app, const QString& folder, const QString& target, const QDate& today)
{
    const bool copyNeeded = QFileInfo(target).absoluteFilePath() != QFileInfo(app.CurrentSetPath).absoluteFilePath();
    std::optional<StagedCopy> fresh;
    if (copyNeeded) {
        fresh.emplace(app.CurrentSetPath, target);
        RestrictToAdmin(fresh->path());
    }
    rotate(folder, app.CurrentSetName, today, app.CurrentSetPath);
    if (fresh)
        fresh->replaceTarget();
}

void recordBackup(App& app, int days, const QDate& today)
{
    Database& db = app.CurrentDatabase;
    Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetAutoBackupDays});
    db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"), {SetAutoBackupDays, days, DateText(today)});
    tx.commit();
}

}  // namespace

void AutoBackup(App& app)
{
    if (IsNetworkPath(app.CurrentSetPath))
        return;
    const QString folder = AutoBackupFolder(app);
    if (app.OpenedFromCommandLine == -1)
        return;
    const Database& db = app.CurrentDatabase;
    const int days = StoredIntervalDays(SettingValue(db, SetAutoBackupDays));
    const QString last = SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {SetAutoBackupDays});
    const QDate today = QDate::currentDate();
    if (const std::optional<QDate> lastDate = ParseSqlDate(last.trimmed()))
        if (qAbs(lastDate->daysTo(today)) < days)
            return;

    showStatus(app, QStringLiteral("正在备份数据……"));
    const QString target = folder + BackupFileName(app, today);
    if (days > 0 && !FileExists(target).isEmpty())
        return;

    bool copied = false;
    bool inUse = false;
    QString failure;
    {
        BusyPointer busy;
        try {
            ExclusiveSetAccess alone(app);
            app.CurrentDatabase.close();
            QCoreApplication::processEvents();
            writeCopy(app, folder, target, today);
            copied = true;
            QCoreApplication::processEvents();
            ReopenAccountSet(app);
            recordBackup(app, days, today);
        } catch (const DbError& e) {
            // After the copy only its date may go unrecorded; the program ends next.
            inUse = e.kind() == DbError::Kind::Busy;
            failure = e.description();
        }
    }
    if (!copied) {
        MsgBox(inUse ? QStringLiteral("其它用户正在使用当前账套，系统无法备份数据。\n\n请在其它用户退出之后再备份数据！")
                     : QStringLiteral("系统无法备份数据！\n\n") + failure,
               MB::OKOnly | MB::Information, QStringLiteral("自动备份"));
        return;
    }
    showStatus(app, QStringLiteral("备份完成……"));
}
