#include "shell/BGForm.h"

#include "platform/Grid.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kTwips = Grid::TwipsPerPixel;

// The background picture, stretched over the label. It is drawn in its own
// colours although the background window is disabled (it only must take no
// input), where a plain label would draw it greyed.
class PictureLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QPixmap pm = pixmap();
        if (pm.isNull())
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), pm);
    }
};

QLabel* makeLabel(QWidget* parent, const char* name, const QFont& font, const QColor& colour)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    l->hide();
    return l;
}

}  // namespace

BGForm::BGForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BGForm"));

    Img = new PictureLabel(this);
    Img->setObjectName(QStringLiteral("Img"));

    QFont small(QStringLiteral("SimSun"), 12);
    small.setBold(true);
    Lab = makeLabel(this, "Lab", small, QColor(192, 192, 255));
    Lab->setText(QStringLiteral("Vorlix仓库管理 · 批号跟踪"));

    QFont big(QStringLiteral("KaiTi"), 42);
    big.setBold(true);
    LabBig[0] = makeLabel(this, "LabBig0", big, QColor(128, 128, 128));
    LabBig[1] = makeLabel(this, "LabBig1", big, QColor(0, 0, 255));
}

void BGForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void BGForm::Form_Resize()
{
    // Positions are worked out in twips, as the layout rules are written, then drawn in pixels.
    const double w = width() * kTwips;
    const double h = height() * kTwips;
    Lab->adjustSize();
    LabBig[0]->adjustSize();
    LabBig[1]->adjustSize();
    Lab->raise();
    LabBig[0]->raise();
    LabBig[1]->raise();

    Lab->move(qRound((w - Lab->width() * kTwips - 800) / kTwips), qRound(200.0 / kTwips));
    const double bigLeft = (w - LabBig[0]->width() * kTwips) / 2;
    const double bigTop = (h - LabBig[0]->height() * kTwips) / 3;
    LabBig[0]->move(qRound(bigLeft / kTwips), qRound(bigTop / kTwips));
    // The front text sits 50 twips left of and 30 twips above its shadow.
    LabBig[1]->move(LabBig[0]->pos() - QPoint(qRound(50.0 / kTwips), qRound(30.0 / kTwips)));
    Img->setGeometry(0, 0, width(), qMax(0, int((h - 900) / kTwips)));
}

bool BGForm::LoadPicture(const QString& path)
{
    QPixmap pm;
    if (path.isEmpty() || !pm.load(path))
        return false;
    Img->setPixmap(pm);
    return true;
}

void BGForm::SetBigText(const QString& text)
{
    LabBig[0]->setText(text);
    LabBig[1]->setText(text);
}

void BGForm::SetLabelsVisible(bool visible)
{
    Lab->setVisible(visible);
    LabBig[0]->setVisible(visible);
    LabBig[1]->setVisible(visible);
}

int BGForm::TextWidth(const QString& text) const
{
    return QFontMetrics(font()).horizontalAdvance(text) * kTwips;
}
