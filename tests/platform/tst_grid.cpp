#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/TestRegistry.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A grid of `n` data rows and `cols` columns whose cell (r, c) reads "r.c";
// header captions "H0", "H1", ...
void fill(Grid& g, int n, int cols)
{
    std::vector<QString> cells;
    for (int r = 1; r <= n; ++r)
        for (int c = 0; c < cols; ++c)
            cells.push_back(QStringLiteral("%1.%2").arg(r).arg(c));
    QStringList headers;
    for (int c = 0; c < cols; ++c)
        headers << QStringLiteral("H%1").arg(c);
    g.setHeaders(headers);
    g.load(n, cols, std::move(cells));
}

QStringList column(const Grid& g, int col)
{
    QStringList out;
    for (int r = g.fixedRows(); r < g.rows(); ++r)
        out << g.textMatrix(r, col);
    return out;
}

// Attaches the model tester for the life of the grid.
void watch(Grid& g)
{
    new QAbstractItemModelTester(g.gridModel(), QAbstractItemModelTester::FailureReportingMode::QtTest, &g);
}

}  // namespace

class TestGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modelStaysConsistentThroughEveryChange();
    void countsIncludeTheFixedRow();
    void textMatrixOutOfRangeReadsEmptyAndIgnoresWrites();
    void addItemSplitsTabsAndInsertsBeforeRow();
    void removeItemKeepsTheFixedRow();
    void loadKeepsHeaderWidthsAndHiddenColumns();
    void loadQueryShowsCellsAsTheRecordSetDoes();
    void setColsKeepsTheCells();
    void cellAndRowColoursReachThePainter();
    void colourValues_data();
    void colourValues();
    void colWidthTwips_data();
    void colWidthTwips();
    void alignment_data();
    void alignment();
    void sort_data();
    void sort();
    void sortLeavesTotalsRowAndCarriesColours();
    void currentCellMapsToTheView();
    void settingRowCollapsesTheSelection();
    void headerClickSelectsTheWholeColumn();
    void clickRecordsMouseCellAndMovesCurrent();
    void doubleClickIsNoSecondClick();
    void rightClickReportsDataCellsOnly();
    void keysMoveAndExtend();
    void redrawOffAnnouncesChangesOnce();
    void clearEmptiesTextsAndColours();
    void twoFixedRowsAndMergedCaptions();
    void mergedColumnBlanksRepeatsOnly();
    void pictureShowsVisibleColumnsAndColours();
};

void TestGrid::modelStaysConsistentThroughEveryChange()
{
    Grid g;
    watch(g);
    g.setCols(3);
    g.setRows(5);
    g.setTextMatrix(2, 1, QStringLiteral("x"));
    g.setTextMatrix(0, 1, QStringLiteral("caption"));
    fill(g, 50, 4);
    g.addItem(QStringLiteral("a\tb"), 3);
    g.removeItem(1);
    g.sortByColumn(0, false);
    g.setCellBackColor(4, 2, Qt::red);
    g.setFixedRows(2);
    g.setCols(2);
    g.clear();
    g.clearRows();
    QCOMPARE(g.rows(), 2);
    QCOMPARE(g.gridModel()->rowCount(), 0);
}

void TestGrid::countsIncludeTheFixedRow()
{
    Grid g;
    QCOMPARE(g.rows(), 1);
    g.setCols(4);
    g.setRows(11);
    QCOMPARE(g.gridModel()->rowCount(), 10);
    QCOMPARE(g.gridModel()->columnCount(), 4);
    g.setTextMatrix(0, 2, QStringLiteral("数量"));
    g.setTextMatrix(1, 2, QStringLiteral("5"));
    QCOMPARE(g.gridModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("数量"));
    QCOMPARE(g.gridModel()->index(0, 2).data().toString(), QStringLiteral("5"));
    g.setRows(0);  // never below the fixed row
    QCOMPARE(g.rows(), 1);
    QCOMPARE(g.textMatrix(0, 2), QStringLiteral("数量"));
}

void TestGrid::textMatrixOutOfRangeReadsEmptyAndIgnoresWrites()
{
    Grid g;
    watch(g);
    fill(g, 2, 2);
    QSignalSpy changed(g.gridModel(), &QAbstractItemModel::dataChanged);
    g.setTextMatrix(3, 0, QStringLiteral("x"));
    g.setTextMatrix(1, 2, QStringLiteral("x"));
    g.setTextMatrix(-1, 0, QStringLiteral("x"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(g.textMatrix(3, 0), QString());
    QCOMPARE(g.textMatrix(1, -1), QString());
    QCOMPARE(g.rows(), 3);
}

void TestGrid::addItemSplitsTabsAndInsertsBeforeRow()
{
    Grid g;
    watch(g);
    g.setCols(3);
    g.addItem(QStringLiteral("A\tB\tC\tdropped"));
    g.addItem(QStringLiteral("X"), 1);
    g.addItem(QStringLiteral("\t\tZ"));
    QCOMPARE(g.rows(), 4);
    QCOMPARE(column(g, 0), (QStringList{QStringLiteral("X"), QStringLiteral("A"), QString()}));
    QCOMPARE(g.textMatrix(2, 2), QStringLiteral("C"));
    QCOMPARE(g.textMatrix(3, 2), QStringLiteral("Z"));
    QCOMPARE(g.textMatrix(1, 1), QString());
}

void TestGrid::removeItemKeepsTheFixedRow()
{
    Grid g;
    watch(g);
    fill(g, 3, 2);
    g.setCellBackColor(3, 1, Qt::blue);
    g.removeItem(0);
    QCOMPARE(g.rows(), 4);
    g.removeItem(2);
    QCOMPARE(column(g, 0), (QStringList{QStringLiteral("1.0"), QStringLiteral("3.0")}));
    QCOMPARE(g.cellBackColor(2, 1), QColor(Qt::blue));  // the colour moved up with its row
    g.removeItem(5);
    QCOMPARE(g.rows(), 3);
}

void TestGrid::loadKeepsHeaderWidthsAndHiddenColumns()
{
    Grid g;
    watch(g);
    fill(g, 3, 4);
    g.setColWidth(1, 1500);
    g.setColWidth(3, 0);
    g.setCellBackColor(0, 2, Qt::yellow);
    g.setCellBackColor(2, 2, Qt::yellow);
    g.load(2, 4, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                  QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g"), QStringLiteral("h")});
    QCOMPARE(g.rows(), 3);
    QCOMPARE(g.textMatrix(0, 1), QStringLiteral("H1"));
    QCOMPARE(g.textMatrix(2, 3), QStringLiteral("h"));
    QCOMPARE(g.colWidth(1), 1500);
    QCOMPARE(g.colWidth(3), 0);
    QVERIFY(g.isColumnHidden(3));
    QCOMPARE(g.cellBackColor(0, 2), QColor(Qt::yellow));  // the header keeps its colour
    QVERIFY(!g.cellBackColor(2, 2).isValid());             // new rows start plain
}

void TestGrid::setColsKeepsTheCells()
{
    Grid g;
    watch(g);
    fill(g, 3, 4);
    g.setCellForeColor(2, 1, Qt::red);
    g.setCols(2);
    QCOMPARE(g.textMatrix(2, 1), QStringLiteral("2.1"));
    g.setCols(5);
    QCOMPARE(g.textMatrix(3, 1), QStringLiteral("3.1"));
    QCOMPARE(g.textMatrix(3, 4), QString());
    QCOMPARE(g.cellForeColor(2, 1), QColor(Qt::red));
    QCOMPARE(g.textMatrix(0, 1), QStringLiteral("H1"));
}

void TestGrid::cellAndRowColoursReachThePainter()
{
    Grid g;
    watch(g);
    fill(g, 3, 3);
    GridModel* m = g.gridModel();
    QVERIFY(!m->index(0, 0).data(Qt::BackgroundRole).isValid());
    g.setCellBackColor(1, 1, Qt::black);  // black is a colour, not the default
    QCOMPARE(m->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::black));
    g.setRowColors(2, QColor(255, 255, 192), QColor(Qt::blue));
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(m->index(1, c).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 192));
        QCOMPARE(m->index(1, c).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    }
    g.setRowColors(2, QColor(), QColor());  // back to the defaults
    QVERIFY(!m->index(1, 0).data(Qt::BackgroundRole).isValid());
    QVERIFY(!g.cellForeColor(2, 2).isValid());
    QCOMPARE(g.cellBackColor(1, 1), QColor(Qt::black));
}

void TestGrid::colourValues_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("none is the default") << qint64(0) << QColor();
    QTest::newRow("red") << qint64(255) << QColor(255, 0, 0);
    QTest::newRow("blue") << qint64(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("selection back") << qint64(0xFFFFC0) << QColor(192, 255, 255);
    QTest::newRow("mixed") << qint64(0x123456) << QColor(0x56, 0x34, 0x12);
}

void TestGrid::colourValues()
{
    QFETCH(qint64, value);
    QFETCH(QColor, color);
    QCOMPARE(Grid::colorFromValue(value), color);
    QCOMPARE(Grid::colorToValue(color), value);
}

void TestGrid::colWidthTwips_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("readBack");
    QTest::newRow("zero hides") << 0 << 0 << 0;
    QTest::newRow("under half a pixel hides") << 7 << 0 << 0;
    QTest::newRow("half a pixel shows") << 8 << 1 << 15;
    QTest::newRow("whole pixels") << 1500 << 100 << 1500;
    QTest::newRow("rounded down") << 1006 << 67 << 1005;
    QTest::newRow("rounded up") << 1013 << 68 << 1020;
}

void TestGrid::colWidthTwips()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QFETCH(int, readBack);
    Grid g;
    fill(g, 2, 3);
    g.setColWidth(1, 0);  // hidden first: a width must show it again
    g.setColWidth(1, twips);
    QCOMPARE(Grid::twipsToPixels(twips), pixels);
    QCOMPARE(g.colWidth(1), readBack);
    QCOMPARE(g.isColumnHidden(1), pixels == 0);
    if (pixels > 0)
        QCOMPARE(g.columnWidth(1), pixels);
    QCOMPARE(g.textMatrix(1, 1), QStringLiteral("1.1"));  // hidden cells keep their text
}

void TestGrid::alignment_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnAlign");
    QTest::addColumn<int>("cellAlign");
    QTest::addColumn<int>("expected");
    const int vc = Qt::AlignVCenter;
    QTest::newRow("general number") << "-12.50" << 0 << 0 << int(Qt::AlignRight | vc);
    QTest::newRow("general text") << "螺丝 M8" << 0 << 0 << int(Qt::AlignLeft | vc);
    QTest::newRow("general empty") << "" << 0 << 0 << int(Qt::AlignLeft | vc);
    QTest::newRow("column centre") << "12" << int(Qt::AlignHCenter) << 0 << int(Qt::AlignHCenter | vc);
    QTest::newRow("cell overrides column") << "x" << int(Qt::AlignRight) << int(Qt::AlignCenter)
                                           << int(Qt::AlignCenter);
}

void TestGrid::alignment()
{
    QFETCH(QString, text);
    QFETCH(int, columnAlign);
    QFETCH(int, cellAlign);
    QFETCH(int, expected);
    Grid g;
    watch(g);
    g.setCols(2);
    g.setRows(3);
    g.setTextMatrix(2, 1, text);
    g.setColAlignment(1, Qt::Alignment(columnAlign));
    g.setCellAlignment(2, 1, Qt::Alignment(cellAlign));
    QCOMPARE(g.gridModel()->index(1, 1).data(Qt::TextAlignmentRole).toInt(), expected);
}

void TestGrid::sort_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QStringList>("sorted");
    const int automatic = int(GridModel::SortKind::Auto);
    const int number = int(GridModel::SortKind::Number);
    const int text = int(GridModel::SortKind::Text);
    // The second column carries the original position, to prove stability.
    QTest::newRow("numbers, not text order")
        << QStringList{"10", "9", "-2.5", "100"} << automatic << true << QStringList{"-2.5", "9", "10", "100"};
    QTest::newRow("numbers descending") << QStringList{"10", "9", "-2.5", "100"} << automatic << false
                                        << QStringList{"100", "10", "9", "-2.5"};
    QTest::newRow("empty cells count 0 among numbers")
        << QStringList{"5", "", "-1", " "} << automatic << true << QStringList{"-1", "", " ", "5"};
    QTest::newRow("one word makes it text") << QStringList{"10", "9", "abc", "100"} << automatic << true
                                            << QStringList{"10", "100", "9", "abc"};
    QTest::newRow("text ignores case, stable") << QStringList{"b", "B", "a", "A"} << automatic << true
                                               << QStringList{"a", "A", "b", "B"};
    QTest::newRow("text descending, stable") << QStringList{"b", "B", "a", "A"} << text << false
                                             << QStringList{"b", "B", "a", "A"};
    QTest::newRow("Chinese by reading") << QStringList{"张三", "李四", "王五"} << automatic << true
                                        << QStringList{"李四", "王五", "张三"};
    QTest::newRow("digits, letters, then Chinese") << QStringList{"螺母", "bolt", "8号", "Axle"} << text << true
                                                   << QStringList{"8号", "Axle", "bolt", "螺母"};
    QTest::newRow("number kind reads leading numbers")
        << QStringList{"12个", "3.5kg", "无", "-1"} << number << true << QStringList{"-1", "无", "3.5kg", "12个"};
    QTest::newRow("equal numbers keep their order")
        << QStringList{"1", "1.0", "01", "0"} << automatic << true << QStringList{"0", "1", "1.0", "01"};
}

void TestGrid::sort()
{
    QFETCH(QStringList, cells);
    QFETCH(int, kind);
    QFETCH(bool, ascending);
    QFETCH(QStringList, sorted);
    Grid g;
    watch(g);
    g.setHeaders({QStringLiteral("值"), QStringLiteral("序")});
    for (int i = 0; i < cells.size(); ++i)
        g.addItem(cells.at(i) + QLatin1Char('\t') + QString::number(i));
    g.sortRows(0, GridModel::SortKind(kind), ascending, 1, g.rows() - 1);
    QCOMPARE(column(g, 0), sorted);
    QCOMPARE(g.textMatrix(0, 0), QStringLiteral("值"));
    // Every row moved whole: its position column still names its own text.
    for (int r = 1; r < g.rows(); ++r)
        QCOMPARE(g.textMatrix(r, 0), cells.at(g.textMatrix(r, 1).toInt()));
    // Equal keys keep their original order.
    for (int r = 2; r < g.rows(); ++r) {
        const QString a = g.textMatrix(r - 1, 0), b = g.textMatrix(r, 0);
        if (QString::compare(a, b, Qt::CaseInsensitive) == 0)
            QVERIFY(g.textMatrix(r - 1, 1).toInt() < g.textMatrix(r, 1).toInt());
    }
}

void TestGrid::sortLeavesTotalsRowAndCarriesColours()
{
    Grid g;
    watch(g);
    g.setHeaders({QStringLiteral("编码"), QStringLiteral("金额")});
    g.addItem(QStringLiteral("A\t30"));
    g.addItem(QStringLiteral("B\t10"));
    g.addItem(QStringLiteral("C\t20"));
    g.addItem(QStringLiteral("合计：\t60"));
    g.setRowBackColor(1, Qt::green);
    g.sortRows(1, GridModel::SortKind::Number, true, 1, g.rows() - 2);
    QCOMPARE(column(g, 0), (QStringList{"B", "C", "A", "合计："}));
    QCOMPARE(g.cellBackColor(3, 0), QColor(Qt::green));
    QVERIFY(!g.cellBackColor(1, 0).isValid());
    g.sortByColumn(0, false);  // no totals row to spare: all data rows move
    QCOMPARE(column(g, 0), (QStringList{"合计：", "C", "B", "A"}));
}

void TestGrid::currentCellMapsToTheView()
{
    Grid g;
    fill(g, 10, 4);
    QCOMPARE(g.row(), 1);  // rows appearing put the current cell on the first data row
    QCOMPARE(g.col(), 0);
    QSignalSpy moved(&g, &Grid::rowColChanged);
    g.setCurrent(5, 2);
    QCOMPARE(g.currentIndex(), g.gridModel()->index(4, 2));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toInt(), 5);
    g.setCurrent(5, 2);
    QCOMPARE(moved.count(), 1);  // no move, no signal
    g.setRowSel(7);
    g.setColSel(3);
    QCOMPARE(g.rowSel(), 7);
    const QModelIndexList selected = g.selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 3 * 2);
    QVERIFY(g.selectionModel()->isSelected(g.gridModel()->index(6, 3)));
    QVERIFY(!g.selectionModel()->isSelected(g.gridModel()->index(7, 3)));
    g.selectRows(2, 3);
    QCOMPARE(g.row(), 2);
    QCOMPARE(g.col(), 0);
    QCOMPARE(g.colSel(), 3);
    QCOMPARE(g.selectionModel()->selectedIndexes().size(), 2 * 4);
    // Code may make the header row current; the view then has no current cell.
    g.setRow(0);
    QCOMPARE(g.row(), 0);
    QVERIFY(!g.currentIndex().isValid());
    g.setText(QStringLiteral("标题"));
    QCOMPARE(g.textMatrix(0, 0), QStringLiteral("标题"));
    // Removing rows under the current cell clamps it to the last row.
    g.setCurrent(10, 1);
    g.removeItem(10);
    QCOMPARE(g.row(), 9);
    QCOMPARE(g.currentIndex(), g.gridModel()->index(8, 1));
}

void TestGrid::settingRowCollapsesTheSelection()
{
    Grid g;
    fill(g, 6, 3);
    g.setCurrent(2, 1);
    g.setRowSel(5);
    g.setColSel(2);
    g.setRow(3);
    QCOMPARE(g.rowSel(), 3);
    QCOMPARE(g.colSel(), 1);
    QCOMPARE(g.selectionModel()->selectedIndexes().size(), 1);
    g.setRowSel(4);
    g.setCol(0);
    QCOMPARE(g.rowSel(), 3);
    QCOMPARE(g.colSel(), 0);
}

void TestGrid::headerClickSelectsTheWholeColumn()
{
    Grid g;
    fill(g, 40, 4);
    g.resize(400, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setTopRow(20);
    QSignalSpy header(&g, &Grid::headerClicked);
    QSignalSpy clicked(&g, &Grid::clicked_);
    QHeaderView* h = g.horizontalHeader();
    const QPoint at(h->sectionViewportPosition(2) + 5, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(header.count(), 1);
    QCOMPARE(header.at(0).at(0).toInt(), 2);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(g.row(), 1);  // from the first data row, not the top visible one
    QCOMPARE(g.rowSel(), g.rows() - 1);
    QCOMPARE(g.col(), 2);
    QCOMPARE(g.colSel(), 2);
    QCOMPARE(g.mouseRow(), 0);
    QCOMPARE(g.mouseCol(), 2);
    QCOMPARE(g.selectionModel()->selectedIndexes().size(), 40);
}

void TestGrid::clickRecordsMouseCellAndMovesCurrent()
{
    Grid g;
    fill(g, 20, 4);
    g.resize(400, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QSignalSpy clicked(&g, &Grid::clicked_);
    QSignalSpy moved(&g, &Grid::rowColChanged);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.cellRect(3, 2).center());
    QCOMPARE(g.mouseRow(), 3);
    QCOMPARE(g.mouseCol(), 2);
    QCOMPARE(g.row(), 3);
    QCOMPARE(g.col(), 2);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 3);
    QCOMPARE(clicked.at(0).at(1).toInt(), 2);
    QCOMPARE(moved.count(), 1);
    // Shift extends the selection from the current cell.
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ShiftModifier, g.cellRect(5, 3).center());
    QCOMPARE(g.row(), 3);
    QCOMPARE(g.rowSel(), 5);
    QCOMPARE(g.colSel(), 3);
    // Below the last row there is no cell.
    g.clearRows();
    g.addItem(QStringLiteral("only"));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(5, g.viewport()->height() - 3));
    QCOMPARE(g.mouseRow(), -1);
    QCOMPARE(g.mouseCol(), -1);
    QCOMPARE(clicked.count(), 2);
}

void TestGrid::doubleClickIsNoSecondClick()
{
    Grid g;
    fill(g, 5, 2);
    g.resize(300, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QSignalSpy clicked(&g, &Grid::clicked_);
    QSignalSpy doubled(&g, &Grid::doubleClicked_);
    const QPoint at = g.cellRect(4, 1).center();
    // What a double click delivers: press, release, press, double click, release.
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.at(0).at(0).toInt(), 4);
    QCOMPARE(doubled.at(0).at(1).toInt(), 1);
    QCOMPARE(clicked.count(), 1);
}

void TestGrid::rightClickReportsDataCellsOnly()
{
    Grid g;
    fill(g, 5, 3);
    g.resize(300, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setCurrent(1, 0);
    QSignalSpy right(&g, &Grid::rightClicked);
    const QPoint at = g.cellRect(4, 2).center();
    QTest::mousePress(g.viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent onCell(QContextMenuEvent::Mouse, at, g.viewport()->mapToGlobal(at));
    QApplication::sendEvent(g.viewport(), &onCell);
    QTest::mouseRelease(g.viewport(), Qt::RightButton, {}, at);
    QCOMPARE(right.count(), 1);
    QCOMPARE(right.at(0).at(0).toInt(), 4);
    QCOMPARE(right.at(0).at(1).toInt(), 2);
    QCOMPARE(g.mouseRow(), 4);
    QCOMPARE(g.row(), 1);  // the popup decides whether the current cell moves
    const QPoint below(5, g.viewport()->height() - 3);
    QContextMenuEvent offCells(QContextMenuEvent::Mouse, below, g.viewport()->mapToGlobal(below));
    QApplication::sendEvent(g.viewport(), &offCells);
    QCOMPARE(right.count(), 1);
    QCOMPARE(g.mouseRow(), -1);
}

void TestGrid::keysMoveAndExtend()
{
    Grid g;
    fill(g, 5, 4);
    g.setColWidth(1, 0);
    g.resize(400, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setFocus();
    g.setCurrent(1, 0);
    QTest::keyClick(&g, Qt::Key_Down);
    QCOMPARE(g.row(), 2);
    QTest::keyClick(&g, Qt::Key_Right);
    QCOMPARE(g.col(), 2);  // the hidden column is stepped over
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(g.row(), 2);
    QCOMPARE(g.rowSel(), 3);
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(g.row(), 5);
    QTest::keyClick(&g, Qt::Key_Down);
    QCOMPARE(g.row(), 5);
    QSignalSpy keys(&g, &Grid::keyPressed);
    QTest::keyClick(&g, Qt::Key_Return);
    QTest::keyClick(&g, Qt::Key_A);
    QCOMPARE(keys.count(), 2);
    QCOMPARE(keys.at(0).at(0).toInt(), int(Qt::Key_Return));
    QCOMPARE(keys.at(1).at(2).toString(), QStringLiteral("a"));
    QCOMPARE(g.row(), 5);  // typing does not search the grid
    g.setCurrent(3, 3);
    QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("3.3"));
}

void TestGrid::redrawOffAnnouncesChangesOnce()
{
    Grid g;
    watch(g);
    fill(g, 100, 5);
    QSignalSpy changed(g.gridModel(), &QAbstractItemModel::dataChanged);
    g.setRedraw(false);
    for (int r = 1; r <= 100; ++r) {
        g.setTextMatrix(r, 4, QString::number(r * 2));
        g.setRowBackColor(r, Qt::cyan);
    }
    g.setCurrent(50, 1);
    QCOMPARE(changed.count(), 0);
    g.setRedraw(true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.textMatrix(100, 4), QStringLiteral("200"));
    QCOMPARE(g.currentIndex(), g.gridModel()->index(49, 1));
    g.setRedraw(false);
    g.setRedraw(true);
    QCOMPARE(changed.count(), 1);  // nothing changed, nothing announced
}

void TestGrid::clearEmptiesTextsAndColours()
{
    Grid g;
    watch(g);
    fill(g, 3, 3);
    g.setColWidth(2, 600);
    g.setColAlignment(1, Qt::AlignRight);
    g.setRowForeColor(2, Qt::red);
    g.setCellAlignment(0, 1, Qt::AlignCenter);
    g.clear();
    QCOMPARE(g.rows(), 4);
    QCOMPARE(g.cols(), 3);
    QCOMPARE(g.textMatrix(0, 0), QString());
    QCOMPARE(g.textMatrix(2, 1), QString());
    QVERIFY(!g.cellForeColor(2, 1).isValid());
    QCOMPARE(g.gridModel()->cellAlignment(0, 1), Qt::Alignment());
    QCOMPARE(g.colAlignment(1), Qt::Alignment(Qt::AlignRight));
    QCOMPARE(g.colWidth(2), 600);
}

void TestGrid::twoFixedRowsAndMergedCaptions()
{
    Grid g;
    watch(g);
    g.setCols(6);
    g.setFixedRows(2);
    g.setRows(4);
    QCOMPARE(g.gridModel()->rowCount(), 2);
    const QStringList groups{" ", " ", "入库", "入库", "出库", "出库"};
    for (int c = 0; c < 6; ++c) {
        g.setTextMatrix(0, c, groups.at(c));
        g.setTextMatrix(1, c, QStringLiteral("列%1").arg(c));
    }
    g.setTextMatrix(2, 0, QStringLiteral("first data"));
    QCOMPARE(g.gridModel()->index(0, 0).data().toString(), QStringLiteral("first data"));
    QCOMPARE(g.row(), 2);
    g.setMergeRow(0, true);
    QCOMPARE(g.gridModel()->mergedSpan(0, 3), std::make_pair(2, 3));
    QCOMPARE(g.gridModel()->mergedSpan(0, 4), std::make_pair(4, 5));
    QCOMPARE(g.gridModel()->mergedSpan(1, 3), std::make_pair(3, 3));  // row 1 does not merge
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QCOMPARE(g.horizontalHeader()->height(), 2 * g.rowHeight());
    QCOMPARE(g.cellRect(0, 1).top(), -2 * g.rowHeight());
    QCOMPARE(g.cellRect(2, 1).top(), 0);
}

void TestGrid::mergedColumnBlanksRepeatsOnly()
{
    Grid g;
    g.setCols(2);
    for (const char* line : {"001\tx", "001\ty", "002\ty", "001\ty"})
        g.addItem(QString::fromLatin1(line));
    g.setMergeCol(0, true);
    const GridModel* m = g.gridModel();
    QVERIFY(!m->mergesWithAbove(1, 0));
    QVERIFY(m->mergesWithAbove(2, 0));
    QVERIFY(!m->mergesWithAbove(3, 0));
    QVERIFY(!m->mergesWithAbove(4, 0));
    QVERIFY(!m->mergesWithAbove(3, 1));  // column 1 does not merge
    QCOMPARE(g.textMatrix(2, 0), QStringLiteral("001"));  // the text stays for export and print
}

void TestGrid::pictureShowsVisibleColumnsAndColours()
{
    Grid g;
    fill(g, 4, 3);
    g.setColWidth(0, 900);
    g.setColWidth(1, 0);
    g.setColWidth(2, 1200);
    g.setRowBackColor(3, QColor(10, 200, 30));
    const QImage picture = g.picture();
    QCOMPARE(picture.width(), 60 + 80);
    QCOMPARE(picture.height(), 5 * g.rowHeight());
    const int y = 3 * g.rowHeight() + 2;
    QCOMPARE(QColor(picture.pixel(1, y)), QColor(10, 200, 30));
    QCOMPARE(QColor(picture.pixel(60 + 78, y)), QColor(10, 200, 30));
    QCOMPARE(QColor(picture.pixel(1, 2 * g.rowHeight() + 2)), g.defaultBackColor());
}

void TestGrid::loadQueryShowsCellsAsTheRecordSetDoes()
{
    QTemporaryDir dir;
    Database db;
    db.create(dir.filePath(QStringLiteral("list.db")));
    db.executeScript(QStringLiteral(
        "CREATE TABLE t (code TEXT, qty REAL, n INTEGER, note TEXT);"
        "INSERT INTO t VALUES ('0012', 3, 7, '螺丝');"
        "INSERT INTO t VALUES ('A', 0.1, -2, NULL);"
        "INSERT INTO t VALUES ('B', 12.345678901234567, 0, '');"
        "INSERT INTO t VALUES (NULL, -0.5, NULL, 'x''y');"
        "INSERT INTO t VALUES ('C', 1e20, 9007199254740993, 'z');"));
    Grid g;
    watch(g);
    g.setHeaders({QStringLiteral("编码")});
    const QString sql = QStringLiteral("SELECT code, qty, n, note FROM t WHERE qty > ? ORDER BY rowid");
    QCOMPARE(g.loadQuery(db, sql, {-1}), 5);
    QCOMPARE(g.cols(), 4);
    QCOMPARE(g.textMatrix(0, 0), QStringLiteral("编码"));
    const RecordSet rs = db.query(sql, {-1});
    for (int r = 0; r < rs.rowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(g.textMatrix(r + 1, c), rs.text(r, c));
    QCOMPARE(g.textMatrix(1, 1), QStringLiteral("3"));
    QCOMPARE(g.textMatrix(2, 1), QStringLiteral("0.1"));
    QCOMPARE(g.textMatrix(1, 0), QStringLiteral("0012"));

    // An empty result leaves the header and no data rows.
    QCOMPARE(g.loadQuery(db, sql, {1e30}), 0);
    QCOMPARE(g.rows(), 1);
}

VX_REGISTER_TEST(TestGrid)
#include "tst_grid.moc"
