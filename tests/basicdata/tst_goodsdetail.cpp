#include "basicdata/GoodsDetail.h"
#include "basicdata/PictureImport.h"
#include "basicdata/StructureEditor.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The goods window's detail tab: entry reactions, pictures, structure copy.
class TestGoodsDetail : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pinyinCodeFollowsTheName();
    void numberBoxKeepsItsNumber();
    void openingFiguresGiveStockAndCost();
    void pictureImportAndItsRefusal();
    void savedPictureReferenceStaysRelative();
    void structureCopyWritesNothing();
    void compositeCaptionTogglesOnlyWhileEditing();

private:
    std::unique_ptr<FreshAccountSet> set;
    std::unique_ptr<GoodsDetail> detail;
};

void TestGoodsDetail::init()
{
    set = std::make_unique<FreshAccountSet>();
    set->loginAs(QStringLiteral("001"));
    set->app().AppFolder = QStringLiteral(VX_BIN_DIR "/");
    set->app().CanSeeCost = -1;
    detail = std::make_unique<GoodsDetail>(set->app(), QStringLiteral("成品"));
    detail->compositeAllowed = true;
    detail->resize(900, 600);
    detail->show();
}

void TestGoodsDetail::cleanup()
{
    detail.reset();
    set.reset();
}

void TestGoodsDetail::pinyinCodeFollowsTheName()
{
    QVERIFY(detail->ChkBM[0]->isEnabled());
    detail->Edstu = 1;
    detail->EnterEditMode(true);
    QTest::mouseClick(detail->ChkBM[0], Qt::LeftButton);
    detail->Txt[1]->setText(QStringLiteral("不锈钢螺丝"));
    QCOMPARE(detail->Txt[0]->text(), QStringLiteral("BXGLS"));
}

// A figure box given text that is no number says so and gets its number back.
void TestGoodsDetail::numberBoxKeepsItsNumber()
{
    detail->Edstu = 1;
    detail->EnterEditMode(true);
    QLineEdit* box = detail->Txt[8];
    box->setText(QStringLiteral("5"));
    QTest::keyClick(box, Qt::Key_Return);
    MessageScript msgs;
    for (const QString& bad : {QStringLiteral("abc"), QStringLiteral("12..5"), QStringLiteral("1,000")}) {
        msgs.expect(QStringLiteral("[") + bad + QStringLiteral("]不是有效的数字"));
        box->setText(bad);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("5"));
    }
    QCOMPARE(msgs.count(), 3);
    box->setText(QStringLiteral("7.5"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("7.5"));
    QCOMPARE(msgs.count(), 3);
}

void TestGoodsDetail::openingFiguresGiveStockAndCost()
{
    detail->Edstu = 1;
    detail->EnterEditMode(true);
    detail->Txt[10]->setText(QStringLiteral("10"));
    detail->Txt[11]->setText(QStringLiteral("25"));
    QCOMPARE(detail->TxtSL->text(), QStringLiteral("10"));
    QCOMPARE(detail->Txt[5]->text(), QStringLiteral("2.50"));
}

void TestGoodsDetail::pictureImportAndItsRefusal()
{
    QTemporaryDir src;
    QFile fake(src.filePath(QStringLiteral("fake.jpg")));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("no picture here");
    fake.close();
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::green);
    const QString bmp = src.filePath(QStringLiteral("real.bmp"));
    img.save(bmp, "BMP");

    detail->Edstu = 2;
    detail->EnterEditMode(false);
    DialogScript dialogs;
    dialogs.openFile(fake.fileName()).openFile(bmp);
    MessageScript msgs;
    msgs.expect(QStringLiteral("不是可以读取的图片文件"));
    QTest::mouseClick(detail->cmdOpen, Qt::LeftButton);
    QCOMPARE(detail->LabInfo->text(), ImportPictureText);
    QVERIFY(detail->pictureRef.isEmpty());
    QTest::mouseClick(detail->cmdOpen, Qt::LeftButton);
    // The label shows the copied file; the goods stores the reference to it.
    QVERIFY(detail->input().picture.startsWith(QStringLiteral("#PicPath#\\")));
    QCOMPARE(detail->LabInfo->text(), ResolvePictureReference(set->app().AccountSetFolder, detail->input().picture));
    QVERIFY(!detail->LabInfo->text().contains(QStringLiteral("#PicPath#")));
    QVERIFY(QFileInfo::exists(detail->LabInfo->text()));
    QVERIFY(!detail->Img->pixmap().isNull());
    QCOMPARE(dialogs.titles.value(0), QStringLiteral("导入成品图片"));
}

void TestGoodsDetail::savedPictureReferenceStaysRelative()
{
    const QString folder = PictureFolder(set->app().AccountSetFolder);
    QDir().mkpath(folder);
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(folder + QStringLiteral("/old.jpg"), "JPG"));
    GoodsSpec g{QStringLiteral("G1"), QStringLiteral("螺丝")};
    AddGoods(set->db(), g);
    // An older record saved the resolved path.
    set->db().execute(QStringLiteral("UPDATE TA4 SET F9 = ? WHERE F1 = 'G1'"), {folder + QStringLiteral("/old.jpg")});
    QStringList row(18);
    row[0] = QStringLiteral("G1");
    row[1] = QStringLiteral("螺丝");
    detail->ShowGoodsRecord(row);
    QCOMPARE(detail->LabInfo->text(), folder + QStringLiteral("/old.jpg"));
    QCOMPARE(detail->input().picture, QStringLiteral("#PicPath#\\old.jpg"));
}

void TestGoodsDetail::structureCopyWritesNothing()
{
    AddGoods(set->db(), {QStringLiteral("P1"), QStringLiteral("零件")});
    AddGoods(set->db(), {QStringLiteral("Y"), QStringLiteral("另一成品")});
    AddBomPart(set->db(), QStringLiteral("Y"), QStringLiteral("P1"), 3);
    set->db().execute(QStringLiteral("UPDATE TA4 SET RkF7 = 7 WHERE F1 = 'X'"));
    detail->Edstu = 2;
    detail->EnterEditMode(false);
    detail->Txt[0]->setText(QStringLiteral("X"));
    detail->ChK->setChecked(true);
    QVERIFY(detail->CmdCopy->isVisible());
    WhenModal([](QWidget* w) {
        Grid* gd = w->findChild<Grid*>(QStringLiteral("GD"));
        QCOMPARE(gd->textMatrix(1, 0), QStringLiteral("Y"));
        gd->setRow(1);
        QTest::keyClick(gd, Qt::Key_Return);
    });
    QTest::mouseClick(detail->CmdCopy, Qt::LeftButton);
    QCOMPARE(detail->Structure->lines().size(), 1);
    QCOMPARE(detail->Structure->lines()[0].usage, 3.0);
    QCOMPARE(set->db().scalar(QStringLiteral("SELECT COUNT(*) FROM Bom WHERE F0 = 'X'")).toInt(), 0);
}

void TestGoodsDetail::compositeCaptionTogglesOnlyWhileEditing()
{
    QTest::mouseClick(detail->Lab[12], Qt::LeftButton);
    QVERIFY(!detail->ChK->isChecked());
    detail->Edstu = 1;
    detail->EnterEditMode(true);
    QTest::mouseClick(detail->Lab[12], Qt::LeftButton);
    QVERIFY(detail->ChK->isChecked());
    QVERIFY(detail->Structure->isVisible());
    QVERIFY(detail->Lab[12]->text().endsWith(QStringLiteral("组成↓")));
}

VX_REGISTER_TEST(TestGoodsDetail)
#include "tst_goodsdetail.moc"
