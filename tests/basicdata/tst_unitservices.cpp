#include "forms/RecordList.h"
#include "forms/QueryConditions.h"
#include "basicdata/UnitPicker.h"
#include "basicdata/Units.h"
#include "core/Kinds.h"
#include "platform/Database.h"
#include "support/Builders.h"
#include "RecordFixture.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

// Listing, saving and deleting business units without a window.
class TestUnitServices : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listStatementKeepsTheKindFilter_data();
    void listStatementKeepsTheKindFilter();
    void orConditionNeverReachesOtherKinds();
    void textsReloadAsSaved_data();
    void textsReloadAsSaved();
    void refusals_data();
    void refusals();
    void editUpdatesInPlaceAndRenamesEverywhere();
    void failedEditChangesNothing();
    void openingBalanceRechainsAuditedRows();
    void dualRoleKeptWhenTheSettingIsOff();
    void deleteRemovesQuotations();
    void inUseAndKeepOne();
    void keywordStatement();
};

namespace {

RecordList unitList(Database& db, const QString& select, UnitKind kind)
{
    return ListRecords(db, UnitListStatement(select, code(kind)), 7, 7);
}

UnitRecord unit(const QString& code, const QString& name)
{
    UnitRecord r;
    r.code = code;
    r.name = name;
    return r;
}

UnitSaveRequest adding(UnitKind kind)
{
    UnitSaveRequest q;
    q.kind = code(kind);
    return q;
}

UnitSaveRequest editing(UnitKind kind, const QString& listed)
{
    UnitSaveRequest q;
    q.kind = code(kind);
    q.adding = false;
    q.listedCode = listed;
    q.codeBeforeEdit = listed;
    return q;
}

void addPostedDocument(Database& db, const QString& number, const QString& unit, const QString& key, double yf,
                       double fk, bool audited = true)
{
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F6, LB, SRT, QC, YF, FK, QM) "
                              "VALUES (?, '2024-01-01', ?, ?, 1, ?, 0, ?, ?, 0)"),
               {number, unit, audited ? QStringLiteral("系统管理员") : QString(), audited ? key : QString(), yf, fk});
}

}  // namespace

void TestUnitServices::listStatementKeepsTheKindFilter_data()
{
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no condition") << "select * from ta1 " << "select * from ta1  Where LB=1 order by F1";
    QTest::newRow("query result")
        << "Select TA1.* from TA1  Where (TA1.F2 = 'A' Or TA1.F2 = 'B')"
        << "Select TA1.* from TA1   Where ((TA1.F2 = 'A' Or TA1.F2 = 'B')) And LB=1 order by F1";
    QTest::newRow("lower-case where") << "select * from TA1 where F1 = 'X' or F1 = 'Y'"
                                      << "select * from TA1  Where (F1 = 'X' or F1 = 'Y') And LB=1 order by F1";
    QTest::newRow("empty condition") << "select * from TA1 Where " << "select * from TA1  Where LB=1 order by F1";
}

void TestUnitServices::listStatementKeepsTheKindFilter()
{
    QFETCH(QString, select);
    QFETCH(QString, expected);
    QCOMPARE(UnitListStatement(select, code(UnitKind::Customer)), expected);
}

void TestUnitServices::orConditionNeverReachesOtherKinds()
{
    FreshAccountSet set;
    AddUnit(set.db(), {QStringLiteral("S1"), QStringLiteral("甲公司"), UnitKind::Supplier});
    AddUnit(set.db(), {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    AddUnit(set.db(), {QStringLiteral("D1"), QStringLiteral("甲部门"), UnitKind::Department});
    const QueryField name{QStringLiteral("名称"), QStringLiteral("TA1.F2"), QueryFieldType::Text};
    const QueryField code1{QStringLiteral("编码"), QStringLiteral("TA1.F1"), QueryFieldType::Text};
    const QString stmt = QueryStatement(
        QStringLiteral("Select TA1.* from TA1 "),
        {MakeQueryCondition(QueryJoin::First, name, QueryOp::Like, QStringLiteral("甲")),
         MakeQueryCondition(QueryJoin::Or, code1, QueryOp::Equal, QStringLiteral("C1"))});
    QCOMPARE(ListCodes(unitList(set.db(), stmt, UnitKind::Supplier)), QStringList{QStringLiteral("S1")});
    QCOMPARE(ListCodes(unitList(set.db(), stmt, UnitKind::Customer)), QStringList{QStringLiteral("C1")});
    QCOMPARE(ListCodes(unitList(set.db(), stmt, UnitKind::Department)), QStringList{QStringLiteral("D1")});
}

void TestUnitServices::textsReloadAsSaved_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("apostrophe") << "O'Brien's" << "O'Brien's";
    QTest::newRow("double quote") << "say \"hi\"" << "say \"hi\"";
    QTest::newRow("percent and underscore") << "100% _x_" << "100% _x_";
    QTest::newRow("leading zeros") << "0012" << "0012";
    QTest::newRow("long") << QString(255, QChar(0x4E2D)) << QString(255, QChar(0x4E2D));
    QTest::newRow("sql comment") << "a'; drop table TA1; --" << "a'; drop table TA1; --";
}

void TestUnitServices::textsReloadAsSaved()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    FreshAccountSet set;
    UnitRecord r = unit(QStringLiteral("0012"), typed);
    r.address = typed;
    r.remark = typed;
    r.mobile = typed;
    r.docDir = QStringLiteral("/srv/客户's \"docs\"");
    QCOMPARE(SaveUnit(set.db(), r, adding(UnitKind::Customer)).status, RecordSaveStatus::Saved);
    QCOMPARE(r.name, stored);  // the box shows what was written
    const RecordList list = unitList(set.db(), QStringLiteral("select * from ta1 "), UnitKind::Customer);
    QCOMPARE(list.rows, 1);
    QCOMPARE(list.text(0, 0), QStringLiteral("0012"));
    QCOMPARE(list.text(0, 1), stored);
    QCOMPARE(list.text(0, 2), stored);
    QCOMPARE(list.text(0, 6), stored);
    const UnitExtras extras = LoadUnitExtras(set.db(), QStringLiteral("0012"));
    QCOMPARE(extras.mobile, stored);
    QCOMPARE(extras.docDir, QStringLiteral("/srv/客户's \"docs\""));
}

void TestUnitServices::refusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("holder");
    QTest::newRow("blank code") << "   " << "x" << int(RecordSaveStatus::EmptyCode) << "";
    QTest::newRow("blank name") << "N1" << " \t" << int(RecordSaveStatus::EmptyName) << "";
    QTest::newRow("point") << "a.b" << "x" << int(RecordSaveStatus::CodeHasPoint) << "";
    QTest::newRow("customer's code") << " c 1" << "x" << int(RecordSaveStatus::CodeTaken) << "甲客户";
    QTest::newRow("department's code") << "d1" << "x" << int(RecordSaveStatus::CodeTaken) << "甲部门";
    QTest::newRow("free, cleaned") << " n e w " << "x" << int(RecordSaveStatus::Saved) << "";
}

void TestUnitServices::refusals()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(QString, holder);
    FreshAccountSet set;
    AddUnit(set.db(), {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    AddUnit(set.db(), {QStringLiteral("D1"), QStringLiteral("甲部门"), UnitKind::Department});
    const int before = set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1")).toInt();
    UnitRecord r = unit(code, name);
    const RecordSaveResult result = SaveUnit(set.db(), r, adding(UnitKind::Supplier));
    QCOMPARE(int(result.status), status);
    QCOMPARE(result.holderName, holder);
    const int after = set.db().scalar(QStringLiteral("SELECT count(*) FROM TA1")).toInt();
    QCOMPARE(after, before + (result.status == RecordSaveStatus::Saved ? 1 : 0));
    if (result.status == RecordSaveStatus::Saved)
        QCOMPARE(r.code, QStringLiteral("NEW"));
}

void TestUnitServices::editUpdatesInPlaceAndRenamesEverywhere()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("S1"), QStringLiteral("甲公司"), UnitKind::Supplier});
    db.execute(QStringLiteral("UPDATE TA1 SET BColor = 255 WHERE F1 = 'S1'"));
    const qint64 rowid = db.scalar(QStringLiteral("SELECT rowid FROM TA1 WHERE F1 = 'S1'")).toLongLong();
    addPostedDocument(db, QStringLiteral("R1"), QStringLiteral("S1"), QStringLiteral("S202401010001"), 10, 0);
    addPostedDocument(db, QStringLiteral("R2"), QStringLiteral("S1"), {}, 10, 0, false);
    AddGoods(db, {QStringLiteral("G1"), QStringLiteral("螺丝")});
    db.execute(QStringLiteral("UPDATE TA4 SET Gys = 'S1'"));
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('S1', 'G1', 3)"));

    UnitRecord r = unit(QStringLiteral("s2"), QStringLiteral("甲公司新"));
    QCOMPARE(SaveUnit(db, r, editing(UnitKind::Supplier, QStringLiteral("S1"))).status, RecordSaveStatus::Saved);

    QCOMPARE(db.scalar(QStringLiteral("SELECT F1 || '/' || F2 || '/' || BColor FROM TA1 WHERE rowid = ?"), {rowid})
                 .toString(),
             QStringLiteral("S2/甲公司新/255"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TB1 WHERE F3 = 'S2'")).toInt(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Gys FROM TA4")).toString(), QStringLiteral("S2"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F0 FROM KhPrice")).toString(), QStringLiteral("S2"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TA1 WHERE F1 = 'S1'")).toInt(), 0);
}

void TestUnitServices::failedEditChangesNothing()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    // An audited row without amounts stops the account chain, and with it the whole save.
    db.execute(QStringLiteral("INSERT INTO TB1 (F1, F2, F3, F6, LB, SRT, YF) "
                              "VALUES ('X1', '2024-01-01', 'C1', '系统管理员', 3, 'S202401010001', NULL)"));
    UnitRecord r = unit(QStringLiteral("C9"), QStringLiteral("改名"));
    r.opening = QStringLiteral("100");
    UnitSaveRequest q = editing(UnitKind::Customer, QStringLiteral("C1"));
    q.rechainBalance = true;
    QVERIFY_THROWS_EXCEPTION(DbError, SaveUnit(db, r, q));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F1 || F2 || NK FROM TA1 WHERE LB = 1")).toString(),
             QStringLiteral("C1甲客户0.0"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F3 FROM TB1")).toString(), QStringLiteral("C1"));
}

void TestUnitServices::openingBalanceRechainsAuditedRows()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    addPostedDocument(db, QStringLiteral("B"), QStringLiteral("C1"), QStringLiteral("S202402010001"), 0, 0);
    addPostedDocument(db, QStringLiteral("A"), QStringLiteral("C1"), QStringLiteral("S202401010001"), 50, 30);
    addPostedDocument(db, QStringLiteral("U"), QStringLiteral("C1"), {}, 7, 0, false);
    UnitRecord r = unit(QStringLiteral("C1"), QStringLiteral("甲客户"));
    r.opening = QStringLiteral("100");
    UnitSaveRequest q = editing(UnitKind::Customer, QStringLiteral("C1"));
    q.rechainBalance = true;
    QCOMPARE(SaveUnit(db, r, q).status, RecordSaveStatus::Saved);
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, QC, QM FROM TB1 ORDER BY F1"));
    QCOMPARE(rs.number(0, QStringLiteral("QC")), 100.0);  // A, first by key
    QCOMPARE(rs.number(0, QStringLiteral("QM")), 120.0);
    QCOMPARE(rs.number(1, QStringLiteral("QC")), 120.0);  // B
    QCOMPARE(rs.number(2, QStringLiteral("QC")), 0.0);    // unaudited U keeps its figures
}

void TestUnitServices::dualRoleKeptWhenTheSettingIsOff()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("S1"), QStringLiteral("甲"), UnitKind::Supplier});
    db.execute(QStringLiteral("UPDATE TA1 SET SCSF = 1, MT = '139' WHERE F1 = 'S1'"));
    UnitRecord r = unit(QStringLiteral("S1"), QStringLiteral("甲乙"));
    QCOMPARE(SaveUnit(db, r, editing(UnitKind::Supplier, QStringLiteral("S1"))).status, RecordSaveStatus::Saved);
    QCOMPARE(db.scalar(QStringLiteral("SELECT SCSF FROM TA1 WHERE F1 = 'S1'")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT MT FROM TA1 WHERE F1 = 'S1'")).toString(), QStringLiteral("139"));
    r.dualRole = false;
    QCOMPARE(SaveUnit(db, r, editing(UnitKind::Supplier, QStringLiteral("S1"))).status, RecordSaveStatus::Saved);
    QCOMPARE(db.scalar(QStringLiteral("SELECT SCSF FROM TA1 WHERE F1 = 'S1'")).toInt(), 0);
}

void TestUnitServices::deleteRemovesQuotations()
{
    FreshAccountSet set;
    Database& db = set.db();
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    db.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('C1', 'G1', 3)"));
    DeleteUnit(db, QStringLiteral("C1"), code(UnitKind::Customer));
    UnitRecord r = unit(QStringLiteral("C1"), QStringLiteral("新客户"));
    QCOMPARE(SaveUnit(db, r, adding(UnitKind::Customer)).status, RecordSaveStatus::Saved);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM KhPrice")).toInt(), 0);
}

void TestUnitServices::inUseAndKeepOne()
{
    FreshAccountSet set;
    Database& db = set.db();
    db.execute(QStringLiteral("DELETE FROM TA1"));
    AddUnit(db, {QStringLiteral("C1"), QStringLiteral("甲客户"), UnitKind::Customer});
    QVERIFY(!OtherUnitExists(db, QStringLiteral("C1")));
    QVERIFY(!UnitCodeInUse(db, QStringLiteral("C1")));
    addPostedDocument(db, QStringLiteral("U"), QStringLiteral("C1"), {}, 7, 0, false);
    QVERIFY(UnitCodeInUse(db, QStringLiteral(" C1 ")));
    AddUnit(db, {QStringLiteral("S1"), QStringLiteral("甲"), UnitKind::Supplier});
    QVERIFY(OtherUnitExists(db, QStringLiteral("C1")));
}

void TestUnitServices::keywordStatement()
{
    const QString s = UnitKeywordStatement(QStringLiteral("Select TA1.* from TA1 "), QStringLiteral(" a'b "));
    QVERIFY(s.startsWith(QStringLiteral("Select TA1.* from TA1  Where (F1 like '%a''b%' ESCAPE '\\' or F2 like")));
    QVERIFY(s.contains(QStringLiteral(" or F7 like '%a''b%' ESCAPE '\\') ")));
    QCOMPARE(s.count(QStringLiteral(" like ")), 7);
    QCOMPARE(UnitKeywordStatement(QStringLiteral("H"), QStringLiteral("  ")), QStringLiteral("H"));
}

VX_REGISTER_TEST(TestUnitServices)
#include "tst_unitservices.moc"
