#include "print/PrintSetStore.h"

#include "core/Permissions.h"
#include "platform/Database.h"

// The top administrator's rows are the set-up every operator falls back to.

PrintSetChoice PrintSetStore::Choose(const QString& pid, const QString& operatorCode, const QString& computer) const
{
    const bool admin = operatorCode == TopAdministrator;
    const RecordSet rows = m_db.query(
        admin ? QStringLiteral("select Pname,Pfile,Pcomputer,I4,I3 from PrintSet where Pid=? and Puser=? "
                               "order by Puser desc")
              : QStringLiteral("select Pname,Pfile,Pcomputer,I4,I3 from PrintSet where Pid=? and "
                               "(Puser=? or Puser=?) order by Puser desc"),
        admin ? QVariantList{pid, TopAdministrator} : QVariantList{pid, TopAdministrator, operatorCode});
    PrintSetChoice choice;
    for (int r = 0; r < rows.rowCount(); ++r) {
        choice.found = true;
        choice.file = rows.text(r, 1);
        choice.changePrinterOrientation = rows.value(r, 3).toInt() == 1;
        if (rows.text(r, 2) == computer) {
            choice.printer = rows.text(r, 0);
            break;
        }
    }
    return choice;
}

void PrintSetStore::Assign(const QString& pid, const QString& computer, const QString& printer, const QString& file,
                           bool changePrinterOrientation)
{
    Transaction t(m_db);
    m_db.execute(QStringLiteral("delete from PrintSet where Pid=? and Pcomputer=?"), {pid, computer});
    m_db.execute(QStringLiteral("insert into PrintSet(Puser,Pid,Pname,Pcomputer,Pfile,I4) values (?,?,?,?,?,?)"),
                 {TopAdministrator, pid, printer, computer, file, changePrinterOrientation ? 1 : 0});
    t.commit();
}

void PrintSetStore::RenameFile(const QString& pid, const QString& oldFile, const QString& newFile,
                               const QString& appFolder)
{
    m_db.execute(QStringLiteral("update PrintSet set Pfile=? where Pid=? and (Pfile=? or Pfile=?)"),
                 {StoredPath(newFile, appFolder), pid, oldFile, StoredPath(oldFile, appFolder)});
}

QString PrintSetStore::StoredPath(const QString& path, const QString& appFolder)
{
    return !appFolder.isEmpty() && path.startsWith(appFolder) ? path.mid(appFolder.size()) : path;
}

QString PrintSetStore::FilePath(const QString& stored, const QString& appFolder)
{
    const bool absolute = (stored.size() > 1 && stored[1] == QLatin1Char(':')) || stored.startsWith(QLatin1Char('\\')) ||
                          stored.startsWith(QLatin1Char('/'));
    return absolute ? stored : appFolder + stored;
}
