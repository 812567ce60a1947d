#pragma once
// Backup copies of an account set. A copy has the set's schema and password;
// every copy made by hand or at exit keeps only the top administrator "001".
// Copies by hand are named "备份" + set name + yyyyMMdd + ".vxs" and offered in
// the automatic-backup folder (setting 8195 when it names a usable folder,
// else the backup folder); setting 876 holds the interval of the automatic
// backup in days and the date of the last one.

#include <QDate>
#include <QString>
#include <optional>

class Database;
struct App;

// Placeholder of setting 876 before any automatic backup.
inline const QString NoBackupYetText = QStringLiteral("还没有备份记录");

// "备份" + CurrentSetName + yyyyMMdd + ".vxs"; without the set name when the
// set was opened from the command line.
QString BackupFileName(const App& app, const QDate& day);

// The automatic-backup folder, ending in "/": setting 8195 when it names a
// usable folder, else the backup folder of the data folder.
QString AutoBackupFolder(App& app);

// Writes a compacted copy of the open set to the new file `target` with the
// set's password while holding the set to this program alone, then restricts
// the copy to "001". The set stays open throughout. Throws DbError: Busy when
// another instance has the set open; nothing is left at `target` on failure.
void BackupAccountSet(App& app, const QString& target);

// What the automatic-backup tab shows: the interval text ("" before any
// setting) and the last-backup text (NoBackupYetText before any backup).
struct AutoBackupSettings {
    QString days;
    QString lastBackup;
};
AutoBackupSettings LoadAutoBackupSettings(App& app);

// Largest interval the automatic backup takes, in days.
constexpr int MaxBackupIntervalDays = 9999;

// The interval typed in the window: its number value rounded half to even, 0
// for a negative value; nullopt above MaxBackupIntervalDays.
std::optional<int> BackupIntervalDays(const QString& text);

// Whole days from setting 876's number value: rounded half to even, made
// non-negative, at most MaxBackupIntervalDays.
int StoredIntervalDays(double setval);

// Stores the interval and the last-backup text in row 876 and the folder in
// row 8195 (updated when the row exists, else inserted with setval 1), in one
// transaction. Throws DbError.
void SaveAutoBackupSettings(Database& db, int days, const QString& lastBackup, const QString& folder);
