#include "AccountsSupport.h"

#include "accounts/LedgerService.h"
#include "core/App.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The general and the detail ledger read the balance chain as it is stored.
class TestLedgers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void generalLedgerClosesOnTheLastBalance();
    void unitsWithoutNameOrSharingANameKeepTheirRows();
    void detailLedgerListsRowsWithSubtotals();
};

namespace {

const QDate Day(2026, 3, 5);

struct Books {
    FreshAccountSet set;
    Books()
    {
        set.loginAs(QStringLiteral("001"));
        AddAccountUnits(set.db());
        // Before the period, inside it on both ends, and after it.
        PostStockDocument(set.app(), QStringLiteral("RK0"), Day.addDays(-10), QStringLiteral("S1"), 40);
        AddVoucher(set.app(), DocKind::Payment, QStringLiteral("FK0"), Day.addDays(-10), QStringLiteral("S1"), 15);
        PostStockDocument(set.app(), QStringLiteral("RK1"), Day, QStringLiteral("S1"), 30);
        AddVoucher(set.app(), DocKind::Payment, QStringLiteral("FK1"), Day, QStringLiteral("S1"), 20);
        AddVoucher(set.app(), DocKind::AddedPayable, QStringLiteral("YF1"), Day.addDays(5), QStringLiteral("S1"), 7);
        PostStockDocument(set.app(), QStringLiteral("RK2"), Day.addDays(20), QStringLiteral("S1"), 99);
        // Back-dated into the period after later rows were posted.
        AddVoucher(set.app(), DocKind::Payment, QStringLiteral("FK2"), Day.addDays(1), QStringLiteral("S1"), 4);
        AddVoucher(set.app(), DocKind::AddedPayable, QStringLiteral("YF2"), Day.addDays(-20), QStringLiteral("S2"), 9);
    }
    Database& db() { return set.db(); }
};

}  // namespace

void TestLedgers::generalLedgerClosesOnTheLastBalance()
{
    Books b;
    QCOMPARE(ChainFault(b.db()), QString());
    const auto rows = GeneralLedger(b.db(), UnitKind::Supplier, QString(), Day, Day.addDays(5));
    QCOMPARE(int(rows.size()), 2);
    const GeneralLedgerRow& s1 = rows[0];
    QCOMPARE(s1.code, QStringLiteral("S1"));
    QCOMPARE(s1.opening, 100 + 40 - 15.0);
    QCOMPARE(s1.increase, 30 + 7.0);
    QCOMPARE(s1.decrease, 20 + 4.0);
    QCOMPARE(s1.closing, b.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = 'YF1'")).toDouble());
    QCOMPARE(s1.closing, s1.opening + s1.increase - s1.decrease);
    // No rows in the period: the balance after the last row before it.
    QCOMPARE(rows[1].opening, 9.0);
    QCOMPARE(rows[1].closing, 9.0);
    QCOMPARE(rows[1].increase, 0.0);
    // Over all days the closing is each unit's last QM.
    for (const GeneralLedgerRow& r : GeneralLedger(b.db(), UnitKind::Supplier, QString(), QDate(2000, 1, 1),
                                                   QDate(2099, 1, 1)))
        QCOMPARE(r.closing, b.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F3 = ? ORDER BY SRT DESC, rowid "
                                                         "DESC LIMIT 1"),
                                          {r.code}).toDouble());
    // One unit by its code; no unit for an unknown code.
    QCOMPARE(int(GeneralLedger(b.db(), UnitKind::Supplier, QStringLiteral("s2"), Day, Day).size()), 1);
    QCOMPARE(int(GeneralLedger(b.db(), UnitKind::Supplier, QStringLiteral("X9"), Day, Day).size()), 0);
    // Customers: openings from TA1.NK.
    const auto customers = GeneralLedger(b.db(), UnitKind::Customer, QString(), Day, Day);
    QCOMPARE(int(customers.size()), 2);
    QCOMPARE(customers[0].closing, 50.0);
}

void TestLedgers::unitsWithoutNameOrSharingANameKeepTheirRows()
{
    Books b;
    b.db().execute(QStringLiteral("INSERT INTO TA1 (F1, F2, LB, NK) VALUES ('S3', NULL, 0, 5)"));
    AddUnit(b.db(), {QStringLiteral("S4"), QStringLiteral("供应商一"), UnitKind::Supplier, 6});
    const auto rows = GeneralLedger(b.db(), UnitKind::Supplier, QString(), Day, Day);
    QCOMPARE(int(rows.size()), 4);
    QCOMPARE(rows[2].code, QStringLiteral("S3"));
    QCOMPARE(rows[2].name, QStringLiteral("S3"));
    QCOMPARE(rows[2].closing, 5.0);
    QCOMPARE(rows[3].name, QStringLiteral("供应商一"));
    QCOMPARE(rows[3].closing, 6.0);
    QCOMPARE(rows[0].name, QStringLiteral("供应商一"));
}

void TestLedgers::detailLedgerListsRowsWithSubtotals()
{
    Books b;
    const auto lines = DetailLedger(b.db(), UnitKind::Supplier, QString(), Day.addDays(-20), Day.addDays(5));
    QStringList numbers;
    for (const DetailLedgerLine& l : lines)
        numbers << (l.subtotal ? l.business : l.number);
    QCOMPARE(numbers, (QStringList{"RK0", "FK0", "RK1", "FK1", "FK2", "YF1", DetailSubtotalText, "YF2",
                                   DetailSubtotalText}));
    const DetailLedgerLine& s1 = lines[6];
    QCOMPARE(s1.code, QStringLiteral("S1"));
    QCOMPARE(s1.before, 100.0);
    QCOMPARE(s1.increase, 40 + 30 + 7.0);
    QCOMPARE(s1.decrease, 15 + 20 + 4.0);
    QCOMPARE(s1.after, lines[5].after);
    QVERIFY(lines[0].firstOfUnit && !lines[1].firstOfUnit && lines[7].firstOfUnit);
    QCOMPARE(lines[3].business, QStringLiteral("付款"));
    // Each line's balance before is the balance after the line above.
    for (int i = 1; i < 6; ++i)
        QCOMPARE(lines[size_t(i)].before, lines[size_t(i - 1)].after);
    QCOMPARE(int(DetailLedger(b.db(), UnitKind::Supplier, QStringLiteral("S2"), Day, Day).size()), 0);
}

VX_REGISTER_TEST(TestLedgers)
#include "tst_ledgers.moc"
