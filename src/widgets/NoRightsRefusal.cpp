#include "widgets/NoRightsRefusal.h"

#include "core/App.h"
#include "core/Permissions.h"
#include "platform/Messages.h"

#include <QAbstractButton>
#include <QAction>

bool RequireRight(const App& app, int group, int digit)
{
    if (HasRight(app, group, digit))
        return true;
    MsgBox(NoRightsText);
    return false;
}

void GuardByRight(QAction* trigger, const App& app, int group, int digit, std::function<void()> action)
{
    QObject::connect(trigger, &QAction::triggered, trigger, [&app, group, digit, action = std::move(action)] {
        if (RequireRight(app, group, digit))
            action();
    });
}

void GuardByRight(QAbstractButton* trigger, const App& app, int group, int digit, std::function<void()> action)
{
    QObject::connect(trigger, &QAbstractButton::clicked, trigger, [&app, group, digit, action = std::move(action)] {
        if (RequireRight(app, group, digit))
            action();
    });
}

Right OperatorRight(int group, int digit)
{
    return [group, digit](App& app) { return RequireRight(app, group, digit); };
}

Right TopAdministratorOnly(const QString& refusal)
{
    return [refusal](App& app) {
        if (IsTopAdministrator(app))
            return true;
        MsgBox(refusal);
        return false;
    };
}

Right SeesCost()
{
    return [](App& app) {
        if (app.CanSeeCost)
            return true;
        MsgBox(NoRightsText);
        return false;
    };
}

Right SeesGrossProfit()
{
    return [](App& app) {
        if (!app.Menus.isVisible(QStringLiteral("Menu_DD3"))) {
            MsgBox(QStringLiteral("该功能已经被屏蔽！"), MB::OKOnly | MB::Information, app.AppTitle);
            return false;
        }
        if (!(app.CanSeeCost && app.CanSeeProfit)) {
            MsgBox(NoRightsText);
            return false;
        }
        return true;
    };
}
