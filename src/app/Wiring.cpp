#include "app/Wiring.h"

#include "accounts/Register.h"
#include "accountsets/Register.h"
#include "admin/Register.h"
#include "basicdata/Register.h"
#include "core/WindowRegistry.h"
#include "documents/Register.h"
#include "print/designer/Register.h"
#include "reports/Register.h"
#include "shell/Register.h"

void WireWindows(WindowRegistry& reg)
{
    RegisterAccountWindows(reg);
    RegisterAccountSetWindows(reg);
    RegisterAdminWindows(reg);
    RegisterBasicDataWindows(reg);
    RegisterDocumentWindows(reg);
    RegisterReportWindows(reg);
    RegisterShellWindows(reg);
    RegisterPrintDesigner();
}
