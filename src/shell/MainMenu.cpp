#include "shell/MainMenu.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/Hooks.h"
#include "core/MainFrame.h"
#include "core/MainMenuTree.h"
#include "core/MenuModel.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "shell/AboutUS.h"
#include "shell/AccountSetSwitch.h"

namespace {

const QString kNoRight = QStringLiteral("对不起，您无此权限！");

// The refusal test of an item; true when it refused (and said so).
bool refused(App& app, const QString& name)
{
    const bool isAdmin = app.OperatorCode == QLatin1String("001");
    if (name == QLatin1String("menu_Ecb")) {
        if (!app.CanSeeCost) {
            MsgBox(kNoRight);
            return true;
        }
    } else if (name == QLatin1String("Menu_Eml")) {
        if (!app.Menus.isVisible(QStringLiteral("Menu_DD3"))) {
            MsgBox(QStringLiteral("该功能已经被屏蔽！"), MB::OKOnly | MB::Information, app.AppTitle);
            return true;
        }
        if (!(app.CanSeeCost && app.CanSeeProfit)) {
            MsgBox(kNoRight);
            return true;
        }
    } else if (name == QLatin1String("Menu_S2502")) {
        if (!isAdmin) {
            MsgBox(QStringLiteral("对不起，此功能仅系统最高权限管理员“001”可以使用！您无此权限！"));
            return true;
        }
    } else if (name == QLatin1String("Menu_shuaxin")) {
        if (!isAdmin) {
            MsgBox(QStringLiteral("只有最高权限用户001才有权进行维护!"));
            return true;
        }
    } else if (name == QLatin1String("Menu_S30") || name == QLatin1String("Menu_S3")) {
        if (!isAdmin) {
            MsgBox(QStringLiteral("只有系统管理员001才有权操作此功能！"));
            return true;
        }
    }
    return false;
}

}  // namespace

std::function<void(App&)> MenuAction(const QString& name)
{
    const WindowHooks& h = Hooks();
    if (const auto it = h.menuActions.constFind(name); it != h.menuActions.constEnd() && *it)
        return *it;
    // Items that open a window hook of another folder directly.
    if (name == QLatin1String("Menu_S1"))
        return h.operators;
    if (name == QLatin1String("Menu_S2"))
        return h.personalSettings;
    if (name == QLatin1String("Menu_frmtip"))
        return h.tipOfTheDay;
    if (name == QLatin1String("Menu_S2502") && h.settingsWizard)
        return [](App& app) { Hooks().settingsWizard(app, true); };
    if (name == QLatin1String("Menu_S2501") && h.loadAccountSetList && h.accountSetManager)
        return &SwitchAccountSet;
    return {};
}

void RunMenuItem(App& app, const QString& name)
{
    const auto action = MenuAction(name);
    if (!action || refused(app, name))
        return;
    action(app);
}

QString ProductWebAddress()
{
    return QStringLiteral("https://www.example.com/vorlix/");
}

void OpenHelpFile(App& app)
{
    const QString help = app.AppFolder + QStringLiteral("使用说明.chm");
    if (FileExists(help).isEmpty() || !OpenDocument(help))
        MsgBox(QStringLiteral("没有找到帮助文件“使用说明.chm”，或本机没有可以打开它的程序。"));
}

void PlayDemoVideo(App& app)
{
    const QString video = app.AppFolder + QStringLiteral("演示视频.exe");
    if (FileExists(video).isEmpty()) {
        MsgBox(QStringLiteral("请到Vorlix网站下载软件操作演示视频！"));
        return;
    }
    const QString text = QStringLiteral("您好，请打开音箱或戴上耳机，系统将全屏播放软件演示影音文件。\n\n"
                                        "在视频播放过程中，您可以使用鼠标右键弹出菜单操作，按键盘左上角ESC键结束播放。\n\n"
                                        "现在，请您点击<确定>开始播放。");
    if (MsgBox(text, MB::OKCancel | MB::Information) == MB::Cancel)
        return;
    StartProgram(video);
}

void StartCalculator(App& app)
{
    // The program folder's own calculator first, else the desktop's.
    QString calc = app.AppFolder + QStringLiteral("jisuan.exe");
    if (FileExists(calc).isEmpty())
        calc = FindProgram({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
                            QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")});
    if (calc.isEmpty() || !StartProgram(calc))
        MsgBox(QStringLiteral("没找到文件 jisuan.exe ！"));
}

void ShowAbout(App& app, const QString& link)
{
    QWidget* parent = app.MainWindow ? app.MainWindow->widget() : nullptr;
    AboutUS about(app, parent);
    about.linkstr = link;
    about.exec();
}
