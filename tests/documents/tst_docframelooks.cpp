#include "core/App.h"
#include "core/SavedHintMark.h"
#include "documents/StockDocTestSupport.h"
#include "documents/inbound/B1.h"
#include "documents/outbound/D1.h"
#include "documents/supplierreturn/B3.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

// How the shared document frame lays out its boxes, on the real windows.
class TestDocFrameLooks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settlementComboShowsItsWholeText_data();
    void settlementComboShowsItsWholeText();
};

using WindowMaker = std::function<StockDocForm*(App&)>;
Q_DECLARE_METATYPE(WindowMaker)

void TestDocFrameLooks::settlementComboShowsItsWholeText_data()
{
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<QString>("paidBox");
    QTest::newRow("receipt") << WindowMaker([](App& a) -> StockDocForm* { return new PurchaseReceiptWindow(a); })
                             << QStringLiteral("Txt7");
    QTest::newRow("delivery") << WindowMaker([](App& a) -> StockDocForm* { return new SalesDeliveryWindow(a); })
                              << QStringLiteral("Txt10");
    QTest::newRow("return") << WindowMaker([](App& a) -> StockDocForm* { return new PurchaseReturnWindow(a); })
                            << QStringLiteral("Txt7");
}

void TestDocFrameLooks::settlementComboShowsItsWholeText()
{
    QFETCH(WindowMaker, make);
    QFETCH(QString, paidBox);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    App& app = set.app();
    app.CanSeeCost = -1;
    app.CanSeeProfit = -1;
    app.PaidOnReceipt = 1;
    app.ReceivedOnIssue = 1;
    RememberSavedHintOff(set.db());
    MessageScript msgs;
    std::unique_ptr<StockDocForm> w(make(app));
    w->resize(900, 560);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));

    trigger(w.get(), "Menu_Add");
    auto* combo = control<QComboBox>(w.get(), "CmbK");
    QVERIFY(combo->isVisible());
    // Typing a paid amount switches the choices to the longer texts.
    w->findChild<QLineEdit*>(paidBox)->setText(QStringLiteral("10"));
    QVERIFY(combo->currentText().startsWith(QStringLiteral("余款记入应")));
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QApplication::processEvents();
    // The closed combo shows its chosen text whole, whichever is chosen.
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    for (int i = 0; i < combo->count(); ++i)
        QVERIFY2(field.width() >= combo->fontMetrics().horizontalAdvance(combo->itemText(i)),
                 qPrintable(QStringLiteral("%1 in %2 px").arg(combo->itemText(i)).arg(field.width())));
}

VX_REGISTER_TEST(TestDocFrameLooks)
#include "tst_docframelooks.moc"
