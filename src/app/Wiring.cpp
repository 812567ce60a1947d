#include "app/Wiring.h"

#include "accountsets/Register.h"
#include "admin/Register.h"
#include "core/WindowRegistry.h"
#include "reports/Register.h"
#include "shell/Register.h"

void WireWindows(WindowRegistry& reg)
{
    RegisterAccountSetWindows(reg);
    RegisterAdminWindows(reg);
    RegisterShellWindows(reg);
    RegisterReportWindows(reg);
}
