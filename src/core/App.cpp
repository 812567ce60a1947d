#include "core/App.h"

App::App()
    : AppTitle(BuiltAppTitle()), EditionName(QStringLiteral("批号版"))
{
}

QString BuiltAppTitle()
{
    return QStringLiteral(VX_APP_TITLE);
}
