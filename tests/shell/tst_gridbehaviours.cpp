#include "core/App.h"
#include "widgets/GridBehaviours.h"
#include "platform/Grid.h"
#include "shell/MForm.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/Popups.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

// A goods list: code, name, stock; optionally a totals row.
void fill(Grid& g, const QStringList& rows, bool totals = false)
{
    g.setCols(3);
    g.setHeaders({QStringLiteral("编码"), QStringLiteral("名称"), QStringLiteral("库存")});
    g.clearRows();
    for (const QString& r : rows)
        g.addItem(r);
    if (totals)
        g.addItem(QStringLiteral("合计：\t\t999"));
}

QStringList column(const Grid& g, int col)
{
    QStringList texts;
    for (int r = g.fixedRows(); r < g.rows(); ++r)
        texts << g.textMatrix(r, col);
    return texts;
}

ColumnSortMenu::Kind goodsKinds(int col)
{
    return col == 2 ? ColumnSortMenu::Kind::Number : ColumnSortMenu::Kind::Text;
}

// Clicks a column header as the operator does and chooses "按…排序".
void sortByHeader(Grid& g, int col)
{
    QString caption;
    WhenPopup([&caption](QMenu* menu) {
        caption = menu->findChild<QAction*>(QStringLiteral("Menu_sortBy"))->text();
        ChoosePopupItem(menu, QStringLiteral("Menu_sortBy"));
    });
    QHeaderView* header = g.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(caption, QStringLiteral("按") + g.textMatrix(0, col) + QStringLiteral("排序"));
}

void addGoods(Database& db, const QString& code)
{
    GoodsSpec goods;
    goods.code = code;
    goods.name = QStringLiteral("货品") + code;
    AddGoods(db, goods);
}

// Right-clicks a cell and runs `choice` on the popup.
void rightClick(GridContextMenu& menu, Grid& g, int row, int col, std::function<void(QMenu*)> choice)
{
    WhenPopup(std::move(choice));
    menu.popupAt(row, col, g.viewport()->mapToGlobal(g.cellRect(row, col).center()));
}

}  // namespace

class TestGridBehaviours : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sortAlternatesAndKeepsTotalsLast();
    void sortMovesRowColours();
    void noSortOfferOnShortLists();
    void copyCellText();
    void copyEmptyCellClearsClipboard();
    void rowColourStoredAndCancelledBack();
    void sameColourWritesNothing();
    void keyWithQuoteIsStoredSafely();
    void copyOnlyGridHasNoColourItems();
    void noPopupWhileEditing();
    void storedColoursPaintedOnFill();
    void recordPositionInStatusLine();
    void closingWindowGivesStatusLineBack();
};

void TestGridBehaviours::sortAlternatesAndKeepsTotalsLast()
{
    Grid g;
    g.resize(400, 300);
    fill(g, {QStringLiteral("b\t乙\t10"), QStringLiteral("A\t甲\t2"), QStringLiteral("c\t丙\t33")}, true);
    ColumnSortMenu sort(&g, goodsKinds, 4);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));

    sortByHeader(g, 0);
    QCOMPARE(column(g, 0), (QStringList{"A", "b", "c", "合计："}));
    QCOMPARE(sort.lastSortCode(), qint16(5));
    sortByHeader(g, 0);
    QCOMPARE(column(g, 0), (QStringList{"c", "b", "A", "合计："}));
    // The first sort after one of the other kind is ascending.
    sortByHeader(g, 2);
    QCOMPARE(column(g, 2), (QStringList{"2", "10", "33", "999"}));
    QCOMPARE(sort.lastSortCode(), qint16(3));
    sortByHeader(g, 2);
    QCOMPARE(column(g, 2), (QStringList{"33", "10", "2", "999"}));
}

void TestGridBehaviours::sortMovesRowColours()
{
    Grid g;
    fill(g, {QStringLiteral("b\t乙\t1"), QStringLiteral("a\t甲\t2")});
    g.setRowBackColor(1, Qt::red);
    ColumnSortMenu sort(&g, goodsKinds);
    sort.sortBy(0);
    QCOMPARE(g.textMatrix(2, 0), QStringLiteral("b"));
    QCOMPARE(g.cellBackColor(2, 1), QColor(Qt::red));
    QVERIFY(!g.cellBackColor(1, 1).isValid());
}

void TestGridBehaviours::noSortOfferOnShortLists()
{
    Grid g;
    fill(g, {QStringLiteral("b\t乙\t1"), QStringLiteral("a\t甲\t2")}, true);  // 4 rows with header and totals
    ColumnSortMenu sort(&g, goodsKinds, 4);
    bool offered = false;
    WhenPopup([&offered](QMenu* menu) {
        offered = true;
        menu->close();
    }, 300);
    g.selectColumn(0);
    sort.offerAt(0, QPoint(10, 10));
    QTest::qWait(400);
    QVERIFY(!offered);
    QCOMPARE(column(g, 0), (QStringList{"b", "a", "合计："}));
}

void TestGridBehaviours::copyCellText()
{
    FreshAccountSet set;
    Grid g;
    fill(g, {QStringLiteral("001\t螺丝\t5")});
    GridContextMenu menu(set.app(), &g, RowColourTarget::byColumn(QStringLiteral("TA4"), QStringLiteral("F1"), &g, 0));
    QString caption;
    rightClick(menu, g, 1, 1, [&caption](QMenu* m) {
        caption = m->findChild<QAction*>(QStringLiteral("Menu_ClipCopy"))->text();
        ChoosePopupItem(m, QStringLiteral("Menu_ClipCopy"));
    });
    QCOMPARE(caption, QStringLiteral("&C.复制“螺丝”"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("螺丝"));
    QVERIFY(set.app().PopupCellText.isEmpty());
    QCOMPARE(g.row(), 1);
    QCOMPARE(g.col(), 1);
}

void TestGridBehaviours::copyEmptyCellClearsClipboard()
{
    FreshAccountSet set;
    Grid g;
    fill(g, {QStringLiteral("001\t\t5")});
    QApplication::clipboard()->setText(QStringLiteral("旧内容"));
    GridContextMenu menu(set.app(), &g);
    QString caption;
    rightClick(menu, g, 1, 1, [&caption](QMenu* m) {
        caption = m->findChild<QAction*>(QStringLiteral("Menu_ClipCopy"))->text();
        ChoosePopupItem(m, QStringLiteral("Menu_ClipCopy"));
    });
    QCOMPARE(caption, QStringLiteral("&C.复制"));
    QVERIFY(QApplication::clipboard()->text().isEmpty());
}

void TestGridBehaviours::rowColourStoredAndCancelledBack()
{
    FreshAccountSet set;
    addGoods(set.db(), QStringLiteral("G01"));
    addGoods(set.db(), QStringLiteral("G02"));
    Grid g;
    fill(g, {QStringLiteral("G01\t货品G01\t0"), QStringLiteral("G02\t货品G02\t0")});
    GridContextMenu menu(set.app(), &g, RowColourTarget::byColumn(QStringLiteral("TA4"), QStringLiteral("F1"), &g, 0));
    const auto stored = [&set](const char* code) {
        return set.db().scalar(QStringLiteral("SELECT BColor FROM TA4 WHERE F1=?"), {QString::fromLatin1(code)}).toLongLong();
    };

    DialogScript dialogs;
    dialogs.pickColour(QColor(255, 0, 0));
    rightClick(menu, g, 2, 1, [](QMenu* m) { ChoosePopupItem(m, QStringLiteral("Menu_SetColor1")); });
    QCOMPARE(stored("G02"), qint64(255));
    QCOMPARE(stored("G01"), qint64(0));
    QCOMPARE(g.cellBackColor(2, 0), QColor(255, 0, 0));
    QCOMPARE(g.cellBackColor(2, 2), QColor(255, 0, 0));
    QVERIFY(!g.cellBackColor(1, 0).isValid());

    // Cancelling the colour dialog leaves the row's colour as it was.
    dialogs.pickColour(std::nullopt);
    rightClick(menu, g, 2, 2, [](QMenu* m) { ChoosePopupItem(m, QStringLiteral("Menu_SetColor1")); });
    QCOMPARE(stored("G02"), qint64(255));
    QCOMPARE(g.cellBackColor(2, 0), QColor(255, 0, 0));
    QCOMPARE(set.app().PopupRowColors[0], qint64(0));
}

void TestGridBehaviours::sameColourWritesNothing()
{
    FreshAccountSet set;
    addGoods(set.db(), QStringLiteral("G01"));
    Grid g;
    fill(g, {QStringLiteral("G01\t货品G01\t0")});
    g.setRowForeColor(1, QColor(0, 0, 255));
    set.db().execute(QStringLiteral("UPDATE TA4 SET FColor=12345 WHERE F1='G01'"));
    GridContextMenu menu(set.app(), &g, RowColourTarget::byColumn(QStringLiteral("TA4"), QStringLiteral("F1"), &g, 0));
    DialogScript dialogs;
    dialogs.pickColour(QColor(0, 0, 255));
    rightClick(menu, g, 1, 1, [](QMenu* m) { ChoosePopupItem(m, QStringLiteral("Menu_SetColor2")); });
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT FColor FROM TA4 WHERE F1='G01'")).toLongLong(), qint64(12345));
}

void TestGridBehaviours::keyWithQuoteIsStoredSafely()
{
    FreshAccountSet set;
    addGoods(set.db(), QStringLiteral("O'Neil"));
    addGoods(set.db(), QStringLiteral("X"));
    Grid g;
    fill(g, {QStringLiteral("O'Neil\t货品\t0")});
    GridContextMenu menu(set.app(), &g, RowColourTarget::byColumn(QStringLiteral("TA4"), QStringLiteral("F1"), &g, 0));
    DialogScript dialogs;
    dialogs.pickColour(QColor(0, 128, 0));
    rightClick(menu, g, 1, 0, [](QMenu* m) { ChoosePopupItem(m, QStringLiteral("Menu_SetColor1")); });
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT BColor FROM TA4 WHERE F1='O''Neil'")).toLongLong(),
             Grid::colorToValue(QColor(0, 128, 0)));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT BColor FROM TA4 WHERE F1='X'")).toLongLong(), qint64(0));
}

void TestGridBehaviours::copyOnlyGridHasNoColourItems()
{
    FreshAccountSet set;
    Grid g;
    fill(g, {QStringLiteral("001\t螺丝\t5")});
    GridContextMenu menu(set.app(), &g);
    bool colourItems = true;
    rightClick(menu, g, 1, 0, [&colourItems](QMenu* m) {
        colourItems = m->findChild<QAction*>(QStringLiteral("Menu_SetColor1")) != nullptr;
        m->close();
    });
    QVERIFY(!colourItems);
}

void TestGridBehaviours::noPopupWhileEditing()
{
    FreshAccountSet set;
    QWidget window;
    window.setProperty("Edstu", 1);
    auto* g = new Grid(&window);
    fill(*g, {QStringLiteral("001\t螺丝\t5")});
    GridContextMenu menu(set.app(), g);
    bool shown = false;
    WhenPopup([&shown](QMenu* m) {
        shown = true;
        m->close();
    }, 300);
    menu.popupAt(1, 0, QPoint(10, 10));
    QTest::qWait(400);
    QVERIFY(!shown);
}

void TestGridBehaviours::storedColoursPaintedOnFill()
{
    FreshAccountSet set;
    addGoods(set.db(), QStringLiteral("G01"));
    addGoods(set.db(), QStringLiteral("G02"));
    set.db().execute(QStringLiteral("UPDATE TA4 SET BColor=255, FColor=NULL WHERE F1='G02'"));
    const RecordSet rs = set.db().query(QStringLiteral("SELECT F1, F2, F8, BColor, FColor FROM TA4 ORDER BY F1"));
    Grid g;
    fill(g, {QStringLiteral("G01\t货品G01\t0"), QStringLiteral("G02\t货品G02\t0")});
    RowColourMarks(&g, rs);
    QVERIFY(!g.cellBackColor(1, 0).isValid());
    QCOMPARE(g.cellBackColor(2, 0), QColor(255, 0, 0));
    QCOMPARE(g.cellBackColor(2, 2), QColor(255, 0, 0));
    QVERIFY(!g.cellForeColor(2, 0).isValid());
}

void TestGridBehaviours::recordPositionInStatusLine()
{
    FreshAccountSet set;
    MForm frame(set.app());
    Grid g;
    fill(g, {QStringLiteral("a\t甲\t1"), QStringLiteral("b\t乙\t2"), QStringLiteral("c\t丙\t3")});
    RecordStatusLine line(set.app(), &g);
    g.setCurrent(2, 0);
    QCOMPARE(frame.statusText(4), QStringLiteral("共 3 条记录 当前为第 2 条"));
    QCOMPARE(g.rowSel(), 2);
    QCOMPARE(g.colSel(), 2);

    // A report with nothing found keeps one empty row under its header.
    Grid totals;
    fill(totals, {QStringLiteral("\t\t")});
    RecordStatusLine report(set.app(), &totals, {true, -1, -1, true, QString()});
    report.update();
    QCOMPARE(frame.statusText(4), QStringLiteral("无信息"));
}

void TestGridBehaviours::closingWindowGivesStatusLineBack()
{
    FreshAccountSet set;
    MForm frame(set.app());
    frame.show();
    auto* list = new QWidget;
    list->setAttribute(Qt::WA_DeleteOnClose);
    new StatusPanelRestore(set.app(), list);
    QMdiSubWindow* sub = frame.MdiArea->addSubWindow(list);
    sub->show();
    frame.setStatusText(4, QStringLiteral("共 3 条记录 当前为第 1 条"));
    sub->close();
    QCOMPARE(frame.statusText(4), QStringLiteral("测试账套"));
}

VX_REGISTER_TEST(TestGridBehaviours)
#include "tst_gridbehaviours.moc"
