#include "core/App.h"
#include "documents/outbound/Assembly.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"
#include "widgets/LineGridHost.h"
#include "OutboundTestPolicy.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

// Assembly from the product structure: the part lines of a product for an
// assembly quantity, the refusals and questions of the fill, and the lines it
// puts into an outbound line grid.
class TestOutboundAssembly : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void partLinesPricedByMode_data();
    void partLinesPricedByMode();
    void onlyMarkedProductsAssemble();
    void fillReplacesTheLines();
    void fillRefusals_data();
    void fillRefusals();
    void clearingQuestionCancelled();
    void refreshAsksForTheQuantityFirst();
    void productWithoutStructureLeavesABlankLine();
};

namespace {

// The line grid and the assembly row of an outbound window.
struct Host : LineGridHost {
    Host()
    {
        grid.setCols(9);
        grid.setRows(2);
        for (int c = 0; c < 9; ++c)
            grid.setTextMatrix(0, c, QStringLiteral("h%1").arg(c));
        row = {&code, &quantity, &name, &unit, &accepted};
    }
    QLineEdit* TxtEnter() override { return &editor; }
    void TxtEnter_LostFocus() override {}
    Grid* GdMx() override { return &grid; }
    void GdMx_Click() override {}
    int curMxR() const override { return r; }
    void setCurMxR(int row) override { r = row; }
    int curMxC() const override { return 0; }
    void setCurMxC(int) override {}
    QString& PubSql() override { return pub; }

    QStringList line(int row) const
    {
        QStringList cells;
        for (int c = 0; c < 9; ++c)
            cells << grid.textMatrix(row, c);
        return cells;
    }

    Grid grid;
    QLineEdit editor, code, quantity, name;
    QLabel unit;
    QString accepted, pub;
    int r = 0;
    AssemblyRow row;
};

void prepare(FreshAccountSet& set)
{
    set.loginAs(QStringLiteral("001"));
    Database& db = set.db();
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("螺丝")};
    g1.cost = 3;
    g1.salePrice = 5;
    g1.unit = QStringLiteral("颗");
    GoodsSpec g2{QStringLiteral("G2"), QStringLiteral("面板")};
    g2.cost = 1.25;
    g2.salePrice = 2;
    GoodsSpec p{QStringLiteral("P1"), QStringLiteral("机箱")};
    p.goodsClass = GoodsClass::Product;
    p.unit = QStringLiteral("台");
    for (const GoodsSpec& g : {g1, g2, p})
        AddGoods(db, g);
    db.execute(QStringLiteral("UPDATE TA4 SET F5 = '规格' || F1"));
    db.execute(QStringLiteral("UPDATE TA4 SET F11 = '1' WHERE F1 = 'P1'"));
    AddBomPart(db, QStringLiteral("P1"), QStringLiteral("G2"), 0.5);
    AddBomPart(db, QStringLiteral("P1"), QStringLiteral("X9"), 1);  // a part without a goods record
    AddBomPart(db, QStringLiteral("P1"), QStringLiteral("G1"), 2);
    db.execute(QStringLiteral("UPDATE Bom SET F8 = '备' || F1"));
}

}  // namespace

void TestOutboundAssembly::partLinesPricedByMode_data()
{
    QTest::addColumn<bool>("department");
    QTest::addColumn<double>("g1Price");
    QTest::addColumn<double>("g2Price");
    QTest::newRow("sales: sale reference price") << false << 5.0 << 2.0;
    QTest::newRow("department: cost price") << true << 3.0 << 1.25;
}

void TestOutboundAssembly::partLinesPricedByMode()
{
    QFETCH(bool, department);
    QFETCH(double, g1Price);
    QFETCH(double, g2Price);
    FreshAccountSet set;
    prepare(set);
    const QVector<AssemblyLine> lines = AssemblyLines(set.db(), QStringLiteral("p1"), 3, department);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].part, QStringLiteral("G1"));
    QCOMPARE(lines[0].name, QStringLiteral("螺丝 规格G1"));
    QCOMPARE(lines[0].unit, QStringLiteral("颗"));
    QCOMPARE(lines[0].qty, 6.0);
    QCOMPARE(lines[0].price, g1Price);
    QCOMPARE(lines[0].amount, 6 * g1Price);
    QCOMPARE(lines[0].remark, QStringLiteral("备G1"));
    QCOMPARE(lines[1].part, QStringLiteral("G2"));
    QCOMPARE(lines[1].qty, 1.5);
    QCOMPARE(lines[1].amount, 1.5 * g2Price);
    QCOMPARE(lines[2].part, QStringLiteral("X9"));
    QVERIFY(!lines[2].known);
    QCOMPARE(lines[2].qty, 3.0);
    QVERIFY(lines[2].name.isEmpty());
}

void TestOutboundAssembly::onlyMarkedProductsAssemble()
{
    FreshAccountSet set;
    prepare(set);
    // Structure rows alone do not make a product: TA4.F11 must say so.
    AddBomPart(set.db(), QStringLiteral("G2"), QStringLiteral("G1"), 1);
    QVERIFY(!FindAssemblyProduct(set.db(), QStringLiteral("G2")));
    QVERIFY(!FindAssemblyProduct(set.db(), QStringLiteral("NOPE")));
    const std::optional<AssemblyProduct> p = FindAssemblyProduct(set.db(), QStringLiteral(" p1 "));
    QVERIFY(p);
    QCOMPARE(p->code, QStringLiteral("P1"));
    QCOMPARE(p->nameSpec, QStringLiteral("机箱 规格P1"));
    QCOMPARE(p->unit, QStringLiteral("台"));
}

void TestOutboundAssembly::fillReplacesTheLines()
{
    FreshAccountSet set;
    prepare(set);
    Host h;
    h.grid.setRows(4);
    h.grid.setTextMatrix(1, 0, QStringLiteral("G2"));
    h.grid.setTextMatrix(2, 0, QStringLiteral("G1"));
    h.grid.setTextMatrix(2, 5, QStringLiteral("0.9"));
    h.code.setText(QStringLiteral("P1"));
    h.quantity.setText(QStringLiteral("2 台"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("此操作需要先清除本出库单明细表中的所有零件数据，真的要继续吗？"), MB::OK);
    QVERIFY(FillAssemblyLines(set.app(), TestOutboundPolicy(false), h.row, h));
    QCOMPARE(msgs.last().style, MB::OKCancel | MB::Question | MB::DefaultButton2);

    QCOMPARE(h.grid.rows(), 5);
    QCOMPARE(h.grid.textMatrix(0, 0), QStringLiteral("h0"));
    QCOMPARE(h.line(1), (QStringList{"G1", "螺丝 规格G1", "", "4 颗", "", "", "5.00", "20.00", "备G1"}));
    QCOMPARE(h.line(2), (QStringList{"G2", "面板 规格G2", "", "1 个", "", "", "2.00", "2.00", "备G2"}));
    QCOMPARE(h.line(3), (QStringList{"X9", "", "", "2", "", "", "", "", "备X9"}));
    QCOMPARE(h.line(4), QStringList(9, QString()));
    QCOMPARE(h.r, 1);
    QCOMPARE(h.name.text(), QStringLiteral("机箱 规格P1"));
    QCOMPARE(h.unit.text(), QStringLiteral("台"));
    QCOMPARE(h.accepted, QStringLiteral("P1"));
    QCOMPARE(h.quantity.text(), QStringLiteral("2 台"));
}

void TestOutboundAssembly::fillRefusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty code") << "  " << "请先填写要组装的产品编码！";
    QTest::newRow("not a product") << "G1" << "您填写的[G1]不是一个有效的产品编码，或者系统中还没有[G1]的产品构成表！";
    QTest::newRow("unknown") << "Q7" << "您填写的[Q7]不是一个有效的产品编码，或者系统中还没有[Q7]的产品构成表！";
}

void TestOutboundAssembly::fillRefusals()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    FreshAccountSet set;
    prepare(set);
    Host h;
    h.grid.setTextMatrix(1, 0, QStringLiteral("G2"));
    h.code.setText(code);
    h.accepted = QStringLiteral("P0");
    MessageScript msgs;
    msgs.expect(message);
    QVERIFY(!FillAssemblyLines(set.app(), TestOutboundPolicy(false), h.row, h));
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(msgs.last().text, message);
    QCOMPARE(msgs.last().title, QString());
    QCOMPARE(h.grid.rows(), 2);
    QCOMPARE(h.grid.textMatrix(1, 0), QStringLiteral("G2"));
    QCOMPARE(h.accepted, QStringLiteral("P0"));
    // A refused product code gives way to the code accepted last.
    QCOMPARE(h.code.text(), code.trimmed().isEmpty() ? code : QStringLiteral("P0"));
}

void TestOutboundAssembly::clearingQuestionCancelled()
{
    FreshAccountSet set;
    prepare(set);
    Host h;
    h.grid.setTextMatrix(1, 0, QStringLiteral("G2"));
    h.code.setText(QStringLiteral("P1"));
    h.accepted = QStringLiteral("P0");
    MessageScript msgs;
    msgs.expect(QStringLiteral("真的要继续吗？"), MB::Cancel);
    QVERIFY(!FillAssemblyLines(set.app(), TestOutboundPolicy(true), h.row, h));
    QCOMPARE(h.grid.textMatrix(1, 0), QStringLiteral("G2"));
    QCOMPARE(h.code.text(), QStringLiteral("P0"));
    QCOMPARE(h.accepted, QStringLiteral("P0"));
    QVERIFY(h.name.text().isEmpty());
}

void TestOutboundAssembly::refreshAsksForTheQuantityFirst()
{
    FreshAccountSet set;
    prepare(set);
    Host h;
    h.code.setText(QStringLiteral("P1"));
    h.name.setText(QStringLiteral("机箱"));
    h.grid.setTextMatrix(1, 0, QStringLiteral("G2"));
    {
        MessageScript msgs;
        h.quantity.setText(QStringLiteral("0"));
        msgs.expect(QStringLiteral("请填写组装数量！"));
        QVERIFY(!RefreshAssemblyLines(set.app(), TestOutboundPolicy(true), h.row, h));
        QCOMPARE(msgs.count(), 1);
    }
    h.quantity.setText(QStringLiteral("1 2"));
    {
        MessageScript msgs;
        msgs.expect(QStringLiteral("此操作将按照[机箱]的产品构成表及组装数量（12）刷新零件的用量！真要要继续吗？"), MB::Cancel);
        QVERIFY(!RefreshAssemblyLines(set.app(), TestOutboundPolicy(true), h.row, h));
        QCOMPARE(msgs.count(), 1);
        QCOMPARE(h.grid.textMatrix(1, 0), QStringLiteral("G2"));
    }
    {
        MessageScript msgs;
        msgs.expect(QStringLiteral("刷新零件的用量"), MB::OK);
        msgs.expect(QStringLiteral("此操作需要先清除"), MB::OK);
        QVERIFY(RefreshAssemblyLines(set.app(), TestOutboundPolicy(true), h.row, h));
        QCOMPARE(msgs.count(), 2);
        // Department mode: parts at their cost price.
        QCOMPARE(h.line(1).mid(0, 8), (QStringList{"G1", "螺丝 规格G1", "", "24 颗", "", "", "3.00", "72.00"}));
    }
}

void TestOutboundAssembly::productWithoutStructureLeavesABlankLine()
{
    FreshAccountSet set;
    prepare(set);
    set.db().execute(QStringLiteral("UPDATE TA4 SET F11 = '1' WHERE F1 = 'G2'"));
    Host h;
    h.code.setText(QStringLiteral("G2"));
    MessageScript msgs;
    QVERIFY(FillAssemblyLines(set.app(), TestOutboundPolicy(false), h.row, h));
    QCOMPARE(msgs.count(), 0);
    QCOMPARE(h.grid.rows(), 2);
    QCOMPARE(h.line(1), QStringList(9, QString()));
    // An empty assembly quantity becomes 1.
    QCOMPARE(h.quantity.text(), QStringLiteral("1"));
}

VX_REGISTER_TEST(TestOutboundAssembly)
#include "tst_outboundassembly.moc"
