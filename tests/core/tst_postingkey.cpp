#include "core/Posting.h"
#include "platform/Database.h"
#include "support/PostingReference.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Posting keys and line keys: their form, the daily serial and the order they give.
class TestPostingKey : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prefix_data();
    void prefix();
    void serialsOfADate();
    void freedSerialIsReused();
    void backDatedDocumentSortsBeforeLaterPostings();
    void serialBeyond9999IsRefused();
    void lineNumberBeyond999IsRefused();
};

namespace {

PostingRules rules()
{
    return PostingRules{};
}

void addReceipt(Database& db, const QString& number, const QDate& date, int lines = 1)
{
    DocSpec doc;
    doc.number = number;
    doc.date = date;
    doc.unit = QStringLiteral("A001");
    for (int i = 0; i < lines; ++i)
        doc.lines << LineSpec{QStringLiteral("G1"), 1, 2};
    AddDocument(db, doc);
}

void prepare(Database& db)
{
    AddUnit(db, {QStringLiteral("A001"), QStringLiteral("供应商一")});
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("货品一")});
}

QStringList lineKeys(const Database& db, const QString& docNo)
{
    QStringList keys;
    const RecordSet rs = db.query(QStringLiteral("SELECT SRT FROM TB11 WHERE F0 = ? ORDER BY Oid"), {docNo});
    for (int r = 0; r < rs.rowCount(); ++r)
        keys << rs.text(r, 0);
    return keys;
}

}  // namespace

void TestPostingKey::prefix_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("padded month and day") << QDate(2024, 1, 5) << "S20240105";
    QTest::newRow("year end") << QDate(2024, 12, 31) << "S20241231";
}

void TestPostingKey::prefix()
{
    QFETCH(QDate, date);
    QFETCH(QString, prefix);
    QCOMPARE(PostingKeyPrefix(date), prefix);
    QCOMPARE(LineKey(prefix + QStringLiteral("0007"), 3), prefix + QStringLiteral("0007003"));
}

void TestPostingKey::serialsOfADate()
{
    FreshAccountSet set;
    Database& db = set.db();
    prepare(db);
    const QDate d(2024, 5, 13);
    addReceipt(db, QStringLiteral("RK1"), d, 3);
    addReceipt(db, QStringLiteral("RK2"), d.addDays(1));
    addReceipt(db, QStringLiteral("RK3"), d);

    QCOMPARE(NextPostingKey(db, d), QStringLiteral("S202405130001"));
    QCOMPARE(PostDocument(db, rules(), QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1"))),
             QStringLiteral("S202405130001"));
    QCOMPARE(lineKeys(db, QStringLiteral("RK1")),
             (QStringList{"S202405130001001", "S202405130001002", "S202405130001003"}));
    // A posting of another date in between does not count for this date.
    QCOMPARE(PostDocument(db, rules(), QStringLiteral("RK2"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK2"))),
             QStringLiteral("S202405140001"));
    QCOMPARE(PostDocument(db, rules(), QStringLiteral("RK3"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK3"))),
             QStringLiteral("S202405130002"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = 'RK3'")).toString(),
             QStringLiteral("S202405130002"));
}

void TestPostingKey::freedSerialIsReused()
{
    FreshAccountSet set;
    Database& db = set.db();
    prepare(db);
    const QDate d(2024, 5, 13);
    addReceipt(db, QStringLiteral("RK1"), d);
    addReceipt(db, QStringLiteral("RK2"), d);
    PostDocument(db, rules(), QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1")));
    UnpostDocument(db, rules(), QStringLiteral("RK1"), StoredKindRule(db, QStringLiteral("RK1")));
    QCOMPARE(PostDocument(db, rules(), QStringLiteral("RK2"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK2"))),
             QStringLiteral("S202405130001"));
}

void TestPostingKey::backDatedDocumentSortsBeforeLaterPostings()
{
    FreshAccountSet set;
    Database& db = set.db();
    prepare(db);
    addReceipt(db, QStringLiteral("RK1"), QDate(2024, 5, 14));
    addReceipt(db, QStringLiteral("RK2"), QDate(2024, 5, 12));
    const QString later = PostDocument(db, rules(), QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1")));
    const QString earlier = PostDocument(db, rules(), QStringLiteral("RK2"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK2")));
    QCOMPARE(earlier, QStringLiteral("S202405120001"));
    QVERIFY(earlier < later);
    // The later line now follows the back-dated one.
    const RecordSet rs = db.query(QStringLiteral("SELECT S6, K6 FROM TB11 WHERE F0 = 'RK1'"));
    QCOMPARE(rs.number(0, QStringLiteral("S6")), 1.0);
    QCOMPARE(rs.number(0, QStringLiteral("K6")), 2.0);
}

void TestPostingKey::serialBeyond9999IsRefused()
{
    FreshAccountSet set;
    Database& db = set.db();
    prepare(db);
    addReceipt(db, QStringLiteral("RK1"), QDate(2024, 5, 13));
    db.execute(QStringLiteral("INSERT INTO TB11 (F0, Oid, F1, SRT) VALUES ('X', 1, 'G9', 'S202405139999001')"));
    QVERIFY_THROWS_EXCEPTION(DbError, PostDocument(db, rules(), QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1"))));
    QCOMPARE(db.scalar(QStringLiteral("SELECT SRT FROM TB1 WHERE F1 = 'RK1'")).toString(), QString());
    QCOMPARE(db.scalar(QStringLiteral("SELECT F6 FROM TB1 WHERE F1 = 'RK1'")).toString(), QString());
}

void TestPostingKey::lineNumberBeyond999IsRefused()
{
    FreshAccountSet set;
    Database& db = set.db();
    prepare(db);
    addReceipt(db, QStringLiteral("RK1"), QDate(2024, 5, 13), 2);
    db.execute(QStringLiteral("UPDATE TB11 SET Oid = 1000 WHERE F0 = 'RK1' AND Oid = 2"));
    QVERIFY_THROWS_EXCEPTION(DbError, PostDocument(db, rules(), QStringLiteral("RK1"), QStringLiteral("张三"), {}, StoredKindRule(db, QStringLiteral("RK1"))));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB11 WHERE SRT <> ''")).toInt(), 0);
}

VX_REGISTER_TEST(TestPostingKey)
#include "tst_postingkey.moc"
