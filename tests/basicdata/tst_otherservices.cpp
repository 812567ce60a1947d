#include "basicdata/Categories.h"
#include "basicdata/Quotations.h"
#include "basicdata/UnitPicker.h"
#include "core/Kinds.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "RecordFixture.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Categories, quotations and the unit picker's list and quick add, without a window.
class TestOtherServices : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void categoryRenameCarriesIntoGoods();
    void categoryRefusalsAndInUse();
    void quotationsStoredUnderTheSavedCode();
    void quotationsLoadInGoodsOrder();
    void pickerLists_data();
    void pickerLists();
    void quickAdd_data();
    void quickAdd();
};

namespace {

void someUnits(Database& db)
{
    AddUnit(db, {QStringLiteral("S1"), QStringLiteral("甲供应"), UnitKind::Supplier});
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("乙客户"), UnitKind::Customer});
    AddUnit(db, {QStringLiteral("C2"), QStringLiteral("丙两用"), UnitKind::Customer});
    AddUnit(db, {QStringLiteral("D1"), QStringLiteral("丁部门"), UnitKind::Department});
    db.execute(QStringLiteral("UPDATE TA1 SET SCSF = 1, F5 = 'fax-ab' WHERE F1 = 'C2'"));
}

}  // namespace

void TestOtherServices::categoryRenameCarriesIntoGoods()
{
    FreshAccountSet set;
    Database& db = set.db();
    CategoryRecord r{QStringLiteral(" a 1"), QStringLiteral("五金's")};
    QCOMPARE(SaveCategory(db, r, true, {}, {}).status, RecordSaveStatus::Saved);
    QCOMPARE(r.code, QStringLiteral("A1"));
    QCOMPARE(r.name, QStringLiteral("五金's"));
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("螺丝"), QStringLiteral("A1")});
    CategoryRecord same{QStringLiteral("A1"), QStringLiteral("五金")};
    QCOMPARE(SaveCategory(db, same, false, QStringLiteral("A1"), QStringLiteral("A1")).status, RecordSaveStatus::Saved);
    CategoryRecord renamed{QStringLiteral("B1"), QStringLiteral("五金")};
    QCOMPARE(SaveCategory(db, renamed, false, QStringLiteral("A1"), QStringLiteral("A1")).status,
             RecordSaveStatus::Saved);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F3 FROM TA4")).toString(), QStringLiteral("B1"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TA3")).toInt(), 2);  // 000 and B1
}

void TestOtherServices::categoryRefusalsAndInUse()
{
    FreshAccountSet set;
    Database& db = set.db();
    CategoryRecord taken{QStringLiteral("000"), QStringLiteral("x")};
    const RecordSaveResult r = SaveCategory(db, taken, true, {}, {});
    QCOMPARE(r.status, RecordSaveStatus::CodeTaken);
    QCOMPARE(r.holderName, QStringLiteral("无类别"));
    CategoryRecord point{QStringLiteral("a.b"), QStringLiteral("x")};
    QCOMPARE(SaveCategory(db, point, true, {}, {}).status, RecordSaveStatus::CodeHasPoint);
    QVERIFY(!OtherCategoryExists(db, QStringLiteral("000")));
    QVERIFY(!CategoryCodeInUse(db, QStringLiteral("000")));
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("螺丝")});
    QVERIFY(CategoryCodeInUse(db, QStringLiteral("000")));
}

void TestOtherServices::quotationsStoredUnderTheSavedCode()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("螺丝"), QStringLiteral("000"), QStringLiteral("个"), 0, 2.5});
    const std::optional<QuoteLine> line = NewQuoteLine(db, QStringLiteral("G1"), QStringLiteral("2024-05-13"));
    QVERIFY(line);
    QCOMPARE(line->price, QStringLiteral("2.5"));
    QVERIFY(!NewQuoteLine(db, QStringLiteral("NONE"), {}));
    UnitRecord r;
    r.code = QStringLiteral(" k 1 ");
    r.name = QStringLiteral("客户");
    UnitSaveRequest q;
    q.kind = code(UnitKind::Customer);
    q.quotes = QVector<QuoteLine>{*line, QuoteLine{}};  // the blank trailing line is not stored
    QCOMPARE(SaveUnit(db, r, q).status, RecordSaveStatus::Saved);
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(F0 || ':' || F1 || ':' || F7) FROM KhPrice")).toString(),
             QStringLiteral("K1:G1:2.5"));
}

void TestOtherServices::quotationsLoadInGoodsOrder()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddGoods(db, {QStringLiteral("G2"), QStringLiteral("垫片")});
    db.execute(QStringLiteral("UPDATE TA4 SET F5 = 'M6'"));
    db.executeScript(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7, F8, FColor) VALUES ('K1', 'G2', 3, 'XABY', 255);"
                                    "INSERT INTO KhPrice (F0, F1, F7) VALUES ('K1', 'G1', 1.5);"
                                    "INSERT INTO KhPrice (F0, F1, F7) VALUES ('K2', 'G1', 9)"));
    const QVector<QuoteLine> lines = LoadQuotes(db, QStringLiteral("K1"), QStringLiteral("#0.00"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].goods, QStringLiteral("G1"));  // goods gone: no name
    QCOMPARE(lines[0].nameSpec, QString());
    QCOMPARE(lines[0].price, QStringLiteral("1.50"));
    QCOMPARE(lines[1].nameSpec, QStringLiteral("垫片M6"));
    QCOMPARE(lines[1].fore, 255);
    QCOMPARE(FindQuoteLine(lines, 4, QStringLiteral("ab"), true), 1);
    QCOMPARE(FindQuoteLine(lines, 4, QStringLiteral("ab"), false), -1);
}

void TestOtherServices::pickerLists_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("dualRoleSetting");
    QTest::addColumn<bool>("noDualRole");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("suppliers") << 0 << false << false << "" << QStringList{"S1"};
    QTest::newRow("suppliers with dual role") << 0 << true << false << "" << QStringList{"C2", "S1"};
    QTest::newRow("caller refuses dual role") << 0 << true << true << "" << QStringList{"S1"};
    QTest::newRow("departments never") << 8 << true << false << "" << QStringList{"D1"};
    QTest::newRow("inbound side") << 80 << false << false << "" << QStringList{"D1", "S1"};
    QTest::newRow("outbound side") << 81 << false << false << "" << QStringList{"C1", "C2", "D1"};
    QTest::newRow("name filter") << 81 << false << false << "客户" << QStringList{"C1"};
    QTest::newRow("percent is literal") << 1 << false << false << "%" << QStringList{};
}

void TestOtherServices::pickerLists()
{
    QFETCH(int, kind);
    QFETCH(bool, dualRoleSetting);
    QFETCH(bool, noDualRole);
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    FreshAccountSet set;
    someUnits(set.db());
    set.db().execute(QStringLiteral("DELETE FROM sysinfo WHERE ID = 1616"));
    set.db().execute(QStringLiteral("INSERT INTO sysinfo (ID, setval) VALUES (1616, ?)"), {dualRoleSetting ? 1 : 0});
    UnitPickerBoxes boxes;
    boxes[1] = name;
    const bool dual = PickerOffersDualRole(set.db(), kind, noDualRole);
    QCOMPARE(ListCodes(ListPickerUnits(set.db(), kind, dual, boxes)), expected);
}

void TestOtherServices::quickAdd_data()
{
    QTest::addColumn<int>("pickKind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("storedKind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("supplier") << 0 << "n 1" << int(RecordSaveStatus::Saved) << 0 << "N1";
    QTest::newRow("inbound side adds a supplier") << 80 << "n2" << int(RecordSaveStatus::Saved) << 0 << "N2";
    QTest::newRow("outbound side adds a customer") << 81 << "n3" << int(RecordSaveStatus::Saved) << 1 << "N3";
    QTest::newRow("department") << 8 << "n4" << int(RecordSaveStatus::Saved) << 8 << "N4";
    QTest::newRow("customer's code") << 0 << "c1" << int(RecordSaveStatus::CodeTaken) << -1 << "C1";
    QTest::newRow("point") << 0 << "a.b" << int(RecordSaveStatus::CodeHasPoint) << -1 << "A.B";
    QTest::newRow("empty") << 0 << " " << int(RecordSaveStatus::EmptyCode) << -1 << "";
}

void TestOtherServices::quickAdd()
{
    QFETCH(int, pickKind);
    QFETCH(QString, code);
    QFETCH(int, status);
    QFETCH(int, storedKind);
    QFETCH(QString, shown);
    FreshAccountSet set;
    someUnits(set.db());
    UnitPickerBoxes boxes{code, QStringLiteral("新单位'"), {}, {}, {}, QStringLiteral("备注")};
    QCOMPARE(int(QuickAddUnit(set.db(), pickKind, boxes).status), status);
    QCOMPARE(boxes[0], shown);
    const std::optional<QVariant> kind =
        set.db().scalarRow(QStringLiteral("SELECT LB FROM TA1 WHERE F1 = ? AND F2 = ?"), {shown, QStringLiteral("新单位'")});
    QCOMPARE(kind ? kind->toInt() : -1, storedKind);
}

VX_REGISTER_TEST(TestOtherServices)
#include "tst_otherservices.moc"
