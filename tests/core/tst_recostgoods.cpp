#include "LedgerScript.h"
#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Re-costing one goods over its posted lines: running figures, cost of the
// out side, and the goods' totals.
class TestRecostGoods : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walk_data();
    void walk();
    void fromKeyAboveEveryLine();
    void emptyWalkKeepsThePassedPrice();
    void walkFromALaterKeyStartsFromTheFiguresBefore();
    void entryFigures_data();
    void entryFigures();
    void failureLeavesEveryFigureAsItWas();
    void codeWithApostrophe();
};

namespace {

PostingRules rules(const QString& priceFormat = QStringLiteral("#0.00"))
{
    PostingRules r;
    r.priceFormat = priceFormat;
    r.amountFormat = QStringLiteral("#0.00");
    return r;
}

QString goodsTotals(const Database& db, const QString& goods)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F8, F7, Fje FROM TA4 WHERE F1 = ?"), {goods});
    return QStringLiteral("%1 %2 %3").arg(FigureText(rs.value(0, 0)), FigureText(rs.value(0, 1)),
                                          FigureText(rs.value(0, 2)));
}

}  // namespace

void TestRecostGoods::walk_data()
{
    QTest::addColumn<QString>("opening");  // V3 V4 V5 of G1
    QTest::addColumn<QString>("priceFormat");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QStringList>("checks");  // "<move index> COL=value ..."
    QTest::addColumn<QString>("answer");

    const QString p2 = QStringLiteral("#0.00");
    QTest::newRow("receipt enters at its own amount")
        << "10 10 100" << p2 << QStringList{"I G1 10 12"}
        << QStringList{"0 S6=10 S7=10 S8=100 K6=20 K7=11 K8=220"} << "20&220";
    QTest::newRow("issues keep the out price fixed after a receipt")
        << "" << p2 << QStringList{"I G1 3 10", "I G1 3 10.01", "O G1 2 50", "O G1 2 50"}
        << QStringList{"1 K6=6 K7=10.01 K8=60.03", "2 S7=10.01 C7=10.01 C8=20.02 K6=4 K7=10 K8=40.01",
                       "3 S7=10 C7=10.01 C8=20.02 K6=2 K7=10 K8=19.99 F7=50 F8=-100"}
        << "2&19.99";
    QTest::newRow("issue down to nothing takes the whole amount")
        << "" << p2 << QStringList{"I G1 3 10", "I G1 3 10.01", "O G1 6 50"}
        << QStringList{"2 C7=10.01 C8=60.03 K6=0 K7=10.01 K8=0"} << "0&0";
    QTest::newRow("quantity rounded to eight decimals")
        << "2.123456789 10 21.23" << p2 << QStringList{"I G1 1 10"}
        << QStringList{"0 S6=2.12345679 S7=10 S8=21.23 K6=3.12345679 K7=10 K8=31.23"} << "3.12345679&31.23";
    QTest::newRow("stocktaking surplus at the running price")
        << "" << p2 << QStringList{"I G1 4 5", "T G1 6 4"}
        << QStringList{"1 R7=5 R8=10 F7=5 F8=10 C7=0 C8=0 K6=6 K7=5 K8=30"} << "6&30";
    QTest::newRow("stocktaking deficit at the running price")
        << "" << p2 << QStringList{"I G1 4 5", "T G1 2 4"}
        << QStringList{"1 C7=5 C8=10 F7=5 F8=-10 R8=0 K6=2 K7=5 K8=10"} << "2&10";
    QTest::newRow("department issue re-priced at cost, sale keeps its price")
        << "" << p2 << QStringList{"I G1 10 4", "O G1 2 9", "D G1 2"}
        << QStringList{"1 C7=4 C8=8 F7=9 F8=-18 K6=8 K8=32", "2 C7=4 C8=8 F7=4 F8=-8 K6=6 K7=4 K8=24"} << "6&24";
    QTest::newRow("return to supplier leaves at its own amount")
        << "" << p2 << QStringList{"I G1 10 4", "S G1 2 7"}
        << QStringList{"1 K6=8 K7=3.25 K8=26"} << "8&26";
    QTest::newRow("customer return comes back at the out price")
        << "" << p2 << QStringList{"I G1 10 4", "O G1 4 9", "B G1 1 9"}
        << QStringList{"2 C7=4 C8=-4 F7=9 F8=9 K6=7 K7=4 K8=28"} << "7&28";
    QTest::newRow("department return comes back at cost")
        << "" << p2 << QStringList{"I G1 10 4", "D G1 4", "E G1 1"}
        << QStringList{"2 C7=4 C8=-4 F7=4 F8=4 K6=7 K8=28"} << "7&28";
    QTest::newRow("negative stock keeps a positive price")
        << "0 7 0" << p2 << QStringList{"O G1 2 9"}
        << QStringList{"0 S7=7 C7=7 C8=14 K6=-2 K7=7 K8=-14"} << "-2&-14";
    QTest::newRow("an unposted line is left out")
        << "" << p2 << QStringList{"I G1 10 4", "- I G1 5 100", "O G1 2 9"}
        << QStringList{"1 S6=0 K6=0", "2 S6=10 S8=40 K6=8 K7=4 K8=32"} << "8&32";
    QTest::newRow("four price decimals")
        << "" << "#0.0000" << QStringList{"I G1 3 10", "I G1 3 10.01", "O G1 2 50"}
        << QStringList{"1 K7=10.005", "2 C7=10.005 C8=20.01 K8=40.02 K7=10.005"} << "4&40.02";
}

void TestRecostGoods::walk()
{
    QFETCH(QString, opening);
    QFETCH(QString, priceFormat);
    QFETCH(QStringList, moves);
    QFETCH(QStringList, checks);
    QFETCH(QString, answer);

    FreshAccountSet set;
    Database& db = set.db();
    if (!opening.isEmpty()) {
        const QStringList o = opening.split(QLatin1Char(' '));
        GoodsSpec g{QStringLiteral("G1"), QStringLiteral("货品一")};
        g.openingQty = o[0].toDouble();
        g.openingPrice = o[1].toDouble();
        g.openingAmount = o[2].toDouble();
        AddGoods(db, g);
    }
    const QStringList keys = BuildLedger(db, moves);

    RunningFigures f = RunningFiguresBefore(db, QStringLiteral("G1"), QString());
    QCOMPARE(RecostGoods(db, rules(priceFormat), QStringLiteral("G1"), f.qty, f.price, f.amount, QString(), f.outPrice),
             answer);
    for (const QString& check : checks) {
        const int i = check.section(QLatin1Char(' '), 0, 0).toInt();
        const QString line = keys[i].isEmpty() ? LedgerDoc(i) : keys[i];
        QCOMPARE(CheckLine(db, line, check.section(QLatin1Char(' '), 1)), QString());
    }
    // The goods keeps the figures after its last posted line.
    const QString totals = goodsTotals(db, QStringLiteral("G1"));
    QCOMPARE(totals.section(QLatin1Char(' '), 0, 0), answer.section(QLatin1Char('&'), 0, 0));
    QCOMPARE(totals.section(QLatin1Char(' '), 2, 2), answer.section(QLatin1Char('&'), 1, 1));
    QCOMPARE(GeneralNumberText(f.qty) + QLatin1Char('&') + GeneralNumberText(f.amount), answer);
}

void TestRecostGoods::fromKeyAboveEveryLine()
{
    FreshAccountSet set;
    const QStringList keys = BuildLedger(set.db(), {QStringLiteral("I G1 10 4")});
    double qty = 4, price = 99, amount = 10.005, outPrice = 0;
    QCOMPARE(RecostGoods(set.db(), rules(), QStringLiteral("G1"), qty, price, amount, QStringLiteral("S9"), outPrice),
             QStringLiteral("4&10.01"));
    // 10.005 is rounded as the decimal it shows, half away from zero.
    QCOMPARE(amount, 10.01);
    QCOMPARE(price, 2.5);
    QCOMPARE(goodsTotals(set.db(), QStringLiteral("G1")), QStringLiteral("4 2.5 10.01"));
    QCOMPARE(CheckLine(set.db(), keys[0], QStringLiteral("S6=0 K6=0 K8=0")), QString());
}

void TestRecostGoods::emptyWalkKeepsThePassedPrice()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("G9"), QStringLiteral("无单据")});
    double qty = 0, price = 3.14159, amount = 0, outPrice = 2.345;
    QCOMPARE(RecostGoods(set.db(), rules(), QStringLiteral("G9"), qty, price, amount, QString(), outPrice),
             QStringLiteral("0&0"));
    QCOMPARE(price, 3.14);
    QCOMPARE(outPrice, 2.35);
    QCOMPARE(goodsTotals(set.db(), QStringLiteral("G9")), QStringLiteral("0 3.14 0"));
}

void TestRecostGoods::walkFromALaterKeyStartsFromTheFiguresBefore()
{
    FreshAccountSet set;
    Database& db = set.db();
    const QStringList keys = BuildLedger(db, {QStringLiteral("I G1 10 4"), QStringLiteral("O G1 4 9"),
                                              QStringLiteral("O G1 2 9"), QStringLiteral("I G1 4 7")});
    RunningFigures all = RunningFiguresBefore(db, QStringLiteral("G1"), QString());
    RecostGoods(db, rules(), QStringLiteral("G1"), all.qty, all.price, all.amount, QString(), all.outPrice);
    const RecordSet whole = db.query(QStringLiteral("SELECT * FROM TB11 ORDER BY rowid"));

    // Spoil the figures from the third line on, then walk from there only.
    db.execute(QStringLiteral("UPDATE TB11 SET S6 = 0, S8 = 0, K6 = 0, K7 = 0, K8 = 0, C7 = 0, C8 = 0 WHERE SRT >= ?"),
               {keys[2]});
    RunningFigures f = RunningFiguresBefore(db, QStringLiteral("G1"), keys[2]);
    QCOMPARE(f.qty, 6.0);
    QCOMPARE(f.outPrice, 4.0);  // the issue before carries its out price on
    RecostGoods(db, rules(), QStringLiteral("G1"), f.qty, f.price, f.amount, keys[2], f.outPrice);
    const RecordSet again = db.query(QStringLiteral("SELECT * FROM TB11 ORDER BY rowid"));
    for (int r = 0; r < whole.rowCount(); ++r)
        for (int c = 0; c < whole.columnCount(); ++c)
            QCOMPARE(again.value(r, c), whole.value(r, c));
}

void TestRecostGoods::entryFigures_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<bool>("goodsExists");
    QTest::addColumn<int>("beforeMove");  // walk from this move's key; -1: from ""
    QTest::addColumn<QString>("expected");  // qty price amount outPrice

    QTest::newRow("opening figures without an earlier line") << QStringList{} << true << -1 << "3 4 12 0";
    QTest::newRow("zeros without a goods row") << QStringList{} << false << -1 << "0 0 0 0";
    QTest::newRow("after a receipt: no out price")
        << QStringList{"I G1 10 4", "O G1 2 9"} << true << 1 << "13 4 52 0";
    QTest::newRow("after an issue: its out price")
        << QStringList{"I G1 10 4", "O G1 2 9", "I G1 1 4"} << true << 2 << "11 4 44 4";
    QTest::newRow("an unposted line is not the line before")
        << QStringList{"I G1 10 4", "- O G1 2 9", "I G1 1 4"} << true << 2 << "13 4 52 0";
}

void TestRecostGoods::entryFigures()
{
    QFETCH(QStringList, moves);
    QFETCH(bool, goodsExists);
    QFETCH(int, beforeMove);
    QFETCH(QString, expected);

    FreshAccountSet set;
    Database& db = set.db();
    if (goodsExists) {
        GoodsSpec g{QStringLiteral("G1"), QStringLiteral("货品一")};
        g.openingQty = 3;
        g.openingPrice = 4;
        g.openingAmount = 12;
        AddGoods(db, g);
    }
    const QStringList keys = BuildLedger(db, moves);
    RunningFigures all = RunningFiguresBefore(db, QStringLiteral("G1"), QString());
    RecostGoods(db, rules(), QStringLiteral("G1"), all.qty, all.price, all.amount, QString(), all.outPrice);

    const RunningFigures f =
        RunningFiguresBefore(db, QStringLiteral("G1"), beforeMove < 0 ? QString() : keys[beforeMove]);
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(GeneralNumberText(f.qty), GeneralNumberText(f.price), GeneralNumberText(f.amount),
                      GeneralNumberText(f.outPrice)),
             expected);
}

void TestRecostGoods::failureLeavesEveryFigureAsItWas()
{
    FreshAccountSet set;
    Database& db = set.db();
    BuildLedger(db, {QStringLiteral("I G1 10 4"), QStringLiteral("O G1 2 9"), QStringLiteral("O G1 3 9")});
    const RecordSet lines = db.query(QStringLiteral("SELECT * FROM TB11 ORDER BY rowid"));
    const RecordSet goods = db.query(QStringLiteral("SELECT * FROM TA4 ORDER BY rowid"));
    db.execute(QStringLiteral("CREATE TRIGGER boom BEFORE UPDATE OF K6 ON TB11 WHEN NEW.F0 = 'L003' "
                              "BEGIN SELECT RAISE(ABORT, 'injected'); END"));

    double qty = 0, price = 0, amount = 0, outPrice = 0;
    QVERIFY_THROWS_EXCEPTION(DbError, RecostGoods(db, rules(), QStringLiteral("G1"), qty, price, amount, QString(),
                                                  outPrice));
    QVERIFY(!db.inTransaction());
    const RecordSet linesAfter = db.query(QStringLiteral("SELECT * FROM TB11 ORDER BY rowid"));
    const RecordSet goodsAfter = db.query(QStringLiteral("SELECT * FROM TA4 ORDER BY rowid"));
    for (int r = 0; r < lines.rowCount(); ++r)
        for (int c = 0; c < lines.columnCount(); ++c)
            QCOMPARE(linesAfter.value(r, c), lines.value(r, c));
    for (int r = 0; r < goods.rowCount(); ++r)
        for (int c = 0; c < goods.columnCount(); ++c)
            QCOMPARE(goodsAfter.value(r, c), goods.value(r, c));
}

void TestRecostGoods::codeWithApostrophe()
{
    FreshAccountSet set;
    const QStringList keys = BuildLedger(set.db(), {QStringLiteral("I O'Neil 10 4"), QStringLiteral("O O'Neil 4 9")});
    RunningFigures f = RunningFiguresBefore(set.db(), QStringLiteral("O'Neil"), QString());
    QCOMPARE(RecostGoods(set.db(), rules(), QStringLiteral("O'Neil"), f.qty, f.price, f.amount, QString(), f.outPrice),
             QStringLiteral("6&24"));
    QCOMPARE(CheckLine(set.db(), keys[1], QStringLiteral("C7=4 C8=16 K6=6 K8=24")), QString());
    QCOMPARE(goodsTotals(set.db(), QStringLiteral("O'Neil")), QStringLiteral("6 4 24"));
}

VX_REGISTER_TEST(TestRecostGoods)
#include "tst_recostgoods.moc"
