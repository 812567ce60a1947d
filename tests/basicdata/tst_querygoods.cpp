#include "StandInLineHost.h"
#include "basicdata/QueryGoods.h"
#include "basicdata/QueryHPSX.h"
#include "basicdata/RkPrice.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QTest>

// The goods picker, the attribute picker and the price history, driven
// through their controls the way a document window opens them.
class TestQueryGoods : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void singleChoiceAnswersTheCode();
    void firstListAndPresetSearch();
    void closingAnswersNothing();
    void selectButtonLeavesTheRemarkClear_data();
    void selectButtonLeavesTheRemarkClear();
    void batchAddTypesIntoTheHost();
    void hiddenBatchBoxAnswersSingly();
    void quickAddNeedsTheRightAndFillsTheList();
    void structureModeListsProductsOnce();
    void attributePickerChoosesAValue();
    void priceHistoryClearAsksFirst();

private:
    std::unique_ptr<FreshAccountSet> set;
};

namespace {

template <typename T>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

// Chooses the grid row holding `code` with Enter, as an operator does.
void chooseRow(QWidget* picker, const QString& code)
{
    Grid* gd = child<Grid>(picker, "GD");
    for (int r = 1; r < gd->rows(); ++r) {
        if (gd->textMatrix(r, 0) == code) {
            gd->setRow(r);
            QTest::keyClick(gd, Qt::Key_Return);
            return;
        }
    }
    qFatal("code not listed");
}

}  // namespace

void TestQueryGoods::init()
{
    set = std::make_unique<FreshAccountSet>();
    set->loginAs(QStringLiteral("001"));
    for (const char* code : {"A1", "A2", "B1", "C1"})
        AddGoods(set->db(), {QLatin1String(code), QStringLiteral("货品") + QLatin1String(code)});
    set->app().BatchAddMode = 0;
}

void TestQueryGoods::cleanup()
{
    set.reset();
}

void TestQueryGoods::singleChoiceAnswersTheCode()
{
    WhenModal([](QWidget* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("货品资料库"));
        chooseRow(w, QStringLiteral("B1"));
    });
    QCOMPARE(PickGoods(set->app(), GoodsPickRequest{}), QStringLiteral("B1"));
    // The answer came back as the return value; the picker is gone.
    QVERIFY(!QApplication::activeModalWidget());
}

void TestQueryGoods::firstListAndPresetSearch()
{
    int listed = 0;
    QString codeBox = QStringLiteral("?");
    WhenModal([&](QWidget* w) {
        listed = child<Grid>(w, "GD")->rows() - 1;
        codeBox = child<QLineEdit>(w, "Txt0")->text();
        chooseRow(w, QStringLiteral("A2"));
    });
    GoodsPickRequest req;
    req.preset = QStringLiteral("a");
    QCOMPARE(PickGoods(set->app(), req), QStringLiteral("A2"));
    QCOMPARE(listed, 2);
    QCOMPARE(codeBox, QString());
}

void TestQueryGoods::closingAnswersNothing()
{
    WhenModal([](QWidget* w) { QTest::mouseClick(child<QPushButton>(w, "Cmd2"), Qt::LeftButton); });
    GoodsPickRequest req;
    req.preset = QStringLiteral("A1");
    QCOMPARE(PickGoods(set->app(), req), QString());
    WhenModal([](QWidget* w) { w->close(); });
    QCOMPARE(PickGoods(set->app(), req), QString());
}

void TestQueryGoods::selectButtonLeavesTheRemarkClear_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("as opened") << 0;
    QTest::newRow("narrow") << 560;
    QTest::newRow("wide") << 1100;
}

// The floating "←选定" button sits beside the current row's remark, never over it.
void TestQueryGoods::selectButtonLeavesTheRemarkClear()
{
    QFETCH(int, width);
    for (int i = 0; i < 40; ++i)
        AddGoods(set->db(), {QStringLiteral("M%1").arg(i), QStringLiteral("多")});
    QList<QRect> button, remark;
    WhenModal([&](QWidget* w) {
        if (width > 0) {
            w->resize(width, w->height());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QApplication::processEvents();
            QTest::mouseClick(child<QPushButton>(w, "Cmd1"), Qt::LeftButton);
        }
        Grid* gd = child<Grid>(w, "GD");
        auto* ok = child<QPushButton>(w, "CmdOK");
        for (int r : {1, 2}) {
            gd->setRow(r);
            QApplication::processEvents();
            QVERIFY(ok->isVisible());
            button << ok->geometry();
            remark << gd->cellRect(r, 4);
        }
        w->close();
    });
    PickGoods(set->app(), GoodsPickRequest{});
    QCOMPARE(button.size(), 2);
    for (int i = 0; i < button.size(); ++i)
        QVERIFY2(remark[i].right() < button[i].left(),
                 qPrintable(QStringLiteral("remark ends at %1, button starts at %2")
                                .arg(remark[i].right())
                                .arg(button[i].left())));
}

void TestQueryGoods::batchAddTypesIntoTheHost()
{
    StandInLineHost host;
    host.show();
    bool stillOpen = false;
    WhenModal([&](QWidget* w) {
        auto* box = child<QCheckBox>(w, "Chkstyle");
        QVERIFY(box->isVisible());
        box->setChecked(true);
        for (const char* code : {"A1", "B1", "C1", "A1"})
            chooseRow(w, QLatin1String(code));
        stillOpen = w->isVisible();
        QTest::mouseClick(child<QPushButton>(w, "Cmd2"), Qt::LeftButton);
    });
    GoodsPickRequest req;
    req.host = &host;
    QCOMPARE(PickGoods(set->app(), req), QString());
    QVERIFY(stillOpen);
    QCOMPARE(host.codes(), (QStringList{"A1", "B1", "C1"}));
    QCOMPARE(host.grid->rows(), 5);  // header, three lines, the blank last row
    QCOMPARE(set->app().BatchAddMode, 1);
    QVERIFY(host.editor->isVisible());
}

void TestQueryGoods::hiddenBatchBoxAnswersSingly()
{
    set->app().BatchAddMode = 1;
    WhenModal([](QWidget* w) {
        QVERIFY(child<QCheckBox>(w, "Chkstyle")->isHidden());
        QCOMPARE(child<QLabel>(w, "LabChk")->text(), QString());
        QVERIFY(child<QPushButton>(w, "Cmd0")->isHidden());
        QTest::qWait(700);  // the timer that restores batch mode has run
        chooseRow(w, QStringLiteral("C1"));
    });
    GoodsPickRequest req;
    req.quickAdd = false;
    QCOMPARE(PickGoods(set->app(), req), QStringLiteral("C1"));
}

void TestQueryGoods::quickAddNeedsTheRightAndFillsTheList()
{
    set->db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F61) VALUES ('002', '李四', 1)"));
    set->loginAs(QStringLiteral("002"));
    MessageScript msgs;
    {
        msgs.expect(QStringLiteral("对不起，您无此权限！"));
        WhenModal([](QWidget* w) {
            child<QLineEdit>(w, "Txt0")->setText(QStringLiteral("n9"));
            child<QLineEdit>(w, "Txt1")->setText(QStringLiteral("新品"));
            QTest::mouseClick(child<QPushButton>(w, "Cmd0"), Qt::LeftButton);
            w->close();
        });
        PickGoods(set->app(), GoodsPickRequest{});
        QCOMPARE(msgs.count(), 1);
    }
    set->loginAs(QStringLiteral("001"));
    QStringList lastRow;
    WhenModal([&](QWidget* w) {
        child<QComboBox>(w, "CmbLB")->setEditText(QStringLiteral("000"));
        child<QLineEdit>(w, "Txt0")->setText(QStringLiteral("n9"));
        child<QLineEdit>(w, "Txt1")->setText(QStringLiteral("新品"));
        QTest::mouseClick(child<QPushButton>(w, "Cmd0"), Qt::LeftButton);
        Grid* gd = child<Grid>(w, "GD");
        for (int c = 0; c < 2; ++c)
            lastRow << gd->textMatrix(gd->rows() - 1, c);
        QCOMPARE(child<QComboBox>(w, "CmbLB")->currentText(), QStringLiteral("000.无类别"));
        w->close();
    });
    PickGoods(set->app(), GoodsPickRequest{});
    QCOMPARE(lastRow, (QStringList{"N9", "新品"}));
    QCOMPARE(set->db().scalar(QStringLiteral("SELECT Fcplj FROM TA4 WHERE F1 = 'N9'")).toInt(), 0);
}

void TestQueryGoods::structureModeListsProductsOnce()
{
    AddBomPart(set->db(), QStringLiteral("C1"), QStringLiteral("A1"), 1);
    AddBomPart(set->db(), QStringLiteral("C1"), QStringLiteral("A2"), 1);
    QStringList listed;
    WhenModal([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("成品资料库"));
        Grid* gd = child<Grid>(w, "GD");
        for (int r = 1; r < gd->rows(); ++r)
            listed << gd->textMatrix(r, 0);
        chooseRow(w, QStringLiteral("C1"));
    });
    GoodsPickRequest req;
    req.onlyWithStructure = true;
    QCOMPARE(PickGoods(set->app(), req), QStringLiteral("C1"));
    QCOMPARE(listed, QStringList{"C1"});
}

void TestQueryGoods::attributePickerChoosesAValue()
{
    set->app().HpsxName = QStringLiteral("批号");
    Database& db = set->db();
    db.execute(QStringLiteral("INSERT INTO TB11 (F0, F1, HPSX, F6, SRT) VALUES ('D', 'A1', 'L1', 5, 'S202405130001001'), "
                              "('D', 'A1', 'L2', 0, 'S202405130001002')"));
    int rows = 0;
    WhenModal([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("批号选择"));
        Grid* gd = child<Grid>(w, "GD");
        rows = gd->rows();
        gd->setRow(1);
        QTest::mouseClick(child<QPushButton>(w, "CmdOK"), Qt::LeftButton);
    });
    AttributePickRequest req{QString(), QStringLiteral("A1"), QDate(2024, 5, 13), StockDirection::Out, QString()};
    QCOMPARE(PickAttributeValue(set->app(), req), QStringLiteral("L1"));
    QCOMPARE(rows, 2);
    WhenModal([](QWidget* w) { QTest::mouseClick(child<QPushButton>(w, "Cmd2"), Qt::LeftButton); });
    req.preset = QStringLiteral("L9");
    QCOMPARE(PickAttributeValue(set->app(), req), QString());
}

void TestQueryGoods::priceHistoryClearAsksFirst()
{
    set->db().execute(QStringLiteral("INSERT INTO RkPrice (F1, F7, F9, F10) VALUES ('A1', 12.5, '甲', 't1'), ('A2', 1, '乙', 't2')"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要清除这些记录吗?"), MB::No).expect(QStringLiteral("真的要清除这些记录吗?"), MB::Yes);
    QString price;
    bool openAfterNo = false;
    WhenModal([&](QWidget* w) {
        price = child<Grid>(w, "GD")->textMatrix(1, 1);
        auto* clear = w->findChild<QAction*>(QStringLiteral("Menu_clear"));
        clear->trigger();
        openAfterNo = w->isVisible();
        clear->trigger();
    });
    ShowRkPriceHistory(set->app(), QStringLiteral("A1"), true);
    QCOMPARE(price, QStringLiteral("12.50"));
    QVERIFY(openAfterNo);
    QCOMPARE(set->db().scalar(QStringLiteral("SELECT COUNT(*) FROM RkPrice")).toInt(), 1);

    bool enabled = true;
    WhenModal([&](QWidget* w) {
        enabled = w->findChild<QAction*>(QStringLiteral("Menu_clear"))->isEnabled();
        w->close();
    });
    ShowRkPriceHistory(set->app(), QStringLiteral("A2"), false);
    QVERIFY(!enabled);
}

VX_REGISTER_TEST(TestQueryGoods)
#include "tst_querygoods.moc"
