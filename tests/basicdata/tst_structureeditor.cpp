#include "basicdata/StructureEditor.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Entering a product structure in the goods window's structure grid.
class TestStructureEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void typedPartFillsTheLine();
    void refusals_data();
    void refusals();
    void duplicateMovesToTheExistingLine();
    void clearingTheOnlyPartEmptiesTheRow();
    void usageIsAbsoluteWithNoNegativeQty();
    void loadShowsTotalsAndAssemblableCount();
    void pickerBatchAddsParts();
    void pickerKeepsTheCursorInTheGrid_data();
    void pickerKeepsTheCursorInTheGrid();

private:
    void type(const QString& text);
    std::unique_ptr<FreshAccountSet> set;
    std::unique_ptr<StructureEditor> editor;
};

void TestStructureEditor::init()
{
    set = std::make_unique<FreshAccountSet>();
    set->loginAs(QStringLiteral("001"));
    set->app().CanSeeCost = -1;
    for (const char* code : {"P1", "P2", "P3"}) {
        GoodsSpec g{QLatin1String(code), QStringLiteral("零件") + QLatin1String(code)};
        g.cost = 2.5;
        g.stock = 7;
        AddGoods(set->db(), g);
    }
    AddBomPart(set->db(), QStringLiteral("P3"), QStringLiteral("X"), 1);  // X is a part of P3
    editor = std::make_unique<StructureEditor>(set->app());
    editor->theHname = QStringLiteral("货品");
    editor->editing = [] { return true; };
    editor->productCode = [] { return QStringLiteral("X"); };
    editor->resize(700, 300);
    editor->show();
}

void TestStructureEditor::cleanup()
{
    editor.reset();
    set.reset();
}

// Types into the cell at the grid's current position and presses Enter.
void TestStructureEditor::type(const QString& text)
{
    editor->GdMx_Click();
    editor->txtEnter()->setText(text);
    QTest::keyClick(editor->txtEnter(), Qt::Key_Return);
}

void TestStructureEditor::typedPartFillsTheLine()
{
    Grid* g = editor->gdMx();
    g->setCurrent(1, 0);
    type(QStringLiteral(" p1 "));
    QCOMPARE(g->textMatrix(1, 0), QStringLiteral("P1"));
    QCOMPARE(g->textMatrix(1, 1), QStringLiteral("零件P1/"));
    QCOMPARE(g->textMatrix(1, 3), QStringLiteral("1 个"));
    QCOMPARE(g->textMatrix(1, 4), QStringLiteral("2.5"));
    QCOMPARE(g->col(), 3);  // Enter moved on to the usage
    type(QStringLiteral("4"));
    QCOMPARE(g->textMatrix(1, 3), QStringLiteral("4 个"));
    QCOMPARE(g->textMatrix(1, 5), QStringLiteral("10"));
    QCOMPARE(g->rows(), 3);
    QCOMPARE(g->textMatrix(2, 4), QStringLiteral("合计"));
    QCOMPARE(g->textMatrix(2, 5), QStringLiteral("10.00"));
    QCOMPARE(editor->lines().size(), 1);
    QCOMPARE(editor->lines()[0].usage, 4.0);
    QCOMPARE(set->db().scalar(QStringLiteral("SELECT COUNT(*) FROM Bom WHERE F0 = 'X'")).toInt(), 0);
}

void TestStructureEditor::refusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("the product itself") << " x " << "产品构成表中不能包含产品本身！";
    QTest::newRow("each a part of the other") << "P3" << "在系统中已经设置了[X]是组成[P3]的零件之一！两者所属关系不能混乱！";
    QTest::newRow("unknown goods") << "Q'9" << "货品资料库中不存在[Q'9]这个零件编码！";
}

void TestStructureEditor::refusals()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    MessageScript msgs;
    msgs.expect(message);
    editor->gdMx()->setCurrent(1, 0);
    type(code);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, message);
    QCOMPARE(editor->gdMx()->textMatrix(1, 0), QString());
    QVERIFY(editor->lines().isEmpty());
}

void TestStructureEditor::duplicateMovesToTheExistingLine()
{
    Grid* g = editor->gdMx();
    g->setCurrent(1, 0);
    type(QStringLiteral("P1"));
    g->setCurrent(2, 0);
    type(QStringLiteral("P2"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("相同的零件编码已经存在！"));
    g->setCurrent(3, 0);
    type(QStringLiteral("P1"));
    QCOMPARE(editor->curMxR(), 1);
    QCOMPARE(editor->lines().size(), 2);
}

void TestStructureEditor::clearingTheOnlyPartEmptiesTheRow()
{
    Grid* g = editor->gdMx();
    g->setCurrent(1, 0);
    type(QStringLiteral("P1"));
    QCOMPARE(g->rows(), 3);
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要删除货品[零件P1/]吗？"), MB::Yes);
    g->setCurrent(1, 0);
    type(QString());
    QCOMPARE(g->rows(), 2);
    QVERIFY(!editor->hasParts());
}

void TestStructureEditor::usageIsAbsoluteWithNoNegativeQty()
{
    set->app().NoNegativeQty = 1;
    Grid* g = editor->gdMx();
    g->setCurrent(1, 0);
    type(QStringLiteral("P1"));
    type(QStringLiteral("-2"));
    QCOMPARE(g->textMatrix(1, 3), QStringLiteral("2 个"));
}

void TestStructureEditor::loadShowsTotalsAndAssemblableCount()
{
    AddBomPart(set->db(), QStringLiteral("X"), QStringLiteral("P1"), 2);
    AddBomPart(set->db(), QStringLiteral("X"), QStringLiteral("P2"), 1);
    const double total = editor->LoadBomGrid(QStringLiteral("X"), PriceBasis::Cost, QStringLiteral("台"));
    Grid* g = editor->gdMx();
    QCOMPARE(total, 7.5);
    QCOMPARE(g->rows(), 4);
    QCOMPARE(g->textMatrix(3, 1), QStringLiteral(" 现存零件可组装成品数量："));
    QCOMPARE(g->textMatrix(3, 2), QStringLiteral("4 台"));  // 7 / 2 = 3.5 -> 4
    QCOMPARE(g->textMatrix(3, 5), QStringLiteral("7.50"));
    QCOMPARE(g->textMatrix(1, 2), QStringLiteral("7 个"));
}

void TestStructureEditor::pickerBatchAddsParts()
{
    Grid* g = editor->gdMx();
    g->setCurrent(1, 0);
    editor->GdMx_Click();
    QVERIFY(editor->CmdQuery->isVisible());
    WhenModal([](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("Chkstyle"))->setChecked(true);
        Grid* gd = w->findChild<Grid*>(QStringLiteral("GD"));
        for (int r = 1; r <= 2; ++r) {
            gd->setRow(r);
            QTest::keyClick(gd, Qt::Key_Return);
        }
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Cmd2")), Qt::LeftButton);
    });
    QTest::mousePress(editor->CmdQuery, Qt::LeftButton);
    QCOMPARE(editor->lines().size(), 2);
    QCOMPARE(g->textMatrix(1, 0), QStringLiteral("P1"));
    QCOMPARE(g->textMatrix(2, 0), QStringLiteral("P2"));
    QCOMPARE(g->textMatrix(3, 0), QString());
}

void TestStructureEditor::pickerKeepsTheCursorInTheGrid_data()
{
    QTest::addColumn<bool>("batch");
    QTest::newRow("one part") << false;
    QTest::newRow("several parts") << true;
}

// Ctrl+/ in a part cell opens the goods picker; once a part is picked the
// clerk types on in the structure grid, not in whatever had the focus before.
void TestStructureEditor::pickerKeepsTheCursorInTheGrid()
{
    QFETCH(bool, batch);
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    Grid* g = editor->gdMx();
    g->setCurrent(1, 0);
    editor->GdMx_Click();
    QTRY_COMPARE(QApplication::focusWidget(), editor->txtEnter());
    WhenModal([batch](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("Chkstyle"))->setChecked(batch);
        Grid* gd = w->findChild<Grid*>(QStringLiteral("GD"));
        for (int r = 1; r <= (batch ? 2 : 1); ++r) {
            gd->setRow(r);
            QTest::keyClick(gd, Qt::Key_Return);
        }
        if (batch)
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Cmd2")), Qt::LeftButton);
    });
    QTest::keyClick(editor->txtEnter(), Qt::Key_Slash, Qt::ControlModifier);
    // One part waits in the cell for Enter; several are lines already.
    QCOMPARE(batch ? g->textMatrix(1, 0) : editor->txtEnter()->text(), QStringLiteral("P1"));
    QCOMPARE(editor->lines().size(), batch ? 2 : 0);
    // The window's focus widget: where the keys go once the window is active again.
    QWidget* focus = editor->window()->focusWidget();
    QVERIFY2(focus && (focus == g || focus == editor->txtEnter()),
             qPrintable(focus ? focus->objectName() + QLatin1Char(' ') + focus->metaObject()->className()
                              : QStringLiteral("no focus")));
}

VX_REGISTER_TEST(TestStructureEditor)
#include "tst_structureeditor.moc"
