#include "core/App.h"
#include "core/SavedHintMark.h"
#include "documents/StockDocTestSupport.h"
#include "documents/inbound/B1.h"
#include "documents/outbound/D1.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <memory>

// Entry in the stock-document window, the same for every kind: where Enter
// takes the focus in the header, where the header's fields stand, how proposed
// prices and strip-added amounts show.
class TestStockDocEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterMovesThroughTheHeader_data();
    void enterMovesThroughTheHeader();
    void headerFieldsKeepTheirPlace_data();
    void headerFieldsKeepTheirPlace();
    void proposedPricesShowInThePricePattern_data();
    void proposedPricesShowInThePricePattern();
    void outboundShowsOneAssemblyButton();
    void windowDestroyedWhileEditingWritesNothing_data();
    void windowDestroyedWhileEditingWritesNothing();
};

namespace {

void prepare(FreshAccountSet& set)
{
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.CanSeeCost = -1;
    app.CanSeeProfit = -1;
    app.PaidOnReceipt = 1;
    app.ReceivedOnIssue = 1;
    app.NoOverIssue = 0;
    app.HpsxName.clear();
    Database& db = set.db();
    RememberSavedHintOff(db);
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 0});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 0});
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("螺丝")};
    g1.cost = 2.5;
    g1.salePrice = 2.5;
    AddGoods(db, g1);
}

std::unique_ptr<StockDocForm> openWindow(App& app, bool outbound)
{
    std::unique_ptr<StockDocForm> w;
    if (outbound)
        w = std::make_unique<D1>(app, false);
    else
        w = std::make_unique<PurchaseReceiptWindow>(app);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->resize(1100, 700);
    w->show();
    w->activateWindow();
    return w;
}

void kinds()
{
    QTest::addColumn<bool>("outbound");
    QTest::newRow("receipt") << false;
    QTest::newRow("outbound") << true;
}

// Where a control stands in the window.
QRect placeOf(QWidget* w, const char* name)
{
    QWidget* c = control<QWidget>(w, name);
    return QRect(c->mapTo(w, QPoint(0, 0)), c->size());
}

}  // namespace

void TestStockDocEntry::enterMovesThroughTheHeader_data()
{
    kinds();
}

void TestStockDocEntry::enterMovesThroughTheHeader()
{
    QFETCH(bool, outbound);
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    auto w = openWindow(set.app(), outbound);
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    trigger(w.get(), "Menu_Add");
    w->lines().TxtEnter()->hide();
    auto* note = control<QLineEdit>(w.get(), "Txt6");
    auto* unit = control<QComboBox>(w.get(), "CmbLB");
    note->setFocus();
    QVERIFY(note->hasFocus());
    QTest::keyClick(note, Qt::Key_Return);
    if (outbound) {
        // The outbound header moves on as Tab does.
        QVERIFY(!note->hasFocus());
    } else {
        QVERIFY(unit->hasFocus());
    }
    unit->setFocus();
    QTest::keyClick(unit->lineEdit(), Qt::Key_Return);
    QVERIFY(control<QLineEdit>(w.get(), "TxtHPBM")->hasFocus());
    auto* settlement = control<QComboBox>(w.get(), "CmbK");
    QVERIFY(!settlement->isHidden());
    settlement->setFocus();
    QVERIFY(settlement->hasFocus());
    QTest::keyClick(settlement, Qt::Key_Return);
    QVERIFY(!settlement->hasFocus());
    QCOMPARE(msgs.count(), 0);
    trigger(w.get(), "Menu_cancel");
}

void TestStockDocEntry::headerFieldsKeepTheirPlace_data()
{
    kinds();
}

void TestStockDocEntry::headerFieldsKeepTheirPlace()
{
    QFETCH(bool, outbound);
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    auto w = openWindow(set.app(), outbound);
    control<QTabBar>(w.get(), "TabS")->setCurrentIndex(1);
    QApplication::processEvents();
    const QList<const char*> fixed{"Lab1", "Lab2", "Lab3", "Lab5", "Lab6", "Txt0", "Txt3", "Txt5"};
    QList<QRect> viewing;
    for (const char* name : fixed)
        viewing << placeOf(w.get(), name);
    const QRect unitBox = placeOf(w.get(), "Txt2");
    trigger(w.get(), "Menu_Add");
    QApplication::processEvents();
    for (int i = 0; i < fixed.size(); ++i)
        QVERIFY2(placeOf(w.get(), fixed[i]) == viewing[i], fixed[i]);
    // The unit combo stands where the unit box stood.
    QCOMPARE(placeOf(w.get(), "CmbLB").topLeft(), unitBox.topLeft());
    trigger(w.get(), "Menu_cancel");
    QApplication::processEvents();
    for (int i = 0; i < fixed.size(); ++i)
        QVERIFY2(placeOf(w.get(), fixed[i]) == viewing[i], fixed[i]);
}

void TestStockDocEntry::proposedPricesShowInThePricePattern_data()
{
    kinds();
}

void TestStockDocEntry::proposedPricesShowInThePricePattern()
{
    QFETCH(bool, outbound);
    FreshAccountSet set;
    prepare(set);
    set.app().PriceFormat = QStringLiteral("#0.000");
    set.app().AmountFormat = QStringLiteral("#0.00");
    MessageScript msgs;
    auto w = openWindow(set.app(), outbound);
    trigger(w.get(), "Menu_Add");
    control<QComboBox>(w.get(), "CmbLB")->setEditText(outbound ? QStringLiteral("B001") : QStringLiteral("A001"));
    w->lines().TxtEnter()->hide();
    Grid* lines = w->lines().GdMx();
    const int priceCol = outbound ? 6 : 4;
    const int amountCol = outbound ? 7 : 5;
    // A code typed into the line's code cell.
    lines->setCurrent(1, 0);
    w->lines().GdMx_Click();
    w->lines().TxtEnter()->setText(QStringLiteral("G1"));
    w->lines().TxtEnter_LostFocus();
    QCOMPARE(lines->textMatrix(0, priceCol).isEmpty(), false);
    QCOMPARE(lines->textMatrix(1, priceCol), QStringLiteral("2.500"));
    QCOMPARE(lines->textMatrix(1, amountCol), QStringLiteral("2.50"));
    // The strip adds to the same line.
    control<QLineEdit>(w.get(), "TxtHPBM")->setText(QStringLiteral("G1"));
    control<QLineEdit>(w.get(), "TxtSL")->setText(QStringLiteral("3"));
    control<QPushButton>(w.get(), "CmdEnter")->click();
    QCOMPARE(lines->textMatrix(1, amountCol), QStringLiteral("10.00"));
    QCOMPARE(msgs.count(), 0);
    trigger(w.get(), "Menu_cancel");
}

void TestStockDocEntry::outboundShowsOneAssemblyButton()
{
    FreshAccountSet set;
    prepare(set);
    set.db().execute(QStringLiteral("UPDATE sysinfo SET setval = 1 WHERE ID = 92"));
    MessageScript msgs;
    D1 w(set.app(), true);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    trigger(&w, "Menu_Add");
    int shown = 0;
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("组装") && b->isVisible())
            ++shown;
    QCOMPARE(shown, 1);
    QVERIFY(control<QPushButton>(&w, "CmdRfSL")->isVisible());
    trigger(&w, "Menu_cancel");
}

void TestStockDocEntry::windowDestroyedWhileEditingWritesNothing_data()
{
    kinds();
}

// The main window going away takes an editing document window with it: the open
// cell editor commits nothing then, and nothing is saved.
void TestStockDocEntry::windowDestroyedWhileEditingWritesNothing()
{
    QFETCH(bool, outbound);
    FreshAccountSet set;
    prepare(set);
    MessageScript msgs;
    auto w = openWindow(set.app(), outbound);
    trigger(w.get(), "Menu_Add");
    QVERIFY(!w->lines().TxtEnter()->isHidden());
    w->lines().TxtEnter()->setFocus();
    QTRY_VERIFY(w->lines().TxtEnter()->hasFocus());
    w->lines().TxtEnter()->setText(QStringLiteral("G1"));
    w.reset();
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt(), 0);
    QCOMPARE(msgs.count(), 0);
}

VX_REGISTER_TEST(TestStockDocEntry)
#include "tst_stockdocentry.moc"
