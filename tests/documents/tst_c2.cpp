#include "core/App.h"
#include "core/Posting.h"
#include "core/SavedHintMark.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "documents/StockDocTestSupport.h"
#include "documents/common/StockDocService.h"
#include "documents/inbound/B1.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "documents/stocktaking/C2.h"
#include "documents/stocktaking/StocktakingPolicy.h"
#include "documents/stocktaking/StocktakingService.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "print/Myprn.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Openpyxl.h"
#include "support/PostingReference.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "support/print/PrintSupport.h"

#include <QColor>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

// The stocktaking window C2 driven through its named controls on a real
// account set: counts with surplus, loss and write-off, the count against
// the book quantity by role, the same goods on two lines, the rule that a
// count runs alone, audit and unaudit, the date rule and the print.
class TestC2 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countAuditUnaudit();
    void cellsKeepCountAndDifferenceTogether_data();
    void cellsKeepCountAndDifferenceTogether();
    void sameGoodsOnTwoLines_data();
    void sameGoodsOnTwoLines();
    void countRunsAlone_data();
    void countRunsAlone();
    void uncountedLineIsRefusedWithItsRow();
    void scannedCodeAddsToItsCount();
    void dateKeepsAfterTheLatestDocument();
    void printStagesBookCountAndDifference();
    void mainMenuOpensTheWindow();
    void listShowsTheExtraItemAndFooterTheSign_data();
    void listShowsTheExtraItemAndFooterTheSign();
    void exportWritesQuantitiesAsNumbers_data();
    void exportWritesQuantitiesAsNumbers();
    void deleteOfACountChangedElsewhereIsRefused_data();
    void deleteOfACountChangedElsewhereIsRefused();
};

namespace {

// The count goods (addCountGoods) and a supplier, as operator 001.
void prepare(FreshAccountSet& set, bool attribute = false)
{
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.CanSeeCost = -1;
    app.HpsxName = attribute ? QStringLiteral("批号") : QString();
    Database& db = set.db();
    RememberSavedHintOff(db);
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 0});
    addCountGoods(db);
}

// The audit-scope dialog offers only the shown count, by its number, and is confirmed.
void confirmCountAudit(const QString& number)
{
    WhenModal([number](QWidget* box) {
        auto* shown = control<QRadioButton>(box, "Opt0");
        QCOMPARE(shown->text(), QStringLiteral("审核当前选中的盘点单：") + number);
        QVERIFY(control<QRadioButton>(box, "Opt1")->isHidden());
        shown->setChecked(true);
        control<QPushButton>(box, "Cmd0")->click();
    });
}

double stock(const Database& db, const QString& goods, const char* column = "F8")
{
    return db.scalar(QStringLiteral("SELECT %1 FROM TA4 WHERE F1 = ?").arg(QLatin1String(column)), {goods}).toDouble();
}

// A receipt saved unaudited through the builder, as another workstation would leave it.
void addWaitingReceipt(Database& db, const QString& number, const QDate& date)
{
    DocSpec in{number, date, QStringLiteral("A001")};
    in.lines = {{QStringLiteral("G1"), 1, 2}};
    AddDocument(db, in);
}

// A stocktaking saved unaudited through the service: G1 counted 5 against its book 3.
void saveCount(FreshAccountSet& set, const QString& number, const QDate& date)
{
    CountDoc doc;
    doc.head.number = number;
    doc.head.date = date;
    CountLine l;
    l.goods = QStringLiteral("G1");
    l.book = 3;
    l.counted = 5;
    l.price = 3.33;
    doc.lines << l;
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
}

}  // namespace

// A count of three lines, a surplus, a loss and a loss to zero, saved, audited through
// the scope dialog and unaudited after both warnings.
void TestC2::countAuditUnaudit()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    MessageScript msgs;
    C2 w(set.app());
    QCOMPARE(w.windowTitle(), QStringLiteral("库存盘点单"));
    QCOMPARE(control<QTabBar>(&w, "TabS")->tabText(0), QStringLiteral("盘点单列表"));
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(0, 5), QStringLiteral("盈亏额"));
    QVERIFY(control<QLabel>(&w, "Lab2")->isHidden());

    trigger(&w, "Menu_Add");
    QCOMPARE(w.Edstu, 1);
    const QString number = control<QLineEdit>(&w, "Txt0")->text();
    QCOMPARE(number, QStringLiteral("PD") + QDate::currentDate().toString(QStringLiteral("yyMMdd")) +
                         QStringLiteral("0001"));
    QVERIFY(control<QWidget>(&w, "CmbLB")->isHidden());
    typeIntoCell(w, 1, 0, QStringLiteral("G1"));
    typeIntoCell(w, 1, 4, QStringLiteral("5"));
    typeIntoCell(w, 2, 0, QStringLiteral("g2"));
    typeIntoCell(w, 2, 4, QStringLiteral("1"));
    typeIntoCell(w, 3, 0, QStringLiteral("G3"));
    typeIntoCell(w, 3, 4, QStringLiteral("0"));
    Grid* lines = w.lines().GdMx();
    QCOMPARE(lines->textMatrix(0, 3), QStringLiteral("帐面数"));
    QCOMPARE(lines->textMatrix(1, 3), QStringLiteral("3 个"));
    QCOMPARE(lines->textMatrix(1, 5), QStringLiteral("2 个"));
    QCOMPARE(lines->textMatrix(1, 7), QStringLiteral("6.66"));
    QCOMPARE(lines->textMatrix(2, 5), QStringLiteral("-2 个"));
    QCOMPARE(lines->textMatrix(3, 5), QStringLiteral("-3 个"));
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("-9.99"));

    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(w.Edstu, 0);
    const RecordSet stored = db.query(QStringLiteral("SELECT F1, Z5, F5, F6, R6, C6, F8 FROM TB11 ORDER BY Oid"));
    QCOMPARE(stored.rowCount(), 3);
    QCOMPARE((QList<double>{stored.number(0, 1), stored.number(0, 2), stored.number(0, 3), stored.number(0, 4),
                            stored.number(0, 5)}),
             (QList<double>{3, 5, 2, 2, 0}));
    QCOMPARE((QList<double>{stored.number(2, 2), stored.number(2, 3), stored.number(2, 4), stored.number(2, 5)}),
             (QList<double>{0, -3, 0, 3}));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1")).toDouble(), -9.99);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F3 || S2 FROM TB1")).toString(), QStringLiteral("0000库存盘点"));
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 0), number);

    confirmCountAudit(number);
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 4), set.app().OperatorName);
    QCOMPARE(stock(db, QStringLiteral("G1")), 5.0);
    QCOMPARE(stock(db, QStringLiteral("G2")), 1.0);
    QCOMPARE(stock(db, QStringLiteral("G3")), 0.0);
    QCOMPARE(stock(db, QStringLiteral("G3"), "Fje"), 0.0);  // the whole amount written off

    msgs.expect(QStringLiteral("如果这批已审核盘点的货品已经出库"), MB::Yes).expect(QStringLiteral("再次警告"), MB::Yes);
    trigger(&w, "Menu_noOk");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(msgs.count(), 2);  // no closing message
    QVERIFY(control<Grid>(&w, "GD")->textMatrix(1, 4).isEmpty());
    for (const QString& g : {QStringLiteral("G1"), QStringLiteral("G2"), QStringLiteral("G3")})
        QCOMPARE(stock(db, g), 3.0);
}

// Counted and difference are computed from each other against the book quantity;
// a loss shows red; a count below zero is refused and the cells keep theirs.
void TestC2::cellsKeepCountAndDifferenceTogether_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("counted");
    QTest::addColumn<QString>("difference");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("counted surplus") << 4 << "5" << "5 个" << "2 个" << "6.66" << "";
    QTest::newRow("counted loss") << 4 << "1" << "1 个" << "-2 个" << "-6.66" << "";
    QTest::newRow("counted zero") << 4 << "0" << "0 个" << "-3 个" << "-9.99" << "";
    QTest::newRow("difference loss") << 5 << "-1" << "2 个" << "-1 个" << "-3.33" << "";
    QTest::newRow("difference surplus") << 5 << "4" << "7 个" << "4 个" << "13.32" << "";
    QTest::newRow("count below zero") << 5 << "-4" << "" << "" << "" << "实盘数不能小于 0！";
    QTest::newRow("negative count") << 4 << "-2" << "" << "" << "" << "实盘数不能小于 0！";
}

void TestC2::cellsKeepCountAndDifferenceTogether()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, counted);
    QFETCH(QString, difference);
    QFETCH(QString, amount);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    C2 w(set.app());
    trigger(&w, "Menu_Add");
    typeIntoCell(w, 1, 0, QStringLiteral("G1"));
    Grid* lines = w.lines().GdMx();
    QCOMPARE(lines->textMatrix(1, 3), QStringLiteral("3 个"));
    QCOMPARE(lines->textMatrix(1, 6), QStringLiteral("3.33"));
    if (!refusal.isEmpty())
        msgs.expect(refusal);
    typeIntoCell(w, 1, column, typed);
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(lines->textMatrix(1, 4), counted);
    QCOMPARE(lines->textMatrix(1, 5), difference);
    QCOMPARE(lines->textMatrix(1, 7), amount);
    const bool loss = difference.startsWith(QLatin1Char('-'));
    QCOMPARE(lines->cellForeColor(1, 5) == QColor(Qt::red), loss);
    QCOMPARE(lines->cellForeColor(1, 7) == QColor(Qt::red), loss);
}

// Without an attribute a goods stands on one line only; with one, each attribute value
// is counted against its own posted stock, and the audit posts each.
void TestC2::sameGoodsOnTwoLines_data()
{
    QTest::addColumn<bool>("attribute");
    QTest::newRow("without attribute") << false;
    QTest::newRow("by attribute value") << true;
}

void TestC2::sameGoodsOnTwoLines()
{
    QFETCH(bool, attribute);
    FreshAccountSet set;
    prepare(set, attribute);
    Database& db = set.db();
    // Posted yesterday: G1 batch A 7 and batch B 2 (with the opening 3, a stock of 12).
    DocSpec in{QStringLiteral("RK1"), QDate::currentDate().addDays(-1), QStringLiteral("A001")};
    in.lines = {{QStringLiteral("G1"), 7, 3, QStringLiteral("A")}, {QStringLiteral("G1"), 2, 3, QStringLiteral("B")}};
    AddDocument(db, in);
    PostDocument(db, PostingRules::of(set.app()), in.number, QStringLiteral("系统管理员"), {}, OutPriceRule::Zero);
    MessageScript msgs;
    C2 w(set.app());
    trigger(&w, "Menu_Add");
    Grid* lines = w.lines().GdMx();
    typeIntoCell(w, 1, 0, QStringLiteral("G1"));
    QCOMPARE(lines->textMatrix(1, 3), QStringLiteral("12 个"));
    if (!attribute) {
        typeIntoCell(w, 1, 4, QStringLiteral("10"));
        msgs.expect(QStringLiteral("相同的货品编码已经存在！"));
        typeIntoCell(w, 2, 0, QStringLiteral("G1"));
        QCOMPARE(msgs.pending(), 0);
        QCOMPARE(w.lines().curMxR(), 1);
        QVERIFY(lines->textMatrix(2, 0).isEmpty());
        trigger(&w, "Menu_save");
        confirmCountAudit(control<QLineEdit>(&w, "Txt0")->text());
        trigger(&w, "Menu_Ok");
        QCOMPARE(stock(db, QStringLiteral("G1")), 10.0);
        return;
    }
    typeIntoCell(w, 1, 2, QStringLiteral("a"));
    QCOMPARE(lines->textMatrix(1, 2), QStringLiteral("A"));
    QCOMPARE(lines->textMatrix(1, 3), QStringLiteral("7 个"));
    typeIntoCell(w, 1, 4, QStringLiteral("6"));
    typeIntoCell(w, 2, 0, QStringLiteral("G1"));
    typeIntoCell(w, 2, 2, QStringLiteral("B"));
    QCOMPARE(lines->textMatrix(2, 3), QStringLiteral("2 个"));
    typeIntoCell(w, 2, 4, QStringLiteral("4"));
    QCOMPARE(lines->textMatrix(2, 5), QStringLiteral("2 个"));
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    confirmCountAudit(control<QLineEdit>(&w, "Txt0")->text());
    trigger(&w, "Menu_Ok");
    QCOMPARE(msgs.count(), 0);
    // Batch A 7 -> 6, batch B 2 -> 4, the opening 3 without a batch untouched.
    QCOMPARE(stock(db, QStringLiteral("G1")), 13.0);
    const RecordSet posted = db.query(QStringLiteral("SELECT XS6, XK6 FROM TB11 WHERE LB = 7 ORDER BY Oid"));
    QCOMPARE((QList<double>{posted.number(0, 0), posted.number(0, 1), posted.number(1, 0), posted.number(1, 1)}),
             (QList<double>{7, 6, 2, 4}));
}

// A count runs alone: each command refuses, naming what waits, and writes nothing.
void TestC2::countRunsAlone_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("count while a receipt waits")
        << "add" << "系统内存在未审核的单据（采购入库单），此时不能进行新的库存盘点！";
    // The busy account set is named before the operator's missing right.
    QTest::newRow("count while a receipt waits, without the right")
        << "add without right" << "系统内存在未审核的单据（采购入库单），此时不能进行新的库存盘点！";
    QTest::newRow("receipt while a count waits")
        << "receipt" << "系统内发现未审核的盘点单，在盘点期间，请不要做任何入库出库操作！";
    QTest::newRow("audit while a receipt waits")
        << "audit" << "发现有新开的未审核的单据（采购入库单），此时不能审核盘点单！";
    QTest::newRow("unaudit while a receipt waits")
        << "unaudit" << "发现系统内存在的未审核的单据（采购入库单），此时不能撤销审核盘点单！";
}

void TestC2::countRunsAlone()
{
    QFETCH(QString, situation);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const QDate today = QDate::currentDate();
    const bool adding = situation.startsWith(QLatin1String("add"));
    if (adding) {
        addWaitingReceipt(db, QStringLiteral("RK1"), today);
        if (situation == QLatin1String("add without right"))
            db.execute(QStringLiteral("UPDATE Te1 SET F6%1 = '0000' WHERE F1 = '001'")
                           .arg(StocktakingPolicy().docType().rightGroup));
    } else {
        saveCount(set, QStringLiteral("PD1"), today);
        if (situation == QLatin1String("unaudit"))
            QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD1")), QString());
        if (situation != QLatin1String("receipt"))
            addWaitingReceipt(db, QStringLiteral("RK1"), today);
    }
    const QString before = QString::fromLatin1(StoredDocStamp(db, QStringLiteral("PD1")).toHex());
    MessageScript msgs;
    // The unaudit warns twice before it looks for waiting documents.
    const int warnings = situation == QLatin1String("unaudit") ? 2 : 0;
    if (warnings > 0) {
        msgs.expect(QStringLiteral("真的要继续吗？"), MB::Yes);
        msgs.expect(QStringLiteral("再次警告:"), MB::Yes);
    }
    msgs.expect(refusal);
    if (situation == QLatin1String("receipt")) {
        B1 receipts(set.app(), false);
        trigger(&receipts, "Menu_Add");
        QCOMPARE(receipts.Edstu, 0);
    } else {
        C2 w(set.app());
        w.LoadDocList(QString(), {});
        if (adding) {
            trigger(&w, "Menu_Add");
            QCOMPARE(w.Edstu, 0);
        } else if (situation == QLatin1String("audit")) {
            confirmCountAudit(QStringLiteral("PD1"));
            trigger(&w, "Menu_Ok");
        } else {
            trigger(&w, "Menu_noOk");
        }
        QVERIFY(w.isEnabled());
    }
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(msgs.count(), 1 + warnings);
    QCOMPARE(QString::fromLatin1(StoredDocStamp(db, QStringLiteral("PD1")).toHex()), before);
}

// A line whose count was never entered is refused at save with its row named; the
// window stays in the edit and nothing is written.
void TestC2::uncountedLineIsRefusedWithItsRow()
{
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    C2 w(set.app());
    trigger(&w, "Menu_Add");
    typeIntoCell(w, 1, 0, QStringLiteral("G1"));
    typeIntoCell(w, 1, 4, QStringLiteral("3"));
    typeIntoCell(w, 2, 0, QStringLiteral("G2"));
    QVERIFY(w.lines().GdMx()->textMatrix(2, 4).isEmpty());
    msgs.expect(QStringLiteral("第 2 行 G2 的实盘数还没有录入！"));
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(w.Edstu, 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
    // Counted, it saves.
    typeIntoCell(w, 2, 4, QStringLiteral("0"));
    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F5 FROM TB11 WHERE F1 = 'G2'")).toDouble(), 0.0);
}

// The strip counts: a new goods starts counted at the scanned quantity, the same code
// again adds to that line's count (case-sensitive, blanks trimmed), an unknown code adds
// nothing.
void TestC2::scannedCodeAddsToItsCount()
{
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    C2 w(set.app());
    trigger(&w, "Menu_Add");
    auto* code = control<QLineEdit>(&w, "TxtHPBM");
    auto* qty = control<QLineEdit>(&w, "TxtSL");
    auto* add = control<QPushButton>(&w, "CmdEnter");
    Grid* lines = w.lines().GdMx();
    code->setText(QStringLiteral("G1"));
    qty->setText(QStringLiteral("1"));
    add->click();
    QCOMPARE((QStringList{lines->textMatrix(1, 0), lines->textMatrix(1, 3), lines->textMatrix(1, 4),
                          lines->textMatrix(1, 5)}),
             (QStringList{"G1", "3 个", "1 个", "-2 个"}));
    QCOMPARE(lines->cellForeColor(1, 5), QColor(Qt::red));
    code->setText(QStringLiteral(" G1 "));
    qty->setText(QStringLiteral("4"));
    add->click();
    QCOMPARE(lines->textMatrix(1, 4), QStringLiteral("5 个"));
    QCOMPARE(lines->textMatrix(1, 5), QStringLiteral("2 个"));
    QCOMPARE(lines->textMatrix(1, 7), QStringLiteral("6.66"));
    QVERIFY(lines->cellForeColor(1, 5) != QColor(Qt::red));
    QVERIFY(lines->textMatrix(2, 0).isEmpty());
    msgs.expect(QStringLiteral("货品资料库中不存在“X9”这个货品编码！"));
    code->setText(QStringLiteral("X9"));
    add->click();
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(control<QLineEdit>(&w, "Txt5")->text(), QStringLiteral("6.66"));
    trigger(&w, "Menu_save");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F5 FROM TB11 WHERE F1 = 'G1'")).toDouble(), 5.0);
}

// A new count proposes the latest document's date when that is later than today; the
// date picker refuses a day before it and puts the shown date back.
void TestC2::dateKeepsAfterTheLatestDocument()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const QDate today = QDate::currentDate();
    const QDate later = today.addDays(3);
    addWaitingReceipt(db, QStringLiteral("RK1"), later);
    PostDocument(db, PostingRules::of(set.app()), QStringLiteral("RK1"), QStringLiteral("系统管理员"), {},
                 OutPriceRule::Zero);
    MessageScript msgs;
    C2 w(set.app());
    trigger(&w, "Menu_Add");
    auto* date = control<QLineEdit>(&w, "Txt1");
    QCOMPARE(date->text(), DateText(later));
    QVERIFY(control<QLineEdit>(&w, "Txt0")->text().contains(today.toString(QStringLiteral("yyMMdd"))));
    auto* picker = control<QDateEdit>(&w, "DTP1");
    picker->setDate(later.addDays(-1));
    QCOMPARE(picker->date(), later);
    QCOMPARE(date->text(), DateText(later));
    picker->setDate(later.addDays(1));
    QCOMPARE(date->text(), DateText(later.addDays(1)));
    QCOMPARE(msgs.count(), 0);
}

// The print stages book, counted and difference quantities and the price per line;
// SumSl is the printed book quantities, SumJe the difference amounts.
void TestC2::printStagesBookCountAndDifference()
{
    FreshAccountSet set;
    prepare(set);
    QVERIFY(QFile::copy(QStringLiteral(VX_BIN_DIR "/ppd1.vxp"), set.programFolder() + QStringLiteral("ppd1.vxp")));
    saveCount(set, QStringLiteral("PD1"), QDate::currentDate());
    FakePrinters::Installation printers(set.folder());
    MessageScript msgs;
    C2 w(set.app());
    bool shown = false;
    WhenModal([&](QWidget* d) {
        auto* window = qobject_cast<Myprn*>(d);
        QVERIFY(window);
        shown = true;
        const PrintEngine& engine = window->engine();
        QCOMPARE(engine.Pid, QStringLiteral("采购盘点一"));
        QVERIFY(engine.RptFile.endsWith(QStringLiteral("/ppd1.vxp")));
        QCOMPARE(engine.PrnSQL, QStringLiteral("select F1,F2,F3,F4,F6,F7,F8,F9,F11,F10 from plist order by F0"));
        QMap<QString, QString> values;
        for (const ItemRow& row : engine.GdM)
            if (!values.contains(row.owner))
                values.insert(row.owner, row.value);
        QCOMPARE(values.value(QStringLiteral("DanNo")), QStringLiteral("PD1"));
        QCOMPARE(values.value(QStringLiteral("KH")), QStringLiteral("0000"));
        QCOMPARE(values.value(QStringLiteral("SumSl")), QStringLiteral("3"));
        QCOMPARE(values.value(QStringLiteral("SumJe")), QStringLiteral("6.66"));
        QCOMPARE(values.value(QStringLiteral("Caption")), QStringLiteral("库存盘点单"));
        const RecordSet rs = set.db().query(QStringLiteral("SELECT F1, F6, F7, F8, F9, F11 FROM temp.Plist ORDER BY F0"));
        QCOMPARE(rs.rowCount(), 1);
        QCOMPARE((QStringList{rs.text(0, 0), rs.text(0, 1), rs.text(0, 2), rs.text(0, 3), rs.text(0, 4),
                              rs.text(0, 5)}),
                 (QStringList{"G1", "3 个", "5 个", "2 个", "3.33", "1"}));
        window->close();
    });
    trigger(&w, "Menu_prn0");
    QVERIFY(shown);
    QCOMPARE(msgs.count(), 0);
}

void TestC2::mainMenuOpensTheWindow()
{
    FreshAccountSet set;
    prepare(set);
    RegisterDocumentWindows(set.app().Windows);
    QVERIFY(OpenWindow(set.app(), QStringLiteral("Menu_C2")));
    auto* count = qobject_cast<C2*>(OpenedWindow(set.app(), QStringLiteral("Menu_C2")));
    QVERIFY(count);
    QVERIFY(!count->F3isBm());
    count->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestC2::listShowsTheExtraItemAndFooterTheSign_data()
{
    QTest::addColumn<QString>("caption");  // the extra header item's caption, "" = switched off
    QTest::addColumn<double>("counted");   // of G1, book 3 at 3.33
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("surplus, extra item on") << QStringLiteral("盘点批次") << 5.0 << QStringLiteral("6.66") << QColor(0, 0, 255);
    QTest::newRow("loss, extra item off") << QString() << 1.0 << QStringLiteral("-6.66") << QColor(255, 0, 0);
    QTest::newRow("no difference") << QStringLiteral("盘点批次") << 3.0 << QStringLiteral("0.00") << QColor(0, 0, 255);
}

// The list's column 2 holds the extra header item under its caption (no column while the
// item is off); the footer amount is blue for a surplus or none, red for a loss.
void TestC2::listShowsTheExtraItemAndFooterTheSign()
{
    QFETCH(QString, caption);
    QFETCH(double, counted);
    QFETCH(QString, amount);
    QFETCH(QColor, colour);
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 9181"));
    db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (9181, ?, ?)"),
               {caption.isEmpty() ? 0 : 1, caption});
    CountDoc doc;
    doc.head.number = QStringLiteral("PD1");
    doc.head.date = QDate::currentDate();
    doc.head.extra = QStringLiteral("第三批");
    CountLine l;
    l.goods = QStringLiteral("G1");
    l.book = 3;
    l.counted = counted;
    l.price = 3.33;
    doc.lines << l;
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());

    MessageScript msgs;
    C2 w(set.app());
    w.resize(900, 600);
    w.show();
    Grid* list = control<Grid>(&w, "GD");
    QCOMPARE(list->textMatrix(0, 2), caption);
    QCOMPARE(list->textMatrix(1, 2), QStringLiteral("第三批"));
    QCOMPARE(list->colWidth(2) > 0, !caption.isEmpty());
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    auto* footer = control<QLineEdit>(&w, "Txt5");
    QCOMPARE(footer->text(), amount);
    QCOMPARE(footer->palette().color(QPalette::Text), colour);
    QCOMPARE(control<QLineEdit>(&w, "Txt8")->text(), QStringLiteral("第三批"));
    QCOMPARE(msgs.count(), 0);
}

VX_REGISTER_TEST(TestC2)
#include "tst_c2.moc"

void TestC2::exportWritesQuantitiesAsNumbers_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("book") << "帐面数" << "n" << QVariant(3.0);
    QTest::newRow("counted") << "实盘数" << "n" << QVariant(5.0);
    QTest::newRow("difference") << "盈亏数" << "n" << QVariant(2.0);
    QTest::newRow("code stays text") << "货品编码" << "s" << QVariant(QStringLiteral("G1"));
    QTest::newRow("price stays text") << "单价" << "s" << QVariant(QStringLiteral("3.33"));
}

// The shown count's lines exported to a workbook and read back by openpyxl: the
// quantity columns hold numbers (without their unit), the others text.
void TestC2::exportWritesQuantitiesAsNumbers()
{
    SKIP_WITHOUT_OPENPYXL();
    QFETCH(QString, heading);
    QFETCH(QString, type);
    QFETCH(QVariant, value);
    FreshAccountSet set;
    prepare(set);
    saveCount(set, QStringLiteral("PD1"), QDate::currentDate());
    MessageScript msgs;
    C2 w(set.app());
    control<QTabBar>(&w, "TabS")->setCurrentIndex(1);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("count.xlsx"));
    exportShown(&w, file, msgs);
    const QVector<QVector<PeerCell>> rows = OpenpyxlRead(file);
    QVERIFY(rows.size() >= 2);
    int col = -1;
    for (int c = 0; c < rows[0].size(); ++c)
        if (rows[0][c].value.toString() == heading)
            col = c;
    QVERIFY2(col >= 0, qPrintable(heading));
    QCOMPARE(rows[1][col].type, type);
    if (type == QLatin1String("n"))
        QCOMPARE(rows[1][col].value.toDouble(), value.toDouble());
    else
        QCOMPARE(rows[1][col].value.toString(), value.toString());
}

void TestC2::deleteOfACountChangedElsewhereIsRefused_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("refusal");
    // From the list the count is shown afresh first, so it is refused before the question.
    QTest::newRow("audited, deleted from the list") << "audit" << 0 << false << "该单据已审核，不能删除！";
    QTest::newRow("audited, deleted from the document") << "audit" << 1 << true << "该单据已审核，不能删除！";
    QTest::newRow("recounted, deleted from the document") << "recount" << 1 << true << "没有删除！";
}

// Two workstations on one file: this window lists an unaudited count, the other
// audits or recounts it; the delete must refuse and leave the count as stored.
void TestC2::deleteOfACountChangedElsewhereIsRefused()
{
    QFETCH(QString, meanwhile);
    QFETCH(int, tab);
    QFETCH(bool, asked);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    prepare(set);
    const QString no = QStringLiteral("PD1");
    saveCount(set, no, QDate::currentDate());
    MessageScript msgs;
    C2 w(set.app());
    QCOMPARE(control<Grid>(&w, "GD")->textMatrix(1, 0).trimmed(), no);
    control<QTabBar>(&w, "TabS")->setCurrentIndex(tab);
    {
        App other;
        other.CurrentDatabase.open(set.setPath());
        other.OperatorName = QStringLiteral("李四");
        if (meanwhile == QLatin1String("audit")) {
            QCOMPARE(AuditStocktaking(other, no), QString());
        } else {
            CountDoc theirs = *LoadStocktaking(other.CurrentDatabase, no);
            theirs.lines[0].counted = 4;
            QCOMPARE(SaveStocktaking(other, theirs, no), QString());
        }
    }
    const QStringList before = PostingSnapshot(set.db());
    if (asked)
        msgs.expect(QStringLiteral("真的要删除编码为PD1的单据吗？"), MB::Yes);
    msgs.expect(refusal);
    trigger(&w, "Menu_del");
    QCOMPARE(msgs.pending(), 0);
    QCOMPARE(PostingSnapshot(set.db()), before);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT COUNT(*) FROM TB11 WHERE F0 = ?"), {no}).toInt(), 1);
}
