#include "platform/UserSettings.h"

#include "platform/UserSettingsPath.h"

QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& defaultValue)
{
    const auto settings = OpenUserSettings(app);
    settings->beginGroup(section);
    return settings->value(key, defaultValue).toString();
}

void SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value)
{
    const auto settings = OpenUserSettings(app);
    settings->beginGroup(section);
    settings->setValue(key, value);
    settings->endGroup();
    settings->sync();
}

void DeleteSetting(const QString& app, const QString& section, const QString& key)
{
    if (section.isEmpty() && key.isEmpty())
        return;  // QSettings would read this as "everything"
    const auto settings = OpenUserSettings(app);
    if (key.isEmpty()) {
        settings->remove(section);
    } else {
        settings->beginGroup(section);
        settings->remove(key);
        settings->endGroup();
    }
    settings->sync();
}
