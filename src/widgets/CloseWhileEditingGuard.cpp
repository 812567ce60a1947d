#include "widgets/CloseWhileEditingGuard.h"

#include "widgets/GridBehaviours.h"
#include "widgets/SaveHint.h"

#include <QCloseEvent>
#include <QWidget>

CloseWhileEditingGuard::CloseWhileEditingGuard(QWidget* window) : QObject(window)
{
    window->installEventFilter(this);
}

bool CloseWhileEditingGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && EditStateOf(static_cast<QWidget*>(watched)) != 0) {
        WarnEditing();
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
