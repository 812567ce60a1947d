#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace {

// A web or mail address rather than a file path. The scheme has at least two
// letters, so a drive-like "C:" stays a path.
bool isAddress(const QString& s)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(s).hasMatch() || s.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

// Hands a URL to the desktop; where the platform plugin cannot open addresses
// (no desktop session), xdg-open is asked directly.
bool openUrl(const QUrl& url)
{
    if (QDesktopServices::openUrl(url))
        return true;
    const QString opener = FindProgram({QStringLiteral("xdg-open")});
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString()});
}

}  // namespace

bool OpenDocument(const QString& fileOrAddress)
{
    const QString s = fileOrAddress.trimmed();
    if (s.isEmpty())
        return false;
    QUrl url;
    if (isAddress(s)) {
        url = s.startsWith(QLatin1String("www."), Qt::CaseInsensitive) ? QUrl(QStringLiteral("http://") + s) : QUrl(s);
        if (!url.isValid())
            return false;
    } else {
        url = QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
    }
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return openUrl(url);
}

bool StartProgram(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments, workingFolder);
}

bool RunProgramToEnd(const QString& program, const QStringList& arguments, int timeoutMs)
{
    if (program.isEmpty())
        return false;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, arguments);
    if (!p.waitForStarted())
        return false;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ShowInFileManager(const QString& path)
{
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.isFile())
        return false;
    const QString file = fi.absoluteFilePath();

    // File managers that open the folder with the file selected; the desktop's
    // own one first.
    struct Manager {
        const char* program;
        const char* selectOption;  // nullptr: the file itself as argument selects it
    };
    std::vector<Manager> managers = {{"nautilus", "--select"}, {"nemo", nullptr}, {"dolphin", "--select"}};
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("KDE"), Qt::CaseInsensitive))
        std::rotate(managers.begin(), managers.begin() + 2, managers.end());
    for (const Manager& m : managers) {
        const QString exe = FindProgram({QString::fromLatin1(m.program)});
        if (exe.isEmpty())
            continue;
        QStringList args;
        if (m.selectOption)
            args << QString::fromLatin1(m.selectOption);
        args << file;
        if (QProcess::startDetached(exe, args))
            return true;
    }
    return openUrl(QUrl::fromLocalFile(fi.absolutePath()));
}

QString FindProgram(const QStringList& names)
{
    for (const QString& name : names) {
        const QString exe = QStandardPaths::findExecutable(name);
        if (!exe.isEmpty())
            return exe;
    }
    return QString();
}
