#pragma once
// Small event hooks windows attach to their controls: an action when a box
// gains or loses the focus or a label is clicked.

#include <functional>

class QWidget;

// Runs `action` each time `w` loses the focus.
void OnFocusOut(QWidget* w, std::function<void()> action);
// Runs `action` each time `w` receives the focus.
void OnFocusIn(QWidget* w, std::function<void()> action);
// Runs `action` when `w` is clicked with the left button (labels used as links).
void OnClick(QWidget* w, std::function<void()> action);
