#include "core/App.h"
#include "core/SavedHintMark.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "documents/StockDocTestSupport.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/supplierreturn/B3.h"
#include "documents/supplierreturn/SupplierReturnPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "print/Myprn.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The return-to-supplier window in both modes, driven through its named controls.
class TestB3 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void returnWithPickedAttribute_data();
    void returnWithPickedAttribute();
    void shortageRefusesTheWholeAudit_data();
    void shortageRefusesTheWholeAudit();
    void costRollUpAfterAuditAndUnaudit();
    void printStagesTheReturn_data();
    void printStagesTheReturn();
    void dateChangeReservesTheNewNumber();
    void mainMenuOpensBothModes();
};

namespace {

void prepare(FreshAccountSet& set)
{
    prepareDocBooks(set, DocSide::Supplier, true, 40);
}

// A posted receipt of `qty` G1 with the attribute value LOT1 and G2 without one.
void receive(FreshAccountSet& set, double qty, const QDate& date = QDate::currentDate().addDays(-1))
{
    receiveStock(set, QStringLiteral("RK0"), date,
                 {{QStringLiteral("G1"), qty, 2, QStringLiteral("LOT1")}, {QStringLiteral("G2"), qty, 1, QString()}});
}

StockDocPolicy policyOf(bool department)
{
    return department ? ReworkReturnPolicy() : PurchaseReturnPolicy();
}

}  // namespace

void TestB3::returnWithPickedAttribute_data()
{
    QTest::addColumn<bool>("department");
    QTest::newRow("purchase return") << false;
    QTest::newRow("rework return") << true;
}

void TestB3::returnWithPickedAttribute()
{
    QFETCH(bool, department);
    FreshAccountSet set;
    prepare(set);
    receive(set, 10);
    Database& db = set.db();
    MessageScript msgs;
    B3 w(set.app(), department);
    w.show();
    QCOMPARE(w.windowTitle(), department ? QStringLiteral("次品返工单") : QStringLiteral("采购退货单"));
    QCOMPARE(control<QLabel>(&w, "Lab0")->text(), QStringLiteral("退货单号"));
    QCOMPARE(control<QLabel>(&w, "Lab2")->text(), department ? QStringLiteral("相关部门") : QStringLiteral("供货单位"));
    QCOMPARE(control<QLabel>(&w, "Lab5")->text(), department ? QStringLiteral("总金额") : QStringLiteral("应付款"));
    QCOMPARE(w.lines().GdMx()->textMatrix(0, 3), QStringLiteral("退货数量"));
    QCOMPARE(w.lines().GdMx()->textMatrix(0, 4), QStringLiteral("退货单价"));

    trigger(&w, "Menu_Add");
    const QString unit = department ? QStringLiteral("P001") : QStringLiteral("A001");
    control<QComboBox>(&w, "CmbLB")->setEditText(unit);
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("G1"));
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("4"));
    control<QPushButton>(&w, "CmdEnter")->click();
    // The attribute cell takes no typing: its value comes from the picker, which offers the
    // values in stock.
    QCOMPARE(w.lines().curMxC(), 2);
    QVERIFY(w.lines().TxtEnter()->isReadOnly());
    WhenModal([](QWidget* d) {
        Grid* gd = control<Grid>(d, "GD");
        QCOMPARE(gd->textMatrix(1, 0), QStringLiteral("LOT1"));
        gd->setRow(1);
        QTest::mouseClick(control<QPushButton>(d, "CmdOK"), Qt::LeftButton);
    });
    QTest::mousePress(control<QPushButton>(&w, "CmdSX"), Qt::LeftButton);
    QCOMPARE(w.lines().TxtEnter()->text(), QStringLiteral("LOT1"));
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_Return);
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 2), QStringLiteral("LOT1"));
    // The proposed price is the goods' cost price (2 after the receipt).
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 4).toDouble(), 2.0);
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text().toDouble(), 8.0);
    if (!department)
        control<QLineEdit>(&w, "Txt7")->setText(QStringLiteral("3"));

    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(w.Edstu, 0);
    // Stored negative, shown positive.
    const RecordSet head = db.query(QStringLiteral("SELECT LB, F9, K9, K, V1 FROM TB1 WHERE F3 = ? AND LB = 2"), {unit});
    QCOMPARE(head.rowCount(), 1);
    QCOMPARE(head.number(0, 0), 2.0);
    QCOMPARE(head.number(0, 1), -8.0);
    QCOMPARE(head.number(0, 2), department ? 0.0 : -3.0);
    // The fault mended: a rework return is booked to the department's account (index 0).
    QCOMPARE(head.number(0, 3), 0.0);
    QCOMPARE(head.number(0, 4), department ? 0.0 : 1.0);
    const RecordSet line = db.query(QStringLiteral("SELECT F6, F8, C236, C237, C238, R6, R8, HPSX FROM TB11 "
                                                   "WHERE F0 = (SELECT F1 FROM TB1 WHERE F3 = ? AND LB = 2)"),
                                    {unit});
    QCOMPARE(line.number(0, 0), -4.0);
    QCOMPARE(line.number(0, 1), -8.0);
    QCOMPARE(line.number(0, 2), 4.0);
    QCOMPARE(line.number(0, 4), 8.0);
    QCOMPARE(line.number(0, 5), -4.0);
    QCOMPARE(line.number(0, 6), -8.0);
    QCOMPARE(line.text(0, 7), QStringLiteral("LOT1"));
    Grid* gd = control<Grid>(&w, "GD");
    QCOMPARE(gd->textMatrix(1, 5).toDouble(), 8.0);
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text().toDouble(), 8.0);

    // The audit asks one Yes/No question (no scope dialog).
    msgs.expect(QStringLiteral("审核操作将对库存"), MB::Yes);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(msgs.last().text, QStringLiteral("审核操作将对库存货品进行更新，\r\r审核后单据将不可修改！\r\r真的要继续吗？"));
    QCOMPARE(gd->textMatrix(1, 4), set.app().OperatorName);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 6.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT total(F6) FROM TB11 WHERE F1 = 'G1' AND HPSX = 'LOT1' "
                                      "AND SRT <> ''")).toDouble(),
             6.0);
    // The balance: a return lowers what is owed (QM = QC - A + P for the supplier, QC - A for
    // the department); the supplier's 100 grew by the receipt's 30 before it.
    const RecordSet chain = db.query(QStringLiteral("SELECT QC, YF, FK, QM FROM TB1 WHERE F3 = ? AND LB = 2"), {unit});
    const double before = chain.number(0, 0);
    QCOMPARE(chain.number(0, 1), -8.0);
    QCOMPARE(chain.number(0, 2), department ? 0.0 : -3.0);
    QCOMPARE(chain.number(0, 3), before - 8.0 + (department ? 0.0 : 3.0));
    QCOMPARE(before, department ? 40.0 : 130.0);

    // The unaudit warns once, asks, and says nothing when done.
    msgs.expect(QStringLiteral("撤销审核操作可能会造成"), MB::Yes);
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(gd->textMatrix(1, 4), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 10.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT <> '' AND F0 <> 'RK0'")).toInt(), 0);
}

void TestB3::shortageRefusesTheWholeAudit_data()
{
    QTest::addColumn<bool>("department");
    QTest::newRow("purchase return") << false;
    QTest::newRow("rework return") << true;
}

void TestB3::shortageRefusesTheWholeAudit()
{
    QFETCH(bool, department);
    FreshAccountSet set;
    prepare(set);
    receive(set, 5);
    set.app().NoOverIssue = 1;
    Database& db = set.db();
    const StockDocPolicy policy = policyOf(department);
    // Two lines of one goods and value, each covered alone, together more than the stock; and
    // a covered line of another goods before them.
    StockDoc doc = stockDoc(QStringLiteral("TH1"), QDate::currentDate(), department ? QStringLiteral("P001") : QStringLiteral("A001"),
                            {stockLine(QStringLiteral("G2"), 1, 1), stockLine(QStringLiteral("G1"), 3, 2, QStringLiteral("LOT1")),
                             stockLine(QStringLiteral("G1"), 3, 2, QStringLiteral("LOT1"))});
    QCOMPARE(SaveStockDoc(set.app(), policy, StockDocTypeName(db, policy), doc, {}), QString());
    const QStringList before = {db.scalar(QStringLiteral("SELECT group_concat(F1 || F8, ',') FROM TA4")).toString(),
                                db.scalar(QStringLiteral("SELECT group_concat(SRT || SH, ',') FROM TB11")).toString()};

    MessageScript msgs;
    B3 w(set.app(), department);
    msgs.expect(QStringLiteral("审核操作将对库存"), MB::Yes).expect(QStringLiteral("库存数量不足！"));
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    QVERIFY2(msgs.last().text.contains(QStringLiteral("第 2 行")), qPrintable(msgs.last().text));
    QCOMPARE(db.scalar(QStringLiteral("SELECT SRT || F6 FROM TB1 WHERE F1 = 'TH1'")).toString(), QString());
    const QStringList after = {db.scalar(QStringLiteral("SELECT group_concat(F1 || F8, ',') FROM TA4")).toString(),
                               db.scalar(QStringLiteral("SELECT group_concat(SRT || SH, ',') FROM TB11")).toString()};
    QCOMPARE(after, before);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), QString());

    // Within the stock the same document posts.
    set.app().NoOverIssue = 0;
    QCOMPARE(AuditStockDoc(set.app(), policy, QStringLiteral("TH1")), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), -1.0);
}

void TestB3::costRollUpAfterAuditAndUnaudit()
{
    FreshAccountSet set;
    prepare(set);
    App& app = set.app();
    Database& db = set.db();
    GoodsSpec product{QStringLiteral("P1"), QStringLiteral("成品")};
    AddGoods(db, product);
    AddBomPart(db, QStringLiteral("P1"), QStringLiteral("G1"), 2);
    receive(set, 10);
    app.InboundRefPrice = 1;
    app.CostPlusFeePrice = 1;
    db.execute(QStringLiteral("UPDATE TA4 SET RkF7 = 0, F7 = 2 WHERE F1 IN ('P1', 'G1')"));
    const StockDocPolicy policy = PurchaseReturnPolicy();
    StockDoc doc = stockDoc(QStringLiteral("TH1"), QDate::currentDate(), QStringLiteral("A001"),
                            {stockLine(QStringLiteral("G1"), 4, 1, QStringLiteral("LOT1"))});
    QCOMPARE(SaveStockDoc(app, policy, StockDocTypeName(db, policy), doc, {}), QString());
    QCOMPARE(AuditStockDoc(app, policy, QStringLiteral("TH1")), QString());
    // Six left worth 20 - 4: the product's reference price follows its part's new cost.
    const double afterAudit = db.scalar(QStringLiteral("SELECT RkF7 FROM TA4 WHERE F1 = 'P1'")).toDouble();
    const double partCost = db.scalar(QStringLiteral("SELECT F7 FROM TA4 WHERE F1 = 'G1'")).toDouble();
    QVERIFY(qAbs(partCost - 16.0 / 6) < 0.01);
    QCOMPARE(afterAudit, 2 * partCost);
    QCOMPARE(UnauditStockDoc(app, policy, QStringLiteral("TH1")), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT RkF7 FROM TA4 WHERE F1 = 'P1'")).toDouble(),
             2 * db.scalar(QStringLiteral("SELECT F7 FROM TA4 WHERE F1 = 'G1'")).toDouble());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F7 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 2.0);
}

void TestB3::printStagesTheReturn_data()
{
    QTest::addColumn<bool>("department");
    QTest::newRow("purchase return") << false;
    QTest::newRow("rework return") << true;
}

void TestB3::printStagesTheReturn()
{
    QFETCH(bool, department);
    FreshAccountSet set;
    prepare(set);
    QVERIFY(QFile::copy(QStringLiteral(VX_BIN_DIR "/pdan1.vxp"), set.programFolder() + QStringLiteral("pdan1.vxp")));
    const StockDocPolicy policy = policyOf(department);
    StockDoc doc = stockDoc(QStringLiteral("TH1"), QDate::currentDate(), department ? QStringLiteral("P001") : QStringLiteral("A001"),
                            {stockLine(QStringLiteral("G2"), 3, 1.25, QStringLiteral("X"))});
    QCOMPARE(SaveStockDoc(set.app(), policy, StockDocTypeName(set.db(), policy), doc, {}), QString());
    FakePrinters::Installation printers(set.folder());
    MessageScript msgs;
    B3 w(set.app(), department);
    QCOMPARE(control<QAction>(&w, "Menu_prn0")->text(), QStringLiteral("&1.公司退货单(方案一)"));
    QCOMPARE(control<QAction>(&w, "Menu_prn1")->text(), QStringLiteral("&2.公司退货单(方案二)"));
    bool shown = false;
    WhenModal([&](QWidget* d) {
        auto* window = qobject_cast<Myprn*>(d);
        QVERIFY(window);
        shown = true;
        const PrintEngine& engine = window->engine();
        QCOMPARE(engine.Pid, department ? QStringLiteral("次品返工一") : QStringLiteral("采购退货一"));
        QCOMPARE(namedValue(engine, QStringLiteral("DanNo")), QStringLiteral("TH1"));
        QCOMPARE(namedValue(engine, QStringLiteral("SumJe")), QStringLiteral("3.75"));
        const RecordSet rs = set.db().query(QStringLiteral("SELECT F6, F8 FROM temp.Plist ORDER BY F0"));
        QCOMPARE(rs.rowCount(), 1);
        QCOMPARE(rs.text(0, 0), QStringLiteral("3 个"));
        QCOMPARE(rs.text(0, 1), QStringLiteral("3.75"));
        window->close();
    });
    trigger(&w, "Menu_prn0");
    QVERIFY(shown);
    QCOMPARE(msgs.count(), 0);
}

void TestB3::dateChangeReservesTheNewNumber()
{
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    B3 w(set.app(), false);
    trigger(&w, "Menu_Add");
    const QDate other(2024, 3, 9);
    control<QDateEdit>(&w, "DTP1")->setDate(other);
    const QString number = control<QLineEdit>(&w, "Txt0")->text();
    QVERIFY(number.contains(QStringLiteral("240309")));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT group_concat(DanF1) FROM DanNo")).toString(), number);
    trigger(&w, "Menu_cancel");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt(), 0);
}

void TestB3::mainMenuOpensBothModes()
{
    FreshAccountSet set;
    prepare(set);
    RegisterDocumentWindows(set.app().Windows);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_BB1")));
    auto* purchase = qobject_cast<B3*>(OpenedWindow(set.app(), QStringLiteral("Menu_BB1")));
    QVERIFY(purchase);
    QVERIFY(!purchase->F3isBm());
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_BB4")));
    auto* rework = qobject_cast<B3*>(OpenedWindow(set.app(), QStringLiteral("Menu_BB4")));
    QVERIFY(rework);
    QVERIFY(rework->F3isBm());
    QCOMPARE(rework->windowTitle(), QStringLiteral("次品返工单"));
    purchase->close();
    rework->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

VX_REGISTER_TEST(TestB3)
#include "tst_b3.moc"
