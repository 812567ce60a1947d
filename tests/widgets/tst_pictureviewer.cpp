#include "widgets/PictureViewer.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTest>

// The goods picture viewer: finding the file and fitting it to the screen.
class TestPictureViewer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout_data();
    void layout();
    void picturePath_data();
    void picturePath();
    void missingFileIsReported();
    void goodsWithoutPictureShowsNothing();
    void viewerShowsPictureAndClosesOnDoubleClick();
};

void TestPictureViewer::layout_data()
{
    // Screen 1920 x 1080 pixels; the margins are 1000, 500 and 300 twips (66, 33, 20 pixels).
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<bool>("tooBig");
    QTest::newRow("small: natural size") << QSize(800, 600) << QSize(800, 600) << QSize(800, 600) << false;
    QTest::newRow("wide and low") << QSize(3840, 500) << QSize(1854, 241) << QSize(1854, 241) << false;
    QTest::newRow("very high") << QSize(500, 4000) << QSize(126, 1014) << QSize(126, 1014) << false;
    QTest::newRow("huge, wider than the screen's proportions")
        << QSize(8000, 2000) << QSize(4056, 1014) << QSize(1887, 1060) << true;
    QTest::newRow("no picture") << QSize() << QSize() << QSize() << false;
}

void TestPictureViewer::layout()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, image);
    QFETCH(QSize, window);
    QFETCH(bool, tooBig);
    const PictureLayout l = LayoutPicture(picture, QSize(1920, 1080));
    QCOMPARE(l.image, image);
    QCOMPARE(l.window, window);
    QCOMPARE(l.tooBig, tooBig);
}

void TestPictureViewer::picturePath_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");  // "@" stands for the account set's folder
    QTest::newRow("marker with backslash") << "#PicPath#\\A001.jpg" << "@图片/A001.jpg";
    QTest::newRow("absolute path unchanged") << "/srv/pics/a.png" << "/srv/pics/a.png";
    QTest::newRow("no folder: no picture") << "a.png" << "";
    QTest::newRow("empty") << "" << "";
}

void TestPictureViewer::picturePath()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("A001"), QStringLiteral("螺丝")});
    set.db().execute(QStringLiteral("UPDATE TA4 SET F9=? WHERE F1='A001'"), {stored});
    expected.replace(QLatin1Char('@'), set.app().AccountSetFolder);
    QCOMPARE(GoodsPicturePath(set.app(), QStringLiteral("A001")), expected);
}

void TestPictureViewer::missingFileIsReported()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("A001"), QStringLiteral("螺丝")});
    set.db().execute(QStringLiteral("UPDATE TA4 SET F9='#PicPath#\\none.jpg' WHERE F1='A001'"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("找不到文件[") + set.app().AccountSetFolder + QStringLiteral("图片/none.jpg]！"));
    ShowGoodsPicture(set.app(), QStringLiteral("A001"), QStringLiteral("螺丝"));
    QCOMPARE(msgs.count(), 1);
}

void TestPictureViewer::goodsWithoutPictureShowsNothing()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("A001"), QStringLiteral("螺丝")});
    MessageScript msgs;
    ShowGoodsPicture(set.app(), QStringLiteral("A001"), QStringLiteral("螺丝"));
    ShowGoodsPicture(set.app(), QStringLiteral("no such goods"), QStringLiteral("?"));
    QCOMPARE(msgs.count(), 0);
}

void TestPictureViewer::viewerShowsPictureAndClosesOnDoubleClick()
{
    FreshAccountSet set;
    QDir(set.app().AccountSetFolder).mkpath(QStringLiteral("图片"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(set.app().AccountSetFolder + QStringLiteral("图片/A001.png")));
    AddGoods(set.db(), {QStringLiteral("A001"), QStringLiteral("螺丝")});
    set.db().execute(QStringLiteral("UPDATE TA4 SET F9='#PicPath#\\A001.png' WHERE F1='A001'"));

    bool shown = false;
    WhenModal([&shown](QWidget* w) {
        shown = true;
        QCOMPARE(w->windowTitle(), QStringLiteral("螺丝"));
        auto* img = w->findChild<QLabel*>(QStringLiteral("Img"));
        QCOMPARE(img->geometry(), QRect(0, 0, 40, 30));
        QTest::mouseDClick(img, Qt::LeftButton);
    });
    ShowGoodsPicture(set.app(), QStringLiteral("A001"), QStringLiteral("螺丝"));
    QVERIFY(shown);
}

VX_REGISTER_TEST(TestPictureViewer)
#include "tst_pictureviewer.moc"
