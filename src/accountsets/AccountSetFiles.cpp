#include "accountsets/AccountSetFiles.h"

#include "accountsets/BackupFileWork.h"
#include "core/App.h"
#include "platform/AccountSetLock.h"
#include "platform/Database.h"
#include "platform/sqlcipher.h"

#include <QFile>
#include <QFileInfo>

bool IsAccountSetFile(const QString& path)
{
    Database db;
    AccountSetLock lock;
    try {
        OpenLockedAccountSet(db, lock, path);
        db.close();
        return true;
    } catch (const DbError&) {
        return false;
    }
}

bool CreateAccountSetFromTemplate(const App& app, const QString& path)
{
    const QString templatePath = app.AppFolder + QStringLiteral("nousit.dat");
    if (!QFileInfo(templatePath).isFile() || !QFile::copy(templatePath, path))
        return false;
    // The template may be installed read-only; the new set must be writable.
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                               QFileDevice::ReadOther);
    return true;
}

void BackupSetFile(const QString& source, const QString& target)
{
    // Only a file this call made may be removed after a failure.
    if (QFileInfo::exists(target))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("目标文件已存在：%1").arg(target), DbError::Kind::NoAccess);
    AccountSetLock alone;
    LockSetAlone(alone, source);
    try {
        Database::compactFile(source, target);
    } catch (const DbError&) {
        QFile::remove(target);
        throw;
    }
    RestrictToAdmin(target);
}

QString ImportedSetName(const QString& path)
{
    const int slash = int(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    QString name = path.mid(slash + 1);
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}
