#include "shell/MdiChildren.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

namespace {

// The child window of `area` that holds `w`, or null.
QMdiSubWindow* childHolding(const QMdiArea* area, QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w); sub && sub->mdiArea() == area)
            return sub;
    return nullptr;
}

}  // namespace

// ---- OpenerStaysActive ---------------------------------------------------

OpenerStaysActive::OpenerStaysActive(QMdiArea* area) : QObject(area), m_area(area)
{
    qApp->installEventFilter(this);
}

bool OpenerStaysActive::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || !w->isWindow() || !w->isModal() || w == m_area->window() || m_openers.contains(w))
            break;
        QMdiSubWindow* opener = childHolding(m_area, w->parentWidget());
        if (!opener)
            opener = m_area->currentSubWindow();
        if (!opener)
            break;
        m_openers.insert(w, opener);
        connect(w, &QObject::destroyed, this, [this, w] { m_openers.remove(w); });
        break;
    }
    case QEvent::Hide: {
        const auto it = m_openers.find(watched);
        if (it == m_openers.end())
            break;
        m_pending = it.value();
        m_openers.erase(it);
        // Once the dialog is gone; and again when the frame becomes active,
        // since the window manager may activate it (and focus another child) later.
        QTimer::singleShot(0, this, &OpenerStaysActive::restore);
        break;
    }
    case QEvent::WindowActivate:
        if (watched == m_area->window() && m_pending)
            restore();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
        // The user chooses from here on.
        if (m_pending && !QApplication::activeModalWidget())
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == m_area->window())
                m_pending.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void OpenerStaysActive::restore()
{
    if (!m_pending || QApplication::activeModalWidget())
        return;
    if (m_area->activeSubWindow() != m_pending)
        m_area->setActiveSubWindow(m_pending);
}

// ---- ChildCommandKeys ----------------------------------------------------

ChildCommandKeys::ChildCommandKeys(QMdiArea* area) : QObject(area), m_area(area)
{
    qApp->installEventFilter(this);
}

bool ChildCommandKeys::isAltLetter(const QKeyEvent* e) const
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return mods == Qt::AltModifier && ((e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) ||
                                       (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9));
}

QAction* ChildCommandKeys::commandFor(int key, QMenuBar** onBar) const
{
    QMdiSubWindow* sub = m_area->activeSubWindow();
    if (!sub || !sub->widget())
        return nullptr;
    const QKeySequence wanted(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
    const QList<QMenuBar*> bars = sub->widget()->findChildren<QMenuBar*>();
    for (QMenuBar* bar : bars) {
        // Bars of dialogs the child holds are not its command bar.
        if (bar->window() != m_area->window() || !bar->isVisibleTo(sub))
            continue;
        for (QAction* a : bar->actions())
            if (a->isVisible() && !a->isSeparator() && QKeySequence::mnemonic(a->text()) == wanted) {
                if (onBar)
                    *onBar = bar;
                return a;
            }
    }
    return nullptr;
}

bool ChildCommandKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!w || w->window() != m_area->window() || !isAltLetter(key) || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return QObject::eventFilter(watched, event);
    QMenuBar* bar = nullptr;
    QAction* command = commandFor(key->key(), &bar);
    if (!command)
        return QObject::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // The key is the child's: no shortcut of the main menu takes it.
        event->accept();
        return true;
    }
    if (command->isEnabled()) {
        if (command->menu())
            bar->setActiveAction(command);
        else
            command->trigger();
    }
    return true;
}
