#pragma once
// The settings of the open account set (table sysinfo) brought into the
// running program: option rows into the globals of App, and the main menu
// shaped to the set (document-type captions, which items show, and the
// "&1." "&2." ... numbering of the visible items).

#include "core/Kinds.h"

#include <QString>

struct App;
class Database;
class MenuModel;

// Reads every settings row of app.CurrentDatabase into the globals and shapes
// app.Menus. A missing row leaves its global and menu item as they were; a
// row whose value cannot be taken is passed over the same way. Never throws,
// shows nothing; without a readable sysinfo it changes nothing.
void LoadSettings(App& app);

// Numbers the visible items of the basic-data, inbound and outbound menus and
// of the accounts menu ("&" + n + "." + caption), replacing an earlier number.
void NumberMainMenu(MenuModel& menus);

// The main menu item of a document type ("Menu_BB0" ...): visible while the
// type is in use, captioned with its access prefix and name.
QString DocTypeMenuItem(DocType type);

// The text of settings row `id` when the row exists and its value is not 0,
// else "" (also for a row without text). Throws DbError when sysinfo cannot be read.
QString SettingText(const Database& db, int id);

// The number in settings row `id`: 0 when the row is missing or empty, or
// when sysinfo cannot be read.
double SettingValue(const Database& db, int id);

// The stored text of settings row `id`, whatever its number: "" when the row
// is missing or has no text, or when sysinfo cannot be read.
QString SettingStoredText(const Database& db, int id);
