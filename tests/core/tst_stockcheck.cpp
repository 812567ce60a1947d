#include "LedgerScript.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QTest>

// The stock check of an issue against the stock on the document's date.
class TestStockCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void check_data();
    void check();
};

void TestStockCheck::check_data()
{
    QTest::addColumn<int>("noOverIssue");
    QTest::addColumn<QString>("attributeName");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("goods");
    QTest::addColumn<double>("qty");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("batch");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("batchAfter");

    const QDate d13(2024, 5, 13);
    const QString batchNo = QStringLiteral("批号");
    const QString short5 = QStringLiteral("日期：2024-05-13　货品：G1  库存数量不足！\n\n当天库存量：5");
    QTest::newRow("nothing to issue") << 1 << batchNo << QStringList{} << "G1" << 0.0 << d13 << "A" << true << ""
                                      << "A";
    QTest::newRow("issuing beyond stock allowed")
        << 0 << QString() << QStringList{"I G1 1 1"} << "G1" << 5.0 << d13 << "A" << true << "" << "A";
    QTest::newRow("stock covers the issue")
        << 1 << QString() << QStringList{"I G1 5 1"} << "G1" << 5.0 << d13 << "A" << true << "" << "";
    QTest::newRow("shortage") << 1 << QString() << QStringList{"I G1 5 1"} << "G1" << 5.5 << d13 << "" << false
                              << short5 << "";
    QTest::newRow("lines of the same day count whatever their keys")
        << 1 << QString() << QStringList{"I G1 5 1", "I G1 3 1"} << "G1" << 8.0 << d13 << "" << true << "" << "";
    QTest::newRow("lines of the next day do not count")
        << 1 << QString() << QStringList{"I G1 5 1", "I G1 3 1 d=2024-05-14"} << "G1" << 6.0 << d13 << "" << false
        << short5 << "";
    QTest::newRow("issues dated later are not looked at")
        << 1 << QString() << QStringList{"I G1 5 1", "O G1 5 1 d=2024-05-14"} << "G1" << 5.0 << d13 << "" << true
        << "" << "";
    QTest::newRow("an unposted line does not count")
        << 1 << QString() << QStringList{"I G1 5 1", "- I G1 3 1"} << "G1" << 6.0 << d13 << "" << false << short5
        << "";
    QTest::newRow("stock of the attribute value")
        << 1 << batchNo << QStringList{"I G1 5 1 @A", "I G1 5 1 @B"} << "G1" << 6.0 << d13 << "A" << false << short5
        << "A";
    QTest::newRow("without an attribute the values add up")
        << 1 << QString() << QStringList{"I G1 5 1 @A", "I G1 5 1 @B"} << "G1" << 10.0 << d13 << "A" << true << ""
        << "";
    QTest::newRow("code and value with apostrophes")
        << 1 << batchNo << QStringList{"I O'Neil 5 1 @A'1"} << "O'Neil" << 5.0 << d13 << "A'1" << true << ""
        << "A'1";
}

void TestStockCheck::check()
{
    QFETCH(int, noOverIssue);
    QFETCH(QString, attributeName);
    QFETCH(QStringList, moves);
    QFETCH(QString, goods);
    QFETCH(double, qty);
    QFETCH(QDate, date);
    QFETCH(QString, batch);
    QFETCH(bool, allowed);
    QFETCH(QString, message);
    QFETCH(QString, batchAfter);

    FreshAccountSet set;
    set.app().NoOverIssue = noOverIssue;
    set.app().HpsxName = attributeName;
    BuildLedger(set.db(), moves);

    // The check itself shows nothing; the window shows the shortage's text.
    MessageScript msgs;
    const std::optional<StockShortage> shortage = CheckStockOnDate(set.app(), goods, qty, date, batch);
    QCOMPARE(!shortage.has_value(), allowed);
    QCOMPARE(batch, batchAfter);
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(shortage ? StockShortageText(set.app(), *shortage) : QString(), message);
}

VX_REGISTER_TEST(TestStockCheck)
#include "tst_stockcheck.moc"
