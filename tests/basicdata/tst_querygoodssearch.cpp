#include "basicdata/QueryGoodsSearch.h"
#include "basicdata/QueryHPSXList.h"
#include "basicdata/RkPriceHistory.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The searches behind the goods and attribute pickers and the price history.
class TestQueryGoodsSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filters_data();
    void filters();
    void firstListIsTheFirstThousand();
    void categoryChoice();
    void quickAdd_data();
    void quickAdd();
    void attributeValues_data();
    void attributeValues();
    void attributeValuesUpToTheDay();
    void priceHistory();
};

namespace {

void fill(Database& db)
{
    db.execute(QStringLiteral("INSERT INTO TA3 (F1, F2) VALUES ('01', '五金')"));
    auto add = [&](const char* code, const char* name, const char* spec, const char* cat, const char* gys,
                   const char* remark) {
        db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F5, F3, Gys, F6, F4, F8) VALUES (?, ?, ?, ?, ?, ?, '个', 2)"),
                   {QString::fromUtf8(code), QString::fromUtf8(name), QString::fromUtf8(spec), QString::fromUtf8(cat),
                    QString::fromUtf8(gys), QString::fromUtf8(remark)});
    };
    add("A1", "螺丝", "M3", "01", "S1", "");
    add("A2", "螺母", "M3", "01", "S2", "100%纯铜");
    add("B1", "O'Ring", "", "000", "", "it's");
    add("C1", "桌子", "", "000", "", "");
    db.execute(QStringLiteral("UPDATE TA4 SET Gys = NULL WHERE F1 = 'C1'"));
    AddBomPart(db, QStringLiteral("C1"), QStringLiteral("A1"), 4);
    AddBomPart(db, QStringLiteral("C1"), QStringLiteral("A2"), 4);
}

}  // namespace

void TestQueryGoodsSearch::filters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("nothing") << "" << "" << QStringList{"A1", "A2", "B1", "C1"};
    QTest::newRow("code contains") << "code" << "1" << QStringList{"A1", "B1", "C1"};
    QTest::newRow("name contains") << "name" << "螺" << QStringList{"A1", "A2"};
    QTest::newRow("apostrophe") << "name" << "O'R" << QStringList{"B1"};
    QTest::newRow("percent is literal") << "remark" << "0%" << QStringList{"A2"};
    QTest::newRow("category") << "category" << "01" << QStringList{"A1", "A2"};
    QTest::newRow("supplier or none") << "supplier" << "S1" << QStringList{"A1", "B1", "C1"};
    QTest::newRow("only with structure") << "structure" << "" << QStringList{"C1"};
}

void TestQueryGoodsSearch::filters()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    FreshAccountSet set;
    fill(set.db());
    GoodsSearch s;
    if (field == "code") s.code = text;
    if (field == "name") s.name = text;
    if (field == "remark") s.remark = text;
    if (field == "category") s.categoryCode = text;
    if (field == "supplier") s.supplier = text;
    s.onlyWithStructure = field == "structure";
    const GoodsSearchResult r = SearchGoods(set.db(), s);
    QStringList got;
    for (int i = 0; i < r.rows; ++i)
        got << r.cells[size_t(i) * GoodsSearchColumns];
    QCOMPARE(got, codes);
    QCOMPARE(r.cells[3], QStringLiteral("2 个"));
}

void TestQueryGoodsSearch::firstListIsTheFirstThousand()
{
    FreshAccountSet set;
    Transaction tx(set.db());
    Statement ins(set.db(), QStringLiteral("INSERT INTO TA4 (F1, F2) VALUES (?, 'x')"));
    for (int i = 0; i < 1005; ++i) {
        ins.bindAll({QStringLiteral("G%1").arg(i, 5, 10, QLatin1Char('0'))});
        ins.exec();
    }
    tx.commit();
    GoodsSearch s;
    s.firstList = true;
    const GoodsSearchResult first = SearchGoods(set.db(), s);
    QCOMPARE(first.rows, GoodsFirstListLimit);
    QCOMPARE(first.cells[0], QStringLiteral("G00000"));
    s.firstList = false;
    s.code = QStringLiteral("G0");
    QCOMPARE(SearchGoods(set.db(), s).rows, 1005);
}

void TestQueryGoodsSearch::categoryChoice()
{
    FreshAccountSet set;
    QCOMPARE(CategoryChoice(set.db(), QStringLiteral("000")), QStringLiteral("000.无类别"));
    QCOMPARE(CategoryChoice(set.db(), QStringLiteral("000.whatever")), QStringLiteral("000.无类别"));
    QCOMPARE(CategoryChoice(set.db(), QStringLiteral("9'9")), QString());
}

void TestQueryGoodsSearch::quickAdd_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("added") << "000" << "N1" << "新品" << "";
    QTest::newRow("no category") << "" << "N1" << "新品" << "请输入有效的类别编码或从下拉列表中选择类别！";
    QTest::newRow("no code") << "000" << " " << "新品" << "请输入编码！";
    QTest::newRow("no name") << "000" << "N1" << "" << "请输入名称！";
    QTest::newRow("taken") << "000" << "A1" << "新品" << "在系统中已经存在[A1]这个编码！";
}

void TestQueryGoodsSearch::quickAdd()
{
    QFETCH(QString, category);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    FreshAccountSet set;
    fill(set.db());
    QuickGoods g{category, code, name, QStringLiteral("M'4"), QStringLiteral("个"), QStringLiteral("备注")};
    QCOMPARE(QuickAddGoods(set.db(), g), refusal);
    const int count = set.db().scalar(QStringLiteral("SELECT COUNT(*) FROM TA4")).toInt();
    QCOMPARE(count, refusal.isEmpty() ? 5 : 4);
    if (refusal.isEmpty())
        QCOMPARE(set.db().scalar(QStringLiteral("SELECT F5 FROM TA4 WHERE F1 = 'N1'")).toString(), QStringLiteral("M'4"));
}

namespace {

void addLine(Database& db, const QString& attr, double qty, const QString& key)
{
    db.execute(QStringLiteral("INSERT INTO TB11 (F0, F1, HPSX, F6, SRT) VALUES ('D', 'G', ?, ?, ?)"), {attr, qty, key});
}

}  // namespace

void TestQueryGoodsSearch::attributeValues_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("receipt lists all, largest first") << 1 << "" << QStringList{"A", "B", "E", "C"};
    QTest::newRow("issue lists stock only") << 3 << "" << QStringList{"A"};
    QTest::newRow("filter") << 1 << "B" << QStringList{"B"};
    QTest::newRow("apostrophe filter") << 1 << "'" << QStringList{};
}

void TestQueryGoodsSearch::attributeValues()
{
    QFETCH(int, direction);
    QFETCH(QString, filter);
    QFETCH(QStringList, values);
    FreshAccountSet set;
    Database& db = set.db();
    addLine(db, QStringLiteral("A"), 5, QStringLiteral("S202405130001001"));
    addLine(db, QStringLiteral("B"), 2, QStringLiteral("S202405130001002"));
    addLine(db, QStringLiteral("B"), -2, QStringLiteral("S202405130002001"));
    addLine(db, QStringLiteral("E"), 0, QStringLiteral("S202405130002002"));
    addLine(db, QStringLiteral("C"), -2, QStringLiteral("S202405130003001"));
    addLine(db, QStringLiteral("A"), 100, QString());  // not posted
    const auto got = QueryHpsxList(db, QStringLiteral("G"), QDate(2024, 5, 13), StockDirection(direction), filter);
    QStringList names;
    for (const AttributeStock& a : got)
        names << a.value;
    QCOMPARE(names, values);
    if (!got.isEmpty() && got[0].value == QLatin1String("A"))
        QCOMPARE(got[0].qty, 5.0);
}

void TestQueryGoodsSearch::attributeValuesUpToTheDay()
{
    FreshAccountSet set;
    addLine(set.db(), QStringLiteral("A"), 5, QStringLiteral("S202405130001001"));
    addLine(set.db(), QStringLiteral("A"), 7, QStringLiteral("S202405140001001"));
    QCOMPARE(QueryHpsxList(set.db(), QStringLiteral("G"), QDate(2024, 5, 13), StockDirection::In)[0].qty, 5.0);
    QCOMPARE(QueryHpsxList(set.db(), QStringLiteral("G"), QDate(2024, 5, 14), StockDirection::In)[0].qty, 12.0);
}

void TestQueryGoodsSearch::priceHistory()
{
    FreshAccountSet set;
    set.db().execute(QStringLiteral("INSERT INTO RkPrice (F1, F7, F9, F10) VALUES ('X', 5, '甲', '2024-01-01'), "
                                    "('Y', 1, '乙', '2024-01-02'), ('X', 6, '丙', '2024-01-03')"));
    const auto rows = LoadRkPriceHistory(set.db(), QStringLiteral("X"));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1].price, 6.0);
    QCOMPARE(rows[1].operatorName, QStringLiteral("丙"));
    ClearRkPriceHistory(set.db(), QStringLiteral("X"));
    QCOMPARE(LoadRkPriceHistory(set.db(), QStringLiteral("X")).size(), 0);
    QCOMPARE(LoadRkPriceHistory(set.db(), QStringLiteral("Y")).size(), 1);
}

VX_REGISTER_TEST(TestQueryGoodsSearch)
#include "tst_querygoodssearch.moc"
