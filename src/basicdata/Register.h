#pragma once
class WindowRegistry;
// Registers the basic-data windows with the main menu.
void RegisterBasicDataWindows(WindowRegistry& reg);
