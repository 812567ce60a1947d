#include "AccountsSupport.h"

#include "accounts/Register.h"
#include "accounts/VoucherForm.h"
#include "core/App.h"
#include "core/SqlText.h"
#include "core/WindowRegistry.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/Messages.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QLineEdit>
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
    void closingWithAnUnsavedEntryAsks();
    void menuItemsOpenTheirSide_data();
    void menuItemsOpenTheirSide();
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
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("customer on the supplier side") << code(DocKind::Payment) << "C1" << "5" << "在系统资料库中不存在[C1]这个供应商";
    QTest::newRow("supplier on the customer side") << code(DocKind::AddedReceivable) << "S1" << "5" << "在系统资料库中不存在[S1]这个客户";
    QTest::newRow("letters after the digits") << code(DocKind::AddedPayable) << "S1" << "12abc" << "请填写应付金额!";
    QTest::newRow("thousands separator") << code(DocKind::Receipt) << "C1" << "1,000" << "请填写收款金额!";
    QTest::newRow("empty amount") << code(DocKind::Payment) << "S1" << "" << "请填写付款金额!";
}

void TestVoucherWindows::refusalsKeepTheEntry()
{
    QFETCH(int, kind);
    QFETCH(QString, unit);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    Books b;
    auto w = openWindow(b.set.app(), DocKind(kind));
    trigger(*w, "Menu_Add");
    field(*w, 1)->setText(DateText(QDate::currentDate()));
    field(*w, 2)->setText(unit);
    field(*w, 5)->setText(amount);
    b.messages.expect(message);
    trigger(*w, "Menu_save");
    QCOMPARE(b.messages.pending(), 0);
    QCOMPARE(w->Edstu, 1);
    QCOMPARE(w->TabS->currentIndex(), 1);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
    QCOMPARE(b.db().scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 100")).toInt(), 0);
    // Cancelled, the empty row stays for the next add.
    trigger(*w, "Menu_cancel");
    QCOMPARE(w->Edstu, 0);
    QCOMPARE(w->GD->rows(), 2);
    b.messages.expect(QStringLiteral("无数据可删除！"));
    trigger(*w, "Menu_del");
    QCOMPARE(b.messages.pending(), 0);
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

VX_REGISTER_TEST(TestVoucherWindows)
#include "tst_voucherwindows.moc"
