#include "core/PictureViewer.h"

#include "core/App.h"
#include "core/SqlText.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {

constexpr int TwipsPerPixel = 15;
// Room the picture leaves to the screen's edges, and the size of a window
// cut down to the screen (1000, 500 and 300 twips).
constexpr int ScreenMargin = 1000 / TwipsPerPixel;
constexpr int TooBigWidthMargin = 500 / TwipsPerPixel;
constexpr int TooBigHeightMargin = 300 / TwipsPerPixel;

bool isFile(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

}  // namespace

QString GoodsPicturePath(App& app, const QString& code)
{
    QString path = SqlScalar(app.CurrentDatabase, QStringLiteral("SELECT F9 FROM TA4 WHERE F1=?"), {code});
    path.replace(QStringLiteral("#PicPath#"), app.AccountSetFolder + QStringLiteral("图片"));
    // Stored paths may carry the backslashes of the older Windows records.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.contains(QLatin1Char('/')) ? path : QString();
}

void ShowGoodsPicture(App& app, const QString& code, const QString& name)
{
    const QString path = GoodsPicturePath(app, code);
    if (path.isEmpty())
        return;
    if (!isFile(path)) {
        MsgBox(QStringLiteral("找不到文件[") + path + QStringLiteral("]！"));
        return;
    }
    ShowPic viewer(path, name, QApplication::activeWindow());
    viewer.exec();
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

ShowPic::ShowPic(const QString& picFile, const QString& hpmc, QWidget* parent)
    : QDialog(parent), PicFile(picFile), HPMC(hpmc)
{
    setObjectName(QStringLiteral("ShowPic"));
    setModal(true);
    Img = new QLabel(this);
    Img->setObjectName(QStringLiteral("Img"));
    Img->setScaledContents(true);
    Img->setCursor(Qt::PointingHandCursor);
    Img->installEventFilter(this);
    layoutPicture();
}

void ShowPic::layoutPicture()
{
    if (PicFile == QLatin1String("toobig") || HPMC.isEmpty())
        return;
    setWindowTitle(HPMC);
    if (!isFile(PicFile)) {
        MsgBox(QStringLiteral("文件") + PicFile + QStringLiteral("丢失!"), MB::OKOnly, QApplication::applicationDisplayName());
        return;
    }
    // A file that is no picture leaves the window empty, without a message.
    const QPixmap picture(PicFile);
    QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    const PictureLayout l = LayoutPicture(picture.size(), screen->geometry().size());
    HPMC.clear();
    if (l.image.isEmpty())
        return;
    Img->setPixmap(picture);
    Img->setGeometry(QRect(QPoint(0, 0), l.image));
    resize(l.window);
    if (l.tooBig) {
        PicFile = QStringLiteral("toobig");
        move(screen->geometry().topLeft());
    }
}

bool ShowPic::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Img && event->type() == QEvent::MouseButtonDblClick) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ShowPic::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (PicFile != QLatin1String("toobig"))
        Img->move(0, 0);
}
