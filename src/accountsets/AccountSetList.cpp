#include "accountsets/AccountSetList.h"

#include "accountsets/AccountSetFiles.h"
#include "core/App.h"
#include "core/Files.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QString AppPathMarker = QStringLiteral("%AppPath%");
const QString FolderMarker = QStringLiteral("@#");
const QString TemplateName = QStringLiteral("nousit.dat");

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Trims blanks only, as the flag line and names are compared.
QString trimBlanks(const QString& s)
{
    int from = 0;
    int to = int(s.size());
    while (from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

// The lines of a text file; a final line end does not start another line.
std::optional<QStringList> readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringDecoder decoder("GB18030");
    QString text = decoder(bytes);
    QStringList lines;
    if (text.isEmpty())
        return lines;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

QString storedPath(const App& app, const QString& path)
{
    if (!app.AppFolder.isEmpty() && path.startsWith(app.AppFolder))
        return AppPathMarker + path.mid(app.AppFolder.size());
    return path;
}

QString readPath(const App& app, const QString& line)
{
    if (line.left(AppPathMarker.size()) == AppPathMarker)
        return app.AppFolder + line.mid(AppPathMarker.size());
    return line;
}

// Without a usable list: the set in use stays listed as it is (never swapped
// for a copy of itself); otherwise the edition's default set is listed,
// made from the template when it is missing.
void listDefaultSet(App& app, AccountSetList& list)
{
    if (app.DataFolder.isEmpty())
        DefaultFolder(app, 0);
    const QString templatePath = app.AppFolder + TemplateName;
    const bool setInUse = !app.CurrentSetPath.isEmpty() && app.CurrentSetPath != templatePath &&
                          !FileExists(app.CurrentSetPath).isEmpty();
    if (!setInUse) {
        const QString p = app.DataFolder + DefaultSetFileName(app);
        if (FileExists(p).isEmpty())
            CreateAccountSetFromTemplate(app, p);
        app.CurrentSetPath = p;
    }
    list.names.append(app.CurrentSetName);
    list.paths.append(app.CurrentSetPath);
}

}  // namespace

void AccountSetList::add(const QString& name, const QString& path)
{
    names.append(name);
    paths.append(path);
    selected = count() - 1;
}

void AccountSetList::removeAt(int index)
{
    if (index < 0 || index >= count())
        return;
    names.removeAt(index);
    paths.removeAt(index);
    selected = count() > 0 ? 0 : -1;
}

namespace {

// The list file's name in `folder`: "dbsetup.dat" when present, else the edition's.
QString listFileIn(const App& app, const QString& folder)
{
    const QString dbsetup = folder + QStringLiteral("dbsetup.dat");
    if (!FileExists(dbsetup).isEmpty())
        return dbsetup;
    if (app.AppTitle.indexOf(QStringLiteral("仓库")) > 0)
        return folder + QStringLiteral("ckdblst.dat");
    if (app.AppTitle.indexOf(QStringLiteral("进销存")) > 0)
        return folder + QStringLiteral("jxcdblst.dat");
    return folder + QStringLiteral("vorlolst.dat");
}

}  // namespace

QString AccountSetListFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Vorlix/");
}

QString AccountSetListPath(const App& app)
{
    return listFileIn(app, AccountSetListFolder());
}

QString OldAccountSetListPath(const App& app)
{
    return listFileIn(app, app.AppFolder);
}

QString DefaultSetFileName(const App& app)
{
    return app.AppTitle.indexOf(QStringLiteral("仓库")) > 0 ? QStringLiteral("仓库账套.vxs")
                                                           : QStringLiteral("进出存账套.vxs");
}

bool LoadAccountSetList(App& app, AccountSetList& list)
{
    list.names.clear();
    list.paths.clear();
    list.selected = -1;
    list.noChooser = false;

    bool showChooser = true;
    // A list kept in the program folder by earlier versions is read until
    // the user's own list has been written.
    QString file = AccountSetListPath(app);
    if (FileExists(file).isEmpty())
        file = OldAccountSetListPath(app);
    const auto lines = FileExists(file).isEmpty() ? std::nullopt : readLines(file);
    if (lines) {
        int i = 0;
        QString line = lines->value(0);
        if (line.startsWith(FolderMarker)) {
            app.DataFolder = line.mid(FolderMarker.size());
            app.DataFolder = FolderUsable(app.DataFolder).isEmpty() ? QString() : withSlash(app.DataFolder);
            if (lines->size() > 1)
                line = lines->at(++i);
        } else {
            app.DataFolder.clear();
        }
        showChooser = trimBlanks(line) != QLatin1String("No");
        for (++i; i < lines->size(); i += 2) {
            list.names.append(lines->at(i));
            // A name without a path line serves as its own path.
            list.paths.append(readPath(app, i + 1 < lines->size() ? lines->at(i + 1) : lines->at(i)));
        }
        if (!showChooser && list.count() > 0) {
            app.CurrentSetPath = list.paths.first();
            app.CurrentSetName = list.names.first();
        }
    }
    if (!lines || list.count() == 0) {
        showChooser = true;
        listDefaultSet(app, list);
    }
    list.selected = 0;
    return showChooser;
}

bool SaveAccountSetList(const App& app, const AccountSetList& list)
{
    QStringList lines;
    if (!app.DataFolder.isEmpty())
        lines << FolderMarker + app.DataFolder;
    lines << (list.noChooser ? QStringLiteral("No") : QStringLiteral("Yes"));
    if (list.selected >= 0 && list.selected < list.count())
        lines << list.names[list.selected] << storedPath(app, list.paths[list.selected]);
    for (int i = 0; i < list.count(); ++i)
        if (i != list.selected)
            lines << list.names[i] << storedPath(app, list.paths[i]);

    QStringEncoder encoder("GB18030");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += encoder(line) + QByteArrayLiteral("\r\n");

    QDir().mkpath(AccountSetListFolder());
    QSaveFile f(AccountSetListPath(app));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(bytes);
    return f.commit();
}

QString ListNotSavedText(const App& app)
{
    return QStringLiteral("无法写入账套列表文件[") + AccountSetListPath(app) +
           QStringLiteral("]！本次对账套列表的修改没有保存，请检查您对该文件所在文件夹的写入权限。");
}

QString DefaultFolder(App& app, int kind)
{
    if (app.DataFolder.isEmpty())
        app.DataFolder = HomeDataFolder(DataFolderName);
    if (FolderUsable(app.DataFolder).isEmpty()) {
        QDir().mkpath(app.DataFolder);
        if (FolderUsable(app.DataFolder).isEmpty())
            app.DataFolder = HomeDataFolder(DataFolderName);
    }
    app.DataFolder = withSlash(app.DataFolder);
    if (kind == 0)
        return app.DataFolder;
    const QString backup = app.DataFolder + BackupFolderName;
    QDir().mkpath(backup);
    return FolderUsable(backup).isEmpty() ? app.DataFolder : withSlash(backup);
}

QString SanitizeSetName(QString& name)
{
    name = trimBlanks(name);
    QString result;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        const bool dropped = u <= 47 || (u >= 58 && u <= 64) || (u >= 91 && u <= 96) || (u >= 123 && u <= 127);
        if (!dropped)
            result += c;
    }
    return result;
}
