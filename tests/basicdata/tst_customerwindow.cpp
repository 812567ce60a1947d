#include "RecordFixture.h"

#include "basicdata/A2.h"
#include "basicdata/QueryGys.h"
#include "basicdata/QueryTA1.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

// The customer window with its quotation grid and folder link, and the unit pickers.
class TestCustomerWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void quotationEntryStoredWithTheCustomer();
    void cancelLeavesStoredQuotations();
    void quotationCodeRefusals();
    void priceSign_data();
    void priceSign();
    void searchBar();
    void typedCodeOfAnotherUnit();
    void dualRoleKeptWhenSettingOff();
    void folderPathLimits();
    void deleteRemovesQuotations();
    void pickerQuickAdd();
    void pickerQuickAddRefusals();
    void keywordSearch();
};

namespace {

struct QuoteBooks : RecordBooks {
    QuoteBooks()
    {
        app().OfferCustomerPrice = 1;
        AddGoods(db(), {QStringLiteral("G1"), QStringLiteral("螺丝"), QStringLiteral("000"), QStringLiteral("个"), 0, 2.5});
        AddGoods(db(), {QStringLiteral("G2"), QStringLiteral("垫片"), QStringLiteral("000"), QStringLiteral("片"), 0, 0.8});
    }
    // Customer K1 with one quotation of G1 at 3.
    void quotedCustomer()
    {
        AddUnit(db(), {QStringLiteral("K1"), QStringLiteral("甲客户"), UnitKind::Customer});
        db().execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('K1', 'G1', 3)"));
    }
};

// Opens the cell editor on (row, col) of the quotation grid, types and presses Enter.
void enterCell(A2& w, int row, int col, const QString& text)
{
    w.GdMx()->setCurrent(row, col);
    w.GdMx_Click();
    QVERIFY2(!w.TxtEnter()->isHidden(), "editor not open");
    w.TxtEnter()->setText(text);
    QTest::keyClick(w.TxtEnter(), Qt::Key_Return);
}

QString quotes(const Database& db)
{
    return db.scalar(QStringLiteral("SELECT group_concat(F0 || ':' || F1 || ':' || F7 || ':' || ifnull(F8, ''), ' ') "
                                    "FROM (SELECT * FROM KhPrice ORDER BY F0, F1)"))
        .toString();
}

}  // namespace

void TestCustomerWindow::quotationEntryStoredWithTheCustomer()
{
    QuoteBooks set;
    MessageScript msgs;
    A2 w(set.app());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Trigger(&w, "Menu_Add");
    TypeBox(&w, 0, QStringLiteral(" k 1"));
    TypeBox(&w, 1, QStringLiteral("甲客户"));
    enterCell(w, 1, 0, QStringLiteral("g1"));
    QCOMPARE(w.GdMx()->textMatrix(1, 1), QStringLiteral("螺丝/"));
    QCOMPARE(w.GdMx()->textMatrix(1, 3), QStringLiteral("2.5"));
    QCOMPARE(w.QuoteEditCol, 3);  // Enter moved on to the price
    w.TxtEnter()->setText(QStringLiteral("3.2元"));
    QTest::keyClick(w.TxtEnter(), Qt::Key_Return);
    w.TxtEnter()->setText(QStringLiteral("老客户's 价"));
    QTest::keyClick(w.TxtEnter(), Qt::Key_Return);
    QCOMPARE(w.curMxR(), 2);  // on to the code of the blank line
    QCOMPARE(w.GdMx()->rows(), 3);
    QCOMPARE(quotes(set.db()), QString());  // nothing stored before the save
    Trigger(&w, "Menu_save");
    QCOMPARE(w.Edstu, 0);
    QCOMPARE(quotes(set.db()), QStringLiteral("K1:G1:3.2:老客户's 价"));
    QCOMPARE(w.GdMx()->rows(), 2);  // the blank line goes in browse mode
    QCOMPARE(msgs.count(), 0);
    // A picture of the customer with its quotations: VX_SCREENSHOTS=<folder>.
    if (const QString dir = qEnvironmentVariable("VX_SCREENSHOTS"); !dir.isEmpty()) {
        w.resize(900, 600);
        QCoreApplication::processEvents();
        w.grab().save(dir + QStringLiteral("/A2.png"));
    }
}

void TestCustomerWindow::cancelLeavesStoredQuotations()
{
    QuoteBooks set;
    set.quotedCustomer();
    MessageScript msgs;
    A2 w(set.app());
    w.show();
    Trigger(&w, "Menu_edit");
    QCOMPARE(w.GdMx()->rows(), 3);  // a blank line for a new quotation
    enterCell(w, 2, 0, QStringLiteral("G2"));
    TypeBox(&w, 0, QStringLiteral("K2"));
    Trigger(&w, "Menu_cancel");
    QCOMPARE(quotes(set.db()), QStringLiteral("K1:G1:3.0:"));
    QCOMPARE(w.GdMx()->rows(), 2);
    // Typing over a line's code keeps the earlier quotation too; a rename carries them.
    Trigger(&w, "Menu_edit");
    enterCell(w, 1, 0, QStringLiteral("G2"));
    TypeBox(&w, 0, QStringLiteral("k 2"));
    Trigger(&w, "Menu_save");
    QCOMPARE(quotes(set.db()), QStringLiteral("K2:G1:3.0: K2:G2:0.8:"));
}

void TestCustomerWindow::quotationCodeRefusals()
{
    QuoteBooks set;
    set.quotedCustomer();
    MessageScript msgs;
    A2 w(set.app());
    w.show();
    Trigger(&w, "Menu_edit");
    msgs.expect(QStringLiteral("货品资料库中不存在[NOPE]这个货品编码！"));
    enterCell(w, 2, 0, QStringLiteral("nope"));
    QCOMPARE(w.GdMx()->textMatrix(2, 0), QString());
    msgs.expect(QStringLiteral("相同的货品编码已经存在！"));
    enterCell(w, 2, 0, QStringLiteral("g1"));
    QCOMPARE(w.curMxR(), 1);
    msgs.expect(QStringLiteral("真的要删除货品[螺丝]吗？"), MB::Yes);
    enterCell(w, 1, 0, QString());
    Trigger(&w, "Menu_save");
    QCOMPARE(quotes(set.db()), QString());
    QCOMPARE(msgs.pending(), 0);
}

void TestCustomerWindow::priceSign_data()
{
    QTest::addColumn<int>("noNegative");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("negative kept") << 0 << "-5" << "K1:G1:-5.0:";
    QTest::newRow("negative made positive") << 1 << "-5" << "K1:G1:5.0:";
    QTest::newRow("no number") << 0 << "abc" << "K1:G1:0.0:";
}

void TestCustomerWindow::priceSign()
{
    QFETCH(int, noNegative);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QuoteBooks set;
    set.app().NoNegativeQty = noNegative;
    set.quotedCustomer();
    A2 w(set.app());
    w.show();
    Trigger(&w, "Menu_edit");
    enterCell(w, 1, 3, typed);
    Trigger(&w, "Menu_save");
    QCOMPARE(quotes(set.db()), stored);
}

void TestCustomerWindow::searchBar()
{
    QuoteBooks set;
    AddUnit(set.db(), {QStringLiteral("K1"), QStringLiteral("甲客户"), UnitKind::Customer});
    set.db().executeScript(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7, F8) VALUES ('K1', 'G1', 3, 'q');"
                                          "INSERT INTO KhPrice (F0, F1, F7, F8) VALUES ('K1', 'G2', 3, 'XABY')"));
    MessageScript msgs;
    A2 w(set.app());
    w.show();
    w.TabS->setCurrentIndex(1);
    Trigger(&w, "Menu_query");  // on the detail tab: the search bar
    QVERIFY(w.FrmQ->isVisible());
    w.CmbC->setCurrentIndex(2);
    w.TxtBJ->setText(QStringLiteral("ab"));
    w.CmdBJ0->click();
    QCOMPARE(w.GdMx()->row(), 2);
    QVERIFY(w.FrmQ->isHidden());
    Trigger(&w, "Menu_query");
    w.cmbGx->setCurrentIndex(0);
    w.TxtBJ->setText(QStringLiteral("ab"));
    msgs.expect(QStringLiteral("没找到符合条件的记录！"));
    w.CmdBJ0->click();
    Trigger(&w, "Menu_query");
    Trigger(&w, "Menu_query");
    QVERIFY(w.FrmQ->isHidden());
    QCOMPARE(msgs.pending(), 0);
}

void TestCustomerWindow::typedCodeOfAnotherUnit()
{
    QuoteBooks set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲供应"), UnitKind::Supplier});
    MessageScript msgs;
    A2 w(set.app());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Trigger(&w, "Menu_Add");
    QTRY_VERIFY(w.Txt[0]->hasFocus());
    TypeBox(&w, 0, QStringLiteral("s1"));
    msgs.expect(QStringLiteral("系统中已经存在 s1' 这个编码！（甲供应）"));
    w.Txt[1]->setFocus();
    QTRY_COMPARE(msgs.count(), 1);
    QCOMPARE(BoxText(&w, 0), QString());
    TypeBox(&w, 1, QStringLiteral("名"));
    TypeBox(&w, 0, QStringLiteral("s1"));
    msgs.expect(QStringLiteral("[甲供应]已经使用了S1这个编码"));
    Trigger(&w, "Menu_save");
    QCOMPARE(msgs.pending(), 0);
}

void TestCustomerWindow::dualRoleKeptWhenSettingOff()
{
    QuoteBooks set;
    AddUnit(set.db(), {QStringLiteral("K1"), QStringLiteral("甲客户"), UnitKind::Customer});
    set.db().execute(QStringLiteral("UPDATE TA1 SET SCSF = 1 WHERE F1 = 'K1'"));
    {
        A2 w(set.app());
        QVERIFY(!w.DualRoleEnabled);
        Trigger(&w, "Menu_edit");
        TypeBox(&w, 1, QStringLiteral("改名"));
        Trigger(&w, "Menu_save");
    }
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT SCSF FROM TA1 WHERE F1 = 'K1'")).toInt(), 1);
    set.setSetting(1616, 1);
    A2 w(set.app());
    w.show();
    w.TabS->setCurrentIndex(1);
    QVERIFY(w.ChkSCSF->isVisible());
    QVERIFY(w.ChkSCSF->isChecked());
    QCOMPARE(w.LabSCSF->text(), QStringLiteral("该单位具有“客户”及“供应商”双重身份"));
    Trigger(&w, "Menu_edit");
    w.ChkSCSF->setChecked(false);
    Trigger(&w, "Menu_save");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT SCSF FROM TA1 WHERE F1 = 'K1'")).toInt(), 0);
}

void TestCustomerWindow::folderPathLimits()
{
    QuoteBooks set;
    set.setSetting(1617, 1);
    AddUnit(set.db(), {QStringLiteral("K1"), QStringLiteral("甲客户"), UnitKind::Customer});
    MessageScript msgs;
    DialogScript dialogs;
    A2 w(set.app());
    w.show();
    w.TabS->setCurrentIndex(1);
    QVERIFY(w.ImgDir->isHidden());  // no folder yet
    Trigger(&w, "Menu_edit");
    QVERIFY(w.ImgDir->isVisible());
    const QString exact = QStringLiteral("/srv/客户's/") + QString(150 - 10, QLatin1Char('x'));
    QCOMPARE(exact.size(), 150);
    dialogs.pickFolder(exact + QLatin1Char('y'));
    msgs.expect(QStringLiteral("您设置的文件夹路径字串过长，系统不能保存！"));
    w.menu_Set_Click();
    QCOMPARE(w.folderPath(), QString());
    dialogs.pickFolder(exact);
    w.menu_Set_Click();
    QCOMPARE(w.folderPath(), exact);
    Trigger(&w, "Menu_save");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT DocDir FROM TA1 WHERE F1 = 'K1'")).toString(), exact);
    QVERIFY(w.ImgDir->isVisible());
    msgs.expect(QStringLiteral("找不到文件夹 ") + exact);
    w.ImgDir_DblClick();
    Trigger(&w, "Menu_edit");
    dialogs.pickFolder(QString());
    msgs.expect(QStringLiteral("您要保留这个设置吗？"), MB::Cancel);
    w.menu_Set_Click();
    Trigger(&w, "Menu_save");
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT DocDir FROM TA1 WHERE F1 = 'K1'")).toString(), QString());
    QCOMPARE(msgs.pending(), 0);
}

void TestCustomerWindow::deleteRemovesQuotations()
{
    QuoteBooks set;
    AddUnit(set.db(), {QStringLiteral("K1"), QStringLiteral("甲客户"), UnitKind::Customer});
    AddUnit(set.db(), {QStringLiteral("K2"), QStringLiteral("乙客户"), UnitKind::Customer});
    set.db().execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('K1', 'G1', 3)"));
    MessageScript msgs;
    A2 w(set.app());
    msgs.expect(QStringLiteral("真的要删除甲客户的资料吗？"), MB::Yes);
    Trigger(&w, "Menu_del");
    QCOMPARE(quotes(set.db()), QString());
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("K2")});
}

void TestCustomerWindow::pickerQuickAdd()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲供应"), UnitKind::Supplier});
    MessageScript msgs;
    QWidget caller;
    WhenModal([&msgs](QWidget* d) {
        auto* p = qobject_cast<QueryGys*>(d);
        QCOMPARE(p->GD->rows(), 2);
        QCOMPARE(p->LabStu->text(), QStringLiteral("共有 1 条记录，当前是第 1 条。"));
        p->Txt[0]->setText(QStringLiteral("n 1"));
        p->Txt[1]->setText(QStringLiteral("新单位"));
        msgs.expect(QStringLiteral("确实要增加新的档案吗?"), MB::Yes);
        p->Cmd0->click();
        QCOMPARE(p->Txt[0]->text(), QStringLiteral("N1"));
        QCOMPARE(p->GD->textMatrix(2, 0), QStringLiteral("N1"));
        p->GD->setCurrent(2, 0);
        p->CmdOK->click();
    });
    QCOMPARE(PickUnit(set.app(), &caller, 80, QStringLiteral("供应商档案"), false), QStringLiteral("N1.新单位"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT LB FROM TA1 WHERE F1 = 'N1'")).toInt(), 0);
    // The answer came back as the return value; the picker is gone.
    QVERIFY(!QApplication::activeModalWidget());
}

void TestCustomerWindow::pickerQuickAddRefusals()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("C1"), QStringLiteral("乙客户"), UnitKind::Customer});
    LoginWithBasicWord(set, 1111, 1101);  // no add digit in the accounts word
    MessageScript msgs;
    QWidget caller;
    WhenModal([&msgs](QWidget* d) {
        auto* p = qobject_cast<QueryGys*>(d);
        QCOMPARE(p->LabStu->text(), QStringLiteral("对不起，没有符合条件的记录！"));
        p->Txt[0]->setText(QStringLiteral("c1"));
        p->Txt[1]->setText(QStringLiteral("x"));
        msgs.expect(QStringLiteral("确实要增加"), MB::Yes).expect(QStringLiteral("对不起，您无此权限！"));
        p->Cmd0->click();
        p->Cmd2->click();
    });
    QCOMPARE(PickUnit(set.app(), &caller, 0, QStringLiteral("供应商档案"), false), QString());
    set.loginAs(QStringLiteral("001"));
    WhenModal([&msgs](QWidget* d) {
        auto* p = qobject_cast<QueryGys*>(d);
        p->Txt[0]->setText(QStringLiteral("c1"));
        p->Txt[1]->setText(QStringLiteral("x"));
        msgs.expect(QStringLiteral("确实要增加"), MB::Yes).expect(QStringLiteral("[乙客户]已经占用[C1]这个编码！"));
        p->Cmd0->click();
        p->Cmd2->click();
    });
    QCOMPARE(PickUnit(set.app(), &caller, 0, QStringLiteral("供应商档案"), false), QString());
    QCOMPARE(msgs.pending(), 0);
}

void TestCustomerWindow::keywordSearch()
{
    RecordBooks set;
    AddUnit(set.db(), {QStringLiteral("K1"), QStringLiteral("甲客户"), UnitKind::Customer});
    AddUnit(set.db(), {QStringLiteral("K2"), QStringLiteral("乙客户"), UnitKind::Customer});
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("ab供应"), UnitKind::Supplier});
    set.db().execute(QStringLiteral("UPDATE TA1 SET F5 = 'fax-AB' WHERE F1 = 'K2'"));
    MessageScript msgs;
    A2 w(set.app());
    QueryTA1 search(set.app(), &w, QStringLiteral("Select TA1.* from TA1 "));
    QVERIFY(search.Cmd2->isVisibleTo(&search));
    search.Txt->setText(QStringLiteral("   "));
    msgs.expect(QStringLiteral("请输入关键字！"));
    search.Cmd0->click();
    search.Txt->setText(QStringLiteral("ab"));
    search.Cmd0->click();
    w.FillList(w.RecordForm::PubSql);
    QCOMPARE(GridCodes(&w), QStringList{QStringLiteral("K2")});
    QCOMPARE(msgs.pending(), 0);
}

VX_REGISTER_TEST(TestCustomerWindow)
#include "tst_customerwindow.moc"
