#include "shell/LabelButton.h"

#include <QMouseEvent>

LabelButton::LabelButton(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    setBold(true);
}

void LabelButton::setBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void LabelButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        setBold(false);
    QLabel::mousePressEvent(e);
}

void LabelButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        setBold(true);
        if (rect().contains(e->position().toPoint()))
            Q_EMIT clicked();
    }
    QLabel::mouseReleaseEvent(e);
}

void LabelButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(e);
}

void LabelButton::enterEvent(QEnterEvent* e)
{
    Q_EMIT hovered();
    QLabel::enterEvent(e);
}
