#include "core/GoodsPicture.h"

#include "core/App.h"
#include "core/SqlText.h"

namespace {

constexpr int TwipsPerPixel = 15;
// Room the picture leaves to the screen's edges, and the size of a window
// cut down to the screen (1000, 500 and 300 twips).
constexpr int ScreenMargin = 1000 / TwipsPerPixel;
constexpr int TooBigWidthMargin = 500 / TwipsPerPixel;
constexpr int TooBigHeightMargin = 300 / TwipsPerPixel;

}  // namespace

QString PictureFolder(const QString& setFolder)
{
    return setFolder + QStringLiteral("图片");
}

QString ResolvePictureReference(const QString& setFolder, const QString& reference)
{
    if (reference.isEmpty() || reference == ImportPictureText || reference == NoPictureText)
        return QString();
    QString path = reference;
    path.replace(PicPathMarker, PictureFolder(setFolder));
    // Stored paths may carry the backslashes of the older Windows records.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.contains(QLatin1Char('/')) ? path : QString();
}

QString GoodsPicturePath(App& app, const QString& code)
{
    return ResolvePictureReference(app.AccountSetFolder,
                                   SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F9 FROM TA4 WHERE F1=?"), {code}));
}

PictureLayout LayoutPicture(QSize picture, QSize screen)
{
    PictureLayout l;
    const int nw = picture.width();
    const int nh = picture.height();
    if (nw <= 0 || nh <= 0)
        return l;
    const int sw = screen.width();
    const int sh = screen.height();
    // The height test looks at the natural height, not at the height the
    // width step gave, and when it applies it sets both sides anew.
    l.image = QSize(nw, nh);
    if (sw - ScreenMargin < nw)
        l.image = QSize(sw - ScreenMargin, int(qint64(sw - ScreenMargin) * nh / nw));
    if (sh - ScreenMargin < nh)
        l.image = QSize(int(qint64(sh - ScreenMargin) * nw / nh), sh - ScreenMargin);
    l.window = l.image;
    if (l.window.width() > sw || l.window.height() > sh) {
        l.tooBig = true;
        l.window = QSize(sw - TooBigWidthMargin, sh - TooBigHeightMargin);
    }
    return l;
}
