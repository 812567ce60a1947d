#include "AccountsSupport.h"

#include "accounts/LedgerService.h"
#include "core/App.h"
#include "core/Posting.h"
#include "core/SqlText.h"
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
    void openingFollowsTheSettlementMode_data();
    void openingFollowsTheSettlementMode();
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

namespace {

// Stored rows of unit S9 (TA1.NK 10), one per text "day K QC YF FK QM",
// with the day counted from the period's first day, K "-" for a row without
// a settlement mode and a trailing "u" for an unaudited row. The rows are
// written as stored, chain and all, so a row of one mode can be told from
// a row of the other.
void storeRows(Database& db, const QStringList& rows)
{
    AddUnit(db, {QStringLiteral("S9"), QStringLiteral("供应商九"), UnitKind::Supplier, 10});
    int serial = 0;
    for (const QString& text : rows) {
        const QStringList f = text.split(QLatin1Char(' '));
        const QDate date = Day.addDays(f[0].toInt());
        const bool audited = f.size() < 7;
        db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, LB, K, QC, YF, FK, QM, F6, SRT, S2) "
                                  "VALUES (?, ?, 'S9', 1, ?, ?, ?, ?, ?, ?, ?, '采购入库单')"),
                   {QStringLiteral("D%1").arg(++serial), SqlDate(date),
                    f[1] == QLatin1String("-") ? QVariant() : QVariant(f[1].toInt()), f[2].toDouble(),
                    f[3].toDouble(), f[4].toDouble(), f[5].toDouble(),
                    audited ? QStringLiteral("系统管理员") : QString(),
                    PostingKeyPrefix(date) + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'))});
    }
}

}  // namespace

// Before the period only rows that went to the account (mode 0) give the
// opening; inside it every row counts, whatever its mode. Worked by hand.
void TestLedgers::openingFollowsTheSettlementMode_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<double>>("expected");  // opening, increase, decrease, closing
    QTest::newRow("no rows: the unit's opening") << QStringList{} << QList<double>{10, 0, 0, 10};
    QTest::newRow("last row before settled: the mode-0 row before it")
        << QStringList{"-9 0 10 50 0 60", "-5 1 60 30 0 90"} << QList<double>{60, 0, 0, 60};
    QTest::newRow("same day, settled last: the mode-0 row")
        << QStringList{"-1 0 10 50 0 60", "-1 1 60 20 0 80"} << QList<double>{60, 0, 0, 60};
    QTest::newRow("only settled rows before: the unit's opening")
        << QStringList{"-9 1 10 30 0 40", "-2 1 40 5 0 45"} << QList<double>{10, 0, 0, 10};
    QTest::newRow("settled, then to the account: the last row")
        << QStringList{"-9 1 10 30 0 40", "-2 0 40 5 0 45"} << QList<double>{45, 0, 0, 45};
    QTest::newRow("a row without a mode goes to the account")
        << QStringList{"-9 0 10 50 0 60", "-4 - 60 15 0 75"} << QList<double>{75, 0, 0, 75};
    QTest::newRow("unaudited rows never count")
        << QStringList{"-9 0 10 50 0 60", "-3 0 60 900 0 960 u", "1 0 60 9 0 69 u"} << QList<double>{60, 0, 0, 60};
    QTest::newRow("rows after the period are not before it")
        << QStringList{"-9 0 10 50 0 60", "6 0 60 5 0 65"} << QList<double>{60, 0, 0, 60};
    QTest::newRow("in the period every mode counts, the first row's QC opens")
        << QStringList{"-9 0 10 50 0 60", "-5 1 60 30 0 90", "0 1 90 30 30 90", "3 0 90 5 8 87", "5 1 87 4 4 87"}
        << QList<double>{90, 39, 42, 87};
    QTest::newRow("a settled row alone in the period")
        << QStringList{"-9 0 10 50 0 60", "2 1 60 25 25 60"} << QList<double>{60, 25, 25, 60};
}

void TestLedgers::openingFollowsTheSettlementMode()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<double>, expected);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    storeRows(set.db(), rows);
    const QDate to = Day.addDays(5);
    const auto general = GeneralLedger(set.db(), UnitKind::Supplier, QStringLiteral("S9"), Day, to);
    QCOMPARE(int(general.size()), 1);
    const GeneralLedgerRow& g = general[0];
    QCOMPARE((QList<double>{g.opening, g.increase, g.decrease, g.closing}), expected);
    // The detail ledger shows the same period rows, whatever their mode, and
    // its subtotal agrees with the general ledger; without period rows it is empty.
    const auto detail = DetailLedger(set.db(), UnitKind::Supplier, QStringLiteral("S9"), Day, to);
    if (detail.empty()) {
        QCOMPARE(g.increase, 0.0);
        QCOMPARE(g.decrease, 0.0);
        return;
    }
    const DetailLedgerLine& sub = detail.back();
    QVERIFY(sub.subtotal);
    QCOMPARE((QList<double>{sub.before, sub.increase, sub.decrease, sub.after}), expected);
}

VX_REGISTER_TEST(TestLedgers)
#include "tst_ledgers.moc"
