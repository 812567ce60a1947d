#include "core/App.h"
#include "core/SavedHintMark.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "forms/Query.h"
#include "documents/outbound/D1.h"
#include "documents/stockreturn/D3.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "exchange/ToExcel.h"
#include "documents/outbound/OutboundPolicies.h"
#include "platform/Database.h"
#include "core/SqlText.h"
#include "platform/Grid.h"
#include "support/print/PrintSupport.h"
#include "documents/StockDocTestSupport.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Openpyxl.h"
#include "support/PostingReference.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The outbound window in sales and department mode, driven through its named
// controls on a real account set.
class TestD1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void salesLinesWithCustomerPricesAndDiscounts();
    void shortageOnCommitAndAuditWritesNothing();
    void departmentIssueAuditedAtCost();
    void quantitiesNeverBecomeMoney_data();
    void quantitiesNeverBecomeMoney();
    void attributeOnlyFromPickerValues();
    void printStagesWithoutAPrintRight();
    void assemblyFillsThePartsOfAProduct();
    void assemblyLineWithoutItsBatchRefusedAtSave();
    void deliveryNoteStagedInSalesModeOnly();
    void autoCkPostsOneDocumentOrNothing();
    void lineImportSearchAndExport();
    void mainMenuOpensEachMode();
};

namespace {

void prepare(FreshAccountSet& set, bool attribute = false)
{
    prepareDocBooks(set, DocSide::Customer, attribute);
}

// The finished product P1 built of `parts` (code, usage), with the assembly row shown.
void addProduct(Database& db, const QList<std::pair<QString, double>>& parts)
{
    db.execute(QStringLiteral("UPDATE sysinfo SET setval = 1 WHERE ID = 92"));
    GoodsSpec product{QStringLiteral("P1"), QStringLiteral("书架")};
    product.goodsClass = GoodsClass::Product;
    AddGoods(db, product);
    db.execute(QStringLiteral("UPDATE TA4 SET F11 = '1' WHERE F1 = 'P1'"));
    for (const auto& [part, usage] : parts)
        AddBomPart(db, QStringLiteral("P1"), part, usage);
}

// The shipped print templates in the test's program folder.
void copyTemplates(FreshAccountSet& set)
{
    for (const char* file : {"pckd1.vxp", "pckd2.vxp", "psh.vxp"})
        QFile::copy(QStringLiteral(VX_BIN_DIR "/") + QLatin1String(file), set.programFolder() + QLatin1String(file));
}

}  // namespace

void TestD1::salesLinesWithCustomerPricesAndDiscounts()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    set.app().OfferCustomerPrice = 1;
    db.execute(QStringLiteral("UPDATE sysinfo SET setval = 1 WHERE ID = 3196"));
    if (db.scalar(QStringLiteral("SELECT count(*) FROM sysinfo WHERE ID = 3196")).toInt() == 0)
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (3196, 1)"));
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('B001', 'G1', 8.5)"));
    MessageScript msgs;
    D1 w(set.app(), false);
    QCOMPARE(w.windowTitle(), QStringLiteral("销售发货单"));
    QCOMPARE(control<QLabel>(&w, "Lab2")->text(), QStringLiteral("收货单位"));
    QVERIFY(control<QLineEdit>(&w, "Txt10"));  // the received amount keeps its name

    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("B001.客户一"));
    stripLine(w, QStringLiteral("G1"), QStringLiteral("2"));
    typeIntoCell(w, 2, 0, QStringLiteral("g2"));
    Grid* lines = w.lines().GdMx();
    // The customer's price, the goods' sale price without a quotation; no discount yet.
    QCOMPARE(lines->textMatrix(1, 4), QStringLiteral("8.50"));
    QCOMPARE(lines->textMatrix(1, 5), QStringLiteral("1"));
    QCOMPARE(lines->textMatrix(1, 6), QStringLiteral("8.50"));
    QCOMPARE(lines->textMatrix(2, 6), QStringLiteral("4.00"));
    QCOMPARE(lines->textMatrix(2, 3), QStringLiteral("1 个"));
    // A discount sets the price and the amount from the price before discount.
    typeIntoCell(w, 1, 5, QStringLiteral("0.8"));
    QCOMPARE(lines->textMatrix(1, 6), QStringLiteral("6.80"));
    QCOMPARE(lines->textMatrix(1, 7), QStringLiteral("13.60"));
    msgs.expect(QStringLiteral("请输入小于或等于1的数！"));
    typeIntoCell(w, 1, 5, QStringLiteral("1.5"));
    QCOMPARE(lines->textMatrix(1, 5), QStringLiteral("0.8"));
    typeIntoCell(w, 2, 4, QStringLiteral("5"));
    QCOMPARE(lines->textMatrix(2, 6), QStringLiteral("5.00"));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("18.60"));
    QVERIFY(!control<QComboBox>(&w, "CmbK")->isHidden());
    control<QLineEdit>(&w, "Txt10")->setText(QStringLiteral("10"));

    trigger(&w, "Menu_save");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(w.Edstu, 0);
    const RecordSet stored = db.query(QStringLiteral("SELECT F1, YJ, ZK, F7, F6, F8, V1, LB FROM TB11 ORDER BY Oid"));
    QCOMPARE(stored.rowCount(), 2);
    QCOMPARE(stored.value(0, 1).toDouble(), 8.5);
    QCOMPARE(stored.value(0, 2).toDouble(), 0.8);
    QCOMPARE(stored.value(0, 3).toDouble(), 6.8);
    QCOMPARE(stored.value(0, 4).toDouble(), -2.0);
    QCOMPARE(stored.value(0, 5).toDouble(), -13.6);
    QCOMPARE(stored.value(1, 1).toDouble(), 5.0);
    QCOMPARE(stored.value(0, 6).toInt(), 1);
    QCOMPARE(stored.value(0, 7).toInt(), 3);
    // The prices sold at became the customer's last prices.
    QCOMPARE(db.scalar(QStringLiteral("SELECT F7 FROM KhPrice WHERE F0 = 'B001' AND F1 = 'G1'")).toDouble(), 6.8);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM KhPrice WHERE F0 = 'B001' AND F1 = 'G2'")).toString(),
             QStringLiteral("最近交易价"));
    // The document shows again with its discount columns.
    QCOMPARE(lines->textMatrix(1, 5), QStringLiteral("0.8"));
    QCOMPARE(lines->textMatrix(1, 4), QStringLiteral("8.50"));

    // Audit: the customer's account takes the amount less the received money.
    chooseScope(0);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.count(), 1);
    const RecordSet head = db.query(QStringLiteral("SELECT QC, YF, FK, QM, F6 FROM TB1"));
    QCOMPARE(head.value(0, 0).toDouble(), 100.0);
    QCOMPARE(head.value(0, 1).toDouble(), 18.6);
    QCOMPARE(head.value(0, 2).toDouble(), 10.0);
    QCOMPARE(head.value(0, 3).toDouble(), 108.6);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), -2.0);

    // Unaudit: one question, no completion message.
    msgs.expect(QStringLiteral("进出存单价金额方面出现误差！\r\r请仔细确认，真的要继续吗？"), MB::Yes);
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT <> '' OR SH <> ''")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 0.0);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), QString());
}

void TestD1::shortageOnCommitAndAuditWritesNothing()
{
    FreshAccountSet set;
    prepare(set, true);
    set.app().NoOverIssue = 1;
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate().addDays(-1), {{QStringLiteral("G1"), 3, 2, QStringLiteral("A")}});
    Database& db = set.db();
    MessageScript msgs;
    D1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("B001"));
    // A code typed into the grid proposes quantity 0 while issues are checked.
    typeIntoCell(w, 1, 0, QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 3), QStringLiteral("0 个"));
    typeIntoCell(w, 1, 2, QStringLiteral("A"));
    typeIntoCell(w, 1, 3, QStringLiteral("2"));
    // A line from the strip is not checked when it is added...
    stripLine(w, QStringLiteral("G2"), QStringLiteral("1"));
    typeIntoCell(w, 3, 0, QStringLiteral("G1"));
    typeIntoCell(w, 3, 2, QStringLiteral("A"));
    // ...but a quantity committed counts every line of the goods and value on the document.
    msgs.expect(QStringLiteral("库存数量不足！"));
    typeIntoCell(w, 3, 3, QStringLiteral("2"));
    QCOMPARE(w.lines().GdMx()->textMatrix(3, 3), QStringLiteral("0 个"));
    typeIntoCell(w, 3, 3, QStringLiteral("1"));
    QCOMPARE(msgs.pending(), 0);
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(msgs.count(), 1);

    // The receipt is taken back and a smaller one posted: the audit finds the shortage of
    // the two G1 lines together before it writes anything.
    QCOMPARE(UnauditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK1")), QString());
    receiveStock(set, QStringLiteral("RK2"), QDate::currentDate().addDays(-1),
            {{QStringLiteral("G1"), 2, 2, QStringLiteral("A")}, {QStringLiteral("G2"), 1, 1, QString()}});
    const QStringList before = PostingSnapshot(db);
    msgs.expect(QStringLiteral("第 1 行[G1]存量不足，不能出库!"));
    chooseScope(0);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(PostingSnapshot(db), before);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), QString());
}

void TestD1::departmentIssueAuditedAtCost()
{
    FreshAccountSet set;
    prepare(set, true);
    Database& db = set.db();
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate().addDays(-2),
            {{QStringLiteral("G1"), 2, 2, QStringLiteral("A")}, {QStringLiteral("G1"), 2, 3, QStringLiteral("B")}});
    MessageScript msgs;
    D1 w(set.app(), true);
    QCOMPARE(w.windowTitle(), QStringLiteral("部门领用单"));
    QCOMPARE(control<QLabel>(&w, "Lab2")->text(), QStringLiteral("相关部门"));
    // The list keeps the outbound window's own unit header in department mode too.
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(0, 2), QStringLiteral("收货单位"));
    QCOMPARE(w.lines().GdMx()->textMatrix(0, 6), QStringLiteral("成本单价"));

    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("P001"));
    stripLine(w, QStringLiteral("G1"), QStringLiteral("1"));
    // The attribute cell opens read-only: its value comes from the picker.
    QVERIFY(!w.lines().TxtEnter()->isHidden());
    QVERIFY(w.lines().TxtEnter()->isReadOnly());
    w.lines().TxtEnter()->setText(QStringLiteral("A"));
    w.lines().TxtEnter_LostFocus();
    stripLine(w, QStringLiteral("G2"), QStringLiteral("1"));
    w.lines().TxtEnter()->hide();
    typeIntoCell(w, 3, 0, QStringLiteral("G1"));
    typeIntoCell(w, 3, 2, QStringLiteral("b"));
    typeIntoCell(w, 3, 3, QStringLiteral("2"));
    // The proposal is the cost at the document's date; the price cell never opens.
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 6), QStringLiteral("2.50"));
    w.lines().GdMx()->setCurrent(1, 6);
    w.lines().GdMx_Click();
    QVERIFY(w.lines().TxtEnter()->isHidden());
    // G2 has no stock: taken out anyway (the check is off), at its cost price.
    QCOMPARE(w.lines().GdMx()->textMatrix(2, 6), QStringLiteral("1.25"));

    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT K FROM TB1 WHERE LB = 3")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE LB = 3 AND V1 = 0")).toInt(), 3);

    chooseScope(0);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.count(), 0);
    const RecordSet head = db.query(QStringLiteral("SELECT QC, YF, FK, QM, F9 FROM TB1 WHERE LB = 3"));
    QCOMPARE(head.value(0, 1).toDouble(), 0.0);
    QCOMPARE(head.value(0, 2).toDouble(), 0.0);
    QCOMPARE(head.value(0, 3).toDouble(), 0.0);
    // At cost: 1 x 2.50, 1 x 1.25 (the goods' opening cost) and 2 x 2.50 (moving average).
    const RecordSet lines = db.query(QStringLiteral("SELECT F8, C238 FROM TB11 WHERE LB = 3 ORDER BY Oid"));
    QCOMPARE(lines.value(0, 0).toDouble(), -2.5);
    QCOMPARE(lines.value(2, 1).toDouble(), 5.0);
    QCOMPARE(w.lines().GdMx()->textMatrix(3, 7), QStringLiteral("5.00"));
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 5), QString::number(head.value(0, 4).toDouble(), 'f', 2));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QString::number(head.value(0, 4).toDouble(), 'f', 2));

    // A receipt of 4 at 4.00 dated before the issue re-costs its G1 lines at 3.25
    // (26.00 / 8), 9.75 in all (G2, without stock, goes out at 0): the stored total
    // follows them, and so does what the window shows.
    receiveStock(set, QStringLiteral("RK0"), QDate::currentDate().addDays(-3), {{QStringLiteral("G1"), 4, 4, QStringLiteral("A")}});
    QCOMPARE(db.scalar(QStringLiteral("SELECT -sum(F8) FROM TB11 WHERE LB = 3")).toDouble(), 9.75);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE LB = 3")).toDouble(), 9.75);
    control<QTabBar>(&w, "TabS")->setCurrentIndex(0);
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("9.75"));
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 5), QStringLiteral("9.75"));
    QCOMPARE(w.lines().GdMx()->textMatrix(4, 7), QStringLiteral("9.75"));

    msgs.expect(QStringLiteral("请仔细确认"), MB::Yes);
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 8.0);
}

// Without prices, a customer-side document is still valued at the goods' sale prices
// and moves the customer's balance (100) by that amount, never by the pieces.
void TestD1::quantitiesNeverBecomeMoney_data()
{
    QTest::addColumn<bool>("customerReturn");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("balance");
    QTest::newRow("sales delivery") << false << 73.0 << 173.0;
    QTest::newRow("return to stock") << true << -73.0 << 27.0;
}

void TestD1::quantitiesNeverBecomeMoney()
{
    QFETCH(bool, customerReturn);
    QFETCH(double, amount);
    FreshAccountSet set;
    prepare(set);
    set.app().WithPrices = 0;
    Database& db = set.db();
    MessageScript msgs;
    std::unique_ptr<StockDocForm> w;
    if (customerReturn)
        w = std::make_unique<D3>(set.app(), false);
    else
        w = std::make_unique<D1>(set.app(), false);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(!control<QAction>(w.get(), "Menu_prn1")->isEnabled());
    trigger(w.get(), "Menu_Add");
    control<QComboBox>(w.get(), "CmbLB")->setEditText(QStringLiteral("B001"));
    stripLine(*w, QStringLiteral("G1"), QStringLiteral("5"));
    stripLine(*w, QStringLiteral("G2"), QStringLiteral("7"));
    trigger(w.get(), "Menu_save");
    QCOMPARE(msgs.count(), 0);
    // 5 x 9 + 7 x 4 at the goods' prices, never the 12 pieces.
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1")).toDouble(), amount);
    if (customerReturn)
        msgs.expect(QStringLiteral("审核后单据将不可修改！"), MB::Yes);
    else
        chooseScope(0);
    trigger(w.get(), "Menu_Ok");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT YF FROM TB1")).toDouble(), amount);
    QTEST(db.scalar(QStringLiteral("SELECT QM FROM TB1")).toDouble(), "balance");
}

void TestD1::attributeOnlyFromPickerValues()
{
    FreshAccountSet set;
    prepare(set, true);
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate(), {{QStringLiteral("G1"), 2, 2, QStringLiteral("A")}});
    MessageScript msgs;
    D1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    typeIntoCell(w, 1, 0, QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->col(), 2);
    // A value no line of the goods carries is not taken.
    typeIntoCell(w, 1, 2, QStringLiteral("Z"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 2), QString());
    typeIntoCell(w, 1, 2, QStringLiteral("a"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 2), QStringLiteral("A"));
    trigger(&w, "Menu_cancel");
}

void TestD1::printStagesWithoutAPrintRight()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    db.execute(QStringLiteral("UPDATE TE1 SET F64 = 111 WHERE F1 = '001'"));  // every item but printing
    StockDoc doc = stockDoc(QStringLiteral("CK1"), QDate::currentDate(), QStringLiteral("B001"),
                            {stockLine(QStringLiteral("G2"), 3, 4)});
    QCOMPARE(SaveStockDoc(set.app(), SalesDeliveryPolicy(), QStringLiteral("销售发货单"), doc, {}), QString());
    FakePrinters::Installation printers(set.folder());
    copyTemplates(set);
    MessageScript msgs;
    D1 w(set.app(), false);
    WhenModal([](QWidget* preview) { preview->close(); });
    trigger(&w, "Menu_prn0");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Plist")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Plist WHERE F1 = 'G2' OR F2 = 'G2'")).toInt(), 1);
}

void TestD1::assemblyFillsThePartsOfAProduct()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    addProduct(db, {{QStringLiteral("G1"), 2}, {QStringLiteral("G2"), 3}});
    MessageScript msgs;
    D1 w(set.app(), true);
    QVERIFY(!control<QWidget>(&w, "FrmAssembly")->isHidden());
    QVERIFY(control<QPushButton>(&w, "CmdAutoZZ")->isHidden());
    trigger(&w, "Menu_Add");
    QVERIFY(control<QPushButton>(&w, "CmdAutoZZ")->isHidden());
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("P001"));
    w.lines().TxtEnter()->hide();
    control<QLineEdit>(&w, "Txt7")->setText(QStringLiteral("p1"));
    control<QLineEdit>(&w, "Txt8")->setText(QStringLiteral("2"));
    control<QPushButton>(&w, "CmdAutoZZ")->click();
    QCOMPARE(msgs.count(), 0);
    Grid* lines = w.lines().GdMx();
    QCOMPARE(lines->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(LeadValue(lines->textMatrix(1, 3)), 4.0);
    QCOMPARE(lines->textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(LeadValue(lines->textMatrix(2, 3)), 6.0);
    // At the parts' cost in department mode: 4 x 2.50 + 6 x 1.25.
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("17.50"));
    // A second fill asks before it clears the lines; cancelling keeps them.
    msgs.expect(QStringLiteral("真的要继续吗？"), MB::Cancel);
    control<QPushButton>(&w, "CmdAutoZZ")->click();
    QCOMPARE(lines->textMatrix(2, 0), QStringLiteral("G2"));

    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    const RecordSet head = db.query(QStringLiteral("SELECT zzcp, zzsl, mcgg FROM TB1"));
    QCOMPARE(head.text(0, 0), QStringLiteral("p1"));
    QCOMPARE(head.value(0, 1).toDouble(), 2.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(), 2);
    QCOMPARE(control<QLineEdit>(&w, "Txt8")->text(), QStringLiteral("2"));
    QVERIFY(control<QLineEdit>(&w, "Txt7")->isReadOnly());
}

void TestD1::assemblyLineWithoutItsBatchRefusedAtSave()
{
    FreshAccountSet set;
    prepare(set, true);
    set.app().NoOverIssue = 1;
    Database& db = set.db();
    addProduct(db, {{QStringLiteral("G1"), 2}});
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate(), {{QStringLiteral("G1"), 5, 2, QStringLiteral("A")}});
    MessageScript msgs;
    D1 w(set.app(), true);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("P001"));
    w.lines().TxtEnter()->hide();
    control<QLineEdit>(&w, "Txt7")->setText(QStringLiteral("P1"));
    control<QLineEdit>(&w, "Txt8")->setText(QStringLiteral("1"));
    control<QPushButton>(&w, "CmdAutoZZ")->click();
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 2), QString());

    // G1's stock is kept by batch: a line without one would draw on nothing.
    msgs.expect(QStringLiteral("第 1 行[G1]的批号不能为空！"));
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().window.data(), &w);
    QCOMPARE(w.Edstu, 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE LB = 3")).toInt(), 0);

    typeIntoCell(w, 1, 2, QStringLiteral("A"));
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    chooseScope(0);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB11 WHERE LB = 3")).toDouble(), -2.0);
    QVERIFY(!db.scalar(QStringLiteral("SELECT SRT FROM TB11 WHERE LB = 3")).toString().isEmpty());
}

void TestD1::deliveryNoteStagedInSalesModeOnly()
{
    FreshAccountSet set;
    prepare(set, true);
    StockDoc doc = stockDoc(QStringLiteral("CK1"), QDate::currentDate(), QStringLiteral("B001"),
                            {stockLine(QStringLiteral("G1"), 2, 9, QStringLiteral("A")),
                             stockLine(QStringLiteral("G1"), 2, 9, QStringLiteral("B"))});
    QCOMPARE(SaveStockDoc(set.app(), SalesDeliveryPolicy(), QStringLiteral("销售发货单"), doc, {}), QString());
    FakePrinters::Installation printers(set.folder());
    copyTemplates(set);
    MessageScript msgs;
    D1 w(set.app(), false);
    WhenModal([](QWidget* preview) { preview->close(); });
    trigger(&w, "Menu_prn2");
    QCOMPARE(msgs.count(), 0);
    // Both lines staged; the delivery note's query sums them per goods.
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM Plist")).toInt(), 2);
    D1 issues(set.app(), true);
    QCOMPARE(issues.findChildren<QAction*>(QStringLiteral("Menu_prn2")).size(), 0);
}

void TestD1::autoCkPostsOneDocumentOrNothing()
{
    FreshAccountSet set;
    prepare(set);
    set.app().NoOverIssue = 1;
    Database& db = set.db();
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate().addDays(-1),
            {{QStringLiteral("G1"), 5, 2, QString()}, {QStringLiteral("G2"), 5, 1, QString()}});
    MessageScript msgs;
    D1 w(set.app(), false);
    const QString today = DateText(QDate::currentDate());
    // A shortage refuses the whole document: nothing is written.
    const QStringList before = PostingSnapshot(db);
    RecordSet tooMuch = db.query(QStringLiteral("SELECT 'G1', 2 UNION ALL SELECT 'G2', 9"));
    msgs.expect(QString());
    QVERIFY(!w.AutoCk(today, QStringLiteral("B001"), tooMuch));
    QCOMPARE(PostingSnapshot(db), before);
    QVERIFY(w.Interactive);

    RecordSet goods = db.query(QStringLiteral("SELECT 'G1', 2 UNION ALL SELECT 'G2', 1 UNION ALL SELECT 'G1', 1"));
    QVERIFY(w.AutoCk(today, QStringLiteral("B001.客户一"), goods));
    QCOMPARE(msgs.count(), 1);
    QVERIFY(w.Interactive);
    const RecordSet head = db.query(QStringLiteral("SELECT F1, F6, SRT FROM TB1 WHERE LB = 3"));
    QCOMPARE(head.rowCount(), 1);
    QCOMPARE(head.text(0, 1), set.app().OperatorName);
    QCOMPARE(db.scalar(QStringLiteral("SELECT -F6 FROM TB11 WHERE LB = 3 AND F1 = 'G1'")).toDouble(), 3.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 2.0);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 0), head.text(0, 0));
}

// The outbound window's line import, search and export come from the document
// base with the outbound columns: the remark lands in column 8, the header
// amount (stored positive, the lines negative) is searched as listed, and the
// discount columns go out as numbers.
void TestD1::lineImportSearchAndExport()
{
    SKIP_WITHOUT_OPENPYXL();
    FreshAccountSet set;
    prepare(set);
    set.app().ExcelLineImport = 1;
    // The sales discount columns shown.
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 3196"));
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (3196, 1)"));
    receiveStock(set, QStringLiteral("RK1"), QDate::currentDate(),
            {{QStringLiteral("G1"), 10, 2.5, QString()}, {QStringLiteral("G2"), 10, 1.25, QString()}});
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("lines.xlsx"));
    RunOpenpyxl(QStringLiteral("wb = openpyxl.Workbook()\nws = wb.active\n"
                               "ws.append(['编码', '数量', '单价', '备注'])\n"
                               "ws.append(['G1', 2, 7.5, '加急'])\nws.append(['NOPE', 1, 1, ''])\n"
                               "ws.append(['G2', 3, 4, ''])\nwb.save(sys.argv[1])\n"),
                {book});
    MessageScript msgs;
    D1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("B001.客户一"));
    const QString caption = importWorkbookLines(&w, book, msgs, QStringLiteral("成功写入 2 行数据"));
    QCOMPARE(caption, QStringLiteral("从Excel文件中读取出库单明细"));
    QCOMPARE(msgs.pending(), 0);
    Grid* lines = w.lines().GdMx();
    QCOMPARE(lines->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(lines->textMatrix(1, 8), QStringLiteral("加急"));
    QCOMPARE(lines->textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("27.00"));
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE F1 <> 'RK1'")).toDouble(), 27.0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F9 FROM TB11 WHERE F1 = 'G1' AND F6 < 0")).toString(),
             QStringLiteral("加急"));
    const QString number = set.db().scalar(QStringLiteral("SELECT F1 FROM TB1 WHERE F1 <> 'RK1'")).toString();

    // "金额 = 27", as the list shows it, finds the delivery.
    Grid* list = control<Grid>(&w, "GD");
    WhenModal([](QWidget* d) {
        auto* q = qobject_cast<Query*>(d);
        QVERIFY(q);
        q->CmbF->setCurrentIndex(5);
        q->CmbF_Click();
        q->cmbGx->setCurrentText(QStringLiteral("等于(=)"));
        q->Txt->setText(QStringLiteral("27"));
        q->CmdAdd->click();
        q->CmdQuery->click();
    });
    trigger(&w, "Menu_query");
    QCOMPARE(list->rows(), 2);
    QCOMPARE(list->textMatrix(1, 0), number);
    QCOMPARE(list->textMatrix(0, 2), QStringLiteral("收货单位"));
    QCOMPARE(list->textMatrix(1, 5).toDouble(), 27.0);

    // The shown document's lines: price before discount, discount, price and amount as numbers.
    list->setCurrent(1, 0);
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    const QString file = dir.filePath(QStringLiteral("lines-out.xlsx"));
    exportShown(&w, file, msgs);
    const QVector<QVector<PeerCell>> rows = OpenpyxlRead(file);
    int first = -1;
    for (int r = 0; r < rows.size(); ++r)
        if (!rows[r].isEmpty() && rows[r][0].value.toString() == QLatin1String("G1"))
            first = r;
    QVERIFY(first > 0);
    // Without an attribute its column is hidden and left out: the quantity with
    // its unit is text, price before discount, discount, price and amount numbers.
    QCOMPARE(rows[first].size(), 8);
    QCOMPARE(rows[first][2].value.toString(), QStringLiteral("2 个"));
    for (int c : {3, 4, 5, 6})
        QCOMPARE(rows[first][c].type, QStringLiteral("n"));
    QCOMPARE(rows[first][4].value.toDouble(), 1.0);
    QCOMPARE(rows[first][5].value.toDouble(), 7.5);
    QCOMPARE(rows[first][6].value.toDouble(), 15.0);
    QCOMPARE(rows[first][7].value.toString(), QStringLiteral("加急"));

    // Pictures of the window for a person to look at: VX_SCREENSHOTS=<folder>.
    const QString pictures = qEnvironmentVariable("VX_SCREENSHOTS");
    if (!pictures.isEmpty()) {
        w.resize(1000, 640);
        w.show();
        QTest::qWait(50);
        w.grab().save(pictures + QStringLiteral("/D1-document.png"));
        control<QTabBar>(&w, "TabS")->setCurrentIndex(0);
        QTest::qWait(50);
        w.grab().save(pictures + QStringLiteral("/D1-list.png"));
    }
}

void TestD1::mainMenuOpensEachMode()
{
    FreshAccountSet set;
    prepare(set);
    RegisterDocumentWindows(set.app().Windows);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_DD0")));
    auto* issues = qobject_cast<D1*>(OpenedWindow(set.app(), QStringLiteral("Menu_DD0")));
    QVERIFY(issues);
    QVERIFY(issues->F3isBm());
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_DD3")));
    auto* sales = qobject_cast<D1*>(OpenedWindow(set.app(), QStringLiteral("Menu_DD3")));
    QVERIFY(sales);
    QVERIFY(!sales->F3isBm());
    QCOMPARE(sales->windowTitle(), QStringLiteral("销售发货单"));
    sales->close();
    issues->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

VX_REGISTER_TEST(TestD1)
#include "tst_d1.moc"
