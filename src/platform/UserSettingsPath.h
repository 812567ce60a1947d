#pragma once
// Where a per-user setting lives: one settings file per application under the
// organisation "Vorlix", one group per section. Header-only, so that the
// launcher reads the main program's path through the very same layout without
// linking the platform library.

#include <QSettings>
#include <QString>
#include <memory>

// The file name of an application's settings. Some applications are named by
// a file path (the last operator is kept per account-set path), so the
// characters that would split or escape the name are percent-encoded.
inline QString UserSettingsFileName(const QString& app)
{
    QString name;
    name.reserve(app.size());
    for (const QChar c : app) {
        if (c == QLatin1Char('%') || c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            name += QLatin1Char('%') + QString::number(c.unicode(), 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else
            name += c;
    }
    return name;
}

// The per-user settings of one application, positioned nowhere (callers open
// the section as a group).
inline std::unique_ptr<QSettings> OpenUserSettings(const QString& app)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vorlix"),
                                       UserSettingsFileName(app));
}
