#include "basicdata/GoodsSave.h"
#include "core/Posting.h"
#include "core/SqlText.h"
#include "platform/Database.h"
#include "support/PostingReference.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// The goods save, delete, code-in-use test, serial and suggested codes.
class TestGoodsSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addStartsFromOpeningFigures();
    void addWithoutOpeningQuantityKeepsTheCost();
    void codeCleaning_data();
    void codeCleaning();
    void refusals_data();
    void refusals();
    void duplicateCode_data();
    void duplicateCode();
    void sameNameAndSpecAsksFirst();
    void editRenameCarriesIntoEveryReference();
    void editKeepingItsCodeIsNoDuplicate();
    void failedEditChangesNothing();
    void quotesInLocationPictureAndRemarkSaveVerbatim();
    void editNeverWritesRunningFiguresFromBoxes();
    void editedOpeningFiguresRecostTheGoods();
    void openingFiguresNeedTheRight();
    void referencePriceHistory_data();
    void referencePriceHistory();
    void costPlusFeeRollsUpTheStructure();
    void structureIsSavedWithTheGoods();
    void untickedStructureIsRemoved();
    void classFollowsTheTick();
    void deleteRemovesTheGoodsAndItsStructureLines();
    void deleteQuestionNamesTheProducts();
    void codeInUse_data();
    void codeInUse();
    void serialCode_data();
    void serialCode();
    void suggestionSkipsTakenCodes();
    void classConversion();
    void figureThatIsNoNumberIsRefused_data();
    void figureThatIsNoNumberIsRefused();
};

namespace {

GoodsInput input(const QString& code, const QString& name)
{
    GoodsInput in;
    in.code = code;
    in.name = name;
    in.category = QStringLiteral("000.无类别");
    in.unit = QStringLiteral("个");
    return in;
}

GoodsSaveContext editing(const QString& code, bool admin = true)
{
    GoodsSaveContext ctx;
    ctx.mode = GoodsSaveContext::Mode::Edit;
    ctx.editStartCode = code;
    ctx.mayEditOpening = admin;
    return ctx;
}

QVariant cell(Database& db, const QString& sql, const QVariantList& params = {})
{
    return db.scalar(sql, params);
}

double num(Database& db, const QString& column, const QString& code)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM TA4 WHERE F1 = ?").arg(column), {code}).toDouble();
}

}  // namespace

void TestGoodsSave::addStartsFromOpeningFigures()
{
    FreshAccountSet set;
    GoodsInput in = input(QStringLiteral("G1"), QStringLiteral("螺丝"));
    in.openingQty = QStringLiteral("10");
    in.openingAmount = QStringLiteral("125");
    in.cost = QStringLiteral("12");
    const GoodsSaveOutcome out = SaveGoods(set.db(), GoodsSaveContext{}, in);
    QVERIFY(out.saved());
    QCOMPARE(out.notices.size(), 1);
    QVERIFY(out.notices[0].contains(QStringLiteral("当前成本单价应为: 12.50 !")));
    QCOMPARE(num(set.db(), "F7", "G1"), 12.5);
    QCOMPARE(num(set.db(), "F8", "G1"), 10.0);
    QCOMPARE(num(set.db(), "Fje", "G1"), 125.0);
    QCOMPARE(num(set.db(), "V3", "G1"), 10.0);
    QCOMPARE(num(set.db(), "V4", "G1"), 12.5);
    QCOMPARE(num(set.db(), "V5", "G1"), 125.0);
    QCOMPARE(cell(set.db(), "SELECT Fcplj FROM TA4").toInt(), 0);
}

void TestGoodsSave::addWithoutOpeningQuantityKeepsTheCost()
{
    FreshAccountSet set;
    GoodsInput in = input(QStringLiteral("G1"), QStringLiteral("螺丝"));
    in.cost = QStringLiteral("3.25");
    const GoodsSaveOutcome out = SaveGoods(set.db(), GoodsSaveContext{}, in);
    QVERIFY(out.saved());
    QVERIFY(out.notices.isEmpty());
    QCOMPARE(num(set.db(), "F7", "G1"), 3.25);
    QCOMPARE(num(set.db(), "V4", "G1"), 3.25);
    QCOMPARE(num(set.db(), "F8", "G1"), 0.0);
}

void TestGoodsSave::codeCleaning_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("upper case, blanks out, star to x") << " ab c*" << "ABCx";
    QTest::newRow("apostrophe as typed") << "a'b" << "A'B";
    QTest::newRow("question mark and quote as typed") << "x?\"" << "X?\"";
    QTest::newRow("leading zeros kept") << "0012" << "0012";
}

void TestGoodsSave::codeCleaning()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    FreshAccountSet set;
    const GoodsSaveOutcome out = SaveGoods(set.db(), GoodsSaveContext{}, input(typed, QStringLiteral("名")));
    QVERIFY(out.saved());
    QCOMPARE(out.cleaned.code, stored);
    QCOMPARE(cell(set.db(), "SELECT F1 FROM TA4").toString(), stored);
}

void TestGoodsSave::refusals_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty code") << "code" << "  " << "编码不能为空！";
    QTest::newRow("empty name") << "name" << "" << "品名不能为空！";
    QTest::newRow("hash in code") << "code" << "A#1" << "编码中不能包含[#]这个符号！";
    QTest::newRow("unit that is a number") << "unit" << "5kg" << "计量单位不能是数字!";
    QTest::newRow("empty category") << "category" << "" << "所属类别不能为空！";
    QTest::newRow("unknown category") << "category" << "999.别的" << "所属类别编码输入错误！";
    QTest::newRow("customer as supplier") << "supplier" << "C1.客户" << "[C1]不是有效的供应商编码！";
}

void TestGoodsSave::refusals()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    FreshAccountSet set;
    AddUnit(set.db(), {QStringLiteral("C1"), QStringLiteral("客户"), UnitKind::Customer});
    GoodsInput in = input(QStringLiteral("G1"), QStringLiteral("螺丝"));
    in.supplierShown = true;
    if (field == "code") in.code = value;
    if (field == "name") in.name = value;
    if (field == "unit") in.unit = value;
    if (field == "category") in.category = value;
    if (field == "supplier") in.supplier = value;
    const GoodsSaveOutcome out = SaveGoods(set.db(), GoodsSaveContext{}, in);
    QCOMPARE(int(out.status), int(GoodsSaveOutcome::Status::Refused));
    QCOMPARE(out.message, message);
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM TA4").toInt(), 0);
}

void TestGoodsSave::duplicateCode_data()
{
    QTest::addColumn<bool>("pinyin");
    QTest::addColumn<QString>("suggestion");
    QTest::newRow("plain refusal") << false << "";
    QTest::newRow("pinyin codes get the next free code") << true << "LS002";
}

void TestGoodsSave::duplicateCode()
{
    QFETCH(bool, pinyin);
    QFETCH(QString, suggestion);
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("LS"), QStringLiteral("螺丝")});
    AddGoods(set.db(), {QStringLiteral("LS001"), QStringLiteral("螺栓")});
    GoodsSaveContext ctx;
    ctx.pinyinCodes = pinyin;
    const GoodsSaveOutcome out = SaveGoods(set.db(), ctx, input(QStringLiteral("ls"), QStringLiteral("螺丝钉")));
    QCOMPARE(int(out.status), int(GoodsSaveOutcome::Status::DuplicateCode));
    QVERIFY(out.message.startsWith(QStringLiteral("[螺丝]已经使用了LS这个编码")));
    QCOMPARE(out.suggestion, suggestion);
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM TA4").toInt(), 2);
}

void TestGoodsSave::sameNameAndSpecAsksFirst()
{
    FreshAccountSet set;
    GoodsSpec g{QStringLiteral("A1"), QStringLiteral("螺丝")};
    AddGoods(set.db(), g);
    GoodsSaveContext ctx;
    GoodsSaveOutcome out = SaveGoods(set.db(), ctx, input(QStringLiteral("A2"), QStringLiteral("螺丝")));
    QCOMPARE(int(out.status), int(GoodsSaveOutcome::Status::AskSameName));
    QVERIFY(out.message.contains(QStringLiteral("的货品编码为[A1]")));
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM TA4").toInt(), 1);
    ctx.sameNameConfirmed = true;
    out = SaveGoods(set.db(), ctx, input(QStringLiteral("A2"), QStringLiteral("螺丝")));
    QVERIFY(out.saved());
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM TA4").toInt(), 2);
}

void TestGoodsSave::editRenameCarriesIntoEveryReference()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("X"), QStringLiteral("成品")});
    AddGoods(db, {QStringLiteral("P"), QStringLiteral("零件")});
    AddBomPart(db, QStringLiteral("X"), QStringLiteral("P"), 2);  // X as product
    AddBomPart(db, QStringLiteral("Z"), QStringLiteral("X"), 1);  // X as a part of Z
    AddDocument(db, {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound, QStringLiteral("采购入库单"), false,
                     {{QStringLiteral("X"), 3, 2}}});
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('C1', 'X', 9)"));
    db.execute(QStringLiteral("INSERT INTO RkPrice (F1, F7) VALUES ('X', 4)"));
    db.execute(QStringLiteral("UPDATE TA4 SET F701 = 0.25 WHERE F1 = 'X'"));
    // An outbound header that assembled X, and one that assembled another product.
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, LB, zzcp, zzsl) VALUES ('CK1', '2024-05-14', 3, 'X', 2), "
                              "('CK2', '2024-05-14', 3, 'XX', 1)"));
    const qint64 rowid = db.scalar(QStringLiteral("SELECT rowid FROM TA4 WHERE F1 = 'X'")).toLongLong();

    GoodsInput in = input(QStringLiteral("Y"), QStringLiteral("成品"));
    in.feeRate = QStringLiteral("0.25");
    QVERIFY(SaveGoods(db, editing(QStringLiteral("X")), in).saved());

    QCOMPARE(db.scalar(QStringLiteral("SELECT rowid FROM TA4 WHERE F1 = 'Y'")).toLongLong(), rowid);
    for (const char* sql : {"SELECT COUNT(*) FROM TB11 WHERE F1 = 'Y'", "SELECT COUNT(*) FROM Bom WHERE F0 = 'Y'",
                            "SELECT COUNT(*) FROM Bom WHERE F1 = 'Y'", "SELECT COUNT(*) FROM KhPrice WHERE F1 = 'Y'",
                            "SELECT COUNT(*) FROM RkPrice WHERE F1 = 'Y'", "SELECT COUNT(*) FROM TB1 WHERE zzcp = 'Y'",
                            "SELECT COUNT(*) FROM TB1 WHERE zzcp = 'XX'"})
        QVERIFY2(cell(db, QString::fromLatin1(sql)).toInt() == 1, sql);
    QCOMPARE(cell(db, "SELECT COUNT(*) FROM TA4 WHERE F1 = 'X'").toInt(), 0);
    QCOMPARE(cell(db, "SELECT COUNT(*) FROM TB11 WHERE F1 = 'X'").toInt(), 0);
}

void TestGoodsSave::editKeepingItsCodeIsNoDuplicate()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("ab"), QStringLiteral("旧")});
    GoodsInput in = input(QStringLiteral("AB"), QStringLiteral("新"));
    QVERIFY(SaveGoods(set.db(), editing(QStringLiteral("ab")), in).saved());
    QCOMPARE(cell(set.db(), "SELECT F2 FROM TA4").toString(), QStringLiteral("新"));
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM TA4").toInt(), 1);
}

void TestGoodsSave::failedEditChangesNothing()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("X"), QStringLiteral("旧名")});
    AddDocument(db, {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound, QStringLiteral("采购入库单"), false,
                     {{QStringLiteral("X"), 3, 2}}});
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('C1', 'X', 9)"));
    db.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON KhPrice BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    bool thrown = false;
    try {
        SaveGoods(db, editing(QStringLiteral("X")), input(QStringLiteral("Y"), QStringLiteral("新名")));
    } catch (const DbError&) {
        thrown = true;
    }
    QVERIFY(thrown);
    QCOMPARE(cell(db, "SELECT F2 FROM TA4 WHERE F1 = 'X'").toString(), QStringLiteral("旧名"));
    QCOMPARE(cell(db, "SELECT COUNT(*) FROM TB11 WHERE F1 = 'X'").toInt(), 1);
    QVERIFY(!db.inTransaction());
}

void TestGoodsSave::quotesInLocationPictureAndRemarkSaveVerbatim()
{
    FreshAccountSet set;
    GoodsInput in = input(QStringLiteral("G1"), QStringLiteral("螺丝"));
    in.location = QStringLiteral("O'Brien's \"shelf\" 3?");
    in.picture = QStringLiteral("#PicPath#\\it's.jpg");
    in.remark = QStringLiteral("don't\nstack");
    QVERIFY(SaveGoods(set.db(), GoodsSaveContext{}, in).saved());
    QCOMPARE(cell(set.db(), "SELECT HW FROM TA4").toString(), in.location);
    QCOMPARE(cell(set.db(), "SELECT F9 FROM TA4").toString(), in.picture);
    QCOMPARE(cell(set.db(), "SELECT F6 FROM TA4").toString(), QStringLiteral("don'tstack"));
    // Saving again keeps them.
    in.code = QStringLiteral("G1");
    QVERIFY(SaveGoods(set.db(), editing(QStringLiteral("G1")), in).saved());
    QCOMPARE(cell(set.db(), "SELECT HW FROM TA4").toString(), in.location);
}

void TestGoodsSave::editNeverWritesRunningFiguresFromBoxes()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("X"), QStringLiteral("螺丝")});
    // The window shows the goods with stock 0 and cost 0 ...
    GoodsInput shown = input(QStringLiteral("X"), QStringLiteral("螺丝钉"));
    shown.cost = QStringLiteral("0.00");
    shown.costEditable = false;
    // ... while another workstation audits a receipt of 5 at 2.
    AddDocument(db, {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound, QStringLiteral("采购入库单"), false,
                     {{QStringLiteral("X"), 5, 2}}});
    PostDocument(db, PostingRules{}, QStringLiteral("RK1"), QStringLiteral("系统管理员"), {}, StoredKindRule(db, QStringLiteral("RK1")));
    QCOMPARE(num(db, "F8", "X"), 5.0);

    const GoodsSaveOutcome out = SaveGoods(db, editing(QStringLiteral("X"), false), shown);
    QVERIFY(out.saved());
    QCOMPARE(num(db, "F8", "X"), 5.0);
    QCOMPARE(num(db, "F7", "X"), 2.0);
    QCOMPARE(num(db, "Fje", "X"), 10.0);
    QCOMPARE(out.stockQty, 5.0);
    QCOMPARE(cell(db, "SELECT F2 FROM TA4").toString(), QStringLiteral("螺丝钉"));
}

void TestGoodsSave::editedOpeningFiguresRecostTheGoods()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("X"), QStringLiteral("螺丝")});
    AddDocument(db, {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound, QStringLiteral("采购入库单"), false,
                     {{QStringLiteral("X"), 5, 2}}});
    PostDocument(db, PostingRules{}, QStringLiteral("RK1"), QStringLiteral("系统管理员"), {}, StoredKindRule(db, QStringLiteral("RK1")));
    GoodsInput in = input(QStringLiteral("X"), QStringLiteral("螺丝"));
    in.openingQty = QStringLiteral("10");
    in.openingAmount = QStringLiteral("40");
    in.cost = QStringLiteral("2.00");
    in.costEditable = false;
    const GoodsSaveOutcome out = SaveGoods(db, editing(QStringLiteral("X")), in);
    QVERIFY(out.saved());
    QCOMPARE(num(db, "V3", "X"), 10.0);
    QCOMPARE(num(db, "V4", "X"), 4.0);
    QCOMPARE(num(db, "F8", "X"), 15.0);
    QCOMPARE(num(db, "Fje", "X"), 50.0);
    QCOMPARE(out.stockQty, 15.0);
    QCOMPARE(out.notices.size(), 1);
    QVERIFY(out.notices[0].contains(QStringLiteral("当前成本单价应为: 3.33")));
}

void TestGoodsSave::openingFiguresNeedTheRight()
{
    FreshAccountSet set;
    Database& db = set.db();
    GoodsSpec g{QStringLiteral("X"), QStringLiteral("螺丝")};
    g.openingQty = 2;
    g.openingPrice = 3;
    g.openingAmount = 6;
    g.stock = 2;
    g.cost = 3;
    g.amount = 6;
    AddGoods(db, g);
    GoodsInput in = input(QStringLiteral("X"), QStringLiteral("螺丝"));
    in.openingQty = QStringLiteral("100");
    in.openingAmount = QStringLiteral("1");
    in.costEditable = false;
    QVERIFY(SaveGoods(db, editing(QStringLiteral("X"), false), in).saved());
    QCOMPARE(num(db, "V3", "X"), 2.0);
    QCOMPARE(num(db, "V5", "X"), 6.0);
    QCOMPARE(num(db, "F8", "X"), 2.0);
}

void TestGoodsSave::referencePriceHistory_data()
{
    QTest::addColumn<bool>("setting");
    QTest::addColumn<QString>("newPrice");
    QTest::addColumn<QString>("editPrice");
    QTest::addColumn<int>("rows");
    QTest::newRow("setting off") << false << "5" << "6" << 0;
    QTest::newRow("new goods, then unchanged") << true << "5" << "5" << 1;
    QTest::newRow("new goods, then changed") << true << "5" << "6" << 2;
    QTest::newRow("price 0 writes none") << true << "0" << "0" << 0;
}

void TestGoodsSave::referencePriceHistory()
{
    QFETCH(bool, setting);
    QFETCH(QString, newPrice);
    QFETCH(QString, editPrice);
    QFETCH(int, rows);
    FreshAccountSet set;
    GoodsSaveContext ctx;
    ctx.inboundRefPrice = setting;
    ctx.operatorName = QStringLiteral("张三");
    GoodsInput in = input(QStringLiteral("G1"), QStringLiteral("螺丝"));
    in.refPrice = newPrice;
    QVERIFY(SaveGoods(set.db(), ctx, in).saved());
    GoodsSaveContext edit = editing(QStringLiteral("G1"));
    edit.inboundRefPrice = setting;
    edit.editStartRefPrice = BoxValue(newPrice);
    edit.operatorName = ctx.operatorName;
    in.refPrice = editPrice;
    QVERIFY(SaveGoods(set.db(), edit, in).saved());
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM RkPrice").toInt(), rows);
    if (rows)
        QCOMPARE(cell(set.db(), "SELECT F9 FROM RkPrice").toString(), QStringLiteral("张三"));
}

void TestGoodsSave::costPlusFeeRollsUpTheStructure()
{
    FreshAccountSet set;
    GoodsSpec p{QStringLiteral("P"), QStringLiteral("零件")};
    p.cost = 50;
    AddGoods(set.db(), p);
    GoodsSaveContext ctx;
    ctx.inboundRefPrice = true;
    ctx.costPlusFeePrice = true;
    GoodsInput in = input(QStringLiteral("X"), QStringLiteral("成品"));
    in.structureOffered = in.composite = true;
    in.feeRate = QStringLiteral("0.1");
    StructureLine l;
    l.part = QStringLiteral("P");
    l.usage = 2;
    l.price = 50;
    in.structure = {l};
    const GoodsSaveOutcome out = SaveGoods(set.db(), ctx, in);
    QVERIFY(out.saved());
    QCOMPARE(out.refPrice, 110.0);
    QCOMPARE(num(set.db(), "RkF7", "X"), 110.0);
    QCOMPARE(cell(set.db(), "SELECT F7 FROM RkPrice").toDouble(), 110.0);
}

void TestGoodsSave::structureIsSavedWithTheGoods()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("P1"), QStringLiteral("零件一")});
    GoodsInput in = input(QStringLiteral("X"), QStringLiteral("成品"));
    in.structureOffered = in.composite = true;
    StructureLine l;
    l.part = QStringLiteral("P1");
    l.usage = 3;
    l.price = 2.5;
    l.remark = QStringLiteral("it's");
    in.structure = {l};
    QVERIFY(SaveGoods(set.db(), GoodsSaveContext{}, in).saved());
    QCOMPARE(cell(set.db(), "SELECT F11 FROM TA4 WHERE F1 = 'X'").toString(), QStringLiteral("1"));
    QCOMPARE(cell(set.db(), "SELECT Fcplj FROM TA4 WHERE F1 = 'X'").toInt(), 1);
    QCOMPARE(cell(set.db(), "SELECT F711 FROM TA4 WHERE F1 = 'X'").toDouble(), 7.5);
    QCOMPARE(cell(set.db(), "SELECT F6 FROM Bom WHERE F0 = 'X' AND F1 = 'P1'").toDouble(), 3.0);
    QCOMPARE(cell(set.db(), "SELECT F8 FROM Bom").toString(), QStringLiteral("it's"));
}

void TestGoodsSave::untickedStructureIsRemoved()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("X"), QStringLiteral("成品")});
    AddBomPart(set.db(), QStringLiteral("X"), QStringLiteral("P1"), 1);
    // A window that does not offer the structure leaves it alone ...
    GoodsInput in = input(QStringLiteral("X"), QStringLiteral("成品"));
    QVERIFY(SaveGoods(set.db(), editing(QStringLiteral("X")), in).saved());
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM Bom").toInt(), 1);
    // ... one that offers it and has the box unticked removes it.
    in.structureOffered = true;
    in.composite = false;
    QVERIFY(SaveGoods(set.db(), editing(QStringLiteral("X")), in).saved());
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM Bom").toInt(), 0);
    QCOMPARE(cell(set.db(), "SELECT F11 FROM TA4").toString(), QStringLiteral("0"));
}

void TestGoodsSave::classFollowsTheTick()
{
    FreshAccountSet set;
    GoodsInput in = input(QStringLiteral("X"), QStringLiteral("零件"));
    in.structureOffered = true;  // offered but not ticked: a part
    QVERIFY(SaveGoods(set.db(), GoodsSaveContext{}, in).saved());
    QCOMPARE(cell(set.db(), "SELECT Fcplj FROM TA4").toInt(), 0);
    set.db().execute(QStringLiteral("UPDATE TA4 SET Fcplj = 1"));
    in.structureOffered = false;  // a window without the box keeps the class
    QVERIFY(SaveGoods(set.db(), editing(QStringLiteral("X")), in).saved());
    QCOMPARE(cell(set.db(), "SELECT Fcplj FROM TA4").toInt(), 1);
}

void TestGoodsSave::deleteRemovesTheGoodsAndItsStructureLines()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("P"), QStringLiteral("零件")});
    AddBomPart(db, QStringLiteral("X"), QStringLiteral("P"), 2);
    AddBomPart(db, QStringLiteral("P"), QStringLiteral("Q"), 1);
    AddBomPart(db, QStringLiteral("X"), QStringLiteral("R"), 1);
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('C1', 'P', 9)"));
    DeleteGoods(db, QStringLiteral(" P "));
    QCOMPARE(cell(db, "SELECT COUNT(*) FROM TA4").toInt(), 0);
    QCOMPARE(cell(db, "SELECT COUNT(*) FROM Bom").toInt(), 1);
    QCOMPARE(cell(db, "SELECT F1 FROM Bom").toString(), QStringLiteral("R"));
    QCOMPARE(cell(db, "SELECT COUNT(*) FROM KhPrice").toInt(), 1);
}

void TestGoodsSave::deleteQuestionNamesTheProducts()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("X1"), QStringLiteral("桌子")});
    AddGoods(db, {QStringLiteral("X2"), QStringLiteral("椅子")});
    AddBomPart(db, QStringLiteral("X2"), QStringLiteral("P"), 4);
    AddBomPart(db, QStringLiteral("X1"), QStringLiteral("P"), 4);
    const auto used = ProductsUsingPart(db, QStringLiteral("P"));
    QCOMPARE(used.size(), 2);
    QCOMPARE(used[0].first, QStringLiteral("X1"));
    const QString q = DeleteGoodsQuestion(QStringLiteral("螺丝"), used);
    QVERIFY(q.contains(QStringLiteral("[X1]桌子")));
    QVERIFY(q.contains(QStringLiteral("[X2]椅子")));
    QVERIFY(q.endsWith(QStringLiteral("真的要删除螺丝的资料吗？")));
    QCOMPARE(DeleteGoodsQuestion(QStringLiteral("螺丝"), {}), QStringLiteral("真的要删除螺丝的资料吗？"));
}

void TestGoodsSave::codeInUse_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("inUse");
    QTest::newRow("on a document line") << "X" << true;
    QTest::newRow("blanks around") << " X " << true;
    QTest::newRow("only in a structure") << "P" << false;
    QTest::newRow("empty code") << "" << true;
}

void TestGoodsSave::codeInUse()
{
    QFETCH(QString, code);
    QFETCH(bool, inUse);
    FreshAccountSet set;
    AddDocument(set.db(), {QStringLiteral("RK1"), QDate(2024, 5, 13), QString(), DocKind::Inbound, QStringLiteral("采购入库单"), false,
                           {{QStringLiteral("X"), 1, 1}}});
    AddBomPart(set.db(), QStringLiteral("X"), QStringLiteral("P"), 1);
    QCOMPARE(GoodsCodeInUse(set.db(), code), inUse);
}

void TestGoodsSave::serialCode_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("next");
    QTest::newRow("padded run") << "HP-0099" << "HP-0100";
    QTest::newRow("keeps zeros") << "A0012" << "A0013";
    QTest::newRow("grows") << "A99" << "A100";
    QTest::newRow("digits only grow") << "999" << "1000";
    QTest::newRow("year") << "2024" << "2025";
    QTest::newRow("no digits") << "ABC" << "ABC1";
    QTest::newRow("digit inside") << "X9Y" << "X9Y1";
    QTest::newRow("zeros") << "0009" << "0010";
    QTest::newRow("past 32 bits") << "6901234567890" << "";
}

void TestGoodsSave::serialCode()
{
    QFETCH(QString, last);
    QFETCH(QString, next);
    QCOMPARE(NextSerialCode(last), next);
}

void TestGoodsSave::suggestionSkipsTakenCodes()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("A001"), QStringLiteral("甲")});
    QCOMPARE(SuggestFreeCode(set.db(), QStringLiteral("A")), QStringLiteral("A002"));
    QCOMPARE(SuggestFreeCode(set.db(), QStringLiteral("B")), QStringLiteral("B001"));
}

void TestGoodsSave::classConversion()
{
    FreshAccountSet set;
    AddGoods(set.db(), {QStringLiteral("X"), QStringLiteral("甲")});
    ConvertGoodsClass(set.db(), QStringLiteral("X"), GoodsClass::Product);
    QCOMPARE(cell(set.db(), "SELECT Fcplj FROM TA4").toInt(), 1);
    ConvertGoodsClass(set.db(), QStringLiteral("X"), GoodsClass::Part);
    QCOMPARE(cell(set.db(), "SELECT Fcplj FROM TA4").toInt(), 0);
}


void TestGoodsSave::figureThatIsNoNumberIsRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("opening quantity") << "初始数量" << "abc";
    QTest::newRow("opening amount") << "初始金额" << "12..5";
    QTest::newRow("sale price") << "销售参考价" << "1,000";
    QTest::newRow("minimum stock") << "库存底限" << "1e308";
    QTest::newRow("fee rate") << "费用率" << "5%";
}

// A figure that is no number is refused, naming the field; nothing is stored
// (it never becomes 0).
void TestGoodsSave::figureThatIsNoNumberIsRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    FreshAccountSet set;
    GoodsInput in = input(QStringLiteral("N1"), QStringLiteral("数字"));
    QString* target = field == QStringLiteral("初始数量")     ? &in.openingQty
                      : field == QStringLiteral("初始金额")   ? &in.openingAmount
                      : field == QStringLiteral("销售参考价") ? &in.salePrice
                      : field == QStringLiteral("库存底限")   ? &in.minStock
                                                              : &in.feeRate;
    *target = text;
    GoodsSaveContext ctx;
    const GoodsSaveOutcome out = SaveGoods(set.db(), ctx, in);
    QVERIFY(!out.saved());
    QVERIFY2(out.message.contains(field) && out.message.contains(text), qPrintable(out.message));
    QCOMPARE(cell(set.db(), "SELECT COUNT(*) FROM TA4 WHERE F1 = 'N1'").toInt(), 0);
}

VX_REGISTER_TEST(TestGoodsSave)
#include "tst_goodssave.moc"
