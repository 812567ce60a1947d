#include "widgets/LabelButton.h"

#include <QMouseEvent>

LabelButton::LabelButton(const QString& caption, QWidget* parent, PressLook look)
    : QLabel(caption, parent), m_boldWhilePressed(look == PressLook::BoldWhilePressed)
{
    setCursor(Qt::PointingHandCursor);
    setBold(!m_boldWhilePressed);
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
        setBold(m_boldWhilePressed);
    QLabel::mousePressEvent(e);
}

void LabelButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        setBold(!m_boldWhilePressed);
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

void LabelButton::leaveEvent(QEvent* e)
{
    Q_EMIT left();
    QLabel::leaveEvent(e);
}
