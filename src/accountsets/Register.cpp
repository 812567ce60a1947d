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
#include "core/Hooks.h"
#include "core/MainFrame.h"

namespace {

// Shows one of the file-maintenance windows modal over the main window.
template <class Window>
void showModal(App& app)
{
    Window window(app, app.MainWindow ? app.MainWindow->widget() : nullptr);
    window.exec();
}

}  // namespace

void RegisterAccountSetWindows(WindowHooks& hooks)
{
    hooks.loadAccountSetList = [](App& app) {
        AccountSetList list;
        return LoadAccountSetList(app, list);
    };
    // The manager serves the running program once the main window is up and
    // an operator has logged in; before that (start-up and its recovery) its
    // leave command ends the program.
    hooks.accountSetManager = [](App& app) {
        return ShowAccountSetManager(app, app.MainWindow != nullptr && !app.OperatorCode.isEmpty());
    };

    // File maintenance: backup, restore, compaction and repair, year-end,
    // clearing and the data refresh. The main menu refuses the last three to
    // everyone but "001" before they open.
    hooks.autoBackup = &AutoBackup;
    hooks.compactReminder = &CompactReminder;
    hooks.repairAccountSet = &RepairAccountSet;
    hooks.menuActions.insert(QStringLiteral("Menu_zbbf"), &ShowBackupWindow);
    hooks.menuActions.insert(QStringLiteral("Menu_zbhf"), &ShowRestoreWindow);
    hooks.menuActions.insert(QStringLiteral("Menu_shuaxin"), &showModal<ReJxcBox>);
    hooks.menuActions.insert(QStringLiteral("Menu_S30"), &showModal<YearEnd>);
    hooks.menuActions.insert(QStringLiteral("Menu_S3"), &showModal<S3>);
    hooks.menuActions.insert(QStringLiteral("Menu_yasuo"), &CompactOpenAccountSet);
}
