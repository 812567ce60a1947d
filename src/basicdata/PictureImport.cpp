#include "basicdata/PictureImport.h"

#include "platform/Database.h"
#include "platform/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

PictureImport ImportGoodsPicture(const QString& setFolder, const QString& source, const QDateTime& now)
{
    PictureImport result;
    QImageReader reader(source);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || reader.size().isEmpty()) {
        result.error = QStringLiteral("[") + QDir::toNativeSeparators(source) + QStringLiteral("]不是可以读取的图片文件！");
        return result;
    }
    const QString folder = PictureFolder(setFolder);
    QFile in(source);
    const QString stem = now.toString(QStringLiteral("yyMMddHHmmss"));
    if (QDir().mkpath(folder) && in.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = in.readAll();
        for (int n = 0; n < 10000; ++n) {
            const QString name = stem + (n ? QLatin1Char('-') + QString::number(n) : QString()) + QStringLiteral(".jpg");
            const QString target = folder + QLatin1Char('/') + name;
            if (QFileInfo::exists(target))
                continue;
            try {
                PartialFile out(target);
                out.write(bytes);
                out.commit(false);
                result.reference = PicPathMarker + QLatin1Char('\\') + name;
                return result;
            } catch (const DbError&) {
            }
            break;
        }
    }
    // The copy failed: the goods refers to the file where it was found.
    result.reference = QFileInfo(source).absoluteFilePath();
    return result;
}

QString StoredPictureReference(const QString& setFolder, const QString& path)
{
    const QString folder = QDir::cleanPath(PictureFolder(setFolder));
    const QFileInfo fi(path);
    if (!path.startsWith(PicPathMarker) && fi.isAbsolute() && QDir::cleanPath(fi.absolutePath()) == folder)
        return PicPathMarker + QLatin1Char('\\') + fi.fileName();
    return path;
}
