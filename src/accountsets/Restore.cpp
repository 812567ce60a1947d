#include "accountsets/Restore.h"

#include "accountsets/BackupFileWork.h"
#include "core/App.h"
#include "platform/Database.h"

#include <QFile>

namespace {

// The tables every account set holds, whatever its age.
const char* const AccountSetTables[] = {"TA1", "TA3", "TA4", "TB1", "TB11", "TE1", "sysinfo"};

// Throws DbError unless the file at `path` opens as an account set with `password`.
void checkAccountSet(const QString& path, const QString& password)
{
    Database db;
    db.open(path, password);
    for (const char* table : AccountSetTables)
        if (!db.tableExists(QString::fromLatin1(table)))
            throw DbError(-1, QStringLiteral("所选文件不是本系统的账套文件（缺少数据表 %1）。").arg(QString::fromLatin1(table)),
                          DbError::Kind::NotADatabase);
}

}  // namespace

void RestoreAccountSet(App& app, const QString& source)
{
    ExclusiveSetAccess alone(app);
    const QString password = app.CurrentDatabase.isOpen() ? app.CurrentDatabase.password() : Database::DefaultPassword;
    app.CurrentDatabase.close();
    try {
        const QString fresh = CopyBeside(source, app.CurrentSetPath);
        try {
            checkAccountSet(fresh, password);
        } catch (const DbError&) {
            QFile::remove(fresh);
            throw;
        }
        ReplaceFile(fresh, app.CurrentSetPath);
    } catch (const DbError&) {
        ReopenAccountSet(app);
        throw;
    }
    ReopenAccountSet(app);
}
