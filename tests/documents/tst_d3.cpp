#include "core/App.h"
#include "core/SavedHintMark.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "documents/StockDocTestSupport.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/stockreturn/D3.h"
#include "documents/stockreturn/StockReturnPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

// The return-to-stock window in customer and department mode, driven through
// its named controls on a real account set.
class TestD3 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void customerReturnWithItsPrice();
    void departmentReturnAtCost();
    void printStagesTheShownDocument();
    void refusedWhileAStocktakingIsOpen();
    void lineOfADeletedGoodsIsKept();
    void mainMenuOpensEachMode();
};

namespace {

void prepare(FreshAccountSet& set)
{
    prepareDocBooks(set, DocSide::Customer, false);
}

const QString AuditQuestion = QStringLiteral("审核后单据将不可修改！");

}  // namespace

void TestD3::customerReturnWithItsPrice()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    MessageScript msgs;
    D3 w(set.app(), false);
    QVERIFY(!w.F3isBm());
    QCOMPARE(control<QLabel>(&w, "Lab0")->text(), QStringLiteral("退库单号"));
    QCOMPARE(control<QLabel>(&w, "Lab2")->text(), QStringLiteral("退货单位"));
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(0, 2), QStringLiteral("退库单位"));
    QCOMPARE(w.lines().GdMx()->textMatrix(0, 3), QStringLiteral("退货数量"));
    QCOMPARE(w.lines().GdMx()->textMatrix(0, 4), QStringLiteral("核算单价"));

    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("B001.客户一"));
    stripLine(w, QStringLiteral("G1"), QStringLiteral("2"));
    // The customer mode proposes the goods' sale price; it may be typed over.
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 4), QStringLiteral("9.00"));
    stripLine(w, QStringLiteral("G2"), QStringLiteral("3"));
    typeIntoCell(w, 2, 4, QStringLiteral("5"));
    QCOMPARE(w.lines().GdMx()->textMatrix(2, 5), QStringLiteral("15.00"));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("33.00"));
    // A typed footer amount is never what is stored: the lines decide.
    control<QLineEdit>(&w, "Txt5")->setText(QStringLiteral("999"));
    control<QLineEdit>(&w, "Txt7")->setText(QStringLiteral("10"));
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(msgs.pending(), 0);

    const RecordSet lines = db.query(QStringLiteral(
        "SELECT F1, F6, F7, F8, R146, R147, R148, C6, V1, LB, Oid FROM TB11 ORDER BY Oid"));
    QCOMPARE(lines.rowCount(), 2);
    QCOMPARE(lines.value(0, 1).toDouble(), 2.0);
    QCOMPARE(lines.value(0, 3).toDouble(), 18.0);
    QCOMPARE(lines.value(0, 4).toDouble(), 2.0);
    QCOMPARE(lines.value(0, 6).toDouble(), 18.0);
    QCOMPARE(lines.value(0, 7).toDouble(), -2.0);
    QCOMPARE(lines.value(0, 8).toInt(), 1);
    QCOMPARE(lines.value(0, 9).toInt(), code(DocKind::StockReturn));
    QCOMPARE(lines.value(1, 10).toInt(), 2);
    const RecordSet head = db.query(QStringLiteral("SELECT F9, K9, K, Kstr, LB FROM TB1"));
    QCOMPARE(head.value(0, 0).toDouble(), -33.0);
    QCOMPARE(head.value(0, 1).toDouble(), -10.0);
    QCOMPARE(head.value(0, 2).toInt(), 0);
    QCOMPARE(head.value(0, 3).toString(), QStringLiteral("余款记入应收账"));
    // Shown positive again.
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 5), QStringLiteral("33.00"));
    QCOMPARE(control<QLineEdit>(&w, "Txt7")->text(), QStringLiteral("10.00"));

    msgs.expect(AuditQuestion, MB::Yes);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    // A return to stock asks its own short question, not the receipts' longer one.
    QCOMPARE(msgs.last().text, QStringLiteral("审核后单据将不可修改！\r\r真的要继续吗？"));
    // The customer's account falls by the return less the money paid back.
    const RecordSet posted = db.query(QStringLiteral("SELECT QC, YF, FK, QM, F6, F9 FROM TB1"));
    QCOMPARE(posted.value(0, 0).toDouble(), 100.0);
    QCOMPARE(posted.value(0, 1).toDouble(), -33.0);
    QCOMPARE(posted.value(0, 2).toDouble(), -10.0);
    QCOMPARE(posted.value(0, 3).toDouble(), 77.0);
    QCOMPARE(posted.value(0, 5).toDouble(), -33.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 2.0);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), set.app().OperatorName);

    msgs.expect(QStringLiteral("进出存单价金额方面出现误差！\r\r请仔细确认，真的要继续吗？"), MB::Yes);
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT <> ''")).toInt(), 0);
    // The lines keep the former auditor's mark.
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SH = ?"), {set.app().OperatorName}).toInt(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 0.0);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), QString());
}

void TestD3::departmentReturnAtCost()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate().addDays(-3), {{QStringLiteral("G1"), 4, 2, QString()}});
    receiveStock(set, QStringLiteral("RK2"), QDate::currentDate().addDays(-1), {{QStringLiteral("G1"), 4, 4, QString()}});
    MessageScript msgs;
    D3 w(set.app(), true);
    QVERIFY(w.F3isBm());
    QCOMPARE(control<QLabel>(&w, "Lab2")->text(), QStringLiteral("相关部门"));
    QCOMPARE(w.lines().GdMx()->textMatrix(0, 4), QStringLiteral("成本单价"));

    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("P001"));
    // Back-dated between the two receipts: the cost of that day, not today's.
    control<QLineEdit>(&w, "Txt1")->setText(QDate::currentDate().addDays(-2).toString(QStringLiteral("yyyy-MM-dd")));
    stripLine(w, QStringLiteral("G1"), QStringLiteral("2"));
    w.lines().TxtEnter()->hide();
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 4), QStringLiteral("2.00"));
    // Price and amount are locked in department mode.
    w.lines().GdMx()->setCurrent(1, 4);
    w.lines().GdMx_Click();
    QVERIFY(w.lines().TxtEnter()->isHidden());
    w.lines().GdMx()->setCurrent(1, 5);
    w.lines().GdMx_Click();
    QVERIFY(w.lines().TxtEnter()->isHidden());
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT K FROM TB1 WHERE LB = 4")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT V1 FROM TB11 WHERE LB = 4")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE LB = 4")).toDouble(), -4.0);

    msgs.expect(AuditQuestion, MB::Yes);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    const RecordSet head = db.query(QStringLiteral("SELECT YF, FK, QC, QM, F9 FROM TB1 WHERE LB = 4"));
    QCOMPARE(head.value(0, 0).toDouble(), 0.0);
    QCOMPARE(head.value(0, 1).toDouble(), 0.0);
    QCOMPARE(head.value(0, 2).toDouble(), head.value(0, 3).toDouble());
    // The line is valued at the running cost where it was posted, and the header follows it.
    const RecordSet line = db.query(QStringLiteral("SELECT F7, F8, C7, C8 FROM TB11 WHERE LB = 4"));
    QCOMPARE(line.value(0, 0).toDouble(), 2.0);
    QCOMPARE(line.value(0, 1).toDouble(), 4.0);
    QCOMPARE(line.value(0, 3).toDouble(), -4.0);
    QCOMPARE(head.value(0, 4).toDouble(), -4.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 10.0);

    msgs.expect(QStringLiteral("请仔细确认"), MB::Yes);
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 8.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB1 WHERE LB = 4")).toString(), QString());
}

void TestD3::printStagesTheShownDocument()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    StockDoc doc = stockDoc(QStringLiteral("TK1"), QDate::currentDate(), QStringLiteral("B001"),
                            {stockLine(QStringLiteral("G2"), 3, 4), stockLine(QStringLiteral("G1"), 1, 9)});
    QCOMPARE(SaveStockDoc(set.app(), CustomerReturnPolicy(), StockDocTypeName(db, CustomerReturnPolicy()), doc, {}),
             QString());
    FakePrinters::Installation printers(set.folder());
    for (const char* file : {"pdan1.vxp", "pdan2.vxp"})
        QFile::copy(QStringLiteral(VX_BIN_DIR "/") + QLatin1String(file), set.programFolder() + QLatin1String(file));
    MessageScript msgs;
    D3 w(set.app(), false);
    QCOMPARE(control<QAction>(&w, "Menu_prn0")->text(), QStringLiteral("&1.货品退库单(方案一)"));
    WhenModal([](QWidget* preview) { preview->close(); });
    trigger(&w, "Menu_prn0");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Plist")).toInt(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Plist WHERE F1 = 'G2' OR F2 = 'G2'")).toInt(), 1);
}

void TestD3::refusedWhileAStocktakingIsOpen()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    db.execute(QStringLiteral("INSERT INTO TB1 (SRT, F1, F2, LB, F6) VALUES ('', 'PD1', ?, 7, '')"),
               {QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))});
    MessageScript msgs;
    D3 w(set.app(), true);
    msgs.expect(QStringLiteral("在盘点期间，请不要做任何入库出库操作！"));
    trigger(&w, "Menu_Add");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(w.Edstu, 0);
}

void TestD3::lineOfADeletedGoodsIsKept()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    StockDoc doc = stockDoc(QStringLiteral("TK1"), QDate::currentDate(), QStringLiteral("B001"),
                            {stockLine(QStringLiteral("G1"), 1, 9), stockLine(QStringLiteral("G2"), 3, 4),
                             stockLine(QStringLiteral("G1"), 2, 9)});
    QCOMPARE(SaveStockDoc(set.app(), CustomerReturnPolicy(), StockDocTypeName(db, CustomerReturnPolicy()), doc, {}),
             QString());
    db.execute(QStringLiteral("DELETE FROM TA4 WHERE F1 = 'G2'"));
    MessageScript msgs;
    D3 w(set.app(), false);
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    // The line stays where it was, between the two others.
    QCOMPARE(w.lines().GdMx()->textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(w.lines().GdMx()->textMatrix(3, 0), QStringLiteral("G1"));
    trigger(&w, "Menu_edit");
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    const RecordSet lines = db.query(QStringLiteral("SELECT F1, F6, Oid FROM TB11 ORDER BY Oid"));
    QCOMPARE(lines.rowCount(), 3);
    QCOMPARE(lines.text(1, 0), QStringLiteral("G2"));
    QCOMPARE(lines.value(1, 1).toDouble(), 3.0);
    QCOMPARE(lines.value(2, 1).toDouble(), 2.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1")).toDouble(), -39.0);
}

void TestD3::mainMenuOpensEachMode()
{
    FreshAccountSet set;
    prepare(set);
    RegisterDocumentWindows(set.app().Windows);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_DD1")));
    auto* department = qobject_cast<D3*>(OpenedWindow(set.app(), QStringLiteral("Menu_DD1")));
    QVERIFY(department);
    QVERIFY(department->F3isBm());
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_DD4")));
    auto* customer = qobject_cast<D3*>(OpenedWindow(set.app(), QStringLiteral("Menu_DD4")));
    QVERIFY(customer);
    QVERIFY(!customer->F3isBm());
    QCOMPARE(customer->windowTitle(), StockDocTypeName(set.db(), CustomerReturnPolicy()));
    customer->close();
    department->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

VX_REGISTER_TEST(TestD3)
#include "tst_d3.moc"
