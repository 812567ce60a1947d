#include "core/Startup.h"

#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "core/SchemaUpgrades.h"
#include "core/Settings.h"
#include "core/SqlText.h"
#include "platform/Messages.h"
#include "platform/SystemInfo.h"
#include "platform/UserSettings.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString Nl = QStringLiteral("\n");

// The per-user setting of the tip of the day.
const QString TipApp = QStringLiteral("Vorlixstore");
const QString TipSection = QStringLiteral("Options");
const QString TipKey = QStringLiteral("在启动时显示提示");

// A failure of start-up as the recovery sees it.
struct Failure {
    QString text;
    DbError::Kind kind = DbError::Kind::Other;
};

void openAccountSet(App& app, const QString& path)
{
    OpenAccountSetFile(app, path);
    app.CurrentSetPath = path;
}

// Steps up to an open account set. False when the program is to end (the
// account-set manager was left without opening a set).
bool openFirstAccountSet(App& app, const QString& commandLine)
{
    WindowHooks& hooks = app.Windows.road;
    QString path = CommandLinePath(commandLine);
    if (!path.isEmpty() && !QFileInfo(path).isFile()) {
        MsgBox(QLatin1Char('[') + path + QStringLiteral("]不是有效的文件名！"), MB::OKOnly | MB::Information,
               QStringLiteral("命令行参数错误"));
        path.clear();
    }
    app.CurrentSetPath = path;
    if (!path.isEmpty()) {
        openAccountSet(app, path);
        app.OpenedFromCommandLine = -1;
        return true;
    }

    app.CurrentSetPath = app.AppFolder + QStringLiteral("nousit.dat");
    app.CurrentSetName = app.AppTitle.contains(QStringLiteral("仓库")) ? QStringLiteral("仓库账套")
                                                                      : QStringLiteral("进出存账套");
    const bool showChooser = hooks.loadAccountSetList && hooks.loadAccountSetList(app);
    if (showChooser && hooks.accountSetManager)
        return hooks.accountSetManager(app);
    openAccountSet(app, app.CurrentSetPath);
    return true;
}

void askStockAlarm(App& app, const QString& sql, const QString& found, const QString& title, int autoOpen)
{
    if (SqlScalar(app.CurrentDatabase, sql).isEmpty())
        return;
    const QString question = found + app.GoodsTerm + QStringLiteral("！您要查看详细内容吗？") + Nl + Nl +
                             QStringLiteral("如果希望系统不再自动报警，") + Nl +
                             QStringLiteral("您可以在主界面[系统管理]->[系统设置]->[系统功能设置]中关闭本功能。");
    if (MsgBox(question, MB::YesNo | MB::Question, title) == MB::Yes)
        app.Windows.road.stockAlarm(app, autoOpen);
}

// Alarms for stock above the maximum, then below safety stock; only while the
// operator may use the stocktaking menu.
void stockAlarms(App& app)
{
    if (!app.Windows.road.stockAlarm || !app.Menus.isEnabled(QStringLiteral("Menu_C")))
        return;
    if (app.AlarmAboveMax == 1)
        askStockAlarm(app, QStringLiteral("SELECT TA4.F1 FROM TA4 WHERE TA4.F8>TA4.V2 AND TA4.V2<>0 LIMIT 1"),
                      QStringLiteral("库存中发现超过最高存量的"), QStringLiteral(" 库存自动报警--超出最高存量"), 2);
    if (app.AlarmBelowMin == 1)
        askStockAlarm(app, QStringLiteral("SELECT TA4.F1 FROM TA4 WHERE TA4.F8<TA4.V1 LIMIT 1"),
                      QStringLiteral("库存中发现低于安全存量的"), QStringLiteral(" 库存自动报警--低于安全存量"), 1);
}

// Steps from the main window on, with the account set open. False when the
// program is to end (a login ran and nobody logged in).
bool runWithOpenSet(App& app)
{
    WindowHooks& hooks = app.Windows.road;
    if (!app.MainWindow && hooks.showMainWindow)
        app.MainWindow = hooks.showMainWindow(app);
    if (!AccountSetOpened(app)) {
        MsgBox(QStringLiteral("登录失败！"));
        return false;
    }

    if (hooks.tipOfTheDay && TipsAtStartup())
        hooks.tipOfTheDay(app);
    if (hooks.compactReminder)
        hooks.compactReminder(app);
    stockAlarms(app);
    CheckUnfinishedAudits(app.CurrentDatabase);
    return true;
}

// Offers the repair of the account set that failed, then the account-set
// manager (for a set from the list) or the end (for a set from the command
// line). True when start-up goes on with a set the manager opened.
bool recover(App& app, const Failure& f)
{
    WindowHooks& hooks = app.Windows.road;
    const bool fromList = !app.CurrentSetName.isEmpty();
    const QString text = OpenFailureText(f.kind, f.text, fromList);
    const QString question = text + Nl + Nl + QStringLiteral("是否进行数据库修复？") + Nl + Nl +
                             (fromList ? QStringLiteral("点击[确定]启动数据库修复功能，点击[取消]进入账套管理。")
                                       : QStringLiteral("点击[确定]启动数据库修复功能，点击[取消]结束程序运行。"));
    if (MsgBox(question, MB::OKCancel | MB::Exclamation) == MB::OK && hooks.repairAccountSet)
        hooks.repairAccountSet(app, app.CurrentSetPath, app.CurrentSetName);
    if (!fromList || !hooks.accountSetManager)
        return false;
    CloseAccountSetFile(app);
    return hooks.accountSetManager(app);
}

}  // namespace

QString CommandLinePath(const QString& commandLine)
{
    const QString text = commandLine.trimmed();
    if (!text.startsWith(QLatin1Char('"')))
        return text;
    const int close = text.indexOf(QLatin1Char('"'), 1);
    return close < 0 ? QString() : text.mid(1, close - 1);
}

bool Main(App& app, const QStringList& args)
{
    app.ShowUnitPicker = 1;
    if (app.AppFolder.isEmpty())
        app.AppFolder = ProgramFolder();
    else if (!app.AppFolder.endsWith(QLatin1Char('/')))
        app.AppFolder += QLatin1Char('/');
    app.OpenedFromCommandLine = 0;
    // The launcher finds the program from the first run on.
    RememberProgramPath();

    // Any error from here on ends in the recovery; after a set has been opened
    // through the manager, start-up resumes at the main window.
    bool resume = false;
    for (;;) {
        Failure failure;
        try {
            if (!resume && !openFirstAccountSet(app, args.join(QLatin1Char(' '))))
                return false;
            return runWithOpenSet(app);
        } catch (const DbError& e) {
            failure = {e.description(), e.kind()};
        } catch (const std::exception& e) {
            failure = {QString::fromUtf8(e.what()), DbError::Kind::Other};
        }
        if (!recover(app, failure))
            return false;
        resume = true;
    }
}

bool AccountSetOpened(App& app)
{
    WindowHooks& hooks = app.Windows.road;
    // The layout first: the settings and every window after it read the set
    // in the current layout.
    UpgradeSchemaOnOpen(app.CurrentDatabase);
    LoadSettings(app);

    if (hooks.settingsWizard) {
        // A missing row asks for the wizard too; a set configured by another
        // edition must be configured again and cannot cancel it.
        if (SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT setval FROM sysinfo WHERE ID=?"), {SetRunWizard}) !=
            QLatin1String("0"))
            hooks.settingsWizard(app, true);
        else if (SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT exename FROM thever")) != app.AppTitle)
            hooks.settingsWizard(app, false);
    }

    if (hooks.login) {
        // The operator of the set that was open before is nobody in this one.
        app.OperatorCode.clear();
        app.OperatorName.clear();
        const LoginLink asked = hooks.login(app);
        if (app.OperatorCode.isEmpty())
            return false;
        OpenWindowAskedByLogin(app, asked);
    }
    return true;
}

void OpenWindowAskedByLogin(App& app, LoginLink asked)
{
    const QString entry = LoginLinkEntry(asked);
    if (!entry.isEmpty())
        OpenWindow(app, entry);
}

void CheckUnfinishedAudits(const Database& db)
{
    QString numbers;
    try {
        const RecordSet rs = db.query(QStringLiteral(
            "SELECT TB11.F0 FROM TB11 LEFT JOIN TB1 ON TB11.F0=TB1.F1 "
            "WHERE TB1.F6<>'' AND TB1.F6 IS NOT NULL AND TB11.SRT='' GROUP BY TB11.F0"));
        for (int r = 0; r < rs.rowCount(); ++r)
            numbers += rs.text(r, 0) + Nl;
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    if (numbers.isEmpty())
        return;
    MsgBox(QStringLiteral("检查到系统内存在未完成审核的单据：") + Nl + Nl + numbers + Nl +
               QStringLiteral("请分别找到该单据，将该单据撤销审核，然后重新审核！") + Nl + Nl +
               QStringLiteral("请确保您的电脑电源稳定、不要强行关机、Windows操作系统运行稳定、局域网络连接通畅。"),
           MB::OKOnly | MB::Information, QStringLiteral("错误检查"));
}

void RememberProgramPath()
{
    SaveSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"), QStringLiteral("Vorlo"),
                QCoreApplication::applicationFilePath());
}

bool TipsAtStartup()
{
    bool ok = false;
    const double value = GetSetting(TipApp, TipSection, TipKey, QStringLiteral("1")).trimmed().toDouble(&ok);
    return ok && value != 0;
}

void SetTipsAtStartup(bool on)
{
    SaveSetting(TipApp, TipSection, TipKey, on ? QStringLiteral("1") : QStringLiteral("0"));
}
