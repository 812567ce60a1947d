#include "core/SavedHintMark.h"

#include "platform/Database.h"

bool SavedHintOff(const Database& db)
{
    try {
        const QVariant v = db.scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID=?"), {SetSavedHintOff});
        return v.isValid() && v.toDouble() == 1.0;
    } catch (const DbError&) {
        return false;  // an unreadable mark shows the hint, which loses nothing
    }
}

void RememberSavedHintOff(Database& db, int chkID)
{
    Transaction t(db);
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID=?"), {chkID});
    db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (?, 1, '保存时不显示提示信息')"),
               {chkID});
    t.commit();
}
