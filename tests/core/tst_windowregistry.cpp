#include "core/App.h"
#include "core/MainFrame.h"
#include "core/WindowRegistry.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

namespace {

// A main window with nothing but its MDI area.
class StandInMain : public QMainWindow, public MainFrame {
public:
    StandInMain()
    {
        Area = new QMdiArea(this);
        setCentralWidget(Area);
    }
    QWidget* widget() override { return this; }
    QMdiArea* mdiArea() override { return Area; }
    void setStatusText(int, const QString&) override {}
    QString statusText(int) const override { return {}; }
    QFont backgroundFont() const override { return font(); }
    QMdiArea* Area;
};

int created = 0;

class ListWindow : public QWidget {
public:
    ListWindow(App&, QWidget* parent) : QWidget(parent)
    {
        ++created;
        setObjectName(QStringLiteral("ListWindow"));
    }
};

QWidget* dialogParent = nullptr;
bool dialogShownModal = false;

class SmallDialog : public QDialog {
public:
    SmallDialog(App&, QWidget* parent) : QDialog(parent)
    {
        dialogParent = parent;
        setObjectName(QStringLiteral("SmallDialog"));
        QMetaObject::invokeMethod(this, [this] {
            dialogShownModal = isModal() && isVisible();
            accept();
        }, Qt::QueuedConnection);
    }
};

}  // namespace

// The one window opener over the registry each App owns.
class TestWindowRegistry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { created = 0; dialogParent = nullptr; dialogShownModal = false; }
    void modelessOpensOnceInTheMdiArea();
    void modalIsADialogOverTheMainWindow();
    void rightRefusesBeforeTheWindowIsMade();
    void unknownItemOpensNothing();
    void everyAppHasItsOwnRegistry();
    void standInKeepsTheRight();
};

void TestWindowRegistry::modelessOpensOnceInTheMdiArea()
{
    App app;
    StandInMain main;
    app.MainWindow = &main;
    main.show();
    app.Windows.modeless<ListWindow>(QStringLiteral("Menu_AA0"));

    QVERIFY(OpenWindow(app, QStringLiteral("Menu_AA0")));
    QCOMPARE(created, 1);
    QCOMPARE(main.Area->subWindowList().size(), 1);
    QPointer<QWidget> first = OpenedWindow(app, QStringLiteral("Menu_AA0"));
    QVERIFY(first);
    QCOMPARE(main.Area->subWindowList().first()->widget(), first.data());

    // Open again: the same window comes to the front, none is made.
    main.Area->subWindowList().first()->showMinimized();
    QVERIFY(OpenWindow(app, QStringLiteral("Menu_AA0")));
    QCOMPARE(created, 1);
    QCOMPARE(main.Area->subWindowList().size(), 1);
    QVERIFY(!main.Area->subWindowList().first()->isMinimized());
    QCOMPARE(main.Area->activeSubWindow()->widget(), first.data());

    // Closed, it is gone; the next choice makes it afresh.
    main.Area->closeAllSubWindows();
    QTRY_VERIFY(!first);
    QVERIFY(!OpenedWindow(app, QStringLiteral("Menu_AA0")));
    QVERIFY(OpenWindow(app, QStringLiteral("Menu_AA0")));
    QCOMPARE(created, 2);
    app.MainWindow = nullptr;
}

void TestWindowRegistry::modalIsADialogOverTheMainWindow()
{
    App app;
    StandInMain main;
    app.MainWindow = &main;
    main.show();
    app.Windows.modal<SmallDialog>(QStringLiteral("Menu_S1"));
    QVERIFY(OpenWindow(app, QStringLiteral("Menu_S1")));
    QCOMPARE(dialogParent, static_cast<QWidget*>(&main));
    QVERIFY(dialogShownModal);
    QVERIFY(!main.findChild<QDialog*>(QStringLiteral("SmallDialog")));
    QVERIFY(main.Area->subWindowList().isEmpty());
    app.MainWindow = nullptr;
}

void TestWindowRegistry::rightRefusesBeforeTheWindowIsMade()
{
    App app;
    bool allowed = false;
    int asked = 0;
    app.Windows.modeless<ListWindow>(QStringLiteral("Menu_AA0"), [&](App&) {
        ++asked;
        return allowed;
    });
    QVERIFY(!OpenWindow(app, QStringLiteral("Menu_AA0")));
    QCOMPARE(asked, 1);
    QCOMPARE(created, 0);
    allowed = true;
    QVERIFY(OpenWindow(app, QStringLiteral("Menu_AA0")));
    QCOMPARE(created, 1);
    delete OpenedWindow(app, QStringLiteral("Menu_AA0"));
}

void TestWindowRegistry::unknownItemOpensNothing()
{
    App app;
    QVERIFY(!app.Windows.has(QStringLiteral("Menu_AA0")));
    QVERIFY(!OpenWindow(app, QStringLiteral("Menu_AA0")));
}

void TestWindowRegistry::everyAppHasItsOwnRegistry()
{
    App first;
    first.Windows.action(QStringLiteral("Menu_Help"), [](App&) {});
    first.Windows.road.login = [](App&) { return LoginLink::None; };
    App second;
    QVERIFY(first.Windows.has(QStringLiteral("Menu_Help")));
    QVERIFY(!second.Windows.has(QStringLiteral("Menu_Help")));
    QVERIFY(!second.Windows.road.login);
}

void TestWindowRegistry::standInKeepsTheRight()
{
    App app;
    app.Windows.modeless<ListWindow>(QStringLiteral("Menu_AA0"), [](App& a) { return a.OperatorCode == QLatin1String("001"); });
    int runs = 0;
    app.Windows.standIn(QStringLiteral("Menu_AA0"), [&runs](App&) { ++runs; });
    QVERIFY(!OpenWindow(app, QStringLiteral("Menu_AA0")));
    app.OperatorCode = QStringLiteral("001");
    QVERIFY(OpenWindow(app, QStringLiteral("Menu_AA0")));
    QCOMPARE(runs, 1);
    QCOMPARE(created, 0);
}

VX_REGISTER_TEST(TestWindowRegistry)
#include "tst_windowregistry.moc"
