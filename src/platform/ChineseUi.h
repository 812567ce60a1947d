#pragma once
// Chinese for Qt's own texts: the standard buttons ("确定", "取消"), the file
// and input dialogs, the text fields' context menu, and dates and weekdays,
// whatever the system's locale. Header-only, so that the launcher, which
// links nothing but Qt, uses the very same set-up as the program.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <optional>

// The locale of every text the program formats.
inline QLocale ChineseLocale()
{
    return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
}

// The words of Qt's file-type column that Qt's own Chinese translation lacks
// (the file dialog would show "Folder" among Chinese texts).
class FileTypeWords : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* = nullptr, int = -1) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileSystemModel") != 0)
            return QString();
        static const struct {
            const char* source;
            const char* chinese;
        } words[] = {{"Folder", "文件夹"},   {"File Folder", "文件夹"}, {"Drive", "驱动器"},
                     {"Unknown", "未知"},     {"Shortcut", "快捷方式"},  {"Alias", "替身"},
                     {"%1 File", "%1 文件"}};
        for (const auto& w : words)
            if (qstrcmp(source, w.source) == 0)
                return QString::fromUtf8(w.chinese);
        return QString();
    }
};

// The user's LC_ALL while the application starts (see UseChineseSystemLocale).
inline std::optional<QByteArray>& SavedLcAll()
{
    static std::optional<QByteArray> saved;
    return saved;
}

// Call before the QApplication is made. Qt's own dialogs format some texts
// with the system's locale rather than the program's (the file dialog's
// dates and month names), and read it from the environment once: the
// program starts with a Chinese one. UseChineseUi puts the user's setting
// back, so programs started later get the user's own locale.
inline void UseChineseSystemLocale()
{
    SavedLcAll() = qEnvironmentVariableIsSet("LC_ALL") ? std::optional<QByteArray>(qgetenv("LC_ALL"))
                                                       : std::optional<QByteArray>(QByteArray());
    qputenv("LC_ALL", "zh_CN.UTF-8");
}

// Call once the QApplication exists: settles Qt's system locale as Chinese
// and gives the environment the user's LC_ALL back.
inline void KeepChineseSystemLocale()
{
    if (!SavedLcAll())
        return;
    (void)QLocale::system();  // read while the environment names Chinese
    if (SavedLcAll()->isEmpty())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", *SavedLcAll());
    SavedLcAll().reset();
}

// Makes Chinese the default locale and installs Qt's own Chinese translations
// (Debian's qt6-translations-l10n) for `app`. False when the translations
// could not be loaded; the program then shows Qt's texts in English.
inline bool UseChineseUi(QCoreApplication& app)
{
    QLocale::setDefault(ChineseLocale());
    KeepChineseSystemLocale();
    QCoreApplication::installTranslator(new FileTypeWords(&app));
    auto* qt = new QTranslator(&app);
    if (!qt->load(ChineseLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}
