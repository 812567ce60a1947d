#include "basicdata/Pinyin.h"
#include "support/TestRegistry.h"

#include <QTemporaryDir>
#include <QTest>

// The pinyin table the build generates, and its reader.
class TestPinyin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void generatedTableCoversEveryLetterRun();
    void initials_data();
    void initials();
    void firstLevelBounds_data();
    void firstLevelBounds();
    void loadEdgeCases_data();
    void loadEdgeCases();

private:
    PinyinTable table;
};

void TestPinyin::initTestCase()
{
    QVERIFY(table.load(PinyinTable::filePath(QStringLiteral(VX_BIN_DIR "/"))));
}

void TestPinyin::generatedTableCoversEveryLetterRun()
{
    // Pinyin has no syllable beginning with I, U or V.
    QCOMPARE(table.size(), 23);
    QCOMPARE(table.G(PinyinTable::FirstLevelStart), QStringLiteral("A"));
    QCOMPARE(table.G(PinyinTable::FirstLevelEnd), QStringLiteral("Z"));
}

void TestPinyin::initials_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initials");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("letters and digits") << "A1" << "A1";
    QTest::newRow("two words") << "中国" << "ZG";
    QTest::newRow("goods name") << "不锈钢螺丝" << "BXGLS";
    QTest::newRow("mixed") << "M3螺丝10个" << "M3LS10G";
    QTest::newRow("first and last first-level characters") << "啊座" << "AZ";
    QTest::newRow("letter boundaries") << "芭擦搭蛾发噶哈击喀垃妈拿哦啪期然撒塌挖昔压匝" << "BCDEFGHJKLMNOPQRSTWXYZ";
    QTest::newRow("punctuation and lower case kept") << "a-b/c (x)#" << "a-b/c (x)#";
    QTest::newRow("full-width punctuation kept") << "螺丝，（大）" << "LS，（D）";
    QTest::newRow("second-level characters kept") << "亍丌" << "亍丌";
    QTest::newRow("outside the code page kept") << "€😀" << "€😀";
}

void TestPinyin::initials()
{
    QFETCH(QString, name);
    QFETCH(QString, initials);
    QCOMPARE(table.C(name), initials);
}

void TestPinyin::firstLevelBounds_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("initial");
    QTest::newRow("first") << -20319 << true;
    QTest::newRow("last") << -10247 << true;
    QTest::newRow("below") << -20320 << false;
    QTest::newRow("above") << -10246 << false;
}

void TestPinyin::firstLevelBounds()
{
    QFETCH(int, code);
    QFETCH(bool, initial);
    const QString g = table.G(code);
    QCOMPARE(g.size() == 1 && g.at(0).isUpper() && g.at(0).unicode() < 128, initial);
}

void TestPinyin::loadEdgeCases_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("entries");
    // Letter lines are stored 24 below, code lines 12 below their text.
    QTest::newRow("header only") << QByteArray("header\r\n") << true << 0;
    QTest::newRow("empty file") << QByteArray() << true << 0;
    QTest::newRow("one pair") << QByteArray("h\r\n)\r\n!&$'%-\r\n") << true << 1;
    QTest::newRow("odd number of lines") << QByteArray("h\r\n)\r\n!&$'%-\r\n*\r\n") << false << 1;
    QTest::newRow("code no number") << QByteArray("h\r\n)\r\nxyz\r\n") << false << 0;
    QTest::newRow("letter twice") << QByteArray("h\r\n)\r\n!&$'%-\r\n)\r\n!&$'%-\r\n") << false << 1;
}

void TestPinyin::loadEdgeCases()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loads);
    QFETCH(int, entries);
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("t.dll")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    PinyinTable t;
    QCOMPARE(t.load(f.fileName()), loads);
    QCOMPARE(t.size(), entries);
    QVERIFY(!PinyinTable().load(dir.filePath(QStringLiteral("missing.dll"))));
}

VX_REGISTER_TEST(TestPinyin)
#include "tst_pinyin.moc"
