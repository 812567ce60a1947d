#include "documents/Register.h"

#include "core/App.h"
#include "core/Hooks.h"
#include "core/MainFrame.h"
#include "documents/inbound/B1.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

// One window per mode: a second choice of the same menu item raises it.
void showReceipts(App& app, bool department)
{
    static QPointer<B1> open[2];
    QPointer<B1>& window = open[department ? 1 : 0];
    if (window) {
        window->activateWindow();
        window->raise();
        return;
    }
    QMdiArea* area = app.MainWindow ? app.MainWindow->mdiArea() : nullptr;
    window = new B1(app, department);
    if (area)
        area->addSubWindow(window)->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

}  // namespace

void RegisterDocumentWindows(WindowHooks& hooks)
{
    hooks.menuActions.insert(QStringLiteral("Menu_BB0"), [](App& app) { showReceipts(app, false); });
    hooks.menuActions.insert(QStringLiteral("Menu_BB3"), [](App& app) { showReceipts(app, true); });
}
