#include "core/Files.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

}  // namespace

class TestFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void fileExists_data();
    void fileExists();
    void folderUsable_data();
    void folderUsable();
    void showInExplorerStartsNothingForMissingOrHiddenFile_data();
    void showInExplorerStartsNothingForMissingOrHiddenFile();
    void writeErrorLogAppendsRecords();
    void writeErrorLogFailsQuietly();
    void computerNameIsKnown();
    void shiftTextUp_data();
    void shiftTextUp();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString at(const QString& name) const { return dir->path() + QLatin1Char('/') + name; }
};

void TestFiles::init()
{
    // A folder holding a file, a hidden file, a subfolder and an empty folder.
    dir = std::make_unique<QTemporaryDir>();
    Touch(at(QStringLiteral("a.txt")));
    Touch(at(QStringLiteral(".hidden")));
    QDir(dir->path()).mkpath(QStringLiteral("sub"));
    QDir(dir->path()).mkpath(QStringLiteral("empty"));
}

void TestFiles::fileExists_data()
{
    QTest::addColumn<QString>("name");  // relative to the test folder; "" = empty path
    QTest::addColumn<QString>("expected");
    QTest::newRow("file") << "a.txt" << "a.txt";
    QTest::newRow("hidden file") << ".hidden" << ".hidden";
    QTest::newRow("folder") << "sub" << "";
    QTest::newRow("missing") << "b.txt" << "";
    QTest::newRow("wildcard star") << "*.txt" << "a.txt";
    QTest::newRow("wildcard question mark") << "?.txt" << "a.txt";
    QTest::newRow("wildcard without match") << "*.doc" << "";
    QTest::newRow("missing folder") << "nope/a.txt" << "";
    QTest::newRow("empty path") << "" << "";
}

void TestFiles::fileExists()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(FileExists(name.isEmpty() ? QString() : at(name)), expected);
}

void TestFiles::folderUsable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("empty folder with slash") << "empty/" << true;
    QTest::newRow("empty folder") << "empty" << true;
    QTest::newRow("folder with entries") << "" << true;
    QTest::newRow("missing folder") << "nope/" << false;
    QTest::newRow("a file") << "a.txt" << false;
}

void TestFiles::folderUsable()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(!FolderUsable(at(name)).isEmpty(), usable);
}

void TestFiles::showInExplorerStartsNothingForMissingOrHiddenFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "b.txt";
    QTest::newRow("hidden") << ".hidden";
    QTest::newRow("folder") << "sub";
}

void TestFiles::showInExplorerStartsNothingForMissingOrHiddenFile()
{
    QFETCH(QString, name);
    QVERIFY(!ShowInExplorer(at(name)));
    QVERIFY(!ShowInExplorer(QString()));
}

void TestFiles::writeErrorLogAppendsRecords()
{
    FreshAccountSet set;
    MessageScript msgs;
    msgs.expect(QStringLiteral("系统运行出错")).expect(QStringLiteral("系统运行出错"));

    QVERIFY(WriteErrorLog(set.app(), QStringLiteral("ToExcel"), 123, QStringLiteral("磁盘已满\r\n第二行")));
    QVERIFY(WriteErrorLog(set.app(), QStringLiteral("ToExcel"), -5, QStringLiteral("错误")));

    QCOMPARE(msgs.count(), 2);
    QCOMPARE(msgs.last().text,
             QStringLiteral("系统运行出错，错误信息已经写入错误日志，请把错误日志文件发送给软件开发商！谢谢！"));
    QCOMPARE(msgs.last().buttons(), MB::OKOnly);
    QCOMPARE(msgs.last().icon(), 0);
    QCOMPARE(msgs.last().title, set.app().AppTitle);

    QFile log(set.programFolder() + QStringLiteral("错误日志.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray bytes = log.readAll();
    QStringDecoder gb18030("GB18030");
    const QString text = gb18030(bytes);
    QVERIFY(!gb18030.hasError());
    const QByteArray encoded = QStringEncoder("GB18030")(QStringLiteral("磁盘已满"));
    QVERIFY(bytes.contains(encoded));

    const QStringList lines = text.split(QStringLiteral("\r\n"));
    const QString separator = QLatin1Char(' ') + QString(53, QLatin1Char('='));
    // Two records of five lines, the first error text holding a line break of its own.
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines[0], separator);
    QVERIFY(QDateTime::fromString(lines[1], QStringLiteral("yyyy/M/d H:mm:ss")).isValid());
    QCOMPARE(lines[2], QStringLiteral("ToExcel"));
    QCOMPARE(lines[3], QStringLiteral(" 123 "));
    QCOMPARE(lines[4], QStringLiteral("磁盘已满"));
    QCOMPARE(lines[5], QStringLiteral("第二行"));
    QCOMPARE(lines[6], separator);
    QCOMPARE(lines[9], QStringLiteral("-5 "));
    QCOMPARE(lines[10], QStringLiteral("错误"));
    QCOMPARE(lines[11], QString());
}

void TestFiles::writeErrorLogFailsQuietly()
{
    // The program folder cannot hold the log: it is a file, not a folder.
    FreshAccountSet set;
    set.app().AppFolder = set.programFolder() + QStringLiteral("nousit.dat/");
    MessageScript msgs;
    QVERIFY(!WriteErrorLog(set.app(), QStringLiteral("ToExcel"), 1, QStringLiteral("错误")));
    QCOMPARE(msgs.count(), 0);
}

void TestFiles::computerNameIsKnown()
{
    QVERIFY(!ComputerName().isEmpty());
}

void TestFiles::shiftTextUp_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letters") << "abc" << "mno";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("digit") << "0" << "<";
    QTest::newRow("double-byte characters") << "啊中" << "碍周";
    QTest::newRow("past the end of the trail bytes") << "货" << QString(QChar::ReplacementCharacter);
    QTest::newRow("above 127") << "z" << QString(QChar(0x86));
}

void TestFiles::shiftTextUp()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString before = text;
    QCOMPARE(ShiftTextUp(text), expected);
    QCOMPARE(text, before);
}

VX_REGISTER_TEST(TestFiles)
#include "tst_files.moc"
