#include "shell/MainMenu.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/MainFrame.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "shell/AboutUS.h"

void RunMenuItem(App& app, const QString& name)
{
    OpenWindow(app, name);
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
