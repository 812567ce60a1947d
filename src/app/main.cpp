// Vorlixstore: the warehouse management program.
#include "app/Wiring.h"
#include "core/App.h"
#include "core/Hooks.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlixstore"));
    App app;
    QApplication::setApplicationDisplayName(app.AppTitle);
    WireWindows(Hooks());

    QMainWindow frame;
    frame.setWindowTitle(app.AppTitle + QStringLiteral(" ") + app.EditionName);
    frame.resize(1024, 700);
    frame.show();
    return qapp.exec();
}
