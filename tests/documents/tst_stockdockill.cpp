#include "core/App.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/stockreturn/StockReturnPolicies.h"
#include "documents/stocktaking/StocktakingService.h"
#include "documents/supplierreturn/SupplierReturnPolicies.h"
#include "platform/Database.h"
#include "support/BalanceChains.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/KillLoop.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QTest>

// Audits and unaudits killed at random moments leave whole books behind.
class TestStockDocKill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedAuditsLeaveWholeBooks();
    void killedStocktakingAuditsLeaveWholeBooks();
};

namespace {

const int Documents = 12;
const QStringList GoodsCodes{"G1", "G2", "G3", "G4"};

// Of every four documents one is a return to the supplier, one a customer's return to
// stock and two are receipts.
bool isReturn(int d)
{
    return d % 4 == 2;
}
bool isStockReturn(int d)
{
    return d % 4 == 3;
}
QString docNumber(int d)
{
    return (isReturn(d) ? QStringLiteral("TH%1") : isStockReturn(d) ? QStringLiteral("TK%1") : QStringLiteral("RK%1"))
        .arg(d);
}
StockDocPolicy docPolicy(int d)
{
    return isReturn(d) ? PurchaseReturnPolicy() : isStockReturn(d) ? CustomerReturnPolicy() : PurchaseReceiptPolicy();
}
QString docUnit(int d)
{
    return isStockReturn(d) ? QStringLiteral("B001") : QStringLiteral("A001");
}

// The child's step: audits a document picked at random, or unaudits it when it was audited.
void auditOrUnaudit(App& app, QRandomGenerator& rng)
{
    const int d = int(rng.bounded(Documents));
    const QString no = docNumber(d);
    const StockDocPolicy policy = docPolicy(d);
    if (!AuditStockDoc(app, policy, no).isEmpty())
        UnauditStockDoc(app, policy, no);
}

// The child's step: audits the one stocktaking, or unaudits it when it was audited.
void auditOrUnauditCount(App& app, QRandomGenerator&)
{
    if (!AuditStocktaking(app, QStringLiteral("PD1")).isEmpty())
        UnauditStocktaking(app, QStringLiteral("PD1"));
}

// The book's checks after a kill: a sound file, no document half posted (a return to
// stock keeps its lines' auditor while unaudited), every goods' stock the sum of its
// opening and its posted lines, every unit's balance chain whole. Adds the posted
// headers to *posted.
void checkWholeBook(const QString& path, int* posted)
{
    Database check;
    check.open(path);
    QCOMPARE(check.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    const int halfPosted = check.scalar(QStringLiteral(
        "SELECT count(*) FROM TB11 JOIN TB1 ON TB1.F1 = TB11.F0 WHERE "
        "((TB1.F6 <> '' OR TB1.SRT <> '') AND (TB11.SRT = '' OR TB11.SH = '')) OR "
        "((TB1.F6 = '' AND TB1.SRT = '') AND (TB11.SRT <> '' OR (TB11.SH <> '' AND TB11.LB <> 4)))")).toInt();
    QCOMPARE(halfPosted, 0);
    *posted += check.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE SRT <> ''")).toInt();
    const RecordSet stock = check.query(QStringLiteral(
        "SELECT TA4.F1, TA4.F8, TA4.V3 + (SELECT total(F6) FROM TB11 WHERE TB11.F1 = TA4.F1 AND SRT <> '') "
        "FROM TA4"));
    for (int r = 0; r < stock.rowCount(); ++r)
        QVERIFY2(qAbs(stock.value(r, 1).toDouble() - stock.value(r, 2).toDouble()) < 1e-6,
                 qPrintable(stock.text(r, 0)));
    QCOMPARE(ChainFault(check), QString());
}

}  // namespace

void TestStockDocKill::killedStocktakingAuditsLeaveWholeBooks()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName = QStringLiteral("批号");
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    for (int i = 0; i < GoodsCodes.size(); ++i) {
        GoodsSpec g{GoodsCodes[i], QStringLiteral("货品")};
        g.openingQty = 5 + i;
        g.openingPrice = 2;
        g.openingAmount = (5 + i) * 2;
        g.stock = g.openingQty;
        AddGoods(db, g);
    }
    // Posted receipts of three batches, then a count of every goods and batch.
    QRandomGenerator rng(77);
    for (int d = 0; d < 6; ++d) {
        DocSpec in{QStringLiteral("RK%1").arg(d), QDate(2024, 5, 1).addDays(d), QStringLiteral("A001")};
        for (int l = 0; l < 6; ++l)
            in.lines << LineSpec{GoodsCodes[int(rng.bounded(GoodsCodes.size()))], double(1 + rng.bounded(9)),
                                 1 + rng.bounded(500) / 100.0, QStringLiteral("B%1").arg(rng.bounded(3))};
        AddDocument(db, in);
        PostDocument(db, PostingRules::of(set.app()), in.number, QStringLiteral("系统管理员"), {}, OutPriceRuleOf(in.kind));
    }
    CountDoc count;
    count.head.number = QStringLiteral("PD1");
    count.head.date = QDate(2024, 5, 20);
    for (const QString& g : GoodsCodes)
        for (int b = 0; b < 3; ++b) {
            std::optional<CountLine> l = CountLineFor(set.app(), g);
            l->attr = QStringLiteral("B%1").arg(b);
            l->book = BookQuantity(set.app(), g, l->attr);
            l->counted = b == 0 ? 0.0 : l->book + b;  // a batch written off, surpluses
            count.lines << *l;
        }
    QCOMPARE(SaveStocktaking(set.app(), count, QString()), QString());
    db.close();

    int postedSeen = 0;
    RunKillLoop(set.setPath(), {15, 400000, QStringLiteral("批号")}, rng, auditOrUnauditCount,
                [&] { checkWholeBook(set.setPath(), &postedSeen); });
    // 6 receipts stay posted each round; the count itself was posted in some.
    QVERIFY(postedSeen > 15 * 6);
}

void TestStockDocKill::killedAuditsLeaveWholeBooks()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName = QStringLiteral("批号");
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 100});
    for (int i = 0; i < GoodsCodes.size(); ++i) {
        GoodsSpec g{GoodsCodes[i], QStringLiteral("货品")};
        g.openingQty = 5 + i;
        g.openingPrice = 2;
        g.openingAmount = (5 + i) * 2;
        g.stock = g.openingQty;
        AddGoods(db, g);
    }
    QRandomGenerator rng(4242);
    for (int d = 0; d < Documents; ++d) {
        StockDoc doc;
        doc.head.number = docNumber(d);
        doc.head.date = QDate(2024, 5, 1).addDays(int(rng.bounded(20)));
        doc.head.unitCode = docUnit(d);
        for (int l = 0; l < 6; ++l) {
            StockDocLine line;
            line.goods = GoodsCodes[int(rng.bounded(GoodsCodes.size()))];
            line.attr = QStringLiteral("B%1").arg(rng.bounded(3));
            line.qty = isReturn(d) ? 1 + rng.bounded(2) : 1 + rng.bounded(9);
            line.price = 1 + rng.bounded(500) / 100.0;
            line.amount = line.qty * line.price;
            doc.lines << line;
        }
        const StockDocPolicy policy = docPolicy(d);
        QCOMPARE(SaveStockDoc(set.app(), policy, StockDocTypeName(db, policy), doc, QString()), QString());
    }
    db.close();

    int auditedSeen = 0;
    RunKillLoop(set.setPath(), {30, 400000, QStringLiteral("批号")}, rng, auditOrUnaudit,
                [&] { checkWholeBook(set.setPath(), &auditedSeen); });
    // The children got as far as committing audits, so the kills fell among real writes.
    QVERIFY(auditedSeen > 0);
}

VX_REGISTER_TEST(TestStockDocKill)
#include "tst_stockdockill.moc"
