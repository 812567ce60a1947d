#include "admin/Register.h"

#include "core/Hooks.h"

void RegisterAdminWindows(WindowHooks& hooks)
{
    (void)hooks;
}
