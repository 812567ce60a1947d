#pragma once
// The program's own icon: a warehouse (roof and stacked boxes) on a blue
// square, drawn here so that no picture file has to travel with the program.
// Every window takes it from the application (title bars, MDI child frames,
// dialogs), and the desktop entry of the account-set files points at a copy
// written as PNG. Header-only, so that the launcher, which links nothing but
// Qt, shows the same icon.

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

inline QPixmap ProgramIconPixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;
    p.scale(s, s);

    QLinearGradient back(0, 0, 0, 64);
    back.setColorAt(0, QColor(0x2F, 0x80, 0xD8));
    back.setColorAt(1, QColor(0x15, 0x4C, 0x92));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);

    // The roof.
    QPainterPath roof;
    roof.moveTo(8, 27);
    roof.lineTo(32, 10);
    roof.lineTo(56, 27);
    roof.lineTo(51, 27);
    roof.lineTo(32, 15.5);
    roof.lineTo(13, 27);
    roof.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(roof);

    // Three boxes stacked in the hall.
    const QColor box(0xF5, 0xB9, 0x42);
    const QColor edge(0x8A, 0x5A, 0x12);
    p.setPen(QPen(edge, 1.6));
    p.setBrush(box);
    for (const QRectF& r : {QRectF(15, 41, 16, 14), QRectF(33, 41, 16, 14), QRectF(24, 27, 16, 14)}) {
        p.drawRect(r);
        p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.top() + 5));
    }
    return pm;
}

inline QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(ProgramIconPixmap(size));
    return icon;
}

// Gives every window of the running program the program's icon.
inline void UseProgramIcon()
{
    QGuiApplication::setWindowIcon(ProgramIcon());
}
