#include "accountsets/Register.h"

#include "accountsets/AccountSetList.h"
#include "accountsets/AutoBackup.h"
#include "accountsets/BackupForm.h"
#include "accountsets/ClearingForm.h"
#include "accountsets/CompactForm.h"
#include "accountsets/RefreshForm.h"
#include "accountsets/Repair.h"
#include "accountsets/RestoreForm.h"
#include "accountsets/YearEndForm.h"
#include "accountsets/ZbSet.h"
#include "core/App.h"
#include "widgets/NoRightsRefusal.h"

void RegisterAccountSetWindows(WindowRegistry& reg)
{
    reg.road.loadAccountSetList = [](App& app) {
        AccountSetList list;
        return LoadAccountSetList(app, list);
    };
    // The manager serves the running program once the main window is up and
    // an operator has logged in; before that (start-up and its recovery) its
    // leave command ends the program.
    reg.road.accountSetManager = [](App& app) {
        return ShowAccountSetManager(app, app.MainWindow != nullptr && !app.OperatorCode.isEmpty());
    };
    reg.road.autoBackup = &AutoBackup;
    reg.road.compactReminder = &CompactReminder;
    reg.road.repairAccountSet = &RepairAccountSet;

    // File maintenance: backup, restore, compaction and repair, year-end,
    // clearing and the data refresh; the last three for "001" only.
    reg.action(QStringLiteral("Menu_zbbf"), &ShowBackupWindow);
    reg.action(QStringLiteral("Menu_zbhf"), &ShowRestoreWindow);
    reg.modal<ReJxcBox>(QStringLiteral("Menu_shuaxin"), TopAdministratorOnly(QStringLiteral("只有最高权限用户001才有权进行维护!")));
    reg.modal<YearEnd>(QStringLiteral("Menu_S30"), TopAdministratorOnly(QStringLiteral("只有系统管理员001才有权操作此功能！")));
    reg.modal<S3>(QStringLiteral("Menu_S3"), TopAdministratorOnly(QStringLiteral("只有系统管理员001才有权操作此功能！")));
    reg.action(QStringLiteral("Menu_yasuo"), &CompactOpenAccountSet);
}
