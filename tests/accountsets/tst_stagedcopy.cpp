#include "accountsets/BackupFileWork.h"
#include "platform/WholeFile.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The staged copy that restore, compaction and the automatic backup put in
// place of a file: its writer's from the copy to the rename, whatever another
// instance sweeps from that folder meanwhile, and gone if never put in place.
class TestStagedCopy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copyIsHeldUntilPutInPlace_data();
    void copyIsHeldUntilPutInPlace();
};

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

void TestStagedCopy::copyIsHeldUntilPutInPlace_data()
{
    QTest::addColumn<bool>("putInPlace");
    QTest::newRow("swept while checked, then put in place") << true;
    QTest::newRow("given up after the check") << false;
}

void TestStagedCopy::copyIsHeldUntilPutInPlace()
{
    QFETCH(bool, putInPlace);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("备份.vxs"));
    const QString target = dir.filePath(QStringLiteral("账套.vxs"));
    write(source, QByteArray(3 << 20, 'n'));
    write(target, QByteArrayLiteral("old"));
    {
        StagedCopy copy(source, target);
        QCOMPARE(read(copy.path()), read(source));
        // Another instance writing a copy into this folder clears the
        // leftovers of killed writers; this copy's writer is alive.
        RemovePartialLeftovers(dir.path());
        QVERIFY(QFile::exists(copy.path()));
        if (putInPlace)
            copy.replaceTarget();
    }
    QCOMPARE(read(target), putInPlace ? read(source) : QByteArrayLiteral("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("备份.vxs"), QStringLiteral("账套.vxs")}));
}

VX_REGISTER_TEST(TestStagedCopy)
#include "tst_stagedcopy.moc"
