#include "shell/MainMenu.h"

#include "core/App.h"
#include "core/Files.h"
#include "core/Hooks.h"
#include "core/MainFrame.h"
#include "core/MenuModel.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "shell/AboutUS.h"
#include "shell/AccountSetSwitch.h"

namespace {

const QString kNoRight = QStringLiteral("对不起，您无此权限！");

void addArray(MenuModel& m, const QString& parent, const QString& base, std::initializer_list<const char*> captions)
{
    int i = 0;
    for (const char* c : captions)
        m.add(parent, base + QString::number(i++), QString::fromUtf8(c));
}

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

void BuildMainMenu(MenuModel& m)
{
    m.clear();

    m.add({}, QStringLiteral("Menu_A"), QStringLiteral("&A.基础数据"));
    addArray(m, QStringLiteral("Menu_A"), QStringLiteral("Menu_AA"),
             {"供应商资料", "客户资料", "部门资料", "-", "货品类别", "货品档案", "成品档案"});
    m.setVisible(QStringLiteral("Menu_AA2"), false);
    m.setVisible(QStringLiteral("Menu_AA6"), false);

    m.add({}, QStringLiteral("Menu_B"), QStringLiteral("&B.入库管理"));
    addArray(m, QStringLiteral("Menu_B"), QStringLiteral("Menu_BB"),
             {"入库单", "退货单", "-", "生产入库", "次品返工", "-", "入库统计", "退货统计"});
    for (const char* hidden : {"Menu_BB3", "Menu_BB4", "Menu_BB5"})
        m.setVisible(QString::fromLatin1(hidden), false);

    m.add({}, QStringLiteral("Menu_C"), QStringLiteral("&C.库存盘点"));
    m.add(QStringLiteral("Menu_C"), QStringLiteral("Menu_C2"), QStringLiteral("&1.库存盘点"));
    m.add(QStringLiteral("Menu_C"), QStringLiteral("Menu_C3"), QStringLiteral("&2.库存盘点统计"));

    m.add({}, QStringLiteral("Menu_D"), QStringLiteral("&D.出库管理"));
    addArray(m, QStringLiteral("Menu_D"), QStringLiteral("Menu_DD"),
             {"领料单", "退料单", "-", "出库单", "退库单", "-", "出库统计", "退库统计"});
    for (const char* hidden : {"Menu_DD0", "Menu_DD1", "Menu_DD2"})
        m.setVisible(QString::fromLatin1(hidden), false);

    m.add({}, QStringLiteral("Menu_E"), QStringLiteral("&E.往来帐款"));
    addArray(m, QStringLiteral("Menu_E"), QStringLiteral("Menu_E0"), {"增加应付", "增加应收"});
    m.add(QStringLiteral("Menu_E"), QStringLiteral("Menu_E0line"), QStringLiteral("-"));
    addArray(m, QStringLiteral("Menu_E"), QStringLiteral("Menu_EE"),
             {"付款登记", "收款登记", "-", "应付款总帐", "应付款明细帐", "应收款总帐", "应收款明细帐"});

    m.add({}, QStringLiteral("Menu_F"), QStringLiteral("&F.综合报表"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_C1"), QStringLiteral("&1.库存查询"));
    addArray(m, QStringLiteral("Menu_C1"), QStringLiteral("Menu_KC"), {"&a.存货汇总查询", "&b.存货明细查询"});
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_E1"), QStringLiteral("&2.进出存明细表"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_E3"), QStringLiteral("&3.进出存汇总表"));
    addArray(m, QStringLiteral("Menu_F"), QStringLiteral("menu_Edz"), {"-", "&4.收货对帐单", "&5.发货对帐单"});
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_Ell"), QStringLiteral("-"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("menu_Ecb"), QStringLiteral("&6.出库成本统计"));
    m.add(QStringLiteral("Menu_F"), QStringLiteral("Menu_Eml"), QStringLiteral("&7.销售毛利统计"));

    m.add({}, QStringLiteral("Menu_S"), QStringLiteral("&S.系统管理"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_S1"), QStringLiteral("&1.操作员权限分配"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_S2"), QStringLiteral("&2.操作员个人设置"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_S25"), QStringLiteral("&3.系统设置"));
    m.add(QStringLiteral("Menu_S25"), QStringLiteral("Menu_S2501"), QStringLiteral("系统账套设置"));
    m.add(QStringLiteral("Menu_S25"), QStringLiteral("Menu_S2502"), QStringLiteral("系统功能设置"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Menu_Weihu"), QStringLiteral("&4.账套数据维护"));
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_S26"), QStringLiteral("&1.数据备份与恢复"));
    m.add(QStringLiteral("Menu_S26"), QStringLiteral("Menu_zbbf"), QStringLiteral("&B.账套备份"));
    m.add(QStringLiteral("Menu_S26"), QStringLiteral("Menu_zbhf"), QStringLiteral("&R.备份恢复"));
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_shuaxin"), QStringLiteral("&2.数据整理与刷新"));
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_S30"), QStringLiteral("&3.账套年度结转"))->enabled = false;
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_S3"), QStringLiteral("&4.账套数据清除"))->enabled = false;
    m.add(QStringLiteral("Menu_Weihu"), QStringLiteral("Menu_yasuo"), QStringLiteral("&5.压缩账套文件"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("sl"), QStringLiteral("-"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Relogin"), QStringLiteral("&6.更换登录用户"));
    m.add(QStringLiteral("Menu_S"), QStringLiteral("Quit"), QStringLiteral("&7.退出本系统"));

    m.add({}, QStringLiteral("H"), QStringLiteral("&H.使用说明"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_Help"), QStringLiteral("&1.软件使用说明书"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_Video"), QStringLiteral("&2.操作演示视频"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_frmtip"), QStringLiteral("&3.Vorlix知识点滴"));
    m.add(QStringLiteral("H"), QStringLiteral("ab"), QStringLiteral("&4.关于本软件"));
    m.add(QStringLiteral("H"), QStringLiteral("dddds"), QStringLiteral("-"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_H6"), QStringLiteral("&5.Vorlix官方网站"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_200491"), QStringLiteral("-"));
    m.add(QStringLiteral("H"), QStringLiteral("Menu_jishuan"), QStringLiteral("&6.辅助工具--计算器"));
}

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
