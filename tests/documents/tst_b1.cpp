#include "core/App.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "core/SavedHintMark.h"
#include "core/SettingsCatalogue.h"
#include "core/Startup.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/B1.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/sqlcipher.h"
#include "basicdata/QueryGys.h"
#include "forms/Query.h"
#include "exchange/ImportRuns.h"
#include "exchange/ImportWindows.h"
#include "exchange/ToExcel.h"
#include "print/Myprn.h"
#include "support/Builders.h"
#include "support/Openpyxl.h"
#include "support/print/PrintSupport.h"
#include "documents/StockDocTestSupport.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/StatusFrame.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QRegularExpression>
#include <QTest>

// The inbound receipt window driven through its named controls on a real account set.
class TestB1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addAuditUnauditDelete_data();
    void addAuditUnauditDelete();
    void auditEveryUnauditedDocument();
    void listStatusCountsTheListAfterUnauditAndAudit();
    void auditReadsTheDocumentOnceToPostAndOnceToShow();
    void hiddenCostStillProposesThePrice();
    void stripAndEditorRules();
    void textThatIsNoNumberKeepsTheCell_data();
    void textThatIsNoNumberKeepsTheCell();
    void closingWhileEditingIsRefused();
    void printStagesTheShownDocument();
    void pickersFillTheDocument();
    void goodsPickerKeepsToTheFixedSupplier_data();
    void goodsPickerKeepsToTheFixedSupplier();
    void searchFindsOnlyThisType();
    void exportReadBackByOpenpyxl();
    void lineImportFromAWorkbook();
    void interruptedAuditIsFoundAtStartup();
    void mainMenuOpensEachModeOnce();
};

namespace {

void prepare(FreshAccountSet& set, bool attribute = true)
{
    prepareDocBooks(set, DocSide::Supplier, attribute);
}

// Saves a purchase receipt of the lines (goods, quantity, price, attribute) through the service.
void saveReceipt(FreshAccountSet& set, const QString& number, const QDate& date,
                 const QList<std::tuple<QString, double, double, QString>>& lines)
{
    StockDoc doc = stockDoc(number, date, QStringLiteral("A001"), {});
    doc.head.enteredBy.clear();
    for (const auto& [goods, qty, price, attr] : lines)
        doc.lines << stockLine(goods, qty, price, attr);
    QCOMPARE(SaveStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("采购入库单"), doc, {}), QString());
}

// Chooses the goods `code` in the goods picker's list, as Enter on its row does.
void chooseGoods(QWidget* picker, const QString& code)
{
    Grid* gd = control<Grid>(picker, "GD");
    for (int r = 1; r < gd->rows(); ++r) {
        if (gd->textMatrix(r, 0) == code) {
            gd->setRow(r);
            QTest::keyClick(gd, Qt::Key_Return);
            return;
        }
    }
    QFAIL("goods not listed");
}

}  // namespace

void TestB1::textThatIsNoNumberKeepsTheCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    for (const auto& [column, name] : {std::pair{3, "quantity"}, {4, "price"}, {5, "amount"}})
        for (const char* text : {"abc", "12..5", "1,000", "1e308"})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(name), QLatin1String(text))))
                << column << QString::fromLatin1(text);
}

// A figure typed into a line cell that is no number is refused with a
// message; the cell, and the document's total, keep what they held.
void TestB1::textThatIsNoNumberKeepsTheCell()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    B1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("A001"));
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("G1"));
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("4"));
    control<QPushButton>(&w, "CmdEnter")->click();
    w.lines().TxtEnter()->setText(QStringLiteral("A"));
    w.lines().TxtEnter_LostFocus();
    Grid* lines = w.lines().GdMx();
    const QStringList before{lines->textMatrix(1, 3), lines->textMatrix(1, 4), lines->textMatrix(1, 5)};
    const QString total = control<QLineEdit>(&w, "Txt5")->text();
    QCOMPARE(before.at(0), QStringLiteral("4 个"));

    msgs.expect(QStringLiteral("[") + text + QStringLiteral("]"));
    typeIntoCell(w, 1, column, text);
    QCOMPARE(msgs.count(), 1);
    QCOMPARE((QStringList{lines->textMatrix(1, 3), lines->textMatrix(1, 4), lines->textMatrix(1, 5)}), before);
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), total);
}

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
    QVERIFY(!w.lines().TxtEnter()->isHidden());
    QCOMPARE(w.lines().curMxC(), 2);
    w.lines().TxtEnter()->setText(QStringLiteral("b'1"));
    w.lines().TxtEnter_LostFocus();
    // A line from the overlay editor, and its quantity and remark changed there.
    typeIntoCell(w, 2, 0, QStringLiteral("g2"));
    typeIntoCell(w, 2, 3, QStringLiteral("3"));
    typeIntoCell(w, 2, 6, QStringLiteral("it's"));
    Grid* lines = w.lines().GdMx();
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
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(3, 4), QString());
    QCOMPARE(msgs.count(), 0);
}

// Auditing and unauditing from the list show the document first; the status line
// still counts the documents of the list, not the shown document's lines.
void TestB1::listStatusCountsTheListAfterUnauditAndAudit()
{
    FreshAccountSet set;
    prepare(set);
    StatusFrame frame;
    set.app().MainWindow = &frame;
    for (const QString& no : {QStringLiteral("RK1"), QStringLiteral("RK2"), QStringLiteral("RK3")})
        saveReceipt(set, no, QDate::currentDate(), {{QStringLiteral("G1"), 1, 2, QString()}, {QStringLiteral("G2"), 1, 1, QString()}});
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK3")), QString());
    MessageScript msgs;
    {
        B1 w(set.app(), false);
        Grid* list = control<Grid>(&w, "GD");
        list->setRow(3);
        msgs.expect(QStringLiteral("撤销审核操作可能会造成库存"), MB::Yes)
            .expect(QStringLiteral("再次警告"), MB::Yes)
            .expect(QStringLiteral("完成撤销审核!"));
        trigger(&w, "Menu_noOk");
        QCOMPARE(msgs.pending(), 0);
        QCOMPARE(frame.panels.value(4), QStringLiteral("共 3 条记录 当前为第 3 条"));
        chooseScope(0);
        trigger(&w, "Menu_Ok");
        QCOMPARE(list->textMatrix(3, 4), set.app().OperatorName);
        QCOMPARE(frame.panels.value(4), QStringLiteral("共 3 条记录 当前为第 3 条"));
    }
    set.app().MainWindow = nullptr;
}

void TestB1::auditReadsTheDocumentOnceToPostAndOnceToShow()
{
    FreshAccountSet set;
    prepare(set);
    saveReceipt(set, QStringLiteral("RK1"), QDate::currentDate(), {{QStringLiteral("G1"), 2, 3, QStringLiteral("X")}});
    MessageScript msgs;
    B1 w(set.app(), false);
    QStringList statements;
    sqlite3_trace_v2(
        set.db().handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* ctx, void*, void* sql) {
            static_cast<QStringList*>(ctx)->append(QString::fromUtf8(static_cast<const char*>(sql)));
            return 0;
        },
        &statements);
    chooseScope(0);
    trigger(&w, "Menu_Ok");
    sqlite3_trace_v2(set.db().handle(), 0, nullptr, nullptr);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F6 FROM TB1")).toString(), set.app().OperatorName);
    // The document (its header with the unit's name, and its lines) is read by the
    // audit inside its transaction and once more to show the audited document.
    QCOMPARE(statements.filter(QStringLiteral("FROM TB1 LEFT JOIN TA1")).size(), 2);
    QCOMPARE(statements.filter(QStringLiteral("FROM TB11 LEFT JOIN TA4")).size(), 2);
    // No other read of the header by its number from the window.
    QCOMPARE(statements.filter(QRegularExpression(QStringLiteral("^SELECT F\\d+ FROM TB1 WHERE F1 = \\?"))).size(), 0);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), set.app().OperatorName);
    QCOMPARE(control<QLineEdit>(&w, "Txt4")->text(), set.app().OperatorName);
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(msgs.count(), 0);
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
    QVERIFY(w.lines().EnterHPBM());
    control<QLineEdit>(&w, "TxtSL")->setText(QStringLiteral("2"));
    QVERIFY(w.lines().EnterHPBM());
    QCOMPARE(w.lines().GdMx()->rows(), 3);
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 3), QStringLiteral("3 个"));
    // An unknown code is refused with a message and adds nothing.
    msgs.expect(QStringLiteral("资料库中不存在“NOPE”"));
    control<QLineEdit>(&w, "TxtHPBM")->setText(QStringLiteral("NOPE"));
    QVERIFY(!w.lines().EnterHPBM());
    // Entered with the strip's button, the message stands over this window.
    msgs.expect(QStringLiteral("资料库中不存在“NOPE”"));
    control<QPushButton>(&w, "CmdEnter")->click();
    QCOMPARE(msgs.last().window.data(), &w);
    QCOMPARE(w.lines().GdMx()->rows(), 3);
    // Without an attribute a duplicate code in a code cell is refused.
    msgs.expect(QStringLiteral("相同的货品编码已经存在！"));
    typeIntoCell(w, 2, 0, QStringLiteral("G1"));
    QCOMPARE(w.lines().curMxR(), 1);
    // A negative price is stored as its absolute value.
    typeIntoCell(w, 1, 4, QStringLiteral("-3"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 4), QStringLiteral("3.00"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 5), QStringLiteral("9.00"));
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
    set.app().CompanyName = QStringLiteral("维罗仓储");
    QVERIFY(QFile::copy(QStringLiteral(VX_BIN_DIR "/pdan1.vxp"), set.programFolder() + QStringLiteral("pdan1.vxp")));
    saveReceipt(set, QStringLiteral("RK1"), QDate::currentDate(), {{QStringLiteral("G2"), 3, 1.25, QStringLiteral("X")}});
    FakePrinters::Installation printers(set.folder());
    MessageScript msgs;
    B1 w(set.app(), false);
    bool shown = false;
    WhenModal([&](QWidget* d) {
        auto* window = qobject_cast<Myprn*>(d);
        QVERIFY(window);
        shown = true;
        const PrintEngine& engine = window->engine();
        QCOMPARE(engine.Pid, QStringLiteral("采购入库一"));
        QVERIFY(engine.RptFile.endsWith(QStringLiteral("/pdan1.vxp")));
        QCOMPARE(engine.PrnSQL, QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F10 from plist order by F0"));
        QCOMPARE(namedValue(engine, QStringLiteral("RegName")), QStringLiteral("维罗仓储"));
        QCOMPARE(namedValue(engine, QStringLiteral("DanNo")), QStringLiteral("RK1"));
        QCOMPARE(namedValue(engine, QStringLiteral("KH")), QStringLiteral("供应商一"));
        QCOMPARE(namedValue(engine, QStringLiteral("SumJe")), QStringLiteral("3.75"));
        QCOMPARE(namedValue(engine, QStringLiteral("Caption")), QStringLiteral("采购入库单"));
        const RecordSet rs =
            set.db().query(QStringLiteral("SELECT F0, F1, F2, F6, F7, F8, F10, F11 FROM temp.Plist ORDER BY F0"));
        QCOMPARE(rs.rowCount(), 1);
        QCOMPARE(rs.text(0, 0), QStringLiteral("00001"));
        QCOMPARE(rs.text(0, 2), QStringLiteral("螺母"));
        QCOMPARE(rs.text(0, 3), QStringLiteral("3 个"));
        QCOMPARE(rs.text(0, 5), QStringLiteral("3.75"));
        QCOMPARE(rs.text(0, 6), QStringLiteral("X"));
        QCOMPARE(rs.text(0, 7), QStringLiteral("1"));
        window->close();
    });
    trigger(&w, "Menu_prn0");
    QVERIFY(shown);
    QCOMPARE(msgs.count(), 0);
}

void TestB1::pickersFillTheDocument()
{
    FreshAccountSet set;
    prepare(set);
    set.app().ShowUnitPicker = 1;
    // A posted receipt gives G1 the attribute value LOT1 for the attribute picker.
    saveReceipt(set, QStringLiteral("RK0"), QDate::currentDate().addDays(-1),
                {{QStringLiteral("G1"), 5, 2, QStringLiteral("LOT1")}});
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK0")), QString());
    MessageScript msgs;
    B1 w(set.app(), false);
    w.show();
    trigger(&w, "Menu_Add");

    // The unit from the unit picker.
    WhenModal([](QWidget* d) {
        auto* p = qobject_cast<QueryGys*>(d);
        QVERIFY(p);
        QCOMPARE(p->windowTitle(), QStringLiteral("供应商档案"));
        p->GD->setCurrent(1, 0);
        p->CmdOK->click();
    });
    control<QPushButton>(&w, "CmdQGys")->click();
    QCOMPARE(control<QComboBox>(&w, "CmbLB")->currentText(), QStringLiteral("A001.供应商一"));

    // A code typed in part, then chosen in the goods picker opened by a press on "?".
    w.lines().GdMx()->setCurrent(1, 0);
    w.lines().GdMx_Click();
    w.lines().TxtEnter()->setText(QStringLiteral("G"));
    QString preset;
    WhenModal([&preset](QWidget* d) {
        preset = control<QLineEdit>(d, "Txt0")->text();
        chooseGoods(d, QStringLiteral("G1"));
    });
    QTest::mousePress(control<QPushButton>(&w, "CmdQuery"), Qt::LeftButton);
    QCOMPARE(w.lines().TxtEnter()->text(), QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 0), QString());  // the partial text was the search, not a line
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_Return);
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 4), QStringLiteral("2.00"));  // the cost price after RK0

    // Ctrl+F in the code editor opens the goods picker as "?" does.
    w.lines().GdMx()->setCurrent(1, 0);
    w.lines().GdMx_Click();
    bool byKey = false;
    WhenModal([&byKey](QWidget* d) {
        byKey = d->objectName() == QLatin1String("QueryGoods");
        QTest::mouseClick(control<QPushButton>(d, "Cmd2"), Qt::LeftButton);
    });
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(byKey);
    QCOMPARE(w.lines().TxtEnter()->text(), QStringLiteral("G1"));  // cancelled: the cell as it was
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_Return);

    // The editor moved on to the attribute; its value from the attribute picker.
    QCOMPARE(w.lines().curMxC(), 2);
    QVERIFY(control<QPushButton>(&w, "CmdSX")->isVisible());
    QString goodsLine;
    WhenModal([&goodsLine](QWidget* d) {
        goodsLine = control<QLabel>(d, "LabHP")->text();
        Grid* gd = control<Grid>(d, "GD");
        QCOMPARE(gd->textMatrix(1, 0), QStringLiteral("LOT1"));
        gd->setRow(1);
        QTest::mouseClick(control<QPushButton>(d, "CmdOK"), Qt::LeftButton);
    });
    QTest::mousePress(control<QPushButton>(&w, "CmdSX"), Qt::LeftButton);
    QVERIFY(goodsLine.contains(QStringLiteral("G1")));
    QCOMPARE(w.lines().TxtEnter()->text(), QStringLiteral("LOT1"));
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_Return);
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 2), QStringLiteral("LOT1"));

    // Batch mode: every goods chosen lands on the blank last row.
    w.lines().GdMx()->setCurrent(w.lines().GdMx()->rows() - 1, 0);
    w.lines().GdMx_Click();
    bool batch = false;
    WhenModal([&batch](QWidget* d) {
        auto* box = control<QCheckBox>(d, "Chkstyle");
        batch = box->isVisible();
        box->setChecked(true);
        chooseGoods(d, QStringLiteral("G2"));
        chooseGoods(d, QStringLiteral("G1"));
        QTest::mouseClick(control<QPushButton>(d, "Cmd2"), Qt::LeftButton);
    });
    QTest::mousePress(control<QPushButton>(&w, "CmdQuery"), Qt::LeftButton);
    QVERIFY(batch);
    QCOMPARE(w.lines().GdMx()->textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(w.lines().GdMx()->textMatrix(3, 0), QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->rows(), 5);
    typeIntoCell(w, 2, 3, QStringLiteral("4"));

    // The strip's picker answers into the strip's code box.
    WhenModal([](QWidget* d) {
        QVERIFY(control<QCheckBox>(d, "Chkstyle")->isHidden());
        chooseGoods(d, QStringLiteral("G2"));
    });
    control<QPushButton>(&w, "CmdQry")->click();
    QCOMPARE(control<QLineEdit>(&w, "TxtHPBM")->text(), QStringLiteral("G2"));

    // Pictures of the window for a person to look at: VX_SCREENSHOTS=<folder>.
    const QString pictures = qEnvironmentVariable("VX_SCREENSHOTS");
    if (!pictures.isEmpty()) {
        w.resize(960, 560);
        QTest::qWait(50);
        w.grab().save(pictures + QStringLiteral("/B1-editing.png"));
    }
    trigger(&w, "Menu_save");
    if (!pictures.isEmpty()) {
        QTest::qWait(50);
        w.grab().save(pictures + QStringLiteral("/B1-document.png"));
        control<QTabBar>(&w, "TabS")->setCurrentIndex(0);
        QTest::qWait(50);
        w.grab().save(pictures + QStringLiteral("/B1-list.png"));
    }
    QCOMPARE(msgs.count(), 0);
    const RecordSet stored = set.db().query(
        QStringLiteral("SELECT F1, HPSX, F6 FROM TB11 WHERE F0 <> 'RK0' ORDER BY Oid"));
    QCOMPARE(stored.rowCount(), 3);
    QCOMPARE(stored.text(0, 0) + stored.text(0, 1), QStringLiteral("G1LOT1"));
    QCOMPARE(stored.text(1, 0), QStringLiteral("G2"));
    QCOMPARE(stored.value(1, 2).toDouble(), 4.0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F3 FROM TB1 WHERE F1 <> 'RK0'")).toString(),
             QStringLiteral("A001"));
}

void TestB1::goodsPickerKeepsToTheFixedSupplier_data()
{
    QTest::addColumn<bool>("fixedSupplier");
    QTest::addColumn<bool>("supplierMenu");
    QTest::addColumn<bool>("filtered");
    QTest::newRow("setting on, suppliers offered") << true << true << true;
    QTest::newRow("setting on, suppliers not offered") << true << false << false;
    QTest::newRow("setting off") << false << true << false;
}

// With fixed suppliers on and the supplier records offered in the main menu,
// the goods picker of a purchase receipt lists the chosen supplier's goods.
void TestB1::goodsPickerKeepsToTheFixedSupplier()
{
    QFETCH(bool, fixedSupplier);
    QFETCH(bool, supplierMenu);
    QFETCH(bool, filtered);
    FreshAccountSet set;
    prepare(set);
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = ?"), {SetFixedSupplier});
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (?, ?)"),
                     {SetFixedSupplier, fixedSupplier ? 1 : 0});
    set.app().Menus.add(QString(), QStringLiteral("Menu_AA0"), QStringLiteral("供应商"), supplierMenu);
    MessageScript msgs;
    B1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("A001.供应商一"));
    w.lines().GdMx()->setCurrent(1, 0);
    w.lines().GdMx_Click();
    QString caption;
    WhenModal([&caption](QWidget* d) {
        caption = d->windowTitle();
        QTest::mouseClick(control<QPushButton>(d, "Cmd2"), Qt::LeftButton);
    });
    QTest::mousePress(control<QPushButton>(&w, "CmdQuery"), Qt::LeftButton);
    QCOMPARE(caption.contains(QStringLiteral("(供应商：A001)")), filtered);
    QCOMPARE(msgs.count(), 0);
}

void TestB1::searchFindsOnlyThisType()
{
    FreshAccountSet set;
    prepare(set);
    const QDate old(2024, 5, 13);
    saveReceipt(set, QStringLiteral("RK1"), old, {{QStringLiteral("G1"), 1, 2, QString()}});
    QCOMPARE(AuditStockDoc(set.app(), PurchaseReceiptPolicy(), QStringLiteral("RK1")), QString());
    saveReceipt(set, QStringLiteral("RK2"), QDate::currentDate(), {{QStringLiteral("G1"), 1, 2, QString()}});
    StockDoc production;
    production.head = {QStringLiteral("SC1"), old, QStringLiteral("P001")};
    production.lines = {StockDocLine{QStringLiteral("G1"), {}, 1, 1, 1}};
    QCOMPARE(SaveStockDoc(set.app(), ProductionReceiptPolicy(), QStringLiteral("生产入库单"), production, {}),
             QString());
    MessageScript msgs;
    B1 w(set.app(), false);
    Grid* list = control<Grid>(&w, "GD");
    QCOMPARE(list->rows(), 2);  // the opening list: this month and the unaudited
    QCOMPARE(list->textMatrix(1, 0), QStringLiteral("RK2"));

    // "入库单号 = RK1 或者 入库单号 = SC1": the production receipt stays out.
    int fields = 0;
    WhenModal([&fields](QWidget* d) {
        auto* q = qobject_cast<Query*>(d);
        QVERIFY(q);
        fields = q->CmbF->count();
        q->CmdAdd->click();  // to the advanced mode with its condition list
        bool first = true;
        for (const char* no : {"RK1", "SC1"}) {
            if (!first)
                q->CmbLG->setCurrentText(QStringLiteral("或者"));
            first = false;
            q->CmbF->setCurrentIndex(0);
            q->CmbF_Click();
            q->cmbGx->setCurrentText(QStringLiteral("等于(=)"));
            q->Txt->setText(QString::fromLatin1(no));
            q->CmdAdd->click();
        }
        q->CmdQuery->click();
    });
    trigger(&w, "Menu_query");
    QCOMPARE(fields, 7);
    QCOMPARE(list->rows(), 2);
    QCOMPARE(list->textMatrix(1, 0), QStringLiteral("RK1"));

    // Cancelled from the detail tab: back on the list, which stays as it was.
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    WhenModal([](QWidget* d) { qobject_cast<Query*>(d)->CmdCancel->click(); });
    trigger(&w, "Menu_query");
    QCOMPARE(control<QTabBar>(&w, "TabS")->currentIndex(), 0);
    QCOMPARE(list->textMatrix(1, 0), QStringLiteral("RK1"));
    QCOMPARE(msgs.count(), 0);
}

void TestB1::exportReadBackByOpenpyxl()
{
    SKIP_WITHOUT_OPENPYXL();
    FreshAccountSet set;
    prepare(set);
    saveReceipt(set, QStringLiteral("RK1"), QDate::currentDate(),
                {{QStringLiteral("G1"), 3, 2.5, QStringLiteral("A")}, {QStringLiteral("G2"), 2, 1.25, QString()}});
    MessageScript msgs;
    B1 w(set.app(), false);
    QTemporaryDir dir;
    // The list: the shown columns only, the amount as a number.
    const QString listFile = dir.filePath(QStringLiteral("list.xlsx"));
    exportShown(&w, listFile, msgs);
    QVector<QVector<PeerCell>> rows = OpenpyxlRead(listFile);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].size(), 7);
    QCOMPARE(rows[0][0].value.toString(), QStringLiteral("入库单号"));
    QCOMPARE(rows[1][0].value.toString(), QStringLiteral("RK1"));
    QCOMPARE(rows[1][5].type, QStringLiteral("n"));
    QCOMPARE(rows[1][5].value.toDouble(), 10.0);

    // The shown document's lines: price and amount numbers, the quantity with its unit as text.
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    const QString linesFile = dir.filePath(QStringLiteral("lines.xlsx"));
    exportShown(&w, linesFile, msgs);
    rows = OpenpyxlRead(linesFile);
    QVERIFY(rows.size() >= 3);
    QCOMPARE(rows[1][0].value.toString(), QStringLiteral("G1"));
    QCOMPARE(rows[1][2].value.toString(), QStringLiteral("A"));
    QCOMPARE(rows[1][3].value.toString(), QStringLiteral("3 个"));
    QCOMPARE(rows[1][4].type, QStringLiteral("n"));
    QCOMPARE(rows[1][4].value.toDouble(), 2.5);
    QCOMPARE(rows[2][5].value.toDouble(), 2.5);
}

void TestB1::lineImportFromAWorkbook()
{
    SKIP_WITHOUT_OPENPYXL();
    FreshAccountSet set;
    prepare(set, false);
    set.app().ExcelLineImport = 1;
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("lines.xlsx"));
    RunOpenpyxl(QStringLiteral("wb = openpyxl.Workbook()\nws = wb.active\n"
                               "ws.append(['编码', '数量', '单价', '备注'])\n"
                               "ws.append(['G1', 2, 3.5, 'it\\'s'])\nws.append(['NOPE', 1, 1, ''])\n"
                               "ws.append(['G2', 4, 1.25, ''])\nwb.save(sys.argv[1])\n"),
                {book});
    MessageScript msgs;
    B1 w(set.app(), false);
    trigger(&w, "Menu_Add");
    control<QComboBox>(&w, "CmbLB")->setEditText(QStringLiteral("A001"));
    QVERIFY(!control<QPushButton>(&w, "CmdFexcel")->isHidden());
    const QString caption = importWorkbookLines(&w, book, msgs, QStringLiteral("成功写入 2 行数据"));
    QCOMPARE(caption, QStringLiteral("从Excel文件中读取入库单明细"));
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(w.lines().GdMx()->textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(w.lines().GdMx()->textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("12.00"));
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F9 FROM TB1")).toDouble(), 12.0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F9 FROM TB11 WHERE F1 = 'G1'")).toString(),
             QStringLiteral("it's"));
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
