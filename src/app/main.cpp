// Vorlixstore: the warehouse management program.
#include "app/Wiring.h"
#include "core/App.h"
#include "core/Startup.h"

#include <QApplication>
#include <QMainWindow>
#include <memory>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlixstore"));
    App app;
    QApplication::setApplicationDisplayName(app.AppTitle);
    WireWindows(app.Windows);

    if (!Main(app, QApplication::arguments().mid(1)))
        return 0;

    // Without a registered main window, a bare frame keeps the program on screen.
    std::unique_ptr<QMainWindow> frame;
    if (!app.MainWindow) {
        frame = std::make_unique<QMainWindow>();
        frame->setWindowTitle(app.AppTitle + QStringLiteral("--") + app.EditionName);
        frame->resize(1024, 700);
        frame->show();
    }
    return qapp.exec();
}
