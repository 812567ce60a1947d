#pragma once
// The main menu: what clicking an item does (its tree is core/MainMenuTree.h).
// Items run through Hooks().menuActions (each folder registers its windows
// there); a few open a window hook directly. An item with neither stays in
// the menu, disabled, until its window exists.

#include "core/MainMenuTree.h"

#include <QString>
#include <functional>

struct App;
class MenuModel;

// What clicking the item does, or an empty function when its window is not available.
std::function<void(App&)> MenuAction(const QString& name);

// Runs a main-menu item as a click does: the item's refusal test, then its action.
void RunMenuItem(App& app, const QString& name);

// The product's web address (help menu and about window).
QString ProductWebAddress();

// Help-menu items that start outside programs.
void OpenHelpFile(App& app);
void PlayDemoVideo(App& app);
void StartCalculator(App& app);
void ShowAbout(App& app, const QString& link);
