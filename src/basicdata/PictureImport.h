#pragma once
// Goods pictures: a chosen file is read by its content, copied into the
// picture folder beside the account set ("图片") under a name no other
// picture has, and referred to as "#PicPath#\" + file name, so the reference
// stays valid when the set and its picture folder move together.

#include "core/GoodsPicture.h"

#include <QDateTime>
#include <QString>

struct PictureImport {
    QString reference;  // what TA4.F9 stores; "" when nothing was imported
    QString error;      // why not, for the operator
    bool ok() const { return error.isEmpty(); }
};

// Copies `source` into the picture folder as yyMMddHHmmss.jpg of `now`
// (with "-1", "-2" ... when that name is taken; the bytes are kept, so a BMP
// or GIF stays readable by content). A file that is not a readable picture
// is refused and nothing is copied. When the copy itself fails the reference
// is the source's own full path. The copy is written under a temporary name
// and renamed when whole.
PictureImport ImportGoodsPicture(const QString& setFolder, const QString& source, const QDateTime& now);

// The form to store for a picture path: a path inside the set's picture
// folder becomes "#PicPath#\" + name again; any other text stays as it is.
QString StoredPictureReference(const QString& setFolder, const QString& path);
