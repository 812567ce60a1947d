// The first start of the program on a new account set, through the same
// windows a user sees: the settings wizard opens before the login, its save
// takes effect, "001" logs in with an empty password and the menus follow
// the chosen settings.
#include "app/Wiring.h"
#include "core/App.h"
#include "core/MainFrame.h"
#include "core/ProgramEnd.h"
#include "core/Startup.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs `action` on the modal window with the given object name once it is
// the active modal window.
void WhenModalNamed(const QString& name, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer(qApp);
    auto ticks = std::make_shared<int>(500);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        QWidget* w = QApplication::activeModalWidget();
        if ((w && w->objectName() == name) || --*ticks <= 0) {
            timer->stop();
            timer->deleteLater();
            if (w && w->objectName() == name)
                action(w);
        }
    });
    timer->start(20);
}

void click(QWidget* window, const QString& button)
{
    auto* b = window->findChild<QPushButton*>(button);
    QVERIFY2(b, qPrintable(button));
    b->click();
}

}  // namespace

class TestFirstStart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newSetOpensInWizardThenLogsIn();
    void loginLeftWithoutOperatorEndsStartUp();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<App> app;
    QString setPath;
};

void TestFirstStart::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QDir(dir->path()).mkpath(QStringLiteral("program"));
    const QString program = dir->path() + QStringLiteral("/program/");
    QVERIFY(QFile::copy(FreshAccountSet::templatePath(), program + QStringLiteral("nousit.dat")));
    setPath = dir->path() + QStringLiteral("/新账套.vxs");
    QVERIFY(QFile::copy(FreshAccountSet::templatePath(), setPath));
    QFile(setPath).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    app = std::make_unique<App>();
    app->AppFolder = program;
    WireWindows(app->Windows);
}

void TestFirstStart::cleanup()
{
    // Deleted, not closed: closing the main window asks to end the program.
    for (QWidget* w : QApplication::topLevelWidgets())
        w->deleteLater();
    QCoreApplication::processEvents();
    app.reset();
}

void TestFirstStart::newSetOpensInWizardThenLogsIn()
{
    MessageScript msgs;
    msgs.expect(QStringLiteral("您的设置已生效！"));
    bool wizardSeen = false;
    bool loginSeen = false;
    WhenModalNamed(QStringLiteral("SysFuncSet"), [&](QWidget* wizard) {
        wizardSeen = true;
        // A new set was configured by no title yet: the wizard can only be saved.
        QVERIFY(!wizard->findChild<QPushButton*>(QStringLiteral("CmdCancel"))->isVisibleTo(wizard));
        for (int page = 0; page < 4; ++page)
            click(wizard, QStringLiteral("CmdStep0"));
        WhenModalNamed(QStringLiteral("Login"), [&](QWidget* login) {
            loginSeen = true;
            auto* cmb = login->findChild<QComboBox*>(QStringLiteral("Cmb"));
            QVERIFY(cmb);
            QVERIFY(cmb->currentText().contains(QStringLiteral("001")));
            WhenModalNamed(QStringLiteral("frmTip"), [](QWidget* tip) { click(tip, QStringLiteral("cmdOK")); });
            click(login, QStringLiteral("Cmd0"));
        });
        click(wizard, QStringLiteral("CmdSave"));
    });

    QVERIFY(Main(*app, {setPath}));
    QVERIFY(wizardSeen);
    QVERIFY(loginSeen);
    QCOMPARE(app->OperatorCode, QStringLiteral("001"));
    QCOMPARE(app->OpenedFromCommandLine, -1);
    QVERIFY(app->MainWindow);
    // The wizard switched itself off for the next start.
    QCOMPARE(app->CurrentDatabase.scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID=1000")).toInt(), 0);
    // The warehouse edition's menus after the template's settings: purchase
    // receipt and return, department issue and return, numbered.
    QCOMPARE(app->Menus.caption(QStringLiteral("Menu_BB0")), QStringLiteral("&1.采购入库单"));
    QVERIFY(app->Menus.isVisible(QStringLiteral("Menu_BB0")));
    QCOMPARE(app->Menus.caption(QStringLiteral("Menu_DD0")), QStringLiteral("&1.部门领用单"));
    QVERIFY(!app->Menus.isVisible(QStringLiteral("Menu_E")));
    QVERIFY(app->Menus.isEnabled(QStringLiteral("Menu_S1")));
}

void TestFirstStart::loginLeftWithoutOperatorEndsStartUp()
{
    // A set whose wizard has run: start-up goes straight to the login.
    {
        Database db;
        db.open(setPath);
        db.execute(QStringLiteral("UPDATE sysinfo SET setval=0 WHERE ID=1000"));
        db.execute(QStringLiteral("UPDATE thever SET exename=?"), {app->AppTitle});
    }
    MessageScript msgs;
    msgs.expect(QStringLiteral("登录失败！"));
    bool loginSeen = false;
    bool endAsked = false;
    const auto previous = SetProgramEndHandler([&] { endAsked = true; });
    WhenModalNamed(QStringLiteral("Login"), [&](QWidget* login) {
        loginSeen = true;
        // The window cannot be closed past the login: only its exit button leaves.
        login->close();
        QVERIFY(login->isVisible());
        click(login, QStringLiteral("Cmd1"));
    });
    const bool goesOn = Main(*app, {setPath});
    SetProgramEndHandler(previous);
    QVERIFY(!goesOn);
    QVERIFY(loginSeen);
    QVERIFY(endAsked);
    QVERIFY(app->OperatorCode.isEmpty());
    QCOMPARE(msgs.count(), 1);
}

VX_REGISTER_TEST(TestFirstStart)
#include "tst_firststart.moc"
