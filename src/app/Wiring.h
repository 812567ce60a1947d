#pragma once
struct WindowHooks;
// Connects every folder's windows to the start-up road and the main menu.
void WireWindows(WindowHooks& hooks);
