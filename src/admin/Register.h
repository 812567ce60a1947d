#pragma once
class WindowRegistry;
// Registers this folder's windows with the start-up road and the main menu.
void RegisterAdminWindows(WindowRegistry& reg);
