#include "accountsets/Restore.h"

#include "accountsets/BackupFileWork.h"
#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "core/Kinds.h"
#include "core/Permissions.h"
#include "platform/Database.h"

#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void refuse(const QString& why)
{
    throw DbError(-1, QStringLiteral("所选文件不是完整的账套备份（%1），不能用来恢复数据。").arg(why),
                  DbError::Kind::NotADatabase);
}

}  // namespace

void CheckSourceHasNoJournal(const QString& source)
{
    if (QFileInfo(source + QStringLiteral("-journal")).size() > 0)
        refuse(QStringLiteral("文件旁边留有未完成写入的日志文件，复制或备份可能被中断"));
}

void CheckWholeAccountSet(const QString& path, const QString& password)
{
    Database db;
    db.open(path, password);
    const QString missing = MissingAccountSetTable(db);
    if (!missing.isEmpty())
        refuse(QStringLiteral("缺少数据表 %1").arg(missing));
    if (db.scalar(QStringLiteral("PRAGMA integrity_check(1)")).toString() != QLatin1String("ok"))
        refuse(QStringLiteral("文件已损坏"));
    // A copy is written table by table in the order the set made them: the
    // operators and settings come after the books, so a copy that stopped
    // part way lacks them.
    if (!db.scalarRow(QStringLiteral("SELECT 1 FROM TE1 WHERE F1 = ?"), {TopAdministrator}) ||
        !db.scalarRow(QStringLiteral("SELECT 1 FROM sysinfo LIMIT 1")))
        refuse(QStringLiteral("缺少操作员或系统设置"));
    const QString stockKinds = QStringLiteral("%1, %2, %3, %4, %5")
                                   .arg(code(DocKind::Inbound))
                                   .arg(code(DocKind::SupplierReturn))
                                   .arg(code(DocKind::Outbound))
                                   .arg(code(DocKind::StockReturn))
                                   .arg(code(DocKind::Stocktaking));
    if (db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE LB IN (%1) LIMIT 1").arg(stockKinds)) &&
        !db.scalarRow(QStringLiteral("SELECT 1 FROM TB11 LIMIT 1")))
        refuse(QStringLiteral("有单据而没有单据明细"));
}

void RestoreAccountSet(App& app, const QString& source)
{
    ExclusiveSetAccess alone(app);
    const QString password = app.CurrentDatabase.isOpen() ? app.CurrentDatabase.password() : Database::DefaultPassword;
    app.CurrentDatabase.close();
    try {
        CheckSourceHasNoJournal(source);
        StagedCopy fresh(source, app.CurrentSetPath);
        CheckWholeAccountSet(fresh.path(), password);
        fresh.replaceTarget();
    } catch (const DbError&) {
        ReopenAccountSet(app);
        throw;
    }
    ReopenAccountSet(app);
}
