#include "RecordFixture.h"

#include "basicdata/A4.h"
#include "basicdata/GoodsDetail.h"
#include "basicdata/PictureImport.h"
#include "basicdata/Register.h"
#include "basicdata/StructureEditor.h"
#include "core/MainMenuTree.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"
#include "print/Myprn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>

// The goods window driven through its named controls on a real account set.
class TestA4 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuItemsOpenTheWindowUnderTheirWord();
    void addProposesSerialCodes();
    void addWithOpeningFiguresPricesAndLimits();
    void enterMovesInTheTabsOrder_data();
    void enterMovesInTheTabsOrder();
    void editLocksWhatTheOperatorMayNotChange();
    void editLaysOutTheBoxesAsAdd();
    void editRenamesEverywhereAndKeepsPostedFigures();
    void deleteNamesTheProductsThatUseThePart();
    void structureCopyWritesOnlyOnSave();
    void pickerBatchAddsPartsIntoTheStructure();
    void ctrlSlashPickKeepsTheCursorInTheStructure();
    void picturesGetTheirOwnFilesAndStayRelative();
    void classFollowsTheCompositeTick();
    void conversionNeedsTheEditRight();
    void structureExportHasItsTitle();
    void listPrintStagesTheGoods();
    void listColumnsFillTheGrid();
    void screenshot();
};

namespace {

// An account set with the part word on (composite goods offered), a few
// parts and one product with a structure.
class GoodsBooks : public RecordBooks {
public:
    GoodsBooks()
    {
        BuildMainMenu(app().Menus);
        app().AppFolder = QStringLiteral(VX_BIN_DIR "/");
        app().CanSeeCost = -1;
        app().CanSeeProfit = -1;
        setSetting(92, 1);
        db().execute(QStringLiteral("UPDATE sysinfo SET setstr = '1' WHERE ID = 92"));
        GoodsSpec p1{QStringLiteral("LS-M3"), QStringLiteral("螺丝")};
        p1.cost = 0.12;
        p1.stock = 700;
        AddGoods(db(), p1);
        GoodsSpec p2{QStringLiteral("LM-M3"), QStringLiteral("螺母")};
        p2.cost = 0.08;
        p2.stock = 350;
        AddGoods(db(), p2);
        GoodsSpec cp{QStringLiteral("CP-01"), QStringLiteral("组装支架")};
        cp.goodsClass = GoodsClass::Product;
        AddGoods(db(), cp);
        AddBomPart(db(), QStringLiteral("CP-01"), QStringLiteral("LS-M3"), 4);
        AddBomPart(db(), QStringLiteral("CP-01"), QStringLiteral("LM-M3"), 2);
    }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    QString text(const QString& sql) { return db().scalar(sql).toString(); }
};

// Closes a window and lets its deferred deletion run before the set goes.
void closeWindow(QWidget* w)
{
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Picks a goods in the list tab, as a user can only there.
void pickGoods(A4& w, const QString& code)
{
    w.TabS->setCurrentIndex(0);
    SelectCode(&w, code);
}

int edstu(QWidget* w)
{
    return w->property("Edstu").toInt();
}

QString writePicture(const QString& folder, const QString& name, const QColor& colour)
{
    QImage img(320, 240, QImage::Format_RGB32);
    img.fill(QColor(70, 130, 180));
    {
        QPainter p(&img);
        p.fillRect(60, 60, 200, 120, colour);
    }
    const QString path = folder + name;
    img.save(path);
    return path;
}

void chooseInPicker(QWidget* picker, const QStringList& codes)
{
    Grid* gd = picker->findChild<Grid*>(QStringLiteral("GD"));
    for (const QString& code : codes) {
        for (int r = 1; r < gd->rows(); ++r) {
            if (gd->textMatrix(r, 0) == code) {
                gd->setRow(r);
                QTest::keyClick(gd, Qt::Key_Return);
                break;
            }
        }
    }
}

}  // namespace

void TestA4::menuItemsOpenTheWindowUnderTheirWord()
{
    GoodsBooks set;
    RegisterBasicDataWindows(set.app().Windows);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_AA5")));
    auto* goods = qobject_cast<A4*>(OpenedWindow(set.app(), QStringLiteral("Menu_AA5")));
    QVERIFY(goods);
    QCOMPARE(goods->windowTitle(), QStringLiteral("货品档案"));
    QCOMPARE(goods->TabS->tabText(1), QStringLiteral("货品资料明细"));
    QVERIFY(!goods->Menu_Trun->isVisible());
    QCOMPARE(GridCodes(goods).size(), 3);  // one file: every goods
    closeWindow(goods);

    // Separate files: the goods item opens the parts file, the other item the products.
    set.app().Menus.setVisible(QStringLiteral("Menu_AA6"), true);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_AA5")));
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_AA6")));
    auto* parts = qobject_cast<A4*>(OpenedWindow(set.app(), QStringLiteral("Menu_AA5")));
    auto* products = qobject_cast<A4*>(OpenedWindow(set.app(), QStringLiteral("Menu_AA6")));
    QVERIFY(parts && products && parts != products);
    QCOMPARE(parts->windowTitle(), QStringLiteral("零件档案"));
    QCOMPARE(products->windowTitle(), QStringLiteral("成品档案"));
    QCOMPARE(GridCodes(parts), (QStringList{QStringLiteral("LM-M3"), QStringLiteral("LS-M3")}));
    QCOMPARE(GridCodes(products), QStringList{QStringLiteral("CP-01")});
    QVERIFY(parts->Detail->ChK->isHidden());
    QVERIFY(parts->Menu_Trun->isVisible());
    closeWindow(parts);
    closeWindow(products);
}

void TestA4::addProposesSerialCodes()
{
    GoodsBooks set;
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    QVERIFY(w.CmdFexcel->isVisible());  // operator 001 may import goods
    Trigger(&w, "Menu_Add");
    QVERIFY(w.CmdFexcel->isHidden());
    QCOMPARE(BoxText(&w, 0), QString());  // the first Add proposes nothing
    QVERIFY(w.Detail->ChkBM[1]->isVisible());
    w.Detail->ChkBM[1]->setChecked(true);
    w.Detail->ChkBM[2]->setChecked(true);
    TypeBox(&w, 0, QStringLiteral("hp-0099"));
    TypeBox(&w, 1, QStringLiteral("样品"));
    Trigger(&w, "Menu_save");
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM TA4 WHERE F1 = 'HP-0099'")), 1);
    // Saved with "add the next one": a new Add at once, with the next serial code.
    QCOMPARE(edstu(&w), 1);
    QCOMPARE(BoxText(&w, 0), QStringLiteral("HP-0100"));
    TypeBox(&w, 1, QStringLiteral("样品二"));
    w.Detail->ChkBM[2]->setChecked(false);
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QVERIFY(GridCodes(&w).contains(QStringLiteral("HP-0100")));
    QCOMPARE(w.ListCount, 5);
    QCOMPARE(w.LastSavedCode, QStringLiteral("HP-0100"));
    Trigger(&w, "Menu_Add");
    QCOMPARE(BoxText(&w, 0), QStringLiteral("HP-0101"));
    Trigger(&w, "Menu_cancel");
    // Edit unticks the serial options: its save neither remembers the code nor adds.
    pickGoods(w, QStringLiteral("LS-M3"));
    Trigger(&w, "Menu_edit");
    QVERIFY(!w.Detail->ChkBM[1]->isChecked());
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(w.LastSavedCode, QStringLiteral("HP-0100"));
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

void TestA4::addWithOpeningFiguresPricesAndLimits()
{
    GoodsBooks set;
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    Trigger(&w, "Menu_Add");
    QVERIFY(w.Detail->TxtSL->isHidden());
    QCOMPARE(w.Detail->CmbLB->currentText(), QStringLiteral("000.无类别"));
    TypeBox(&w, 0, QStringLiteral("DZ-1"));
    TypeBox(&w, 1, QStringLiteral("垫子"));
    w.Detail->CmbDW->setEditText(QStringLiteral("盒"));
    TypeBox(&w, 8, QStringLiteral("5"));
    TypeBox(&w, 9, QStringLiteral("80"));
    TypeBox(&w, 10, QStringLiteral("10"));
    TypeBox(&w, 11, QStringLiteral("125"));
    TypeBox(&w, 5, QStringLiteral("12"));  // does not match the opening figures
    TypeBox(&w, 7, QStringLiteral("19.9"));
    msgs.expect(QStringLiteral("系统将强制更正"));
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    const RecordSet rs = set.db().query(
        QStringLiteral("SELECT F4, V1, V2, V3, V5, F8, F7, Fje, F71 FROM TA4 WHERE F1 = 'DZ-1'"));
    QCOMPARE(rs.rowCount(), 1);
    QCOMPARE(rs.text(0, 0), QStringLiteral("盒"));
    const QList<double> expected{5, 80, 10, 125, 10, 12.5, 125, 19.9};
    for (int c = 0; c < expected.size(); ++c)
        QCOMPARE(rs.value(0, c + 1).toDouble(), expected[c]);
    QCOMPARE(w.GD->textMatrix(w.CurrentRow, 5), QStringLiteral("12.50"));
    QCOMPARE(w.GD->textMatrix(w.CurrentRow, 14), QStringLiteral("10"));
    QVERIFY(w.Detail->CmbDW->findText(QStringLiteral("盒")) >= 0);  // the new unit is offered from now on
    QCOMPARE(msgs.pending(), 0);
    closeWindow(&w);
}

void TestA4::enterMovesInTheTabsOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    // The fee rate, reference price, sale price, location and supplier boxes
    // are hidden in these books: Enter passes over them.
    QTest::newRow("name to category") << "Txt1" << "CmbLB";
    QTest::newRow("category to specification") << "CmbLB" << "Txt4";
    QTest::newRow("specification to unit") << "Txt4" << "CmbDW";
    QTest::newRow("unit to safety stock") << "CmbDW" << "Txt8";
    QTest::newRow("cost to remark") << "Txt5" << "Txt6";
    QTest::newRow("remark back to the code") << "Txt6" << "Txt0";
    QTest::newRow("opening amount to cost") << "Txt11" << "Txt5";
}

void TestA4::enterMovesInTheTabsOrder()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    GoodsBooks set;
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Trigger(&w, "Menu_Add");
    for (const char* hidden : {"Txt13", "Txt12", "Txt7", "Txt14", "Txt15"})
        QVERIFY2(!w.findChild<QWidget*>(QString::fromLatin1(hidden))->isVisible(), hidden);
    auto* box = w.findChild<QWidget*>(from);
    QVERIFY(box);
    if (auto* combo = qobject_cast<QComboBox*>(box))
        box = combo->lineEdit();
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QTest::keyClick(box, Qt::Key_Return);
    QWidget* now = QApplication::focusWidget();
    QVERIFY(now);
    if (auto* combo = qobject_cast<QComboBox*>(now->parentWidget()); combo && combo->lineEdit() == now)
        now = combo;
    QCOMPARE(now->objectName(), to);
    msgs.expect(QString());
    Trigger(&w, "Menu_cancel");
    closeWindow(&w);
}

void TestA4::editLocksWhatTheOperatorMayNotChange()
{
    GoodsBooks set;
    LoginWithBasicWord(set, 1111);
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    QVERIFY(w.CmdFexcel->isHidden());  // only operator 001 imports
    // A goods with stock: its cost comes from posting and is not offered.
    pickGoods(w, QStringLiteral("LS-M3"));
    Trigger(&w, "Menu_edit");
    QVERIFY(w.Detail->Txt[10]->isReadOnly());
    QVERIFY(w.Detail->Txt[11]->isReadOnly());
    QVERIFY(w.Detail->Txt[5]->isHidden());
    QVERIFY(w.Detail->TxtSL->isHidden());
    QVERIFY(!w.Menu_Trun->isVisible());
    QVERIFY(!w.Menu_Return->isEnabled());
    Trigger(&w, "Menu_cancel");
    // Without stock the cost can be typed.
    pickGoods(w, QStringLiteral("CP-01"));
    Trigger(&w, "Menu_edit");
    QVERIFY(w.Detail->Txt[5]->isVisible());
    QVERIFY(!w.Detail->Txt[5]->isReadOnly());
    Trigger(&w, "Menu_cancel");
    // The same operator sets the opening figures of a new goods.
    Trigger(&w, "Menu_Add");
    QVERIFY(!w.Detail->Txt[10]->isReadOnly());
    QVERIFY(!w.Detail->Txt[11]->isReadOnly());
    Trigger(&w, "Menu_cancel");
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

// The edit form shows the same boxes in the same places as the add form,
// even when it hides the cost and stock boxes of a goods with stock.
void TestA4::editLaysOutTheBoxesAsAdd()
{
    GoodsBooks set;
    LoginWithBasicWord(set, 1111);
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.resize(1000, 640);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    GoodsDetail& d = *w.Detail;
    const auto boxes = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
        return QList<QRect>{d.CmbLB->geometry(), d.Txt[4]->geometry(), d.CmbDW->geometry(), d.Txt[8]->geometry()};
    };
    Trigger(&w, "Menu_Add");
    const QList<QRect> adding = boxes();
    Trigger(&w, "Menu_cancel");
    pickGoods(w, QStringLiteral("LS-M3"));
    Trigger(&w, "Menu_edit");
    QVERIFY(d.Txt[5]->isHidden());
    const QList<QRect> editing = boxes();
    Trigger(&w, "Menu_cancel");
    // Same rows, same columns, about the same widths (the grid shares its
    // room a little differently when other boxes hide).
    for (int i = 0; i < adding.size(); ++i) {
        QCOMPARE(editing[i].y(), adding[i].y());
        QVERIFY2(qAbs(editing[i].x() - adding[i].x()) <= adding[i].width() / 10 &&
                     qAbs(editing[i].width() - adding[i].width()) <= adding[i].width() / 10,
                 qPrintable(QStringLiteral("box %1: %2 px at %3 while adding, %4 px at %5 while editing")
                                .arg(i)
                                .arg(adding[i].width())
                                .arg(adding[i].x())
                                .arg(editing[i].width())
                                .arg(editing[i].x())));
    }
    // The unit chooser is as wide as the boxes beside it.
    QVERIFY2(adding[2].width() >= adding[1].width() * 3 / 4,
             qPrintable(QStringLiteral("%1 beside %2").arg(adding[2].width()).arg(adding[1].width())));
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

void TestA4::editRenamesEverywhereAndKeepsPostedFigures()
{
    GoodsBooks set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("客户"), UnitKind::Customer});
    AddDocument(db, {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound,
                     QStringLiteral("采购入库单"), false, {{QStringLiteral("LS-M3"), 5, 0.1}}});
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('C1', 'LS-M3', 0.5)"));
    db.execute(QStringLiteral("INSERT INTO RkPrice (F1, F7, F9, F10) VALUES ('LS-M3', 0.11, 'x', '2024-05-01')"));
    db.execute(QStringLiteral("UPDATE TA4 SET BColor = 255 WHERE F1 = 'LS-M3'"));
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    pickGoods(w, QStringLiteral("LS-M3"));
    Trigger(&w, "Menu_edit");
    QCOMPARE(edstu(&w), 2);
    // Another window audits a receipt while this goods is open in edit.
    db.execute(QStringLiteral("UPDATE TA4 SET F8 = 705, F7 = 0.125, Fje = 88.125 WHERE F1 = 'LS-M3'"));
    TypeBox(&w, 0, QStringLiteral("ls-m4"));
    TypeBox(&w, 5, QStringLiteral("9"));
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM TA4 WHERE F1 = 'LS-M3'")), 0);
    QCOMPARE(set.text(QStringLiteral("SELECT F1 FROM TB11 WHERE F0 = 'RK1'")), QStringLiteral("LS-M4"));
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F1 = 'LS-M4' AND F0 = 'CP-01'")), 1);
    QCOMPARE(set.text(QStringLiteral("SELECT F1 FROM KhPrice WHERE F0 = 'C1'")), QStringLiteral("LS-M4"));
    QCOMPARE(set.text(QStringLiteral("SELECT F1 FROM RkPrice")), QStringLiteral("LS-M4"));
    // The row was updated in place: its colour and the posted figures survive.
    const RecordSet rs = db.query(QStringLiteral("SELECT F8, F7, Fje, BColor FROM TA4 WHERE F1 = 'LS-M4'"));
    QCOMPARE(rs.rowCount(), 1);
    QCOMPARE(rs.value(0, 0).toDouble(), 705.0);
    QCOMPARE(rs.value(0, 1).toDouble(), 0.125);
    QCOMPARE(rs.value(0, 2).toDouble(), 88.125);
    QCOMPARE(rs.value(0, 3).toInt(), 255);
    QCOMPARE(w.GD->textMatrix(w.CurrentRow, 0), QStringLiteral("LS-M4"));
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

void TestA4::deleteNamesTheProductsThatUseThePart()
{
    GoodsBooks set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("CP-02"), QStringLiteral("大支架")});
    AddBomPart(db, QStringLiteral("CP-02"), QStringLiteral("LM-M3"), 8);
    AddDocument(db, {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound,
                     QStringLiteral("采购入库单"), false, {{QStringLiteral("LS-M3"), 5, 0.1}}});
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    pickGoods(w, QStringLiteral("LS-M3"));
    msgs.expect(QStringLiteral("本编码已经在系统中采用，不可以删除！"));
    Trigger(&w, "Menu_del");
    pickGoods(w, QStringLiteral("LM-M3"));
    msgs.expect(QStringLiteral("真的要删除螺母的资料吗？"), MB::No);
    Trigger(&w, "Menu_del");
    QVERIFY(msgs.last().text.contains(QStringLiteral("[CP-01]组装支架")));
    QVERIFY(msgs.last().text.contains(QStringLiteral("[CP-02]大支架")));
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F1 = 'LM-M3'")), 2);
    msgs.expect(QStringLiteral("真的要删除螺母的资料吗？"), MB::Yes);
    Trigger(&w, "Menu_del");
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM TA4 WHERE F1 = 'LM-M3'")), 0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F1 = 'LM-M3'")), 0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F1 = 'LS-M3'")), 1);
    QVERIFY(!GridCodes(&w).contains(QStringLiteral("LM-M3")));
    // A goods no structure uses gets the plain question.
    pickGoods(w, QStringLiteral("CP-02"));
    msgs.expect(QStringLiteral("真的要删除大支架的资料吗？"), MB::Yes);
    Trigger(&w, "Menu_del");
    QVERIFY(!msgs.last().text.contains(QStringLiteral("成品的组成零件")));
    QCOMPARE(msgs.pending(), 0);
    closeWindow(&w);
}

void TestA4::structureCopyWritesOnlyOnSave()
{
    GoodsBooks set;
    set.app().InboundRefPrice = 1;
    set.app().CostPlusFeePrice = 1;
    AddGoods(set.db(), {QStringLiteral("CP-02"), QStringLiteral("新支架")});
    set.db().execute(QStringLiteral("UPDATE TA4 SET RkF7 = 3 WHERE F1 = 'CP-02'"));
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("成品"));
    w.show();
    pickGoods(w, QStringLiteral("CP-02"));
    Trigger(&w, "Menu_edit");
    w.Detail->ChK->setChecked(true);
    QVERIFY(w.Detail->CmdCopy->isVisible());
    auto copy = [&] {
        WhenModal([](QWidget* picker) {
            QVERIFY(picker->findChild<QCheckBox*>(QStringLiteral("Chkstyle"))->isHidden());
            chooseInPicker(picker, {QStringLiteral("CP-01")});
        });
        w.Detail->CmdCopy->click();
    };
    copy();
    Grid* g = w.Detail->Structure->gdMx();
    QCOMPARE(g->textMatrix(1, 0), QStringLiteral("LM-M3"));
    QCOMPARE(g->textMatrix(2, 0), QStringLiteral("LS-M3"));
    QVERIFY(BoxText(&w, 12) != QStringLiteral("3.00"));  // the price follows the copied cost
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F0 = 'CP-02'")), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT RkF7 FROM TA4 WHERE F1 = 'CP-02'")).toDouble(), 3.0);
    Trigger(&w, "Menu_cancel");
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F0 = 'CP-02'")), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT RkF7 FROM TA4 WHERE F1 = 'CP-02'")).toDouble(), 3.0);
    QVERIFY(!w.Detail->ChK->isChecked());  // the stored record again: no structure

    Trigger(&w, "Menu_edit");
    w.Detail->ChK->setChecked(true);
    copy();
    // A second copy over filled lines asks first; No keeps the lines.
    msgs.expect(QStringLiteral("系统将清空下面表格中已有的数据"), MB::No);
    copy();
    QCOMPARE(g->textMatrix(1, 0), QStringLiteral("LM-M3"));
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F0 = 'CP-02'")), 2);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F6 FROM Bom WHERE F0 = 'CP-02' AND F1 = 'LS-M3'")).toDouble(), 4.0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F0 = 'CP-01'")), 2);
    QCOMPARE(msgs.pending(), 0);
    closeWindow(&w);
}

void TestA4::pickerBatchAddsPartsIntoTheStructure()
{
    GoodsBooks set;
    AddGoods(set.db(), {QStringLiteral("DP-01"), QStringLiteral("底盘")});
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    pickGoods(w, QStringLiteral("DP-01"));
    Trigger(&w, "Menu_edit");
    w.Detail->ChK->setChecked(true);
    StructureEditor* s = w.Detail->Structure;
    s->gdMx()->setCurrent(1, 0);
    s->GdMx_Click();
    QVERIFY(s->CmdQuery->isVisible());
    WhenModal([](QWidget* picker) {
        picker->findChild<QCheckBox*>(QStringLiteral("Chkstyle"))->setChecked(true);
        chooseInPicker(picker, {QStringLiteral("LM-M3"), QStringLiteral("LS-M3")});
        QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Cmd2")), Qt::LeftButton);
    });
    QTest::mousePress(s->CmdQuery, Qt::LeftButton);
    QCOMPARE(s->lines().size(), 2);
    Trigger(&w, "Menu_save");
    QCOMPARE(edstu(&w), 0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F0 = 'DP-01'")), 2);
    QCOMPARE(set.text(QStringLiteral("SELECT F11 FROM TA4 WHERE F1 = 'DP-01'")), QStringLiteral("1"));
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

void TestA4::ctrlSlashPickKeepsTheCursorInTheStructure()
{
    GoodsBooks set;
    AddGoods(set.db(), {QStringLiteral("DP-01"), QStringLiteral("底盘")});
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    pickGoods(w, QStringLiteral("DP-01"));
    Trigger(&w, "Menu_edit");
    w.Detail->ChK->setChecked(true);
    StructureEditor* s = w.Detail->Structure;
    s->gdMx()->setCurrent(1, 0);
    s->GdMx_Click();
    auto* editor = s->findChild<QLineEdit*>(QStringLiteral("TxtEnter"));
    QVERIFY(editor && editor->isVisible());
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    bool picked = false;
    WhenModal([&](QWidget* picker) {
        picked = true;
        chooseInPicker(picker, {QStringLiteral("LM-M3")});
    });
    QTest::keyClick(editor, Qt::Key_Slash, Qt::ControlModifier);
    QVERIFY(picked);
    QCOMPARE(editor->text(), QStringLiteral("LM-M3"));
    // The cursor is back in the structure's cell, ready for Enter, once the
    // window is active again.
    QVERIFY(editor->isVisible());
    QCOMPARE(w.focusWidget(), editor);
    w.activateWindow();
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(s->gdMx()->textMatrix(1, 0), QStringLiteral("LM-M3"));
    msgs.expect(QString());
    Trigger(&w, "Menu_cancel");
    closeWindow(&w);
}

void TestA4::picturesGetTheirOwnFilesAndStayRelative()
{
    GoodsBooks set;
    QTemporaryDir source;
    const QString first = writePicture(source.path() + QLatin1Char('/'), QStringLiteral("a.png"), Qt::yellow);
    const QString second = writePicture(source.path() + QLatin1Char('/'), QStringLiteral("b.bmp"), Qt::red);
    MessageScript msgs;
    DialogScript dialogs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    // Browsing, the picture cannot be changed.
    QVERIFY(w.Detail->cmdOpen->isHidden());
    // Two goods get pictures within the same second: two files.
    for (const auto& [code, file] : {std::pair{QStringLiteral("LS-M3"), first}, std::pair{QStringLiteral("LM-M3"), second}}) {
        pickGoods(w, code);
        Trigger(&w, "Menu_edit");
        dialogs.openFile(file);
        w.Detail->cmdOpen->click();
        QVERIFY(w.Detail->LabInfo->text().startsWith(PictureFolder(set.app().AccountSetFolder)));
        Trigger(&w, "Menu_save");
        QCOMPARE(edstu(&w), 0);
    }
    const QString ref1 = set.text(QStringLiteral("SELECT F9 FROM TA4 WHERE F1 = 'LS-M3'"));
    const QString ref2 = set.text(QStringLiteral("SELECT F9 FROM TA4 WHERE F1 = 'LM-M3'"));
    QVERIFY(ref1.startsWith(QStringLiteral("#PicPath#\\")));
    QVERIFY(ref2.startsWith(QStringLiteral("#PicPath#\\")));
    QVERIFY(ref1 != ref2);
    const QString path1 = ResolvePictureReference(set.app().AccountSetFolder, ref1);
    const QString path2 = ResolvePictureReference(set.app().AccountSetFolder, ref2);
    QVERIFY(QImage(path1).pixelColor(160, 120) == QColor(Qt::yellow));
    QVERIFY(QImage(path2).pixelColor(160, 120) == QColor(Qt::red));
    // After the save the shown record names its picture, and saving it again keeps the reference relative.
    QCOMPARE(w.Detail->LabInfo->text(), path2);
    Trigger(&w, "Menu_edit");
    TypeBox(&w, 6, QStringLiteral("再存一次"));
    Trigger(&w, "Menu_save");
    QCOMPARE(set.text(QStringLiteral("SELECT F9 FROM TA4 WHERE F1 = 'LM-M3'")), ref2);
    // Cancelling the choice takes the picture off the goods.
    Trigger(&w, "Menu_edit");
    dialogs.openFile(QString());
    w.Detail->cmdOpen->click();
    QCOMPARE(w.Detail->LabInfo->text(), QStringLiteral("双击此处导入图片"));
    Trigger(&w, "Menu_save");
    QCOMPARE(set.text(QStringLiteral("SELECT F9 FROM TA4 WHERE F1 = 'LM-M3'")), QStringLiteral("双击此处导入图片"));
    QVERIFY(QFile::exists(path2));  // the file stays in the folder
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

void TestA4::classFollowsTheCompositeTick()
{
    GoodsBooks set;
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    QVERIFY(w.CompositeAllowed);
    // The structure of CP-01 is taken off: the goods becomes a part.
    pickGoods(w, QStringLiteral("CP-01"));
    Trigger(&w, "Menu_edit");
    QVERIFY(w.Detail->ChK->isChecked());
    w.Detail->ChK->setChecked(false);
    Trigger(&w, "Menu_save");
    QCOMPARE(set.count(QStringLiteral("SELECT Fcplj FROM TA4 WHERE F1 = 'CP-01'")), 0);
    QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM Bom WHERE F0 = 'CP-01'")), 0);
    // The detail tab hidden (list shown): the tick still decides.
    pickGoods(w, QStringLiteral("LS-M3"));
    Trigger(&w, "Menu_edit");
    w.Detail->ChK->setChecked(true);
    StructureEditor* s = w.Detail->Structure;
    s->gdMx()->setCurrent(1, 0);
    s->GdMx_Click();
    s->txtEnter()->setText(QStringLiteral("LM-M3"));
    s->TxtEnter_LostFocus();
    w.Detail->hide();
    Trigger(&w, "Menu_save");
    QCOMPARE(set.count(QStringLiteral("SELECT Fcplj FROM TA4 WHERE F1 = 'LS-M3'")), 1);
    QCOMPARE(msgs.count(), 0);
    closeWindow(&w);
}

void TestA4::conversionNeedsTheEditRight()
{
    GoodsBooks set;
    set.app().Menus.setVisible(QStringLiteral("Menu_AA6"), true);
    LoginWithBasicWord(set, 1011);
    {
        MessageScript msgs;
        auto& w = *new A4(set.app(), QStringLiteral("零件"));
        QVERIFY(w.Menu_Trun->isVisible());
        msgs.expect(QStringLiteral("对不起，您无此权限！"));
        Trigger(&w, "Menu_Trun");
        QCOMPARE(set.count(QStringLiteral("SELECT count(*) FROM TA4 WHERE Fcplj = 1")), 1);
        closeWindow(&w);
    }
    set.loginAs(QStringLiteral("001"));
    MessageScript msgs;
    auto& w = *new A4(set.app(), QStringLiteral("零件"));
    QCOMPARE(GridCodes(&w), (QStringList{QStringLiteral("LM-M3"), QStringLiteral("LS-M3")}));
    pickGoods(w, QStringLiteral("LS-M3"));
    msgs.expect(QStringLiteral("真的要把[LS-M3]从归属于[零件]转换为归属于[成品]吗？"), MB::Cancel);
    Trigger(&w, "Menu_Trun");
    QCOMPARE(set.count(QStringLiteral("SELECT Fcplj FROM TA4 WHERE F1 = 'LS-M3'")), 0);
    msgs.expect(QStringLiteral("真的要把[LS-M3]"), MB::OK);
    Trigger(&w, "Menu_Trun");
    QCOMPARE(set.count(QStringLiteral("SELECT Fcplj FROM TA4 WHERE F1 = 'LS-M3'")), 1);
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("LM-M3")});
    QCOMPARE(w.CurrentRow, 1);
    msgs.expect(QStringLiteral("真的要把[LM-M3]"), MB::OK);
    Trigger(&w, "Menu_Trun");
    QCOMPARE(w.ListCount, 0);
    msgs.expect(QStringLiteral("请选择要转换的数据！"));
    Trigger(&w, "Menu_Trun");
    QCOMPARE(msgs.pending(), 0);
    closeWindow(&w);
}

void TestA4::structureExportHasItsTitle()
{
    GoodsBooks set;
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("bom.csv"));
    MessageScript msgs;
    msgs.allowAny(MB::No);
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    pickGoods(w, QStringLiteral("CP-01"));
    w.TabS->setCurrentIndex(1);
    QVERIFY(!w.Detail->Structure->isHidden());
    WhenModal([&](QWidget* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("Txt"));
        auto* type = dialog->findChild<QComboBox*>(QStringLiteral("CmbLX"));
        auto* go = dialog->findChild<QPushButton*>(QStringLiteral("Cmd0"));
        QVERIFY2(name && type && go, "export window controls");
        type->setCurrentIndex(1);
        name->setText(file);
        go->click();
        if (dialog->isVisible())
            dialog->close();
    });
    Trigger(&w, "Menu_TE");
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY2(text.contains(QStringLiteral(",,产品构成表(BOM)")), qPrintable(text.left(200)));
    QVERIFY(text.contains(QStringLiteral(",产品编码：,CP-01,品名规格：,组装支架 ")));
    QVERIFY(text.contains(QStringLiteral("LS-M3")));
    closeWindow(&w);
}

// The goods list keeps its own proportions over the grid's width, from the
// first showing and after a resize.
void TestA4::listColumnsFillTheGrid()
{
    GoodsBooks set;
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.resize(900, 560);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY2(ListColumnsFillRefusal(&w).isEmpty(), qPrintable(ListColumnsFillRefusal(&w)));
    // Code, name and category share the width; the name is widest.
    QVERIFY(w.GD->columnWidth(1) > w.GD->columnWidth(0));
    w.resize(1300, 560);
    QCoreApplication::processEvents();
    QVERIFY2(ListColumnsFillRefusal(&w).isEmpty(), qPrintable(ListColumnsFillRefusal(&w)));
    closeWindow(&w);
}

void TestA4::screenshot()
{
    // A picture of the window for a person to look at: VX_SCREENSHOTS=<folder>.
    const QString dir = qEnvironmentVariable("VX_SCREENSHOTS");
    if (dir.isEmpty())
        QSKIP("VX_SCREENSHOTS not set");
    GoodsBooks set;
    QTemporaryDir source;
    const QString file = writePicture(source.path() + QLatin1Char('/'), QStringLiteral("p.png"), QColor(250, 200, 60));
    const PictureImport pic = ImportGoodsPicture(set.app().AccountSetFolder, file, QDateTime::currentDateTime());
    set.db().execute(QStringLiteral("UPDATE TA4 SET F9 = ?, F6 = '样品' WHERE F1 = 'CP-01'"), {pic.reference});
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.resize(1000, 640);
    w.show();
    w.grab().save(dir + QStringLiteral("/A4-list.png"));
    pickGoods(w, QStringLiteral("CP-01"));
    w.TabS->setCurrentIndex(1);
    QTest::qWait(100);
    w.grab().save(dir + QStringLiteral("/A4-detail.png"));
    MessageScript msgs;
    Trigger(&w, "Menu_edit");
    QTest::qWait(100);
    w.grab().save(dir + QStringLiteral("/A4-edit.png"));
    Trigger(&w, "Menu_cancel");
    closeWindow(&w);
}

VX_REGISTER_TEST(TestA4)
#include "tst_a4.moc"

// Print hands the listed goods to the print window: one staged row per goods,
// the code, name and unit in the fields the goods layout reads.
void TestA4::listPrintStagesTheGoods()
{
    GoodsBooks set;
    FakePrinters::Installation printers(set.folder());
    auto& w = *new A4(set.app(), QStringLiteral("货品"));
    w.show();
    QString staged;
    bool shown = false;
    WhenModal([&](QWidget* m) {
        auto* window = qobject_cast<Myprn*>(m);
        QVERIFY2(window, qPrintable(m->metaObject()->className()));
        shown = true;
        staged = set.text(QStringLiteral("SELECT group_concat(F1 || '/' || F2 || '/' || F5, ' ') "
                                         "FROM (SELECT * FROM temp.Plist ORDER BY F0)"));
        window->close();
    });
    Trigger(&w, "Menu_print");
    QVERIFY(shown);
    QCOMPARE(staged, QStringLiteral("CP-01/组装支架/个 LM-M3/螺母/个 LS-M3/螺丝/个"));
    closeWindow(&w);
}
