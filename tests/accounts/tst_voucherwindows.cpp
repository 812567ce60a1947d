#include "AccountsSupport.h"

#include "accounts/Register.h"
#include "accounts/VoucherForm.h"
#include "core/App.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>
#include <memory>

// Both voucher windows on both sides, driven through their named controls on a real account set.
class TestVoucherWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addEditDeleteThroughTheWindow_data();
    void addEditDeleteThroughTheWindow();
    void refusalsKeepTheEntry_data();
    void refusalsKeepTheEntry();
    void editOfAVoucherChangedElsewhereIsRefused();
    void sortItemsOrderTheList_data();
    void sortItemsOrderTheList();
    void closingWithAnUnsavedEntryAsks();
    void menuItemsOpenTheirSide_data();
    void menuItemsOpenTheirSide();
    void commandMessagesStandOverTheirWindow_data();
    void commandMessagesStandOverTheirWindow();
};

namespace {

std::unique_ptr<VoucherForm> openWindow(App& app, DocKind kind)
{
    std::unique_ptr<VoucherForm> w;
    if (kind == DocKind::AddedPayable || kind == DocKind::AddedReceivable)
        w = std::make_unique<YingLst>(app, kind);
    else
        w = std::make_unique<PayLst>(app, kind);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->resize(900, 500);
    w->show();
    return w;
}

QLineEdit* field(VoucherForm& w, int i)
{
    return w.findChild<QLineEdit*>(QStringLiteral("Txt%1").arg(i));
}

void trigger(VoucherForm& w, const char* name)
{
    QAction* a = w.findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(a, name);
    QVERIFY2(a->isVisible(), name);
    a->trigger();
}

void kinds()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("amountColumn");
    QTest::newRow("added payable") << code(DocKind::AddedPayable) << "S1" << "YF" << "YF";
    QTest::newRow("added receivable") << code(DocKind::AddedReceivable) << "C1" << "YS" << "YF";
    QTest::newRow("payment") << code(DocKind::Payment) << "S1" << "FK" << "FK";
    QTest::newRow("receipt") << code(DocKind::Receipt) << "C1" << "SK" << "FK";
}

struct Books {
    FreshAccountSet set;
    MessageScript messages;
    Books()
    {
        set.loginAs(QStringLiteral("001"));
        AddAccountUnits(set.db());
    }
    Database& db() { return set.db(); }
};

}  // namespace

void TestVoucherWindows::addEditDeleteThroughTheWindow_data()
{
    kinds();
}

void TestVoucherWindows::addEditDeleteThroughTheWindow()
{
    QFETCH(int, kind);
    QFETCH(QString, unit);
    QFETCH(QString, prefix);
    QFETCH(QString, amountColumn);
    Books b;
    auto w = openWindow(b.set.app(), DocKind(kind));
    QCOMPARE(w->property("LB").toInt(), kind);
    QCOMPARE(w->RecordTotal, 0);
    QCOMPARE(w->GD->rows(), 2);

    // A voucher added to an empty list.
    trigger(*w, "Menu_Add");
    QCOMPARE(w->Edstu, 1);
    QVERIFY(!w->TabS->isEnabled());
    QVERIFY(field(*w, 0)->text().startsWith(prefix + QDate::currentDate().toString(QStringLiteral("yyMM"))));
    QCOMPARE(field(*w, 7)->text(), b.set.app().OperatorName);
    QVERIFY(field(*w, 7)->isReadOnly());
    const QString number = field(*w, 0)->text();
    const QDate date = QDate::currentDate().addDays(-2);
    field(*w, 1)->setText(DateText(date));
    field(*w, 2)->setText(unit);
    field(*w, 5)->setText(QStringLiteral("25"));
    field(*w, 8)->setText(QStringLiteral("一月账"));
    trigger(*w, "Menu_save");
    QCOMPARE(w->Edstu, 0);
    QCOMPARE(w->RecordTotal, 1);
    QCOMPARE(w->TabS->currentIndex(), 0);
    QCOMPARE(w->GD->textMatrix(1, 0), number);
    QVERIFY(w->GD->textMatrix(1, 2).startsWith(unit + QLatin1Char('.')));
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT %1 FROM TB1 WHERE F1 = ?").arg(amountColumn), {number}).toDouble(),
             25.0);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT LB FROM TB1 WHERE F1 = ?"), {number}).toInt(), kind);

    // ... can be edited at once,
    trigger(*w, "Menu_edit");
    QCOMPARE(w->Edstu, 2);
    QCOMPARE(field(*w, 5)->text(), QStringLiteral("25"));
    field(*w, 5)->setText(QStringLiteral("30"));
    trigger(*w, "Menu_save");
    QCOMPARE(w->Edstu, 0);
    QCOMPARE(w->RecordTotal, 1);
    QCOMPARE(w->GD->textMatrix(1, 5), QStringLiteral("30"));
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 1);
    const double opening = unit == QLatin1String("S1") ? 100 : 50;
    const double sign = amountColumn == QLatin1String("YF") ? 1 : -1;
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = ?"), {number}).toDouble(),
             opening + sign * 30);
    QCOMPARE(ChainFault(b.db()), QString());

    // ... and deleted at once.
    b.messages.expect(QStringLiteral("真的要删除[") + number, MB::Yes);
    trigger(*w, "Menu_del");
    QCOMPARE(b.messages.pending(), 0);
    QCOMPARE(w->RecordTotal, 0);
    QCOMPARE(w->GD->rows(), 2);
    QCOMPARE(w->GD->textMatrix(1, 0), QString());
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
}

void TestVoucherWindows::refusalsKeepTheEntry_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("number");  // "" keeps the proposed number
    QTest::addColumn<QString>("date");    // "" is today
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("customer on the supplier side") << code(DocKind::Payment) << "" << "" << "C1" << "5" << "在系统资料库中不存在[C1]这个供应商";
    QTest::newRow("supplier on the customer side") << code(DocKind::AddedReceivable) << "" << "" << "S1" << "5" << "在系统资料库中不存在[S1]这个客户";
    QTest::newRow("letters after the digits") << code(DocKind::AddedPayable) << "" << "" << "S1" << "12abc" << "请填写应付金额!";
    QTest::newRow("thousands separator") << code(DocKind::Receipt) << "" << "" << "C1" << "1,000" << "请填写收款金额!";
    QTest::newRow("empty amount") << code(DocKind::Payment) << "" << "" << "S1" << "" << "请填写付款金额!";
    QTest::newRow("number of a stock document") << code(DocKind::AddedPayable) << "rk9" << "" << "S1" << "5" << "系统中已经存在 RK9 这个凭证号！";
    QTest::newRow("no number") << code(DocKind::Receipt) << " " << "" << "C1" << "5" << "请填写凭证号！";
    QTest::newRow("no such day") << code(DocKind::Payment) << "" << "2026-2-30" << "S1" << "5" << "请填写付款日期!";
    QTest::newRow("no date") << code(DocKind::AddedReceivable) << "" << " " << "C1" << "5" << "请填写凭证日期!";
}

void TestVoucherWindows::refusalsKeepTheEntry()
{
    QFETCH(int, kind);
    QFETCH(QString, number);
    QFETCH(QString, date);
    QFETCH(QString, unit);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    Books b;
    // A stock document holds a number no voucher may take; it is not listed.
    PostStockDocument(b.set.app(), QStringLiteral("RK9"), QDate::currentDate(), QStringLiteral("S1"), 10);
    auto w = openWindow(b.set.app(), DocKind(kind));
    trigger(*w, "Menu_Add");
    if (!number.isEmpty())
        field(*w, 0)->setText(number.trimmed());
    field(*w, 1)->setText(date.isEmpty() ? DateText(QDate::currentDate()) : date.trimmed());
    field(*w, 2)->setText(unit);
    field(*w, 5)->setText(amount);
    b.messages.expect(message);
    trigger(*w, "Menu_save");
    QCOMPARE(b.messages.pending(), 0);
    QCOMPARE(w->Edstu, 1);
    QCOMPARE(w->TabS->currentIndex(), 1);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE LB = ?"), {kind}).toInt(), 0);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 100")).toInt(), 0);
    // Cancelled, the empty row stays for the next add.
    trigger(*w, "Menu_cancel");
    QCOMPARE(w->Edstu, 0);
    QCOMPARE(w->GD->rows(), 2);
    b.messages.expect(QStringLiteral("无数据可删除！"));
    trigger(*w, "Menu_del");
    QCOMPARE(b.messages.pending(), 0);
}

void TestVoucherWindows::editOfAVoucherChangedElsewhereIsRefused()
{
    Books b;
    AddVoucher(b.set.app(), DocKind::Receipt, QStringLiteral("SK1"), QDate::currentDate(), QStringLiteral("C1"), 8);
    auto w = openWindow(b.set.app(), DocKind::Receipt);
    QCOMPARE(w->RecordTotal, 1);
    trigger(*w, "Menu_edit");
    field(*w, 5)->setText(QStringLiteral("9"));
    // Another workstation changes the receipt meanwhile.
    const VoucherSide side = VoucherSideOf(DocKind::Receipt);
    const LoadedVoucher there{QStringLiteral("SK1"), StoredVoucherVersion(b.db(), side, QStringLiteral("SK1"))};
    VoucherInput other{QStringLiteral("SK1"), QDate::currentDate(), QStringLiteral("C1"), QStringLiteral("7"), {}, {}};
    QCOMPARE(int(SaveVoucher(b.set.app(), side, other, &there).status), int(VoucherSaveStatus::Saved));
    const QString stored = b.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = 'SK1'")).toString();
    b.messages.expect(QStringLiteral("该凭证已被其他用户修改或删除"));
    trigger(*w, "Menu_save");
    QCOMPARE(b.messages.pending(), 0);
    QCOMPARE(w->Edstu, 2);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT FK FROM TB1 WHERE F1 = 'SK1'")).toDouble(), 7.0);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = 'SK1'")).toString(), stored);
    QCOMPARE(ChainFault(b.db()), QString());
}

void TestVoucherWindows::sortItemsOrderTheList_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("added payables") << code(DocKind::AddedPayable) << "YF"
                                    << QStringList{"&1.按凭证号", "&2.按凭证日期", "&3.按供应商", "&4.按应付金额",
                                                   "&5.按经手人", "&6.按制单人", "&7.按记账时间"};
    QTest::newRow("receipts") << code(DocKind::Receipt) << "SK"
                              << QStringList{"&1.按凭证号", "&2.按收款日期", "&3.按客户", "&4.按收款金额",
                                             "&5.按经手人", "&6.按制单人", "&7.按记账时间"};
}

void TestVoucherWindows::sortItemsOrderTheList()
{
    QFETCH(int, kind);
    QFETCH(QString, prefix);
    QFETCH(QStringList, captions);
    Books b;
    const bool suppliers = kind == code(DocKind::AddedPayable);
    const QString unitWord = suppliers ? QStringLiteral("S") : QStringLiteral("C");
    AddUnit(b.db(), {unitWord + QLatin1Char('3'), QStringLiteral("三"),
                     suppliers ? UnitKind::Supplier : UnitKind::Customer});
    // Voucher n: day, unit, amount, handler, maker, posting time; each sort item gives its own order.
    struct Row {
        int n, day, unit;
        double amount;
        const char *handler, *maker, *time;
    };
    for (const Row& r : {Row{2, 3, 1, 30, "c", "b", "2026-03-09 11:00:00"},
                         Row{3, 1, 2, 10, "b", "a", "2026-03-09 10:00:00"},
                         Row{1, 2, 3, 20, "a", "c", "2026-03-09 12:00:00"}}) {
        const QString no = prefix + QString::number(r.n);
        AddVoucher(b.set.app(), DocKind(kind), no, QDate(2026, 3, r.day), unitWord + QString::number(r.unit), r.amount);
        b.db().execute(QStringLiteral("UPDATE TB1 SET S1 = ?, F5 = ?, H8 = ? WHERE F1 = ?"),
                       {QString::fromLatin1(r.handler), QString::fromLatin1(r.maker), QString::fromLatin1(r.time), no});
    }
    const QList<QList<int>> orders{{1, 2, 3}, {3, 1, 2}, {2, 3, 1}, {2, 1, 3}, {1, 3, 2}, {3, 2, 1}, {1, 2, 3}};
    auto w = openWindow(b.set.app(), DocKind(kind));
    w->LoadVoucherList(VoucherListHead(VoucherSideOf(DocKind(kind))));
    QCOMPARE(w->RecordTotal, 3);
    for (int item = 0; item < 7; ++item) {
        QAction* a = w->findChild<QAction*>(QStringLiteral("Menu_sortBy%1").arg(item));
        QCOMPARE(a->text(), captions[item]);
        a->trigger();
        QVERIFY(a->isChecked());
        QStringList shown, expected;
        for (int r = 1; r <= 3; ++r) {
            shown << w->GD->textMatrix(r, 0);
            expected << prefix + QString::number(orders[item][r - 1]);
        }
        QCOMPARE(shown, expected);
    }
    // Only the posting-time order shows the posting-time column.
    QVERIFY(w->GD->colWidth(9) > 0);
    w->findChild<QAction*>(QStringLiteral("Menu_sortBy0"))->trigger();
    QCOMPARE(w->GD->colWidth(9), 0);
}

void TestVoucherWindows::closingWithAnUnsavedEntryAsks()
{
    Books b;
    auto w = openWindow(b.set.app(), DocKind::Payment);
    trigger(*w, "Menu_Add");
    field(*w, 2)->setText(QStringLiteral("S1"));
    b.messages.expect(QStringLiteral("还没有保存"), MB::No);
    w->close();
    QCOMPARE(b.messages.pending(), 0);
    QVERIFY(w->isVisible());
    QCOMPARE(w->Edstu, 1);
    b.messages.expect(QStringLiteral("还没有保存"), MB::Yes);
    w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(w->Edstu, 0);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
}

void TestVoucherWindows::menuItemsOpenTheirSide_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("listTab");
    QTest::addColumn<QString>("amountHeader");
    QTest::newRow("增加应付") << "Menu_E00" << code(DocKind::AddedPayable) << "增加应付" << "应付账列表" << "应付金额";
    QTest::newRow("增加应收") << "Menu_E01" << code(DocKind::AddedReceivable) << "增加应收" << "应收款列表" << "应收金额";
    QTest::newRow("付款登记") << "Menu_EE0" << code(DocKind::Payment) << "付款给供应商" << "支出列表" << "付款金额";
    QTest::newRow("收款登记") << "Menu_EE1" << code(DocKind::Receipt) << "收款" << "收款列表" << "收款金额";
}

void TestVoucherWindows::menuItemsOpenTheirSide()
{
    QFETCH(QString, item);
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QString, listTab);
    QFETCH(QString, amountHeader);
    Books b;
    RegisterAccountWindows(b.set.app().Windows);
    QVERIFY(OpenWindow(b.set.app(), item));
    auto* w = qobject_cast<VoucherForm*>(OpenedWindow(b.set.app(), item));
    QVERIFY(w);
    QCOMPARE(w->property("LB").toInt(), kind);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->TabS->tabText(0), listTab);
    QCOMPARE(w->GD->textMatrix(0, 5), amountHeader);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!OpenedWindow(b.set.app(), item));
}

void TestVoucherWindows::commandMessagesStandOverTheirWindow_data()
{
    QTest::addColumn<QStringList>("commands");  // actions of window A, in order
    QTest::addColumn<QString>("message");
    QTest::newRow("delete from an empty list") << QStringList{"Menu_del"} << QStringLiteral("无数据可删除！");
    QTest::newRow("save refused") << QStringList{"Menu_Add", "Menu_save"}
                                  << QStringLiteral("在系统资料库中不存在[]这个供应商！\r\r请填写或选择有效的供应商编码！");
}

void TestVoucherWindows::commandMessagesStandOverTheirWindow()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, message);
    Books b;
    // Two windows of the main window's area; the operator works in B while A's command runs.
    QMdiArea area;
    auto* a = new PayLst(b.set.app(), DocKind::Payment);
    auto* other = new PayLst(b.set.app(), DocKind::Receipt);
    area.addSubWindow(a);
    QMdiSubWindow* otherWindow = area.addSubWindow(other);
    area.resize(1000, 700);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.setActiveSubWindow(otherWindow);
    other->GD->setFocus();
    QTRY_VERIFY(other->isAncestorOf(QApplication::focusWidget()));
    b.messages.expect(message);
    for (const QString& command : commands)
        a->findChild<QAction*>(command)->trigger();
    QCOMPARE(b.messages.pending(), 0);
    QCOMPARE(b.messages.last().text, message);
    QCOMPARE(b.messages.last().window.data(), static_cast<QWidget*>(a));
    if (a->Edstu != 0)
        a->Menu_cancel_Click();
}

VX_REGISTER_TEST(TestVoucherWindows)
#include "tst_voucherwindows.moc"
