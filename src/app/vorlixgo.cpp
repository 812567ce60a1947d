// Vorlixgo: starts the main program from the path in the user's settings.
#include "launcher/Launcher.h"
#include "platform/ChineseUi.h"
#include "platform/ProgramIcon.h"

#include <QApplication>

int main(int argc, char** argv)
{
    UseChineseSystemLocale();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlixgo"));
    UseChineseUi(qapp);
    UseProgramIcon();
    return RunLauncher();
}
