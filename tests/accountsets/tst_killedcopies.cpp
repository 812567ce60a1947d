#include "accountsets/AccountSetFiles.h"
#include "accountsets/AutoBackup.h"
#include "accountsets/Backup.h"
#include "accountsets/Compact.h"
#include "accountsets/Restore.h"
#include "accountsets/YearEndForm.h"
#include "core/AccountSetOpen.h"
#include "core/App.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "platform/WholeFile.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>

// Every copy the program writes, killed (SIGKILL) at random moments in a
// child process: no partial file is ever left under a real name, the set
// itself stays whole, and whatever is left either is refused by restore or
// holds every row.
class TestKilledCopies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void killedCopiesLeaveNoPartialFile_data();
    void killedCopiesLeaveNoPartialFile();
    void partialCopyOfAnEarlierVersionIsRefused_data();
    void partialCopyOfAnEarlierVersionIsRefused();
    void backupUnderAnExistingNameIsRefused();
    void leftoversGoAtTheNextCopyOrOpen_data();
    void leftoversGoAtTheNextCopyOrOpen();

private:
    QTemporaryDir books;
    QString book;        // the set every round starts from
    QString restoreSource;  // a whole backup with fewer lines
    int bookLines = 0;
    int sourceLines = 0;
};

namespace {

const QString SetName = QStringLiteral("测试");

// One round's folders: the program, the data folder with the set, the
// folder the copies go to, and the backup to restore from.
struct Round {
    explicit Round(const QString& root)
        : program(root + QStringLiteral("/program/")), data(root + QStringLiteral("/data/")),
          out(root + QStringLiteral("/out/")), set(data + QStringLiteral("set.vxs"))
    {
        QDir().mkpath(program);
        QDir().mkpath(data);
        QDir().mkpath(out);
    }
    QString program, data, out, set;
    QStringList args() const { return {program, data, out, set}; }
};

int lineCount(const QString& path)
{
    Database db;
    db.open(path);
    return db.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt();
}

// Refused by restore (false), or accepted with `lines` lines (true); fails
// the test when restore would take a copy that lacks rows.
bool restoreTakes(const QString& file, int lines, QString* why)
{
    try {
        CheckSourceHasNoJournal(file);
        // Restore checks its own staging copy; the copy left behind must not
        // be touched (opening it would roll a journal back).
        const QString scratch = file + QStringLiteral(".check");
        QFile::remove(scratch);
        if (!QFile::copy(file, scratch)) {
            *why = QStringLiteral("cannot copy ") + file;
            return false;
        }
        try {
            CheckWholeAccountSet(scratch, Database::DefaultPassword);
        } catch (...) {
            QFile::remove(scratch);
            throw;
        }
        const int found = lineCount(scratch);
        QFile::remove(scratch);
        if (found != lines)
            *why = QStringLiteral("restore accepts %1 with %2 of %3 lines").arg(file).arg(found).arg(lines);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

App& openApp(App& app, const QStringList& args)
{
    app.AppFolder = args[0];
    app.DataFolder = args[1];
    app.CurrentSetPath = args[3];
    app.CurrentSetName = SetName;
    app.OperatorCode = QStringLiteral("001");
    OpenAccountSetFile(app, app.CurrentSetPath);
    return app;
}

// Says when the copy starts, so the parent kills inside the copy and not
// while the child is still starting up.
void announce()
{
    std::fputs("go\n", stdout);
    std::fflush(stdout);
}

class SilentMessages : public MessageSink {
public:
    int msgBox(const QString&, int, const QString&) override { return MB::OK; }
    InputAnswer inputBox(const QString&, const QString&, const QString&) override { return {}; }
};

// Child jobs: args are the round's program, data and output folders and the set.
int runJob(const QString& kind, const QStringList& args)
{
    InstallMessages(std::make_unique<SilentMessages>());
    App app;
    try {
        if (kind == QLatin1String("backup")) {
            openApp(app, args);
            announce();
            BackupAccountSet(app, args[2] + QStringLiteral("备份测试.vxs"));
        } else if (kind == QLatin1String("managerbackup")) {
            announce();
            BackupSetFile(args[3], args[2] + QStringLiteral("备份测试.vxs"));
        } else if (kind == QLatin1String("autobackup")) {
            openApp(app, args);
            announce();
            AutoBackup(app);
        } else if (kind == QLatin1String("compact")) {
            app.DataFolder = args[1];
            app.CurrentSetName = SetName;
            const QString safety = SafetyCopyPath(app, QDateTime::currentDateTime());
            announce();
            CompactAccountSetFile(args[3], safety);
        } else if (kind == QLatin1String("yearend")) {
            // The year-end window's backup button, through the backup window.
            openApp(app, args);
            DialogScript dialogs;
            dialogs.saveFile(args[2] + QStringLiteral("备份测试.vxs"));
            YearEnd window(app);
            WhenModal([](QWidget* w) {
                if (auto* start = w->findChild<QPushButton*>(QStringLiteral("Command3"))) {
                    announce();
                    start->click();
                }
                w->close();
            });
            window.findChild<QPushButton*>(QStringLiteral("Cmd0"))->click();
        } else if (kind == QLatin1String("restore")) {
            openApp(app, args);
            announce();
            RestoreAccountSet(app, args[1] + QStringLiteral("../source.vxs"));
        } else {
            return 2;
        }
    } catch (const DbError& e) {
        std::fputs(e.what(), stderr);
        return 1;
    }
    return 0;
}

const bool registered = [] {
    for (const char* kind : {"backup", "managerbackup", "autobackup", "compact", "yearend", "restore"})
        RegisterChildJob(kind, [k = QString::fromLatin1(kind)](const QStringList& args) { return runJob(k, args); });
    return true;
}();

// Fills a fresh set with enough lines that a copy takes a noticeable time.
void fillBook(Database& db, int documents, int linesPerDocument)
{
    Transaction tx(db);
    db.execute(QStringLiteral(
                   "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
                   "INSERT INTO TB1 (F1, F2, F3, F6, LB, SRT) "
                   "SELECT 'RK' || i, '2024-01-01', 'A001', '系统管理员', 1, 'S20240101' || substr('0000' || i, -4) FROM n"),
               {documents});
    db.execute(QStringLiteral(
                   "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
                   "INSERT INTO TB11 (F0, Oid, F1, F9, F5, F6, SRT) "
                   "SELECT 'RK' || (i / ?), i % ?, 'G' || (i % 97), hex(randomblob(80)), 1, 1, 'S' || i FROM n"),
               {documents * linesPerDocument, linesPerDocument, linesPerDocument});
    tx.commit();
}

// The files a round left in `folder`: real names and hidden partial copies,
// without journals and lock files.
QStringList copiesIn(const QString& folder)
{
    QStringList files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (!name.endsWith(QLatin1String("-journal")) && !name.endsWith(QLatin1String(".lock")) &&
            !name.endsWith(QLatin1String(".check")))
            files << folder + QLatin1Char('/') + name;
    return files;
}

bool isRealName(const QString& path)
{
    return !QFileInfo(path).fileName().startsWith(QLatin1Char('.'));
}

}  // namespace

void TestKilledCopies::initTestCase()
{
    QVERIFY(books.isValid());
    FreshAccountSet set;
    fillBook(set.db(), 400, 100);
    bookLines = 400 * 100;
    set.db().close();
    book = books.path() + QStringLiteral("/book.vxs");
    QVERIFY(QFile::copy(set.setPath(), book));

    restoreSource = books.path() + QStringLiteral("/source.vxs");
    QVERIFY(QFile::copy(book, restoreSource));
    Database source;
    source.open(restoreSource);
    source.execute(QStringLiteral("DELETE FROM TB11 WHERE Oid = 0"));
    sourceLines = source.scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt();
}

void TestKilledCopies::killedCopiesLeaveNoPartialFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("copies");  // which folder of the round holds the copies
    QTest::newRow("backup") << "backup" << "out";
    QTest::newRow("account-set manager's backup") << "managerbackup" << "out";
    QTest::newRow("automatic backup") << "autobackup" << "out";
    QTest::newRow("compaction's safety copy") << "compact" << "data/数据备份";
    QTest::newRow("year-end's backup") << "yearend" << "out";
    QTest::newRow("restore's staging copy") << "restore" << "data";
}

void TestKilledCopies::killedCopiesLeaveNoPartialFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, copies);
    const bool restoring = kind == QLatin1String("restore");

    auto prepare = [&](const QString& root) {
        Round r(root);
        QFile::copy(book, r.set);
        QFile::copy(restoreSource, root + QStringLiteral("/source.vxs"));
        Database db;
        db.open(r.set);
        db.execute(QStringLiteral("DELETE FROM sysinfo WHERE ID IN (876, 8195)"));
        db.execute(QStringLiteral("INSERT INTO sysinfo (ID, setval, setstr) VALUES (876, 0, ''), (8195, 1, ?)"), {r.out});
        return r;
    };
    auto start = [&](QProcess& child, const Round& r) {
        child.start(QCoreApplication::applicationFilePath(), ChildJobArguments(kind, r.args()));
        return child.waitForStarted() && child.waitForReadyRead(20000);
    };

    // One run to the end: the copy is made, and how long it takes bounds the
    // moments at which the later rounds are killed.
    qint64 fullRunMs = 0;
    {
        QTemporaryDir root;
        const Round r = prepare(root.path());
        QProcess child;
        QVERIFY(start(child, r));
        QElapsedTimer t;
        t.start();
        QVERIFY(child.waitForFinished(60000));
        fullRunMs = t.elapsed();
        QCOMPARE(child.exitCode(), 0);
        const QStringList made = copiesIn(root.path() + QLatin1Char('/') + copies);
        if (!restoring) {
            QVERIFY2(std::count_if(made.begin(), made.end(), isRealName) >= 1, qPrintable(made.join(u',')));
        }
        QCOMPARE(lineCount(r.set), restoring ? sourceLines : bookLines);
    }

    // Kill at random moments of the copy; a few seconds for each kind.
    QElapsedTimer budget;
    budget.start();
    int rounds = 0;
    while (rounds < 4 || (rounds < 25 && budget.elapsed() < 4000)) {
        ++rounds;
        QTemporaryDir root;
        const Round r = prepare(root.path());
        QProcess child;
        QVERIFY(start(child, r));
        const int delay = int(QRandomGenerator::global()->bounded(quint32(fullRunMs + 1)));
        QThread::msleep(ulong(delay));
        child.kill();
        QVERIFY(child.waitForFinished(20000));

        // The set itself: whole, with the lines of before or, for restore, of the copy.
        QString why;
        const int setLines = lineCount(r.set);
        QVERIFY2(setLines == bookLines || (restoring && setLines == sourceLines),
                 qPrintable(QStringLiteral("round %1 (%2 ms): the set has %3 lines").arg(rounds).arg(delay).arg(setLines)));
        // Every copy left: whole under a real name; restore refuses a partial one.
        const int expected = restoring ? sourceLines : bookLines;
        for (const QString& file : copiesIn(root.path() + QLatin1Char('/') + copies)) {
            if (QFileInfo(file) == QFileInfo(r.set))
                continue;
            const bool taken = restoreTakes(file, expected, &why);
            QVERIFY2(why.isEmpty(), qPrintable(QStringLiteral("round %1 (%2 ms): ").arg(rounds).arg(delay) + why));
            if (isRealName(file))
                QVERIFY2(taken, qPrintable(QStringLiteral("round %1 (%2 ms): %3 is not whole").arg(rounds).arg(delay).arg(file)));
        }
        // The next copy written in that folder clears what the killed one
        // left: no hidden file, no journal of one.
        const QString folder = root.path() + QLatin1Char('/') + copies;
        RemovePartialLeftovers(folder);
        const QStringList hidden = QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(QStringLiteral("^\\.")));
        QVERIFY2(hidden.isEmpty(), qPrintable(QStringLiteral("round %1 (%2 ms): ").arg(rounds).arg(delay) + hidden.join(u',')));
    }
}

void TestKilledCopies::partialCopyOfAnEarlierVersionIsRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("journal beside it") << "journal";
    QTest::newRow("headers without lines") << "no lines";
    QTest::newRow("stopped before the operators") << "no operators";
    QTest::newRow("empty file") << "empty";
}

// Copies that an interrupted copy of an earlier version left under a real
// name: restore refuses each with a clear message and the set stays as it was.
void TestKilledCopies::partialCopyOfAnEarlierVersionIsRefused()
{
    QFETCH(QString, damage);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    fillBook(set.db(), 3, 4);
    const QString copy = set.folder() + QStringLiteral("备份测试20240101.vxs");
    BackupAccountSet(set.app(), copy);
    if (damage == QLatin1String("journal")) {
        QFile journal(copy + QStringLiteral("-journal"));
        QVERIFY(journal.open(QIODevice::WriteOnly));
        journal.write(QByteArray(512, '\x01'));
    } else if (damage == QLatin1String("empty")) {
        QFile f(copy);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    } else {
        Database db;
        db.open(copy);
        db.execute(damage == QLatin1String("no lines") ? QStringLiteral("DELETE FROM TB11")
                                                       : QStringLiteral("DELETE FROM TE1"));
    }
    try {
        RestoreAccountSet(set.app(), copy);
        QFAIL("a partial copy was restored");
    } catch (const DbError& e) {
        QVERIFY2(e.description().contains(QStringLiteral("不是完整的账套备份")) ||
                     e.description().contains(QStringLiteral("不是有效的账套文件")),
                 qPrintable(e.description()));
    }
    QVERIFY(set.db().isOpen());
    QCOMPARE(set.db().scalar(QStringLiteral("SELECT count(*) FROM TB11")).toInt(), 12);
}

// A backup never replaces a file that is already there under its name.
void TestKilledCopies::backupUnderAnExistingNameIsRefused()
{
    FreshAccountSet set;
    const QString copy = set.folder() + QStringLiteral("备份.vxs");
    QFile f(copy);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    QVERIFY_THROWS_EXCEPTION(DbError, BackupAccountSet(set.app(), copy));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep"));
    QCOMPARE(QDir(set.folder()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".备份.vxs.")).size(), 0);
}

void TestKilledCopies::leftoversGoAtTheNextCopyOrOpen_data()
{
    QTest::addColumn<bool>("byOpening");
    QTest::newRow("next backup in the folder") << false;
    QTest::newRow("opening the set beside them") << true;
}

// What a killed copy left (a hidden partial file and its journal) goes the
// next time a copy is written in that folder, or the set beside it is opened.
void TestKilledCopies::leftoversGoAtTheNextCopyOrOpen()
{
    QFETCH(bool, byOpening);
    FreshAccountSet set;
    set.loginAs(QStringLiteral("001"));
    const QString folder = QFileInfo(set.setPath()).absolutePath() + QLatin1Char('/');
    const QString leftover = folder + QStringLiteral(".备份测试.vxs.k1LLed.vxpart");
    for (const QString& path : {leftover, leftover + QStringLiteral("-journal")}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\x01'));
    }
    if (byOpening)
        OpenAccountSetFile(set.app(), set.setPath());
    else
        BackupAccountSet(set.app(), folder + QStringLiteral("备份测试.vxs"));
    QVERIFY(!QFileInfo::exists(leftover));
    QVERIFY(!QFileInfo::exists(leftover + QStringLiteral("-journal")));
    QVERIFY(set.db().isOpen());
}

VX_REGISTER_TEST(TestKilledCopies)
#include "tst_killedcopies.moc"
