#include "admin/Register.h"

#include "admin/Operators.h"
#include "admin/OperatorsForm.h"
#include "admin/PersonalSettingsForm.h"
#include "admin/SysFuncSet.h"
#include "core/App.h"
#include "core/Hooks.h"
#include "core/MainFrame.h"
#include "platform/Database.h"
#include "platform/Messages.h"

namespace {

QWidget* mainWidget(App& app)
{
    return app.MainWindow ? app.MainWindow->widget() : nullptr;
}

void showSettingsWizard(App& app, bool cancellable)
{
    try {
        SysFuncSet wizard(app, mainWidget(app));
        if (!cancellable)
            wizard.CmdCancel->hide();
        wizard.exec();
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("无法读取系统设置：") + e.description());
    }
}

void showOperators(App& app)
{
    OperatorsForm window(app, mainWidget(app));
    window.exec();
}

void showPersonalSettings(App& app)
{
    PersonalSettingsForm window(app, mainWidget(app));
    window.exec();
}

}  // namespace

void RegisterAdminWindows(WindowHooks& hooks)
{
    hooks.settingsWizard = showSettingsWizard;
    hooks.operators = showOperators;
    hooks.personalSettings = showPersonalSettings;
    hooks.menuActions.insert(QStringLiteral("Menu_S1"), showOperators);
    hooks.menuActions.insert(QStringLiteral("Menu_S2"), showPersonalSettings);
    hooks.menuActions.insert(QStringLiteral("Menu_S2502"), [](App& app) {
        if (app.OperatorCode != TopAdministrator) {
            MsgBox(QStringLiteral("对不起，此功能仅系统最高权限管理员“001”可以使用！您无此权限！"));
            return;
        }
        showSettingsWizard(app, true);
    });
}
