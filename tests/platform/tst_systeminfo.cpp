#include "platform/SystemInfo.h"
#include "support/TestRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestSystemInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void isNetworkPath_data();
    void isNetworkPath();
    void isNetworkFileSystem_data();
    void isNetworkFileSystem();
    void programFolderHoldsTheExecutable();
    void homeDataFolderIsMadeOnDemand();
    void homeDataFolderFallsBackToProgramFolder();
};

void TestSystemInfo::isNetworkPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("network");
    const QString temp = QDir::tempPath();
    QTest::newRow("// share") << "//server/账套/仓库账套.vxs" << true;
    QTest::newRow("\\\\ share") << "\\\\server\\账套\\仓库账套.vxs" << true;
    QTest::newRow("local folder") << temp << false;
    QTest::newRow("missing file in a local folder") << temp + "/没有/这个/文件.vxs" << false;
    QTest::newRow("root") << "/" << false;
    QTest::newRow("single slash") << "/server/share" << false;
    QTest::newRow("relative") << "仓库账套.vxs" << false;
    QTest::newRow("empty") << "" << false;
}

void TestSystemInfo::isNetworkPath()
{
    QFETCH(QString, path);
    QFETCH(bool, network);
    QCOMPARE(IsNetworkPath(path), network);
}

void TestSystemInfo::isNetworkFileSystem_data()
{
    QTest::addColumn<qint64>("magic");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("network");
    QTest::newRow("nfs") << qint64(0x6969) << "nfs4" << true;
    QTest::newRow("cifs") << qint64(0xFF534D42) << "cifs" << true;
    QTest::newRow("smb3") << qint64(0xFE534D42) << "smb3" << true;
    QTest::newRow("smbfs") << qint64(0x517B) << "smbfs" << true;
    QTest::newRow("sshfs") << qint64(0x65735546) << "fuse.sshfs" << true;
    QTest::newRow("gvfs") << qint64(0x65735546) << "fuse.gvfsd-fuse" << true;
    QTest::newRow("ntfs-3g disk") << qint64(0x65735546) << "fuseblk" << false;
    QTest::newRow("ext4") << qint64(0xEF53) << "ext4" << false;
    QTest::newRow("btrfs") << qint64(0x9123683E) << "btrfs" << false;
    QTest::newRow("tmpfs") << qint64(0x01021994) << "tmpfs" << false;
    QTest::newRow("overlay") << qint64(0x794C7630) << "overlay" << false;
}

void TestSystemInfo::isNetworkFileSystem()
{
    QFETCH(qint64, magic);
    QFETCH(QString, type);
    QFETCH(bool, network);
    QCOMPARE(IsNetworkFileSystem(magic, type), network);
}

void TestSystemInfo::programFolderHoldsTheExecutable()
{
    const QString folder = ProgramFolder();
    QVERIFY(folder.endsWith(QLatin1Char('/')));
    QVERIFY(QFileInfo::exists(folder + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

void TestSystemInfo::homeDataFolderIsMadeOnDemand()
{
    const QString expected = QDir::homePath() + QStringLiteral("/Vorlix批号版账套/");
    QVERIFY(!QFileInfo::exists(expected) || QDir(expected).removeRecursively());
    QCOMPARE(HomeDataFolder(QStringLiteral("Vorlix批号版账套")), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(HomeDataFolder(QStringLiteral("Vorlix批号版账套")), expected);
}

void TestSystemInfo::homeDataFolderFallsBackToProgramFolder()
{
    // A home "folder" that is a file: nothing can be made below it.
    QTemporaryDir dir;
    const QString fakeHome = dir.path() + QStringLiteral("/home");
    QFile f(fakeHome);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(fakeHome));
    const QString folder = HomeDataFolder(QStringLiteral("Vorlix批号版账套"));
    qputenv("HOME", home);
    QCOMPARE(folder, ProgramFolder());
}

VX_REGISTER_TEST(TestSystemInfo)
#include "tst_systeminfo.moc"
