#include "MaintenanceFixture.h"
#include "accountsets/ClearingForm.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

// The data clearing through its window: the dependency rules, what each box
// clears and what it makes again, whole or not at all.
class TestClearing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tickingGoodsTicksDocumentsAndStock();
    void refusals_data();
    void refusals();
    void documentsAloneResetTheStockToOpening();
    void zeroingTheStockZeroesItsAmount();
    void goodsAndCategoriesGo();
    void stockAloneWithUnauditedDocuments();
    void mastersAreMadeAgainWithDistinctCodes();
    void answeringNoLeavesTheSetUntouched();
    void failureLeavesTheSetAsItWas();
};

namespace {

const QStringList Tables{QStringLiteral("TA1"), QStringLiteral("TA3"), QStringLiteral("TA4"), QStringLiteral("Bom"),
                         QStringLiteral("TB1"), QStringLiteral("TB11"), QStringLiteral("DanNo"),
                         QStringLiteral("sysinfo")};

// Ticks the boxes named by the positions of "1" in `boxes` ("101000": 0 and 2),
// the last box first, so that boxes 0 and 1 end as given after box 2 ticked them.
void tick(S3& w, const QString& boxes)
{
    for (int i = 5; i >= 0; --i)
        w.findChild<QCheckBox*>(QStringLiteral("ChK%1").arg(i))->setChecked(boxes.at(i) == QLatin1Char('1'));
}

void clickRun(S3& w)
{
    w.findChild<QPushButton*>(QStringLiteral("Cmd0"))->click();
}

// Runs the clearing of `boxes`, confirming the question; answers the messages.
void clear(S3& w, const QString& boxes, MessageScript& msgs)
{
    tick(w, boxes);
    msgs.expect(QStringLiteral("真要清除您所选择的数据吗？"), MB::Yes);
    msgs.expect(QStringLiteral("系统数据清除成功！"));
    clickRun(w);
}

double value(const Database& db, const QString& sql)
{
    return db.scalar(sql).toDouble();
}

void addLeftovers(Database& db)
{
    db.execute(QStringLiteral("INSERT INTO TC2 (F1) VALUES ('x')"));
    db.execute(QStringLiteral("INSERT INTO DanNo (DanF1, Flg, Other) VALUES ('RK2405130001', 1, '001')"));
    db.execute(QStringLiteral("UPDATE sysinfo SET setval = 57 WHERE ID = 100"));
    AddBomPart(db, QStringLiteral("G1"), QStringLiteral("G2"), 2);
}

}  // namespace

void TestClearing::tickingGoodsTicksDocumentsAndStock()
{
    FreshAccountSet set;
    S3 w(set.app());
    w.findChild<QCheckBox*>(QStringLiteral("ChK2"))->click();
    QVERIFY(w.ChK[0]->isChecked());
    QVERIFY(w.ChK[1]->isChecked());
    QVERIFY(!w.ChK[3]->isChecked());
    // Each can be unticked again by hand.
    w.ChK[0]->click();
    QVERIFY(!w.ChK[0]->isChecked());
    QVERIFY(w.ChK[2]->isChecked());
}

void TestClearing::refusals_data()
{
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::newRow("nothing ticked") << "000000" << "请选择要清除的对象！" << "提示";
    QTest::newRow("stock with audited documents") << "010000" << "要把系统库存数量清零，必须同时选择“清除所有进出单据记录”！" << "";
    QTest::newRow("goods without documents") << "001000" << "要清除所有货品档案，必须同时选择“清除所有进出单据记录”！" << "";
    QTest::newRow("suppliers with their documents") << "000100" << "要清除供应商档案，必须同时选择“清除所有进出单据记录”！" << "";
    QTest::newRow("customers with their documents") << "000010" << "要清除客户档案，必须同时选择“清除所有进出单据记录”！" << "";
    QTest::newRow("departments with any stock document") << "000001" << "要清除部门档案，必须同时选择“清除所有进出单据记录”！" << "";
}

void TestClearing::refusals()
{
    QFETCH(QString, boxes);
    QFETCH(QString, message);
    QFETCH(QString, title);
    FreshAccountSet set;
    BuildPostedBook(set.db());
    const QString before = TableSnapshot(set.db(), Tables);
    S3 w(set.app());
    tick(w, boxes);
    MessageScript msgs;
    msgs.expect(message);
    clickRun(w);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, message);
    QCOMPARE(msgs.last().title, title);
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
}

void TestClearing::documentsAloneResetTheStockToOpening()
{
    FreshAccountSet set;
    Database& db = set.db();
    BuildPostedBook(db);
    addLeftovers(db);
    const int units = db.scalar(QStringLiteral("SELECT count(*) FROM TA1")).toInt();
    S3 w(set.app());
    MessageScript msgs;
    clear(w, QStringLiteral("100000"), msgs);
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(msgs.recorded().at(0).title, QStringLiteral("警告"));
    for (const char* table : {"TB1", "TB11", "TC2", "DanNo"})
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt(), 0);
    QCOMPARE(value(db, QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 100")), 1.0);
    QCOMPARE(value(db, QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")), 5.0);
    QCOMPARE(value(db, QStringLiteral("SELECT F7 FROM TA4 WHERE F1 = 'G1'")), 10.0);
    QCOMPARE(value(db, QStringLiteral("SELECT Fje FROM TA4 WHERE F1 = 'G1'")), 50.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TA1")).toInt(), units);
    QCOMPARE(BrokenInvariants(db), QString());
}

void TestClearing::zeroingTheStockZeroesItsAmount()
{
    FreshAccountSet set;
    Database& db = set.db();
    BuildPostedBook(db);
    S3 w(set.app());
    MessageScript msgs;
    clear(w, QStringLiteral("110000"), msgs);
    const RecordSet g = db.query(QStringLiteral("SELECT F8, V3, V5, Fje, F7, V4 FROM TA4 WHERE F1 = 'G1'"));
    QCOMPARE(g.number(0, QStringLiteral("F8")), 0.0);
    QCOMPARE(g.number(0, QStringLiteral("V3")), 0.0);
    QCOMPARE(g.number(0, QStringLiteral("V5")), 0.0);
    // No stock can keep an amount: the refresh would give 0 as well.
    QCOMPARE(g.number(0, QStringLiteral("Fje")), 0.0);
    QCOMPARE(g.number(0, QStringLiteral("V4")), 10.0);
    QVERIFY(g.number(0, QStringLiteral("F7")) != 0.0);
    QCOMPARE(BrokenInvariants(db), QString());
}

void TestClearing::goodsAndCategoriesGo()
{
    FreshAccountSet set;
    Database& db = set.db();
    BuildPostedBook(db);
    addLeftovers(db);
    db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('001', '五金')"));
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('B001', 'G1', 20)"));
    S3 w(set.app());
    w.findChild<QCheckBox*>(QStringLiteral("ChK2"))->click();
    MessageScript msgs;
    msgs.expect(QStringLiteral("真要清除您所选择的数据吗？"), MB::Yes);
    msgs.expect(QStringLiteral("系统数据清除成功！"));
    clickRun(w);
    QCOMPARE(msgs.count(), 2);
    const RecordSet categories = db.query(QStringLiteral("SELECT F1, F2 FROM TA3"));
    QCOMPARE(categories.rowCount(), 1);
    QCOMPARE(categories.text(0, 0), QStringLiteral("000"));
    QCOMPARE(categories.text(0, 1), QStringLiteral("无类别"));
    for (const char* table : {"TA4", "Bom", "TB1", "TB11"})
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM KhPrice")).toInt(), 1);
}

void TestClearing::stockAloneWithUnauditedDocuments()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {.code = QStringLiteral("G1"), .name = QStringLiteral("螺丝"), .cost = 4, .stock = 3, .amount = 12,
                  .openingQty = 3, .openingPrice = 4, .openingAmount = 12});
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商甲"), UnitKind::Supplier});
    AddDocument(db, {.number = QStringLiteral("RK01"), .unit = QStringLiteral("A001"),
                     .lines = {{QStringLiteral("G1"), 2, 5}}});
    S3 w(set.app());
    MessageScript msgs;
    clear(w, QStringLiteral("010000"), msgs);
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(value(db, QStringLiteral("SELECT F8 FROM TA4")), 0.0);
    QCOMPARE(value(db, QStringLiteral("SELECT Fje FROM TA4")), 0.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(), 1);
}

void TestClearing::mastersAreMadeAgainWithDistinctCodes()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("S7"), QStringLiteral("旧供应商"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户乙"), UnitKind::Customer});
    AddUnit(db, {QStringLiteral("C001"), QStringLiteral("客户丙"), UnitKind::Customer});
    AddUnit(db, {QStringLiteral("D1"), QStringLiteral("旧部门"), UnitKind::Department});
    // Only customer documents: the suppliers may go.
    AddDocument(db, {.number = QStringLiteral("CK01"), .unit = QStringLiteral("B001"), .kind = DocKind::Outbound,
                     .lines = {{QStringLiteral("G1"), 1, 5}}});
    S3 w(set.app());
    MessageScript msgs;
    clear(w, QStringLiteral("000100"), msgs);
    QCOMPARE(msgs.count(), 2);
    const RecordSet suppliers = db.query(QStringLiteral("SELECT F1, F2 FROM TA1 WHERE LB = 0"));
    QCOMPARE(suppliers.rowCount(), 1);
    QCOMPARE(suppliers.text(0, 0), QStringLiteral("A001"));
    QCOMPARE(suppliers.text(0, 1), QStringLiteral("默认供应商"));

    db.execute(QStringLiteral("DELETE FROM TB1"));
    db.execute(QStringLiteral("DELETE FROM TB11"));
    clear(w, QStringLiteral("000001"), msgs);
    const RecordSet departments = db.query(QStringLiteral("SELECT F1, F2 FROM TA1 WHERE LB = 8"));
    QCOMPARE(departments.rowCount(), 1);
    QCOMPARE(departments.text(0, 1), QStringLiteral("部门一"));
    // Codes stay unique over all units: C001 belongs to a customer already.
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TA1 GROUP BY F1 ORDER BY count(*) DESC LIMIT 1")).toInt(), 1);
    // The reserved stocktaking unit is never cleared.
    QCOMPARE(db.scalar(QStringLiteral("SELECT LB FROM TA1 WHERE F1 = '0000'")).toInt(), 7);
}

void TestClearing::answeringNoLeavesTheSetUntouched()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    const QString before = TableSnapshot(set.db(), Tables);
    S3 w(set.app());
    tick(w, QStringLiteral("111111"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("强烈建议您在清除数据之前进行数据备份操作！"), MB::No);
    clickRun(w);
    QCOMPARE(msgs.last().style, MB::YesNo | MB::Question | MB::DefaultButton2);
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
}

void TestClearing::failureLeavesTheSetAsItWas()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    addLeftovers(set.db());
    // Documents, stock and categories are done when the goods refuse to go.
    set.db().execute(QStringLiteral("CREATE TRIGGER boom BEFORE DELETE ON TA4 BEGIN SELECT RAISE(ABORT, '模拟故障'); END"));
    const QString before = TableSnapshot(set.db(), Tables);
    S3 w(set.app());
    tick(w, QStringLiteral("111111"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("真要清除您所选择的数据吗？"), MB::Yes);
    msgs.expect(QStringLiteral("数据清除没有完成，账套数据保持原样。"));
    clickRun(w);
    QCOMPARE(msgs.count(), 2);
    QVERIFY(msgs.last().text.contains(QStringLiteral("模拟故障")));
    QCOMPARE(TableSnapshot(set.db(), Tables), before);
    QVERIFY(w.isEnabled());
}

VX_REGISTER_TEST(TestClearing)
#include "tst_clearing.moc"
