#pragma once
// Driving popup menus from a test: the popup runs its own event loop, so the
// test acts on it from a timer.

#include <QAction>
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
