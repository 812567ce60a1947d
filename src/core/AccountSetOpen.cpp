#include "core/AccountSetOpen.h"

#include "core/App.h"
#include "platform/AccountSetLock.h"
#include "platform/WholeFile.h"
#include "platform/sqlcipher.h"

#include <QFileInfo>

void OpenLockedAccountSet(Database& db, AccountSetLock& lock, const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("找不到文件：%1").arg(path), DbError::Kind::NoAccess);
    if (!lock.lockShared(path)) {
        if (lock.heldElsewhere())
            throw DbError(SQLITE_BUSY,
                          QStringLiteral("其它用户正在对该账套进行备份、恢复或压缩，暂时不能打开：%1").arg(path),
                          DbError::Kind::Busy);
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("无法在账套文件所在的文件夹中建立锁定文件：%1").arg(AccountSetLock::LockFilePath(path)),
                      DbError::Kind::NoAccess);
    }
    try {
        db.open(path);
        // Hidden partial copies that a killed copy left beside the set go
        // now, while this program holds the set.
        RemovePartialLeftovers(QFileInfo(path).absolutePath());
        // An empty file, or a database of another program that happens to
        // open with the password, is refused before any query touches it.
        if (!MissingAccountSetTable(db).isEmpty())
            throw DbError(SQLITE_NOTADB, QStringLiteral("不是有效的账套文件或密码错误：%1").arg(path),
                          DbError::Kind::NotADatabase);
    } catch (const DbError&) {
        db.close();
        lock.release();
        throw;
    }
}

QString MissingAccountSetTable(const Database& db)
{
    for (const char* table : {"TA1", "TA3", "TA4", "TB1", "TB11", "TE1", "sysinfo"})
        if (!db.tableExists(QString::fromLatin1(table)))
            return QString::fromLatin1(table);
    return {};
}

void OpenAccountSetFile(App& app, const QString& path)
{
    app.CurrentDatabase.close();
    if (app.CurrentSetLock.isLocked() && app.CurrentSetLock.setPath() != path)
        app.CurrentSetLock.release();
    OpenLockedAccountSet(app.CurrentDatabase, app.CurrentSetLock, path);
}

QString AccountSetDisplayName(const App& app)
{
    return app.CurrentSetName.isEmpty() ? QFileInfo(app.CurrentSetPath).completeBaseName() : app.CurrentSetName;
}

void CloseAccountSetFile(App& app)
{
    app.CurrentDatabase.close();
    app.CurrentSetLock.release();
}

QString OpenFailureText(DbError::Kind kind, const QString& description, bool fromList)
{
    const QString nl = QStringLiteral("\n");
    if (kind == DbError::Kind::NoAccess || kind == DbError::Kind::Busy)
        return QStringLiteral("打开账套时发现错误！可能是因为您对该账套文件没有编辑权限。系统返回如下信息：") + nl + nl +
               description + nl + nl + QStringLiteral("请查看该账套文件属性及您对账套文件所在文件夹的权限。") + nl +
               nl + QStringLiteral("如果排除以上原因，您也可以尝试使用数据库修复功能对账套文件进行修复。");
    return QStringLiteral("打开账套时发现错误！系统返回如下信息：") + nl + nl + description + nl + nl +
           (fromList ? QStringLiteral("系统将启动数据库修复功能，请在修复后重试，或请重新进行账套设置!")
                     : QStringLiteral("系统将启动数据库修复功能，请在修复后重试!"));
}
