#include "basicdata/Register.h"

#include "basicdata/A1.h"
#include "basicdata/A12.h"
#include "basicdata/A2.h"
#include "basicdata/A3.h"
#include "core/App.h"
#include "core/Hooks.h"
#include "core/MainFrame.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// One instance per window: raised when open, else made and shown modeless
// inside the main window.
template <class Window>
void showRecordWindow(App& app, const char* name, bool narrow = false)
{
    QMdiArea* area = app.MainWindow ? app.MainWindow->mdiArea() : nullptr;
    if (area) {
        for (QMdiSubWindow* sub : area->subWindowList()) {
            if (sub->widget() && sub->widget()->objectName() == QLatin1String(name)) {
                area->setActiveSubWindow(sub);
                sub->showNormal();
                return;
            }
        }
    }
    Window* w = nullptr;
    try {
        w = new Window(app);
    } catch (const DbError& e) {
        MsgBox(e.description());
        return;
    }
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // The category window is a narrow strip at the left; the others fill most of the area.
        if (narrow)
            sub->setGeometry(0, 0, std::min(area->width(), 4500 / 15 + 40), area->height());
        else
            sub->resize(area->size() * 0.9);
        sub->show();
    } else {
        w->resize(900, 600);
        w->show();
    }
}

}  // namespace

void RegisterBasicDataWindows(WindowHooks& hooks)
{
    hooks.menuActions.insert(QStringLiteral("Menu_AA0"), [](App& app) { showRecordWindow<A1>(app, "A1"); });
    hooks.menuActions.insert(QStringLiteral("Menu_AA1"), [](App& app) { showRecordWindow<A2>(app, "A2"); });
    hooks.menuActions.insert(QStringLiteral("Menu_AA2"), [](App& app) { showRecordWindow<A12>(app, "A12"); });
    hooks.menuActions.insert(QStringLiteral("Menu_AA4"), [](App& app) { showRecordWindow<A3>(app, "A3", true); });
}
