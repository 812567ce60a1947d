#pragma once
// Ending the program at once, as the login window's exit button and a restore
// do: no window is asked, nothing is saved, no backup runs.

#include <functional>

void EndProgramNow();

// Replaces what EndProgramNow does (tests record the call instead of leaving
// the process); returns the previous handler.
std::function<void()> SetProgramEndHandler(std::function<void()> handler);
