#include "app/Wiring.h"

#include "accountsets/Register.h"
#include "admin/Register.h"
#include "basicdata/Register.h"
#include "core/Hooks.h"
#include "shell/Register.h"

void WireWindows(WindowHooks& hooks)
{
    RegisterAccountSetWindows(hooks);
    RegisterAdminWindows(hooks);
    RegisterBasicDataWindows(hooks);
    RegisterShellWindows(hooks);
}
