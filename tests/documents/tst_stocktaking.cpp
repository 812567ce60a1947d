#include "core/App.h"
#include "core/Posting.h"
#include "documents/common/StockDocPolicy.h"
#include "documents/StockDocTestSupport.h"
#include "documents/stocktaking/StocktakingService.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/PostingReference.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTest>

// The stocktaking service: the save's split of the difference by its sign, the
// refusals of an uncounted line, a taken number and an early date, the rule
// that a count runs alone, audit and unaudit, and the running columns after a
// back-dated receipt equal to the per-line posting cycle.
class TestStocktaking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveSplitsTheDifferenceBySign();
    void uncountedLineIsRefusedAndZeroWritesOff_data();
    void uncountedLineIsRefusedAndZeroWritesOff();
    void numberAndDateRefusals();
    void editOfACountChangedElsewhereIsRefused_data();
    void editOfACountChangedElsewhereIsRefused();
    void countRunsAlone();
    void waitingAndLatestDocumentInEveryStoredForm_data();
    void waitingAndLatestDocumentInEveryStoredForm();
    void auditAndUnauditMoveTheStock();
    void backDatedReceiptMatchesPerLineCycle_data();
    void backDatedReceiptMatchesPerLineCycle();
};

namespace {

void prepare(FreshAccountSet& set, bool attribute = true)
{
    set.loginAs(QStringLiteral("001"));
    set.app().HpsxName = attribute ? QStringLiteral("批号") : QString();
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    addCountGoods(db);
}

CountLine countLine(const QString& goods, double book, std::optional<double> counted, double price,
                    const QString& attr = {})
{
    CountLine l;
    l.goods = goods;
    l.book = book;
    l.counted = counted;
    l.price = price;
    l.attr = attr;
    return l;
}

CountDoc countDoc(const QString& number, const QDate& date, QVector<CountLine> lines)
{
    CountDoc d;
    d.head.number = number;
    d.head.date = date;
    d.head.enteredBy = QStringLiteral("系统管理员");
    d.lines = std::move(lines);
    return d;
}

// A posted receipt and issue: G1 batch A 7 in, 4 out; G2 5 in, 1 out.
void postHistory(Database& db, const PostingRules& rules)
{
    DocSpec in{QStringLiteral("H1"), QDate(2024, 5, 1), QStringLiteral("A001")};
    in.lines = {{QStringLiteral("G1"), 7, 3.1, QStringLiteral("A")}, {QStringLiteral("G2"), 5, 2.2}};
    DocSpec out{QStringLiteral("H2"), QDate(2024, 5, 5), QStringLiteral("B001"), DocKind::Outbound};
    out.lines = {{QStringLiteral("G1"), 4, 9, QStringLiteral("A")}, {QStringLiteral("G2"), 1, 9}};
    out.typeName = QStringLiteral("销售出库单");
    for (const DocSpec& d : {in, out}) {
        AddDocument(db, d);
        PostDocument(db, rules, d.number, QStringLiteral("系统管理员"), {}, OutPriceRule::LastOutLine);
    }
}

QString copyOf(FreshAccountSet& set, const QString& name)
{
    const QString path = set.folder() + name;
    QFile::copy(set.setPath(), path);
    return path;
}

// An unposted receipt W1 of 2024-05-02, and the refusal of a new count it causes.
DocSpec addWaitingReceipt(Database& db)
{
    DocSpec waiting{QStringLiteral("W1"), QDate(2024, 5, 2), QStringLiteral("A001")};
    waiting.lines = {{QStringLiteral("G1"), 1, 1}};
    AddDocument(db, waiting);
    return waiting;
}
const QString WaitingRefusal = QStringLiteral("系统内存在未审核的单据（采购入库单），此时不能进行新的库存盘点！");

double num(const Database& db, const QString& sql, const QVariantList& params = {})
{
    return db.scalarRow(sql, params).value_or(QVariant(0.0)).toDouble();
}

}  // namespace

void TestStocktaking::saveSplitsTheDifferenceBySign()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    // Surplus of 2, a blank grid row, a loss of 3 at 5 and a line without difference.
    CountDoc doc = countDoc(QStringLiteral("PD 2405130001"), QDate(2024, 5, 13),
                            {countLine(QStringLiteral("g1"), 3, 5, 3.33), CountLine{},
                             countLine(QStringLiteral("G2"), 4, 1, 5), countLine(QStringLiteral("G3"), 3, 3, 2)});
    doc.head.amount = 999;  // whatever the window showed, the lines decide
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
    QCOMPARE(doc.head.number, QStringLiteral("PD2405130001"));
    QCOMPARE(doc.head.amount, 6.66 - 15);

    const RecordSet rs = db.query(QStringLiteral(
        "SELECT Oid, F1, Z5, F5, F6, F7, F8, R146, R147, R148, R6, R7, R8, C236, C237, C238, C6, C7, C8, LB, V1, SRT "
        "FROM TB11 WHERE F0 = 'PD2405130001' ORDER BY Oid"));
    QCOMPARE(rs.rowCount(), 3);
    const QList<QList<double>> want = {
        {1, 3, 5, 2, 3.33, 6.66, 2, 3.33, 6.66, 2, 3.33, 6.66, 0, 0, 0, 0, 0, 0},
        {3, 4, 1, -3, 5, -15, 0, 0, 0, 0, 0, 0, 3, 5, 15, 3, 5, 15},
        {4, 3, 3, 0, 2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}};
    for (int r = 0; r < 3; ++r) {
        QCOMPARE(rs.number(r, 0), want[r][0]);
        for (int c = 2; c <= 18; ++c)
            QCOMPARE(rs.number(r, c), want[r][c - 1]);
        QCOMPARE(rs.number(r, 19), 7.0);
        QCOMPARE(rs.number(r, 20), 0.0);
        QCOMPARE(rs.text(r, 21), QString());
    }
    QCOMPARE(rs.text(0, 1), QStringLiteral("G1"));
    const RecordSet head = db.query(QStringLiteral("SELECT F3, S2, LB, F9, SRT FROM TB1 WHERE F1 = 'PD2405130001'"));
    QCOMPARE(head.text(0, 0), QStringLiteral("0000"));
    QCOMPARE(head.text(0, 1), QStringLiteral("库存盘点"));
    QCOMPARE(head.number(0, 2), 7.0);
    QCOMPARE(head.number(0, 3), 6.66 - 15);

    const std::optional<CountDoc> loaded = LoadStocktaking(db, QStringLiteral("PD2405130001"));
    QVERIFY(loaded);
    QCOMPARE(loaded->head.amount, 6.66 - 15);
    QCOMPARE(loaded->lines.size(), 3);
    QCOMPARE(loaded->lines[1].book, 4.0);
    QCOMPARE(*loaded->lines[1].counted, 1.0);
    QCOMPARE(loaded->lines[1].difference(), -3.0);
}

void TestStocktaking::uncountedLineIsRefusedAndZeroWritesOff_data()
{
    QTest::addColumn<bool>("attribute");
    QTest::newRow("with attribute") << true;
    QTest::newRow("without attribute") << false;
}

void TestStocktaking::uncountedLineIsRefusedAndZeroWritesOff()
{
    QFETCH(bool, attribute);
    FreshAccountSet set;
    prepare(set, attribute);
    Database& db = set.db();
    const PostingRules rules = PostingRules::of(set.app());
    postHistory(db, rules);
    const QString attr = attribute ? QStringLiteral("A") : QString();
    const double book = BookQuantity(set.app(), QStringLiteral("G1"), attr);
    QCOMPARE(book, attribute ? 3.0 : 6.0);
    // A new line starts from the goods' whole stock and cost; unknown codes give none.
    const QVector<CountLine> fresh = CountLinesFor(set.app(), {QStringLiteral("G1"), QStringLiteral("NONE"),
                                                               QStringLiteral("G2")});
    QCOMPARE(fresh.size(), 2);
    QCOMPARE(fresh[0].book, 6.0);
    QCOMPARE(fresh[1].goods, QStringLiteral("G2"));
    QCOMPARE(fresh[1].book, BookQuantity(set.app(), QStringLiteral("G2")));
    QCOMPARE(fresh[0].price, CountLineFor(set.app(), QStringLiteral("G1"))->price);

    CountDoc doc = countDoc(QStringLiteral("PD1"), QDate(2024, 5, 13),
                            {countLine(QStringLiteral("G2"), 7, 7, 2), countLine(QStringLiteral("G1"), book, {}, 3, attr)});
    const QString refused = SaveStocktaking(set.app(), doc, {});
    QVERIFY2(refused.contains(QStringLiteral("第 2 行")), qPrintable(refused));
    QVERIFY(!db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE F1 = 'PD1'")));

    // A typed 0 is a count of zero: the whole stock of the line goes.
    doc.lines[1].counted = 0.0;
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
    QCOMPARE(num(db, QStringLiteral("SELECT F6 FROM TB11 WHERE F0 = 'PD1' AND Oid = 2")), -book);
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD1")), QString());
    QCOMPARE(BookQuantity(set.app(), QStringLiteral("G1"), attr), 0.0);
    if (!attribute) {
        // Stock reaching 0 takes the whole amount with it.
        QCOMPARE(num(db, QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")), 0.0);
        QCOMPARE(num(db, QStringLiteral("SELECT Fje FROM TA4 WHERE F1 = 'G1'")), 0.0);
    }
}

void TestStocktaking::numberAndDateRefusals()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const PostingRules rules = PostingRules::of(set.app());
    postHistory(db, rules);

    CountDoc early = countDoc(QStringLiteral("PD2"), QDate(2024, 5, 4), {countLine(QStringLiteral("G3"), 3, 3, 1)});
    QCOMPARE(SaveStocktaking(set.app(), early, {}), QStringLiteral("盘点日期必须在[2024-5-4]之后！"));
    CountDoc same = countDoc(QStringLiteral("PD2"), QDate(2024, 5, 5), {countLine(QStringLiteral("G3"), 3, 3, 1)});
    QCOMPARE(SaveStocktaking(set.app(), same, {}), QString());

    // A number any document holds is taken, whatever its kind.
    CountDoc dup = countDoc(QStringLiteral("H1"), QDate(2024, 5, 6), {countLine(QStringLiteral("G3"), 3, 3, 1)});
    QCOMPARE(SaveStocktaking(set.app(), dup, QStringLiteral("PD2")),
             QStringLiteral("已经存在[H1]这个编码，请重新设置编码!"));
    CountDoc blank = countDoc(QStringLiteral("  "), QDate(2024, 5, 6), {countLine(QStringLiteral("G3"), 3, 3, 1)});
    QCOMPARE(SaveStocktaking(set.app(), blank, {}), QStringLiteral("盘点单号不能为空！"));
    CountDoc empty = countDoc(QStringLiteral("PD3"), QDate(2024, 5, 6), {CountLine{}});
    QCOMPARE(SaveStocktaking(set.app(), empty, QStringLiteral("PD2")),
             QStringLiteral("不能保存空的单据！请录入盘点") + set.app().GoodsTerm + QStringLiteral("！"));

    // Moved to a free number: nothing stays under the old one.
    CountDoc moved = countDoc(QStringLiteral("PD4"), QDate(2024, 5, 6), {countLine(QStringLiteral("G3"), 3, 1, 1)});
    QCOMPARE(SaveStocktaking(set.app(), moved, QStringLiteral("PD2")), QString());
    QCOMPARE(num(db, QStringLiteral("SELECT count(*) FROM TB11 WHERE F0 = 'PD2'")), 0.0);
    QCOMPARE(num(db, QStringLiteral("SELECT count(*) FROM TB11 WHERE F0 = 'PD4'")), 1.0);

    // Audited meanwhile (at another workstation): the edit is refused and nothing changes.
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD4")), QString());
    const QStringList before = PostingSnapshot(db);
    QCOMPARE(SaveStocktaking(set.app(), moved, QStringLiteral("PD4")), QStringLiteral("此单据已经审核，不可修改！"));
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD4")), QStringLiteral("该单据已审核，不需要再次审核！"));
    QCOMPARE(PostingSnapshot(db), before);
}

void TestStocktaking::editOfACountChangedElsewhereIsRefused_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QString>("message");
    QTest::newRow("recounted") << "change" << ChangedSinceLoadedText();
    QTest::newRow("deleted") << "delete" << QStringLiteral("找不到单据：PD1");
}

// Two workstations on one file: this one loads a count, the other recounts or deletes
// it, then this one's save must refuse and write nothing.
void TestStocktaking::editOfACountChangedElsewhereIsRefused()
{
    QFETCH(QString, meanwhile);
    QFETCH(QString, message);
    FreshAccountSet set;
    prepare(set);
    const QString no = QStringLiteral("PD1");
    CountDoc doc = countDoc(no, QDate(2024, 5, 13),
                            {countLine(QStringLiteral("G2"), 4, 1, 5), countLine(QStringLiteral("G3"), 3, 3, 2)});
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
    std::optional<CountDoc> loaded = LoadStocktaking(set.db(), no);
    QVERIFY(loaded && !loaded->loadedStamp.isEmpty());
    {
        App other;
        other.CurrentDatabase.open(set.setPath());
        other.OperatorName = QStringLiteral("李四");
        if (meanwhile == QLatin1String("change")) {
            CountDoc theirs = *LoadStocktaking(other.CurrentDatabase, no);
            theirs.lines[0].counted = 2;
            QCOMPARE(SaveStocktaking(other, theirs, no), QString());
        } else {
            QCOMPARE(DeleteStockDoc(other, no, LoadStocktaking(other.CurrentDatabase, no)->loadedStamp), QString());
        }
    }
    const QStringList before = PostingSnapshot(set.db());
    loaded->lines[1].counted = 0;
    QCOMPARE(SaveStocktaking(set.app(), *loaded, no), message);
    QCOMPARE(PostingSnapshot(set.db()), before);
    QVERIFY(!set.db().inTransaction());
}

void TestStocktaking::countRunsAlone()
{
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const DocSpec waiting = addWaitingReceipt(db);
    const QString busy = WaitingRefusal;
    QCOMPARE(StocktakingAddRefusal(db), busy);
    CountDoc doc = countDoc(QStringLiteral("PD1"), QDate(2024, 5, 13), {countLine(QStringLiteral("G2"), 3, 4, 1)});
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), busy);

    PostDocument(db, PostingRules::of(set.app()), QStringLiteral("W1"), QStringLiteral("系统管理员"), {}, OutPriceRuleOf(waiting.kind));
    QCOMPARE(StocktakingAddRefusal(db), QString());
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
    // While the count is unposted every other kind refuses new documents and unaudits.
    QCOMPARE(RefuseWhileStocktaking(db), QStringLiteral("系统内发现未审核的盘点单，在盘点期间，请不要做任何入库出库操作！"));
    QCOMPARE(RefuseUnauditWhileStocktaking(db),
             QStringLiteral("系统内发现未审核的盘点单，在盘点期间，请不要做任何撤销审核操作！"));
    // Its own number does not stop its edit.
    QCOMPARE(StocktakingAddRefusal(db, QStringLiteral("PD1")), QString());

    // A document left unposted by another road stops the audit and, later, the unaudit.
    DocSpec other{QStringLiteral("W2"), QDate(2024, 5, 13), QStringLiteral("A001")};
    other.lines = {{QStringLiteral("G1"), 1, 1}};
    AddDocument(db, other);
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD1")),
             QStringLiteral("发现有新开的未审核的单据（采购入库单），此时不能审核盘点单！\r"
                            "请删除未审核的单据，然后再进行盘点审核操作！"));
    QVERIFY(db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE F1 = 'PD1' AND SRT = ''")));
    QCOMPARE(DeleteStockDoc(set.app(), QStringLiteral("W2"), LoadStockDoc(db, QStringLiteral("W2"))->loadedStamp), QString());
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD1")), QString());
    QCOMPARE(RefuseWhileStocktaking(db), QString());
    AddDocument(db, other);
    QCOMPARE(UnauditStocktaking(set.app(), QStringLiteral("PD1")),
             QStringLiteral("发现系统内存在的未审核的单据（采购入库单），此时不能撤销审核盘点单！\r"
                            "请删除或审核未审核的单据，然后再进行盘点审核操作！"));
    QVERIFY(!db.scalarRow(QStringLiteral("SELECT 1 FROM TB1 WHERE F1 = 'PD1' AND SRT = ''")));
}

void TestStocktaking::waitingAndLatestDocumentInEveryStoredForm_data()
{
    QTest::addColumn<QVariant>("key");      // the waiting document's SRT
    QTest::addColumn<QString>("dateText");  // its stored date F2
    QTest::newRow("empty key") << QVariant(QString()) << QStringLiteral("2024-05-05");
    QTest::newRow("null key") << QVariant() << QStringLiteral("2024-05-05");
    QTest::newRow("date with a time") << QVariant(QString()) << QStringLiteral("2024-05-05 08:00:00");
}

// An unposted document stops a new count whether its key is empty or null, and
// the latest date is found whether it is stored with a time or not.
void TestStocktaking::waitingAndLatestDocumentInEveryStoredForm()
{
    QFETCH(QVariant, key);
    QFETCH(QString, dateText);
    FreshAccountSet set;
    prepare(set);
    Database& db = set.db();
    const DocSpec waiting = addWaitingReceipt(db);
    db.execute(QStringLiteral("UPDATE TB1 SET SRT = ?, F2 = ? WHERE F1 = 'W1'"),
               {key.isNull() ? QVariant() : QVariant(QString()), dateText});
    QCOMPARE(StocktakingAddRefusal(db), WaitingRefusal);
    QCOMPARE(StocktakingAddRefusal(db, QStringLiteral("W1")), QString());
    QCOMPARE(StocktakingDateRefusal(db, QDate(2024, 5, 4)), QStringLiteral("盘点日期必须在[2024-5-4]之后！"));
    QCOMPARE(StocktakingDateRefusal(db, QDate(2024, 5, 5)), QString());
}

void TestStocktaking::auditAndUnauditMoveTheStock()
{
    FreshAccountSet set;
    prepare(set, false);
    Database& db = set.db();
    // G1: 3 at 3.33 (10.00). A surplus of 2 comes in at the running price; G2 loses 1 at it.
    CountDoc doc = countDoc(QStringLiteral("PD1"), QDate(2024, 5, 13),
                            {countLine(QStringLiteral("G1"), 3, 5, 3.33), countLine(QStringLiteral("G2"), 3, 2, 3.33)});
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
    const QStringList saved = PostingSnapshot(db);
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD1")), QString());
    QCOMPARE(num(db, QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")), 5.0);
    QCOMPARE(num(db, QStringLiteral("SELECT Fje FROM TA4 WHERE F1 = 'G1'")), 10 + 6.66);
    QCOMPARE(num(db, QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G2'")), 2.0);
    QCOMPARE(num(db, QStringLiteral("SELECT R8 FROM TB11 WHERE F0 = 'PD1' AND Oid = 1")), 6.66);
    QCOMPARE(num(db, QStringLiteral("SELECT C8 FROM TB11 WHERE F0 = 'PD1' AND Oid = 2")), 3.33);
    QCOMPARE(num(db, QStringLiteral("SELECT YF FROM TB1 WHERE F1 = 'PD1'")), 0.0);
    QVERIFY(!db.query(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = 'PD1'")).text(0, 0).isEmpty());

    QCOMPARE(UnauditStocktaking(set.app(), QStringLiteral("PD1")), QString());
    QCOMPARE(num(db, QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G1'")), 3.0);
    QCOMPARE(num(db, QStringLiteral("SELECT Fje FROM TA4 WHERE F1 = 'G1'")), 10.0);
    QCOMPARE(num(db, QStringLiteral("SELECT F8 FROM TA4 WHERE F1 = 'G2'")), 3.0);
    QCOMPARE(UnauditStocktaking(set.app(), QStringLiteral("PD1")), QStringLiteral("该单据未审核，不能执行撤销审核！"));
    Q_UNUSED(saved);
}

void TestStocktaking::backDatedReceiptMatchesPerLineCycle_data()
{
    QTest::addColumn<bool>("attribute");
    QTest::newRow("with attribute") << true;
    QTest::newRow("without attribute") << false;
}

void TestStocktaking::backDatedReceiptMatchesPerLineCycle()
{
    QFETCH(bool, attribute);
    FreshAccountSet set;
    prepare(set, attribute);
    Database& db = set.db();
    const PostingRules rules = PostingRules::of(set.app());
    postHistory(db, rules);
    const QString a = attribute ? QStringLiteral("A") : QString();
    CountDoc doc = countDoc(
        QStringLiteral("PD1"), QDate(2024, 5, 6),
        {countLine(QStringLiteral("G1"), BookQuantity(set.app(), QStringLiteral("G1"), a), 5, 3.2, a),
         countLine(QStringLiteral("G2"), BookQuantity(set.app(), QStringLiteral("G2")), 1, 2.2),
         countLine(QStringLiteral("G3"), BookQuantity(set.app(), QStringLiteral("G3")), 0, 3.33)});
    QCOMPARE(SaveStocktaking(set.app(), doc, {}), QString());
    QCOMPARE(AuditStocktaking(set.app(), QStringLiteral("PD1")), QString());

    // A receipt dated before the count, posted after it.
    DocSpec back{QStringLiteral("BACK"), QDate(2024, 5, 3), QStringLiteral("A001")};
    back.lines = {{QStringLiteral("G1"), 2, 5.55, a}, {QStringLiteral("G2"), 4, 1.25}, {QStringLiteral("G3"), 2, 2}};
    AddDocument(db, back);
    Database copy;
    copy.open(copyOf(set, QStringLiteral("copy.vxs")));
    PostDocument(db, rules, QStringLiteral("BACK"), QStringLiteral("系统管理员"), {}, OutPriceRule::Zero);
    PostLineByLine(copy, rules, QStringLiteral("BACK"), QStringLiteral("系统管理员"), {}, OutPriceRule::Zero);
    QCOMPARE(PostingSnapshot(db), PostingSnapshot(copy));
    // The count still sets the stock: the later receipt moved only the line's book.
    QCOMPARE(num(db, QStringLiteral("SELECT XK6 FROM TB11 WHERE F0 = 'PD1' AND F1 = 'G3'")), 0.0);

    UnpostDocument(db, rules, QStringLiteral("BACK"), OutPriceRule::Zero);
    UnpostLineByLine(copy, rules, QStringLiteral("BACK"), OutPriceRule::Zero);
    QCOMPARE(PostingSnapshot(db), PostingSnapshot(copy));
}

VX_REGISTER_TEST(TestStocktaking)
#include "tst_stocktaking.moc"
