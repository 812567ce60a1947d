#pragma once
// Enter moves on as Tab does: in entry boxes and combos of the record and
// document windows, Enter or Return is swallowed and the focus goes to the
// next visible, enabled control of the tab chain.

class QWidget;

// Attaches the behaviour to `w` (owned by `w`).
void EnterAsTab(QWidget* w);
