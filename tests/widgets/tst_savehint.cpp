#include "widgets/SaveHint.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// The saved hint and its "do not show again" tick, and the editing warning.
class TestSaveHint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hintShowsAfterEverySaveWhileTickClear();
    void tickStoresItsOwnRowAndStopsTheHint();
    void warnEditingText();
};

void TestSaveHint::hintShowsAfterEverySaveWhileTickClear()
{
    FreshAccountSet set;
    int shown = 0;
    for (int save = 0; save < 2; ++save) {
        WhenModal([&shown](QWidget* w) {
            ++shown;
            QCOMPARE(w->objectName(), QStringLiteral("MsgBoxOK"));
            QCOMPARE(w->windowTitle(), QStringLiteral(" 提示"));
            QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Lab"))->text(),
                     QStringLiteral("单据保存成功！\n\n但是现在单据并没有正式生效，\n\n必须经过[审核]操作，单据才正式生效并更新库存！"));
            QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
            w->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        ShowSavedHint(set.app());
    }
    QCOMPARE(shown, 2);
    QVERIFY(!SavedHintOff(set.db()));
}

void TestSaveHint::tickStoresItsOwnRowAndStopsTheHint()
{
    FreshAccountSet set;
    const auto settingsBefore = set.db().scalar(QStringLiteral("SELECT group_concat(ID || '=' || ifnull(setval,'') || "
                                                               "'/' || ifnull(setstr,''), ';') FROM sysinfo"));
    WhenModal([](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
        w->close();  // the title-bar close stores the tick like Command1
    });
    ShowSavedHint(set.app());
    QVERIFY(SavedHintOff(set.db()));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT setstr FROM sysinfo WHERE ID=?"), {SetSavedHintOff}).toString(),
             QStringLiteral("保存时不显示提示信息"));
    // No row of the settings catalogue changed.
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT group_concat(ID || '=' || ifnull(setval,'') || '/' || "
                                            "ifnull(setstr,''), ';') FROM sysinfo WHERE ID<>?"),
                             {SetSavedHintOff}),
             settingsBefore);

    bool shownAgain = false;
    WhenModal([&shownAgain](QWidget* w) {
        shownAgain = true;
        w->close();
    }, 300);
    ShowSavedHint(set.app());
    QTest::qWait(400);
    QVERIFY(!shownAgain);
}

void TestSaveHint::warnEditingText()
{
    MessageScript msgs;
    msgs.expect(QString());
    WarnEditing();
    QCOMPARE(msgs.last().text, QStringLiteral("正在有数据被编辑,现在退出会造成本次编辑的数据丢失。\n\n"
                                              "请您首先点击窗口左上角[保存]或[取消]菜单结束本次编辑。"));
    QCOMPARE(msgs.last().icon(), MB::Information);
    QVERIFY(msgs.last().title.isEmpty());
}

VX_REGISTER_TEST(TestSaveHint)
#include "tst_savehint.moc"
