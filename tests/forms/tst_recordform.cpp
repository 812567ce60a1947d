#include "forms/RecordForm.h"
#include "core/App.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>

// The record window base through a stand-in member over no table: its
// commands ask the permission word the member names, and it keeps the shared
// close guard and edit colour.
class TestRecordForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandsAskTheMembersWord_data();
    void commandsAskTheMembersWord();
    void editingRefusesToCloseAndColoursTheBox();
    void commandMessagesStandOverTheirWindow_data();
    void commandMessagesStandOverTheirWindow();
};

namespace {

class StandInRecords : public RecordForm {
public:
    StandInRecords(App& app, int rightGroup) : RecordForm(app, rightGroup, nullptr)
    {
        addLineBox(0, QStringLiteral("编码"), 10, 0, 0);
        addLineBox(1, QStringLiteral("名称"), 20, 1, 0);
        Shape s;
        s.objectName = QStringLiteral("Stand");
        s.caption = QStringLiteral("测试档案");
        s.listTab = QStringLiteral("列表");
        s.detailTab = QStringLiteral("详细");
        s.headers = {QStringLiteral("编码"), QStringLiteral("名称")};
        s.listBoxes = 2;
        s.printable = false;
        start(s, QString());
    }
    RecordSaveStatus saveAnswer = RecordSaveStatus::Saved;

protected:
    RecordList readList(const QString&) override
    {
        RecordList list;
        list.cols = 2;
        list.rows = 1;
        list.cells = {QStringLiteral("A1"), QStringLiteral("甲")};
        return list;
    }
    RecordSaveResult saveRecord() override { return {saveAnswer, {}}; }
    bool codeInUse(const QString&) override { return false; }
    bool otherRecordExists(const QString&) override { return true; }
    void deleteRecord(const QString&) override {}
};

// An operator holding every item of the basic-data word and none of the others.
void loginBasicDataOnly(FreshAccountSet& set)
{
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                                    "VALUES ('002', '张三', '', 1111, 1, 1, 1, 1, 1, 1, 1)"));
    set.loginAs(QStringLiteral("002"));
}

}  // namespace

void TestRecordForm::commandsAskTheMembersWord_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("refused");
    QTest::newRow("basic data") << int(RightBasicData) << false;
    QTest::newRow("accounts") << int(RightAccounts) << true;
    QTest::newRow("reports") << int(RightReports) << true;
}

void TestRecordForm::commandsAskTheMembersWord()
{
    QFETCH(int, group);
    QFETCH(bool, refused);
    FreshAccountSet set;
    loginBasicDataOnly(set);
    StandInRecords w(set.app(), group);
    w.show();
    MessageScript msgs;
    if (refused)
        msgs.expect(NoRightsText);
    w.Menu_Add_Click();
    QCOMPARE(w.Edstu, refused ? 0 : 1);
    if (!refused)
        w.Menu_cancel_Click();
    if (refused)
        msgs.expect(NoRightsText);
    w.Menu_edit_Click();
    QCOMPARE(w.Edstu, refused ? 0 : 2);
}

void TestRecordForm::editingRefusesToCloseAndColoursTheBox()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    auto* w = new StandInRecords(set.app(), RightBasicData);
    QPointer<StandInRecords> alive(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    auto* name = qobject_cast<QLineEdit*>(w->Txt[1]);
    const QColor own = name->palette().color(QPalette::Base);

    w->Menu_edit_Click();
    QCOMPARE(w->Edstu, 2);
    name->setFocus();
    QTRY_COMPARE(name->palette().color(QPalette::Base), QColor(192, 255, 255));
    {
        MessageScript msgs;
        msgs.allowAny();
        QVERIFY(!w->close());
        QVERIFY(msgs.count() >= 1);
    }
    QVERIFY(alive);
    w->Menu_cancel_Click();
    QCOMPARE(name->palette().color(QPalette::Base), own);
    QVERIFY(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alive);
}

void TestRecordForm::commandMessagesStandOverTheirWindow_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("commands");  // actions of window A, in order
    QTest::addColumn<QString>("message");
    QTest::newRow("refused for want of the right") << int(RightAccounts) << QStringList{"Menu_Add"} << NoRightsText;
    QTest::newRow("save refused") << int(RightBasicData) << QStringList{"Menu_Add", "Menu_save"}
                                  << QStringLiteral("编码不能为空！");
    QTest::newRow("delete asks first") << int(RightBasicData) << QStringList{"Menu_del"}
                                       << QStringLiteral("真的要删除甲的资料吗？");
}

void TestRecordForm::commandMessagesStandOverTheirWindow()
{
    QFETCH(int, group);
    QFETCH(QStringList, commands);
    QFETCH(QString, message);
    FreshAccountSet set;
    loginBasicDataOnly(set);
    // Two windows of the main window's area; the operator works in B while A's command runs.
    QMdiArea area;
    auto* a = new StandInRecords(set.app(), group);
    auto* b = new StandInRecords(set.app(), RightBasicData);
    a->saveAnswer = RecordSaveStatus::EmptyCode;
    area.addSubWindow(a);
    QMdiSubWindow* bWindow = area.addSubWindow(b);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.setActiveSubWindow(bWindow);
    b->TabS->setFocus();
    QTRY_VERIFY(b->isAncestorOf(QApplication::focusWidget()));
    MessageScript msgs;
    msgs.expect(message, MB::No);
    for (const QString& command : commands)
        a->findChild<QAction*>(command)->trigger();
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, message);
    QCOMPARE(msgs.last().window.data(), a);
    if (a->Edstu != 0)
        a->Menu_cancel_Click();
}

VX_REGISTER_TEST(TestRecordForm)
#include "tst_recordform.moc"
