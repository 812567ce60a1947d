#pragma once
// The main window's menu tree as designed: every item with its design
// caption and visibility. The settings loader, the after-login set-up and the
// settings wizard shape it; the main window renders it.

class MenuModel;

// Builds the whole menu tree into `menus` (cleared first) with the design
// captions, the design visibility and the two items greyed at design.
void BuildMainMenu(MenuModel& menus);
