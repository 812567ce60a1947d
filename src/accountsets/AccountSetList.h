#pragma once
// The account sets a user knows: a text file in the user's data folder
// (earlier versions kept it in the program folder, where it is still read
// until the user's own list is written), holding the data folder, whether the chooser is shown at start-up, and a
// display name and file path per set. The set opened last comes first.
//
// File format (GB18030, every line ended by CR LF):
//   "@#" + data folder          optional, written while DataFolder is set
//   "Yes" | "No"                "No": open the first set without the chooser
//   name, path, name, path ...  a path below the program folder is stored as
//                               "%AppPath%" + the rest, so it survives a move

#include <QString>
#include <QStringList>

struct App;

// The lists of the manager window: names and paths pair by position.
struct AccountSetList {
    QStringList names;
    QStringList paths;
    int selected = -1;
    bool noChooser = false;  // the manager's tick "默认使用该账套，以后不要显示本窗口"

    int count() const { return int(names.size()); }
    QString selectedName() const { return selected >= 0 && selected < count() ? names[selected] : QString(); }
    QString selectedPath() const { return selected >= 0 && selected < count() ? paths[selected] : QString(); }
    // Appends an entry and selects it.
    void add(const QString& name, const QString& path);
    // Removes an entry and selects the first one.
    void removeAt(int index);
};

// Name of the data folder below the home folder.
inline const QString DataFolderName = QStringLiteral("Vorlix批号版账套");
// Name of the backup subfolder of the data folder.
inline const QString BackupFolderName = QStringLiteral("数据备份");

// The user's folder of the list file, ending in "/".
QString AccountSetListFolder();
// Full path of the user's list file: "dbsetup.dat" when present, else the edition's file.
QString AccountSetListPath(const App& app);
// The same name in the program folder, where earlier versions kept the list.
QString OldAccountSetListPath(const App& app);

// File name of the default account set of the edition ("仓库账套.vxs" ...).
QString DefaultSetFileName(const App& app);

// Fills `list` from the list file and selects the first entry; sets DataFolder
// from the file and, in "No" mode, CurrentSetPath and CurrentSetName from the
// first entry. Without a usable list, lists the set in use (CurrentSetPath
// when it is an account set rather than the template) or else the edition's
// default set, made from the template when missing. True when the chooser is
// to be shown.
bool LoadAccountSetList(App& app, AccountSetList& list);

// Rewrites the list file, the selected entry first. The old file is replaced
// only once the new one is complete. False when it could not be written.
bool SaveAccountSetList(const App& app, const AccountSetList& list);

// The message for a list file that could not be written.
QString ListNotSavedText(const App& app);

// The data folder (kind 0) or its backup subfolder (any other kind), created
// when missing, ending in "/"; fills DataFolder when empty or unusable. The
// backup folder falls back to the data folder when it cannot be made.
QString DefaultFolder(App& app, int kind);

// A display name made safe: trims `name` in place, then drops every ASCII
// control character, space and punctuation mark; "" for an empty name.
QString SanitizeSetName(QString& name);
