#include "RecordFixture.h"

#include "basicdata/Register.h"
#include "core/WindowRegistry.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>

// The basic-data menu items open their windows modeless inside the main window, one instance each.
class TestBasicDataMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void itemsOpenOneWindowEach();
};

namespace {

class MdiFrame : public StatusFrame {
public:
    QWidget* widget() override { return &area; }
    QMdiArea* mdiArea() override { return &area; }
    QMdiArea area;
};

}  // namespace

void TestBasicDataMenu::itemsOpenOneWindowEach()
{
    RecordBooks set;
    MdiFrame frame;
    frame.area.resize(1000, 700);
    frame.area.show();
    set.app().MainWindow = &frame;
    RegisterBasicDataWindows(set.app().Windows);
    for (const char* item : {"Menu_AA0", "Menu_AA1", "Menu_AA2", "Menu_AA4", "Menu_AA1"})
        QVERIFY(OpenWindow(set.app(), QString::fromLatin1(item)));
    QStringList names;
    for (QMdiSubWindow* sub : frame.area.subWindowList())
        names << sub->widget()->objectName();
    QCOMPARE(names, (QStringList{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A12"), QStringLiteral("A3")}));
    QCOMPARE(frame.area.activeSubWindow()->widget()->objectName(), QStringLiteral("A2"));

    // Closing a window that is editing is refused, through the subwindow too.
    QMdiSubWindow* first = frame.area.subWindowList().first();
    MessageScript msgs;
    Trigger(first->widget(), "Menu_Add");
    msgs.expect(QStringLiteral("正在有数据被编辑"));
    first->close();
    QCOMPARE(frame.area.subWindowList().size(), 4);
    Trigger(first->widget(), "Menu_cancel");
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(frame.area.subWindowList().size(), 3);
    frame.area.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    set.app().MainWindow = &set.frame;
}

VX_REGISTER_TEST(TestBasicDataMenu)
#include "tst_basicdatamenu.moc"
