#pragma once
// The windows that the start-up road and the main menu open belong to other
// folders (account sets, shell, admin, reports ...). Each folder registers its
// windows here; the program's main() wires them all, and tests wire stand-ins.
// A hook left empty means the window is not available: callers skip the step
// (start-up) or keep the menu item disabled (main window).

#include <QHash>
#include <QString>
#include <functional>

struct App;
class MainFrame;

struct WindowHooks {
    // Account-set list (true: the manager window must be shown) and the
    // manager window ZbSet, modal; true when an account set is open afterwards.
    std::function<bool(App&)> loadAccountSetList;
    std::function<bool(App&)> accountSetManager;
    // Main window MForm: created and shown modeless.
    std::function<MainFrame*(App&)> showMainWindow;
    // Settings wizard SysFuncSet, modal; cancellable = false hides CmdCancel.
    std::function<void(App&, bool cancellable)> settingsWizard;
    // Login window, modal; leaves OperatorCode set on success.
    std::function<void(App&)> login;
    std::function<void(App&)> operators;         // S1, modal
    std::function<void(App&)> personalSettings;  // S2, modal
    std::function<void(App&)> tipOfTheDay;       // frmTip, modal
    std::function<void(App&)> compactReminder;
    std::function<void(App&, const QString& path, const QString& name)> repairAccountSet;
    // Start-up stock alarm: a new stock statistics window in mode 1 or 2.
    std::function<void(App&, int autoOpen)> stockAlarm;
    // Automatic backup at exit.
    std::function<void(App&)> autoBackup;
    // Main-menu items by item name ("Menu_S1", "Menu_AA0" ...).
    QHash<QString, std::function<void(App&)>> menuActions;
};

WindowHooks& Hooks();
