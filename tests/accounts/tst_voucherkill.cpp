#include "AccountsSupport.h"

#include "accounts/VoucherService.h"
#include "core/App.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/KillLoop.h"
#include "support/TestRegistry.h"

#include <QTest>

// Voucher saves, edits and deletes killed at random moments leave every balance chain whole.
class TestVoucherKill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedVoucherWritesLeaveWholeChains();
};

namespace {

const QStringList Units{QStringLiteral("S1"), QStringLiteral("S2")};
constexpr int Vouchers = 20;

// The child's step: adds a voucher, or edits it (to another unit and day) or deletes it.
void writeVoucher(App& app, QRandomGenerator& rng)
{
    const VoucherSide side = VoucherSideOf(DocKind::Payment);
    const QString no = QStringLiteral("FK%1").arg(rng.bounded(Vouchers));
    VoucherInput input{no, QDate(2026, 3, 1).addDays(int(rng.bounded(20))), Units[int(rng.bounded(2))],
                       QString::number(1 + rng.bounded(90)), {}, {}};
    const QString version = StoredVoucherVersion(app.CurrentDatabase, side, no);
    if (version.isEmpty()) {
        SaveVoucher(app, side, input, nullptr);
    } else if (rng.bounded(2) == 0) {
        const LoadedVoucher loaded{no, version};
        SaveVoucher(app, side, input, &loaded);
    } else {
        DeleteVoucher(app.CurrentDatabase, side, {no, version});
    }
}

}  // namespace

void TestVoucherKill::killedVoucherWritesLeaveWholeChains()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    Database& db = set.db();
    AddAccountUnits(db);
    for (int d = 0; d < 8; ++d)
        PostStockDocument(set.app(), QStringLiteral("RK%1").arg(d), QDate(2026, 3, 1).addDays(d * 2), Units[d % 2],
                          10 + d);
    db.close();

    QRandomGenerator rng(777);
    int vouchersSeen = 0;
    RunKillLoop(set.setPath(), {25, 300000, {}}, rng, writeVoucher, [&] {
        Database check;
        check.open(set.setPath());
        QCOMPARE(check.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(ChainFault(check), QString());
        QCOMPARE(check.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE F1 LIKE 'RK%'")).toInt(), 8);
        vouchersSeen += check.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE LB = 10")).toInt();
    });
    // The children got as far as committing vouchers, so the kills fell among real writes.
    QVERIFY(vouchersSeen > 0);
}

VX_REGISTER_TEST(TestVoucherKill)
#include "tst_voucherkill.moc"
