#include "MaintenanceFixture.h"
#include "accountsets/YearEndForm.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

// The year-end carry-over through its window.
class TestYearEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void carriesStockAndBalancesOver();
    void onlyTheAdministratorCarriesOver();
    void answeringNoLeavesTheSetUntouched_data();
    void answeringNoLeavesTheSetUntouched();
    void failureLeavesTheSetAsItWas();
    void explanationNamesTheGoodsWord();
};

namespace {

const QStringList Tables{QStringLiteral("TA1"), QStringLiteral("TA4"), QStringLiteral("TB1"), QStringLiteral("TB11")};

void clickCarryOver(YearEnd& w)
{
    w.findChild<QPushButton*>(QStringLiteral("Cmd1"))->click();
}

void expectBothQuestions(MessageScript& msgs, int second = MB::Yes)
{
    msgs.expect(QStringLiteral("警告！此操作危险，结转前必须进行数据备份操作！"), MB::Yes);
    msgs.expect(QStringLiteral("再次警告！此操作危险，一般每年只需操作一次！"), second);
}

}  // namespace

void TestYearEnd::carriesStockAndBalancesOver()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    Database& db = set.db();
    BuildPostedBook(db);
    AddUnit(db, {QStringLiteral("B002"), QStringLiteral("新客户"), UnitKind::Customer, 75});
    db.execute(QStringLiteral("UPDATE TA1 SET NK = 40 WHERE F1 = 'P001'"));
    const RecordSet goodsBefore = db.query(QStringLiteral("SELECT F1, F8, F7, Fje FROM TA4 ORDER BY F1"));
    // A001's chain ends at the payment; the unaudited receipt entered later does not count.
    const double supplierBalance = db.scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = 'FK01'")).toDouble();
    const double customerBalance = db.scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F3 = 'B001' AND F6 <> '' "
                                                            "ORDER BY SRT DESC LIMIT 1"))
                                       .toDouble();
    QCOMPARE(supplierBalance, 100 + 220 - 10 + 45 - 30.0);

    YearEnd w(set.app());
    MessageScript msgs;
    expectBothQuestions(msgs);
    msgs.expect(QStringLiteral("结转操作成功！"));
    clickCarryOver(w);
    QCOMPARE(msgs.count(), 3);
    QCOMPARE(msgs.recorded().at(0).title, QStringLiteral("警告"));
    QCOMPARE(msgs.recorded().at(0).style, MB::YesNo | MB::Question | MB::DefaultButton2);

    const RecordSet goodsAfter = db.query(QStringLiteral("SELECT F1, F8, F7, Fje, V3, V4, V5 FROM TA4 ORDER BY F1"));
    QCOMPARE(goodsAfter.rowCount(), goodsBefore.rowCount());
    for (int r = 0; r < goodsAfter.rowCount(); ++r) {
        QCOMPARE(goodsAfter.number(r, QStringLiteral("V3")), goodsBefore.number(r, QStringLiteral("F8")));
        QCOMPARE(goodsAfter.number(r, QStringLiteral("V4")), goodsBefore.number(r, QStringLiteral("F7")));
        QCOMPARE(goodsAfter.number(r, QStringLiteral("V5")), goodsBefore.number(r, QStringLiteral("Fje")));
        QCOMPARE(goodsAfter.number(r, QStringLiteral("F8")), goodsBefore.number(r, QStringLiteral("F8")));
    }
    const auto nk = [&db](const char* unit) {
        return db.scalar(QStringLiteral("SELECT NK FROM TA1 WHERE F1 = ?"), {QString::fromLatin1(unit)}).toDouble();
    };
    QCOMPARE(nk("A001"), supplierBalance);
    QCOMPARE(nk("B001"), customerBalance);
    QCOMPARE(nk("B002"), 75.0);
    QCOMPARE(nk("P001"), 40.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(), 0);
    // The new year opens from the carried figures: the invariants hold without a single line.
    QCOMPARE(BrokenInvariants(db), QString());
}

void TestYearEnd::onlyTheAdministratorCarriesOver()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '仓管员')"));
    set.loginAs(QStringLiteral("002"));
    BuildPostedBook(set.db());
    const QString before = TableSnapshot(set.db(), Tables);
    YearEnd w(set.app());
    MessageScript msgs;
    msgs.expect(QStringLiteral("只允许以001账号的身份操作此功能！您无权操作！"));
    clickCarryOver(w);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
}

void TestYearEnd::answeringNoLeavesTheSetUntouched_data()
{
    QTest::addColumn<bool>("atFirst");
    QTest::newRow("first question") << true;
    QTest::newRow("second question") << false;
}

void TestYearEnd::answeringNoLeavesTheSetUntouched()
{
    QFETCH(bool, atFirst);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    BuildPostedBook(set.db());
    const QString before = TableSnapshot(set.db(), Tables);
    YearEnd w(set.app());
    MessageScript msgs;
    if (atFirst)
        msgs.expect(QStringLiteral("警告！此操作危险，结转前"), MB::No);
    else
        expectBothQuestions(msgs, MB::No);
    clickCarryOver(w);
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
}

void TestYearEnd::failureLeavesTheSetAsItWas()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    BuildPostedBook(set.db());
    // The last step fails, after goods, units and lines were done.
    set.db().execute(QStringLiteral("CREATE TRIGGER boom BEFORE DELETE ON TB1 BEGIN SELECT RAISE(ABORT, '模拟故障'); END"));
    const QString before = TableSnapshot(set.db(), Tables);
    YearEnd w(set.app());
    MessageScript msgs;
    expectBothQuestions(msgs);
    msgs.expect(QStringLiteral("结转操作没有完成，账套数据保持原样。"));
    clickCarryOver(w);
    QCOMPARE(msgs.count(), 3);
    QVERIFY(msgs.last().text.contains(QStringLiteral("模拟故障")));
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
    QVERIFY(w.isEnabled());
}

void TestYearEnd::explanationNamesTheGoodsWord()
{
    FreshAccountSet set;
    set.app().GoodsTerm = QStringLiteral("商品");
    YearEnd w(set.app());
    const QString text = w.findChild<QLabel*>(QStringLiteral("labinf"))->text();
    QVERIFY(text.startsWith(QStringLiteral("\n    警告！本功能将清除所有单据信息，请小心操作！")));
    QVERIFY(text.contains(QStringLiteral("    1.把所有商品数量、金额结转为年初余额；")));
    QCOMPARE(w.windowTitle(), QStringLiteral("年度结转"));
}

VX_REGISTER_TEST(TestYearEnd)
#include "tst_yearend.moc"
