#pragma once
// The main menu: what clicking an item does (its tree is core/MainMenuTree.h).
// Items open what App::Windows registers under their name (each folder's
// Register.cpp); an item without an entry stays in the menu, disabled, until
// its window exists.

#include "core/MainMenuTree.h"

#include <QString>
#include <functional>

struct App;

// Runs a main-menu item as a click does: the item's right, then its window.
void RunMenuItem(App& app, const QString& name);

// The product's web address (help menu and about window).
QString ProductWebAddress();

// Help-menu items that start outside programs.
void OpenHelpFile(App& app);
void PlayDemoVideo(App& app);
void StartCalculator(App& app);
void ShowAbout(App& app, const QString& link);
