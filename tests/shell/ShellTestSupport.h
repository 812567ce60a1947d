#pragma once
// Helpers shared by the shell tests: driving popup menus, stand-in window
// hooks, and reading the menu model.

#include "core/Hooks.h"
#include "core/MenuModel.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>

// Runs `action` on the next popup menu that opens (polling the event loop).
inline void WhenPopup(std::function<void(QMenu*)> action, int timeoutMs = 3000)
{
    auto* timer = new QTimer(qApp);
    auto remaining = std::make_shared<int>(timeoutMs / 20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, remaining]() {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            action(menu);
            return;
        }
        if (--*remaining <= 0) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

// Chooses the item `name` of an open popup menu, as a click does.
inline void ChoosePopupItem(QMenu* menu, const QString& name)
{
    QAction* a = menu->findChild<QAction*>(name);
    menu->close();
    if (a)
        a->trigger();
}

// Gives a test empty window hooks and puts the program's back afterwards.
class HooksGuard {
public:
    HooksGuard() : m_saved(Hooks()) { Hooks() = WindowHooks{}; }
    ~HooksGuard() { Hooks() = m_saved; }

private:
    WindowHooks m_saved;
};

// Captions of the visible children of a menu, joined by "|".
inline QString VisibleCaptions(const MenuModel& m, const QString& menu)
{
    QStringList captions;
    for (const MenuItem* it : m.item(menu)->children)
        if (it->visible)
            captions << it->caption;
    return captions.join(QLatin1Char('|'));
}
