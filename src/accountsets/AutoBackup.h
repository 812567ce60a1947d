#pragma once

struct App;

// The automatic backup at exit. When due (setting 876: every n days, 0 = at
// every exit) and the set is local and was not opened from the command line,
// copies the closed set's file into the automatic-backup folder as
// "备份" + set name + yyyyMMdd + ".vxs" restricted to "001", keeping one copy
// per month plus the previous copy of the current month (renamed to
// ".___"), then opens the set again and records today as the last backup.
// The new copy is complete before any older copy is deleted or renamed.
// While another instance has the set open nothing is copied and the user is
// told; the caller ends the program after the call in any case.
void AutoBackup(App& app);
