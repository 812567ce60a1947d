#include "platform/Database.h"
#include "platform/WholeFile.h"
#include "platform/sqlcipher.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Files written whole: their mode, the leftovers of killed writers, a full disk.
class TestWholeFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newFileTakesTheUmaskMode_data();
    void newFileTakesTheUmaskMode();
    void leftoversOfKilledWritersGo();
    void fullDiskIsSaidSoAndLeavesNothing();
};

namespace {

void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

uint modeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return uint(st.st_mode & 0777);
}

}  // namespace

void TestWholeFile::newFileTakesTheUmaskMode_data()
{
    QTest::addColumn<uint>("mask");
    QTest::newRow("022") << 022u;
    QTest::newRow("002") << 002u;
    QTest::newRow("077") << 077u;
}

void TestWholeFile::newFileTakesTheUmaskMode()
{
    QFETCH(uint, mask);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.txt"));
    const mode_t before = ::umask(mode_t(mask));
    {
        PartialFile file(target);
        file.write(QByteArray("data"));
        file.commit(false);
    }
    ::umask(before);
    QCOMPARE(modeOf(target), 0666u & ~mask);
}

// Leftovers of a killed writer (and their journals) go when the next file is
// written in the folder; a writer still at work and the user's own hidden
// files stay.
void TestWholeFile::leftoversOfKilledWritersGo()
{
    QTemporaryDir dir;
    const QString stale = dir.filePath(QStringLiteral(".备份.vxs.aB3dE9.vxpart"));
    touch(stale);
    touch(stale + QStringLiteral("-journal"));
    const QString orphanJournal = dir.filePath(QStringLiteral(".导出.csv.Zz0000.vxpart-journal"));
    touch(orphanJournal);
    const QString userFile = dir.filePath(QStringLiteral(".config.backup"));
    touch(userFile);
    PartialFile live(dir.filePath(QStringLiteral("另一个.xlsx")));

    {
        PartialFile next(dir.filePath(QStringLiteral("新.csv")));
        next.write(QByteArray("a,b\r\n"));
        next.commit(false);
    }
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(!QFileInfo::exists(stale + QStringLiteral("-journal")));
    QVERIFY(!QFileInfo::exists(orphanJournal));
    QVERIFY(QFileInfo::exists(userFile));
    QVERIFY(QFileInfo::exists(live.path()));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("新.csv"))));
}

void TestWholeFile::fullDiskIsSaidSoAndLeavesNothing()
{
    SmallDisk disk(64 * 1024);
    SKIP_WITHOUT_SMALL_DISK(disk);
    const QString target = disk.path() + QStringLiteral("/big.csv");
    try {
        PartialFile file(target);
        file.write(QByteArray(1024 * 1024, 'x'));
        file.commit(false);
        QFAIL("a megabyte fitted on a 64 KiB disk");
    } catch (const DbError& e) {
        QCOMPARE(e.number(), SQLITE_FULL);
        QVERIFY2(e.description().contains(QStringLiteral("磁盘空间已满")), qPrintable(e.description()));
    }
    QCOMPARE(disk.files(), QStringList());
}

VX_REGISTER_TEST(TestWholeFile)
#include "tst_wholefile.moc"
