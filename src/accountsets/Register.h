#pragma once
struct WindowHooks;
// Registers this folder's windows with the start-up road and the main menu.
void RegisterAccountSetWindows(WindowHooks& hooks);
