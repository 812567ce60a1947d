#pragma once
struct WindowHooks;
// Registers the basic-data windows with the main menu.
void RegisterBasicDataWindows(WindowHooks& hooks);
