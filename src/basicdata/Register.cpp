#include "basicdata/Register.h"

#include "basicdata/A1.h"
#include "basicdata/A12.h"
#include "basicdata/A2.h"
#include "basicdata/A3.h"
#include "basicdata/A4.h"
#include "core/WindowRegistry.h"

void RegisterBasicDataWindows(WindowRegistry& reg)
{
    reg.modeless<A1>(QStringLiteral("Menu_AA0"));
    reg.modeless<A2>(QStringLiteral("Menu_AA1"));
    reg.modeless<A12>(QStringLiteral("Menu_AA2"));
    reg.modeless<A3>(QStringLiteral("Menu_AA4"));
    // The goods item and the finished-products item open the goods window
    // under their word (read when the item is chosen).
    reg.modeless(QStringLiteral("Menu_AA5"), [](App& app, QWidget* parent) -> QWidget* {
        return new A4(app, A4::wordForItem(app, false), parent);
    });
    reg.modeless(QStringLiteral("Menu_AA6"), [](App& app, QWidget* parent) -> QWidget* {
        return new A4(app, A4::wordForItem(app, true), parent);
    });
}
