#pragma once
// Chinese for Qt's own texts: the standard buttons ("确定", "取消"), the file
// and input dialogs, the text fields' context menu, and dates and weekdays,
// whatever the system's locale. Header-only, so that the launcher, which
// links nothing but Qt, uses the very same set-up as the program.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// The locale of every text the program formats.
inline QLocale ChineseLocale()
{
    return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
}

// Makes Chinese the default locale and installs Qt's own Chinese translations
// (Debian's qt6-translations-l10n) for `app`. False when the translations
// could not be loaded; the program then shows Qt's texts in English.
inline bool UseChineseUi(QCoreApplication& app)
{
    QLocale::setDefault(ChineseLocale());
    auto* qt = new QTranslator(&app);
    if (!qt->load(ChineseLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}
