#include "accountsets/BackupFileWork.h"

#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "core/Permissions.h"
#include "platform/AccountSetLock.h"
#include "platform/WholeFile.h"
#include "platform/sqlcipher.h"

#include <QFile>
#include <QFileInfo>

FileSwapError::FileSwapError(const QString& description)
    : DbError(SQLITE_CANTOPEN, description, DbError::Kind::NoAccess)
{
}

FileSwapError::FileSwapError(const DbError& cause) : DbError(cause) {}

SetNotReopened::SetNotReopened(const DbError& cause) : DbError(cause) {}

void ReopenAccountSet(App& app)
{
    try {
        OpenAccountSetFile(app, app.CurrentSetPath);
    } catch (const DbError& e) {
        throw SetNotReopened(e);
    }
}

QString SetInUseText()
{
    return QStringLiteral("其它用户正在使用此账套。");
}

void LockSetAlone(AccountSetLock& lock, const QString& setPath)
{
    if (lock.tryLockExclusive(setPath))
        return;
    if (lock.heldElsewhere())
        throw DbError(SQLITE_BUSY, SetInUseText(), DbError::Kind::Busy);
    throw DbError(SQLITE_CANTOPEN,
                  QStringLiteral("无法在账套文件所在的文件夹中建立锁定文件：%1").arg(AccountSetLock::LockFilePath(setPath)),
                  DbError::Kind::NoAccess);
}

ExclusiveSetAccess::ExclusiveSetAccess(App& app) : app(app)
{
    try {
        LockSetAlone(app.CurrentSetLock, app.CurrentSetPath);
    } catch (const DbError&) {
        // A refused upgrade keeps the shared lock of the open set.
        if (!app.CurrentDatabase.isOpen())
            app.CurrentSetLock.release();
        throw;
    }
}

ExclusiveSetAccess::~ExclusiveSetAccess()
{
    if (app.CurrentDatabase.isOpen())
        app.CurrentSetLock.lockShared(app.CurrentSetPath);
    else
        app.CurrentSetLock.release();
}

StagedCopy::StagedCopy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw FileSwapError(QStringLiteral("无法读取文件 %1：%2").arg(source, in.errorString()));
    try {
        m_file.emplace(target);
        QByteArray chunk;
        while (!in.atEnd()) {
            chunk = in.read(1 << 20);
            if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
                throw FileSwapError(QStringLiteral("无法读取文件 %1：%2").arg(source, in.errorString()));
            m_file->write(chunk);
        }
        // A file that replaces another keeps that one's permissions.
        if (QFileInfo::exists(target))
            QFile::setPermissions(m_file->path(), QFile::permissions(target));
    } catch (const FileSwapError&) {
        throw;
    } catch (const DbError& e) {
        throw FileSwapError(e);
    }
}

void StagedCopy::replaceTarget()
{
    // The commit writes the copy to disk before the rename: the target's name
    // never stands for data that is still only in the page cache.
    try {
        m_file->commit(true);
    } catch (const DbError& e) {
        throw FileSwapError(DbError(e.number(), QStringLiteral("无法替换文件 %1：%2").arg(m_file->target(), e.description()),
                                    e.kind()));
    }
}

void RestrictToAdmin(const QString& path)
{
    try {
        Database copy;
        copy.open(path);
        // The other operators' passwords must not stay readable in freed pages.
        copy.executeScript(QStringLiteral("PRAGMA secure_delete = ON"));
        copy.execute(QStringLiteral("DELETE FROM TE1 WHERE F1 <> ?"), {TopAdministrator});
    } catch (const DbError&) {
    }
}
