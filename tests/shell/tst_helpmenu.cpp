// The help menu's outside programs: when none is there the user is told so.
#include "shell/MainMenu.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QTest>

class TestHelpMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingHelpFileIsReported();
    void missingCalculatorIsReported();
};

void TestHelpMenu::missingHelpFileIsReported()
{
    FreshAccountSet set;
    MessageScript msgs;
    msgs.expect(QStringLiteral("使用说明.chm"));
    OpenHelpFile(set.app());
    QCOMPARE(msgs.count(), 1);
}

void TestHelpMenu::missingCalculatorIsReported()
{
    FreshAccountSet set;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", set.folder().toLocal8Bit());
    MessageScript msgs;
    msgs.expect(QStringLiteral("没找到文件 jisuan.exe ！"));
    StartCalculator(set.app());
    qputenv("PATH", path);
    QCOMPARE(msgs.count(), 1);
}

VX_REGISTER_TEST(TestHelpMenu)
#include "tst_helpmenu.moc"
