#include "app/Wiring.h"

#include "accountsets/Register.h"
#include "admin/Register.h"
#include "core/Hooks.h"
#include "documents/Register.h"
#include "shell/Register.h"

void WireWindows(WindowHooks& hooks)
{
    RegisterAccountSetWindows(hooks);
    RegisterAdminWindows(hooks);
    RegisterDocumentWindows(hooks);
    RegisterShellWindows(hooks);
}
