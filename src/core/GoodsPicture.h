#pragma once
// Where a goods' picture is and how large the viewer shows it: the service
// half of the picture viewer, free of widgets.

#include <QSize>
#include <QString>

struct App;

// The picture path stored for a goods code, with the "#PicPath#" marker
// resolved to the picture folder beside the account set; "" when none.
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
