#include "accounts/Register.h"

#include "accounts/VoucherForm.h"
#include "core/WindowRegistry.h"

void RegisterAccountWindows(WindowRegistry& reg)
{
    reg.modeless(QStringLiteral("Menu_E00"),
                 [](App& app, QWidget* parent) -> QWidget* { return new YingLst(app, DocKind::AddedPayable, parent); });
    reg.modeless(QStringLiteral("Menu_E01"), [](App& app, QWidget* parent) -> QWidget* {
        return new YingLst(app, DocKind::AddedReceivable, parent);
    });
    reg.modeless(QStringLiteral("Menu_EE0"),
                 [](App& app, QWidget* parent) -> QWidget* { return new PayLst(app, DocKind::Payment, parent); });
    reg.modeless(QStringLiteral("Menu_EE1"),
                 [](App& app, QWidget* parent) -> QWidget* { return new PayLst(app, DocKind::Receipt, parent); });
}
