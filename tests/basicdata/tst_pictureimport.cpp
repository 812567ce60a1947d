#include "basicdata/PictureImport.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Goods pictures copied into the account set's picture folder.
class TestPictureImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copyTakesTheUmaskMode();
    void copiesUnderTheMomentsName();
    void secondImportInTheSameSecondKeepsTheFirst();
    void keepsTheBytesOfOtherFormats();
    void refusesAFileThatIsNoPicture();
    void unwritableFolderRefersToTheSource();
    void referencesStayRelative();
};

namespace {

QString writePicture(const QTemporaryDir& dir, const QString& name, const char* format, QColor colour = Qt::red)
{
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = dir.filePath(name);
    img.save(path, format);
    return path;
}

const QDateTime Moment(QDate(2024, 3, 5), QTime(14, 7, 9));

}  // namespace

void TestPictureImport::copiesUnderTheMomentsName()
{
    QTemporaryDir src, set;
    const QString pic = writePicture(src, QStringLiteral("a.png"), "PNG");
    const QString folder = set.path() + QLatin1Char('/');
    const PictureImport r = ImportGoodsPicture(folder, pic, Moment);
    QVERIFY(r.ok());
    QCOMPARE(r.reference, QStringLiteral("#PicPath#\\240305140709.jpg"));
    const QString file = ResolvePictureReference(folder, r.reference);
    QCOMPARE(file, folder + QStringLiteral("图片/240305140709.jpg"));
    QVERIFY(!QImage(file).isNull());
}

// Others on a shared folder see the copied picture as any file the user makes.
void TestPictureImport::copyTakesTheUmaskMode()
{
    QTemporaryDir src, set;
    const QString pic = writePicture(src, QStringLiteral("a.png"), "PNG");
    const QString folder = set.path() + QLatin1Char('/');
    const mode_t before = ::umask(022);
    const PictureImport r = ImportGoodsPicture(folder, pic, Moment);
    ::umask(before);
    QVERIFY(r.ok());
    QCOMPARE(QFile::permissions(ResolvePictureReference(folder, r.reference)),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser |
                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

void TestPictureImport::secondImportInTheSameSecondKeepsTheFirst()
{
    QTemporaryDir src, set;
    const QString folder = set.path() + QLatin1Char('/');
    const PictureImport first = ImportGoodsPicture(folder, writePicture(src, "a.png", "PNG", Qt::red), Moment);
    const PictureImport second = ImportGoodsPicture(folder, writePicture(src, "b.png", "PNG", Qt::blue), Moment);
    QVERIFY(first.reference != second.reference);
    QCOMPARE(QImage(ResolvePictureReference(folder, first.reference)).pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(QImage(ResolvePictureReference(folder, second.reference)).pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(QDir(PictureFolder(folder)).entryList(QDir::Files).size(), 2);
}

void TestPictureImport::keepsTheBytesOfOtherFormats()
{
    QTemporaryDir src, set;
    const QString bmp = writePicture(src, QStringLiteral("a.bmp"), "BMP");
    const QString folder = set.path() + QLatin1Char('/');
    const PictureImport r = ImportGoodsPicture(folder, bmp, Moment);
    QFile a(bmp), b(ResolvePictureReference(folder, r.reference));
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());
    QVERIFY(!QImage(b.fileName()).isNull());  // a .jpg name, read by content
}

void TestPictureImport::refusesAFileThatIsNoPicture()
{
    QTemporaryDir src, set;
    QFile f(src.filePath(QStringLiteral("fake.jpg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is no picture");
    f.close();
    const QString folder = set.path() + QLatin1Char('/');
    const PictureImport r = ImportGoodsPicture(folder, f.fileName(), Moment);
    QVERIFY(!r.ok());
    QVERIFY(r.error.contains(QStringLiteral("不是可以读取的图片")));
    QVERIFY(r.reference.isEmpty());
    QVERIFY(!QFileInfo::exists(PictureFolder(folder)));
}

void TestPictureImport::unwritableFolderRefersToTheSource()
{
    QTemporaryDir src, set;
    const QString pic = writePicture(src, QStringLiteral("a.png"), "PNG");
    QFile::setPermissions(set.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const PictureImport r = ImportGoodsPicture(set.path() + QLatin1Char('/'), pic, Moment);
    QFile::setPermissions(set.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (QFileInfo::exists(PictureFolder(set.path() + QLatin1Char('/'))))
        QSKIP("running with rights that ignore folder permissions");
    QVERIFY(r.ok());
    QCOMPARE(r.reference, QFileInfo(pic).absoluteFilePath());
}

void TestPictureImport::referencesStayRelative()
{
    const QString folder = QStringLiteral("/books/set/");
    QCOMPARE(StoredPictureReference(folder, QStringLiteral("/books/set/图片/1.jpg")), QStringLiteral("#PicPath#\\1.jpg"));
    QCOMPARE(StoredPictureReference(folder, QStringLiteral("#PicPath#\\1.jpg")), QStringLiteral("#PicPath#\\1.jpg"));
    QCOMPARE(StoredPictureReference(folder, QStringLiteral("/elsewhere/1.jpg")), QStringLiteral("/elsewhere/1.jpg"));
    QCOMPARE(ResolvePictureReference(folder, ImportPictureText), QString());
    QCOMPARE(ResolvePictureReference(QStringLiteral("/moved/"), QStringLiteral("#PicPath#\\1.jpg")),
             QStringLiteral("/moved/图片/1.jpg"));
}

VX_REGISTER_TEST(TestPictureImport)
#include "tst_pictureimport.moc"
