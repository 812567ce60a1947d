#pragma once
// Compaction of account-set files. The engine's compaction rewrites a file
// smaller and also repairs a damaged one; it never works in place: it writes
// a dated safety copy into the backup folder, and a copy of that is renamed
// over the file, so the file stays whole whatever fails. Setting 877 records
// the size in KB after the last compaction and its date.

#include <QDateTime>
#include <QString>

class Database;
struct App;

// The file's length in KB (bytes / 1024 rounded half to even); 0 when it is missing.
qint64 FileSizeKB(const QString& path);

// "1024 KB" up to 1024 KB, above that MB with at most three decimals
// rounded half to even ("1.001 MB", "2 MB").
QString SizeText(qint64 kb);

// The safety copy of a compaction at `now`: the backup folder + CurrentSetName
// + month, day, hour, minute and second without leading zeros + ".vxs".
QString SafetyCopyPath(App& app, const QDateTime& now);

// Compacts the closed account-set file `path` into the new file `safetyCopy`
// while holding the set alone, then puts a copy of the safety copy in place of
// `path` by one rename; the safety copy stays. Throws FileSwapError when the
// copy or the rename fails (the file as it was, the safety copy made), or
// DbError (Busy while another instance has the set open, NotADatabase when
// the file holds no account set to save, as an empty file; nothing changed).
void CompactAccountSetFile(const QString& path, const QString& safetyCopy);

// Size in KB recorded by the last compaction (0 when none) and its date text.
qint64 RecordedCompactionKB(const Database& db);
QString RecordedCompactionDate(const Database& db);

// Records a compaction: row 877 becomes `kb` and today's date. Throws DbError.
void RecordCompaction(Database& db, qint64 kb);
