#include "basicdata/GoodsList.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The goods window's list: columns, formats, joins and the class filter.
class TestGoodsList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void columnsAndFormats();
    void selection_data();
    void selection();
    void gridHeaderAndColours();
    void queryAnswerKeepsTheClassFilter();
    void chooserItems();
};

namespace {

QStringList codes(const GoodsListRows& r)
{
    QStringList out;
    for (int i = 0; i < r.rows; ++i)
        out << r.cells[size_t(i) * GoodsListColumns];
    return out;
}

void fill(Database& db)
{
    GoodsSpec a{QStringLiteral("A"), QStringLiteral("甲")};
    a.cost = 2.5;
    a.salePrice = 3;
    a.stock = 4;
    a.openingAmount = 10;
    AddGoods(db, a);
    GoodsSpec b{QStringLiteral("B"), QStringLiteral("乙")};
    b.goodsClass = GoodsClass::Product;
    AddGoods(db, b);
    GoodsSpec c{QStringLiteral("C"), QStringLiteral("丙")};
    c.category = QStringLiteral("GONE");
    AddGoods(db, c);
    db.execute(QStringLiteral("UPDATE TA4 SET F5 = 'M3', HW = 'x''y', Gys = 'S1', BColor = 255 WHERE F1 = 'A'"));
}

}  // namespace

void TestGoodsList::columnsAndFormats()
{
    FreshAccountSet set;
    fill(set.db());
    const GoodsListRows r = ReadGoodsList(set.db(), GoodsListQuery{}, QStringLiteral("#0.00"), QStringLiteral("#0.000"));
    QCOMPARE(r.rows, 2);
    const QString* a = r.cells.data();
    QCOMPARE(a[0], QStringLiteral("A"));
    QCOMPARE(a[2], QStringLiteral("M3"));
    QCOMPARE(a[3], QStringLiteral("无类别"));
    QCOMPARE(a[4], QStringLiteral("个"));
    QCOMPARE(a[5], QStringLiteral("2.50"));
    QCOMPARE(a[7], QStringLiteral("000"));
    QCOMPARE(a[8], QStringLiteral("3.00"));
    QCOMPARE(a[13], QStringLiteral("10.000"));
    QCOMPARE(a[14], QStringLiteral("4"));
    QCOMPARE(a[15], QStringLiteral("x'y"));
    QCOMPARE(a[16], QStringLiteral("S1"));
    QCOMPARE(r.colours.size(), size_t(1));
    QCOMPARE(r.colours[0].back, qint64(255));
}

void TestGoodsList::selection_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<bool>("inner");
    QTest::addColumn<int>("goodsClass");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("load lists goods with a category") << "" << true << -1 << QStringList{"A", "B"};
    QTest::newRow("a query finds the others too") << "" << false << -1 << QStringList{"A", "B", "C"};
    QTest::newRow("parts file") << "" << false << 0 << QStringList{"A", "C"};
    QTest::newRow("an 'or' cannot escape the class") << "TA4.F1 = 'B' or 1 = 1" << false << 0 << QStringList{"A", "C"};
}

void TestGoodsList::selection()
{
    QFETCH(QString, condition);
    QFETCH(bool, inner);
    QFETCH(int, goodsClass);
    QFETCH(QStringList, expected);
    FreshAccountSet set;
    fill(set.db());
    GoodsListQuery q;
    q.condition = condition;
    q.innerJoin = inner;
    q.goodsClass = goodsClass;
    QCOMPARE(codes(ReadGoodsList(set.db(), q, QStringLiteral("#0.00"), QStringLiteral("#0.00"))), expected);
}

void TestGoodsList::gridHeaderAndColours()
{
    FreshAccountSet set;
    fill(set.db());
    Grid grid;
    SetGoodsListHeader(&grid, QStringLiteral("零件"), QStringLiteral("颜色"));
    QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("零件编码"));
    QCOMPARE(grid.textMatrix(0, 15), QStringLiteral("颜色"));
    QCOMPARE(grid.colWidth(7), 0);
    QCOMPARE(grid.rows(), 2);
    FillGoodsGrid(&grid, ReadGoodsList(set.db(), GoodsListQuery{}, QStringLiteral("#0.00"), QStringLiteral("#0.00")));
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.cellBackColor(1, 14), Grid::colorFromValue(255));
    QVERIFY(!grid.cellBackColor(1, 15).isValid());
    QVERIFY(!grid.cellBackColor(2, 0).isValid());
    QCOMPARE(GoodsListRowCells(&grid, 1).value(15), QStringLiteral("x'y"));
    QCOMPARE(GoodsListSortKind(1), GoodsSortKind::Text);
    QCOMPARE(GoodsListSortKind(14), GoodsSortKind::Number);
    QCOMPARE(GoodsListSortKind(7), GoodsSortKind::None);
}

void TestGoodsList::queryAnswerKeepsTheClassFilter()
{
    FreshAccountSet set;
    fill(set.db());
    const QString head = GoodsListHead() + QStringLiteral("LEFT JOIN TA3 ON TA4.F3 = TA3.F1 ");
    QCOMPARE(GoodsQueryStatement(head, 1), head + QStringLiteral(" Where TA4.Fcplj = 1 ORDER BY TA4.F1"));
    const QString answer = head + QStringLiteral(" Where (TA4.F1 = 'A' Or TA4.F1 = 'C')");
    QCOMPARE(codes(ReadGoodsListStatement(set.db(), GoodsQueryStatement(answer, 0), {}, "#0.00", "#0.00")),
             (QStringList{"A", "C"}));
    QCOMPARE(codes(ReadGoodsListStatement(set.db(), GoodsQueryStatement(answer, 1), {}, "#0.00", "#0.00")), QStringList{});
    QCOMPARE(codes(ReadGoodsListStatement(set.db(), GoodsQueryStatement(head, -1), {}, "#0.00", "#0.00")),
             (QStringList{"A", "B", "C"}));
}

void TestGoodsList::chooserItems()
{
    FreshAccountSet set;
    Database& db = set.db();
    db.execute(QStringLiteral("DELETE FROM TA3"));
    db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('02 ', '电器'), ('01', ' 五金')"));
    QCOMPARE(GoodsCategoryItems(db), (QStringList{QStringLiteral("01.五金"), QStringLiteral("02.电器")}));
    // No goods has a unit yet: six common ones are offered.
    GoodsSpec none{QStringLiteral("A"), QStringLiteral("甲")};
    none.unit.clear();
    AddGoods(db, none);
    QCOMPARE(GoodsUnitItems(db), (QStringList{QStringLiteral("PCS"), QStringLiteral("个"), QStringLiteral("支"),
                                              QStringLiteral("件"), QStringLiteral("Kg"), QStringLiteral("箱")}));
    // Once one has a unit, only the units in use.
    GoodsSpec box{QStringLiteral("B"), QStringLiteral("乙")};
    box.unit = QStringLiteral("盒");
    AddGoods(db, box);
    QCOMPARE(GoodsUnitItems(db), QStringList{QStringLiteral("盒")});
}

VX_REGISTER_TEST(TestGoodsList)
#include "tst_goodslist.moc"
