#include "core/App.h"
#include "core/Posting.h"
#include "core/SettingsCatalogue.h"
#include "documents/common/CostPrice.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/outbound/OutboundPolicies.h"
#include "documents/outbound/OutboundService.h"
#include "documents/stockreturn/StockReturnPolicies.h"
#include "documents/supplierreturn/SupplierReturnPolicies.h"
#include "platform/Database.h"
#include "documents/StockDocTestSupport.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/PostingReference.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTest>

// The outbound documents through the stock-document service: the cost at a
// date, the customer price, the stock check of a whole document, the last
// prices kept, the issue at cost, and posting equal to the per-line cycle.
class TestOutboundService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void costPriceAtDateTakesTheLastPostedLine_data();
    void costPriceAtDateTakesTheLastPostedLine();
    void salePriceFromQuotationOrGoods_data();
    void salePriceFromQuotationOrGoods();
    void stockCheckAddsUpTheDocumentsLines_data();
    void stockCheckAddsUpTheDocumentsLines();
    void shortageRefusesTheAuditWritingNothing();
    void negativeQuantityIsBoundNotSpliced();
    void lineWithoutTheAttributeItsStockNeedsIsRefused_data();
    void lineWithoutTheAttributeItsStockNeedsIsRefused();
    void failedSaveLeavesTheStoredDocument();
    void lastSalePricesKept();
    void departmentIssueNeverTouchesTheAccount();
    void searchConditionCannotEscapeTheKindFilter();
    void backDatedIntoEachOthersHistoryMatchesPerLineCycle_data();
    void backDatedIntoEachOthersHistoryMatchesPerLineCycle();
};

namespace {

void prepare(FreshAccountSet& set, bool attribute = false)
{
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName = attribute ? QStringLiteral("批号") : QString();
    set.app().NoOverIssue = 1;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department, 0});
    for (const QString& g : {QStringLiteral("G1"), QStringLiteral("G2"), QStringLiteral("G3")}) {
        GoodsSpec spec{g, QStringLiteral("货品") + g};
        spec.cost = 1.5;
        spec.salePrice = 9.9;
        AddGoods(db, spec);
    }
}

QString save(FreshAccountSet& set, const StockDocPolicy& policy, StockDoc doc, const QString& old = {})
{
    return SaveStockDoc(set.app(), policy, StockDocTypeName(set.db(), policy), doc, old);
}

// Saves and audits a document of the policy.
void post(FreshAccountSet& set, const StockDocPolicy& policy, const StockDoc& doc)
{
    QCOMPARE(save(set, policy, doc), QString());
    QCOMPARE(AuditStockDoc(set.app(), policy, doc.head.number), QString());
}

QString copyOf(FreshAccountSet& set, const QString& name)
{
    const QString path = set.folder() + name;
    QFile::copy(set.setPath(), path);
    return path;
}

}  // namespace

void TestOutboundService::costPriceAtDateTakesTheLastPostedLine_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("cost");
    // 4 in at 2.50 on the 1st, 2 out on the 5th (at 2.50), 2 in at 4.00 on the 9th: 2 at 2.50
    // and 2 at 4.00 leave a running price of 3.25.
    QTest::newRow("before any line") << QDate(2024, 4, 30) << 0.0;
    QTest::newRow("after the receipt") << QDate(2024, 5, 1) << 2.5;
    QTest::newRow("after the issue: its out price") << QDate(2024, 5, 6) << 2.5;
    QTest::newRow("after the second receipt") << QDate(2024, 5, 9) << 3.25;
}

void TestOutboundService::costPriceAtDateTakesTheLastPostedLine()
{
    QFETCH(QDate, date);
    QFETCH(double, cost);
    FreshAccountSet set;
    prepare(set);
    // Posted out of date order: the key, not the entry order or SN, says which line is last.
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R2"), QDate(2024, 5, 9), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 2, 4)}));
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 1), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 4, 2.5)}));
    post(set, SalesDeliveryPolicy(), stockDoc(QStringLiteral("S1"), QDate(2024, 5, 5), QStringLiteral("B001"),
                                              {stockLine(QStringLiteral("G1"), 2, 9)}));
    // An unaudited receipt on the same day counts for nothing.
    QCOMPARE(save(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R3"), QDate(2024, 5, 5),
                                                         QStringLiteral("A001"), {stockLine(QStringLiteral("G1"), 9, 99)})),
             QString());
    QCOMPARE(CostPriceAtDate(set.db(), QStringLiteral("G1"), date), cost);
    const double current = set.db().scalar(QStringLiteral("SELECT F7 FROM TA4 WHERE F1 = 'G1'")).toDouble();
    QCOMPARE(ProposedCostPrice(set.app(), QStringLiteral("G1"), date), cost == 0 ? current : cost);
}

void TestOutboundService::salePriceFromQuotationOrGoods_data()
{
    QTest::addColumn<int>("offer");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<double>("price");
    QTest::newRow("quoted") << 1 << "B001" << 8.5;
    QTest::newRow("setting off") << 0 << "B001" << 9.9;
    QTest::newRow("no customer chosen") << 1 << "" << 9.9;
    QTest::newRow("not quoted to this customer") << 1 << "A001" << 9.9;
}

void TestOutboundService::salePriceFromQuotationOrGoods()
{
    QFETCH(int, offer);
    QFETCH(QString, customer);
    QFETCH(double, price);
    FreshAccountSet set;
    prepare(set);
    set.app().OfferCustomerPrice = offer;
    set.db().execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('B001', 'G1', 8.5)"));
    const std::optional<StockDocLine> l =
        GoodsForLine(set.app(), SalesDeliveryPolicy(), QStringLiteral("g1"), customer, QDate(2024, 5, 1));
    QVERIFY(l);
    QCOMPARE(l->price, price);
}

void TestOutboundService::stockCheckAddsUpTheDocumentsLines_data()
{
    QTest::addColumn<bool>("attribute");
    QTest::addColumn<QStringList>("attrs");
    QTest::addColumn<double>("second");  // quantity of the second G1 line; the first takes 1
    QTest::addColumn<int>("shortLine");  // 0 = covered
    // 3 of G1 in stock (2 of value A, 1 of B) and 5 of G2.
    QTest::newRow("two lines of one goods exceed the stock") << false << QStringList{"", "", ""} << 3.0 << 1;
    QTest::newRow("two lines of one goods within it") << false << QStringList{"", "", ""} << 2.0 << 0;
    QTest::newRow("values counted apart, both covered") << true << QStringList{"A", "B", ""} << 1.0 << 0;
    QTest::newRow("two lines of one value exceed it") << true << QStringList{"B", "B", ""} << 1.0 << 1;
    QTest::newRow("the shortage on a later line") << true << QStringList{"A", "A", "X"} << 1.0 << 3;
}

void TestOutboundService::stockCheckAddsUpTheDocumentsLines()
{
    QFETCH(bool, attribute);
    QFETCH(QStringList, attrs);
    QFETCH(double, second);
    QFETCH(int, shortLine);
    FreshAccountSet set;
    prepare(set, attribute);
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 1), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 2, 1, QStringLiteral("A")),
                                                 stockLine(QStringLiteral("G1"), 1, 1, QStringLiteral("B")),
                                                 stockLine(QStringLiteral("G2"), 5, 1)}));
    const StockDoc doc = stockDoc(QStringLiteral("S1"), QDate(2024, 5, 2), QStringLiteral("B001"),
                                  {stockLine(QStringLiteral("G1"), 1, 9, attrs[0]), stockLine(QStringLiteral("G1"), second, 9, attrs[1]),
                                   stockLine(QStringLiteral("G2"), 5, 9, attrs[2])});
    const std::optional<DocumentShortage> s = CheckDocumentStock(set.app(), doc);
    QCOMPARE(s ? s->line : 0, shortLine);
    // A receipt dated after the issue does not cover it.
    set.app().NoOverIssue = 0;
    QVERIFY(!CheckDocumentStock(set.app(), doc));
}

void TestOutboundService::shortageRefusesTheAuditWritingNothing()
{
    FreshAccountSet set;
    prepare(set);
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 1), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 3, 1), stockLine(QStringLiteral("G2"), 3, 1)}));
    // The shortage is on the last line, after lines that are covered.
    QCOMPARE(save(set, SalesDeliveryPolicy(),
                  stockDoc(QStringLiteral("S1"), QDate(2024, 5, 2), QStringLiteral("B001"),
                           {stockLine(QStringLiteral("G2"), 1, 9), stockLine(QStringLiteral("G1"), 2, 9),
                            stockLine(QStringLiteral("G1"), 2, 9)})),
             QString());
    const QStringList before = PostingSnapshot(set.db());
    const QString refused = AuditStockDoc(set.app(), SalesDeliveryPolicy(), QStringLiteral("S1"));
    QVERIFY2(refused.contains(QStringLiteral("在单据[S1]中，第 2 行[G1]存量不足，不能出库!")), qPrintable(refused));
    QVERIFY(refused.contains(QStringLiteral("当天库存量：3")));
    QCOMPARE(PostingSnapshot(set.db()), before);
    QVERIFY(!set.db().inTransaction());
}

void TestOutboundService::negativeQuantityIsBoundNotSpliced()
{
    FreshAccountSet set;
    prepare(set);
    set.app().NoOverIssue = 0;
    // A return typed as a negative issue: stored positive (into stock), never "--5".
    StockDoc doc = stockDoc(QStringLiteral("S1"), QDate(2024, 5, 2), QStringLiteral("B001"),
                            {stockLine(QStringLiteral("G1"), -5, 2)});
    doc.head.note = QStringLiteral("x' -- y");
    QCOMPARE(save(set, SalesDeliveryPolicy(), doc), QString());
    const RecordSet rs = set.db().query(QStringLiteral("SELECT F6, F8, C236, C6, V1, LB FROM TB11"));
    QCOMPARE(rs.value(0, 0).toDouble(), 5.0);
    QCOMPARE(rs.value(0, 1).toDouble(), 10.0);
    QCOMPARE(rs.value(0, 2).toDouble(), -5.0);
    QCOMPARE(rs.value(0, 4).toInt(), 1);
    QCOMPARE(rs.value(0, 5).toInt(), 3);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F10 FROM TB1")).toString(), doc.head.note);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F9 FROM TB1")).toDouble(), -10.0);
    // A quantity of 0 is refused by its line number.
    StockDoc zero = stockDoc(QStringLiteral("S2"), QDate(2024, 5, 2), QStringLiteral("B001"),
                             {stockLine(QStringLiteral("G1"), 1, 2), stockLine(QStringLiteral("G2"), 0, 2)});
    QCOMPARE(save(set, SalesDeliveryPolicy(), zero), QStringLiteral("第 2 行,数量不能为 0 ！"));
}

void TestOutboundService::lineWithoutTheAttributeItsStockNeedsIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("attribute");  // the account set keeps an attribute
    QTest::addColumn<QString>("goods");   // of the second line, which has no attribute value
    QTest::addColumn<QString>("refusal");
    // G1 is in stock under values A and B only, G2 under the empty value, G3 never posted.
    const QString g1 = QStringLiteral("第 2 行[G1]的批号不能为空！");
    QTest::newRow("issue of a goods kept by value") << "sales" << true << "G1" << g1;
    QTest::newRow("department issue") << "department" << true << "G1" << g1;
    QTest::newRow("return to the supplier") << "supplier return" << true << "G1" << g1;
    QTest::newRow("stock under the empty value") << "sales" << true << "G2" << "";
    QTest::newRow("goods never posted") << "sales" << true << "G3" << "";
    QTest::newRow("no attribute kept") << "sales" << false << "G1" << "";
    QTest::newRow("into stock: any value may come in") << "customer return" << true << "G1" << "";
}

void TestOutboundService::lineWithoutTheAttributeItsStockNeedsIsRefused()
{
    QFETCH(QString, kind);
    QFETCH(bool, attribute);
    QFETCH(QString, goods);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    prepare(set, true);
    set.app().NoOverIssue = 0;
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 1), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 2, 1, QStringLiteral("A")),
                                                 stockLine(QStringLiteral("G1"), 3, 1, QStringLiteral("B")),
                                                 stockLine(QStringLiteral("G2"), 5, 1)}));
    set.app().HpsxName = attribute ? QStringLiteral("批号") : QString();
    const QMap<QString, std::pair<StockDocPolicy, QString>> kinds{
        {QStringLiteral("sales"), {SalesDeliveryPolicy(), QStringLiteral("B001")}},
        {QStringLiteral("department"), {DepartmentIssuePolicy(), QStringLiteral("P001")}},
        {QStringLiteral("supplier return"), {PurchaseReturnPolicy(), QStringLiteral("A001")}},
        {QStringLiteral("customer return"), {CustomerReturnPolicy(), QStringLiteral("B001")}}};
    const auto& [policy, unit] = kinds.value(kind);
    const StockDoc doc = stockDoc(QStringLiteral("S1"), QDate(2024, 5, 2), unit,
                                  {stockLine(QStringLiteral("G1"), 1, 9, QStringLiteral("A")), stockLine(goods, 1, 9)});
    const QStringList before = PostingSnapshot(set.db());
    QCOMPARE(save(set, policy, doc), refusal);
    if (!refusal.isEmpty())
        QCOMPARE(PostingSnapshot(set.db()), before);
}

void TestOutboundService::failedSaveLeavesTheStoredDocument()
{
    FreshAccountSet set;
    prepare(set);
    QCOMPARE(save(set, SalesDeliveryPolicy(), stockDoc(QStringLiteral("S1"), QDate(2024, 5, 2), QStringLiteral("B001"),
                                                       {stockLine(QStringLiteral("G1"), 2, 3)})),
             QString());
    const QStringList before = PostingSnapshot(set.db());
    set.db().execute(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON TB11 WHEN NEW.F1 = 'G3' "
                                    "BEGIN SELECT RAISE(ABORT, 'injected'); END"));
    StockDoc edited = stockDoc(QStringLiteral("S1"), QDate(2024, 5, 3), QStringLiteral("B001"),
                               {stockLine(QStringLiteral("G2"), 5, 1), stockLine(QStringLiteral("G3"), 1, 1)});
    edited.loadedStamp = LoadStockDoc(set.db(), QStringLiteral("S1"))->loadedStamp;
    QVERIFY_THROWS_EXCEPTION(DbError, save(set, SalesDeliveryPolicy(), edited, QStringLiteral("S1")));
    QVERIFY(!set.db().inTransaction());
    QCOMPARE(PostingSnapshot(set.db()), before);
}

void TestOutboundService::lastSalePricesKept()
{
    FreshAccountSet set;
    prepare(set);
    set.app().NoOverIssue = 0;
    set.app().OfferCustomerPrice = 1;
    Database& db = set.db();
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7, F8, F9) VALUES ('B001', 'G2', 7, '报价', '2020-01-01')"));
    QCOMPARE(save(set, SalesDeliveryPolicy(), stockDoc(QStringLiteral("S1"), QDate(2024, 5, 2), QStringLiteral("b001"),
                                                       {stockLine(QStringLiteral("G1"), 1, 10), stockLine(QStringLiteral("G2"), 1, 7),
                                                        stockLine(QStringLiteral("G3"), 1, 0)})),
             QString());
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    auto row = [&](const char* goods) {
        const RecordSet rs = db.query(QStringLiteral("SELECT F7, F8, F9 FROM KhPrice WHERE F0 = 'B001' AND F1 = ?"),
                                      {QString::fromLatin1(goods)});
        return rs.isEmpty() ? QString() : QString::number(rs.value(0, 0).toDouble()) + QLatin1Char('|') + rs.text(0, 1) + QLatin1Char('|') + rs.text(0, 2);
    };
    QCOMPARE(row("G1"), QStringLiteral("10|最近交易价|") + today);
    QCOMPARE(row("G2"), QStringLiteral("7|报价|2020-01-01"));
    QCOMPARE(row("G3"), QString());
    QCOMPARE(save(set, SalesDeliveryPolicy(), stockDoc(QStringLiteral("S2"), QDate(2024, 5, 2), QStringLiteral("B001"),
                                                       {stockLine(QStringLiteral("G2"), 1, 12)})),
             QString());
    QCOMPARE(row("G2"), QStringLiteral("12|最近交易价|") + today);
    // Issues to departments never touch the quotations.
    QCOMPARE(save(set, DepartmentIssuePolicy(), stockDoc(QStringLiteral("L1"), QDate(2024, 5, 2), QStringLiteral("P001"),
                                                         {stockLine(QStringLiteral("G1"), 1, 3)})),
             QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM KhPrice WHERE F0 = 'P001'")).toInt(), 0);
}

void TestOutboundService::departmentIssueNeverTouchesTheAccount()
{
    FreshAccountSet set;
    prepare(set, true);
    Database& db = set.db();
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 1), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 2, 2, QStringLiteral("A")),
                                                 stockLine(QStringLiteral("G1"), 2, 3, QStringLiteral("B"))}));
    // Whatever settlement the caller hands in, an issue is stored and posted settled.
    StockDoc doc = stockDoc(QStringLiteral("L1"), QDate(2024, 5, 2), QStringLiteral("P001"),
                            {stockLine(QStringLiteral("G1"), 1, 9, QStringLiteral("A")),
                             stockLine(QStringLiteral("G1"), 2, 9, QStringLiteral("B"))});
    doc.head.settlement = 0;
    QCOMPARE(save(set, DepartmentIssuePolicy(), doc), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT K FROM TB1 WHERE F1 = 'L1'")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT V1 FROM TB1 WHERE F1 = 'L1'")).toInt(), 0);
    db.execute(QStringLiteral("UPDATE TB1 SET K = 0 WHERE F1 = 'L1'"));  // an older program's row
    QCOMPARE(AuditStockDoc(set.app(), DepartmentIssuePolicy(), QStringLiteral("L1")), QString());
    const RecordSet head = db.query(QStringLiteral("SELECT QC, YF, FK, QM, F9 FROM TB1 WHERE F1 = 'L1'"));
    QCOMPARE(head.value(0, 1).toDouble(), 0.0);
    QCOMPARE(head.value(0, 2).toDouble(), 0.0);
    QCOMPARE(head.value(0, 3).toDouble(), head.value(0, 0).toDouble());
    // Valued at cost: 1 x 2.50 and 2 x 2.50 (moving average of 4 at 10.00).
    const RecordSet lines = db.query(QStringLiteral("SELECT F8, C8, C238 FROM TB11 WHERE F0 = 'L1' ORDER BY Oid"));
    for (int r = 0; r < 2; ++r) {
        QCOMPARE(lines.value(r, 0).toDouble(), -lines.value(r, 1).toDouble());
        QCOMPARE(lines.value(r, 2).toDouble(), lines.value(r, 1).toDouble());
    }
    QCOMPARE(lines.value(0, 1).toDouble(), 2.5);
    QCOMPARE(lines.value(1, 1).toDouble(), 5.0);
    QCOMPARE(head.value(0, 4).toDouble(), 7.5);
    // The unaudit leaves the amounts at cost.
    QCOMPARE(UnauditStockDoc(set.app(), DepartmentIssuePolicy(), QStringLiteral("L1")), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE F1 = 'L1'")).toDouble(), 7.5);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 4.0);
}

void TestOutboundService::searchConditionCannotEscapeTheKindFilter()
{
    FreshAccountSet set;
    prepare(set);
    set.app().NoOverIssue = 0;
    QCOMPARE(save(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 1), QStringLiteral("A001"),
                                                         {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    QCOMPARE(save(set, DepartmentIssuePolicy(), stockDoc(QStringLiteral("L1"), QDate(2024, 5, 1), QStringLiteral("P001"),
                                                         {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    QCOMPARE(save(set, SalesDeliveryPolicy(), stockDoc(QStringLiteral("S1"), QDate(2024, 5, 1), QStringLiteral("B001"),
                                                       {stockLine(QStringLiteral("G1"), 1, 1)})),
             QString());
    const StockDocPolicy policy = SalesDeliveryPolicy();
    // The operator's "或者" joins conditions with OR; the kind and type filter holds for all of them.
    const StockDocList list = ListStockDocs(set.db(), policy, StockDocTypeName(set.db(), policy),
                                            QStringLiteral("TB1.F1 = ? OR TB1.F1 = ? OR TB1.F1 = ?"),
                                            {QStringLiteral("R1"), QStringLiteral("L1"), QStringLiteral("S1")},
                                            QStringLiteral("#0.00"));
    QCOMPARE(list.rows, 1);
    QCOMPARE(list.cells[0], QStringLiteral("S1"));
}

void TestOutboundService::backDatedIntoEachOthersHistoryMatchesPerLineCycle_data()
{
    QTest::addColumn<bool>("attribute");
    QTest::addColumn<bool>("department");
    QTest::newRow("sales, with attribute") << true << false;
    QTest::newRow("sales, without attribute") << false << false;
    QTest::newRow("department, with attribute") << true << true;
    QTest::newRow("department, without attribute") << false << true;
}

void TestOutboundService::backDatedIntoEachOthersHistoryMatchesPerLineCycle()
{
    QFETCH(bool, attribute);
    QFETCH(bool, department);
    FreshAccountSet set;
    prepare(set, attribute);
    set.app().NoOverIssue = 0;
    const PostingRules rules = PostingRules::of(set.app());
    const StockDocPolicy outbound = department ? DepartmentIssuePolicy() : SalesDeliveryPolicy();
    const QString unit = department ? QStringLiteral("P001") : QStringLiteral("B001");
    const QString a = attribute ? QStringLiteral("A") : QString();
    const QString b = attribute ? QStringLiteral("B") : QString();
    // Receipts and deliveries alternate; each later one is back-dated into the history
    // of the ones before it.
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R1"), QDate(2024, 5, 10), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 6, 3.1, a), stockLine(QStringLiteral("G2"), 5, 2.2)}));
    post(set, outbound, stockDoc(QStringLiteral("S1"), QDate(2024, 5, 12), unit,
                                 {stockLine(QStringLiteral("G1"), 2, 9, a), stockLine(QStringLiteral("G2"), 1, 9)}));
    post(set, PurchaseReceiptPolicy(), stockDoc(QStringLiteral("R2"), QDate(2024, 5, 11), QStringLiteral("A001"),
                                                {stockLine(QStringLiteral("G1"), 3, 4.75, b), stockLine(QStringLiteral("G2"), 2, 1.3)}));
    post(set, outbound, stockDoc(QStringLiteral("S2"), QDate(2024, 5, 14), unit,
                                 {stockLine(QStringLiteral("G1"), 1, 9, b), stockLine(QStringLiteral("G2"), 3, 9)}));

    // The back-dated delivery, two lines of one goods among them.
    StockDoc doc = stockDoc(QStringLiteral("BACK"), QDate(2024, 5, 11), unit,
                            {stockLine(QStringLiteral("G1"), 1, 8.8, a), stockLine(QStringLiteral("G2"), 2, 7.7),
                             stockLine(QStringLiteral("G1"), 1, 6.6, b)});
    doc.head.paid = 5;
    QCOMPARE(save(set, outbound, doc), QString());

    Database copy;
    copy.open(copyOf(set, QStringLiteral("copy.vxs")));
    QCOMPARE(AuditStockDoc(set.app(), outbound, QStringLiteral("BACK")), QString());
    const StockDocHeader head = LoadStockDoc(copy, QStringLiteral("BACK"))->head;
    PostLineByLine(copy, rules, QStringLiteral("BACK"), set.app().OperatorName,
                   StockDocBalanceMove(copy, outbound, head), OutPriceRule::LastOutLine);
    if (department)
        RevalueIssueAtCost(copy, set.app().AmountFormat, QStringLiteral("BACK"));
    QCOMPARE(PostingSnapshot(set.db()), PostingSnapshot(copy));

    QCOMPARE(UnauditStockDoc(set.app(), outbound, QStringLiteral("BACK")), QString());
    UnpostLineByLine(copy, rules, QStringLiteral("BACK"), OutPriceRule::LastOutLine);
    QCOMPARE(PostingSnapshot(set.db()), PostingSnapshot(copy));
    // A receipt back-dated before the deliveries re-costs their out prices the same way.
    const StockDoc early = stockDoc(QStringLiteral("R0"), QDate(2024, 5, 9), QStringLiteral("A001"),
                                    {stockLine(QStringLiteral("G2"), 4, 0.5), stockLine(QStringLiteral("G1"), 1, 1, b)});
    QCOMPARE(save(set, PurchaseReceiptPolicy(), early), QString());
    Database second;
    second.open(copyOf(set, QStringLiteral("second.vxs")));
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("R0")), QString());
    PostLineByLine(second, rules, QStringLiteral("R0"), set.app().OperatorName,
                   StockDocBalanceMove(second, PurchaseReceiptPolicy(), LoadStockDoc(second, QStringLiteral("R0"))->head),
                   OutPriceRule::Zero);
    QCOMPARE(PostingSnapshot(set.db()), PostingSnapshot(second));
}

VX_REGISTER_TEST(TestOutboundService)
#include "tst_outboundservice.moc"
