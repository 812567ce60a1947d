#include "widgets/WidgetHooks.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

class EventHook : public QObject {
public:
    EventHook(QWidget* w, QEvent::Type type, std::function<void()> action)
        : QObject(w), m_type(type), m_action(std::move(action))
    {
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == m_type
            && (m_type != QEvent::MouseButtonRelease || static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton))
            m_action();
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_action;
};

}  // namespace

void OnFocusOut(QWidget* w, std::function<void()> action)
{
    new EventHook(w, QEvent::FocusOut, std::move(action));
}

void OnFocusIn(QWidget* w, std::function<void()> action)
{
    new EventHook(w, QEvent::FocusIn, std::move(action));
}

void OnClick(QWidget* w, std::function<void()> action)
{
    new EventHook(w, QEvent::MouseButtonRelease, std::move(action));
}
