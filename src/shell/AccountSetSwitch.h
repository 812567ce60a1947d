#pragma once
// Changing the operator and switching to another account set from the
// running program.

struct App;

// Change of operator: the login window again, then the window the login asked for.
void Relogin(App& app);

// Closes every child window of the main window, so that none keeps working
// on the account set about to be closed. False (nothing closed) while one
// of them edits; a child that refuses to close also gives false.
bool CloseChildWindows(App& app);

// Menu "系统账套设置": the account-set manager over the closed database; when
// another set was opened, the road every opened set takes (AccountSetOpened).
// Refused when the set came from the command line.
void SwitchAccountSet(App& app);
