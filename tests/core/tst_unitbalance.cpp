#include "LedgerScript.h"
#include "core/Posting.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The running balance of a business unit's account over its posted rows.
class TestUnitBalance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rechain_data();
    void rechain();
    void rowWithoutAmountStopsAndChangesNothing();
    void unitCodeWithApostrophe();
};

namespace {

// Rows "key yf fk qc qm [flags]": flag u = not audited, o = another unit's row.
void addRows(Database& db, const QString& unit, const QStringList& rows)
{
    int n = 0;
    for (const QString& row : rows) {
        const QStringList t = row.split(QLatin1Char(' '));
        const QString flags = t.value(5);
        db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F6, LB, SRT, QC, YF, FK, QM) "
                                  "VALUES (?, '2024-01-01', ?, ?, 1, ?, ?, ?, ?, ?)"),
                   {QStringLiteral("R%1").arg(++n), flags.contains(QLatin1Char('o')) ? QStringLiteral("B002") : unit,
                    flags.contains(QLatin1Char('u')) ? QString() : QStringLiteral("系统管理员"),
                    t[0] == QLatin1String("-") ? QString() : t[0], t[3].toDouble(), t[1].toDouble(),
                    t[2].toDouble(), t[4].toDouble()});
    }
}

QStringList balances(const Database& db)
{
    QStringList out;
    const RecordSet rs = db.query(QStringLiteral("SELECT QC, QM FROM TB1 ORDER BY rowid"));
    for (int r = 0; r < rs.rowCount(); ++r)
        out << FigureText(rs.value(r, 0)) + QLatin1Char('/') + FigureText(rs.value(r, 1));
    return out;
}

}  // namespace

void TestUnitBalance::rechain_data()
{
    QTest::addColumn<bool>("unitExists");  // with NK 100
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("expected");  // QC/QM of every row

    const QStringList three{"S202401010001 50 0 0 0", "S202401020001 0 80 0 0", "S202401030001 20 20 0 0"};
    QTest::newRow("whole chain from the opening balance")
        << true << three << "" << QStringList{"100/150", "150/70", "70/70"};
    QTest::newRow("a key below every posting key rebuilds the whole chain")
        << true << three << "0" << QStringList{"100/150", "150/70", "70/70"};
    QTest::newRow("from the second row: the first row's balance is the opening")
        << true << QStringList{"S202401010001 50 0 100 150", "S202401020001 0 80 0 0", "S202401030001 20 20 0 0"}
        << "S202401020001" << QStringList{"100/150", "150/70", "70/70"};
    QTest::newRow("an unaudited row below is not an opening")
        << true << QStringList{"S202401010001 50 0 0 999 u", "S202401020001 0 80 0 0"} << "S202401020001"
        << QStringList{"0/999", "100/20"};
    QTest::newRow("unit not in the unit table starts from 0")
        << false << three << "" << QStringList{"0/50", "50/-30", "-30/-30"};
    QTest::newRow("unposted rows and other units' rows stay out")
        << true << QStringList{"- 500 0 7 7", "S202401010001 50 0 0 0", "S202401010002 40 0 1 1 o"} << ""
        << QStringList{"7/7", "100/150", "1/1"};
    QTest::newRow("no posted row: nothing written")
        << true << QStringList{"- 500 0 7 7", "S202401010002 40 0 1 1 o"} << ""
        << QStringList{"7/7", "1/1"};
}

void TestUnitBalance::rechain()
{
    QFETCH(bool, unitExists);
    QFETCH(QStringList, rows);
    QFETCH(QString, from);
    QFETCH(QStringList, expected);

    FreshAccountSet set;
    if (unitExists)
        AddUnit(set.db(), {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    addRows(set.db(), QStringLiteral("A001"), rows);
    RepostUnitBalance(set.db(), from, QStringLiteral("A001"));
    QCOMPARE(balances(set.db()), expected);
}

void TestUnitBalance::rowWithoutAmountStopsAndChangesNothing()
{
    FreshAccountSet set;
    AddUnit(set.db(), {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    addRows(set.db(), QStringLiteral("A001"), {"S202401010001 50 0 0 0", "S202401020001 0 80 0 0"});
    set.db().execute(QStringLiteral("UPDATE TB1 SET YF = NULL WHERE F1 = 'R2'"));
    QVERIFY_THROWS_EXCEPTION(DbError, RepostUnitBalance(set.db(), QString(), QStringLiteral("A001")));
    QCOMPARE(balances(set.db()), (QStringList{"0/0", "0/0"}));
}

void TestUnitBalance::unitCodeWithApostrophe()
{
    FreshAccountSet set;
    AddUnit(set.db(), {QStringLiteral("U'1"), QStringLiteral("奥尼尔"), UnitKind::Customer, 10});
    addRows(set.db(), QStringLiteral("U'1"), {"S202401010001 5 0 0 0", "S202401020001 0 3 0 0"});
    RepostUnitBalance(set.db(), QStringLiteral("S202401020001"), QStringLiteral("U'1"));
    QCOMPARE(balances(set.db()), (QStringList{"0/0", "0/-3"}));
    RepostUnitBalance(set.db(), QString(), QStringLiteral("U'1"));
    QCOMPARE(balances(set.db()), (QStringList{"10/15", "15/12"}));
}

VX_REGISTER_TEST(TestUnitBalance)
#include "tst_unitbalance.moc"
