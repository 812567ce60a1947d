#include "core/Permissions.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

void AddOperator(Database& db, const QString& code, const QVariant& word)
{
    db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2, F3, F61, F62, F63, F64, F65, F66, F67, F68) "
                              "VALUES (?, '操作员', '', ?, ?, ?, ?, ?, ?, ?, ?)"),
               {code, word, word, word, word, word, word, word, word});
}

}  // namespace

class TestPermissions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hasRight_data();
    void hasRight();
    void eachGroupReadsItsOwnWord_data();
    void eachGroupReadsItsOwnWord();
    void noRightWithoutOperator_data();
    void noRightWithoutOperator();
    void topAdministratorPassesEveryTest();
    void outOfRangeGroupOrDigit_data();
    void outOfRangeGroupOrDigit();
    void changedWordAppliesAtOnce();
    void permissionWord_data();
    void permissionWord();
};

void TestPermissions::hasRight_data()
{
    // The digits expected to be granted: group on, item 1, item 2, item 3.
    QTest::addColumn<QVariant>("word");
    QTest::addColumn<bool>("groupOn");
    QTest::addColumn<bool>("item1");
    QTest::addColumn<bool>("item2");
    QTest::addColumn<bool>("item3");
    QTest::newRow("0") << QVariant(0) << false << false << false << false;
    QTest::newRow("1") << QVariant(1) << true << false << false << false;
    QTest::newRow("11") << QVariant(11) << true << true << false << false;
    QTest::newRow("101") << QVariant(101) << true << false << true << false;
    QTest::newRow("111") << QVariant(111) << true << true << true << false;
    QTest::newRow("1001") << QVariant(1001) << true << false << false << true;
    QTest::newRow("1011") << QVariant(1011) << true << true << false << true;
    QTest::newRow("1101") << QVariant(1101) << true << false << true << true;
    QTest::newRow("1111") << QVariant(1111) << true << true << true << true;
    QTest::newRow("1001 stored as real") << QVariant(1001.0) << true << false << false << true;
    QTest::newRow("11 stored as text") << QVariant(QStringLiteral("11")) << true << true << false << false;
    QTest::newRow("null") << QVariant() << false << false << false << false;
}

void TestPermissions::hasRight()
{
    QFETCH(QVariant, word);
    QFETCH(bool, groupOn);
    QFETCH(bool, item1);
    QFETCH(bool, item2);
    QFETCH(bool, item3);
    FreshAccountSet set;
    AddOperator(set.db(), QStringLiteral("002"), word);
    set.loginAs(QStringLiteral("002"));
    QCOMPARE(HasRight(set.app(), RightInbound, RightGroupOn), groupOn);
    QCOMPARE(HasRight(set.app(), RightInbound, RightItem1), item1);
    QCOMPARE(HasRight(set.app(), RightInbound, RightItem2), item2);
    QCOMPARE(HasRight(set.app(), RightInbound, RightItem3), item3);
}

void TestPermissions::eachGroupReadsItsOwnWord_data()
{
    QTest::addColumn<int>("group");
    for (int g = RightBasicData; g <= RightReports; ++g)
        QTest::addRow("group %d", g) << g;
}

void TestPermissions::eachGroupReadsItsOwnWord()
{
    QFETCH(int, group);
    FreshAccountSet set;
    AddOperator(set.db(), QStringLiteral("002"), 0);
    set.db().execute(QStringLiteral("UPDATE TE1 SET F6%1 = 1011 WHERE F1='002'").arg(group));
    set.loginAs(QStringLiteral("002"));
    for (int g = RightBasicData; g <= RightReports; ++g) {
        QCOMPARE(HasRight(set.app(), g, RightGroupOn), g == group);
        QCOMPARE(HasRight(set.app(), g, RightItem3), g == group);
        QCOMPARE(HasRight(set.app(), g, RightItem2), false);
    }
}

void TestPermissions::noRightWithoutOperator_data()
{
    QTest::addColumn<QString>("operatorCode");
    QTest::newRow("nobody logged in") << "";
    QTest::newRow("not in TE1") << "999";
    QTest::newRow("quote in the code") << "0'1";
}

void TestPermissions::noRightWithoutOperator()
{
    QFETCH(QString, operatorCode);
    FreshAccountSet set;
    set.app().OperatorCode = operatorCode;
    for (int g = RightBasicData; g <= RightReports; ++g)
        for (int d = RightItem3; d <= RightGroupOn; ++d)
            QVERIFY2(!HasRight(set.app(), g, d), qPrintable(QStringLiteral("group %1 digit %2").arg(g).arg(d)));
}

void TestPermissions::topAdministratorPassesEveryTest()
{
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    for (int g = RightBasicData; g <= RightReports; ++g)
        for (int d = RightItem3; d <= RightGroupOn; ++d)
            QVERIFY2(HasRight(set.app(), g, d), qPrintable(QStringLiteral("group %1 digit %2").arg(g).arg(d)));
}

void TestPermissions::outOfRangeGroupOrDigit_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("digit");
    QTest::newRow("group 0") << 0 << 4;
    QTest::newRow("group 9") << 9 << 4;
    QTest::newRow("digit 0") << 1 << 0;
    QTest::newRow("digit 5") << 1 << 5;
}

void TestPermissions::outOfRangeGroupOrDigit()
{
    QFETCH(int, group);
    QFETCH(int, digit);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    QVERIFY(!HasRight(set.app(), group, digit));
}

void TestPermissions::changedWordAppliesAtOnce()
{
    FreshAccountSet set;
    AddOperator(set.db(), QStringLiteral("002"), 1111);
    set.loginAs(QStringLiteral("002"));
    QVERIFY(HasRight(set.app(), RightReports, RightItem3));
    set.db().execute(QStringLiteral("UPDATE TE1 SET F68 = 111 WHERE F1='002'"));
    QVERIFY(!HasRight(set.app(), RightReports, RightItem3));
}

void TestPermissions::permissionWord_data()
{
    QTest::addColumn<bool>("groupOn");
    QTest::addColumn<bool>("item1");
    QTest::addColumn<bool>("item2");
    QTest::addColumn<bool>("item3");
    QTest::addColumn<int>("word");
    QTest::newRow("group off, items ticked") << false << true << true << true << 0;
    QTest::newRow("group off") << false << false << false << false << 0;
    QTest::newRow("group only") << true << false << false << false << 1;
    QTest::newRow("item 1") << true << true << false << false << 11;
    QTest::newRow("item 2") << true << false << true << false << 101;
    QTest::newRow("item 3") << true << false << false << true << 1001;
    QTest::newRow("items 1 and 3") << true << true << false << true << 1011;
    QTest::newRow("items 2 and 3") << true << false << true << true << 1101;
    QTest::newRow("everything") << true << true << true << true << 1111;
}

void TestPermissions::permissionWord()
{
    QFETCH(bool, groupOn);
    QFETCH(bool, item1);
    QFETCH(bool, item2);
    QFETCH(bool, item3);
    QFETCH(int, word);
    QCOMPARE(PermissionWord(groupOn, item1, item2, item3), word);

    // What the operators window saves reads back the same, and HasRight agrees.
    const PermissionItems items = DecodePermissionWord(word);
    QCOMPARE(items.groupOn, groupOn);
    QCOMPARE(items.item1, groupOn && item1);
    QCOMPARE(items.item2, groupOn && item2);
    QCOMPARE(items.item3, groupOn && item3);

    FreshAccountSet set;
    AddOperator(set.db(), QStringLiteral("002"), word);
    set.loginAs(QStringLiteral("002"));
    QCOMPARE(HasRight(set.app(), RightPrices, RightItem1), items.item1);
    QCOMPARE(HasRight(set.app(), RightPrices, RightItem3), items.item3);
}

VX_REGISTER_TEST(TestPermissions)
#include "tst_permissions.moc"
