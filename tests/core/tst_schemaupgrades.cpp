#include "core/SchemaUpgrades.h"
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QMap>
#include <QSet>
#include <QTest>

namespace {

// Columns and tables that later releases added through the upgrades.
const QMap<QString, QStringList>& laterColumns()
{
    static const QMap<QString, QStringList> cols{
        {QStringLiteral("TA4"), {"BColor", "FColor", "Fje", "HW", "Gys", "F701", "Fcplj", "RkF7"}},
        {QStringLiteral("TA1"), {"SCSF", "BColor", "FColor", "MT", "DocDir"}},
        {QStringLiteral("TB1"), {"BColor", "FColor", "SRT", "OD"}},
        {QStringLiteral("TB11"),
         {"BColor", "FColor", "Fa", "YJ", "ZK", "Oid", "SRT", "HPSX", "XS6", "XK6", "Z5"}},
        {QStringLiteral("TA3"), {"BColor", "FColor"}},
        {QStringLiteral("Bom"), {"BColor", "FColor"}},
        {QStringLiteral("DanNo"), {"DTTM"}},
    };
    return cols;
}
const QStringList LaterTables{QStringLiteral("KhPrice"), QStringLiteral("RkPrice"), QStringLiteral("PrintSet")};

QStringList tableNames(const Database& db)
{
    QStringList names;
    const RecordSet rs = db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"));
    for (int r = 0; r < rs.rowCount(); ++r)
        names << rs.text(r, 0);
    return names;
}

QSet<QString> columnNames(const Database& db, const QString& table)
{
    QSet<QString> names;
    const RecordSet rs = db.query(QStringLiteral("PRAGMA table_info([%1])").arg(table));
    for (int r = 0; r < rs.rowCount(); ++r)
        names << rs.text(r, QStringLiteral("name")).toLower();
    return names;
}

// The whole layout as SQL text, to prove that nothing changed.
QString layoutText(const Database& db)
{
    QString text;
    const RecordSet rs = db.query(QStringLiteral("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY name"));
    for (int r = 0; r < rs.rowCount(); ++r)
        text += rs.text(r, 0) + QLatin1Char('\n');
    return text;
}

// "code=class" of every goods, by code; a null class reads "null".
QStringList goodsClasses(const Database& db)
{
    const RecordSet rs = db.query(QStringLiteral("SELECT F1, Fcplj FROM TA4 ORDER BY F1"));
    QStringList classes;
    for (int r = 0; r < rs.rowCount(); ++r) {
        const QVariant v = rs.value(r, 1);
        classes << rs.text(r, 0) + QLatin1Char('=') + (v.isNull() ? QStringLiteral("null") : QString::number(v.toDouble()));
    }
    return classes;
}

// Every upgrade in the order a new set meets them: opening, login, the
// wizard's load and save, and the next opening.
void runAllUpgrades(Database& db)
{
    UpgradeSchemaOnOpen(db);
    UpgradeSchemaOnLogin(db);
    CreatePrintSetTable(db);
    CreateRkPriceTable(db);
    CreateKhPriceTable(db);
    AddUnitDualRoleColumn(db);
    AddUnitDocDirColumn(db);
    UpgradeSchemaOnOpen(db);
}

// "table(columns)" of every index, sorted.
QStringList indexShapes(Database& db)
{
    QStringList shapes;
    const RecordSet ix = db.query(QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' "
                                                 "AND sql IS NOT NULL"));
    for (int r = 0; r < ix.rowCount(); ++r) {
        const RecordSet cols = db.query(QStringLiteral("PRAGMA index_info([%1])").arg(ix.text(r, 0)));
        QStringList names;
        for (int c = 0; c < cols.rowCount(); ++c)
            names << cols.text(c, QStringLiteral("name")).toLower();
        shapes << ix.text(r, 1).toLower() + QLatin1Char('(') + names.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    shapes.sort();
    return shapes;
}

// The query plan's details, one text.
QString plan(Database& db, const QString& sql)
{
    const RecordSet rs = db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, {QStringLiteral("G1"), QString()});
    QStringList details;
    for (int r = 0; r < rs.rowCount(); ++r)
        details << rs.text(r, rs.columnCount() - 1);
    return details.join(QStringLiteral("; "));
}

}  // namespace

class TestSchemaUpgrades : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void currentSetIsLeftAlone();
    void olderSetReachesTheCurrentLayout();
    void addedTextColumnsKeepLeadingZeros();
    void stockAmountIsComputedOnTheOpeningThatAddsIt();
    void failedStockAmountFillLeavesNoEmptyColumn();
    void goodsClassIsSetOnTheLoginThatAddsIt();
    void oldGoodsClassValuesBecomeParts();
    void missingReferencePriceBecomesZero();
    void quotationColoursFollowOnceTheTableExists();
    void printSetTableIsCreatedOnce();
    void closedDatabasePassesSilently();
    void olderSetGetsTheIndexesOnOpening();

private:
    // A file of the layout before the upgrades: the current tables without
    // the later columns and tables.
    QString makeOlderSet(const QString& name, const QStringList& keepLater = {});

    std::unique_ptr<FreshAccountSet> m_set;
    std::unique_ptr<MessageScript> m_msgs;  // any message fails the test
};

void TestSchemaUpgrades::init()
{
    m_set = std::make_unique<FreshAccountSet>();
    m_msgs = std::make_unique<MessageScript>();
}

void TestSchemaUpgrades::cleanup()
{
    m_msgs.reset();
    m_set.reset();
}

QString TestSchemaUpgrades::makeOlderSet(const QString& name, const QStringList& keepLater)
{
    const QString path = m_set->folder() + name;
    Database old;
    old.create(path);
    const RecordSet rs = m_set->db().query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table'"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        const QString table = rs.text(r, 0);
        if (LaterTables.contains(table, Qt::CaseInsensitive))
            continue;
        const QString sql = rs.text(r, 1);
        const int open = sql.indexOf(QLatin1Char('('));
        const QStringList defs = sql.mid(open + 1, sql.lastIndexOf(QLatin1Char(')')) - open - 1).split(QStringLiteral(", "));
        QStringList kept;
        for (const QString& def : defs) {
            QString column = def.trimmed().section(QLatin1Char(' '), 0, 0);
            column.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            const QStringList later = laterColumns().value(table);
            if (later.contains(column, Qt::CaseInsensitive) && !keepLater.contains(column, Qt::CaseInsensitive))
                continue;
            kept << def;
        }
        old.execute(QStringLiteral("CREATE TABLE [%1] (%2)").arg(table, kept.join(QStringLiteral(", "))));
    }
    old.close();
    return path;
}

void TestSchemaUpgrades::currentSetIsLeftAlone()
{
    Database& db = m_set->db();
    // Values the upgrades would overwrite if they ran their fills again.
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F7, F8, Fje, Fcplj, F701) VALUES ('G1', '螺丝', 2, 10, 5, 1, 3)"));
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F7, F8, Fje, Fcplj, F701) VALUES ('G2', '螺母', 1, 1, 1, 0, 0)"));
    const QString before = layoutText(db);

    runAllUpgrades(db);

    QCOMPARE(layoutText(db), before);
    const RecordSet rs = db.query(QStringLiteral("SELECT Fje, Fcplj, F701 FROM TA4 WHERE F1='G1'"));
    QCOMPARE(rs.number(0, QStringLiteral("Fje")), 5.0);
    QCOMPARE(rs.number(0, QStringLiteral("Fcplj")), 1.0);  // no Bom row, yet not reset
    QCOMPARE(rs.number(0, QStringLiteral("F701")), 3.0);
    QCOMPARE(m_msgs->count(), 0);
}

void TestSchemaUpgrades::olderSetReachesTheCurrentLayout()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    QVERIFY(!old.columnExists(QStringLiteral("TB11"), QStringLiteral("SRT")));

    runAllUpgrades(old);

    // Every table and column of a new set is there, including the statements
    // after the one about the document lines' primary key.
    const Database& current = m_set->db();
    QCOMPARE(tableNames(old), tableNames(current));
    for (const QString& table : tableNames(current))
        QCOMPARE(columnNames(old, table), columnNames(current, table));
}

void TestSchemaUpgrades::addedTextColumnsKeepLeadingZeros()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    runAllUpgrades(old);
    old.execute(QStringLiteral("INSERT INTO TB11 (F0, F1, HPSX, SRT) VALUES ('RK1', 'G1', '0012', '')"));
    QCOMPARE(old.scalar(QStringLiteral("SELECT HPSX FROM TB11")).toString(), QStringLiteral("0012"));
    // Codes and keys compare without regard to case, as everywhere else.
    old.execute(QStringLiteral("INSERT INTO KhPrice (F0, F1, F7) VALUES ('c01', 'g1', 3)"));
    QCOMPARE(old.scalar(QStringLiteral("SELECT F7 FROM KhPrice WHERE F0='C01' AND F1='G1'")).toDouble(), 3.0);
}

void TestSchemaUpgrades::stockAmountIsComputedOnTheOpeningThatAddsIt()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    old.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F7, F8) VALUES ('G1', '螺丝', 2.5, 4)"));
    old.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F7, F8) VALUES ('G2', '螺母', 3, 0)"));

    UpgradeSchemaOnOpen(old);
    QCOMPARE(old.scalar(QStringLiteral("SELECT Fje FROM TA4 WHERE F1='G1'")).toDouble(), 10.0);
    QCOMPARE(old.scalar(QStringLiteral("SELECT Fje FROM TA4 WHERE F1='G2'")).toDouble(), 0.0);

    // From then on the posting keeps the amount: a later opening leaves it.
    old.execute(QStringLiteral("UPDATE TA4 SET F8=100 WHERE F1='G1'"));
    UpgradeSchemaOnOpen(old);
    QCOMPARE(old.scalar(QStringLiteral("SELECT Fje FROM TA4 WHERE F1='G1'")).toDouble(), 10.0);
}

void TestSchemaUpgrades::failedStockAmountFillLeavesNoEmptyColumn()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    old.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F7, F8) VALUES ('G1', '螺丝', 2, 4)"));
    // Another workstation writes: the fill cannot run now.
    Database other;
    other.open(old.path());
    other.executeScript(QStringLiteral("PRAGMA busy_timeout = 0"));
    old.executeScript(QStringLiteral("PRAGMA busy_timeout = 0"));
    other.executeScript(QStringLiteral("BEGIN IMMEDIATE"));
    UpgradeSchemaOnOpen(old);
    other.executeScript(QStringLiteral("ROLLBACK"));
    QVERIFY(!old.columnExists(QStringLiteral("TA4"), QStringLiteral("Fje")));

    // The next opening adds the column with its amounts.
    UpgradeSchemaOnOpen(old);
    QCOMPARE(old.scalar(QStringLiteral("SELECT Fje FROM TA4 WHERE F1='G1'")).toDouble(), 8.0);
}

void TestSchemaUpgrades::goodsClassIsSetOnTheLoginThatAddsIt()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    for (const char* code : {"P1", "P2", "M1", "M2"})
        old.execute(QStringLiteral("INSERT INTO TA4 (F1, F2) VALUES (?, ?)"), {QLatin1String(code), QLatin1String(code)});
    old.execute(QStringLiteral("INSERT INTO Bom (F0, F1, F6) VALUES ('P1', 'M1', 2)"));
    old.execute(QStringLiteral("INSERT INTO Bom (F0, F1, F6) VALUES ('P1', 'M2', 1)"));
    old.execute(QStringLiteral("INSERT INTO Bom (F0, F1, F6) VALUES ('p2', 'M1', 1)"));

    UpgradeSchemaOnLogin(old);

    QCOMPARE(goodsClasses(old), QStringList({"M1=0", "M2=0", "P1=1", "P2=1"}));
}

void TestSchemaUpgrades::oldGoodsClassValuesBecomeParts()
{
    Database& db = m_set->db();
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, Fcplj) VALUES ('A', 'a', 2)"));
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, Fcplj) VALUES ('B', 'b', NULL)"));
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, Fcplj) VALUES ('C', 'c', 1)"));

    UpgradeSchemaOnLogin(db);

    QCOMPARE(goodsClasses(db), QStringList({"A=0", "B=0", "C=1"}));
}

void TestSchemaUpgrades::missingReferencePriceBecomesZero()
{
    Database& db = m_set->db();
    db.execute(QStringLiteral("INSERT INTO TA4 (F1, F2, F701) VALUES ('A', 'a', NULL)"));
    UpgradeSchemaOnLogin(db);
    const QVariant v = db.scalar(QStringLiteral("SELECT F701 FROM TA4 WHERE F1='A'"));
    QVERIFY(!v.isNull());
    QCOMPARE(v.toDouble(), 0.0);
}

void TestSchemaUpgrades::quotationColoursFollowOnceTheTableExists()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    UpgradeSchemaOnOpen(old);
    QVERIFY(!old.tableExists(QStringLiteral("KhPrice")));
    QVERIFY(old.columnExists(QStringLiteral("Bom"), QStringLiteral("FColor")));  // the statements after it ran

    CreateKhPriceTable(old);
    QVERIFY(old.tableExists(QStringLiteral("KhPrice")));
    QVERIFY(!old.columnExists(QStringLiteral("KhPrice"), QStringLiteral("BColor")));

    UpgradeSchemaOnOpen(old);
    QVERIFY(old.columnExists(QStringLiteral("KhPrice"), QStringLiteral("BColor")));
    QVERIFY(old.columnExists(QStringLiteral("KhPrice"), QStringLiteral("FColor")));
}

void TestSchemaUpgrades::printSetTableIsCreatedOnce()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs")));
    QVERIFY(CreatePrintSetTable(old));
    QVERIFY(!CreatePrintSetTable(old));
    QVERIFY(!CreatePrintSetTable(m_set->db()));
}

void TestSchemaUpgrades::closedDatabasePassesSilently()
{
    Database closed;
    runAllUpgrades(closed);
    QVERIFY(!CreatePrintSetTable(closed));
}

void TestSchemaUpgrades::olderSetGetsTheIndexesOnOpening()
{
    Database old;
    old.open(makeOlderSet(QStringLiteral("old.vxs"), {QStringLiteral("SRT"), QStringLiteral("HPSX")}));
    CreateKhPriceTable(old);
    // The older set has one index of its own on the goods' codes and keys.
    old.execute(QStringLiteral("CREATE INDEX TB11_goods_key ON TB11(F1, SRT)"));
    const QString chain = QStringLiteral("SELECT QC FROM TB1 WHERE F3 = ? AND SRT >= ? ORDER BY SRT");
    const QString walk = QStringLiteral("SELECT F6 FROM TB11 WHERE F1 = ? AND HPSX = ? AND SRT <> '' ORDER BY SRT");
    QVERIFY(plan(old, chain).contains(QStringLiteral("TEMP B-TREE")));

    UpgradeSchemaOnOpen(old);

    // Every index of a new set is there, the one of its own counting for ix_tb11_f1_srt.
    QCOMPARE(indexShapes(old), indexShapes(m_set->db()));
    QVERIFY(old.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'ix_tb11_f1_srt'")).toInt() == 0);
    QVERIFY(!plan(old, chain).contains(QStringLiteral("TEMP B-TREE")));
    QVERIFY(plan(old, chain).contains(QStringLiteral("ix_tb1_f3_srt")));
    QVERIFY(plan(old, walk).contains(QStringLiteral("ix_tb11_f1_hpsx_srt")));

    // A later opening adds nothing more.
    const QString layout = layoutText(old);
    UpgradeSchemaOnOpen(old);
    QCOMPARE(layoutText(old), layout);
}

VX_REGISTER_TEST(TestSchemaUpgrades)
#include "tst_schemaupgrades.moc"
