#include "core/App.h"
#include "core/MainFrame.h"
#include "core/Startup.h"
#include "platform/Database.h"
#include "platform/UserSettings.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

const QString Nl = QStringLiteral("\n");

// The main window as start-up sees it: something that exists.
class StandInFrame : public MainFrame {
public:
    QWidget* widget() override { return nullptr; }
    QMdiArea* mdiArea() override { return nullptr; }
    void setStatusText(int, const QString&) override {}
    QString statusText(int) const override { return QString(); }
    QFont backgroundFont() const override { return QFont(); }
};

QString openFailure(const QString& path)
{
    try {
        Database probe;
        probe.open(path);
    } catch (const DbError& e) {
        return e.description();
    }
    return QString();
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void commandLinePath_data();
    void commandLinePath();
    void commandLineOpensTheNamedSet_data();
    void commandLineOpensTheNamedSet();
    void missingCommandLineFileStartsFromTheList();
    void unclosedQuoteStartsFromTheListSilently();
    void listAsksForTheManager_data();
    void listAsksForTheManager();
    void settingsWizard_data();
    void settingsWizard();
    void loginFailureEndsTheProgram();
    void withoutLoginWindowStartUpGoesOn();
    void loginLinksOpenOperatorWindows_data();
    void loginLinksOpenOperatorWindows();
    void tipFollowsTheUserSetting();
    void bothStockAlarmsOpenTheirWindows();
    void stockAlarmAnsweredNoOpensNothing();
    void noStockAlarmWithoutTheStocktakingMenu_data();
    void noStockAlarmWithoutTheStocktakingMenu();
    void zeroMaximumNeverAlarms();
    void unfinishedAuditListsEachDocumentOnce();
    void unfinishedAuditCheckReportsItsOwnError();
    void fileThatIsNoAccountSetIsRefusedBeforeAnyQuery_data();
    void fileThatIsNoAccountSetIsRefusedBeforeAnyQuery();
    void launcherFindsTheProgramAfterTheFirstRun();
    void wrongPasswordOnTheCommandLine_data();
    void wrongPasswordOnTheCommandLine();
    void wrongPasswordFromTheListGoesToTheManager();
    void missingListedFileGetsTheRightsMessage();
    void errorAfterTheMainWindowResumesThere();

private:
    // Stand-in windows that record their calls in m_calls.
    void recordAll();
    // The list names `path` and asks for no chooser.
    void listOpens(const QString& path);
    // The manager opens the test's account set (true) or is left (false).
    void managerOpens(bool opens);
    void setSetting(int id, double value);
    void enableStocktakingMenu(bool enabled);

    std::unique_ptr<FreshAccountSet> m_set;
    std::unique_ptr<App> m_app;
    std::unique_ptr<MessageScript> m_msgs;
    QStringList m_calls;
    StandInFrame m_frame;
};

void TestStartup::init()
{
    m_set = std::make_unique<FreshAccountSet>();
    m_app = std::make_unique<App>();
    m_app->AppFolder = m_set->programFolder();
    m_msgs = std::make_unique<MessageScript>();
    m_calls.clear();
    SetTipsAtStartup(true);
}

void TestStartup::cleanup()
{
    QCOMPARE(m_msgs->pending(), 0);
    m_msgs.reset();
    m_app.reset();
    m_set.reset();
}

void TestStartup::recordAll()
{
    WindowHooks& h = m_app->Windows.road;
    h.showMainWindow = [this](App&) -> MainFrame* {
        m_calls << QStringLiteral("main");
        return &m_frame;
    };
    h.settingsWizard = [this](App&, bool cancellable) {
        m_calls << (cancellable ? QStringLiteral("wizard") : QStringLiteral("wizard without cancel"));
    };
    h.login = [this](App& app) {
        m_calls << QStringLiteral("login");
        app.OperatorCode = QStringLiteral("001");
        return LoginLink::None;
    };
    // The windows the login's links ask for, and the menu's own items that must not open.
    for (const QString& name : {QStringLiteral("S1"), QStringLiteral("S2")})
        m_app->Windows.action(QStringLiteral("Menu_") + name, [this, name](App&) { m_calls << QStringLiteral("menu ") + name; });
    m_app->Windows.action(LoginLinkEntry(LoginLink::AddOperator), [this](App&) { m_calls << QStringLiteral("S1"); });
    m_app->Windows.action(LoginLinkEntry(LoginLink::SetPassword), [this](App&) { m_calls << QStringLiteral("S2"); });
    h.tipOfTheDay = [this](App&) { m_calls << QStringLiteral("tip"); };
    h.compactReminder = [this](App&) { m_calls << QStringLiteral("compact"); };
    h.stockAlarm = [this](App&, int mode) { m_calls << QStringLiteral("alarm %1").arg(mode); };
    h.repairAccountSet = [this](App&, const QString& path, const QString& name) {
        m_calls << QStringLiteral("repair %1|%2").arg(path, name);
    };
}

void TestStartup::listOpens(const QString& path)
{
    m_app->Windows.road.loadAccountSetList = [this, path](App& app) {
        m_calls << QStringLiteral("list");
        app.CurrentSetPath = path;
        return false;
    };
}

void TestStartup::managerOpens(bool opens)
{
    m_app->Windows.road.accountSetManager = [this, opens](App& app) {
        // The manager works on a closed set.
        m_calls << (app.CurrentDatabase.isOpen() ? QStringLiteral("manager over an open set") : QStringLiteral("manager"));
        if (opens) {
            app.CurrentDatabase.open(m_set->setPath());
            app.CurrentSetPath = m_set->setPath();
        }
        return opens;
    };
}

void TestStartup::setSetting(int id, double value)
{
    m_set->db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID=?"), {id});
    m_set->db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (?, ?)"), {id, value});
}

void TestStartup::enableStocktakingMenu(bool enabled)
{
    m_app->Menus.add(QString(), QStringLiteral("Menu_C"), QStringLiteral("&C.库存管理"));
    m_app->Menus.setEnabled(QStringLiteral("Menu_C"), enabled);
}

void TestStartup::commandLinePath_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("path");
    QTest::newRow("quoted") << "\"/data/my set.vxs\"" << "/data/my set.vxs";
    QTest::newRow("quoted, text after the quote") << "\"/data/a.vxs\" -x" << "/data/a.vxs";
    QTest::newRow("quote never closed") << "\"/data/my set.vxs" << "";
    QTest::newRow("unquoted with a blank") << "/data/my set.vxs" << "/data/my set.vxs";
    QTest::newRow("blanks around") << "   /data/a.vxs  " << "/data/a.vxs";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("only blanks") << "   " << "";
}

void TestStartup::commandLinePath()
{
    QFETCH(QString, commandLine);
    QTEST(CommandLinePath(commandLine), "path");
}

void TestStartup::commandLineOpensTheNamedSet_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("quoted") << QStringList{"\"%1my set.vxs\""};
    QTest::newRow("unquoted, split at the blank") << QStringList{"%1my", "set.vxs"};
    QTest::newRow("unquoted, one argument") << QStringList{"%1my set.vxs"};
}

void TestStartup::commandLineOpensTheNamedSet()
{
    QFETCH(QStringList, args);
    const QString path = m_set->copyOfTemplate(QStringLiteral("my set.vxs"));
    for (QString& a : args)
        a.replace(QStringLiteral("%1"), m_set->folder());
    recordAll();
    listOpens(m_set->setPath());

    QVERIFY(Main(*m_app, args));

    QCOMPARE(m_app->CurrentDatabase.path(), path);
    QCOMPARE(m_app->CurrentSetPath, path);
    QCOMPARE(m_app->OpenedFromCommandLine, -1);
    QCOMPARE(m_app->CurrentSetName, QString());
    QCOMPARE(m_calls, QStringList({"main", "wizard", "login", "tip", "compact"}));
}

void TestStartup::missingCommandLineFileStartsFromTheList()
{
    const QString missing = m_set->folder() + QStringLiteral("no such/set.vxs");
    m_msgs->expect(QLatin1Char('[') + missing + QStringLiteral("]不是有效的文件名！"));
    listOpens(m_set->setPath());

    QVERIFY(Main(*m_app, {missing}));

    const RecordedMessage& m = m_msgs->recorded().first();
    QCOMPARE(m.text, QLatin1Char('[') + missing + QStringLiteral("]不是有效的文件名！"));
    QCOMPARE(m.title, QStringLiteral("命令行参数错误"));
    QCOMPARE(m.icon(), MB::Information);
    QCOMPARE(m_calls, QStringList({"list"}));
    QCOMPARE(m_app->CurrentDatabase.path(), m_set->setPath());
    QCOMPARE(m_app->OpenedFromCommandLine, 0);
    QCOMPARE(m_app->CurrentSetName, QStringLiteral("仓库账套"));
}

void TestStartup::unclosedQuoteStartsFromTheListSilently()
{
    listOpens(m_set->setPath());
    QVERIFY(Main(*m_app, {QLatin1Char('"') + m_set->setPath()}));
    QCOMPARE(m_msgs->count(), 0);
    QCOMPARE(m_calls, QStringList({"list"}));
    QCOMPARE(m_app->OpenedFromCommandLine, 0);
}

void TestStartup::listAsksForTheManager_data()
{
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("a set is opened") << true << QStringList{"list", "manager", "main", "wizard", "login", "tip", "compact"};
    QTest::newRow("manager left") << false << QStringList{"list", "manager"};
}

void TestStartup::listAsksForTheManager()
{
    QFETCH(bool, opens);
    recordAll();
    QString listedFrom;
    m_app->Windows.road.loadAccountSetList = [this, &listedFrom](App& app) {
        m_calls << QStringLiteral("list");
        listedFrom = app.CurrentSetPath;
        return true;
    };
    managerOpens(opens);

    QCOMPARE(Main(*m_app, {}), opens);
    QTEST(m_calls, "calls");
    // The list starts from the template, which it replaces by the set to open.
    QCOMPARE(listedFrom, m_set->programFolder() + QStringLiteral("nousit.dat"));
}

void TestStartup::settingsWizard_data()
{
    QTest::addColumn<QString>("row1000");  // "" = no row
    QTest::addColumn<bool>("sameTitle");
    QTest::addColumn<QStringList>("wizard");
    QTest::newRow("no row 1000") << "" << true << QStringList{"wizard"};
    QTest::newRow("asked for") << "1" << false << QStringList{"wizard"};
    QTest::newRow("set up by another edition") << "0" << false << QStringList{"wizard without cancel"};
    QTest::newRow("set up by this edition") << "0" << true << QStringList();
}

void TestStartup::settingsWizard()
{
    QFETCH(QString, row1000);
    QFETCH(bool, sameTitle);
    Database& db = m_set->db();
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID=1000"));
    if (!row1000.isEmpty())
        setSetting(1000, row1000.toDouble());
    db.execute(QStringLiteral("UPDATE thever SET exename=?"),
               {sameTitle ? m_app->AppTitle : QStringLiteral("Vorlix进销存管理系统")});
    m_app->Windows.road.settingsWizard = [this](App&, bool cancellable) {
        m_calls << (cancellable ? QStringLiteral("wizard") : QStringLiteral("wizard without cancel"));
    };
    listOpens(m_set->setPath());

    QVERIFY(Main(*m_app, {}));
    m_calls.removeAll(QStringLiteral("list"));
    QTEST(m_calls, "wizard");
}

void TestStartup::loginFailureEndsTheProgram()
{
    recordAll();
    m_app->Windows.road.login = [this](App&) {
        m_calls << QStringLiteral("login");
        return LoginLink::AddOperator;  // asked for, but nobody logged in: nothing opens
    };
    listOpens(m_set->setPath());
    m_msgs->expect(QStringLiteral("登录失败！"));

    QVERIFY(!Main(*m_app, {}));

    QCOMPARE(m_msgs->last().text, QStringLiteral("登录失败！"));
    QCOMPARE(m_msgs->last().title, QString());
    QCOMPARE(m_msgs->last().icon(), MB::Information);
    QCOMPARE(m_calls, QStringList({"list", "main", "wizard", "login"}));
}

void TestStartup::withoutLoginWindowStartUpGoesOn()
{
    recordAll();
    m_app->Windows.road.login = nullptr;
    listOpens(m_set->setPath());
    QVERIFY(Main(*m_app, {}));
    QCOMPARE(m_msgs->count(), 0);
    QCOMPARE(m_app->OperatorCode, QString());
    QCOMPARE(m_calls, QStringList({"list", "main", "wizard", "tip", "compact"}));
}

void TestStartup::loginLinksOpenOperatorWindows_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("add an operator") << int(LoginLink::AddOperator) << QStringList{"login", "S1", "tip"};
    QTest::newRow("set the password") << int(LoginLink::SetPassword) << QStringList{"login", "S2", "tip"};
    QTest::newRow("no link") << int(LoginLink::None) << QStringList{"login", "tip"};
}

void TestStartup::loginLinksOpenOperatorWindows()
{
    QFETCH(int, link);
    recordAll();
    m_app->Windows.road.showMainWindow = nullptr;
    m_app->Windows.road.settingsWizard = nullptr;
    m_app->Windows.road.compactReminder = nullptr;
    m_app->Windows.road.login = [this, link](App& app) {
        m_calls << QStringLiteral("login");
        app.OperatorCode = QStringLiteral("001");
        return LoginLink(link);
    };
    listOpens(m_set->setPath());

    QVERIFY(Main(*m_app, {}));
    m_calls.removeAll(QStringLiteral("list"));
    QTEST(m_calls, "calls");
}

void TestStartup::tipFollowsTheUserSetting()
{
    m_app->Windows.road.tipOfTheDay = [this](App&) { m_calls << QStringLiteral("tip"); };
    listOpens(m_set->setPath());

    SetTipsAtStartup(false);
    QVERIFY(!TipsAtStartup());
    QVERIFY(Main(*m_app, {}));
    QCOMPARE(m_calls, QStringList({"list"}));

    // A new run: a new App with its own windows.
    SetTipsAtStartup(true);
    m_calls.clear();
    m_app = std::make_unique<App>();
    m_app->AppFolder = m_set->programFolder();
    m_app->Windows.road.tipOfTheDay = [this](App&) { m_calls << QStringLiteral("tip"); };
    listOpens(m_set->setPath());
    QVERIFY(Main(*m_app, {}));
    QCOMPARE(m_calls, QStringList({"list", "tip"}));
}

void TestStartup::bothStockAlarmsOpenTheirWindows()
{
    m_app->Windows.road.stockAlarm = [this](App&, int mode) { m_calls << QStringLiteral("alarm %1").arg(mode); };
    listOpens(m_set->setPath());
    setSetting(6, 1);
    setSetting(7, 1);
    AddGoods(m_set->db(), {.code = "G1", .name = "螺丝", .stock = 100, .maxStock = 50});
    AddGoods(m_set->db(), {.code = "G2", .name = "螺母", .stock = 1, .minStock = 10});
    enableStocktakingMenu(true);
    const QString tail = QStringLiteral("！您要查看详细内容吗？") + Nl + Nl + QStringLiteral("如果希望系统不再自动报警，") + Nl +
                         QStringLiteral("您可以在主界面[系统管理]->[系统设置]->[系统功能设置]中关闭本功能。");
    m_msgs->expect(QStringLiteral("超过最高存量"), MB::Yes).expect(QStringLiteral("低于安全存量"), MB::Yes);

    QVERIFY(Main(*m_app, {}));

    QCOMPARE(m_calls, QStringList({"list", "alarm 2", "alarm 1"}));
    const auto& msgs = m_msgs->recorded();
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(msgs[0].text, QStringLiteral("库存中发现超过最高存量的货品") + tail);
    QCOMPARE(msgs[0].title, QStringLiteral(" 库存自动报警--超出最高存量"));
    QCOMPARE(msgs[0].style, MB::YesNo | MB::Question);
    QCOMPARE(msgs[1].text, QStringLiteral("库存中发现低于安全存量的货品") + tail);
    QCOMPARE(msgs[1].title, QStringLiteral(" 库存自动报警--低于安全存量"));
}

void TestStartup::stockAlarmAnsweredNoOpensNothing()
{
    m_app->Windows.road.stockAlarm = [this](App&, int mode) { m_calls << QStringLiteral("alarm %1").arg(mode); };
    listOpens(m_set->setPath());
    setSetting(7, 1);
    m_set->db().execute(QStringLiteral("UPDATE sysinfo SET setstr='物料' WHERE ID=91"));
    AddGoods(m_set->db(), {.code = "G1", .name = "螺丝", .stock = 100, .maxStock = 50});
    enableStocktakingMenu(true);
    m_msgs->expect(QStringLiteral("库存中发现超过最高存量的物料！"), MB::No);

    QVERIFY(Main(*m_app, {}));
    QCOMPARE(m_calls, QStringList({"list"}));
}

void TestStartup::noStockAlarmWithoutTheStocktakingMenu_data()
{
    QTest::addColumn<bool>("menuExists");
    QTest::newRow("menu disabled for the operator") << true;
    QTest::newRow("no stocktaking menu") << false;
}

void TestStartup::noStockAlarmWithoutTheStocktakingMenu()
{
    QFETCH(bool, menuExists);
    m_app->Windows.road.stockAlarm = [this](App&, int mode) { m_calls << QStringLiteral("alarm %1").arg(mode); };
    listOpens(m_set->setPath());
    setSetting(6, 1);
    setSetting(7, 1);
    AddGoods(m_set->db(), {.code = "G1", .name = "螺丝", .stock = 100, .minStock = 200, .maxStock = 50});
    if (menuExists)
        enableStocktakingMenu(false);

    QVERIFY(Main(*m_app, {}));
    QCOMPARE(m_msgs->count(), 0);
    QCOMPARE(m_calls, QStringList({"list"}));
}

void TestStartup::zeroMaximumNeverAlarms()
{
    m_app->Windows.road.stockAlarm = [this](App&, int mode) { m_calls << QStringLiteral("alarm %1").arg(mode); };
    listOpens(m_set->setPath());
    setSetting(6, 1);
    setSetting(7, 1);
    AddGoods(m_set->db(), {.code = "G1", .name = "螺丝", .stock = 100000, .maxStock = 0});
    enableStocktakingMenu(true);

    QVERIFY(Main(*m_app, {}));
    QCOMPARE(m_msgs->count(), 0);
    QCOMPARE(m_calls, QStringList({"list"}));
}

void TestStartup::unfinishedAuditListsEachDocumentOnce()
{
    Database& db = m_set->db();
    struct Doc {
        const char* number;
        QVariant auditor;
        QList<const char*> lineKeys;
    };
    const Doc docs[] = {
        {"RK24051300001", QStringLiteral("系统管理员"), {"", "", "S202405130001003"}},  // stopped half-way
        {"RK24051300002", QStringLiteral("系统管理员"), {"S202405130002001"}},           // fully posted
        {"RK24051300003", QVariant(), {""}},                                          // not audited (null)
        {"RK24051300004", QStringLiteral(""), {"", ""}},                              // not audited (empty)
        {"CK24051300001", QStringLiteral("张三"), {""}},                               // stopped half-way
    };
    for (const Doc& d : docs) {
        db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F6, LB) VALUES (?, '2024-05-13', ?, 1)"),
                   {QLatin1String(d.number), d.auditor});
        int oid = 0;
        for (const char* key : d.lineKeys)
            db.execute(QStringLiteral("INSERT INTO TB11 (F0, Oid, F1, SRT) VALUES (?, ?, 'G1', ?)"),
                       {QLatin1String(d.number), ++oid, QLatin1String(key)});
    }
    m_msgs->expect(QStringLiteral("检查到系统内存在未完成审核的单据"));

    CheckUnfinishedAudits(db);

    QCOMPARE(m_msgs->count(), 1);
    QCOMPARE(m_msgs->last().text,
             QStringLiteral("检查到系统内存在未完成审核的单据：") + Nl + Nl + QStringLiteral("CK24051300001") + Nl +
                 QStringLiteral("RK24051300001") + Nl + Nl +
                 QStringLiteral("请分别找到该单据，将该单据撤销审核，然后重新审核！") + Nl + Nl +
                 QStringLiteral("请确保您的电脑电源稳定、不要强行关机、Windows操作系统运行稳定、局域网络连接通畅。"));
    QCOMPARE(m_msgs->last().title, QStringLiteral("错误检查"));
    QCOMPARE(m_msgs->last().icon(), MB::Information);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT=''")).toInt(), 6);  // nothing repaired
}

void TestStartup::unfinishedAuditCheckReportsItsOwnError()
{
    m_set->db().execute(QStringLiteral("DROP TABLE TB11"));
    // The clerk reads plain words; the engine's text goes to the error log.
    QStringList logged;
    const DbErrorLog previous = SetDbErrorLog([&logged](const QString& t) { logged << t; });
    m_msgs->expect(QStringLiteral("数据库操作出错"));
    CheckUnfinishedAudits(m_set->db());
    SetDbErrorLog(previous);
    QVERIFY(!m_msgs->last().text.contains(QStringLiteral("no such")));
    QCOMPARE(logged.size(), 1);
    QVERIFY(logged.first().contains(QStringLiteral("TB11")));
    QCOMPARE(m_msgs->last().title, QString());
    QCOMPARE(m_msgs->last().icon(), MB::Information);
}

void TestStartup::fileThatIsNoAccountSetIsRefusedBeforeAnyQuery_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("zero bytes") << "empty";
    QTest::newRow("encrypted, no account-set tables") << "no tables";
    QTest::newRow("plain SQLite file") << "plain";
}

void TestStartup::fileThatIsNoAccountSetIsRefusedBeforeAnyQuery()
{
    QFETCH(QString, kind);
    const QString file = m_set->folder() + QStringLiteral("odd.vxs");
    if (kind == QLatin1String("empty")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("plain")) {
        WritePlainSqliteFile(file);
    } else {
        Database other;
        other.create(file);
        other.execute(QStringLiteral("CREATE TABLE t (x)"));
    }
    recordAll();
    m_msgs->expect(QStringLiteral("打开账套时发现错误"), MB::Cancel);

    QVERIFY(!Main(*m_app, {file}));

    const QString text = m_msgs->last().text;
    QVERIFY2(text.contains(QStringLiteral("不是有效的账套文件")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("no such")) && !text.contains(QStringLiteral("sysinfo")), qPrintable(text));
    QCOMPARE(m_calls, QStringList());  // no main window, no login
    QVERIFY(!m_app->CurrentDatabase.isOpen());
    // A refused file gets no lock file beside it.
    QVERIFY(!QFileInfo::exists(file + QStringLiteral(".lock")));
}

void TestStartup::launcherFindsTheProgramAfterTheFirstRun()
{
    DeleteSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"));
    recordAll();
    listOpens(m_set->setPath());
    QVERIFY(Main(*m_app, {}));
    QCOMPARE(GetSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"), QStringLiteral("Vorlo")),
             QCoreApplication::applicationFilePath());
}

void TestStartup::wrongPasswordOnTheCommandLine_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("repaired");
    QTest::newRow("repair") << MB::OK << true;
    QTest::newRow("cancel ends the program") << MB::Cancel << false;
}

void TestStartup::wrongPasswordOnTheCommandLine()
{
    QFETCH(int, answer);
    QFETCH(bool, repaired);
    const QString foreign = m_set->folder() + QStringLiteral("foreign.vxs");
    {
        Database other;
        other.create(foreign, QStringLiteral("another password"));
        other.execute(QStringLiteral("CREATE TABLE t (x)"));
    }
    const QString failure = openFailure(foreign);
    QVERIFY(!failure.isEmpty());
    recordAll();
    managerOpens(true);
    m_msgs->expect(QStringLiteral("打开账套时发现错误"), answer);

    QVERIFY(!Main(*m_app, {foreign}));

    QCOMPARE(m_msgs->last().text,
             QStringLiteral("打开账套时发现错误！系统返回如下信息：") + Nl + Nl + failure + Nl + Nl +
                 QStringLiteral("系统将启动数据库修复功能，请在修复后重试!") + Nl + Nl +
                 QStringLiteral("是否进行数据库修复？") + Nl + Nl +
                 QStringLiteral("点击[确定]启动数据库修复功能，点击[取消]结束程序运行。"));
    QCOMPARE(m_msgs->last().style, MB::OKCancel | MB::Exclamation);
    QCOMPARE(m_msgs->last().title, QString());
    QCOMPARE(m_calls, repaired ? QStringList{QStringLiteral("repair %1|").arg(foreign)} : QStringList());
}

void TestStartup::wrongPasswordFromTheListGoesToTheManager()
{
    const QString foreign = m_set->folder() + QStringLiteral("foreign.vxs");
    {
        Database other;
        other.create(foreign, QStringLiteral("another password"));
        other.execute(QStringLiteral("CREATE TABLE t (x)"));
    }
    recordAll();
    listOpens(foreign);
    managerOpens(true);
    m_msgs->expect(QStringLiteral("打开账套时发现错误"), MB::Cancel);

    QVERIFY(Main(*m_app, {}));

    QCOMPARE(m_msgs->last().text,
             QStringLiteral("打开账套时发现错误！系统返回如下信息：") + Nl + Nl + openFailure(foreign) + Nl + Nl +
                 QStringLiteral("系统将启动数据库修复功能，请在修复后重试，或请重新进行账套设置!") + Nl + Nl +
                 QStringLiteral("是否进行数据库修复？") + Nl + Nl +
                 QStringLiteral("点击[确定]启动数据库修复功能，点击[取消]进入账套管理。"));
    QCOMPARE(m_calls, QStringList({"list", "manager", "main", "wizard", "login", "tip", "compact"}));
    QCOMPARE(m_app->CurrentDatabase.path(), m_set->setPath());
}

void TestStartup::missingListedFileGetsTheRightsMessage()
{
    const QString gone = m_set->folder() + QStringLiteral("gone.vxs");
    recordAll();
    listOpens(gone);
    managerOpens(false);
    m_msgs->expect(QStringLiteral("没有编辑权限"), MB::OK);

    QVERIFY(!Main(*m_app, {}));

    QCOMPARE(m_msgs->last().text,
             QStringLiteral("打开账套时发现错误！可能是因为您对该账套文件没有编辑权限。系统返回如下信息：") + Nl + Nl +
                 openFailure(gone) + Nl + Nl + QStringLiteral("请查看该账套文件属性及您对账套文件所在文件夹的权限。") +
                 Nl + Nl + QStringLiteral("如果排除以上原因，您也可以尝试使用数据库修复功能对账套文件进行修复。") + Nl + Nl +
                 QStringLiteral("是否进行数据库修复？") + Nl + Nl +
                 QStringLiteral("点击[确定]启动数据库修复功能，点击[取消]进入账套管理。"));
    QCOMPARE(m_calls, QStringList({"list", QStringLiteral("repair %1|仓库账套").arg(gone), "manager"}));
}

void TestStartup::errorAfterTheMainWindowResumesThere()
{
    recordAll();
    m_app->Windows.road.login = [this](App& app) {
        m_calls << QStringLiteral("login");
        if (m_calls.count(QStringLiteral("login")) == 1)
            throw DbError(11, QStringLiteral("database disk image is malformed"));
        app.OperatorCode = QStringLiteral("001");
        return LoginLink::None;
    };
    listOpens(m_set->setPath());
    managerOpens(true);
    m_msgs->expect(QStringLiteral("database disk image is malformed"), MB::Cancel);

    QVERIFY(Main(*m_app, {}));

    // The main window is not made twice; the wizard, the login and the checks run again on the set now open.
    QCOMPARE(m_calls, QStringList({"list", "main", "wizard", "login", "manager", "wizard", "login", "tip", "compact"}));
}

VX_REGISTER_TEST(TestStartup)
#include "tst_startup.moc"
