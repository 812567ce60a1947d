#include "core/App.h"
#include "core/SavedHintMark.h"
#include "core/SqlText.h"
#include "documents/common/StockDocForm.h"
#include "documents/inbound/ReceiptPolicies.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "documents/StockDocTestSupport.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QLineEdit>
#include <QTest>

// A kind's own line role, given only in its policy: the window shows it from the
// stored line, opens the editor on it, commits it by its own rule and moves on by
// its own next cell, and the columns around it keep their rules.
class TestLineModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aKindsOwnRoleIsShownEditedAndLeft();
};

namespace {

constexpr LineRole Doubled = LineRole(int(LineRole::KindOwn) + 1);

// The receipt with a column that shows twice the quantity and sets the quantity from it.
StockDocPolicy doubledPolicy()
{
    StockDocPolicy p = PurchaseReceiptPolicy();
    LineColumn doubled{Doubled, QStringLiteral("双倍数量")};
    doubled.show = [](const App&, const StockDocLine& l) { return NumText(2 * l.qty); };
    doubled.commit = [](LineCells& cells, int row, const QString& text) {
        const QString unit = AfterSpace(cells.cell(row, LineRole::Quantity));
        cells.setCell(row, LineRole::Quantity, NumText(text.toDouble() / 2) + QLatin1Char(' ') + unit);
        cells.setCell(row, Doubled, NumText(text.toDouble()));
    };
    doubled.next = [](const LineCells&, int) { return NextCell{LineRole::Remark}; };
    const int q = p.columnOf(LineRole::Quantity);
    p.storage.columns.insert(q + 1, doubled);
    p.storage.columns[q].next = [](const LineCells&, int) { return NextCell{Doubled}; };
    return p;
}

}  // namespace

void TestLineModel::aKindsOwnRoleIsShownEditedAndLeft()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.app().CanSeeCost = -1;
    Database& db = set.db();
    RememberSavedHintOff(db);
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 0});
    GoodsSpec g{QStringLiteral("G1"), QStringLiteral("螺丝")};
    g.cost = 2;
    AddGoods(db, g);
    const StockDocPolicy policy = doubledPolicy();
    StockDoc doc = stockDoc(QStringLiteral("N1"), QDate::currentDate(), QStringLiteral("A001"),
                            {stockLine(QStringLiteral("G1"), 3, 2)});
    QCOMPARE(SaveStockDoc(set.app(), policy, StockDocTypeName(db, policy), doc, {}), QString());

    MessageScript msgs;
    StockDocForm w(set.app(), policy);
    trigger(&w, "Menu_edit");
    QCOMPARE(w.Edstu, 2);
    Grid* lines = w.lines().GdMx();
    const int c = policy.columnOf(Doubled);
    QCOMPARE(lines->textMatrix(0, c), QStringLiteral("双倍数量"));
    QCOMPARE(lines->textMatrix(1, c), QStringLiteral("6"));

    // Enter on the quantity goes to the kind's column, whose commit sets the quantity.
    lines->setCurrent(1, policy.columnOf(LineRole::Quantity));
    w.lines().GdMx_Click();
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_Return);
    QCOMPARE(w.lines().curMxC(), c);
    QVERIFY(!w.lines().TxtEnter()->isHidden());
    w.lines().TxtEnter()->setText(QStringLiteral("10"));
    QTest::keyClick(w.lines().TxtEnter(), Qt::Key_Return);
    QCOMPARE(lines->textMatrix(1, policy.columnOf(LineRole::Quantity)), QStringLiteral("5 个"));
    QCOMPARE(w.lines().curMxC(), policy.columnOf(LineRole::Remark));

    trigger(&w, "Menu_save");
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB11")).toDouble(), 5.0);
    QCOMPARE(lines->textMatrix(1, c), QStringLiteral("10"));
}

VX_REGISTER_TEST(TestLineModel)
#include "tst_linemodel.moc"
