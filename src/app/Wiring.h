#pragma once
class WindowRegistry;
// Connects every folder's windows to the start-up road and the main menu.
void WireWindows(WindowRegistry& reg);
