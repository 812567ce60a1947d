#include "accountsets/Compact.h"

#include "accountsets/AccountSetList.h"
#include "accountsets/BackupFileWork.h"
#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "platform/AccountSetLock.h"
#include "platform/Database.h"
#include "platform/sqlcipher.h"

#include <QFileInfo>
#include <cmath>

qint64 FileSizeKB(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return 0;
    return qint64(std::nearbyint(double(info.size()) / 1024.0));
}

QString SizeText(qint64 kb)
{
    if (kb <= 1024)
        return QString::number(kb) + QStringLiteral(" KB");
    // kb * 1000 / 1024 is exact in binary, so the half-to-even rounding sees true halves.
    return NumText(std::nearbyint(double(kb) * 1000.0 / 1024.0) / 1000.0) + QStringLiteral(" MB");
}

QString SafetyCopyPath(App& app, const QDateTime& now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    return DefaultFolder(app, 1) + app.CurrentSetName + QString::number(d.month()) + QString::number(d.day()) +
           QString::number(t.hour()) + QString::number(t.minute()) + QString::number(t.second()) +
           QStringLiteral(".vxs");
}

void CompactAccountSetFile(const QString& path, const QString& safetyCopy)
{
    AccountSetLock alone;
    LockSetAlone(alone, path);
    // An empty or foreign file copies into an empty database: that is no
    // repaired account set, and the file is left as it was.
    Database::compactFile(path, safetyCopy, Database::DefaultPassword, [](const QString& copy) {
        Database db;
        db.open(copy);
        const QString missing = MissingAccountSetTable(db);
        if (!missing.isEmpty())
            throw DbError(SQLITE_NOTADB,
                          QStringLiteral("文件中找不到账套数据（缺少数据表 %1），无法修复。文件保持原样，请使用备份文件恢复数据。")
                              .arg(missing),
                          DbError::Kind::NotADatabase);
    });
    StagedCopy(safetyCopy, path).replaceTarget();
}

qint64 RecordedCompactionKB(const Database& db)
{
    return qint64(std::nearbyint(SettingValue(db, SetCompactRecord)));
}

QString RecordedCompactionDate(const Database& db)
{
    return SqlScalar(db, QStringLiteral("SELECT setstr FROM sysinfo WHERE ID = ?"), {SetCompactRecord});
}

void RecordCompaction(Database& db, qint64 kb)
{
    Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetCompactRecord});
    db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, ?, ?)"),
               {SetCompactRecord, double(kb), DateText(QDate::currentDate())});
    tx.commit();
}
