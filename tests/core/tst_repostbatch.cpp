#include "LedgerScript.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Running stock per goods and attribute value, and the in/out quantities and
// stocktaking differences it keeps in line.
class TestRepostBatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walk_data();
    void walk();
    void lineWithoutQuantityStopsAndChangesNothing();
    void codeAndValueWithApostrophes();
};

namespace {
constexpr int FromStart = -1;
constexpr int FromAbove = -2;
}  // namespace

void TestRepostBatch::walk_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("fixup");  // SQL run before the walk
    QTest::addColumn<QString>("batch");
    QTest::addColumn<int>("from");  // index of the move whose key starts the walk
    QTest::addColumn<QStringList>("checks");

    QTest::newRow("receipts and issues")
        << QStringList{"I G1 10 1 @A", "O G1 4 1 @A", "I G1 5 1 @A"} << "" << "A" << FromStart
        << QStringList{"0 XS6=0 XK6=10", "1 XS6=10 XK6=6 C6=4", "2 XS6=6 XK6=11"};
    QTest::newRow("walk from a line starts from the stock before it")
        << QStringList{"I G1 10 1 @A", "O G1 4 1 @A", "I G1 5 1 @A"} << "" << "A" << 1
        << QStringList{"0 XS6=0 XK6=0", "1 XS6=10 XK6=6", "2 XS6=6 XK6=11"};
    QTest::newRow("stocktaking deficit measured at its place")
        << QStringList{"I G1 11 1 @A", "T G1 8 12 @A", "I G1 1 1 @A"} << "" << "A" << FromStart
        << QStringList{"1 XS6=11 Z5=11 F5=8 F6=-3 C6=3 R6=0 XK6=8", "2 XS6=8 XK6=9"};
    QTest::newRow("stocktaking surplus measured at its place")
        << QStringList{"I G1 11 1 @A", "T G1 15 12 @A"} << "" << "A" << FromStart
        << QStringList{"1 Z5=11 F6=4 R6=4 C6=0 XK6=15"};
    QTest::newRow("negative counted quantity")
        << QStringList{"I G1 11 1 @A", "T G1 -8 12 @A"} << "" << "A" << FromStart
        << QStringList{"1 F5=8 Z5=11 F6=-3 C6=3 R6=0 XK6=8"};
    QTest::newRow("second stocktaking starts from the first count")
        << QStringList{"I G1 11 1 @A", "T G1 8 12 @A", "T G1 10 5 @A"} << "" << "A" << FromStart
        << QStringList{"2 XS6=8 Z5=8 F6=2 R6=2 C6=0 XK6=10"};
    QTest::newRow("issue with the out quantity of the wrong sign")
        << QStringList{"I G1 10 1 @A", "O G1 4 1 @A"} << "UPDATE TB11 SET C6 = -4 WHERE F0 = 'L002'" << "A"
        << FromStart << QStringList{"1 C6=4 XS6=10 XK6=6"};
    QTest::newRow("return to stock")
        << QStringList{"I G1 10 1 @A", "B G1 3 1 @A"} << "UPDATE TB11 SET C6 = 3 WHERE F0 = 'L002'" << "A"
        << FromStart << QStringList{"1 C6=-3 XS6=10 XK6=13"};
    QTest::newRow("return to supplier")
        << QStringList{"I G1 10 1 @A", "S G1 2 10 @A"} << "UPDATE TB11 SET R6 = 0, R8 = 0 WHERE F0 = 'L002'"
        << "A" << FromStart << QStringList{"1 R6=-2 R8=-20 XS6=10 XK6=8"};
    QTest::newRow("from a key above every line nothing changes")
        << QStringList{"I G1 10 1 @A", "O G1 4 1 @A"} << "" << "A" << FromAbove
        << QStringList{"0 XS6=0 XK6=0", "1 XS6=0 XK6=0"};
    QTest::newRow("other attribute values are not touched")
        << QStringList{"I G1 10 1 @A", "I G1 5 1 @B", "O G1 2 1 @A"} << "" << "A" << FromStart
        << QStringList{"1 XS6=0 XK6=0", "2 XS6=10 XK6=8"};
    QTest::newRow("an unposted line is left out")
        << QStringList{"I G1 10 1 @A", "- I G1 5 1 @A", "O G1 2 1 @A"} << "" << "A" << FromStart
        << QStringList{"1 XS6=0 XK6=0", "2 XS6=10 XK6=8"};
    QTest::newRow("the empty value is a value of its own")
        << QStringList{"I G1 10 1", "I G1 5 1 @A", "O G1 3 1"} << "" << "" << FromStart
        << QStringList{"1 XS6=0 XK6=0", "2 XS6=10 XK6=7"};
    QTest::newRow("values compared without regard to case")
        << QStringList{"I G1 10 1 @a", "O G1 4 1 @A"} << "" << "A" << FromStart
        << QStringList{"1 XS6=10 XK6=6"};
}

void TestRepostBatch::walk()
{
    QFETCH(QStringList, moves);
    QFETCH(QString, fixup);
    QFETCH(QString, batch);
    QFETCH(int, from);
    QFETCH(QStringList, checks);

    FreshAccountSet set;
    Database& db = set.db();
    const QStringList keys = BuildLedger(db, moves);
    if (!fixup.isEmpty())
        db.execute(fixup);
    const QString fromKey = from == FromStart ? QString() : from == FromAbove ? QStringLiteral("S9") : keys[from];
    RepostBatch(db, QStringLiteral("G1"), batch, fromKey);
    for (const QString& check : checks) {
        const int i = check.section(QLatin1Char(' '), 0, 0).toInt();
        const QString line = keys[i].isEmpty() ? LedgerDoc(i) : keys[i];
        QCOMPARE(CheckLine(db, line, check.section(QLatin1Char(' '), 1)), QString());
    }
}

void TestRepostBatch::lineWithoutQuantityStopsAndChangesNothing()
{
    FreshAccountSet set;
    Database& db = set.db();
    BuildLedger(db, {QStringLiteral("I G1 10 1 @A"), QStringLiteral("O G1 4 1 @A"), QStringLiteral("I G1 5 1 @A")});
    db.execute(QStringLiteral("UPDATE TB11 SET F6 = NULL WHERE F0 = 'L003'"));
    const RecordSet before = db.query(QStringLiteral("SELECT * FROM TB11 ORDER BY rowid"));
    try {
        RepostBatch(db, QStringLiteral("G1"), QStringLiteral("A"), QString());
        QFAIL("a line without quantity must stop the walk");
    } catch (const DbError& e) {
        QVERIFY(e.description().contains(QStringLiteral("L003")));
    }
    const RecordSet after = db.query(QStringLiteral("SELECT * FROM TB11 ORDER BY rowid"));
    for (int r = 0; r < before.rowCount(); ++r)
        for (int c = 0; c < before.columnCount(); ++c)
            QCOMPARE(after.value(r, c), before.value(r, c));
}

void TestRepostBatch::codeAndValueWithApostrophes()
{
    FreshAccountSet set;
    const QStringList keys = BuildLedger(set.db(), {QStringLiteral("I O'Neil 10 1 @A'1"), QStringLiteral("O O'Neil 4 1 @A'1")});
    RepostBatch(set.db(), QStringLiteral("O'Neil"), QStringLiteral("A'1"), QString());
    QCOMPARE(CheckLine(set.db(), keys[1], QStringLiteral("XS6=10 XK6=6")), QString());
    RepostBatch(set.db(), QStringLiteral("O'Neil"), QStringLiteral("A'1"), keys[1]);
    QCOMPARE(CheckLine(set.db(), keys[1], QStringLiteral("XS6=10 XK6=6")), QString());
}

VX_REGISTER_TEST(TestRepostBatch)
#include "tst_repostbatch.moc"
