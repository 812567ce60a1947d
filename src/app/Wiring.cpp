#include "app/Wiring.h"

#include "accountsets/BackupFileWork.h"
#include "accountsets/Register.h"
#include "admin/Register.h"
#include "core/Hooks.h"
#include "shell/ProgramEnd.h"
#include "shell/Register.h"

void WireWindows(WindowHooks& hooks)
{
    RegisterAccountSetWindows(hooks);
    RegisterAdminWindows(hooks);
    RegisterShellWindows(hooks);
    // A restore or a set that does not reopen ends the program the same way the login's exit does.
    SetFileWorkEndHandler([] { EndProgramNow(); });
}
