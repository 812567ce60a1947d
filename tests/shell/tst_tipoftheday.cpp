#include "core/App.h"
#include "core/Startup.h"
#include "shell/TipOfTheDay.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

namespace {

void writeTips(const QString& folder, const QString& text)
{
    QFile f(folder + QStringLiteral("Learn.dat"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QStringEncoder encode("GB18030");
    f.write(encode(text));
}

}  // namespace

class TestTipOfTheDay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingFileExplains();
    void emptyFileKeepsDesignText();
    void oneLineComesAgain();
    void linesAreTipsEmptyOnesIncluded();
    void openingTurnsStartupDisplayOnAgain();
    void shippedTipsRead();
};

void TestTipOfTheDay::missingFileExplains()
{
    FreshAccountSet set;
    frmTip w(set.app());
    const QString text = w.lblTipText->text();
    QVERIFY(text.startsWith(QStringLiteral("文件 Learn.dat 没有被找到吗? ")));
    QVERIFY(text.contains(QStringLiteral("创建文本文件名为 Learn.dat 使用记事本每行写一条提示。 然后将它存放在应用程序所在的目录 ")));
    w.cmdNextTip->click();
    QCOMPARE(w.lblTipText->text(), text);
}

void TestTipOfTheDay::emptyFileKeepsDesignText()
{
    FreshAccountSet set;
    writeTips(set.programFolder(), QString());
    frmTip w(set.app());
    QCOMPARE(w.tipCount(), 0);
    QCOMPARE(w.lblTipText->text(), QStringLiteral("内容。。。。。。"));
}

void TestTipOfTheDay::oneLineComesAgain()
{
    FreshAccountSet set;
    writeTips(set.programFolder(), QStringLiteral("审核后库存才会更新。\r\n"));
    frmTip w(set.app());
    QCOMPARE(w.tipCount(), 1);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w.lblTipText->text(), QStringLiteral("审核后库存才会更新。"));
        w.cmdNextTip->click();
    }
}

void TestTipOfTheDay::linesAreTipsEmptyOnesIncluded()
{
    FreshAccountSet set;
    writeTips(set.programFolder(), QStringLiteral("第一条\r\n\r\n第三条"));
    const std::optional<QStringList> tips = ReadTipsFile(set.programFolder() + QStringLiteral("Learn.dat"));
    QVERIFY(tips);
    QCOMPARE(*tips, (QStringList{QStringLiteral("第一条"), QString(), QStringLiteral("第三条")}));
    QVERIFY(!ReadTipsFile(set.programFolder() + QStringLiteral("nothing.dat")));
    QVERIFY(!ReadTipsFile(QString()));
}

void TestTipOfTheDay::openingTurnsStartupDisplayOnAgain()
{
    FreshAccountSet set;
    SetTipsAtStartup(false);
    frmTip w(set.app());
    QVERIFY(w.chkLoadTipsAtStartup->isChecked());
    QVERIFY(TipsAtStartup());
    w.chkLoadTipsAtStartup->click();
    QVERIFY(!TipsAtStartup());
}

void TestTipOfTheDay::shippedTipsRead()
{
    const std::optional<QStringList> tips = ReadTipsFile(QStringLiteral(VX_SOURCE_DIR "/data/Learn.dat"));
    QVERIFY(tips);
    QVERIFY(tips->size() >= 10);
    for (const QString& tip : *tips) {
        QVERIFY(!tip.isEmpty());
        QVERIFY(!tip.contains(QChar(0xFFFD)));
    }
}

VX_REGISTER_TEST(TestTipOfTheDay)
#include "tst_tipoftheday.moc"
