#pragma once
class WindowRegistry;
// Registers this folder's windows with the start-up road and the main menu.
void RegisterReportWindows(WindowRegistry& reg);
