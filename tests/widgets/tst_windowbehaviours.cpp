#include "core/App.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "widgets/CancellableBusyPanel.h"
#include "widgets/CloseWhileEditingGuard.h"
#include "widgets/EditFocusColour.h"
#include "widgets/EnterAsTab.h"
#include "widgets/LabelButton.h"
#include "widgets/NoRightsRefusal.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

void AddOperator(Database& db, const QString& code, int word)
{
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, '操作员', '', ?, ?, ?, ?, ?, ?, ?, ?)"),
               {code, word, word, word, word, word, word, word, word});
}

// A window with three boxes, as a record window lays them out.
struct ThreeBoxes {
    QWidget window;
    QLineEdit* a;
    QLineEdit* b;
    QLineEdit* c;
    QPushButton* tabs;
    ThreeBoxes()
    {
        auto* layout = new QVBoxLayout(&window);
        a = new QLineEdit(QStringLiteral("甲"), &window);
        b = new QLineEdit(QStringLiteral("乙"), &window);
        c = new QLineEdit(QStringLiteral("丙"), &window);
        tabs = new QPushButton(QStringLiteral("标签"), &window);
        for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(c),
                           static_cast<QWidget*>(tabs)})
            layout->addWidget(w);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
    }
};

}  // namespace

// The behaviours every window family attaches, each through the door a user uses.
class TestWindowBehaviours : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closeRefusedWhileEditing_data();
    void closeRefusedWhileEditing();
    void enterMovesToTheNextEnabledBox();
    void editFocusColourWhileEditing();
    void browseFocusGoesToTheTabStrip();
    void noRightsRefusal_data();
    void noRightsRefusal();
    void busyPanelCancelStopsTheJob();
    void labelButtonClicksOnlyInside();
};

void TestWindowBehaviours::closeRefusedWhileEditing_data()
{
    QTest::addColumn<int>("edstu");
    QTest::addColumn<bool>("closes");
    QTest::newRow("browsing") << 0 << true;
    QTest::newRow("adding") << 1 << false;
    QTest::newRow("editing") << 2 << false;
}

void TestWindowBehaviours::closeRefusedWhileEditing()
{
    QFETCH(int, edstu);
    QFETCH(bool, closes);
    QWidget window;
    window.setProperty("Edstu", edstu);
    new CloseWhileEditingGuard(&window);
    window.show();
    MessageScript msgs;
    if (!closes)
        msgs.expect(QStringLiteral("正在有数据被编辑"));
    QCOMPARE(window.close(), closes);
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(msgs.count(), closes ? 0 : 1);
    // Back to browsing, the same window closes.
    window.setProperty("Edstu", 0);
    QVERIFY(window.close());
}

void TestWindowBehaviours::enterMovesToTheNextEnabledBox()
{
    ThreeBoxes w;
    EnterAsTab(w.a);
    w.b->setEnabled(false);
    w.a->setFocus();
    QTRY_VERIFY(w.a->hasFocus());
    QTest::keyClick(w.a, Qt::Key_Return);
    QTRY_VERIFY(w.c->hasFocus());
    QCOMPARE(w.a->text(), QStringLiteral("甲"));
}

void TestWindowBehaviours::editFocusColourWhileEditing()
{
    ThreeBoxes w;
    const QColor own = w.b->palette().color(QPalette::Base);
    bool editing = true;
    new EditFocusColour(w.b, [&editing] { return editing; }, w.tabs);
    w.b->setFocus();
    QTRY_VERIFY(w.b->hasFocus());
    QCOMPARE(w.b->palette().color(QPalette::Base), QColor(192, 255, 255));
    QTRY_COMPARE(w.b->selectedText(), QStringLiteral("乙"));
    w.c->setFocus();
    QTRY_VERIFY(w.c->hasFocus());
    QCOMPARE(w.b->palette().color(QPalette::Base), own);
}

void TestWindowBehaviours::browseFocusGoesToTheTabStrip()
{
    ThreeBoxes w;
    new EditFocusColour(w.b, [] { return false; }, w.tabs);
    w.b->setFocus();
    QTRY_VERIFY(w.tabs->hasFocus());
    QVERIFY(w.b->palette().color(QPalette::Base) != QColor(192, 255, 255));
}

void TestWindowBehaviours::noRightsRefusal_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<bool>("runs");
    QTest::newRow("group only") << 1 << false;
    QTest::newRow("add granted") << 11 << true;
    QTest::newRow("group off") << 0 << false;
}

void TestWindowBehaviours::noRightsRefusal()
{
    QFETCH(int, word);
    QFETCH(bool, runs);
    FreshAccountSet set;
    AddOperator(set.db(), QStringLiteral("002"), word);
    set.loginAs(QStringLiteral("002"));
    QPushButton add;
    QAction print(nullptr);
    int ran = 0;
    GuardByRight(&add, set.app(), RightOutbound, RightItem1, [&ran] { ++ran; });
    GuardByRight(&print, set.app(), RightOutbound, RightItem1, [&ran] { ++ran; });
    MessageScript msgs;
    if (!runs)
        msgs.expect(QStringLiteral("对不起，您无此权限！")).expect(QStringLiteral("对不起，您无此权限！"));
    add.click();
    print.trigger();
    QCOMPARE(ran, runs ? 2 : 0);
    QCOMPARE(msgs.count(), runs ? 0 : 2);
    if (!runs) {
        QCOMPARE(msgs.last().text, QStringLiteral("对不起，您无此权限！"));
        QCOMPARE(msgs.last().icon(), MB::Information);
        QCOMPARE(msgs.last().title, QString());
    }
    // A right granted later applies at the next click.
    set.db().execute(QStringLiteral("UPDATE TE1 SET F64 = 11 WHERE F1='002'"));
    add.click();
    QCOMPARE(ran, runs ? 3 : 1);
}

void TestWindowBehaviours::busyPanelCancelStopsTheJob()
{
    QWidget window;
    auto* panel = new CancellableBusyPanel(&window);
    window.show();
    panel->start(QStringLiteral("正在处理"));
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->CmdCancel->text(), QStringLiteral("取消"));

    // The job sees only the callback; the click arrives through the event loop.
    const CancellableBusyPanel::Poll poll = panel->poll();
    int steps = 0;
    for (int i = 0; i < 100; ++i) {
        if (i == 3)
            QMetaObject::invokeMethod(panel->CmdCancel, &QPushButton::click, Qt::QueuedConnection);
        if (!poll(QStringLiteral("第%1项").arg(i + 1)))
            break;
        ++steps;
    }
    QCOMPARE(steps, 3);
    QVERIFY(panel->cancelled());
    QCOMPARE(panel->LabProgress->text(), QStringLiteral("第4项"));
    panel->finish();
    QVERIFY(!panel->isVisible());

    // A new start clears the cancel.
    panel->start(QStringLiteral("再次处理"));
    QVERIFY(!panel->cancelled());
    QVERIFY(poll(QString()));
    QCOMPARE(panel->LabProgress->text(), QStringLiteral("再次处理"));
}

void TestWindowBehaviours::labelButtonClicksOnlyInside()
{
    LabelButton label(QStringLiteral("进入系统"));
    label.resize(100, 30);
    label.show();
    QSignalSpy clicks(&label, &LabelButton::clicked);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!label.font().bold());
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(label.font().bold());
    QCOMPARE(clicks.count(), 1);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 10));
    QCOMPARE(clicks.count(), 1);
}

VX_REGISTER_TEST(TestWindowBehaviours)
#include "tst_windowbehaviours.moc"
