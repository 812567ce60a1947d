#include "core/App.h"
#include "core/SavedHintMark.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/B1.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/outbound/D1.h"
#include "documents/outbound/OutboundPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "documents/StockDocTestSupport.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QLineEdit>
#include <QTest>
#include <memory>

// The commands of the receipt and outbound windows refused for an operator
// without the right digit of the kind's word, and the line editor's price
// cells under the setting that locks document prices.
class TestStockDocRights : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandRefusedWithoutItsRight_data();
    void commandRefusedWithoutItsRight();
    void lockedPricesStayClosed_data();
    void lockedPricesStayClosed();
    void stocktakingGuardAndConfirmationAskedOfThePolicy();
};

namespace {

// One saved, unaudited document of the window's kind, then operator "002" with `word`
// in both stock-document words (inbound F62 and outbound F64).
std::unique_ptr<StockDocForm> openWithWord(FreshAccountSet& set, bool outbound, int word)
{
    set.loginAs(QStringLiteral("001"));
    Database& db = set.db();
    RememberSavedHintOff(db);
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 0});
    AddUnit(db, {QStringLiteral("C001"), QStringLiteral("客户一"), UnitKind::Customer, 0});
    GoodsSpec g{QStringLiteral("G1"), QStringLiteral("螺丝")};
    g.cost = 2;
    AddGoods(db, g);
    const StockDocPolicy policy = outbound ? SalesDeliveryPolicy() : PurchaseReceiptPolicy();
    StockDoc doc = stockDoc(QStringLiteral("N1"), QDate::currentDate(),
                            outbound ? QStringLiteral("C001") : QStringLiteral("A001"),
                            {stockLine(QStringLiteral("G1"), 1, 2)});
    const QString caption = StockDocTypeName(db, policy);
    if (!SaveStockDoc(set.app(), policy, caption, doc, {}).isEmpty())
        return nullptr;
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES ('002', '张三', '', 1111, ?, 1111, ?, 1111, 1111, 1111, 1111)"),
               {word, word});
    set.loginAs(QStringLiteral("002"));
    set.app().CanSeeCost = -1;
    set.app().CanSeeProfit = -1;
    if (outbound)
        return std::make_unique<D1>(set.app(), false);
    return std::make_unique<B1>(set.app(), false);
}

}  // namespace

void TestStockDocRights::commandRefusedWithoutItsRight_data()
{
    QTest::addColumn<bool>("outbound");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("action");
    // Digits from the left: print, audit, edit, group on.
    for (bool outbound : {false, true}) {
        const char* kind = outbound ? "outbound" : "receipt";
        for (const char* action : {"Menu_Add", "Menu_edit", "Menu_del"})
            QTest::addRow("%s: %s without the edit digit", kind, action) << outbound << 1101 << QString::fromLatin1(action);
        QTest::addRow("%s: audit without the audit digit", kind) << outbound << 1011 << QStringLiteral("Menu_Ok");
    }
    QTest::addRow("receipt: print without the print digit") << false << 111 << QStringLiteral("Menu_prn0");
}

void TestStockDocRights::commandRefusedWithoutItsRight()
{
    QFETCH(bool, outbound);
    QFETCH(int, word);
    QFETCH(QString, action);
    FreshAccountSet set;
    std::unique_ptr<StockDocForm> w = openWithWord(set, outbound, word);
    QVERIFY(w);
    Database& db = set.db();
    QCOMPARE(control<Grid>(w.get(), "GD")->textMatrix(1, 0), QStringLiteral("N1"));

    MessageScript msgs;
    msgs.expect(QStringLiteral("对不起，您无此权限！"));
    trigger(w.get(), action.toLatin1().constData());
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(msgs.count(), 1);
    // Nothing started and nothing written.
    QCOMPARE(w->Edstu, 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT ifnull(F6, '') || SRT FROM TB1")).toString(), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt(), 0);
}

void TestStockDocRights::lockedPricesStayClosed_data()
{
    QTest::addColumn<bool>("outbound");
    QTest::addColumn<int>("lock");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("opens");
    for (bool outbound : {false, true}) {
        const char* kind = outbound ? "outbound" : "receipt";
        for (int lock : {0, 1}) {
            QTest::addRow("%s, lock %d: price", kind, lock) << outbound << lock << int(LineRole::Price) << (lock == 0);
            QTest::addRow("%s, lock %d: amount", kind, lock) << outbound << lock << int(LineRole::Amount) << (lock == 0);
            QTest::addRow("%s, lock %d: quantity", kind, lock) << outbound << lock << int(LineRole::Quantity) << true;
        }
    }
}

void TestStockDocRights::lockedPricesStayClosed()
{
    QFETCH(bool, outbound);
    QFETCH(int, lock);
    QFETCH(int, role);
    QFETCH(bool, opens);
    FreshAccountSet set;
    std::unique_ptr<StockDocForm> w = openWithWord(set, outbound, 1111);
    QVERIFY(w);
    set.app().LockDocPrice = lock;
    set.app().WithPrices = 1;
    MessageScript msgs;
    trigger(w.get(), "Menu_edit");
    QCOMPARE(w->Edstu, 2);
    const StockDocPolicy policy = outbound ? SalesDeliveryPolicy() : PurchaseReceiptPolicy();
    const int c = policy.columnOf(LineRole(role));
    QVERIFY(c >= 0);
    w->lines().GdMx()->setCurrent(1, c);
    w->lines().GdMx_Click();
    QCOMPARE(!w->lines().TxtEnter()->isHidden(), opens);
    // Enter on the quantity moves to the price only while prices may be changed.
    w->lines().GdMx()->setCurrent(1, policy.columnOf(LineRole::Quantity));
    w->lines().GdMx_Click();
    QVERIFY(!w->lines().TxtEnter()->isHidden());
    QTest::keyClick(w->lines().TxtEnter(), Qt::Key_Return);
    const int next = policy.columnOf(lock == 1 ? LineRole::Remark : LineRole::Price);
    QCOMPARE(w->lines().curMxC(), next);
    QCOMPARE(msgs.count(), 0);
}

void TestStockDocRights::stocktakingGuardAndConfirmationAskedOfThePolicy()
{
    FreshAccountSet set;
    std::unique_ptr<StockDocForm> receipt = openWithWord(set, false, 1111);
    QVERIFY(receipt);
    receipt.reset();
    Database& db = set.db();
    // An unaudited stocktaking keeps adding and unauditing still, by the policy's default rules.
    DocSpec count{QStringLiteral("PD1"), QDate::currentDate(), QStringLiteral("0000"), DocKind::Stocktaking};
    count.typeName = QStringLiteral("库存盘点");
    AddDocument(db, count);
    StockDocPolicy policy = PurchaseReceiptPolicy();
    {
        MessageScript msgs;
        StockDocForm w(set.app(), policy);
        msgs.expect(QStringLiteral("在盘点期间，请不要做任何入库出库操作！"));
        trigger(&w, "Menu_Add");
        QCOMPARE(w.Edstu, 0);
        QCOMPARE(msgs.pending(), 0);
    }
    // A kind that allows adding, and asks one question instead of the scope dialog.
    policy.audit.canAdd = nullptr;
    policy.audit.confirmation = AuditConfirmation::YesNo;
    MessageScript msgs;
    StockDocForm w(set.app(), policy);
    trigger(&w, "Menu_Add");
    QCOMPARE(w.Edstu, 1);
    trigger(&w, "Menu_cancel");
    QCOMPARE(w.Edstu, 0);
    msgs.expect(QStringLiteral("审核后单据将不可修改"), MB::No);
    trigger(&w, "Menu_Ok");
    QVERIFY(db.scalar(QStringLiteral("SELECT ifnull(F6, '') FROM TB1 WHERE F1 = 'N1'")).toString().isEmpty());
    msgs.expect(QStringLiteral("审核后单据将不可修改"), MB::Yes);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB1 WHERE F1 = 'N1'")).toString(), set.app().OperatorName);
}

VX_REGISTER_TEST(TestStockDocRights)
#include "tst_stockdocrights.moc"
