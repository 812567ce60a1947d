#include "core/App.h"
#include "core/Posting.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/outbound/OutboundPolicies.h"
#include "documents/stockreturn/StockReturnPolicies.h"
#include "documents/supplierreturn/SupplierReturnPolicies.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "documents/StockDocTestSupport.h"
#include "support/Fixture.h"
#include "support/PostingReference.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTest>
#include <functional>

// Every document policy audited and unaudited through the service, back-dated
// into a history of receipts and deliveries, against the per-line posting
// cycle with the policy's own balance move, out price and after-steps.
class TestStockDocDifferential : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyPolicyMatchesThePerLineCycle_data();
    void everyPolicyMatchesThePerLineCycle();
};

namespace {

struct PolicyCase {
    std::function<StockDocPolicy()> policy;
    QString unit;
};

void post(FreshAccountSet& set, const StockDocPolicy& policy, const StockDoc& doc)
{
    StockDoc d = doc;
    QCOMPARE(SaveStockDoc(set.app(), policy, StockDocTypeName(set.db(), policy), d, {}), QString());
    QCOMPARE(AuditStockDoc(set.app(), policy, doc.head.number), QString());
}

// Runs `step` with the App's connection on the file `path`, then back on the account set.
void onFile(FreshAccountSet& set, const QString& path, const std::function<void()>& step)
{
    App& app = set.app();
    const QString real = app.CurrentDatabase.path();
    app.CurrentDatabase.close();
    app.CurrentDatabase.open(path);
    step();
    app.CurrentDatabase.close();
    app.CurrentDatabase.open(real);
}

}  // namespace

Q_DECLARE_METATYPE(PolicyCase)

void TestStockDocDifferential::everyPolicyMatchesThePerLineCycle_data()
{
    QTest::addColumn<PolicyCase>("kind");
    QTest::addColumn<bool>("attribute");
    const QList<std::pair<const char*, PolicyCase>> kinds = {
        {"purchase receipt", {PurchaseReceiptPolicy, QStringLiteral("A001")}},
        {"production receipt", {ProductionReceiptPolicy, QStringLiteral("P001")}},
        {"sales delivery", {SalesDeliveryPolicy, QStringLiteral("B001")}},
        {"department issue", {DepartmentIssuePolicy, QStringLiteral("P001")}},
        {"purchase return", {PurchaseReturnPolicy, QStringLiteral("A001")}},
        {"purchase return to a dual-role customer", {PurchaseReturnPolicy, QStringLiteral("B001")}},
        {"rework return", {ReworkReturnPolicy, QStringLiteral("P001")}},
        {"customer return", {CustomerReturnPolicy, QStringLiteral("B001")}},
        {"customer return from a supplier unit", {CustomerReturnPolicy, QStringLiteral("A001")}},
        {"department return", {DepartmentReturnPolicy, QStringLiteral("P001")}},
    };
    for (const auto& [name, kind] : kinds)
        for (bool attribute : {true, false})
            QTest::addRow("%s, %s", name, attribute ? "with attribute" : "without attribute") << kind << attribute;
}

void TestStockDocDifferential::everyPolicyMatchesThePerLineCycle()
{
    QFETCH(PolicyCase, kind);
    QFETCH(bool, attribute);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.HpsxName = attribute ? QStringLiteral("批号") : QString();
    app.NoOverIssue = 0;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department, 0});
    for (const QString& g : {QStringLiteral("G1"), QStringLiteral("G2")}) {
        GoodsSpec spec{g, QStringLiteral("货品") + g};
        spec.cost = 1.5;
        AddGoods(db, spec);
    }
    const QString a = attribute ? QStringLiteral("A") : QString();
    const QString b = attribute ? QStringLiteral("B") : QString();
    // Receipts and deliveries alternate, each later one back-dated into the ones before it.
    const StockDocPolicy receipt = PurchaseReceiptPolicy();
    const StockDocPolicy sales = SalesDeliveryPolicy();
    post(set, receipt, stockDoc(QStringLiteral("R1"), QDate(2024, 5, 10), QStringLiteral("A001"),
                                {stockLine(QStringLiteral("G1"), 6, 3.1, a), stockLine(QStringLiteral("G2"), 5, 2.2)}));
    post(set, sales, stockDoc(QStringLiteral("S1"), QDate(2024, 5, 13), QStringLiteral("B001"),
                              {stockLine(QStringLiteral("G1"), 2, 9, a), stockLine(QStringLiteral("G2"), 1, 9)}));
    post(set, receipt, stockDoc(QStringLiteral("R2"), QDate(2024, 5, 11), QStringLiteral("A001"),
                                {stockLine(QStringLiteral("G1"), 3, 4.75, b), stockLine(QStringLiteral("G2"), 2, 1.3)}));
    post(set, sales, stockDoc(QStringLiteral("S2"), QDate(2024, 5, 14), QStringLiteral("B001"),
                              {stockLine(QStringLiteral("G1"), 1, 9, b), stockLine(QStringLiteral("G2"), 3, 9)}));

    // The document under test, back-dated between them, two lines of one goods among them.
    const StockDocPolicy policy = kind.policy();
    StockDoc doc = stockDoc(QStringLiteral("BACK"), QDate(2024, 5, 12), kind.unit,
                            {stockLine(QStringLiteral("G1"), 1, 8.8, a), stockLine(QStringLiteral("G2"), 2, 7.7),
                             stockLine(QStringLiteral("G1"), 1, 6.6, b)});
    doc.head.paid = 5;
    QCOMPARE(SaveStockDoc(app, policy, StockDocTypeName(db, policy), doc, {}), QString());
    const QString reference = set.folder() + QStringLiteral("reference.vxs");
    QVERIFY(QFile::copy(set.setPath(), reference));

    const PostingRules rules = PostingRules::of(app);
    QCOMPARE(AuditStockDoc(app, policy, QStringLiteral("BACK")), QString());
    const QStringList audited = PostingSnapshot(db);
    QCOMPARE(UnauditStockDoc(app, policy, QStringLiteral("BACK")), QString());
    const QStringList unaudited = PostingSnapshot(db);

    onFile(set, reference, [&] {
        Database& ref = app.CurrentDatabase;
        const StockDoc stored = *LoadStockDoc(ref, QStringLiteral("BACK"));
        {
            Transaction tx(ref);
            PostLineByLine(ref, rules, QStringLiteral("BACK"), app.OperatorName,
                           StockDocBalanceMove(ref, policy, stored.head), policy.audit.outPrice);
            if (policy.audit.afterPosting)
                policy.audit.afterPosting(app, stored);
            if (policy.audit.afterAudit)
                policy.audit.afterAudit(app, stored);
            tx.commit();
        }
        QCOMPARE(PostingSnapshot(ref), audited);
        {
            Transaction tx(ref);
            UnpostLineByLine(ref, rules, QStringLiteral("BACK"), policy.audit.outPrice,
                             policy.audit.unauditKeepsLineAuditor);
            if (policy.audit.afterPosting)
                policy.audit.afterPosting(app, stored);
            tx.commit();
        }
        QCOMPARE(PostingSnapshot(ref), unaudited);
    });
}

VX_REGISTER_TEST(TestStockDocDifferential)
#include "tst_stockdocdifferential.moc"
