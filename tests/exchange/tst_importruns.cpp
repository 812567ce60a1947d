#include "ExchangeSupport.h"
#include "core/Posting.h"
#include "exchange/ImportRuns.h"
#include "platform/Messages.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

QVariant goods(Database& db, const QString& code, const QString& column)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM TA4 WHERE F1 = ?").arg(column), {code});
}

int count(Database& db, const QString& table)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

ImportOutcome importGoods(Database& db, const QVector<QStringList>& rows, const QList<QPair<int, QString>>& map,
                          const AskAddSupplier& ask = [](const QString&) { return int(MB::No); }, int goodsClass = 0)
{
    GridModel g;
    FillImportGrid(g, rows);
    GoodsImportInput in;
    in.grid = &g;
    in.mapping = Mapping(GoodsFieldCount, map);
    in.defaultCategoryCode = QStringLiteral("000");
    in.defaultCategoryName = QStringLiteral("无类别");
    in.goodsClass = goodsClass;
    return RunGoodsImport(db, in, ask);
}

}  // namespace

class TestImportRuns : public QObject {
    Q_OBJECT
private slots:
    void openingBalance_data();
    void openingBalance();
    void otherGoodsKeepTheirOpeningAmount();
    void badRowImportsNothing();
    void quotesImportVerbatim();
    void repeatedCodeUpdatesDescriptiveFields();
    void repeatedCodeInOneFileIsReported_data();
    void repeatedCodeInOneFileIsReported();
    void rowBeyondTheWindowsLimitsIsRefused_data();
    void rowBeyondTheWindowsLimitsIsRefused();
    void unitRowBeyondTheWindowsLimitsIsRefused_data();
    void unitRowBeyondTheWindowsLimitsIsRefused();
    void lineImportRefusesFiguresThatAreNoNumbers();
    void categoryRule();
    void supplierRule();
    void unitImport();
    void unitImportCancelWritesNothing();
    void unitOpeningBalanceRepostsChain();
    void lineImport();
    void lineImportRefusedRowWritesNothing();
    void lineImportStocktakingWithAttribute();
};

void TestImportRuns::openingBalance_data()
{
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("amount");  // "-" = amount column not mapped
    QTest::addColumn<double>("f8");
    QTest::addColumn<double>("f7");
    QTest::addColumn<double>("v5");
    QTest::addColumn<double>("fje");
    QTest::newRow("amount gives the cost") << "10" << "30" << "250" << 10.0 << 25.0 << 250.0 << 250.0;
    QTest::newRow("no quantity keeps the cost") << "0" << "30" << "250" << 0.0 << 30.0 << 0.0 << 0.0;
    QTest::newRow("quantity and cost, no amount") << "10" << "30" << "-" << 10.0 << 30.0 << 300.0 << 300.0;
    QTest::newRow("blanks inside a number") << "1 200" << "3" << "-" << 1200.0 << 3.0 << 3600.0 << 3600.0;
}

void TestImportRuns::openingBalance()
{
    QFETCH(QString, qty);
    QFETCH(QString, cost);
    QFETCH(QString, amount);
    QFETCH(double, f8);
    QFETCH(double, f7);
    QFETCH(double, v5);
    QFETCH(double, fje);
    FreshAccountSet set;
    QList<QPair<int, QString>> map{{GCode, "A"}, {GName, "B"}, {GOpeningQty, "C"}, {GCost, "D"}};
    if (amount != QLatin1String("-"))
        map << qMakePair(int(GAmount), QStringLiteral("E"));
    const ImportOutcome out = importGoods(set.db(), {{"g1", "螺丝", qty, cost, amount}}, map);
    QVERIFY2(out.ok(), qPrintable(out.message));
    QCOMPARE(goods(set.db(), "G1", "F1").toString(), QStringLiteral("G1"));
    QCOMPARE(goods(set.db(), "G1", "F8").toDouble(), f8);
    QCOMPARE(goods(set.db(), "G1", "F7").toDouble(), f7);
    QCOMPARE(goods(set.db(), "G1", "V4").toDouble(), f7);
    QCOMPARE(goods(set.db(), "G1", "V5").toDouble(), v5);
    QCOMPARE(goods(set.db(), "G1", "Fje").toDouble(), fje);
}

void TestImportRuns::otherGoodsKeepTheirOpeningAmount()
{
    FreshAccountSet set;
    // An opening amount that is not quantity x price (entered by hand) stays as it is.
    AddGoods(set.db(), {.code = "OLD", .name = "旧货品", .openingQty = 3, .openingPrice = 5, .openingAmount = 16});
    const ImportOutcome out = importGoods(set.db(), {{"N1", "新", "2", "4"}},
                                          {{GCode, "A"}, {GName, "B"}, {GOpeningQty, "C"}, {GCost, "D"}});
    QVERIFY(out.ok());
    QCOMPARE(goods(set.db(), "OLD", "V5").toDouble(), 16.0);
    QCOMPARE(goods(set.db(), "N1", "V5").toDouble(), 8.0);
}

void TestImportRuns::badRowImportsNothing()
{
    FreshAccountSet set;
    // The books refuse one code (as a failing disk or a constraint would).
    set.db().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON TA4 WHEN NEW.F1 = 'BAD' "
                                    "BEGIN SELECT RAISE(ABORT, '编码不被接受'); END"));
    const ImportOutcome out = importGoods(set.db(), {{"A1", "x", "YY"}, {"A2", "y", "YY"}, {"bad", "z"}, {"A4", "w"}},
                                          {{GCode, "A"}, {GName, "B"}, {GCategoryCode, "C"}});
    QVERIFY(!out.ok());
    QCOMPARE(out.failedRow, 3);
    QVERIFY2(out.message.contains(QStringLiteral("第 3 行")), qPrintable(out.message));
    // The engine's own words go to the error log; the user reads the program's.
    QVERIFY2(!out.message.contains(QStringLiteral("ABORT")), qPrintable(out.message));
    QCOMPARE(count(set.db(), "TA4"), 0);
    // The category the first rows added is gone too.
    QCOMPARE(count(set.db(), "TA3"), 1);
}

void TestImportRuns::quotesImportVerbatim()
{
    FreshAccountSet set;
    AddUnit(set.db(), {.code = "S'1", .name = "供应商", .kind = UnitKind::Supplier});
    const QString name = QStringLiteral("O'Brien \"大\" 螺丝*?");
    const ImportOutcome out = importGoods(set.db(), {{"Q'1", name, "S'1"}},
                                          {{GCode, "A"}, {GName, "B"}, {GSupplierCode, "C"}});
    QVERIFY2(out.ok(), qPrintable(out.message));
    QCOMPARE(goods(set.db(), "Q'1", "F2").toString(), name);
    QCOMPARE(goods(set.db(), "Q'1", "Gys").toString(), QStringLiteral("S'1"));
}

void TestImportRuns::repeatedCodeUpdatesDescriptiveFields()
{
    FreshAccountSet set;
    QVERIFY(importGoods(set.db(), {{"ab#1", "甲", "10", "30", "个"}},
                        {{GCode, "A"}, {GName, "B"}, {GOpeningQty, "C"}, {GCost, "D"}, {GUnit, "E"}}, {}, 1)
                .ok());
    // A later file naming a goods of the books changes its descriptive fields only.
    const ImportOutcome out = importGoods(set.db(), {{"AB井1", "乙", "99", "99", "箱"}},
                                          {{GCode, "A"}, {GName, "B"}, {GOpeningQty, "C"}, {GCost, "D"}, {GUnit, "E"}},
                                          {}, 1);
    QVERIFY(out.ok());
    QCOMPARE(count(set.db(), "TA4"), 1);
    QCOMPARE(goods(set.db(), "AB井1", "F1").toString(), QStringLiteral("AB井1"));
    QCOMPARE(goods(set.db(), "AB井1", "F2").toString(), QStringLiteral("乙"));
    QCOMPARE(goods(set.db(), "AB井1", "F4").toString(), QStringLiteral("箱"));
    QCOMPARE(goods(set.db(), "AB井1", "F8").toDouble(), 10.0);  // opening balance only from the first import
    QCOMPARE(goods(set.db(), "AB井1", "Fcplj").toInt(), 1);
}

void TestImportRuns::repeatedCodeInOneFileIsReported_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("same code") << "A1" << "A1";
    QTest::newRow("other case") << "ab1" << "AB1";
    QTest::newRow("blanks around") << "A1" << " A1 ";
    QTest::newRow("# read as 井") << "ab#1" << "AB井1";
}

// A code met twice in one file is reported with both rows; nothing is stored
// (the later row does not silently win).
void TestImportRuns::repeatedCodeInOneFileIsReported()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    FreshAccountSet set;
    const ImportOutcome out = importGoods(set.db(), {{first, "甲"}, {"B2", "乙"}, {second, "丙"}}, {{GCode, "A"}, {GName, "B"}});
    QVERIFY(!out.ok());
    QCOMPARE(out.failedRow, 3);
    QVERIFY2(out.message.contains(QStringLiteral("第 3 行")) && out.message.contains(QStringLiteral("与第 1 行的编码重复")),
             qPrintable(out.message));
    QCOMPARE(count(set.db(), "TA4"), 0);
}

void TestImportRuns::rowBeyondTheWindowsLimitsIsRefused_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("32 000-character code") << int(GCode) << QString(32000, QLatin1Char('C')) << "编码太长";
    QTest::newRow("51-character code") << int(GCode) << QString(51, QLatin1Char('C')) << "编码太长";
    QTest::newRow("32 000-character name") << int(GName) << QString(32000, QChar(0x540D)) << "品名太长";
    QTest::newRow("long unit") << int(GUnit) << QString(50, QLatin1Char('u')) << "计量单位太长";
    QTest::newRow("long spec") << int(GSpec) << QString(50, QLatin1Char('s')) << "规格型号太长";
    QTest::newRow("quantity 1e308") << int(GOpeningQty) << "1e308" << "年初存量：[1e308]数值太大";
    QTest::newRow("quantity with a unit") << int(GOpeningQty) << "12.5kg" << "年初存量：[12.5kg]不是有效的数字";
    QTest::newRow("grouped number") << int(GCost) << "1,200" << "成本单价：[1,200]不是有效的数字";
    QTest::newRow("sale price in words") << int(GSalePrice) << "abc" << "销售参考价：[abc]不是有效的数字";
    QTest::newRow("two points") << int(GMinStock) << "12..5" << "库存底限：[12..5]不是有效的数字";
}

// The import holds each row to the goods window's limits and names the row
// and the reason; nothing of the file is stored.
void TestImportRuns::rowBeyondTheWindowsLimitsIsRefused()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, why);
    FreshAccountSet set;
    QStringList row{QStringLiteral("G2"), QStringLiteral("螺母"), QString(), QString(), QString(), QString(), QString(), QString()};
    const QList<QPair<int, QString>> map{{GCode, "A"}, {GName, "B"}, {GUnit, "C"}, {GSpec, "D"},
                                         {GOpeningQty, "E"}, {GCost, "F"}, {GSalePrice, "G"}, {GMinStock, "H"}};
    for (const auto& [f, letter] : map)
        if (f == field)
            row[letter.at(0).unicode() - u'A'] = text;
    const ImportOutcome out = importGoods(set.db(), {{"G1", "螺丝"}, row}, map);
    QVERIFY(!out.ok());
    QCOMPARE(out.failedRow, 2);
    QVERIFY2(out.message.contains(QStringLiteral("第 2 行")) && out.message.contains(why), qPrintable(out.message.left(300)));
    QCOMPARE(count(set.db(), "TA4"), 0);
}

void TestImportRuns::unitRowBeyondTheWindowsLimitsIsRefused_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("long code") << int(UCode) << QString(50, QLatin1Char('C')) << "单位编码太长";
    QTest::newRow("long name") << int(UName) << QString(256, QChar(0x540D)) << "单位名称太长";
    QTest::newRow("long remark") << int(URemark) << QString(201, QLatin1Char('r')) << "备注太长";
    QTest::newRow("opening 1e308") << int(UOpening) << "1e308" << "期初余额：[1e308]数值太大";
    QTest::newRow("opening in words") << int(UOpening) << "一百" << "期初余额：[一百]不是有效的数字";
}

void TestImportRuns::unitRowBeyondTheWindowsLimitsIsRefused()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, why);
    FreshAccountSet set;
    QStringList row{QStringLiteral("N2"), QStringLiteral("二"), QString(), QString()};
    const QList<QPair<int, QString>> map{{UCode, "A"}, {UName, "B"}, {URemark, "C"}, {UOpening, "D"}};
    for (const auto& [f, letter] : map)
        if (f == field)
            row[letter.at(0).unicode() - u'A'] = text;
    GridModel g;
    FillImportGrid(g, {{"N1", "一", "", "5"}, row});
    UnitImportInput in;
    in.grid = &g;
    in.mapping = Mapping(UnitFieldCount, map);
    in.kind = UnitKind::Customer;
    const int before = count(set.db(), "TA1");
    const ImportOutcome out = RunUnitImport(set.db(), in, [](int, const QString&, const QString&) { return int(MB::OK); });
    QVERIFY(!out.ok());
    QVERIFY2(out.message.contains(QStringLiteral("第 2 行")) && out.message.contains(why), qPrintable(out.message.left(300)));
    QCOMPARE(count(set.db(), "TA1"), before);
}

// A document line whose figures are no numbers is not written; the outcome
// names its row and why, the other rows are written.
void TestImportRuns::lineImportRefusesFiguresThatAreNoNumbers()
{
    FreshAccountSet set;
    AddGoods(set.db(), {.code = "G1", .name = "螺丝", .cost = 2});
    AddGoods(set.db(), {.code = "G2", .name = "螺母", .cost = 3});
    StandInHost host(set.db());
    GridModel g;
    FillImportGrid(g, {{"G1", "1e308", "1"}, {"G2", "5", "1,5"}, {"G1", "2", "4"}});
    const LineImportOutcome out = RunLineImport(set.app(), host, LineImportLayout::standard(), g,
                                                Mapping(LineFieldCount, {{LCode, "A"}, {LQty, "B"}, {LPrice, "C"}}));
    QCOMPARE(out.written, 1);
    QCOMPARE(out.problems.size(), 2);
    QVERIFY2(out.problems[0].startsWith(QStringLiteral("第 1 行：数量：[1e308]")), qPrintable(out.problems[0]));
    QVERIFY2(out.problems[1].startsWith(QStringLiteral("第 2 行：单价：[1,5]")), qPrintable(out.problems[1]));
    QCOMPARE(host.grid.textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(host.grid.textMatrix(1, 3), QStringLiteral("2"));
    QCOMPARE(host.grid.textMatrix(2, 0), QString());
}

void TestImportRuns::categoryRule()
{
    FreshAccountSet set;
    const ImportOutcome out = importGoods(set.db(), {{"G1", "", "K01-25", "", "red", "large"}},
                                          {{GCode, "A"}, {GName, "B"}, {GCategoryCode, "C,3"}, {GRemark, "EF"}});
    QVERIFY(out.ok());
    QCOMPARE(goods(set.db(), "G1", "F3").toString(), QStringLiteral("K01"));
    QCOMPARE(goods(set.db(), "G1", "F2").toString(), QStringLiteral("G1"));
    QCOMPARE(goods(set.db(), "G1", "F6").toString(), QStringLiteral("redlarge"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = 'K01'")).toString(), QStringLiteral("无类别"));
}

void TestImportRuns::supplierRule()
{
    FreshAccountSet set;
    AddUnit(set.db(), {.code = "S01", .name = "供应一", .kind = UnitKind::Supplier});
    AddUnit(set.db(), {.code = "C01", .name = "客户一", .kind = UnitKind::Customer});
    QStringList asked;
    auto ask = [&asked](const QString& code) {
        asked << code;
        return asked.size() == 1 ? int(MB::Cancel) : int(MB::Yes);
    };
    const ImportOutcome out = importGoods(set.db(),
                                          {{"G1", "S01"}, {"G2", "C01"}, {"G3", "X9"}, {"G4", "X8"}, {"G5", "X7"}},
                                          {{GCode, "A"}, {GSupplierCode, "B"}}, ask);
    QVERIFY(out.ok());
    // Cancel skips one goods and asks again; Yes adds this and every later one.
    QCOMPARE(asked, (QStringList{"X9", "X8"}));
    QCOMPARE(goods(set.db(), "G1", "Gys").toString(), QStringLiteral("S01"));
    QCOMPARE(goods(set.db(), "G2", "Gys").toString(), QString());
    QCOMPARE(goods(set.db(), "G3", "Gys").toString(), QString());
    QCOMPARE(goods(set.db(), "G4", "Gys").toString(), QStringLiteral("X8"));
    QCOMPARE(goods(set.db(), "G5", "Gys").toString(), QStringLiteral("X7"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT LB FROM TA1 WHERE F1 = 'X7'")).toInt(), 0);
    QVERIFY(set.db().scalar(QStringLiteral("SELECT 1 FROM TA1 WHERE F1 = 'X9'")).isNull());
}

void TestImportRuns::unitImport()
{
    FreshAccountSet set;
    AddUnit(set.db(), {.code = "c1", .name = "旧客户", .kind = UnitKind::Customer});
    AddUnit(set.db(), {.code = "D1", .name = "部门", .kind = UnitKind::Department});
    GridModel g;
    FillImportGrid(g, {{"C1", "", "地址'1"}, {"n2", "新客户", ""}, {"D1", "x", "y"}, {"", "空", ""}});
    UnitImportInput in;
    in.grid = &g;
    in.mapping = Mapping(UnitFieldCount, {{UCode, "A"}, {UName, "B"}, {UAddress, "C"}});
    in.kind = UnitKind::Customer;
    QStringList asked;
    const ImportOutcome out = RunUnitImport(set.db(), in, [&](int row, const QString& code, const QString& word) {
        asked << QStringLiteral("%1 %2 %3").arg(row).arg(code, word);
        return int(MB::OK);
    });
    QVERIFY(out.ok());
    QCOMPARE(asked, QStringList{QStringLiteral("3 D1 部门")});
    // Found regardless of case; the stored code keeps its case; an empty name gives the code.
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = 'c1'")).toString(), QStringLiteral("C1"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F3 FROM TA1 WHERE F1 = 'c1'")).toString(), QStringLiteral("地址'1"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F1 || '|' || F4 || '|' || LB FROM TA1 WHERE F2 = '新客户'")).toString(),
             QStringLiteral("N2| |1"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA1 WHERE F1 = 'D1'")).toString(), QStringLiteral("部门"));
}

void TestImportRuns::unitImportCancelWritesNothing()
{
    FreshAccountSet set;
    AddUnit(set.db(), {.code = "D1", .name = "部门", .kind = UnitKind::Department});
    GridModel g;
    FillImportGrid(g, {{"N1", "一"}, {"D1", "x"}, {"N3", "三"}});
    UnitImportInput in;
    in.grid = &g;
    in.mapping = Mapping(UnitFieldCount, {{UCode, "A"}, {UName, "B"}});
    const int before = count(set.db(), "TA1");
    const ImportOutcome out = RunUnitImport(set.db(), in, [](int, const QString&, const QString&) { return int(MB::Cancel); });
    QCOMPARE(out.state, ImportOutcome::State::Cancelled);
    QCOMPARE(count(set.db(), "TA1"), before);
}

void TestImportRuns::unitOpeningBalanceRepostsChain()
{
    FreshAccountSet set;
    AddUnit(set.db(), {.code = "S1", .name = "供应", .kind = UnitKind::Supplier, .opening = 100});
    AddDocument(set.db(), {.number = "RK1", .unit = "S1", .lines = {{.goods = "G", .qty = 1, .price = 50}}});
    set.db().execute(QStringLiteral("UPDATE TB1 SET F6 = '001', SRT = 'S202405130001', YF = 50, FK = 0"));
    RepostUnitBalance(set.db(), QStringLiteral("0"), QStringLiteral("S1"));
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT QM FROM TB1")).toDouble(), 150.0);
    GridModel g;
    FillImportGrid(g, {{"s1", "供应", "200"}});
    UnitImportInput in;
    in.grid = &g;
    in.mapping = Mapping(UnitFieldCount, {{UCode, "A"}, {UOpening, "C"}});
    QVERIFY(RunUnitImport(set.db(), in, [](int, const QString&, const QString&) { return int(MB::OK); }).ok());
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT QC FROM TB1")).toDouble(), 200.0);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT QM FROM TB1")).toDouble(), 250.0);
}

void TestImportRuns::lineImport()
{
    FreshAccountSet set;
    AddGoods(set.db(), {.code = "G1", .name = "螺丝", .cost = 2});
    AddGoods(set.db(), {.code = "G2", .name = "螺母", .cost = 3});
    StandInHost host(set.db());
    GridModel g;
    FillImportGrid(g, {{"g1", "4", "", "10", "备注一"}, {"NONE", "1"}, {"", "9"}, {"G2", "5", "", "", ""}});
    const LineImportOutcome out = RunLineImport(set.app(), host, LineImportLayout::standard(), g,
                                                Mapping(LineFieldCount, {{LCode, "A"}, {LQty, "B"}, {LAmount, "D"}, {LRemark, "E"}}));
    QCOMPARE(out.written, 2);
    QCOMPARE(out.missing, 1);
    QCOMPARE(out.refused, 0);
    Grid& gd = host.grid;
    QCOMPARE(gd.textMatrix(1, 0), QStringLiteral("G1"));
    QCOMPARE(gd.textMatrix(1, 3), QStringLiteral("4"));
    QCOMPARE(gd.textMatrix(1, 5), QStringLiteral("10"));
    QCOMPARE(gd.textMatrix(1, 4), QStringLiteral("2.5"));
    QCOMPARE(gd.textMatrix(1, 6), QStringLiteral("备注一"));
    // An empty amount cell counts 0; the price stays as proposed.
    QCOMPARE(gd.textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(gd.textMatrix(2, 5), QStringLiteral("0"));
    QCOMPARE(gd.rows(), 4);
}

void TestImportRuns::lineImportRefusedRowWritesNothing()
{
    FreshAccountSet set;
    AddGoods(set.db(), {.code = "G1", .name = "螺丝", .cost = 2});
    AddGoods(set.db(), {.code = "G2", .name = "螺母", .cost = 3});
    StandInHost host(set.db());
    GridModel g;
    FillImportGrid(g, {{"G1", "4", "1"}, {"G1", "7", "99"}, {"G2", "5", "6"}});
    const LineImportOutcome out = RunLineImport(set.app(), host, LineImportLayout::standard(), g,
                                                Mapping(LineFieldCount, {{LCode, "A"}, {LQty, "B"}, {LPrice, "C"}}));
    QCOMPARE(host.refusals, 1);
    QCOMPARE(out.written, 2);
    QCOMPARE(out.refused, 1);
    // The first line keeps its own cells, untouched by the refused row.
    QCOMPARE(host.grid.textMatrix(1, 3), QStringLiteral("4"));
    QCOMPARE(host.grid.textMatrix(1, 4), QStringLiteral("1"));
    QCOMPARE(host.grid.textMatrix(2, 0), QStringLiteral("G2"));
    QCOMPARE(host.grid.textMatrix(2, 5), QStringLiteral("30"));
}

namespace {
// The stocktaking window's commit: book quantity from the goods' stock, the
// cost as unit price, counted quantity and differences empty.
class StocktakingHost : public StandInHost {
public:
    using StandInHost::StandInHost;
    void TxtEnter_LostFocus() override
    {
        const int refusedBefore = refusals;
        StandInHost::TxtEnter_LostFocus();
        if (refusals != refusedBefore)
            return;
        const RecordSet rs = db.query(QStringLiteral("SELECT F8, F4, F7 FROM TA4 WHERE F1 = ?"), {grid.textMatrix(row, 0)});
        if (rs.isEmpty())
            return;
        grid.setTextMatrix(row, 3, rs.text(0, 0) + QLatin1Char(' ') + rs.text(0, 1));
        grid.setTextMatrix(row, 4, QString());
        grid.setTextMatrix(row, 6, rs.text(0, 2));
    }
};
}  // namespace

void TestImportRuns::lineImportStocktakingWithAttribute()
{
    FreshAccountSet set;
    set.app().HpsxName = QStringLiteral("批号");
    AddGoods(set.db(), {.code = "G1", .name = "螺丝", .unit = "个", .cost = 2, .stock = 50});
    AddDocument(set.db(), {.number = "RK1", .lines = {{.goods = "G1", .qty = 8, .price = 2, .attr = "B1"}}});
    set.db().execute(QStringLiteral("UPDATE TB11 SET SRT = 'S202405130001001'"));
    StocktakingHost host(set.db(), 9);
    GridModel g;
    FillImportGrid(g, {{"G1", "5", "B1"}, {"G1", "60", ""}});
    host.grid.setRows(2);
    const LineImportOutcome out = RunLineImport(set.app(), host, LineImportLayout::stocktakingLayout(), g,
                                                Mapping(LineFieldCount, {{LCode, "A"}, {LQty, "B"}, {LAttr, "C"}}));
    // The second row names the same goods: the document refuses it.
    QCOMPARE(out.written, 1);
    QCOMPARE(out.refused, 1);
    Grid& gd = host.grid;
    QCOMPARE(gd.textMatrix(1, 2), QStringLiteral("B1"));
    QCOMPARE(gd.textMatrix(1, 3), QStringLiteral("8 个"));   // the batch's posted stock
    QCOMPARE(gd.textMatrix(1, 4), QStringLiteral("5"));      // counted
    QCOMPARE(gd.textMatrix(1, 5), QStringLiteral("-3"));     // difference
    QCOMPARE(gd.textMatrix(1, 7), QStringLiteral("-6.00"));  // difference amount at cost 2
    QCOMPARE(gd.cellForeColor(1, 5), QColor(Qt::red));       // decided before the batch stock
}

VX_REGISTER_TEST(TestImportRuns)
#include "tst_importruns.moc"
