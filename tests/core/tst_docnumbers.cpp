#include "core/DocNumbers.h"
#include "platform/sqlcipher.h"
#include "support/Builders.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QDateTime>
#include <QTest>

namespace {

// A reservation row as another workstation or an earlier day left it.
void AddReservation(Database& db, const QString& number, const QString& who, int daysAgo = 0)
{
    const QDateTime when = QDateTime::currentDateTime().addDays(-daysAgo);
    db.execute(QStringLiteral("INSERT INTO DanNo (DanF1, Flg, Other, DTTM) VALUES (?, 1, ?, ?)"),
               {number, who, when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
}

int ReservationCount(const Database& db, const QString& number)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM DanNo WHERE DanF1=?"), {number}).toInt();
}

QString ReservedBy(const Database& db, const QString& number)
{
    return db.scalar(QStringLiteral("SELECT Other FROM DanNo WHERE DanF1=?"), {number}).toString();
}

// Collects the statements a connection runs (sqlite3_trace_v2 callback).
int RecordStatement(unsigned, void* context, void* statement, void*)
{
    auto* statements = static_cast<QStringList*>(context);
    char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(statement));
    *statements << QString::fromUtf8(sql ? sql : sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    sqlite3_free(sql);
    return 0;
}

// A second workstation on the same account-set file.
struct Workstation {
    App app;
    explicit Workstation(const QString& path, const QString& operatorName)
    {
        app.CurrentDatabase.open(path);
        app.OperatorName = operatorName;
    }
};

}  // namespace

class TestDocNumbers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextDocNumber_data();
    void nextDocNumber();
    void reserveNextDocNumberReservesTheProposal();
    void secondWorkstationGetsAnotherNumber();
    void proposalWaitsForAnotherWorkstationsWrite();
    void searchAndReservationShareOneWriteLock();
    void isDocNumberFree_data();
    void isDocNumberFree();
    void isDocNumberFreeTrimsCallersText();
    void reserveNumberSkipsEmptyNumbers_data();
    void reserveNumberSkipsEmptyNumbers();
    void reserveNumberKeepsOneRowPerNumber();
    void reserveNumberLeavesAnotherOperatorsReservation();
    void reserveNumberReplacesStaleReservation();
    void releaseNumberRemovesOnlyOwnReservation();
};

void TestDocNumbers::nextDocNumber_data()
{
    // Reservations are "number|operator name|days ago".
    QTest::addColumn<QStringList>("documents");
    QTest::addColumn<QStringList>("reservations");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");

    const QDate may12(2024, 5, 12);
    QTest::newRow("first of the month") << QStringList() << QStringList() << "RK" << may12 << "RK2405120001";
    QTest::newRow("after the latest day's highest serial")
        << QStringList{"RK2405030007", "RK2405100003"} << QStringList() << "RK" << may12 << "RK2405120004";
    QTest::newRow("serial used on another day is skipped")
        << QStringList{"RK2405030007", "RK2405100003", "RK2405010004"} << QStringList() << "RK" << may12
        << "RK2405120005";
    QTest::newRow("other months, prefixes and lengths do not count")
        << QStringList{"RK2404300050", "CK2405100009", "RK24051000001", "RK240510003"} << QStringList() << "RK"
        << may12 << "RK2405120001";
    QTest::newRow("lower-case number counts")
        << QStringList{"rk2405100003"} << QStringList() << "RK" << may12 << "RK2405120004";
    QTest::newRow("reserved today by another operator")
        << QStringList() << QStringList{"RK2405120001|张三|0"} << "RK" << may12 << "RK2405120002";
    QTest::newRow("reserved today by the same operator")
        << QStringList() << QStringList{"RK2405120001|系统管理员|0"} << "RK" << may12 << "RK2405120002";
    QTest::newRow("yesterday's reservation does not block")
        << QStringList() << QStringList{"RK2405120001|张三|1"} << "RK" << may12 << "RK2405120001";
    QTest::newRow("latest serial 9999") << QStringList{"RK2405109999"} << QStringList() << "RK" << may12
                                        << "请录入单据号";
    QTest::newRow("every serial above used or reserved")
        << QStringList{"RK2405109997"} << QStringList{"RK2405129998|张三|0", "RK2405129999|李四|0"} << "RK"
        << may12 << "请录入单据号";
    QTest::newRow("last four not digits") << QStringList{"RK240510ABCD"} << QStringList() << "RK" << may12
                                          << "RK2405120001";
    QTest::newRow("month and day padded") << QStringList() << QStringList() << "PD" << QDate(2024, 1, 5)
                                          << "PD2401050001";
    QTest::newRow("September stem") << QStringList{"RK2409300012", "RK2410010001"} << QStringList() << "RK"
                                    << QDate(2024, 9, 30) << "RK2409300013";
}

void TestDocNumbers::nextDocNumber()
{
    QFETCH(QStringList, documents);
    QFETCH(QStringList, reservations);
    QFETCH(QString, prefix);
    QFETCH(QDate, date);
    QFETCH(QString, expected);

    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    for (const QString& number : documents) {
        DocSpec doc;
        doc.number = number;
        AddDocument(set.db(), doc);
    }
    for (const QString& r : reservations) {
        const QStringList parts = r.split(QLatin1Char('|'));
        AddReservation(set.db(), parts[0], parts[1], parts[2].toInt());
    }
    QCOMPARE(NextDocNumber(set.db(), prefix, QStringLiteral("TB1"), date), expected);
}

void TestDocNumbers::reserveNextDocNumberReservesTheProposal()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    const QDate date(2024, 5, 12);

    QCOMPARE(ReserveNextDocNumber(set.app(), QStringLiteral("RK"), QStringLiteral("TB1"), date, 1),
             QStringLiteral("RK2405120001"));
    const RecordSet row = set.db().query(QStringLiteral("SELECT Flg, Other, DTTM FROM DanNo WHERE DanF1=?"),
                                         {QStringLiteral("RK2405120001")});
    QCOMPARE(row.rowCount(), 1);
    QCOMPARE(row.value(0, 0).toInt(), 1);
    QCOMPARE(row.text(0, 1), QStringLiteral("系统管理员"));
    QVERIFY(row.text(0, 2).startsWith(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));

    // The same operator's second window gets the next number.
    QCOMPARE(ReserveNextDocNumber(set.app(), QStringLiteral("RK"), QStringLiteral("TB1"), date, 1),
             QStringLiteral("RK2405120002"));
}

void TestDocNumbers::secondWorkstationGetsAnotherNumber()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    Workstation other(set.setPath(), QStringLiteral("张三"));
    const QDate date(2024, 5, 12);

    const QString first = ReserveNextDocNumber(set.app(), QStringLiteral("RK"), QStringLiteral("TB1"), date, 1);
    const QString second = ReserveNextDocNumber(other.app, QStringLiteral("RK"), QStringLiteral("TB1"), date, 1);
    QCOMPARE(first, QStringLiteral("RK2405120001"));
    QCOMPARE(second, QStringLiteral("RK2405120002"));
    QCOMPARE(ReservedBy(set.db(), second), QStringLiteral("张三"));
}

void TestDocNumbers::proposalWaitsForAnotherWorkstationsWrite()
{
    // While one workstation writes, another may still read: a search done
    // outside the write lock would propose a number the writer is taking.
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    Workstation other(set.setPath(), QStringLiteral("张三"));
    sqlite3_busy_timeout(other.app.CurrentDatabase.handle(), 50);
    const QDate date(2024, 5, 12);

    Transaction writing(set.db());
    AddReservation(set.db(), QStringLiteral("RK2405120001"), QStringLiteral("系统管理员"));
    try {
        ReserveNextDocNumber(other.app, QStringLiteral("RK"), QStringLiteral("TB1"), date, 1);
        QFAIL("the proposal did not wait for the other workstation's write");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::Busy);
    }
    writing.commit();

    QCOMPARE(ReserveNextDocNumber(other.app, QStringLiteral("RK"), QStringLiteral("TB1"), date, 1),
             QStringLiteral("RK2405120002"));
}

void TestDocNumbers::searchAndReservationShareOneWriteLock()
{
    // Another workstation must not slip its reservation in between the search
    // and the reservation: both run after the write lock is taken.
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    QStringList statements;
    sqlite3_trace_v2(set.db().handle(), SQLITE_TRACE_STMT, RecordStatement, &statements);
    ReserveNextDocNumber(set.app(), QStringLiteral("RK"), QStringLiteral("TB1"), QDate(2024, 5, 12), 1);
    sqlite3_trace_v2(set.db().handle(), 0, nullptr, nullptr);

    auto indexOf = [&](const QString& start) {
        for (int i = 0; i < statements.size(); ++i)
            if (statements[i].trimmed().startsWith(start, Qt::CaseInsensitive))
                return i;
        return -1;
    };
    const int begin = indexOf(QStringLiteral("BEGIN IMMEDIATE"));
    const int search = indexOf(QStringLiteral("select F1 from TB1"));
    const int insert = indexOf(QStringLiteral("insert into DanNo"));
    const int commit = indexOf(QStringLiteral("COMMIT"));
    QVERIFY2(begin >= 0 && search > begin && insert > search && commit > insert,
             qPrintable(statements.join(QLatin1Char('\n'))));
}

void TestDocNumbers::isDocNumberFree_data()
{
    QTest::addColumn<QString>("reservedBy");  // "" = no reservation
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("free");
    QTest::newRow("not reserved") << "" << 0 << "RK2405120001" << true;
    QTest::newRow("reserved today by another operator") << "张三" << 0 << "RK2405120001" << false;
    QTest::newRow("reserved today by the same operator") << "系统管理员" << 0 << "RK2405120001" << false;
    QTest::newRow("reserved yesterday") << "张三" << 1 << "RK2405120001" << true;
    QTest::newRow("other case") << "张三" << 0 << "rk2405120001" << false;
    QTest::newRow("quote in the number") << "" << 0 << "RK'01" << true;
}

void TestDocNumbers::isDocNumberFree()
{
    QFETCH(QString, reservedBy);
    QFETCH(int, daysAgo);
    QFETCH(QString, number);
    QFETCH(bool, free);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    if (!reservedBy.isEmpty())
        AddReservation(set.db(), QStringLiteral("RK2405120001"), reservedBy, daysAgo);
    QCOMPARE(IsDocNumberFree(set.db(), number), free);
}

void TestDocNumbers::isDocNumberFreeTrimsCallersText()
{
    FreshAccountSet set;
    AddReservation(set.db(), QStringLiteral("RK2405120001"), QStringLiteral("张三"));
    QString number = QStringLiteral("  RK2405120001 ");
    QVERIFY(!IsDocNumberFree(set.db(), number));
    QCOMPARE(number, QStringLiteral("RK2405120001"));
}

void TestDocNumbers::reserveNumberSkipsEmptyNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "    ";
}

void TestDocNumbers::reserveNumberSkipsEmptyNumbers()
{
    QFETCH(QString, number);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    QVERIFY(!ReserveNumber(set.app(), number, 1));
    QCOMPARE(number, QString());
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM DanNo")).toInt(), 0);
}

void TestDocNumbers::reserveNumberKeepsOneRowPerNumber()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    QString number = QStringLiteral(" RK2405120007 ");
    QVERIFY(ReserveNumber(set.app(), number, 1));
    QCOMPARE(number, QStringLiteral("RK2405120007"));
    QVERIFY(ReserveNumber(set.app(), number, 2));
    QCOMPARE(ReservationCount(set.db(), number), 1);
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT Flg FROM DanNo WHERE DanF1=?"), {number}).toInt(), 2);
}

void TestDocNumbers::reserveNumberLeavesAnotherOperatorsReservation()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    AddReservation(set.db(), QStringLiteral("RK2405120007"), QStringLiteral("张三"));
    QVERIFY(!ReserveNumber(set.app(), QStringLiteral("RK2405120007"), 1));
    QCOMPARE(ReservationCount(set.db(), QStringLiteral("RK2405120007")), 1);
    QCOMPARE(ReservedBy(set.db(), QStringLiteral("RK2405120007")), QStringLiteral("张三"));
}

void TestDocNumbers::reserveNumberReplacesStaleReservation()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    AddReservation(set.db(), QStringLiteral("RK2405120007"), QStringLiteral("张三"), 1);
    QVERIFY(ReserveNumber(set.app(), QStringLiteral("RK2405120007"), 1));
    QCOMPARE(ReservationCount(set.db(), QStringLiteral("RK2405120007")), 1);
    QCOMPARE(ReservedBy(set.db(), QStringLiteral("RK2405120007")), QStringLiteral("系统管理员"));
}

void TestDocNumbers::releaseNumberRemovesOnlyOwnReservation()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    AddReservation(set.db(), QStringLiteral("RK2405120001"), QStringLiteral("张三"));
    QVERIFY(ReserveNumber(set.app(), QStringLiteral("RK2405120002"), 1));

    ReleaseNumber(set.app(), QStringLiteral("RK2405120001"));
    ReleaseNumber(set.app(), QStringLiteral(" RK2405120002 "));

    QCOMPARE(ReservedBy(set.db(), QStringLiteral("RK2405120001")), QStringLiteral("张三"));
    QCOMPARE(ReservationCount(set.db(), QStringLiteral("RK2405120002")), 0);
}

VX_REGISTER_TEST(TestDocNumbers)
#include "tst_docnumbers.moc"
