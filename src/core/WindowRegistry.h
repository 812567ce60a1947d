#pragma once
// Every window the program opens, as data owned by the run's App
// (App::Windows): the main menu's items with the right each needs and the
// window each opens, and the windows of the start-up road.
//
// How a new window is added:
//  1. Build it on its family's base (RecordForm, StockDocForm,
//     StatisticsReportForm, ...; else QWidget when it opens modeless, QDialog
//     when modal) with the constructor (App& app, QWidget* parent = nullptr).
//  2. Add ONE line to its folder's Register.cpp, naming its menu item:
//       reg.modeless<GoodsForm>("Menu_AA5", OperatorRight(RightBasicData, RightGroupOn));
//       reg.modal<S3>("Menu_S3", TopAdministratorOnly("..."));
//     (rights: widgets/NoRightsRefusal.h; reg.action(name, fn, right) for an
//     item that runs a procedure). The main menu enables the item by itself.
//  3. Test it on tests/support's FreshAccountSet: its App has a fresh registry;
//     call the folder's Register...Windows(set.app().Windows), then
//     OpenWindow(set.app(), "Menu_AA5") and find the window with
//     OpenedWindow(...) or findChild, as a user's click would reach it.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <type_traits>

struct App;
class MainFrame;
class QDialog;

// What the operator asked for with a link of the login window: the window
// opened once the login is done (LoginLinkEntry names its entry).
enum class LoginLink {
    None,
    AddOperator,  // the operators window, adding a new operator at once
    SetPassword,  // the personal settings, on the password tab
};

// The window entry a login link opens ("" for none); the admin windows register it.
QString LoginLinkEntry(LoginLink link);

// The windows of the start-up road and of the "account set opened" road,
// reached by what they do. A hook left empty means the window is not
// available: the road skips the step.
struct WindowHooks {
    // Account-set list (true: the manager window must be shown) and the
    // manager window ZbSet, modal; true when an account set is open afterwards.
    std::function<bool(App&)> loadAccountSetList;
    std::function<bool(App&)> accountSetManager;
    // Main window MForm: created and shown modeless.
    std::function<MainFrame*(App&)> showMainWindow;
    // Settings wizard SysFuncSet, modal; cancellable = false hides CmdCancel.
    std::function<void(App&, bool cancellable)> settingsWizard;
    // Login window, modal; leaves OperatorCode set on success and answers
    // the window a link of it asked for.
    std::function<LoginLink(App&)> login;
    std::function<void(App&)> tipOfTheDay;  // frmTip, modal
    std::function<void(App&)> compactReminder;
    std::function<void(App&, const QString& path, const QString& name)> repairAccountSet;
    // Start-up stock alarm: a new stock statistics window in mode 1 or 2.
    std::function<void(App&, int autoOpen)> stockAlarm;
    // Automatic backup at exit.
    std::function<void(App&)> autoBackup;
};

// What the operator needs to open an entry: true when allowed; on refusal
// the check has told the operator why. Empty = anyone.
using Right = std::function<bool(App&)>;

enum class WindowMode { Modeless, Modal, Action };

struct WindowEntry {
    WindowMode mode = WindowMode::Action;
    Right right;
    std::function<QWidget*(App&, QWidget* parent)> make;  // Modeless and Modal
    std::function<void(App&)> run;                        // Action
    // Modeless: the instance the entry opens ("" = its own, by its name), and
    // what choosing the entry does to that instance when it is already open.
    QString instance;
    std::function<void(QWidget*)> reopen;
};

class WindowRegistry {
public:
    // A window that opens as a child of the main window's MDI area, one
    // instance, created on first use and raised when opened again.
    template <class W>
    void modeless(const QString& name, Right right = {})
    {
        static_assert(std::is_base_of_v<QWidget, W>);
        add(name, {WindowMode::Modeless, std::move(right),
                   [](App& app, QWidget* parent) -> QWidget* { return new W(app, parent); }, {}});
    }
    // The same for a window its item opens in a mode of its own (one window
    // class behind two items): `make` builds it.
    void modeless(const QString& name, std::function<QWidget*(App&, QWidget* parent)> make, Right right = {})
    {
        add(name, {WindowMode::Modeless, std::move(right), std::move(make), {}});
    }
    // One window behind several items, each opening it in a mode of its own:
    // the items share the one instance named `instance`; `make` builds it in
    // the item's mode, and an item chosen while the window is open switches
    // it to that mode with `remode` before bringing it to the front.
    template <class W>
    void modelessInMode(const QString& name, const QString& instance, std::function<W*(App&, QWidget*)> make,
                        std::function<void(W*)> remode, Right right = {})
    {
        static_assert(std::is_base_of_v<QWidget, W>);
        WindowEntry e{WindowMode::Modeless, std::move(right),
                      [make](App& app, QWidget* parent) -> QWidget* { return make(app, parent); }, {}};
        e.instance = instance;
        e.reopen = [remode](QWidget* w) {
            if (W* window = qobject_cast<W*>(w))
                remode(window);
        };
        add(name, std::move(e));
    }
    // A dialog shown modal over the main window, deleted when it closes.
    template <class W>
    void modal(const QString& name, Right right = {})
    {
        static_assert(std::is_base_of_v<QDialog, W>, "a modal window is a QDialog");
        add(name, {WindowMode::Modal, std::move(right),
                   [](App& app, QWidget* parent) -> QWidget* { return new W(app, parent); }, {}});
    }
    // The same for a dialog an entry opens in a state of its own: `make` builds it.
    void modal(const QString& name, std::function<QWidget*(App&, QWidget* parent)> make, Right right = {})
    {
        add(name, {WindowMode::Modal, std::move(right), std::move(make), {}});
    }
    // An item that runs a procedure (which may show its own windows).
    void action(const QString& name, std::function<void(App&)> run, Right right = {})
    {
        add(name, {WindowMode::Action, std::move(right), {}, std::move(run)});
    }
    // Replaces what an entry does, keeping its right (tests put stand-ins in).
    void standIn(const QString& name, std::function<void(App&)> run);

    const WindowEntry* find(const QString& name) const;
    bool has(const QString& name) const { return find(name) != nullptr; }

    // The start-up road's windows.
    WindowHooks road;

    // The open instance of each modeless window, by entry name (or by the
    // instance name its entries share).
    QHash<QString, QPointer<QWidget>> opened;

private:
    void add(const QString& name, WindowEntry entry) { m_entries.insert(name, std::move(entry)); }
    QHash<QString, WindowEntry> m_entries;
};

// Opens the entry `name` as a user's menu click does: its right first, then
// the window (see WindowRegistry) or the action. False when there is no such
// entry or the right refused it.
bool OpenWindow(App& app, const QString& name);

// The open instance of the modeless window `name`, or null.
QWidget* OpenedWindow(App& app, const QString& name);
