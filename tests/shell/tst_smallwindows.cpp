#include "core/App.h"
#include "shell/AboutUS.h"
#include "shell/BGForm.h"
#include "widgets/LabelButton.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestSmallWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aboutTitle_data();
    void aboutTitle();
    void aboutShowsEdition();
    void backgroundLayout();
    void backgroundWithEmptyTextAndNarrowWindow();
    void backgroundKeepsPictureWhenFileUnreadable();
};

void TestSmallWindows::aboutTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("short title unchanged") << "仓库管理系统" << "仓库管理系统";
    QTest::newRow("nine characters unchanged") << "AB仓库管理系统X" << "AB仓库管理系统X";
    QTest::newRow("loses 系统, then fits") << "Vorlix仓库系统" << "Vorlix仓库";
    QTest::newRow("12 characters") << "Vorlix仓库管理系统" << "Vorlix仓库";
    QTest::newRow("only 系统 removed") << "ABCDEFG管理系统" << "ABCDEFG管理";
}

void TestSmallWindows::aboutTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QCOMPARE(AboutTitle(title), shown);
}

void TestSmallWindows::aboutShowsEdition()
{
    FreshAccountSet set;
    AboutUS about(set.app());
    QCOMPARE(about.Labver->text(), set.app().EditionName);
    QCOMPARE(about.Lab[0]->text(), AboutTitle(set.app().AppTitle));
    QCOMPARE(about.Lab[1]->text(), about.Lab[0]->text());
    QVERIFY(about.linkstr.isEmpty());
    about.show();
    about.Cmd[0]->click();  // an empty address opens nothing and the window stays
    QVERIFY(about.isVisible());
    Q_EMIT about.Labcmd[2]->clicked();
    QVERIFY(!about.isVisible());
    QVERIFY(AboutMailLink(QStringLiteral("T"), QStringLiteral("E")).startsWith(QStringLiteral("mailto:")));
    QVERIFY(AboutMailLink(QStringLiteral("T"), QStringLiteral("E")).contains(QStringLiteral("?subject=关于T VerE&body=")));
}

void TestSmallWindows::backgroundLayout()
{
    BGForm bg;
    bg.resize(900, 600);
    bg.SetBigText(QStringLiteral("某某贸易有限公司"));
    bg.SetLabelsVisible(true);
    bg.Form_Resize();
    QLabel* shadow = bg.LabBig[0];
    QLabel* front = bg.LabBig[1];
    QCOMPARE(front->text(), shadow->text());
    // Centred horizontally, at a third of the height; the front text 50 twips
    // left of and 30 twips above its shadow.
    QVERIFY(qAbs(shadow->x() + shadow->width() / 2 - 450) <= 1);
    QVERIFY(qAbs(shadow->y() - (600 - shadow->height()) / 3) <= 1);
    QCOMPARE(front->pos(), shadow->pos() - QPoint(3, 2));
    QCOMPARE(bg.Lab->x(), 900 - bg.Lab->width() - 53);
    QCOMPARE(bg.Img->geometry(), QRect(0, 0, 900, 600 - 60));

    bg.show();
    bg.resize(1200, 600);
    QVERIFY(qAbs(shadow->x() + shadow->width() / 2 - 600) <= 1);
}

void TestSmallWindows::backgroundWithEmptyTextAndNarrowWindow()
{
    BGForm bg;
    bg.resize(20, 100);
    bg.SetBigText(QString());
    bg.Form_Resize();
    QVERIFY(bg.Lab->x() < 0);
    QLabel* shadow = bg.LabBig[0];
    QVERIFY(qAbs(shadow->x() + shadow->width() / 2 - 10) <= 1);
    QCOMPARE(bg.LabBig[1]->pos(), shadow->pos() - QPoint(3, 2));
}

void TestSmallWindows::backgroundKeepsPictureWhenFileUnreadable()
{
    BGForm bg;
    QVERIFY(bg.LoadPicture(QStringLiteral(VX_SOURCE_DIR "/data/syspic.dat")));
    const qint64 key = bg.Img->pixmap().cacheKey();
    QVERIFY(!bg.LoadPicture(QStringLiteral(VX_SOURCE_DIR "/data/Learn.dat")));
    QVERIFY(!bg.LoadPicture(QStringLiteral("/no/such/picture.jpg")));
    QCOMPARE(bg.Img->pixmap().cacheKey(), key);
}

VX_REGISTER_TEST(TestSmallWindows)
#include "tst_smallwindows.moc"
