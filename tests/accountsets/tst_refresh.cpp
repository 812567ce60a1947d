#include "MaintenanceFixture.h"
#include "accountsets/Refresh.h"
#include "accountsets/RefreshForm.h"
#include "core/Posting.h"
#include "core/WholeGoodsWalk.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <csignal>

// The data refresh: goods, unit accounts, document totals and the return
// repair, driven through the maintenance window.
class TestRefresh : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullGoodsRefreshRebuildsThePostedFigures_data();
    void fullGoodsRefreshRebuildsThePostedFigures();
    void goodsWithoutLinesTakeTheirOpeningBalance();
    void codeConditionSelectsSafely_data();
    void codeConditionSelectsSafely();
    void likePattern_data();
    void likePattern();
    void emptyCodeAsksForACondition();
    void unitRefreshClosesEveryChain();
    void documentTotalsFollowTheCost();
    void returnDataRepair();
    void warehouseEditionHasNoAccountsPage_data();
    void warehouseEditionHasNoAccountsPage();
    void failureMidRefreshLeavesTheSetAsItWas_data();
    void failureMidRefreshLeavesTheSetAsItWas();
    void onePassEqualsTheTwoPassOrder_data();
    void onePassEqualsTheTwoPassOrder();
    void missingQuantityStopsAtTheFirstGoodsInEitherOrder_data();
    void missingQuantityStopsAtTheFirstGoodsInEitherOrder();
    void killedRefreshLeavesAllBeforeOrAllAfter_data();
    void killedRefreshLeavesAllBeforeOrAllAfter();
};

namespace {

// Goods figures of posted lines as a crash or a faulty release could have
// left them; the attribute walk's own figures only where that walk runs.
void spoilGoodsFigures(Database& db, bool attributeOn = true)
{
    db.execute(QStringLiteral("UPDATE TB11 SET S6 = 0, S7 = 0, S8 = 0, K6 = 0, K7 = 0, K8 = 0, C7 = 0, C8 = 0 "
                              "WHERE SRT <> ''"));
    if (attributeOn)
        db.execute(QStringLiteral("UPDATE TB11 SET XS6 = NULL, XK6 = NULL WHERE SRT <> ''"));
    db.execute(QStringLiteral("UPDATE TA4 SET F7 = 1, F8 = 99, Fje = 1"));
}

template <class T>
T* named(QWidget& w, const QString& name)
{
    return w.findChild<T*>(name);
}

void click(QWidget& w, const QString& name)
{
    QPushButton* b = named<QPushButton>(w, name);
    QVERIFY2(b, qPrintable(name));
    b->click();
}

// The walks in the order they ran before the one pass: every goods and
// attribute value with posted lines (RepostBatch), then every goods record
// from its opening balance (RecostGoods), in one transaction.
int twoPassRefresh(Database& db, const PostingRules& rules, const CodeCondition& filter)
{
    const QString where = filter.sql.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(filter.sql);
    Transaction tx(db);
    if (rules.attributeOn) {
        const RecordSet batches = db.query(
            QStringLiteral("SELECT F1, HPSX FROM TB11 WHERE SRT <> ''") + where + QStringLiteral(" GROUP BY F1, HPSX"),
            filter.params);
        for (int r = 0; r < batches.rowCount(); ++r)
            RepostBatch(db, batches.text(r, 0), batches.text(r, 1), QString());
    }
    const RecordSet goods = db.query(QStringLiteral("SELECT F1, V3, V4, V5 FROM TA4 WHERE 1") + where +
                                         QStringLiteral(" ORDER BY F1"),
                                     filter.params);
    for (int r = 0; r < goods.rowCount(); ++r) {
        double qty = goods.number(r, QStringLiteral("V3"));
        double price = goods.number(r, QStringLiteral("V4"));
        double amount = goods.number(r, QStringLiteral("V5"));
        double outPrice = 0;
        RecostGoods(db, rules, goods.text(r, 0), qty, price, amount, QString(), outPrice);
    }
    tx.commit();
    return goods.rowCount();
}

// The first line where two snapshots part, with the line before it for context.
void compareSnapshots(const QString& actual, const QString& expected)
{
    const QStringList a = actual.split(QLatin1Char('\n'));
    const QStringList e = expected.split(QLatin1Char('\n'));
    for (int i = 0; i < std::min(a.size(), e.size()); ++i)
        if (a[i] != e[i])
            QCOMPARE(a[i], e[i]);
    QCOMPARE(a.size(), e.size());
}

}  // namespace

void TestRefresh::fullGoodsRefreshRebuildsThePostedFigures_data()
{
    QTest::addColumn<bool>("attributeOn");
    QTest::newRow("attribute tracked") << true;
    // Without an attribute the audits never walk per attribute value; neither may the refresh.
    QTest::newRow("no attribute") << false;
}

void TestRefresh::fullGoodsRefreshRebuildsThePostedFigures()
{
    QFETCH(bool, attributeOn);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName = attributeOn ? QStringLiteral("批号") : QString();
    BuildPostedBook(set.db(), attributeOn);
    QCOMPARE(BrokenInvariants(set.db()), QString());
    const QString posted = PostedFigures(set.db());
    spoilGoodsFigures(set.db(), attributeOn);

    ReJxcBox w(set.app());
    named<QRadioButton>(w, QStringLiteral("Opt0"))->setChecked(true);
    MessageScript msgs;
    msgs.expect(QStringLiteral("成功刷新了 3 个货品的进出存明细！"));
    click(w, QStringLiteral("Cmd0"));
    QCOMPARE(msgs.count(), 1);
    QCOMPARE(w.windowTitle(), QStringLiteral("数据维护"));
    QVERIFY(w.isEnabled());
    // Every figure comes back exactly as posting left it.
    QCOMPARE(PostedFigures(set.db()), posted);
    QCOMPARE(BrokenInvariants(set.db()), QString());
}

void TestRefresh::goodsWithoutLinesTakeTheirOpeningBalance()
{
    FreshAccountSet set;
    AddGoods(set.db(), {.code = QStringLiteral("K1"), .name = QStringLiteral("结转货品"), .cost = 1, .stock = 3,
                        .amount = 9, .openingQty = 12, .openingPrice = 5, .openingAmount = 60});
    AddGoods(set.db(), {.code = QStringLiteral("K2"), .name = QStringLiteral("空货品"), .cost = 4, .stock = 5, .amount = 20});
    ReJxcBox w(set.app());
    named<QRadioButton>(w, QStringLiteral("Opt1"))->setChecked(true);
    named<QLineEdit>(w, QStringLiteral("txtVal"))->setText(QStringLiteral("K2"));
    MessageScript msgs;
    // A goods without posted lines is still re-costed and counted.
    msgs.expect(QStringLiteral("成功刷新了 1 个货品的进出存明细！"));
    click(w, QStringLiteral("Cmd0"));
    named<QRadioButton>(w, QStringLiteral("Opt0"))->setChecked(true);
    msgs.expect(QStringLiteral("成功刷新了 2 个货品"));
    click(w, QStringLiteral("Cmd0"));
    const RecordSet rs = set.db().query(QStringLiteral("SELECT F1, F8, F7, Fje FROM TA4 ORDER BY F1"));
    QCOMPARE(rs.number(0, QStringLiteral("F8")), 12.0);
    QCOMPARE(rs.number(0, QStringLiteral("F7")), 5.0);
    QCOMPARE(rs.number(0, QStringLiteral("Fje")), 60.0);
    QCOMPARE(rs.number(1, QStringLiteral("F8")), 0.0);
    QCOMPARE(rs.number(1, QStringLiteral("Fje")), 0.0);
}

void TestRefresh::codeConditionSelectsSafely_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::newRow("equals") << 0 << "AB%1" << 1;
    QTest::newRow("equals without regard to case") << 0 << " ab%1 " << 1;
    QTest::newRow("equals takes * literally") << 0 << "AB*" << 0;
    QTest::newRow("contains a literal percent") << 1 << "%" << 1;
    QTest::newRow("contains a literal underscore") << 1 << "_" << 1;
    QTest::newRow("contains an apostrophe") << 1 << "'" << 1;
    QTest::newRow("contains with ? wildcard") << 1 << "?B" << 4;
    QTest::newRow("begins with") << 2 << "AB_" << 1;
    QTest::newRow("begins with * wildcard") << 2 << "A*3" << 1;
    QTest::newRow("begins with nothing matching") << 2 << "Z" << 0;
    QTest::newRow("injection stays text") << 0 << "x' OR '1'='1" << 0;
}

void TestRefresh::codeConditionSelectsSafely()
{
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(int, count);
    FreshAccountSet set;
    for (const char* code : {"AB%1", "AB_2", "ABX3", "xab'4"})
        AddGoods(set.db(), {.code = QString::fromUtf8(code), .name = QStringLiteral("件")});
    ReJxcBox w(set.app());
    named<QComboBox>(w, QStringLiteral("cmbGx"))->setCurrentIndex(mode);
    named<QLineEdit>(w, QStringLiteral("txtVal"))->setText(typed);
    MessageScript msgs;
    msgs.expect(count > 0 ? QStringLiteral("成功刷新了 %1 个货品的进出存明细！").arg(count)
                          : QStringLiteral("没有找到指定条件的货品编码！"));
    click(w, QStringLiteral("Cmd0"));
    QCOMPARE(msgs.count(), 1);
}

void TestRefresh::likePattern_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("wildcards") << "a*b?c" << "a%b_c";
    QTest::newRow("literal percent and underscore") << "5%_x" << "5\\%\\_x";
    QTest::newRow("literal backslash") << "a\\b" << "a\\\\b";
    QTest::newRow("apostrophe untouched") << "o'k" << "o'k";
}

void TestRefresh::likePattern()
{
    QFETCH(QString, typed);
    QFETCH(QString, pattern);
    QCOMPARE(LikePattern(typed), pattern);
}

void TestRefresh::emptyCodeAsksForACondition()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    spoilGoodsFigures(set.db());
    const QString before = PostedFigures(set.db());
    ReJxcBox w(set.app());
    named<QLineEdit>(w, QStringLiteral("txtVal"))->setText(QStringLiteral("   "));
    named<QLineEdit>(w, QStringLiteral("TxtVal2"))->setText(QString());
    MessageScript msgs;
    msgs.expect(QStringLiteral("请输入完整条件！"));
    msgs.expect(QStringLiteral("请输入完整条件！"));
    click(w, QStringLiteral("Cmd0"));
    click(w, QStringLiteral("Cmd4"));
    QCOMPARE(msgs.count(), 2);
    QCOMPARE(PostedFigures(set.db()), before);
}

void TestRefresh::unitRefreshClosesEveryChain()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    set.db().execute(QStringLiteral("UPDATE TB1 SET QC = 7, QM = 7"));
    set.db().execute(QStringLiteral("UPDATE TA1 SET NK = 80 WHERE F1 = 'A001'"));
    QVERIFY(!BrokenInvariants(set.db()).isEmpty());
    ReJxcBox w(set.app());
    named<QLineEdit>(w, QStringLiteral("TxtVal2"))->setText(QStringLiteral("A001"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("成功刷新了 1 个关系单位的往来账款明细！"));
    click(w, QStringLiteral("Cmd4"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT QM FROM TB1 WHERE F1 = 'FK01'")).toDouble(), 80 + 220 - 10 + 45 - 30.0);

    named<QRadioButton>(w, QStringLiteral("OptB0"))->setChecked(true);
    const int units = set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1")).toInt();
    msgs.expect(QStringLiteral("成功刷新了 %1 个关系单位的往来账款明细！").arg(units));
    click(w, QStringLiteral("Cmd4"));
    QCOMPARE(BrokenInvariants(set.db()), QString());

    named<QRadioButton>(w, QStringLiteral("OptB1"))->setChecked(true);
    named<QLineEdit>(w, QStringLiteral("TxtVal2"))->setText(QStringLiteral("nobody"));
    msgs.expect(QStringLiteral("没有找到指定条件的关系单位编码！"));
    click(w, QStringLiteral("Cmd4"));
    QCOMPARE(msgs.count(), 3);
}

void TestRefresh::documentTotalsFollowTheCost()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    Database& db = set.db();
    const double issueCost = db.scalar(QStringLiteral("SELECT C8 FROM TB11 WHERE F0 = 'LY01'")).toDouble();
    QVERIFY(issueCost > 0);
    db.execute(QStringLiteral("UPDATE TB11 SET F7 = 1, F8 = -1 WHERE F0 = 'LY01'"));
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = 1 WHERE F1 IN ('LY01', 'PD01')"));
    // A cost-valued issue whose lines come to 0 keeps the total it has.
    AddDocument(db, {.number = QStringLiteral("LY02"), .unit = QStringLiteral("P001"), .kind = DocKind::Outbound, .department = true,
                     .lines = {{QStringLiteral("G2"), 1, 0, QStringLiteral("X")}}});
    db.execute(QStringLiteral("UPDATE TB1 SET F9 = 33, V1 = 0 WHERE F1 = 'LY02'"));
    db.execute(QStringLiteral("UPDATE TB11 SET C7 = 0, C8 = 0 WHERE F0 = 'LY02'"));

    ReJxcBox w(set.app());
    MessageScript msgs;
    msgs.expect(QStringLiteral("操作完成！"));
    click(w, QStringLiteral("Cmd6"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TB11 WHERE F0 = 'LY01'")).toDouble(), -issueCost);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE F1 = 'LY01'")).toDouble(), issueCost);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE F1 = 'LY02'")).toDouble(), 33.0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F9 FROM TB1 WHERE F1 = 'PD01'")).toDouble(),
             db.scalar(QStringLiteral("SELECT sum(F8) FROM TB11 WHERE F0 = 'PD01'")).toDouble());
}

void TestRefresh::returnDataRepair()
{
    FreshAccountSet set;
    BuildPostedBook(set.db());
    set.db().execute(QStringLiteral("UPDATE TB11 SET C6 = 5 WHERE LB = 4"));
    set.db().execute(QStringLiteral("UPDATE TB11 SET R6 = 5 WHERE LB = 2"));
    ReJxcBox w(set.app());
    QCOMPARE(named<QPushButton>(w, QStringLiteral("Command1"))->text(), QStringLiteral("修复退库数据错误"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("OK!"));
    click(w, QStringLiteral("Command1"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE LB = 4 AND C6 <> -F6")).toInt(), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE LB = 2 AND R6 <> F6")).toInt(), 0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT C6 FROM TB11 WHERE F0 = 'TK01'")).toDouble(), -1.0);
}

void TestRefresh::warehouseEditionHasNoAccountsPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("warehouse") << "Vorlix仓库管理系统" << QStringList{"刷新货品进出存明细", "刷新单据合计金额"};
    QTest::newRow("with accounts") << "Vorlix进销存管理系统"
                                   << QStringList{"刷新货品进出存明细", "刷新往来帐款明细", "刷新单据合计金额"};
}

void TestRefresh::warehouseEditionHasNoAccountsPage()
{
    QFETCH(QString, title);
    QFETCH(QStringList, tabs);
    FreshAccountSet set;
    set.app().AppTitle = title;
    ReJxcBox w(set.app());
    w.show();
    QTabBar* bar = named<QTabBar>(w, QStringLiteral("TabS"));
    QStringList shown;
    for (int i = 0; i < bar->count(); ++i)
        shown << bar->tabText(i);
    QCOMPARE(shown, tabs);
    QCOMPARE(bar->currentIndex(), 0);
    QVERIFY(named<QWidget>(w, QStringLiteral("Frm1"))->isVisible());
    bar->setCurrentIndex(bar->count() - 1);
    QVERIFY(named<QWidget>(w, QStringLiteral("Frm4"))->isVisible());
    QVERIFY(!named<QWidget>(w, QStringLiteral("Frm1"))->isVisible());
    QVERIFY(!named<QWidget>(w, QStringLiteral("Frm3"))->isVisible());
}

void TestRefresh::failureMidRefreshLeavesTheSetAsItWas_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("trigger");
    QTest::newRow("goods: second goods fails") << "Cmd0"
                                                << "BEFORE UPDATE ON TA4 WHEN NEW.F1 = 'G2'";
    QTest::newRow("units: second unit fails") << "Cmd4"
                                               << "BEFORE UPDATE ON TB1 WHEN NEW.F3 = 'B001'";
    QTest::newRow("document totals") << "Cmd6"
                                     << "BEFORE UPDATE OF F9 ON TB1";
    QTest::newRow("return repair") << "Command1"
                                   << "BEFORE UPDATE OF R6 ON TB11";
}

void TestRefresh::failureMidRefreshLeavesTheSetAsItWas()
{
    QFETCH(QString, button);
    QFETCH(QString, trigger);
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    BuildPostedBook(set.db());
    spoilGoodsFigures(set.db());
    set.db().execute(QStringLiteral("UPDATE TB1 SET QC = 7, QM = 7"));
    set.db().execute(QStringLiteral("UPDATE TB11 SET C6 = 5 WHERE LB = 4"));
    set.db().execute(QStringLiteral("CREATE TRIGGER boom %1 BEGIN SELECT RAISE(ABORT, '模拟故障'); END").arg(trigger));
    const QString before = TableSnapshot(set.db(), {QStringLiteral("TA4"), QStringLiteral("TB1"), QStringLiteral("TB11")});

    ReJxcBox w(set.app());
    named<QRadioButton>(w, QStringLiteral("Opt0"))->setChecked(true);
    named<QRadioButton>(w, QStringLiteral("OptB0"))->setChecked(true);
    MessageScript msgs;
    msgs.expect(QStringLiteral("刷新没有完成，账套数据保持刷新前的状态。"));
    click(w, button);
    QCOMPARE(msgs.count(), 1);
    QVERIFY(msgs.last().text.contains(QStringLiteral("数据库操作出错")));  // the engine's text goes to the log
    QCOMPARE(TableSnapshot(set.db(), {QStringLiteral("TA4"), QStringLiteral("TB1"), QStringLiteral("TB11")}), before);
    QVERIFY(w.isEnabled());
    QCOMPARE(w.windowTitle(), QStringLiteral("数据维护"));
    QVERIFY(!set.db().inTransaction());
}

void TestRefresh::onePassEqualsTheTwoPassOrder_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("attributeOn");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("match");  // -1: every goods
    QTest::addColumn<QString>("code");
    // Goods by goods, and all goods together in key order as a book past the
    // walk cache is walked: the same figures either way.
    for (const WholeWalkOrder order : {WholeWalkOrder::GoodsByGoods, WholeWalkOrder::KeyOrder}) {
        const int o = int(order);
        const char* how = order == WholeWalkOrder::KeyOrder ? "key order" : "goods by goods";
        for (quint32 seed : {1u, 2u, 3u}) {
            QTest::addRow("%s, attribute, all goods, book %u", how, seed) << o << true << seed << -1 << QString();
            QTest::addRow("%s, no attribute, all goods, book %u", how, seed) << o << false << seed << -1 << QString();
        }
        QTest::addRow("%s, attribute, codes beginning with g1", how)
            << o << true << 4u << int(CodeMatch::BeginsWith) << "g1";
        QTest::addRow("%s, attribute, the goods without a record", how)
            << o << true << 5u << int(CodeMatch::Equals) << "orphan";
        QTest::addRow("%s, no attribute, codes containing 2", how)
            << o << false << 6u << int(CodeMatch::Contains) << "2";
    }
}

void TestRefresh::onePassEqualsTheTwoPassOrder()
{
    QFETCH(int, order);
    QFETCH(bool, attributeOn);
    QFETCH(quint32, seed);
    QFETCH(int, match);
    QFETCH(QString, code);
    FreshAccountSet set;
    BuildRandomBook(set.db(), seed, 600, 12, attributeOn);
    const QString twoPath = set.folder() + QStringLiteral("two-pass.vxs");
    QVERIFY(QFile::copy(set.setPath(), twoPath));
    PostingRules rules;
    rules.attributeOn = attributeOn;
    const CodeCondition filter =
        match < 0 ? CodeCondition{} : CodeFilter(QStringLiteral("F1"), CodeMatch(match), code);
    const QStringList tables{QStringLiteral("TB11"), QStringLiteral("TA4"), QStringLiteral("TB1")};
    const QString before = ExactSnapshot(set.db(), tables);

    const int count = RefreshGoods(set.db(), rules, filter, {}, WholeWalkOrder(order));
    Database two;
    two.open(twoPath);
    QCOMPARE(count, twoPassRefresh(two, rules, filter));

    const QString onePass = ExactSnapshot(set.db(), tables);
    QVERIFY(onePass != before);
    compareSnapshots(onePass, ExactSnapshot(two, tables));
}

void TestRefresh::missingQuantityStopsAtTheFirstGoodsInEitherOrder_data()
{
    QTest::addColumn<int>("order");
    QTest::newRow("goods by goods") << int(WholeWalkOrder::GoodsByGoods);
    QTest::newRow("key order") << int(WholeWalkOrder::KeyOrder);
}

void TestRefresh::missingQuantityStopsAtTheFirstGoodsInEitherOrder()
{
    QFETCH(int, order);
    FreshAccountSet set;
    Database& db = set.db();
    BuildPostedBook(db);
    spoilGoodsFigures(db);
    // G2's first line comes before G1's last one in key order; G1 comes first in the goods list.
    const QVariantList quantityKinds{code(DocKind::Inbound), code(DocKind::Outbound)};
    const RecordSet last = db.query(QStringLiteral("SELECT rowid, F0, Oid, SRT FROM TB11 WHERE F1 = 'G1' AND SRT <> '' "
                                                   "AND LB IN (?, ?) ORDER BY SRT DESC LIMIT 1"),
                                    quantityKinds);
    const RecordSet first = db.query(QStringLiteral("SELECT rowid, SRT FROM TB11 WHERE F1 = 'G2' AND SRT <> '' "
                                                    "AND LB IN (?, ?) ORDER BY SRT LIMIT 1"),
                                     quantityKinds);
    QVERIFY(!last.isEmpty() && !first.isEmpty());
    QVERIFY(first.text(0, 1) < last.text(0, 3));
    db.execute(QStringLiteral("UPDATE TB11 SET F6 = NULL WHERE rowid IN (?, ?)"),
               {last.value(0, 0), first.value(0, 0)});
    const QStringList tables{QStringLiteral("TB11"), QStringLiteral("TA4"), QStringLiteral("TB1")};
    const QString before = ExactSnapshot(db, tables);
    PostingRules rules;
    rules.attributeOn = true;
    try {
        RefreshGoods(db, rules, CodeCondition{}, {}, WholeWalkOrder(order));
        QFAIL("the refresh went through a line without quantity");
    } catch (const DbError& e) {
        QCOMPARE(e.description(), QStringLiteral("单据 %1 第 %2 行没有数量，无法计算库存！")
                                      .arg(last.text(0, 1), last.text(0, 2)));
    }
    QCOMPARE(ExactSnapshot(db, tables), before);
    QVERIFY(!db.inTransaction());
}

void TestRefresh::killedRefreshLeavesAllBeforeOrAllAfter_data()
{
    QTest::addColumn<QString>("order");
    QTest::newRow("goods by goods") << "goods-by-goods";
    QTest::newRow("key order") << "key-order";
}

void TestRefresh::killedRefreshLeavesAllBeforeOrAllAfter()
{
    QFETCH(QString, order);
    const QString child = QCoreApplication::applicationDirPath() + QStringLiteral("/refresh_child");
    QVERIFY(QFile::exists(child));
    FreshAccountSet set;
    BuildRandomBook(set.db(), 11, 8000, 40, true);
    const QString original = set.folder() + QStringLiteral("original.vxs");
    QVERIFY(QFile::copy(set.setPath(), original));
    const QStringList tables{QStringLiteral("TB11"), QStringLiteral("TA4")};
    const QString before = ExactSnapshot(set.db(), tables);
    const QString target = set.folder() + QStringLiteral("refreshed.vxs");
    auto fresh = [&] {
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-journal"));
        QVERIFY(QFile::copy(original, target));
        QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    };
    auto snapshot = [&] {
        Database db;
        db.open(target);
        return ExactSnapshot(db, tables);
    };

    // One whole run: the figures after it and how long its walk takes.
    fresh();
    QProcess whole;
    whole.start(child, {target, order});
    QVERIFY(whole.waitForFinished(120000));
    QCOMPARE(whole.exitCode(), 0);
    const QByteArray out = whole.readAllStandardOutput();
    const int walkMs = out.mid(out.indexOf("walked ") + 7).trimmed().toInt();
    const QString after = snapshot();
    QVERIFY(after != before);

    QRandomGenerator rng(20240513);
    int killedMidWay = 0;
    for (int round = 0; round < 8; ++round) {
        fresh();
        QProcess p;
        p.start(child, {target, order});
        QVERIFY(p.waitForReadyRead(30000));
        QThread::msleep(rng.bounded(walkMs + 10));
        const bool running = p.state() == QProcess::Running;
        ::kill(pid_t(p.processId()), SIGKILL);
        QVERIFY(p.waitForFinished(30000));
        const QString left = snapshot();
        QVERIFY2(left == before || left == after, qPrintable(QStringLiteral("round %1: a partial refresh").arg(round)));
        if (running && left == before)
            ++killedMidWay;
    }
    // The kills did land inside the refresh, and each was rolled back.
    QVERIFY(killedMidWay > 0);
}

VX_REGISTER_TEST(TestRefresh)
#include "tst_refresh.moc"
