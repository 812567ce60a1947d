#include "launcher/Launcher.h"

#include <QApplication>

int RunLauncher()
{
    return 0;
}
