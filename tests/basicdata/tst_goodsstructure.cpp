#include "basicdata/Structure.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Loading, counting and storing a product structure.
class TestGoodsStructure : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadJoinsTheParts();
    void assemblable_data();
    void assemblable();
    void lookupPart();
    void backReference();
    void saveReplacesAndKeepsColours();
};

void TestGoodsStructure::loadJoinsTheParts()
{
    FreshAccountSet set;
    GoodsSpec p{QStringLiteral("P1"), QStringLiteral("螺丝")};
    p.cost = 2;
    p.salePrice = 3;
    p.stock = 7;
    AddGoods(set.db(), p);
    set.db().execute(QStringLiteral("UPDATE TA4 SET F5 = 'M3' WHERE F1 = 'P1'"));
    AddBomPart(set.db(), QStringLiteral("X"), QStringLiteral("P1"), 2);
    AddBomPart(set.db(), QStringLiteral("X"), QStringLiteral("GONE"), 1);
    const auto cost = LoadStructure(set.db(), QStringLiteral("X"), PriceBasis::Cost);
    QCOMPARE(cost.size(), 2);
    QCOMPARE(cost[0].part, QStringLiteral("GONE"));
    QCOMPARE(cost[0].nameSpec, QString());
    QCOMPARE(cost[0].stock, 0.0);
    QCOMPARE(cost[1].nameSpec, QStringLiteral("螺丝M3"));
    QCOMPARE(cost[1].amount(), 4.0);
    QCOMPARE(LoadStructure(set.db(), QStringLiteral("X"), PriceBasis::Sale)[1].price, 3.0);
    QCOMPARE(AssemblableCount(cost), qint64(0));  // the missing part has no stock
}

void TestGoodsStructure::assemblable_data()
{
    QTest::addColumn<QList<double>>("stockAndUsage");  // pairs
    QTest::addColumn<qint64>("count");
    QTest::newRow("half to even, down") << QList<double>{5, 2} << qint64(2);
    QTest::newRow("half to even, up") << QList<double>{7, 2} << qint64(4);
    QTest::newRow("usage 0 is the stock") << QList<double>{3, 0} << qint64(3);
    QTest::newRow("negative stock") << QList<double>{-4, 1} << qint64(0);
    QTest::newRow("the smallest line") << QList<double>{10, 1, 9, 3} << qint64(3);
    QTest::newRow("empty structure") << QList<double>{} << qint64(0);
}

void TestGoodsStructure::assemblable()
{
    QFETCH(QList<double>, stockAndUsage);
    QFETCH(qint64, count);
    QVector<StructureLine> lines;
    for (int i = 0; i + 1 < stockAndUsage.size(); i += 2) {
        StructureLine l;
        l.stock = stockAndUsage[i];
        l.usage = stockAndUsage[i + 1];
        lines.append(l);
    }
    QCOMPARE(AssemblableCount(lines), count);
}

void TestGoodsStructure::lookupPart()
{
    FreshAccountSet set;
    GoodsSpec p{QStringLiteral("P1"), QStringLiteral("螺丝")};
    p.cost = 2.345;
    p.stock = 4;
    AddGoods(set.db(), p);
    const auto seen = LookupPart(set.db(), QStringLiteral(" P1 "), true, QStringLiteral("#0.00"));
    QVERIFY(seen);
    QCOMPARE(seen->nameSpec, QStringLiteral("螺丝/"));
    QCOMPARE(seen->usage, 1.0);
    QCOMPARE(seen->price, 2.35);
    QCOMPARE(LookupPart(set.db(), QStringLiteral("P1"), false, QStringLiteral("#0.00"))->price, 0.0);
    QVERIFY(!LookupPart(set.db(), QStringLiteral("P'9"), true, QStringLiteral("#0.00")));
}

void TestGoodsStructure::backReference()
{
    FreshAccountSet set;
    AddBomPart(set.db(), QStringLiteral("X"), QStringLiteral("P"), 1);
    QVERIFY(IsPartOf(set.db(), QStringLiteral("P"), QStringLiteral("X")));
    QVERIFY(!IsPartOf(set.db(), QStringLiteral("X"), QStringLiteral("P")));
}

void TestGoodsStructure::saveReplacesAndKeepsColours()
{
    FreshAccountSet set;
    AddBomPart(set.db(), QStringLiteral("X"), QStringLiteral("OLD"), 1);
    StructureLine a;
    a.part = QStringLiteral("A");
    a.usage = 2;
    a.back = 255;
    StructureLine blank;
    QVERIFY(SaveStructure(set.db(), QStringLiteral("X"), {a, blank}));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Bom")).toInt(), 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT BColor FROM Bom WHERE F1 = 'A'")).toInt(), 255);
    QVERIFY(!SaveStructure(set.db(), QStringLiteral("X"), {}));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Bom")).toInt(), 0);
}

VX_REGISTER_TEST(TestGoodsStructure)
#include "tst_goodsstructure.moc"
