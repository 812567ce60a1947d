#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <stdexcept>
#include <thread>
#include <unistd.h>

Q_DECLARE_METATYPE(DbError::Kind)

class TestDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void templateOpensWithItsPassword();
    void openIsRefused_data();
    void openIsRefused();
    void readOnlyFileIsNoAccess();
    void nullReadsAsNull();
    void scalarRowTellsNoRowFromNull();
    void transactionRollsBackOnException();
    void nestedTransactionIsSavepoint();
    void secondConnectionWaitsForTheLock();
    void lockHeldPastTimeoutIsBusy();
    void compactionKeepsRowsAndPassword();
    void compactionRefusesExistingTarget();
    void updatableRowFindsAddsAndUpdates();
    void failuresReachTheUserInChinese();
    void damagedFileIsTold();

private:
    QString path(const QString& name) const { return m_dir->path() + QLatin1Char('/') + name; }
    // A new encrypted file with table t(a, b) holding `rows` rows.
    QString makeFile(const QString& name, int rows = 0);
    static DbError::Kind openKind(const QString& file, const QString& password);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabase::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDatabase::cleanup()
{
    m_dir.reset();
}

QString TestDatabase::makeFile(const QString& name, int rows)
{
    const QString file = path(name);
    Database db;
    db.create(file);
    db.execute(QStringLiteral("CREATE TABLE t (a TEXT, b INTEGER)"));
    Transaction tx(db);
    Statement insert(db, QStringLiteral("INSERT INTO t (a, b) VALUES (?, ?)"));
    for (int i = 0; i < rows; ++i) {
        insert.bindAll({QStringLiteral("行%1").arg(i).repeated(20), i});
        insert.exec();
    }
    tx.commit();
    return file;
}

DbError::Kind TestDatabase::openKind(const QString& file, const QString& password)
{
    Database db;
    try {
        db.open(file, password);
    } catch (const DbError& e) {
        return e.kind();
    }
    return DbError::Kind::Other;
}

void TestDatabase::templateOpensWithItsPassword()
{
    FreshAccountSet set;
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1='000'")).toString(), QStringLiteral("无类别"));
}

void TestDatabase::openIsRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("password");
    QTest::addColumn<DbError::Kind>("kind");
    QTest::newRow("right password") << "encrypted" << Database::DefaultPassword << DbError::Kind::Other;
    QTest::newRow("wrong password") << "encrypted" << "QZK7392" << DbError::Kind::NotADatabase;
    QTest::newRow("no password") << "encrypted" << "" << DbError::Kind::NotADatabase;
    QTest::newRow("plain SQLite file") << "plain" << Database::DefaultPassword << DbError::Kind::NotADatabase;
    QTest::newRow("text file") << "text" << Database::DefaultPassword << DbError::Kind::NotADatabase;
    QTest::newRow("missing file") << "missing" << Database::DefaultPassword << DbError::Kind::NoAccess;
    QTest::newRow("folder") << "folder" << Database::DefaultPassword << DbError::Kind::NoAccess;
}

void TestDatabase::openIsRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, password);
    QFETCH(DbError::Kind, kind);

    QString file = path(QStringLiteral("账套.vxs"));
    if (setup == QLatin1String("encrypted")) {
        makeFile(QStringLiteral("账套.vxs"), 3);
    } else if (setup == QLatin1String("plain")) {
        WritePlainSqliteFile(file);
    } else if (setup == QLatin1String("text")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("这不是账套文件\r\n").repeated(400));
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(file));
    }
    QCOMPARE(openKind(file, password), kind);
}

void TestDatabase::readOnlyFileIsNoAccess()
{
    if (geteuid() == 0)
        QSKIP("root may write any file");
    const QString file = makeFile(QStringLiteral("只读.vxs"), 1);
    QVERIFY(QFile(file).setPermissions(QFileDevice::ReadOwner));
    QCOMPARE(openKind(file, Database::DefaultPassword), DbError::Kind::NoAccess);
}

void TestDatabase::nullReadsAsNull()
{
    Database db;
    db.open(makeFile(QStringLiteral("n.vxs")));
    db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES (?, ?)"), {QVariant(), 0});
    QCOMPARE(db.scalar(QStringLiteral("SELECT typeof(a) FROM t")).toString(), QStringLiteral("null"));

    const RecordSet rs = db.query(QStringLiteral("SELECT a, b FROM t"));
    QCOMPARE(rs.rowCount(), 1);
    QVERIFY(!rs.value(0, QStringLiteral("a")).isValid());
    QVERIFY(rs.value(0, QStringLiteral("B")).isValid());
    QCOMPARE(rs.value(0, QStringLiteral("b")).toInt(), 0);
    QVERIFY(!db.scalar(QStringLiteral("SELECT a FROM t")).isValid());
    QVERIFY_THROWS_EXCEPTION(DbError, rs.value(0, QStringLiteral("c")));
}

void TestDatabase::scalarRowTellsNoRowFromNull()
{
    Database db;
    db.open(makeFile(QStringLiteral("s.vxs")));
    db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES (NULL, 1)"));

    const auto none = db.scalarRow(QStringLiteral("SELECT a FROM t WHERE b = 2"));
    QVERIFY(!none.has_value());
    const auto nullRow = db.scalarRow(QStringLiteral("SELECT a FROM t WHERE b = ?"), {1});
    QVERIFY(nullRow.has_value());
    QVERIFY(!nullRow->isValid());
    QVERIFY(!db.scalar(QStringLiteral("SELECT a FROM t WHERE b = 2")).isValid());
}

void TestDatabase::transactionRollsBackOnException()
{
    Database db;
    db.open(makeFile(QStringLiteral("tx.vxs"), 1));
    try {
        Transaction tx(db);
        db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('x', 2)"));
        db.execute(QStringLiteral("UPDATE t SET a = 'changed'"));
        throw std::runtime_error("the second step failed");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(!db.inTransaction());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM t WHERE a = 'changed'")).toInt(), 0);

    // A failing statement inside the transaction undoes the earlier ones too.
    QVERIFY_THROWS_EXCEPTION(DbError, [&] {
        Transaction tx(db);
        db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('y', 3)"));
        db.execute(QStringLiteral("INSERT INTO no_such_table VALUES (1)"));
        tx.commit();
    }());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
}

void TestDatabase::nestedTransactionIsSavepoint()
{
    Database db;
    db.open(makeFile(QStringLiteral("nested.vxs")));
    {
        Transaction outer(db);
        db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('outer', 1)"));
        try {
            Transaction inner(db);
            db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('inner', 2)"));
            throw std::runtime_error("inner step failed");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(db.inTransaction());
        {
            Transaction inner(db);
            db.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('kept', 3)"));
            inner.commit();
        }
        outer.commit();
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(a, ',') FROM (SELECT a FROM t ORDER BY b)")).toString(),
             QStringLiteral("outer,kept"));

    // A committed inner transaction still goes when the outer one rolls back.
    {
        Transaction outer(db);
        {
            Transaction inner(db);
            db.execute(QStringLiteral("DELETE FROM t"));
            inner.commit();
        }
    }
    QVERIFY(!db.inTransaction());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 2);
}

void TestDatabase::secondConnectionWaitsForTheLock()
{
    const QString file = makeFile(QStringLiteral("wait.vxs"));
    Database first;
    Database second;
    first.open(file);
    second.open(file);

    auto holder = std::make_unique<Transaction>(first);
    first.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('first', 1)"));
    std::thread committer([&] {
        QThread::msleep(300);
        holder->commit();
    });
    QElapsedTimer waited;
    waited.start();
    {
        Transaction tx(second);
        second.execute(QStringLiteral("INSERT INTO t (a, b) VALUES ('second', 2)"));
        tx.commit();
    }
    const qint64 ms = waited.elapsed();
    committer.join();
    holder.reset();
    QVERIFY2(ms >= 250, qPrintable(QString::number(ms)));
    QCOMPARE(first.scalar(QStringLiteral("SELECT group_concat(a, ',') FROM (SELECT a FROM t ORDER BY b)")).toString(),
             QStringLiteral("first,second"));
}

void TestDatabase::lockHeldPastTimeoutIsBusy()
{
    const QString file = makeFile(QStringLiteral("busy.vxs"), 1);
    Database first;
    Database second;
    first.open(file);
    second.open(file);
    second.setBusyTimeout(150);

    Transaction holder(first);
    first.execute(QStringLiteral("UPDATE t SET a = 'first'"));
    QElapsedTimer waited;
    waited.start();
    try {
        Transaction tx(second);
        QFAIL("the second connection got the write lock");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::Busy);
        QCOMPARE(e.description(), QStringLiteral("其它工作站正在使用账套数据，请稍候再试。"));
        QVERIFY(e.technical().contains(QStringLiteral("BEGIN IMMEDIATE")));
    }
    QVERIFY(waited.elapsed() >= 100);
    try {
        second.execute(QStringLiteral("UPDATE t SET a = 'second'"));
        QFAIL("the second connection wrote past the lock");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::Busy);
    }
    holder.commit();
    second.execute(QStringLiteral("UPDATE t SET a = 'second'"));
    QCOMPARE(first.scalar(QStringLiteral("SELECT a FROM t")).toString(), QStringLiteral("second"));
}

void TestDatabase::compactionKeepsRowsAndPassword()
{
    const QString source = makeFile(QStringLiteral("大账套.vxs"), 3000);
    {
        Database db;
        db.open(source);
        db.execute(QStringLiteral("DELETE FROM t WHERE b % 3 <> 0"));
    }
    const QString target = path(QStringLiteral("压缩.vxs"));
    Database::compactFile(source, target);

    QVERIFY(QFileInfo(target).size() < QFileInfo(source).size() / 2);
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.read(16).startsWith("SQLite format 3"));
    f.close();

    Database db;
    db.open(target);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1000);
    QCOMPARE(db.scalar(QStringLiteral("SELECT sum(b) FROM t")).toLongLong(), 3LL * (999LL * 1000 / 2));
    QCOMPARE(db.scalar(QStringLiteral("SELECT a FROM t WHERE b = 2997")).toString(),
             QStringLiteral("行2997").repeated(20));
    db.close();
    QCOMPARE(openKind(target, QStringLiteral("QZK7392")), DbError::Kind::NotADatabase);
}

void TestDatabase::compactionRefusesExistingTarget()
{
    const QString source = makeFile(QStringLiteral("源.vxs"), 10);
    const QString target = makeFile(QStringLiteral("已有.vxs"), 1);
    try {
        Database::compactFile(source, target);
        QFAIL("an existing file was overwritten");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::NoAccess);
    }
    Database db;
    db.open(target);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 1);
}

// The engine's English text goes to the error log; the user reads Chinese.
void TestDatabase::failuresReachTheUserInChinese()
{
    QStringList logged;
    const DbErrorLog previous = SetDbErrorLog([&logged](const QString& t) { logged << t; });
    const QString file = makeFile(QStringLiteral("错.vxs"), 1);
    Database db;
    db.open(file);
    try {
        db.query(QStringLiteral("SELECT nothing FROM nowhere"));
        QFAIL("a bad statement ran");
    } catch (const DbError& e) {
        QVERIFY2(!e.description().contains(QStringLiteral("no such")), qPrintable(e.description()));
        QVERIFY(e.description().contains(QStringLiteral("错误日志")));
        QVERIFY(e.technical().contains(QStringLiteral("no such table")));
    }
    QCOMPARE(logged.size(), 1);
    QVERIFY(logged.first().contains(QStringLiteral("SELECT nothing FROM nowhere")));
    // A failure the caller expects is not logged.
    QVERIFY(!db.tryExecute(QStringLiteral("DROP TABLE nowhere")));
    QCOMPARE(logged.size(), 1);
    SetDbErrorLog(previous);
}

void TestDatabase::damagedFileIsTold()
{
    const QString file = makeFile(QStringLiteral("坏.vxs"), 3000);
    {
        // Scramble pages in the middle of the file: the header still decrypts.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(40000, '\x5a'));
    }
    try {
        Database db;
        db.open(file);
        db.query(QStringLiteral("SELECT count(*), sum(length(a)) FROM t"));
        QFAIL("a damaged file was read");
    } catch (const DbError& e) {
        QVERIFY2(e.kind() == DbError::Kind::Damaged || e.kind() == DbError::Kind::NotADatabase,
                 qPrintable(e.technical()));
        QVERIFY2(e.description().contains(QStringLiteral("损坏")) || e.description().contains(QStringLiteral("不是有效的账套文件")),
                 qPrintable(e.description()));
        QVERIFY2(!e.description().contains(QStringLiteral("malformed")), qPrintable(e.description()));
    }
}

void TestDatabase::updatableRowFindsAddsAndUpdates()
{
    FreshAccountSet set;
    Database& db = set.db();

    UpdatableRow row(db, QStringLiteral("TA3"));
    QVERIFY(!row.find(QStringLiteral("F1 = ?"), {QStringLiteral("999")}));
    QVERIFY(row.isNew());

    QVERIFY(row.find(QStringLiteral("F1 = ?"), {QStringLiteral("000")}));
    QCOMPARE(row.get(QStringLiteral("f2")).toString(), QStringLiteral("无类别"));
    row.set(QStringLiteral("BColor"), 255);
    row.update();
    QCOMPARE(db.scalar(QStringLiteral("SELECT BColor FROM TA3 WHERE F1 = '000'")).toInt(), 255);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = '000'")).toString(), QStringLiteral("无类别"));

    row.addNew();
    QVERIFY(row.isNew());
    row.set(QStringLiteral("F1"), QStringLiteral("0012"));
    row.set(QStringLiteral("F2"), QStringLiteral("五金"));
    row.set(QStringLiteral("F2"), QStringLiteral("五金件"));
    row.update();
    QVERIFY(!row.isNew());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TA3")).toInt(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = '0012'")).toString(), QStringLiteral("五金件"));

    // Stored fields read back, and a second update changes the same row.
    row.set(QStringLiteral("F2"), QStringLiteral("五金配件"));
    row.update();
    QCOMPARE(row.get(QStringLiteral("F1")).toString(), QStringLiteral("0012"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TA3")).toInt(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = '0012'")).toString(), QStringLiteral("五金配件"));
}

VX_REGISTER_TEST(TestDatabase)
#include "tst_database.moc"
