// Vorlixstore: the warehouse management program.
#include "app/Wiring.h"
#include "core/App.h"
#include "core/Files.h"
#include "core/Startup.h"
#include "platform/ChineseUi.h"
#include "platform/ProgramIcon.h"
#include "platform/Database.h"

#include <QApplication>
#include <QMainWindow>
#include <memory>

int main(int argc, char** argv)
{
    UseChineseSystemLocale();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlixstore"));
    UseChineseUi(qapp);
    UseProgramIcon();
    App app;
    QApplication::setApplicationDisplayName(app.AppTitle);
    // The user reads plain words; the engine's own text goes to the maker's log.
    SetDbErrorLog([&app](const QString& technical) { AppendErrorLog(app, QStringLiteral("数据库"), 0, technical); });
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
