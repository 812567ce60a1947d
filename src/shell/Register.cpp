#include "shell/Register.h"

#include "core/App.h"
#include "core/MainFrame.h"
#include "shell/AccountSetSwitch.h"
#include "shell/Login.h"
#include "shell/MForm.h"
#include "shell/MainMenu.h"
#include "shell/TipOfTheDay.h"
#include "platform/Shell.h"

void RegisterShellWindows(WindowRegistry& reg)
{
    reg.road.showMainWindow = [](App& app) -> MainFrame* {
        // Lives until the program ends; it refers to `app`, so it is never deleted after it.
        auto* frame = new MForm(app);
        frame->show();
        return frame;
    };
    reg.road.login = &ShowLogin;
    reg.road.tipOfTheDay = &ShowTipOfTheDay;

    reg.action(QStringLiteral("Menu_S2501"), &SwitchAccountSet);
    reg.action(QStringLiteral("Relogin"), &Relogin);
    reg.action(QStringLiteral("Quit"), [](App& app) {
        if (app.MainWindow)
            app.MainWindow->widget()->close();
    });
    reg.action(QStringLiteral("Menu_Help"), &OpenHelpFile);
    reg.action(QStringLiteral("Menu_Video"), &PlayDemoVideo);
    reg.action(QStringLiteral("Menu_jishuan"), &StartCalculator);
    reg.action(QStringLiteral("Menu_frmtip"), &ShowTipOfTheDay);
    reg.action(QStringLiteral("ab"), [](App& app) { ShowAbout(app, ProductWebAddress()); });
    reg.action(QStringLiteral("Menu_H6"), [](App&) { OpenDocument(ProductWebAddress()); });
}
