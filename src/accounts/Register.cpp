#include "accounts/Register.h"

#include "accounts/LedgerForm.h"
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
    // The ledgers, each item on its side with its caption.
    for (const int lb : {10, -10}) {
        const bool payable = lb == 10;
        const QString general = payable ? QStringLiteral("应付货款总账") : QStringLiteral("应收账款总账");
        const QString detail = payable ? QStringLiteral("应付账款明细") : QStringLiteral("应收账款明细");
        reg.modeless(GeneralLedgerItem(lb),
                     [lb, general](App& app, QWidget* parent) -> QWidget* { return new KuanHz(app, lb, general, parent); });
        reg.modeless(DetailLedgerItem(lb),
                     [lb, detail](App& app, QWidget* parent) -> QWidget* { return new KuanMx(app, lb, detail, parent); });
    }
}
