#include "core/App.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "core/SavedHintMark.h"
#include "core/Startup.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/B1.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

// The inbound receipt window driven through its named controls on a real account set.
class TestB1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addAuditUnauditDelete_data();
    void addAuditUnauditDelete();
    void auditEveryUnauditedDocument();
    void hiddenCostStillProposesThePrice();
    void stripAndEditorRules();
    void closingWhileEditingIsRefused();
    void printStagesTheShownDocument();
    void interruptedAuditIsFoundAtStartup();
    void mainMenuOpensEachModeOnce();
};

namespace {

void prepare(FreshAccountSet& set, bool attribute = true)
{
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.CanSeeCost = -1;
    app.PaidOnReceipt = 1;
    app.HpsxName = attribute ? QStringLiteral("批号") : QString();
    Database& db = set.db();
    RememberSavedHintOff(db);
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department, 0});
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("螺丝")};
    g1.cost = 2.5;
    GoodsSpec g2{QStringLiteral("G2"), QStringLiteral("螺母")};
    g2.cost = 1.25;
    AddGoods(db, g1);
    AddGoods(db, g2);
}

template <typename T = QWidget>
T* control(QObject* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("control %s not found", name);
    return c;
}

void trigger(QObject* w, const char* action)
{
    control<QAction>(w, action)->trigger();
}

// Scope 0 or 1 chosen in the audit-scope dialog, then confirmed.
void chooseScope(int scope)
{
    WhenModal([scope](QWidget* box) {
        control<QRadioButton>(box, scope == 0 ? "Opt0" : "Opt1")->setChecked(true);
        control<QPushButton>(box, "Cmd0")->click();
    });
}

// Saves a purchase receipt of the lines (goods, quantity, price, attribute) through the service.
void saveReceipt(FreshAccountSet& set, const QString& number, const QDate& date,
                 const QList<std::tuple<QString, double, double, QString>>& lines)
{
    StockDoc doc;
    doc.head.number = number;
    doc.head.date = date;
    doc.head.unitCode = QStringLiteral("A001");
    for (const auto& [goods, qty, price, attr] : lines) {
        StockDocLine l;
        l.goods = goods;
        l.qty = qty;
        l.price = price;
        l.amount = qty * price;
        l.attr = attr;
        doc.lines << l;
    }
    QCOMPARE(SaveStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), doc, {}), QString());
}

void typeIntoCell(B1& w, int row, int col, const QString& text)
{
    w.GdMx()->setCurrent(row, col);
    w.GdMx_Click();
    QVERIFY(!w.TxtEnter()->isHidden());
    w.TxtEnter()->setText(text);
    w.TxtEnter_LostFocus();
}

}  // namespace

void TestB1::addAuditUnauditDelete_data()
{
    QTest::addColumn<bool>("department");
    QTest::newRow("purchase") << false;
    QTest::newRow("production") << true;
}

void TestB1::addAuditUnauditDelete()
{
    QFETCH(bool, department);
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    B1 w(set.app(), department);
    Database& db = set.db();
    QCOMPARE(w.windowTitle(), department ? QStringLiteral("生产入库单") : QStringLiteral("采购入库单"));
    QCOMPARE(control<QLabel>(&w, "Lab2")->text(), department ? QStringLiteral("相关部门") : QStringLiteral("供货单位"));

    trigger(&w, "Menu_Add");
    QCOMPARE(w.Edstu, 1);
    const QString number = control<QLineEdit>(&w, "Txt0")->text();
    QCOMPARE(number, QStringLiteral("RK") + QDate::currentDate().toString(QStringLiteral("yyMMdd")) +
                         QStringLiteral("0001"));
    control<QComboBox>(&w, "CmbLB")->setEditText(department ? QStringLiteral("P001") : QStringLiteral("a001"));

    // A line from the strip; the attribute editor opens on it.
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("G1"));
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("4"));
    control<QPushButton>(&w, "CmdEnter")->click();
    QVERIFY(!w.TxtEnter()->isHidden());
    QCOMPARE(w.curMxC(), 2);
    w.TxtEnter()->setText(QStringLiteral("b'1"));
    w.TxtEnter_LostFocus();
    // A line from the overlay editor, and its quantity and remark changed there.
    typeIntoCell(w, 2, 0, QStringLiteral("g2"));
    typeIntoCell(w, 2, 3, QStringLiteral("3"));
    typeIntoCell(w, 2, 6, QStringLiteral("it's"));
    Grid* lines = w.GdMx();
    QCOMPARE(lines->textMatrix(1, 3), QStringLiteral("4 个"));
    QCOMPARE(lines->textMatrix(1, 2), QStringLiteral("B'1"));
    QCOMPARE(lines->textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(lines->textMatrix(2, 5), QStringLiteral("3.75"));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("13.75"));
    control<QLineEdit>(&w, "Txt6")->setText(QStringLiteral("O'Neil"));

    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(w.Edstu, 0);
    const RecordSet stored = db.query(QStringLiteral("SELECT Oid, F1, HPSX, F6, F8, F9 FROM TB11 ORDER BY Oid"));
    QCOMPARE(stored.rowCount(), 2);
    QCOMPARE(stored.text(1, 5), QStringLiteral("it's"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F10 FROM TB1")).toString(), QStringLiteral("O'Neil"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT K FROM TB1")).toInt(), department ? 1 : 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt(), 0);

    // Audit the selected document.
    chooseScope(0);
    trigger(&w, "Menu_Ok");
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB1")).toString(), set.app().OperatorName);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), set.app().OperatorName);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 4.0);

    // Editing and deleting an audited document are refused.
    msgs.expect(QStringLiteral("此单据已经审核，不可修改！"));
    trigger(&w, "Menu_edit");
    QCOMPARE(w.Edstu, 0);
    msgs.expect(QStringLiteral("该单据已审核，不能删除！"));
    trigger(&w, "Menu_del");

    // Unaudit after both warnings.
    msgs.expect(QStringLiteral("撤销审核操作可能会造成库存"), MB::Yes)
        .expect(QStringLiteral("再次警告"), MB::Yes)
        .expect(QStringLiteral("完成撤销审核!"));
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT <> ''")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 0.0);

    msgs.expect(QStringLiteral("真的要删除编码为") + number, MB::Yes);
    trigger(&w, "Menu_del");
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(), 0);
}

void TestB1::auditEveryUnauditedDocument()
{
    FreshAccountSet set;
    prepare(set);
    for (const QString& no : {QStringLiteral("RK1"), QStringLiteral("RK2"), QStringLiteral("RK3")})
        saveReceipt(set, no, QDate::currentDate(), {{QStringLiteral("G1"), 1, 2, QString()}});
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK2")), QString());
    MessageScript msgs;
    B1 w(set.app(), false);
    QCOMPARE(control<Grid>(&w, "GD")->rows(), 4);
    chooseScope(1);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE F6 = ''")).toInt(), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 3.0);

    // Cancelling the dialog audits nothing.
    WhenModal([](QWidget* box) { control<QPushButton>(box, "Cmd1")->click(); });
    control<Grid>(&w, "GD")->setTextMatrix(3, 4, QString());
    trigger(&w, "Menu_Ok");
    QCOMPARE(set.app().PickResult, QString());
}

void TestB1::hiddenCostStillProposesThePrice()
{
    FreshAccountSet set;
    prepare(set, false);
    set.app().CanSeeCost = 0;
    MessageScript msgs;
    B1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("A001"));
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("G1"));
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("2"));
    control<QPushButton>(&w, "CmdEnter")->click();
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F7 FROM TB11")).toDouble(), 2.5);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F8 FROM TB11")).toDouble(), 5.0);
}

void TestB1::stripAndEditorRules()
{
    FreshAccountSet set;
    prepare(set, false);
    MessageScript msgs;
    B1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    // The same code again in the strip adds to its line.
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("G1"));
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("1"));
    QVERIFY(w.EnterHPBM());
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("2"));
    QVERIFY(w.EnterHPBM());
    QCOMPARE(w.GdMx()->rows(), 3);
    QCOMPARE(w.GdMx()->textMatrix(1, 3), QStringLiteral("3 个"));
    // An unknown code is refused with a message and adds nothing.
    msgs.expect(QStringLiteral("资料库中不存在“NOPE”"));
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("NOPE"));
    QVERIFY(!w.EnterHPBM());
    // Without an attribute a duplicate code in a code cell is refused.
    msgs.expect(QStringLiteral("相同的货品编码已经存在！"));
    typeIntoCell(w, 2, 0, QStringLiteral("G1"));
    QCOMPARE(w.curMxR(), 1);
    // A negative price is stored as its absolute value.
    typeIntoCell(w, 1, 4, QStringLiteral("-3"));
    QCOMPARE(w.GdMx()->textMatrix(1, 4), QStringLiteral("3.00"));
    QCOMPARE(w.GdMx()->textMatrix(1, 5), QStringLiteral("9.00"));
    // Saving without a unit is refused and keeps the edit.
    control<QComboBox>(&w, "CmbLB")->setEditText(QString());
    msgs.expect(QStringLiteral("供货单位不能为空！"));
    trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 1);
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("ZZZ"));
    msgs.expect(QStringLiteral("供货单位编码输入错误！"));
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.pending(), 0);
    trigger(&w, "Menu_cancel");
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt(), 0);
}

void TestB1::closingWhileEditingIsRefused()
{
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    auto* w = new B1(set.app(), false);
    w->show();
    trigger(w, "Menu_Add");
    msgs.expect(QStringLiteral("正在有数据被编辑"));
    QVERIFY(!w->close());
    trigger(w, "Menu_cancel");
    QVERIFY(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestB1::printStagesTheShownDocument()
{
    FreshAccountSet set;
    prepare(set);
    saveReceipt(set, QStringLiteral("RK1"), QDate::currentDate(), {{QStringLiteral("G2"), 3, 1.25, QStringLiteral("X")}});
    MessageScript msgs;
    B1 w(set.app(), false);
    trigger(&w, "Menu_prn0");
    QCOMPARE(msgs.count(), 0);
    const RecordSet rs = set.db().query(QStringLiteral("SELECT F1, F2, F6, F7, F8, F10 FROM Plist"));
    QCOMPARE(rs.rowCount(), 1);
    QCOMPARE(rs.text(0, 1), QStringLiteral("螺母"));
    QCOMPARE(rs.text(0, 2), QStringLiteral("3 个"));
    QCOMPARE(rs.text(0, 4), QStringLiteral("3.75"));
    QCOMPARE(rs.text(0, 5), QStringLiteral("X"));
}

void TestB1::interruptedAuditIsFoundAtStartup()
{
    FreshAccountSet set;
    prepare(set);
    saveReceipt(set, QStringLiteral("RK7"), QDate(2024, 5, 13),
                {{QStringLiteral("G1"), 1, 1, QString()}, {QStringLiteral("G1"), 1, 1, QString()}});
    // An audit of an older program, cut off after its header.
    set.db().execute(QStringLiteral("UPDATE TB1 SET SRT = 'S202405130001', F6 = '张三'"));
    set.db().execute(QStringLiteral("UPDATE TB11 SET SH = '张三'"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("RK7"));
    CheckUnfinishedAudits(set.db());
    QCOMPARE(msgs.pending(), 0);
    // Unauditing and auditing again repairs it.
    QCOMPARE(UnauditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK7")), QString());
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK7")), QString());
    CheckUnfinishedAudits(set.db());
    QCOMPARE(msgs.count(), 1);
}

void TestB1::mainMenuOpensEachModeOnce()
{
    FreshAccountSet set;
    prepare(set);
    RegisterDocumentWindows(set.app().Windows);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_BB3")));
    auto* production = qobject_cast<B1*>(OpenedWindow(set.app(), QStringLiteral("Menu_BB3")));
    QVERIFY(production);
    QVERIFY(production->F3isBm());
    QCOMPARE(production->windowTitle(), QStringLiteral("生产入库单"));
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_BB3")));
    QCOMPARE(OpenedWindow(set.app(), QStringLiteral("Menu_BB3")), production);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_BB0")));
    auto* purchase = qobject_cast<B1*>(OpenedWindow(set.app(), QStringLiteral("Menu_BB0")));
    QVERIFY(purchase);
    QVERIFY(!purchase->F3isBm());
    purchase->close();
    production->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

VX_REGISTER_TEST(TestB1)
#include "tst_b1.moc"
