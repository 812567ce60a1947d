#pragma once
// Where a goods' picture is and how large the viewer shows it: the service
// half of the picture viewer, free of widgets.

#include <QSize>
#include <QString>

struct App;

// The placeholder every stored reference begins with, and the texts that mean "no picture".
inline const QString PicPathMarker = QStringLiteral("#PicPath#");
inline const QString NoPictureText = QStringLiteral("无图片");
inline const QString ImportPictureText = QStringLiteral("双击此处导入图片");

// The picture folder of the account set in `setFolder` ("/"-terminated).
QString PictureFolder(const QString& setFolder);

// The file a stored reference names: the marker replaced by the picture
// folder, backslashes of older records turned into "/". "" for no picture:
// an empty reference, a placeholder text or a name without a folder.
QString ResolvePictureReference(const QString& setFolder, const QString& reference);

// The picture file of a goods code (TA4.F9 resolved); "" when none.
QString GoodsPicturePath(App& app, const QString& code);

// Where the viewer puts a picture of natural size `picture` on a screen of
// size `screen` (pixels): the shown picture size, the window size, and
// whether the window had to be cut down to the screen.
struct PictureLayout {
    QSize image;
    QSize window;
    bool tooBig = false;
};
PictureLayout LayoutPicture(QSize picture, QSize screen);
