#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Material cost of a product from its structure and its parts' costs.
class TestBomCostSum : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cost_data();
    void cost();
};

void TestBomCostSum::cost_data()
{
    QTest::addColumn<QStringList>("parts");     // "product part usage"
    QTest::addColumn<QStringList>("costs");     // "goods cost"
    QTest::addColumn<QString>("product");
    QTest::addColumn<double>("expected");

    const QStringList costs{"P1 3.5", "P2 10"};
    QTest::newRow("usage times cost") << QStringList{"X P1 2", "X P2 1"} << costs << "X" << 17.0;
    QTest::newRow("no structure") << QStringList{"Y P1 2"} << costs << "X" << 0.0;
    QTest::newRow("a part without goods row adds nothing")
        << QStringList{"X P1 2", "X PZ 5"} << costs << "X" << 7.0;
    QTest::newRow("codes with apostrophes") << QStringList{"X'1 P'1 3"} << QStringList{"P'1 1.5"} << "X'1" << 4.5;
}

void TestBomCostSum::cost()
{
    QFETCH(QStringList, parts);
    QFETCH(QStringList, costs);
    QFETCH(QString, product);
    QFETCH(double, expected);

    FreshAccountSet set;
    for (const QString& c : costs) {
        GoodsSpec g{c.section(QLatin1Char(' '), 0, 0), QStringLiteral("零件")};
        g.cost = c.section(QLatin1Char(' '), 1, 1).toDouble();
        AddGoods(set.db(), g);
    }
    for (const QString& p : parts)
        AddBomPart(set.db(), p.section(QLatin1Char(' '), 0, 0), p.section(QLatin1Char(' '), 1, 1),
                   p.section(QLatin1Char(' '), 2, 2).toDouble());
    QCOMPARE(BomCostSum(set.db(), product), expected);
}

VX_REGISTER_TEST(TestBomCostSum)
#include "tst_bomcostsum.moc"
