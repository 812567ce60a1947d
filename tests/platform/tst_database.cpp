#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QTest>

class TestDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void templateOpensWithItsPassword();
};

void TestDatabase::templateOpensWithItsPassword()
{
    FreshAccountSet set;
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1='000'")).toString(), QStringLiteral("无类别"));
}

VX_REGISTER_TEST(TestDatabase)
#include "tst_database.moc"
