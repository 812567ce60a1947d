#include "accountsets/Register.h"

#include "core/Hooks.h"

void RegisterAccountSetWindows(WindowHooks& hooks)
{
    (void)hooks;
}
