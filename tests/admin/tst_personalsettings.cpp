#include "AdminFixture.h"

#include "admin/PersonalSettings.h"
#include "admin/PersonalSettingsForm.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

class PersonalSettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void widthStaysWhenSwitchingTabs();
    void passwordChange_data();
    void passwordChange();
    void setPasswordModeFromTheLoginLink();
    void passwordChangedMeanwhileByAnotherWorkstation();
    void notesAndBigTextAreStoredOnClose_data();
    void notesAndBigTextAreStoredOnClose();
    void chosenPictureIsCopiedUnchanged();
    void restoreWithoutDefaultPicture();
    void tenClicksShowTheGreeting();
};

namespace {

QString password(const Database& db, const QString& code)
{
    return db.scalar(QStringLiteral("SELECT F3 FROM TE1 WHERE F1 = ?"), {code}).toString();
}

QString writePicture(const QString& path)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(path, "PNG");
    return path;
}

}  // namespace

void PersonalSettingsTest::passwordChange_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("repeated");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("closed");

    QTest::newRow("changed") << "abc" << "abc" << "x'y" << "x'y" << "密码修改成功！" << int(MB::OK) << "x'y" << true;
    QTest::newRow("repeat differs") << "abc" << "abc" << "new" << "neu" << "新密码两次输入不同，请重新输入！"
                                    << int(MB::OK) << "abc" << false;
    QTest::newRow("same as old") << "abc" << "abc" << "abc" << "abc" << "您输入的新密码与旧密码相同，请修改！"
                                 << int(MB::OK) << "abc" << false;
    QTest::newRow("wrong old") << "abc" << "ABC" << "new" << "new" << "旧密码错误，你无权修改该用户密码！" << int(MB::OK)
                               << "abc" << false;
    QTest::newRow("clear, no") << "abc" << "abc" << "" << "" << "您要清空密码吗？" << int(MB::No) << "abc" << false;
    QTest::newRow("clear, yes") << "abc" << "abc" << "" << "" << "您要清空密码吗？" << int(MB::Yes) << "" << true;
}

void PersonalSettingsTest::passwordChange()
{
    QFETCH(QString, stored);
    QFETCH(QString, old);
    QFETCH(QString, typed);
    QFETCH(QString, repeated);
    QFETCH(QString, message);
    QFETCH(int, answer);
    QFETCH(QString, after);
    QFETCH(bool, closed);
    FreshAccountSet set;
    set.db().execute(QStringLiteral("UPDATE TE1 SET F3 = ? WHERE F1 = '001'"), {stored});
    set.loginAs(QStringLiteral("001"));
    MessageScript msgs;
    msgs.expect(message, answer);
    if (answer == MB::Yes)
        msgs.expect(QStringLiteral("密码修改成功！"));
    PersonalSettingsForm window(set.app());
    window.show();
    child<QLineEdit>(&window, QStringLiteral("Txt0"))->setText(old);
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(typed);
    child<QLineEdit>(&window, QStringLiteral("Txt2"))->setText(repeated);
    child<QPushButton>(&window, QStringLiteral("Cmd0"))->click();
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(password(set.db(), QStringLiteral("001")), after);
    QCOMPARE(window.isVisible(), !closed);
    if (message.startsWith(QStringLiteral("您要清空")))
        QCOMPARE(msgs.recorded().first().style, MB::YesNo | MB::Question | MB::DefaultButton2);
    else
        QCOMPARE(msgs.recorded().first().title, QStringLiteral("提示"));
}

void PersonalSettingsTest::setPasswordModeFromTheLoginLink()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    PersonalSettingsForm window(set.app(), nullptr, true);
    auto* tabs = child<QTabBar>(&window, QStringLiteral("TabS"));
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(tabs->tabText(1), QStringLiteral("设置密码"));
    QVERIFY(child<QLineEdit>(&window, QStringLiteral("Txt0"))->isHidden());
    QCOMPARE(child<QLabel>(&window, QStringLiteral("Label10"))->text(), QStringLiteral("为了您的数据安全，请设置密码："));

    MessageScript msgs;
    msgs.expect(QStringLiteral("您输入的新密码与旧密码相同，请修改！"));
    child<QPushButton>(&window, QStringLiteral("Cmd0"))->click();
    msgs.expect(QStringLiteral("密码修改成功！"));
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("pw"));
    child<QLineEdit>(&window, QStringLiteral("Txt2"))->setText(QStringLiteral("pw"));
    child<QPushButton>(&window, QStringLiteral("Cmd0"))->click();
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(password(set.db(), QStringLiteral("001")), QStringLiteral("pw"));
}

void PersonalSettingsTest::passwordChangedMeanwhileByAnotherWorkstation()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    PersonalSettingsForm window(set.app());
    set.db().execute(QStringLiteral("UPDATE TE1 SET F3 = 'other' WHERE F1 = '001'"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("可能有其它操作员以您的用户名登录系统并且刚刚修改了密码！"));
    child<QLineEdit>(&window, QStringLiteral("Txt1"))->setText(QStringLiteral("mine"));
    child<QLineEdit>(&window, QStringLiteral("Txt2"))->setText(QStringLiteral("mine"));
    child<QPushButton>(&window, QStringLiteral("Cmd0"))->click();
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().icon(), MB::Exclamation);
    QCOMPARE(password(set.db(), QStringLiteral("001")), QStringLiteral("other"));
    // The compare-and-set write refuses as well when the stored password moved on.
    QVERIFY(!StorePassword(set.db(), QStringLiteral("001"), QString(), QStringLiteral("mine")));
    QVERIFY(!StorePassword(set.db(), QStringLiteral("001"), QStringLiteral("OTHER"), QStringLiteral("mine")));
    QVERIFY(StorePassword(set.db(), QStringLiteral("001"), QStringLiteral("other"), QStringLiteral("mine")));
}

void PersonalSettingsTest::notesAndBigTextAreStoredOnClose_data()
{
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("storedNotes");
    QTest::addColumn<QString>("storedCaption");
    QTest::newRow("caption") << "" << "今天盘点" << "" << " 今天盘点";
    QTest::newRow("quote in notes stays as typed") << "it's \"ok\"?\nok" << "" << "it's \"ok\"?\nok" << "";
    QTest::newRow("quote in caption stays as typed") << "" << " a'b " << "" << " a'b";
}

void PersonalSettingsTest::notesAndBigTextAreStoredOnClose()
{
    QFETCH(QString, notes);
    QFETCH(QString, caption);
    QFETCH(QString, storedNotes);
    QFETCH(QString, storedCaption);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    {
        PersonalSettingsForm window(set.app());
        child<QPlainTextEdit>(&window, QStringLiteral("TxtPad"))->setPlainText(notes);
        child<QLineEdit>(&window, QStringLiteral("TxtBgCpt"))->setText(caption);
        child<QPushButton>(&window, QStringLiteral("CmdPad"))->click();
    }
    const RecordSet row = set.db().query(QStringLiteral("SELECT pad, F75 FROM TE1 WHERE F1 = '001'"));
    QCOMPARE(row.text(0, 0), storedNotes);
    QCOMPARE(row.text(0, 1), storedCaption);

    PersonalSettingsForm again(set.app());
    QCOMPARE(child<QPlainTextEdit>(&again, QStringLiteral("TxtPad"))->toPlainText(), storedNotes);
}

void PersonalSettingsTest::chosenPictureIsCopiedUnchanged()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    const QString source = writePicture(set.folder() + QStringLiteral("flower.gif"));
    DialogScript dialogs;
    dialogs.openFile(source);
    MessageScript msgs;
    msgs.expect(QStringLiteral("系统管理员，您的背景图片设置成功！"));
    PersonalSettingsForm window(set.app());
    window.show();
    auto* confirm = child<QPushButton>(&window, QStringLiteral("CmdSet1"));
    QVERIFY(!confirm->isEnabled());
    child<QPushButton>(&window, QStringLiteral("CmdSet0"))->click();
    QCOMPARE(dialogs.titles, QStringList{QStringLiteral("打开图片文件")});
    QVERIFY(confirm->isEnabled());
    confirm->click();
    QCOMPARE(msgs.pending(), 0);
    QFile copy(PersonalPicturePath(set.app(), QStringLiteral("001")));
    QFile original(source);
    QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original.readAll());
    QVERIFY(!window.isVisible());
}

void PersonalSettingsTest::restoreWithoutDefaultPicture()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    QFile::remove(DefaultPicturePath(set.app()));
    const QString personal = PersonalPicturePath(set.app(), QStringLiteral("001"));
    QDir().mkpath(set.programFolder() + QStringLiteral("image"));
    writePicture(personal);
    MessageScript msgs;
    msgs.expect(QStringLiteral("缺少必要的文件，无法复原！"));
    msgs.expect(QStringLiteral("您的背景图片设置成功！"));
    PersonalSettingsForm window(set.app());
    child<QPushButton>(&window, QStringLiteral("CmdSet3"))->click();
    QVERIFY(!child<QPushButton>(&window, QStringLiteral("CmdSet3"))->isEnabled());
    QVERIFY(child<QPushButton>(&window, QStringLiteral("CmdSet1"))->isEnabled());
    child<QPushButton>(&window, QStringLiteral("CmdSet1"))->click();
    QCOMPARE(msgs.pending(), 0);
    QVERIFY(!QFile::exists(personal));
}

void PersonalSettingsTest::tenClicksShowTheGreeting()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    PersonalSettingsForm window(set.app());
    window.show();
    auto* tabs = child<QTabBar>(&window, QStringLiteral("TabS"));
    tabs->setCurrentIndex(2);
    auto* img = child<QLabel>(&window, QStringLiteral("Img"));
    auto* greeting = child<QLabel>(&window, QStringLiteral("LabEgg"));
    for (int i = 0; i < 9; ++i)
        QTest::mouseClick(img, Qt::LeftButton);
    QVERIFY(greeting->isHidden());
    QTest::mouseClick(img, Qt::LeftButton);
    QVERIFY(!greeting->isHidden());
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(2);
    QVERIFY(greeting->isHidden());
    for (int i = 0; i < 9; ++i)
        QTest::mouseClick(img, Qt::LeftButton);
    QVERIFY(greeting->isHidden());
}

void PersonalSettingsTest::widthStaysWhenSwitchingTabs()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    PersonalSettingsForm window(set.app());
    window.show();
    QCoreApplication::processEvents();
    const QSize size = window.size();
    auto* tabs = child<QTabBar>(&window, QStringLiteral("TabS"));
    for (int tab : {1, 2, 3, 0}) {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QCOMPARE(window.size(), size);
    }
}

VX_REGISTER_TEST(PersonalSettingsTest)
#include "tst_personalsettings.moc"
