#include "widgets/EnterAsTab.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class EnterHook : public QObject {
public:
    explicit EnterHook(QWidget* w) : QObject(w) { w->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                auto* w = static_cast<QWidget*>(watched);
                if (QWidget* next = w->nextInFocusChain()) {
                    while (next != w && !(next->focusPolicy() & Qt::TabFocus && next->isVisible() && next->isEnabled()))
                        next = next->nextInFocusChain();
                    next->setFocus(Qt::TabFocusReason);
                }
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void EnterAsTab(QWidget* w)
{
    new EnterHook(w);
}
