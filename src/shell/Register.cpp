#include "shell/Register.h"

#include "core/Hooks.h"

void RegisterShellWindows(WindowHooks& hooks)
{
    (void)hooks;
}
