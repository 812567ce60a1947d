#pragma once
class WindowRegistry;
// Registers this folder's windows with the main menu's accounts items.
void RegisterAccountWindows(WindowRegistry& reg);
