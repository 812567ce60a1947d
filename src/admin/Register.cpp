#include "admin/Register.h"

#include "admin/Operators.h"
#include "admin/OperatorsForm.h"
#include "admin/PersonalSettingsForm.h"
#include "admin/SysFuncSet.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "widgets/NoRightsRefusal.h"
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

}  // namespace

void RegisterAdminWindows(WindowRegistry& reg)
{
    reg.road.settingsWizard = showSettingsWizard;
    reg.modal<OperatorsForm>(QStringLiteral("Menu_S1"));
    reg.modal<PersonalSettingsForm>(QStringLiteral("Menu_S2"));
    reg.modal(LoginLinkEntry(LoginLink::AddOperator),
              [](App& app, QWidget* parent) -> QWidget* { return new OperatorsForm(app, parent, true); });
    reg.modal(LoginLinkEntry(LoginLink::SetPassword),
              [](App& app, QWidget* parent) -> QWidget* { return new PersonalSettingsForm(app, parent, true); });
    reg.action(QStringLiteral("Menu_S2502"), [](App& app) { showSettingsWizard(app, true); },
               TopAdministratorOnly(QStringLiteral("对不起，此功能仅系统最高权限管理员“001”可以使用！您无此权限！")));
}
