#include "widgets/PictureViewer.h"

#include "core/App.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {

bool isFile(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

}  // namespace

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
