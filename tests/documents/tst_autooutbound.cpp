#include "core/App.h"
#include "core/Posting.h"
#include "core/SqlText.h"
#include "documents/common/StockDocService.h"
#include "documents/outbound/AutoOutbound.h"
#include "platform/Database.h"
#include "support/PostingReference.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"
#include "OutboundTestPolicy.h"

#include <QTest>
#include <QWidget>

// The automatic outbound document: one new document built from records,
// saved and audited whole, or nothing at all; never another document audited.
class TestAutoOutbound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buildsSavesAndAuditsOnlyItsOwnDocument();
    void refusedStepLeavesTheBooks_data();
    void refusedStepLeavesTheBooks();
    void failingAuditTakesTheSaveBack();
    void dateQuestions();
    void departmentIssueIsSettled();
    void scopeRestoresTheWindow();
};

namespace {

const QDate Day = QDate::currentDate().addDays(-1);

void prepare(FreshAccountSet& set)
{
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName.clear();
    Database& db = set.db();
    db.execute(QStringLiteral("UPDATE sysinfo SET setval = 1 WHERE ID = 87"));
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department});
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("货一")};
    g1.cost = 2;
    GoodsSpec g2{QStringLiteral("G2"), QStringLiteral("货二")};
    g2.cost = 3;
    AddGoods(db, g1);
    AddGoods(db, g2);
    // Stock on hand: 10 of each, received a week before.
    DocSpec in{QStringLiteral("RK0001"), Day.addDays(-7), QStringLiteral("A001")};
    in.lines = {{QStringLiteral("G1"), 10, 2}, {QStringLiteral("G2"), 10, 3}};
    AddDocument(db, in);
    PostDocument(db, PostingRules::of(set.app()), in.number, QStringLiteral("张三"), {50, 0}, StoredKindRule(db, in.number));
    // Another unaudited document the run must leave alone.
    DocSpec other{QStringLiteral("CK0009"), Day, QStringLiteral("B001"), DocKind::Outbound, QStringLiteral("销售发货单")};
    other.lines = {{QStringLiteral("G1"), 1, 9}};
    AddDocument(db, other);
}

// The records handed over: goods code and quantity, positioned on the first.
RecordSet records(Database& db, const QString& values)
{
    return db.query(QStringLiteral("SELECT * FROM (VALUES %1)").arg(values));
}

struct Books {
    int docs = 0;
    int lines = 0;
    int posted = 0;
    int reservations = 0;
    double g1Stock = 0;
    bool operator==(const Books&) const = default;
};

Books books(Database& db)
{
    Books b;
    b.docs = db.scalar(QStringLiteral("SELECT count(*) FROM TB1")).toInt();
    b.lines = db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt();
    b.posted = db.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE SRT <> ''")).toInt();
    b.reservations = db.scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt();
    b.g1Stock = db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble();
    return b;
}

AutoCkResult run(FreshAccountSet& set, const QString& unit, RecordSet& rs, const AutoCkSteps& steps = {},
                 bool department = false, const QString& date = DateText(Day))
{
    const StockDocPolicy policy = TestOutboundPolicy(department);
    return AutoCk(set.app(), policy, StockDocTypeName(set.db(), policy), date, unit, rs, steps);
}

}  // namespace

void TestAutoOutbound::buildsSavesAndAuditsOnlyItsOwnDocument()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    RecordSet rs = records(db, QStringLiteral("('G1', 2), ('g1', '1.5'), ('', 5), ('G2', 0), ('G2', 1), (NULL, 1)"));
    const AutoCkResult r = run(set, QStringLiteral("B001.客户一"), rs);
    QCOMPARE(r.refusal, QString());
    QVERIFY(rs.eof());
    QVERIFY2(r.number.startsWith(QStringLiteral("CK") + QDate::currentDate().toString(QStringLiteral("yyMMdd"))),
             qPrintable(r.number));

    const RecordSet head = db.query(QStringLiteral("SELECT F2, F3, F6, SRT, S2, LB, F9 FROM TB1 WHERE F1 = ?"), {r.number});
    QCOMPARE(head.text(0, 0), Day.toString(QStringLiteral("yyyy-MM-dd")));
    QCOMPARE(head.text(0, 1), QStringLiteral("B001"));
    QCOMPARE(head.text(0, 2), set.app().OperatorName);
    QVERIFY(!head.text(0, 3).isEmpty());
    QCOMPARE(head.text(0, 4), QStringLiteral("销售发货单"));
    QCOMPARE(head.value(0, 5).toInt(), 3);
    QCOMPARE(head.value(0, 6).toDouble(), 3.5 * 2 + 3);
    const RecordSet lines = db.query(QStringLiteral("SELECT Oid, F1, F6, F7, SH FROM TB11 WHERE F0 = ? ORDER BY Oid"), {r.number});
    QCOMPARE(lines.rowCount(), 2);
    QCOMPARE(lines.text(0, 1), QStringLiteral("G1"));
    QCOMPARE(lines.value(0, 2).toDouble(), -3.5);
    QCOMPARE(lines.value(0, 3).toDouble(), 2.0);
    QCOMPARE(lines.text(1, 1), QStringLiteral("G2"));
    QCOMPARE(lines.value(1, 2).toDouble(), -1.0);
    QVERIFY(!lines.text(1, 4).isEmpty());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")).toDouble(), 6.5);
    // The other unaudited document stays unaudited.
    QCOMPARE(db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = 'CK0009'")).toString(), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE F0 = 'CK0009' AND SH <> ''")).toInt(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt(), 0);
}

void TestAutoOutbound::refusedStepLeavesTheBooks_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("refusal");
    const QString goods = QStringLiteral("('G1', 1)");
    QTest::newRow("no edit right") << "B001" << goods << "UPDATE TE1 SET F64 = 1 WHERE F1 = '001'"
                                   << "对不起，您无此权限！";
    QTest::newRow("stocktaking pending")
        << "B001" << goods << "INSERT INTO TB1 (F1, F2, LB, SRT) VALUES ('PD1', '2024-01-01', 7, '')"
        << "系统内发现未审核的盘点单，在盘点期间，请不要做任何入库出库操作！";
    QTest::newRow("empty unit") << " " << goods << "" << "收货单位不能为空！";
    QTest::newRow("unknown unit") << "X404.某" << goods << "" << "收货单位编码输入错误！";
    QTest::newRow("unknown goods midway")
        << "B001" << "('G1', 1), ('NOPE', 2), ('G2', 1)" << ""
        << "货品资料库中不存在“NOPE”这个货品编码！\r\r请点击“？”按钮查找系统中存在的货品编码，\r\r或在基础数据中增加新的货品资料！";
    QTest::newRow("no lines") << "B001" << "('G1', 0)" << "" << "不能保存空的单据！请录入出库货品！";
    QTest::newRow("increase beyond stock")
        << "B001" << "('G1', 6), ('G1', 6)" << "UPDATE sysinfo SET setval = 1 WHERE ID = 0" << "库存数量不足！";
    QTest::newRow("audit stock check")
        << "B001" << "('G2', 1), ('G1', 11)" << "UPDATE sysinfo SET setval = 1 WHERE ID = 0"
        << "]中，第 2 行[G1]存量不足，不能出库!";
}

void TestAutoOutbound::refusedStepLeavesTheBooks()
{
    QFETCH(QString, unit);
    QFETCH(QString, values);
    QFETCH(QString, setup);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    if (!setup.isEmpty())
        db.execute(setup);
    set.app().NoOverIssue = setup.contains(QLatin1String("ID = 0")) ? 1 : 0;
    const Books before = books(db);
    RecordSet rs = records(db, values);
    const AutoCkResult r = run(set, unit, rs);
    QVERIFY2(r.refusal.contains(refusal), qPrintable(r.refusal));
    QCOMPARE(r.number, QString());
    QVERIFY(rs.eof());
    QVERIFY(books(db) == before);
}

void TestAutoOutbound::failingAuditTakesTheSaveBack()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const Books before = books(db);
    QString audited;
    AutoCkSteps steps;
    // The audit posts the document it is given, then fails: nothing of the run may stay.
    steps.audit = [&](const QString& number) -> QString {
        audited = number;
        const QString r = AuditStockDoc(set.app(), TestOutboundPolicy(false), number);
        if (!r.isEmpty())
            return r;
        db.execute(QStringLiteral("INSERT INTO no_such_table VALUES (1)"));
        return {};
    };
    RecordSet rs = records(db, QStringLiteral("('G1', 2)"));
    QVERIFY_THROWS_EXCEPTION(DbError, run(set, QStringLiteral("B001"), rs, steps));
    QVERIFY(!audited.isEmpty());
    QVERIFY(audited != QLatin1String("CK0009"));
    QVERIFY(books(db) == before);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE F1 = ?"), {audited}).toInt(), 0);

    // A refused audit likewise leaves no saved document behind.
    steps.audit = [](const QString&) { return QStringLiteral("审核被拒绝"); };
    RecordSet again = records(db, QStringLiteral("('G1', 2)"));
    QCOMPARE(run(set, QStringLiteral("B001"), again, steps).refusal, QStringLiteral("审核被拒绝"));
    QVERIFY(books(db) == before);
}

void TestAutoOutbound::dateQuestions()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const QString tomorrow = DateText(QDate::currentDate().addDays(1));
    QStringList asked;
    AutoCkSteps steps;
    steps.confirm = [&](const QString& q) { asked << q; return false; };
    RecordSet rs = records(db, QStringLiteral("('G1', 1)"));
    QVERIFY(!run(set, QStringLiteral("B001"), rs, steps, false, tomorrow).refusal.isEmpty());
    QCOMPARE(asked, QStringList{QStringLiteral("您输入的日期[") + tomorrow + QStringLiteral("]是未来的日期，您确认录入正确吗？")});

    steps.confirm = [&](const QString& q) { asked << q; return true; };
    const QDate old = QDate::currentDate().addYears(-3);
    RecordSet again = records(db, QStringLiteral("('G1', 1)"));
    const AutoCkResult r = run(set, QStringLiteral("B001"), again, steps, false, DateText(old));
    QCOMPARE(r.refusal, QString());
    QVERIFY(asked.last().contains(QStringLiteral("您确认单据是 %1 年发生的吗？").arg(old.year())));
}

void TestAutoOutbound::departmentIssueIsSettled()
{
    FreshAccountSet set;
    prepare(set);
    RecordSet rs = records(set.db(), QStringLiteral("('G2', 4)"));
    const AutoCkResult r = run(set, QStringLiteral("p001"), rs, {}, true);
    QCOMPARE(r.refusal, QString());
    QVERIFY(r.number.startsWith(QLatin1String("CK")));
    const RecordSet head = set.db().query(QStringLiteral("SELECT F3, K, S2, SRT FROM TB1 WHERE F1 = ?"), {r.number});
    QCOMPARE(head.text(0, 0), QStringLiteral("P001"));
    QCOMPARE(head.value(0, 1).toInt(), 1);
    QCOMPARE(head.text(0, 2), QStringLiteral("部门领用单"));
    QVERIFY(!head.text(0, 3).isEmpty());
}

void TestAutoOutbound::scopeRestoresTheWindow()
{
    QWidget window;
    window.resize(300, 200);
    QWidget* cover = MakeAutoCkCover(&window);
    window.show();
    QCOMPARE(cover->objectName(), QStringLiteral("AutoCkFrm"));
    bool interactive = true;
    try {
        AutoCkScope scope(cover, interactive);
        QVERIFY(!interactive);
        QVERIFY(cover->isVisible());
        QCOMPARE(cover->geometry(), window.rect());
        throw DbError(1, QStringLiteral("失败"));
    } catch (const DbError&) {
    }
    QVERIFY(interactive);
    QVERIFY(cover->isHidden());
}

VX_REGISTER_TEST(TestAutoOutbound)
#include "tst_autooutbound.moc"
