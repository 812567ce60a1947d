#include "core/App.h"
#include "core/MenuModel.h"
#include "core/ProgramEnd.h"
#include "platform/UserSettings.h"
#include "widgets/LabelButton.h"
#include "shell/BGForm.h"
#include "shell/Login.h"
#include "shell/LoginService.h"
#include "shell/MForm.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "ShellTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

void addOperator(Database& db, const QString& code, const QString& name, const QVariant& password, int words = 1111)
{
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {code, name, password, words, words, words, words, words, words, words, words});
}

void choose(Login& w, const QString& account)
{
    for (int i = 0; i < w.Cmb->count(); ++i)
        if (w.Cmb->itemText(i).startsWith(account + QLatin1Char('.')))
            w.Cmb->setCurrentIndex(i);
}

}  // namespace

class TestLogin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void preselection_data();
    void preselection();
    void weekdayIsChineseWhateverTheLocale();
    void rightPasswordLogsIn();
    void wrongPasswordRefused();
    void operatorWithoutRightsGetsGreyMenus();
    void adminWithoutPasswordLogsInWithEnter();
    void companyIsTheSetsName_data();
    void companyIsTheSetsName();
    void failedPasswordLookupNeverLetsIn();
    void operatorRemovedMeanwhileIsRefused();
    void ctrlSLogsInAs001();
    void linkCaption_data();
    void linkCaption();
    void addUserLinkAsksForOperatorsWindow();
    void linkThatLogsNobodyInAsksForNothing();
    void exitEndsProgramWithoutBackup();
};

void TestLogin::preselection_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("index");
    QTest::newRow("saved 1 among 1 and 10") << QStringList{"001.a", "1.b", "10.c"} << "1" << 1;
    QTest::newRow("saved 12 never picks 123") << QStringList{"001.a", "123.b", "12.c"} << "12" << 2;
    QTest::newRow("only 10 present") << QStringList{"001.a", "10.c"} << "1" << 0;
    QTest::newRow("operator gone") << QStringList{"001.a", "002.b"} << "009" << 0;
    QTest::newRow("empty list") << QStringList{} << "1" << -1;
}

void TestLogin::preselection()
{
    QFETCH(QStringList, items);
    QFETCH(QString, saved);
    QFETCH(int, index);
    QCOMPARE(PreselectIndex(items, saved), index);
}

void TestLogin::weekdayIsChineseWhateverTheLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FreshAccountSet set;
    Login w(set.app());
    QLocale::setDefault(previous);
    const QString weekday = QLocale(QLocale::Chinese, QLocale::China).dayName(QDate::currentDate().dayOfWeek());
    QVERIFY2(w.windowTitle().endsWith(QLatin1Char(' ') + weekday), qPrintable(w.windowTitle()));
    QVERIFY(weekday.startsWith(QStringLiteral("星期")));
}

void TestLogin::rightPasswordLogsIn()
{
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("002"), QStringLiteral("李会计"), QStringLiteral("Abc1"));
    MForm frame(set.app());
    Login w(set.app());
    choose(w, QStringLiteral("002"));
    QVERIFY(!w.Txt[1]->isHidden());
    w.Txt[1]->setText(QStringLiteral("Abc1"));
    w.Cmd[0]->click();

    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(set.app().OperatorCode, QStringLiteral("002"));
    QCOMPARE(set.app().OperatorName, QStringLiteral("李会计"));
    QCOMPARE(frame.statusText(3), QStringLiteral("李会计"));
    QCOMPARE(GetSetting(set.setPath(), QStringLiteral("Options"), QStringLiteral("默认登录账号")), QStringLiteral("002"));

    // The next login window preselects the operator who logged in last.
    Login again(set.app());
    QCOMPARE(again.Cmb->currentText(), QStringLiteral("002.李会计"));
}

void TestLogin::wrongPasswordRefused()
{
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("002"), QStringLiteral("李会计"), QStringLiteral("Abc1"));
    Login w(set.app());
    choose(w, QStringLiteral("002"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("密码输入错误！"));
    w.Txt[1]->setText(QStringLiteral("abc1"));  // compared with regard to case
    w.Cmd[0]->click();
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().title, QStringLiteral("提示"));
    QVERIFY(set.app().OperatorCode.isEmpty());
    QVERIFY(w.Txt[1]->text().isEmpty());
    QCOMPARE(w.result(), int(QDialog::Rejected));

    w.Txt[1]->setText(QStringLiteral("Abc1"));
    w.Cmd[0]->click();
    QCOMPARE(set.app().OperatorCode, QStringLiteral("002"));
}

void TestLogin::operatorWithoutRightsGetsGreyMenus()
{
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("003"), QStringLiteral("王五"), QStringLiteral("x"), 0);
    MForm frame(set.app());
    Login w(set.app());
    choose(w, QStringLiteral("003"));
    w.Txt[1]->setText(QStringLiteral("x"));
    w.Cmd[0]->click();

    const MenuModel& m = set.app().Menus;
    for (const char* name : {"Menu_A", "Menu_B", "Menu_C", "Menu_D", "Menu_E", "Menu_F", "Menu_S1", "Menu_S25",
                             "Menu_zbbf", "Menu_zbhf", "Menu_S3", "Menu_shuaxin", "Menu_S30", "Menu_yasuo"})
        QVERIFY2(!m.isEnabled(QString::fromLatin1(name)), name);
    QVERIFY(m.isEnabled(QStringLiteral("Menu_S26")));
    QVERIFY(m.isEnabled(QStringLiteral("Menu_S")));
    QCOMPARE(set.app().CanSeeCost, 0);
    QCOMPARE(set.app().CanSeeProfit, 0);
    // The menu bar follows the model.
    QVERIFY(!frame.menuAction(QStringLiteral("Menu_A"))->isEnabled());
    QVERIFY(frame.menuAction(QStringLiteral("Menu_S"))->isEnabled());
}

void TestLogin::adminWithoutPasswordLogsInWithEnter()
{
    FreshAccountSet set;
    MForm frame(set.app());
    Login w(set.app());
    QCOMPARE(w.Cmb->currentText(), QStringLiteral("001.系统管理员"));
    QVERIFY(w.Txt[1]->isHidden());
    QVERIFY(w.Label1[1]->isHidden());
    QVERIFY(!w.LabAddUser->isHidden());
    QVERIFY(!w.LabNoPWD->isHidden());
    QTest::keyClick(&w, Qt::Key_Return);

    QCOMPARE(set.app().OperatorCode, QStringLiteral("001"));
    for (const char* name : {"Menu_A", "Menu_F", "Menu_S1", "Menu_zbhf", "Menu_S3", "Menu_shuaxin", "Menu_S30",
                             "Menu_yasuo"})
        QVERIFY2(set.app().Menus.isEnabled(QString::fromLatin1(name)), name);
    QCOMPARE(set.app().CanSeeCost, -1);
    QCOMPARE(set.app().CanSeeProfit, -1);
}

void TestLogin::companyIsTheSetsName_data()
{
    QTest::addColumn<QString>("listedName");
    QTest::addColumn<QString>("company");
    QTest::newRow("set from the list") << QStringLiteral("维罗商贸公司") << QStringLiteral("维罗商贸公司");
    // The fixture's file is "测试账套.vxs".
    // A set opened from the command line has no listed name: its file's base name stands in.
    QTest::newRow("set from the command line") << QString() << QStringLiteral("测试账套");
}

void TestLogin::companyIsTheSetsName()
{
    QFETCH(QString, listedName);
    QFETCH(QString, company);
    FreshAccountSet set;
    set.app().CurrentSetName = listedName;
    MForm frame(set.app());
    Login w(set.app());
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(set.app().OperatorCode, QStringLiteral("001"));
    // Printouts show CompanyName as "RegName"; the background shows it as its big text.
    QCOMPARE(set.app().CompanyName, company);
    QCOMPARE(frame.background()->LabBig[1]->text(), company);
}

void TestLogin::failedPasswordLookupNeverLetsIn()
{
    FreshAccountSet set;
    Login w(set.app());
    QCOMPARE(w.Txt[0]->text(), QStringLiteral("001"));
    // The operators table becomes unreadable after the window was filled:
    // an unreadable password must not count as the empty one.
    set.db().execute(QStringLiteral("ALTER TABLE TE1 RENAME TO TE1_gone"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("无法读取操作员的密码"));
    w.Cmd[0]->click();
    QCOMPARE(msgs.count(), 1);
    QVERIFY(set.app().OperatorCode.isEmpty());
    QCOMPARE(w.result(), int(QDialog::Rejected));
}

void TestLogin::operatorRemovedMeanwhileIsRefused()
{
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("004"), QStringLiteral("赵六"), QVariant());
    Login w(set.app());
    choose(w, QStringLiteral("004"));
    QVERIFY(w.Txt[1]->isHidden());
    set.db().execute(QStringLiteral("DELETE FROM TE1 WHERE F1='004'"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("密码输入错误！"));
    w.Cmd[0]->click();
    QVERIFY(set.app().OperatorCode.isEmpty());
}

void TestLogin::ctrlSLogsInAs001()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("UPDATE TE1 SET F3='root' WHERE F1='001'"));
    addOperator(set.db(), QStringLiteral("002"), QStringLiteral("李会计"), QStringLiteral("Abc1"));
    Login w(set.app());
    choose(w, QStringLiteral("002"));
    w.Txt[1]->setText(QStringLiteral("root"));
    QTest::keyClick(w.Txt[1], Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(set.app().OperatorCode, QStringLiteral("001"));
    QCOMPARE(w.Cmb->currentText(), QStringLiteral("002.李会计"));
}

void TestLogin::linkCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("short name") << "张三" << "【设置张三登录密码】";
    QTest::newRow("four characters") << "欧阳小明" << "【设置欧阳小明登录密码】";
    QTest::newRow("five characters") << "欧阳小明明" << "【设置005登录密码】";
}

void TestLogin::linkCaption()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FreshAccountSet set;
    addOperator(set.db(), QStringLiteral("005"), name, QString());
    Login w(set.app());
    choose(w, QStringLiteral("005"));
    QCOMPARE(w.LabNoPWD->text(), caption);
    QVERIFY(!w.LabNoPWD->isHidden());
    QVERIFY(w.LabAddUser->isHidden());
}

void TestLogin::addUserLinkAsksForOperatorsWindow()
{
    FreshAccountSet set;
    Login w(set.app());
    Q_EMIT w.LabAddUser->clicked();
    QCOMPARE(set.app().OperatorCode, QStringLiteral("001"));
    QCOMPARE(w.asked(), LoginLink::AddOperator);
}

// A link whose login failed leaves no request behind for the login that follows.
void TestLogin::linkThatLogsNobodyInAsksForNothing()
{
    FreshAccountSet set;
    Login w(set.app());
    set.db().execute(QStringLiteral("ALTER TABLE TE1 RENAME TO TE1_gone"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("无法读取操作员的密码"));
    Q_EMIT w.LabAddUser->clicked();
    QCOMPARE(msgs.count(), 1);
    QVERIFY(set.app().OperatorCode.isEmpty());

    set.db().execute(QStringLiteral("ALTER TABLE TE1_gone RENAME TO TE1"));
    w.Cmd[0]->click();
    QCOMPARE(set.app().OperatorCode, QStringLiteral("001"));
    QCOMPARE(w.asked(), LoginLink::None);
}

void TestLogin::exitEndsProgramWithoutBackup()
{
    FreshAccountSet set;
    int backups = 0;
    set.app().Windows.road.autoBackup = [&backups](App&) { ++backups; };
    int ends = 0;
    const auto previous = SetProgramEndHandler([&ends] { ++ends; });
    Login w(set.app());
    QTest::keyClick(&w, Qt::Key_Escape);
    SetProgramEndHandler(previous);
    QCOMPARE(ends, 1);
    QCOMPARE(backups, 0);
    QVERIFY(set.app().OperatorCode.isEmpty());
}

VX_REGISTER_TEST(TestLogin)
#include "tst_login.moc"
