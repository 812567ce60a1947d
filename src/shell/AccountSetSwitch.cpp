#include "shell/AccountSetSwitch.h"

#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "core/MainFrame.h"
#include "widgets/SaveHint.h"
#include "core/ProgramEnd.h"
#include "core/Startup.h"
#include "platform/Messages.h"
#include "shell/Login.h"
#include "shell/MForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

LoginLink showLogin(App& app)
{
    if (app.Windows.road.login)
        return app.Windows.road.login(app);
    return ShowLogin(app);
}

}  // namespace

void Relogin(App& app)
{
    OpenWindowAskedByLogin(app, showLogin(app));
}

bool CloseChildWindows(App& app)
{
    QMdiArea* area = app.MainWindow ? app.MainWindow->mdiArea() : nullptr;
    if (!area)
        return true;
    if (QMdiSubWindow* editing = EditingChild(area)) {
        area->setActiveSubWindow(editing);
        WarnEditing();
        return false;
    }
    area->closeAllSubWindows();
    for (QMdiSubWindow* w : area->subWindowList())
        if (w->isVisible())
            return false;
    return true;
}

void SwitchAccountSet(App& app)
{
    if (app.OpenedFromCommandLine) {
        MsgBox(QStringLiteral("此次进入系统是以直接打开账套文件方式，这种方式下不能使用账套设置功能！"));
        return;
    }
    WindowHooks& hooks = app.Windows.road;
    if (!hooks.loadAccountSetList || !hooks.accountSetManager)
        return;
    // Windows left open would read and save into whichever set is open next.
    if (!CloseChildWindows(app))
        return;

    const QString path = app.CurrentSetPath;
    const QString name = app.CurrentSetName;
    hooks.loadAccountSetList(app);
    // "返回系统" in the manager reopens the set that was open.
    app.CurrentSetPath = path;
    app.CurrentSetName = name;
    app.CurrentDatabase.close();
    hooks.accountSetManager(app);

    if (!app.CurrentDatabase.isOpen()) {
        app.CurrentSetPath = path;
        app.CurrentSetName = name;
        try {
            OpenAccountSetFile(app, path);
        } catch (const DbError& e) {
            MsgBox(e.description());
        }
        ShowAccountSetInStatusBar(app);
        return;
    }
    if (app.CurrentSetPath == path)
        return;

    ShowAccountSetInStatusBar(app);
    if (!AccountSetOpened(app)) {
        MsgBox(QStringLiteral("登录失败！"));
        EndProgramNow();
    }
}
