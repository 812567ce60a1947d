#include "core/Posting.h"
#include "platform/Database.h"
#include "platform/SqlFunctions.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/PostingReference.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <thread>

// Posting and taking back whole documents: keys, auditor, balance chain and
// the walks, whole or nothing.
class TestPosting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void postsDocument();
    void unpostsDocument();
    void refusals();
    void everyCallerPassesItsKindsOutPrice_data();
    void everyCallerPassesItsKindsOutPrice();
    void walkPerGoodsEqualsPostingLineByLine_data();
    void walkPerGoodsEqualsPostingLineByLine();
    void staleAttributeFiguresEndAsLineByLine();
    void failureMidWalkLeavesTheBooksAsTheyWere_data();
    void failureMidWalkLeavesTheBooksAsTheyWere();
    void codesWithApostrophes();
    void twoWorkstationsGetDistinctSerials();
};

namespace {

PostingRules attributeRules(bool attributeOn = true, const QString& priceFormat = QStringLiteral("#0.00"))
{
    PostingRules r;
    r.attributeOn = attributeOn;
    r.priceFormat = priceFormat;
    return r;
}

QString fig(const RecordSet& rs, int row, const QString& column)
{
    const QVariant v = rs.value(row, column);
    return v.isNull() ? QStringLiteral("null") : QString::number(v.toDouble(), 'g', 15);
}

QString postLineByLine(Database& db, const PostingRules& rules, const QString& docNo, const QString& auditor,
                       const BalanceMove& move)
{
    return PostLineByLine(db, rules, docNo, auditor, move, StoredKindRule(db, docNo));
}

void unpostLineByLine(Database& db, const PostingRules& rules, const QString& docNo)
{
    UnpostLineByLine(db, rules, docNo, StoredKindRule(db, docNo));
}

QStringList snapshot(const Database& db)
{
    return PostingSnapshot(db);
}

QString copyOfSet(const FreshAccountSet& set, const QString& name)
{
    const QString path = set.folder() + name;
    QFile::copy(set.setPath(), path);
    return path;
}

const QStringList Goods{"G1", "G2", "G3", "G4"};
const QStringList Batches{"", "A", "B"};

void prepareBook(Database& db)
{
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    AddUnit(db, {QStringLiteral("B001"), QStringLiteral("客户一"), UnitKind::Customer, 50});
    AddUnit(db, {QStringLiteral("P001"), QStringLiteral("部门一"), UnitKind::Department, 0});
    for (int i = 0; i < Goods.size(); ++i) {
        GoodsSpec g{Goods[i], QStringLiteral("货品")};
        g.openingQty = i;
        g.openingPrice = 3.33;
        g.openingAmount = i * 3.33;
        AddGoods(db, g);
    }
}

// A document of one kind with lines drawn from a few goods and attribute
// values, so that goods and values repeat within it.
DocSpec randomDocument(QRandomGenerator& rng, const QString& number, const QDate& date, DocKind kind, int lines)
{
    DocSpec doc;
    doc.number = number;
    doc.date = date;
    doc.kind = kind;
    const int side = int(rng.bounded(3));
    const bool receipt = kind == DocKind::Inbound || kind == DocKind::SupplierReturn;
    doc.department = !receipt && kind != DocKind::Stocktaking && side == 2;
    doc.unit = kind == DocKind::Stocktaking ? QStringLiteral("0000") : receipt ? QStringLiteral("A001")
                                                  : doc.department ? QStringLiteral("P001") : QStringLiteral("B001");
    for (int i = 0; i < lines; ++i) {
        LineSpec l;
        l.goods = Goods[int(rng.bounded(Goods.size()))];
        l.attr = Batches[int(rng.bounded(Batches.size()))];
        l.qty = 1 + rng.bounded(9) + (rng.bounded(4) == 0 ? 0.125 : 0.0);
        l.price = 1 + rng.bounded(2000) / 100.0;
        l.counted = rng.bounded(12);
        l.book = rng.bounded(12);
        doc.lines << l;
    }
    return doc;
}

// A month of mixed documents, posted in the order they were entered.
void buildHistory(Database& db, const PostingRules& rules, quint32 seed)
{
    Transaction tx(db);
    QRandomGenerator rng(seed);
    const DocKind kinds[] = {DocKind::Inbound,  DocKind::Inbound,  DocKind::Inbound,
                             DocKind::SupplierReturn, DocKind::Outbound, DocKind::Outbound,
                             DocKind::Outbound, DocKind::StockReturn, DocKind::Stocktaking};
    for (int i = 0; i < 30; ++i) {
        const QDate date = QDate(2024, 5, 1).addDays(int(rng.bounded(28)));
        const DocKind kind = kinds[rng.bounded(int(std::size(kinds)))];
        const QString number = QStringLiteral("H%1").arg(i, 3, 10, QLatin1Char('0'));
        AddDocument(db, randomDocument(rng, number, date, kind, 1 + int(rng.bounded(4))));
        PostDocument(db, rules, number, QStringLiteral("张三"), {rng.bounded(100) * 1.0, rng.bounded(30) * 1.0}, StoredKindRule(db, number));
    }
    tx.commit();
}

}  // namespace

void TestPosting::postsDocument()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("货品一")};
    g1.openingQty = 2;
    g1.openingPrice = 4;
    g1.openingAmount = 8;
    AddGoods(db, g1);
    AddGoods(db, {QStringLiteral("G2"), QStringLiteral("货品二")});
    DocSpec later{QStringLiteral("RK2"), QDate(2024, 5, 20), QStringLiteral("A001")};
    later.lines = {{QStringLiteral("G1"), 4, 5, QStringLiteral("A")}};
    AddDocument(db, later);
    PostDocument(db, attributeRules(), QStringLiteral("RK2"), QStringLiteral("张三"), {20, 0}, StoredKindRule(db, QStringLiteral("RK2")));

    DocSpec doc{QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001")};
    doc.lines = {{QStringLiteral("G1"), 10, 4, QStringLiteral("A")},
                 {QStringLiteral("G2"), 5, 2},
                 {QStringLiteral("G1"), 2, 5, QStringLiteral("B")}};
    AddDocument(db, doc);
    QCOMPARE(PostDocument(db, attributeRules(), QStringLiteral("RK1"), QStringLiteral("李四"), {54, 4}, StoredKindRule(db, QStringLiteral("RK1"))),
             QStringLiteral("S202405130001"));

    const RecordSet head = db.query(QStringLiteral("SELECT * FROM TB1 ORDER BY SRT"));
    QCOMPARE(head.text(0, QStringLiteral("F1")), QStringLiteral("RK1"));
    QCOMPARE(head.text(0, QStringLiteral("F6")), QStringLiteral("李四"));
    QVERIFY(!head.text(0, QStringLiteral("H8")).isEmpty());
    QCOMPARE(fig(head, 0, "QC") + '/' + fig(head, 0, "YF") + '/' + fig(head, 0, "FK") + '/' + fig(head, 0, "QM"),
             QStringLiteral("100/54/4/150"));
    QCOMPARE(fig(head, 1, "QC") + '/' + fig(head, 1, "QM"), QStringLiteral("150/170"));

    const RecordSet lines =
        db.query(QStringLiteral("SELECT F0, SRT, SH, S6, S7, S8, K6, K7, K8, XS6, XK6 FROM TB11 ORDER BY SRT"));
    QStringList got;
    for (int r = 0; r < lines.rowCount(); ++r)
        got << QStringList{lines.text(r, 1), lines.text(r, 2), fig(lines, r, "S6"), fig(lines, r, "S7"),
                           fig(lines, r, "S8"), fig(lines, r, "K6"), fig(lines, r, "K7"), fig(lines, r, "K8"),
                           fig(lines, r, "XS6"), fig(lines, r, "XK6")}
                   .join(QLatin1Char(' '));
    QCOMPARE(got, (QStringList{"S202405130001001 李四 2 4 8 12 4 48 0 10",
                               "S202405130001002 李四 0 0 0 5 2 10 0 5",
                               "S202405130001003 李四 12 4 48 14 4.14 58 0 2",
                               "S202405200001001 张三 14 4.14 58 18 4.33 78 10 14"}));
    const RecordSet goods = db.query(QStringLiteral("SELECT F8, F7, Fje FROM TA4 ORDER BY F1"));
    QCOMPARE(fig(goods, 0, "F8") + ' ' + fig(goods, 0, "F7") + ' ' + fig(goods, 0, "Fje"), QStringLiteral("18 4.33 78"));
    QCOMPARE(fig(goods, 1, "F8") + ' ' + fig(goods, 1, "F7") + ' ' + fig(goods, 1, "Fje"), QStringLiteral("5 2 10"));
    QVERIFY(!db.inTransaction());
}

void TestPosting::unpostsDocument()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一"), UnitKind::Supplier, 100});
    GoodsSpec g1{QStringLiteral("G1"), QStringLiteral("货品一")};
    g1.openingQty = 2;
    g1.openingPrice = 4;
    g1.openingAmount = 8;
    AddGoods(db, g1);
    AddGoods(db, {QStringLiteral("G2"), QStringLiteral("货品二")});
    DocSpec later{QStringLiteral("RK2"), QDate(2024, 5, 20), QStringLiteral("A001")};
    later.lines = {{QStringLiteral("G1"), 4, 5, QStringLiteral("A")}};
    AddDocument(db, later);
    DocSpec doc{QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001")};
    doc.lines = {{QStringLiteral("G1"), 10, 4, QStringLiteral("A")}, {QStringLiteral("G2"), 5, 2}};
    AddDocument(db, doc);
    PostDocument(db, attributeRules(), QStringLiteral("RK2"), QStringLiteral("张三"), {20, 0}, StoredKindRule(db, QStringLiteral("RK2")));
    PostDocument(db, attributeRules(), QStringLiteral("RK1"), QStringLiteral("张三"), {54, 4}, StoredKindRule(db, QStringLiteral("RK1")));

    UnpostDocument(db, attributeRules(), QStringLiteral("RK1"), StoredKindRule(db, QStringLiteral("RK1")));

    const RecordSet head = db.query(QStringLiteral("SELECT * FROM TB1 ORDER BY F1"));
    QCOMPARE(head.text(0, QStringLiteral("SRT")), QString());
    QCOMPARE(head.text(0, QStringLiteral("F6")), QString());
    QVERIFY(!head.text(0, QStringLiteral("H8")).isEmpty());
    // The document keeps its last balance figures; the later one is re-chained without it.
    QCOMPARE(fig(head, 0, "QC") + '/' + fig(head, 0, "QM"), QStringLiteral("100/150"));
    QCOMPARE(fig(head, 1, "QC") + '/' + fig(head, 1, "QM"), QStringLiteral("100/120"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE F0 = 'RK1' AND (SRT <> '' OR SH <> '')")).toInt(),
             0);
    const RecordSet line = db.query(QStringLiteral("SELECT * FROM TB11 WHERE F0 = 'RK2'"));
    QCOMPARE(fig(line, 0, "S6") + ' ' + fig(line, 0, "K6") + ' ' + fig(line, 0, "K7") + ' ' + fig(line, 0, "K8") +
                 ' ' + fig(line, 0, "XS6") + ' ' + fig(line, 0, "XK6"),
             QStringLiteral("2 6 4.67 28 0 4"));
    const RecordSet goods = db.query(QStringLiteral("SELECT F8, F7, Fje FROM TA4 ORDER BY F1"));
    QCOMPARE(fig(goods, 0, "F8") + ' ' + fig(goods, 0, "F7") + ' ' + fig(goods, 0, "Fje"), QStringLiteral("6 4.67 28"));
    QCOMPARE(fig(goods, 1, "F8") + ' ' + fig(goods, 1, "F7") + ' ' + fig(goods, 1, "Fje"), QStringLiteral("0 0 0"));
}

void TestPosting::refusals()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("货品一")});
    DocSpec doc{QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001")};
    doc.lines = {{QStringLiteral("G1"), 1, 1}};
    AddDocument(db, doc);

    auto message = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const DbError& e) {
            return e.description();
        }
        return QString();
    };
    QCOMPARE(message([&] { UnpostDocument(db, PostingRules{}, QStringLiteral("RK1"), StoredKindRule(db, QStringLiteral("RK1"))); }),
             QStringLiteral("该单据未审核，不能执行撤销审核！"));
    PostDocument(db, PostingRules{}, QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1")));
    QCOMPARE(message([&] { PostDocument(db, PostingRules{}, QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1"))); }),
             QStringLiteral("该单据已审核，不需要再次审核！"));
    QVERIFY(message([&] { PostDocument(db, PostingRules{}, QStringLiteral("NONE"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("NONE"))); })
                .contains(QStringLiteral("NONE")));
    QVERIFY(!db.inTransaction());
}

namespace {
// True while PostDocument or UnpostDocument can be called without an out-price rule.
template <typename Db>
constexpr bool postsWithoutRule = requires(Db& db, const PostingRules& rules, const QString& no) {
    PostDocument(db, rules, no, no, BalanceMove{});
};
template <typename Db>
constexpr bool unpostsWithoutRule = requires(Db& db, const PostingRules& rules, const QString& no) {
    UnpostDocument(db, rules, no);
};
}  // namespace

void TestPosting::everyCallerPassesItsKindsOutPrice_data()
{
    QTest::addColumn<DocKind>("kind");
    QTest::addColumn<OutPriceRule>("rule");
    QTest::newRow("receipt") << DocKind::Inbound << OutPriceRule::Zero;
    QTest::newRow("return to supplier") << DocKind::SupplierReturn << OutPriceRule::Zero;
    QTest::newRow("outbound") << DocKind::Outbound << OutPriceRule::LastOutLine;
    QTest::newRow("return to stock") << DocKind::StockReturn << OutPriceRule::LastOutLine;
    QTest::newRow("stocktaking") << DocKind::Stocktaking << OutPriceRule::Zero;
}

void TestPosting::everyCallerPassesItsKindsOutPrice()
{
    QFETCH(DocKind, kind);
    QFETCH(OutPriceRule, rule);
    QCOMPARE(OutPriceRuleOf(kind), rule);
    // No rule is taken for granted: a call without one does not compile.
    QVERIFY(!postsWithoutRule<Database>);
    QVERIFY(!unpostsWithoutRule<Database>);
}

void TestPosting::walkPerGoodsEqualsPostingLineByLine_data()
{
    QTest::addColumn<DocKind>("kind");
    QTest::addColumn<bool>("department");
    QTest::addColumn<bool>("attributeOn");
    QTest::addColumn<QString>("priceFormat");
    QTest::addColumn<quint32>("seed");

    const QString p2 = QStringLiteral("#0.00");
    QTest::newRow("receipt") << DocKind::Inbound << false << true << p2 << 11u;
    QTest::newRow("return to supplier") << DocKind::SupplierReturn << false << true << p2 << 12u;
    QTest::newRow("sales issue") << DocKind::Outbound << false << true << p2 << 13u;
    QTest::newRow("department issue") << DocKind::Outbound << true << true << p2 << 14u;
    QTest::newRow("department return") << DocKind::StockReturn << true << true << p2 << 15u;
    QTest::newRow("customer return") << DocKind::StockReturn << false << true << p2 << 16u;
    QTest::newRow("stocktaking") << DocKind::Stocktaking << false << true << p2 << 17u;
    QTest::newRow("stocktaking without attribute") << DocKind::Stocktaking << false << false << p2 << 18u;
    QTest::newRow("issue without attribute") << DocKind::Outbound << false << false << p2 << 19u;
    QTest::newRow("issue, four price decimals") << DocKind::Outbound << true << true << "#0.0000" << 20u;
}

void TestPosting::walkPerGoodsEqualsPostingLineByLine()
{
    QFETCH(DocKind, kind);
    QFETCH(bool, department);
    QFETCH(bool, attributeOn);
    QFETCH(QString, priceFormat);
    QFETCH(quint32, seed);
    const PostingRules rules = attributeRules(attributeOn, priceFormat);

    FreshAccountSet set;
    prepareBook(set.db());
    buildHistory(set.db(), rules, seed);
    QRandomGenerator rng(seed + 1000);
    DocSpec doc = randomDocument(rng, QStringLiteral("BACK"), QDate(2024, 5, 3), kind, 8);
    doc.department = department;
    doc.unit = kind == DocKind::Stocktaking ? QStringLiteral("0000") : department ? QStringLiteral("P001") : QStringLiteral("B001");
    AddDocument(set.db(), doc);

    Database copy;
    copy.open(copyOfSet(set, QStringLiteral("copy.vxs")));

    const QString key = PostDocument(set.db(), rules, QStringLiteral("BACK"), QStringLiteral("王五"), {12.5, 2}, StoredKindRule(set.db(), QStringLiteral("BACK")));
    QCOMPARE(postLineByLine(copy, rules, QStringLiteral("BACK"), QStringLiteral("王五"), {12.5, 2}), key);
    QCOMPARE(snapshot(set.db()), snapshot(copy));

    // Taking back a document in the middle of the history: the same again.
    UnpostDocument(set.db(), rules, QStringLiteral("H010"), StoredKindRule(set.db(), QStringLiteral("H010")));
    unpostLineByLine(copy, rules, QStringLiteral("H010"));
    QCOMPARE(snapshot(set.db()), snapshot(copy));
    UnpostDocument(set.db(), rules, QStringLiteral("BACK"), StoredKindRule(set.db(), QStringLiteral("BACK")));
    unpostLineByLine(copy, rules, QStringLiteral("BACK"));
    QCOMPARE(snapshot(set.db()), snapshot(copy));
}

void TestPosting::staleAttributeFiguresEndAsLineByLine()
{
    // A later line saved without its attribute figures (XS6 = XK6 = 0), and a
    // back-dated count that first raises the value's stock and then counts it
    // back to nothing: line by line the later line is rewritten twice.
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("G1"), QStringLiteral("货品一")});
    DocSpec receipt{QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("A001")};
    receipt.lines = {{QStringLiteral("G1"), 10, 1, QStringLiteral("A")}};
    AddDocument(set.db(), receipt);
    set.db().execute(QStringLiteral("UPDATE TB1 SET SRT = 'S202405130001', F6 = '张三' WHERE F1 = 'RK1'"));
    set.db().execute(QStringLiteral("UPDATE TB11 SET SRT = 'S202405130001001', SH = '张三' WHERE F0 = 'RK1'"));
    DocSpec count{QStringLiteral("PD1"), QDate(2024, 5, 1), QString(), DocKind::Stocktaking};
    count.lines = {{QStringLiteral("G1"), 0, 0, QStringLiteral("A"), 5, 0},
                   {QStringLiteral("G1"), 0, 0, QStringLiteral("A"), 0, 5}};
    AddDocument(set.db(), count);

    Database copy;
    copy.open(copyOfSet(set, QStringLiteral("copy.vxs")));
    PostDocument(set.db(), attributeRules(), QStringLiteral("PD1"), QStringLiteral("王五"), {}, StoredKindRule(set.db(), QStringLiteral("PD1")));
    postLineByLine(copy, attributeRules(), QStringLiteral("PD1"), QStringLiteral("王五"), {});
    QCOMPARE(snapshot(set.db()), snapshot(copy));
    const RecordSet line = set.db().query(QStringLiteral("SELECT XS6, XK6 FROM TB11 WHERE F0 = 'RK1'"));
    QCOMPARE(fig(line, 0, "XS6") + ' ' + fig(line, 0, "XK6"), QStringLiteral("0 10"));
}

void TestPosting::failureMidWalkLeavesTheBooksAsTheyWere_data()
{
    QTest::addColumn<bool>("unposting");
    QTest::addColumn<QString>("trigger");

    QTest::newRow("posting, goods walk") << false
                                         << "CREATE TRIGGER boom BEFORE UPDATE OF K6 ON TB11 WHEN NEW.F1 = 'G2' "
                                            "BEGIN SELECT RAISE(ABORT, 'injected'); END";
    QTest::newRow("posting, attribute walk") << false
                                             << "CREATE TRIGGER boom BEFORE UPDATE OF XS6 ON TB11 WHEN NEW.F1 = 'G2' "
                                                "BEGIN SELECT RAISE(ABORT, 'injected'); END";
    QTest::newRow("posting, goods totals") << false
                                           << "CREATE TRIGGER boom BEFORE UPDATE ON TA4 WHEN NEW.F1 = 'G3' "
                                              "BEGIN SELECT RAISE(ABORT, 'injected'); END";
    QTest::newRow("unposting, goods walk") << true
                                           << "CREATE TRIGGER boom BEFORE UPDATE OF K6 ON TB11 WHEN NEW.F1 = 'G2' "
                                              "BEGIN SELECT RAISE(ABORT, 'injected'); END";
}

void TestPosting::failureMidWalkLeavesTheBooksAsTheyWere()
{
    QFETCH(bool, unposting);
    QFETCH(QString, trigger);

    FreshAccountSet set;
    Database& db = set.db();
    prepareBook(db);
    buildHistory(db, attributeRules(), 7);
    DocSpec doc{QStringLiteral("BACK"), QDate(2024, 5, 2), QStringLiteral("A001")};
    doc.lines = {{QStringLiteral("G1"), 3, 2.5, QStringLiteral("A")},
                 {QStringLiteral("G2"), 4, 1.5, QStringLiteral("B")},
                 {QStringLiteral("G3"), 1, 9, QStringLiteral("A")}};
    AddDocument(db, doc);
    if (unposting)
        PostDocument(db, attributeRules(), QStringLiteral("BACK"), QStringLiteral("张三"), {12, 0}, StoredKindRule(db, QStringLiteral("BACK")));

    const QStringList before = snapshot(db);
    db.execute(trigger);
    if (unposting)
        QVERIFY_THROWS_EXCEPTION(DbError, UnpostDocument(db, attributeRules(), QStringLiteral("BACK"), StoredKindRule(db, QStringLiteral("BACK"))));
    else
        QVERIFY_THROWS_EXCEPTION(DbError, PostDocument(db, attributeRules(), QStringLiteral("BACK"),
                                                       QStringLiteral("张三"), {12, 0}, StoredKindRule(db, QStringLiteral("BACK"))));
    QVERIFY(!db.inTransaction());
    QCOMPARE(snapshot(db), before);
    // The H8 stamp is left out of the snapshot: it must not have changed either.
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB1 WHERE F1 = 'BACK'")).toString(),
             unposting ? QStringLiteral("张三") : QString());

    db.execute(QStringLiteral("DROP TRIGGER boom"));
    if (unposting)
        UnpostDocument(db, attributeRules(), QStringLiteral("BACK"), StoredKindRule(db, QStringLiteral("BACK")));
    else
        PostDocument(db, attributeRules(), QStringLiteral("BACK"), QStringLiteral("张三"), {12, 0}, StoredKindRule(db, QStringLiteral("BACK")));
}

void TestPosting::codesWithApostrophes()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("U'1"), QStringLiteral("奥尼尔"), UnitKind::Customer, 10});
    AddGoods(db, {QStringLiteral("O'Neil"), QStringLiteral("货品")});
    DocSpec in{QStringLiteral("RK1"), QDate(2024, 5, 13), QStringLiteral("U'1")};
    in.lines = {{QStringLiteral("O'Neil"), 10, 4, QStringLiteral("A'1")}};
    DocSpec out{QStringLiteral("CK1"), QDate(2024, 5, 14), QStringLiteral("U'1"), DocKind::Outbound};
    out.lines = {{QStringLiteral("O'Neil"), 4, 9, QStringLiteral("A'1")}};
    AddDocument(db, in);
    AddDocument(db, out);
    PostDocument(db, attributeRules(), QStringLiteral("CK1"), QStringLiteral("张三"), {-36, 0}, StoredKindRule(db, QStringLiteral("CK1")));
    PostDocument(db, attributeRules(), QStringLiteral("RK1"), QStringLiteral("张三"), {40, 0}, StoredKindRule(db, QStringLiteral("RK1")));

    const RecordSet line = db.query(QStringLiteral("SELECT * FROM TB11 WHERE F0 = 'CK1'"));
    QCOMPARE(fig(line, 0, "S6") + ' ' + fig(line, 0, "C7") + ' ' + fig(line, 0, "C8") + ' ' + fig(line, 0, "K6") +
                 ' ' + fig(line, 0, "XS6") + ' ' + fig(line, 0, "XK6"),
             QStringLiteral("10 4 16 6 10 6"));
    const RecordSet head = db.query(QStringLiteral("SELECT QC, QM FROM TB1 ORDER BY SRT"));
    QCOMPARE(fig(head, 0, "QC") + '/' + fig(head, 0, "QM") + ' ' + fig(head, 1, "QC") + '/' + fig(head, 1, "QM"),
             QStringLiteral("10/50 50/14"));

    UnpostDocument(db, attributeRules(), QStringLiteral("RK1"), StoredKindRule(db, QStringLiteral("RK1")));
    const RecordSet after = db.query(QStringLiteral("SELECT * FROM TB11 WHERE F0 = 'CK1'"));
    QCOMPARE(fig(after, 0, "S6") + ' ' + fig(after, 0, "K6") + ' ' + fig(after, 0, "XS6") + ' ' + fig(after, 0, "XK6"),
             QStringLiteral("0 -4 0 -4"));
}

void TestPosting::twoWorkstationsGetDistinctSerials()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一")});
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("货品一")});
    for (const QString& no : {QStringLiteral("RK1"), QStringLiteral("RK2")}) {
        DocSpec doc{no, QDate(2024, 5, 13), QStringLiteral("A001")};
        doc.lines = {{QStringLiteral("G1"), 1, 1}};
        AddDocument(db, doc);
    }

    // Another workstation is half way through posting RK1 under serial 0001.
    Database other;
    other.open(set.setPath());
    Transaction busy(other);
    other.execute(QStringLiteral("UPDATE TB1 SET SRT = 'S202405130001', F6 = '李四' WHERE F1 = 'RK1'"));
    other.execute(QStringLiteral("UPDATE TB11 SET SRT = 'S202405130001001' WHERE F0 = 'RK1'"));

    QString key;
    QString error;
    std::thread mine([&] {
        try {
            Database own;
            own.open(set.setPath());
            key = PostDocument(own, PostingRules{}, QStringLiteral("RK2"), QStringLiteral("张三"), {}, StoredKindRule(own, QStringLiteral("RK2")));
        } catch (const DbError& e) {
            error = e.description();
        }
    });
    QThread::msleep(300);
    busy.commit();
    mine.join();
    QCOMPARE(error, QString());
    QCOMPARE(key, QStringLiteral("S202405130002"));
}

VX_REGISTER_TEST(TestPosting)
#include "tst_posting.moc"
