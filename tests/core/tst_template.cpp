#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTemporaryDir>
#include <QTest>

// The account-set template as the build writes it: every new account set is a
// copy of this file.
class TestTemplate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void holdsTheFixedRows();
    void isEncrypted();
    void isRefusedWithoutItsPassword_data();
    void isRefusedWithoutItsPassword();
    void textColumnsKeepLeadingZeros();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_copy;
};

void TestTemplate::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_copy = m_dir->path() + QStringLiteral("/nousit.dat");
    QVERIFY(QFile::copy(FreshAccountSet::templatePath(), m_copy));
    QVERIFY(QFile(m_copy).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

void TestTemplate::cleanup()
{
    m_dir.reset();
}

void TestTemplate::holdsTheFixedRows()
{
    Database db;
    db.open(m_copy, QStringLiteral("QZK7391"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1 = '000'")).toString(), QStringLiteral("无类别"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT LB FROM TA1 WHERE F1 = '0000'")).toInt(), 7);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM TE1 WHERE F1 = '001'")).toInt(), 1);
    for (int id : {0, 1, 2, 100, 1000})
        QVERIFY2(db.scalarRow(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = ?"), {id}).has_value(),
                 qPrintable(QStringLiteral("settings row %1").arg(id)));
    QCOMPARE(db.scalar(QStringLiteral("SELECT setval FROM sysinfo WHERE ID = 1000")).toInt(), 1);
    // No documents, goods or lines: a new account set starts empty.
    for (const char* table : {"TA4", "TB1", "TB11", "Bom", "DanNo"})
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table)).toInt(), 0);
}

void TestTemplate::isEncrypted()
{
    QFile f(m_copy);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    QVERIFY(!content.startsWith("SQLite format 3"));
    QVERIFY(!content.contains("CREATE TABLE"));
    QVERIFY(!content.contains(QStringLiteral("无类别").toUtf8()));
}

void TestTemplate::isRefusedWithoutItsPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("another password") << "qzk7391";
    QTest::newRow("as a plain file") << "";
}

void TestTemplate::isRefusedWithoutItsPassword()
{
    QFETCH(QString, password);
    Database db;
    try {
        db.open(m_copy, password);
        QFAIL("the template opened without its password");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::NotADatabase);
    }
    QVERIFY(!db.isOpen());
}

void TestTemplate::textColumnsKeepLeadingZeros()
{
    Database db;
    db.open(m_copy);
    const RecordSet tables =
        db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    QVERIFY(tables.rowCount() > 10);
    int textColumns = 0;
    Transaction tx(db);  // never committed: the copy stays as built
    for (int t = 0; t < tables.rowCount(); ++t) {
        const QString table = tables.text(t, 0);
        const RecordSet cols = db.query(QStringLiteral("PRAGMA table_info([%1])").arg(table));
        for (int c = 0; c < cols.rowCount(); ++c) {
            const QString column = cols.text(c, QStringLiteral("name"));
            const QString type = cols.text(c, QStringLiteral("type")).toUpper();
            const QString where = table + QLatin1Char('.') + column + QLatin1Char(' ') + type;
            QVERIFY2(type.startsWith(QLatin1String("TEXT")) || type == QLatin1String("INTEGER") ||
                         type == QLatin1String("REAL"),
                     qPrintable(where));
            if (!type.startsWith(QLatin1String("TEXT")))
                continue;
            ++textColumns;
            db.execute(QStringLiteral("INSERT INTO [%1] ([%2]) VALUES (?)").arg(table, column), {QStringLiteral("0012")});
            const RecordSet back = db.query(
                QStringLiteral("SELECT typeof([%2]), [%2] FROM [%1] WHERE rowid = ?").arg(table, column),
                {db.lastInsertRowId()});
            QCOMPARE(back.text(0, 0), QStringLiteral("text"));
            QCOMPARE(back.text(0, 1), QStringLiteral("0012"));
        }
    }
    QVERIFY(textColumns > 50);
}

VX_REGISTER_TEST(TestTemplate)
#include "tst_template.moc"
