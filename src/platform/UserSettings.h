#pragma once
// Per-user settings by application, section and key, kept in the user's
// configuration folder (see UserSettingsPath.h for the layout). Values are
// text; a missing key reads as the default. Features that keep a setting
// declare it once with its default beside the code that uses it.

#include <QString>

// The value of a setting, or `defaultValue` when it was never saved.
QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Saves a setting at once (the file is written before this returns).
void SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value);
// Removes one setting; an empty key removes the whole section. Missing ones are ignored.
void DeleteSetting(const QString& app, const QString& section, const QString& key = QString());
