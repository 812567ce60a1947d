#include "shell/FileAssociation.h"

#include "platform/ProgramIcon.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

void writeFile(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}

// A desktop-entry Exec argument: quoted, so that a program folder with blanks stays one path.
QString execArgument(const QString& path)
{
    QString s = path;
    for (const char* special : {"\\", "\"", "`", "$"})
        s.replace(QString::fromLatin1(special), QLatin1Char('\\') + QString::fromLatin1(special));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

}  // namespace

void RegisterFileAssociation(const QString& program)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return;
    const QString mime = QString::fromLatin1(AccountSetMimeType);

    writeFile(data + QStringLiteral("/mime/packages/vorlixan.xml"),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"%1\">\n"
                             "    <comment>Vorlix账套文件</comment>\n"
                             "    <glob pattern=\"*.vxs\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n")
                  .arg(mime));

    // The desktop shows account-set files with the program's own icon.
    const QString icon = data + QStringLiteral("/icons/hicolor/128x128/apps/vorlixstore.png");
    QDir().mkpath(QFileInfo(icon).absolutePath());
    ProgramIconPixmap(128).save(icon, "PNG");

    writeFile(data + QStringLiteral("/applications/vorlixan.desktop"),
              QStringLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Vorlix账套文件\n"
                             "Exec=%1 %f\n"
                             "Icon=%2\n"
                             "MimeType=%3;\n"
                             "NoDisplay=true\n"
                             "Terminal=false\n")
                  .arg(execArgument(program), icon, mime));

    // Waited for (it takes a moment): a program left running after the exit
    // would still be writing into the folder when it goes away.
    const QString updater = FindProgram({QStringLiteral("update-mime-database")});
    if (!updater.isEmpty())
        RunProgramToEnd(updater, {data + QStringLiteral("/mime")}, 10000);
}
