#include "core/WindowRegistry.h"

#include "core/App.h"
#include "core/MainFrame.h"

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

void WindowRegistry::standIn(const QString& name, std::function<void(App&)> run)
{
    WindowEntry& e = m_entries[name];
    e.mode = WindowMode::Action;
    e.make = {};
    e.run = std::move(run);
}

QString LoginLinkEntry(LoginLink link)
{
    switch (link) {
    case LoginLink::AddOperator:
        return QStringLiteral("Login_S1");
    case LoginLink::SetPassword:
        return QStringLiteral("Login_S2");
    case LoginLink::None:
        break;
    }
    return {};
}

const WindowEntry* WindowRegistry::find(const QString& name) const
{
    const auto it = m_entries.constFind(name);
    return it == m_entries.constEnd() ? nullptr : &*it;
}

namespace {

QString instanceOf(const App& app, const QString& name)
{
    const WindowEntry* e = app.Windows.find(name);
    return e && !e->instance.isEmpty() ? e->instance : name;
}

}  // namespace

QWidget* OpenedWindow(App& app, const QString& name)
{
    return app.Windows.opened.value(instanceOf(app, name)).data();
}

namespace {

QWidget* mainWidget(App& app)
{
    return app.MainWindow ? app.MainWindow->widget() : nullptr;
}

void openModeless(App& app, const QString& name, const WindowEntry& e)
{
    QMdiArea* area = app.MainWindow ? app.MainWindow->mdiArea() : nullptr;
    if (QWidget* open = OpenedWindow(app, name)) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget()); sub && area) {
            sub->showNormal();
            area->setActiveSubWindow(sub);
        } else {
            open->showNormal();
            open->raise();
            open->activateWindow();
        }
        if (e.reopen)
            e.reopen(open);
        return;
    }
    QWidget* w = e.make(app, nullptr);
    w->setAttribute(Qt::WA_DeleteOnClose);
    app.Windows.opened.insert(instanceOf(app, name), w);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // A window that closes itself ("返回") takes its frame along; queued,
        // so that a frame already on its way out is not closed twice.
        QObject::connect(w, &QObject::destroyed, sub, &QWidget::close, Qt::QueuedConnection);
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        // No main window (a test or a window opened before it): a window of its own.
        w->show();
    }
}

}  // namespace

bool OpenWindow(App& app, const QString& name)
{
    const WindowEntry* found = app.Windows.find(name);
    if (!found)
        return false;
    // A copy: what runs may register entries anew.
    const WindowEntry e = *found;
    if (e.right && !e.right(app))
        return false;
    switch (e.mode) {
    case WindowMode::Modeless:
        openModeless(app, name, e);
        break;
    case WindowMode::Modal: {
        std::unique_ptr<QWidget> w(e.make(app, mainWidget(app)));
        static_cast<QDialog*>(w.get())->exec();
        break;
    }
    case WindowMode::Action:
        if (e.run)
            e.run(app);
        break;
    }
    return true;
}
