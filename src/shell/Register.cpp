#include "shell/Register.h"

#include "core/App.h"
#include "core/Hooks.h"
#include "core/MainFrame.h"
#include "shell/AccountSetSwitch.h"
#include "shell/Login.h"
#include "shell/MForm.h"
#include "shell/MainMenu.h"
#include "shell/TipOfTheDay.h"
#include "platform/Shell.h"

void RegisterShellWindows(WindowHooks& hooks)
{
    hooks.showMainWindow = [](App& app) -> MainFrame* {
        // Lives until the program ends; it refers to `app`, so it is never deleted after it.
        auto* frame = new MForm(app);
        frame->show();
        return frame;
    };
    hooks.login = &ShowLogin;
    hooks.tipOfTheDay = &ShowTipOfTheDay;

    hooks.menuActions.insert(QStringLiteral("Relogin"), &Relogin);
    hooks.menuActions.insert(QStringLiteral("Quit"), [](App& app) {
        if (app.MainWindow)
            app.MainWindow->widget()->close();
    });
    hooks.menuActions.insert(QStringLiteral("Menu_Help"), &OpenHelpFile);
    hooks.menuActions.insert(QStringLiteral("Menu_Video"), &PlayDemoVideo);
    hooks.menuActions.insert(QStringLiteral("Menu_jishuan"), &StartCalculator);
    hooks.menuActions.insert(QStringLiteral("ab"), [](App& app) { ShowAbout(app, ProductWebAddress()); });
    hooks.menuActions.insert(QStringLiteral("Menu_H6"), [](App&) { OpenDocument(ProductWebAddress()); });
}
