#pragma once
// Shows the launcher window and runs it; returns the exit code.
int RunLauncher();
