#include "AccountsSupport.h"

#include "accounts/LedgerService.h"
#include "accounts/VoucherService.h"
#include "core/App.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Saving and deleting vouchers: keys, chains, whole-or-nothing writes, the
// amount rule, the kind filter and the check against other workstations.
class TestVoucherService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyFollowsEveryPostedKeyOfTheDay();
    void chainsStayWholeWhenVouchersAndDocumentsMix_data();
    void chainsStayWholeWhenVouchersAndDocumentsMix();
    void equalKeysWalkInRowOrder();
    void voucherRowCarriesZeroInItsOtherColumn();
    void amountValue_data();
    void amountValue();
    void refusalsWriteNothing();
    void failedEditLeavesStoredVoucherAndBalances();
    void editMovesVoucherBetweenUnits();
    void changedElsewhereIsRefused();
    void listConditionCannotEscapeTheKind();
};

namespace {

struct Books {
    FreshAccountSet set;
    Books()
    {
        set.loginAs(QStringLiteral("001"));
        AddAccountUnits(set.db());
    }
    App& app() { return set.app(); }
    Database& db() { return set.db(); }
    QString key(const QString& number) { return SqlText("SELECT SRT FROM TB1 WHERE F1 = ?", number); }
    // The version a window that listed the voucher now holds.
    LoadedVoucher loaded(DocKind kind, const QString& number)
    {
        return {number, StoredVoucherVersion(db(), VoucherSideOf(kind), number)};
    }
    double qm(const QString& number) { return db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = ?"), {number}).toDouble(); }
    QString SqlText(const char* sql, const QString& arg)
    {
        return db().scalar(QString::fromUtf8(sql), {arg}).toString();
    }
};

const QDate Day(2026, 3, 5);

QString TB1Snapshot(const Database& db)
{
    QStringList rows;
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, SRT, QC, QM, YF, FK FROM TB1 ORDER BY F1"));
    for (int r = 0; r < rs.rowCount(); ++r)
        rows << QStringList{rs.text(r, 0), rs.text(r, 1), rs.text(r, 2), rs.text(r, 3), rs.text(r, 4), rs.text(r, 5)}
                    .join(QLatin1Char(','));
    return rows.join(QLatin1Char(';'));
}

}  // namespace

void TestVoucherService::keyFollowsEveryPostedKeyOfTheDay()
{
    Books b;
    PostStockDocument(b.app(), QStringLiteral("RK1"), Day, QStringLiteral("S1"), 10);
    AddVoucher(b.app(), DocKind::Payment, QStringLiteral("FK1"), Day, QStringLiteral("S1"), 3);
    AddVoucher(b.app(), DocKind::AddedPayable, QStringLiteral("YF1"), Day, QStringLiteral("S1"), 4);
    PostStockDocument(b.app(), QStringLiteral("RK2"), Day, QStringLiteral("S1"), 5);
    // Each row of the day holds a key of its own, in the order they were posted.
    QCOMPARE(b.key(QStringLiteral("RK1")), QStringLiteral("S202603050001"));
    QCOMPARE(b.key(QStringLiteral("FK1")), QStringLiteral("S202603050002"));
    QCOMPARE(b.key(QStringLiteral("YF1")), QStringLiteral("S202603050003"));
    QCOMPARE(b.key(QStringLiteral("RK2")), QStringLiteral("S202603050004"));
    // Unauditing the stock document re-chains from its key and keeps the vouchers in the balance.
    UnpostDocument(b.db(), PostingRules::of(b.app()), QStringLiteral("RK2"));
    QCOMPARE(b.qm(QStringLiteral("YF1")), 100 + 10 - 3 + 4.0);
    QCOMPARE(ChainFault(b.db()), QString());
}

void TestVoucherService::chainsStayWholeWhenVouchersAndDocumentsMix_data()
{
    // Steps: "R" stock document, "Y" added payable, "P" payment, "D" delete the
    // last voucher, "E" edit the last voucher to the day before; each with a day offset.
    QTest::addColumn<QString>("steps");
    QTest::newRow("same day alternating") << "R0 Y0 P0 R0 Y0";
    QTest::newRow("vouchers back-dated before documents") << "R5 R6 Y1 P2 R7";
    QTest::newRow("documents back-dated before vouchers") << "Y5 P6 R1 R2 Y7";
    QTest::newRow("edit moves a voucher back") << "R3 Y4 R5 P6 E";
    QTest::newRow("delete inside the chain") << "R1 Y2 P3 R4 D R5";
}

void TestVoucherService::chainsStayWholeWhenVouchersAndDocumentsMix()
{
    QFETCH(QString, steps);
    Books b;
    int n = 0;
    QString lastVoucher;
    DocKind lastKind = DocKind::AddedPayable;
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        ++n;
        const QDate date = Day.addDays(step.mid(1).toInt());
        for (const QString unit : {QStringLiteral("S1"), QStringLiteral("S2")}) {
            const QString no = step.left(1) + QString::number(n) + unit;
            if (step[0] == QLatin1Char('R')) {
                PostStockDocument(b.app(), no, date, unit, 10 * n);
            } else if (step[0] == QLatin1Char('Y') || step[0] == QLatin1Char('P')) {
                lastKind = step[0] == QLatin1Char('Y') ? DocKind::AddedPayable : DocKind::Payment;
                AddVoucher(b.app(), lastKind, no, date, unit, 3 * n);
                lastVoucher = no;
            } else if (step[0] == QLatin1Char('D')) {
                QCOMPARE(int(DeleteVoucher(b.db(), VoucherSideOf(lastKind), b.loaded(lastKind, lastVoucher))),
                         int(VoucherDeleteStatus::Deleted));
                break;
            } else {
                const LoadedVoucher loaded = b.loaded(lastKind, lastVoucher);
                VoucherInput input{lastVoucher, Day.addDays(-1), QStringLiteral("S2"), QStringLiteral("7"), {}, {}};
                QCOMPARE(int(SaveVoucher(b.app(), VoucherSideOf(lastKind), input, &loaded).status),
                         int(VoucherSaveStatus::Saved));
                break;
            }
        }
        QCOMPARE(ChainFault(b.db()), QString());
    }
    // The general ledger over every day closes each unit on its last balance.
    for (const GeneralLedgerRow& r :
         GeneralLedger(b.db(), UnitKind::Supplier, QString(), QDate(2000, 1, 1), QDate(2099, 12, 31)))
        QCOMPARE(r.closing, b.db().scalar(QStringLiteral("SELECT ifnull((SELECT QM FROM TB1 WHERE F3 = ? AND SRT <> '' "
                                                         "ORDER BY SRT DESC, rowid DESC LIMIT 1), NK) FROM TA1 "
                                                         "WHERE F1 = ?"),
                                          {r.code, r.code}).toDouble());
    const int shared = b.db().scalar(QStringLiteral("SELECT count(*) FROM (SELECT SRT FROM TB1 WHERE SRT <> '' "
                                                    "GROUP BY SRT HAVING count(*) > 1)")).toInt();
    QCOMPARE(shared, 0);
}

void TestVoucherService::equalKeysWalkInRowOrder()
{
    // Books written by an older program may hold vouchers sharing a key: the
    // walk takes them in row order, whatever order the database returns.
    Books b;
    Database& db = b.db();
    for (const char* no : {"YF9", "YF8", "YF7"})
        db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F6, LB, SRT, YF, FK) VALUES (?, '2026-03-05', 'S1', "
                                  "'系统管理员', 100, 'S202603050001', ?, 0)"),
                   {QString::fromLatin1(no), QString::fromLatin1(no).mid(2).toDouble()});
    RepostUnitBalance(db, QString(), QStringLiteral("S1"));
    QCOMPARE(b.qm(QStringLiteral("YF9")), 109.0);
    QCOMPARE(b.qm(QStringLiteral("YF8")), 117.0);
    QCOMPARE(b.qm(QStringLiteral("YF7")), 124.0);
    QCOMPARE(ChainFault(db), QString());
}

void TestVoucherService::voucherRowCarriesZeroInItsOtherColumn()
{
    Books b;
    AddVoucher(b.app(), DocKind::AddedReceivable, QStringLiteral("YS1"), Day, QStringLiteral("C1"), 20);
    AddVoucher(b.app(), DocKind::Receipt, QStringLiteral("SK1"), Day, QStringLiteral("C1"), 8);
    const RecordSet rs = b.db().query(QStringLiteral("SELECT F1, typeof(YF), YF, typeof(FK), FK, QM, F6, S2, K, F2 "
                                                     "FROM TB1 ORDER BY SRT"));
    QCOMPARE(rs.text(0, 1), QStringLiteral("real"));
    QCOMPARE(rs.number(0, 4), 0.0);
    QCOMPARE(rs.text(0, 3), QStringLiteral("real"));
    QCOMPARE(rs.number(0, 5), 70.0);
    QCOMPARE(rs.text(0, 7), QStringLiteral("增加应收"));
    QCOMPARE(rs.number(1, 2), 0.0);
    QCOMPARE(rs.number(1, 4), 8.0);
    QCOMPARE(rs.number(1, 5), 62.0);
    QCOMPARE(rs.text(1, 6), b.app().OperatorName);
    QCOMPARE(rs.text(1, 7), QStringLiteral("收款"));
    QCOMPARE(rs.text(1, 9), QStringLiteral("2026-03-05"));
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 100")).toInt(), 2);
}

void TestVoucherService::amountValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12" << true << 12.0;
    QTest::newRow("decimals and blanks") << " 12.50 " << true << 12.5;
    QTest::newRow("negative") << "-50" << true << -50.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("letters after digits") << "12abc" << false << 0.0;
    QTest::newRow("thousands separator") << "1,000" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("exponent") << "1e3" << false << 0.0;
}

void TestVoucherService::amountValue()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> v = VoucherAmountValue(text);
    QCOMPARE(v.has_value(), valid);
    if (valid)
        QCOMPARE(*v, value);
}

void TestVoucherService::refusalsWriteNothing()
{
    Books b;
    const VoucherSide payable = VoucherSideOf(DocKind::AddedPayable);
    const auto tryInput = [&](VoucherInput in) { return SaveVoucher(b.app(), payable, in, nullptr).status; };
    QCOMPARE(tryInput({QStringLiteral("YF1"), Day, QStringLiteral("C1"), QStringLiteral("5"), {}, {}}),
             VoucherSaveStatus::UnitUnknown);
    QCOMPARE(tryInput({QStringLiteral("YF1"), Day, QStringLiteral("S1.x"), QStringLiteral("12abc"), {}, {}}),
             VoucherSaveStatus::BadAmount);
    QCOMPARE(tryInput({QStringLiteral("YF1"), Day, QStringLiteral("S1"), QStringLiteral("1,000"), {}, {}}),
             VoucherSaveStatus::BadAmount);
    QCOMPARE(tryInput({QStringLiteral("YF1"), Day, QStringLiteral("S1"), QStringLiteral("0"), {}, {}}),
             VoucherSaveStatus::BadAmount);
    PostStockDocument(b.app(), QStringLiteral("RK1"), Day, QStringLiteral("S1"), 10);
    QCOMPARE(tryInput({QStringLiteral("rk1"), Day, QStringLiteral("S1"), QStringLiteral("5"), {}, {}}),
             VoucherSaveStatus::NumberTaken);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 1);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 100")).toInt(), 0);
}

void TestVoucherService::failedEditLeavesStoredVoucherAndBalances()
{
    Books b;
    AddVoucher(b.app(), DocKind::AddedPayable, QStringLiteral("YF1"), Day, QStringLiteral("S1"), 20);
    PostStockDocument(b.app(), QStringLiteral("RK1"), Day.addDays(1), QStringLiteral("S1"), 10);
    const QString snapshot = TB1Snapshot(b.db());
    // The insert of the edited voucher fails after the stored row was deleted and the unit re-chained.
    b.db().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON TB1 WHEN NEW.F1 = 'YF1' "
                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    const LoadedVoucher loaded = b.loaded(DocKind::AddedPayable, QStringLiteral("YF1"));
    VoucherInput input{QStringLiteral("YF1"), Day, QStringLiteral("S1"), QStringLiteral("30"), {}, {}};
    QVERIFY_THROWS_EXCEPTION(DbError, SaveVoucher(b.app(), VoucherSideOf(DocKind::AddedPayable), input, &loaded));
    b.db().execute(QStringLiteral("DROP TRIGGER refuse"));
    QCOMPARE(TB1Snapshot(b.db()), snapshot);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 100")).toInt(), 1);
}

void TestVoucherService::editMovesVoucherBetweenUnits()
{
    Books b;
    AddVoucher(b.app(), DocKind::AddedPayable, QStringLiteral("YF1"), Day, QStringLiteral("S1"), 20);
    PostStockDocument(b.app(), QStringLiteral("RK1"), Day.addDays(1), QStringLiteral("S1"), 10);
    PostStockDocument(b.app(), QStringLiteral("RK2"), Day.addDays(1), QStringLiteral("S2"), 10);
    const LoadedVoucher loaded = b.loaded(DocKind::AddedPayable, QStringLiteral("YF1"));
    VoucherInput input{QStringLiteral("yf1"), Day.addDays(-3), QStringLiteral("S2.供应商二"), QStringLiteral("25"),
                       {}, {}};
    const VoucherSaveResult r = SaveVoucher(b.app(), VoucherSideOf(DocKind::AddedPayable), input, &loaded);
    QCOMPARE(int(r.status), int(VoucherSaveStatus::Saved));
    QCOMPARE(r.key, QStringLiteral("S202603020001"));
    QCOMPARE(b.qm(QStringLiteral("RK1")), 110.0);
    QCOMPARE(b.qm(QStringLiteral("RK2")), 35.0);
    QCOMPARE(ChainFault(b.db()), QString());
}

void TestVoucherService::changedElsewhereIsRefused()
{
    Books b;
    AddVoucher(b.app(), DocKind::Payment, QStringLiteral("FK1"), Day, QStringLiteral("S1"), 20);
    const LoadedVoucher loaded = b.loaded(DocKind::Payment, QStringLiteral("FK1"));
    // Another workstation saves the voucher again, even unchanged: it gets a new key.
    {
        const LoadedVoucher theirs = loaded;
        VoucherInput input{QStringLiteral("FK1"), Day, QStringLiteral("S1"), QStringLiteral("20"), {}, {}};
        QCOMPARE(int(SaveVoucher(b.app(), VoucherSideOf(DocKind::Payment), input, &theirs).status),
                 int(VoucherSaveStatus::Saved));
    }
    VoucherInput mine{QStringLiteral("FK1"), Day, QStringLiteral("S1"), QStringLiteral("99"), {}, {}};
    QCOMPARE(int(SaveVoucher(b.app(), VoucherSideOf(DocKind::Payment), mine, &loaded).status),
             int(VoucherSaveStatus::Stale));
    QCOMPARE(int(DeleteVoucher(b.db(), VoucherSideOf(DocKind::Payment), loaded)), int(VoucherDeleteStatus::Stale));
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT FK FROM TB1 WHERE F1 = 'FK1'")).toDouble(), 20.0);
    // Deleted elsewhere: the edit is refused, not turned into an add.
    const LoadedVoucher fresh = b.loaded(DocKind::Payment, QStringLiteral("FK1"));
    QCOMPARE(int(DeleteVoucher(b.db(), VoucherSideOf(DocKind::Payment), fresh)), int(VoucherDeleteStatus::Deleted));
    const LoadedVoucher gone = fresh;
    QCOMPARE(int(SaveVoucher(b.app(), VoucherSideOf(DocKind::Payment), mine, &gone).status),
             int(VoucherSaveStatus::Stale));
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
}

void TestVoucherService::listConditionCannotEscapeTheKind()
{
    Books b;
    PostStockDocument(b.app(), QStringLiteral("RK1"), Day, QStringLiteral("S1"), 10);
    AddVoucher(b.app(), DocKind::Payment, QStringLiteral("FK1"), Day, QStringLiteral("S1"), 3);
    AddVoucher(b.app(), DocKind::AddedPayable, QStringLiteral("YF1"), Day, QStringLiteral("S1"), 3);
    const VoucherSide side = VoucherSideOf(DocKind::Payment);
    const QString typed = VoucherListHead(side) + QStringLiteral(" Where (TB1.F1='FK1' or 1=1)");
    const QString statement = VoucherListStatement(typed, side);
    const VoucherList list = ListVouchers(b.db(), statement, QStringLiteral(" order by TB1.F2 "));
    QCOMPARE(list.rows, 1);
    QCOMPARE(list.cells[0], QStringLiteral("FK1"));
    QCOMPARE(list.cells[1], QStringLiteral("2026-3-5"));
    QCOMPARE(list.cells[2], QStringLiteral("S1.供应商一"));
    QCOMPARE(list.cells[5], QStringLiteral("3"));
    QCOMPARE(list.versions, QStringList{b.loaded(DocKind::Payment, QStringLiteral("FK1")).version});
    // The head alone (a query without conditions) lists every voucher of the kind.
    QCOMPARE(ListVouchers(b.db(), VoucherListStatement(VoucherListHead(side), side), QStringLiteral(" order by TB1.F1")).rows, 1);
    // A stock document's number is no voucher of the window's kind: it cannot be deleted.
    QCOMPARE(int(DeleteVoucher(b.db(), side, {QStringLiteral("RK1"), QString()})),
             int(VoucherDeleteStatus::NoKey));
    QCOMPARE(int(DeleteVoucher(b.db(), side, b.loaded(DocKind::AddedPayable, QStringLiteral("YF1")))),
             int(VoucherDeleteStatus::NoKey));
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 3);
}

VX_REGISTER_TEST(TestVoucherService)
#include "tst_voucherservice.moc"
