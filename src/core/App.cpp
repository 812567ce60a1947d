#include "core/App.h"

#include "core/Hooks.h"

App::App()
    : AppTitle(BuiltAppTitle()), EditionName(QStringLiteral("批号版"))
{
}

QString BuiltAppTitle()
{
    return QStringLiteral(VX_APP_TITLE);
}

WindowHooks& Hooks()
{
    static WindowHooks hooks;
    return hooks;
}
