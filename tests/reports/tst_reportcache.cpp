#include "ReportBooks.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "reports/DocStatistics.h"
#include "reports/StockMovement.h"
#include "reports/StockStatistics.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <functional>

// Every report reads on a page cache sized to the book, from the first run
// of a fresh connection: on the default cache an encrypted book is decrypted
// page by page many times over.
class TestReportCache : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRunSizesTheCache_data();
    void firstRunSizesTheCache();
};

namespace {

using Run = std::function<void(Database&)>;

StockMovementFilter year2024()
{
    StockMovementFilter f;
    f.from = QDate(2024, 1, 1);
    f.to = QDate(2024, 12, 31);
    return f;
}

}  // namespace

Q_DECLARE_METATYPE(Run)

void TestReportCache::firstRunSizesTheCache_data()
{
    QTest::addColumn<Run>("run");
    QTest::newRow("summary, every goods") << Run([](Database& db) {
        SummaryReport r;
        GenerateAllGoodsSummary(db, year2024(), QStringLiteral("#0.00"), r);
    });
    QTest::newRow("summary, moved goods") << Run([](Database& db) {
        SummaryReport r;
        GenerateMovedGoodsSummary(db, year2024(), QStringLiteral("#0.00"), r);
    });
    QTest::newRow("detail") << Run([](Database& db) {
        DetailReport r;
        GenerateStockDetail(db, year2024(), r);
    });
    QTest::newRow("stock list") << Run([](Database& db) { ListStock(db, {}, PriceBasis::Cost); });
    QTest::newRow("stock per attribute value") << Run([](Database& db) { ListBatchStock(db, {}); });
    QTest::newRow("document statistics") << Run([](Database& db) {
        StatFilter f;
        f.from = QDate(2024, 1, 1);
        f.to = QDate(2024, 12, 31);
        ListStatLines(db, f);
    });
}

void TestReportCache::firstRunSizesTheCache()
{
    QFETCH(Run, run);
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    PostMoves(set.app(), {"I G1 10 2 2024-05-13 @A", "O G1 3 0 2024-05-14 @A", "I G2 5 1 2024-06-01"});

    Database db;
    db.open(set.setPath());
    const int wanted = WalkCacheKiBFor(db.fileSize());
    QVERIFY(db.cacheSizeKiB() < wanted);
    run(db);
    QCOMPARE(db.cacheSizeKiB(), wanted);
}

VX_REGISTER_TEST(TestReportCache)
#include "tst_reportcache.moc"
