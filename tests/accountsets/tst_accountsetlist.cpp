#include "accountsets/AccountSetList.h"
#include "core/App.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

namespace {

QByteArray gb(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder(text);
}

void writeListFile(const QString& path, const QStringList& lines)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QString& line : lines)
        f.write(gb(line) + "\r\n");
}

QStringList readListFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder("GB18030");
    QString text = decoder(f.readAll());
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QString homeDataFolder()
{
    return QDir::homePath() + QStringLiteral("/Vorlix批号版账套/");
}

// Run as a normal user with a read-only program folder: reads the list (the
// old one in the program folder), adds a set and saves. Exit code 0 when the
// list was saved.
int listAsUser(const QStringList& args)
{
    App app;
    app.AppFolder = args.value(0);
    app.CurrentSetPath = app.AppFolder + QStringLiteral("nousit.dat");
    app.CurrentSetName = QStringLiteral("仓库账套");
    AccountSetList list;
    LoadAccountSetList(app, list);
    list.add(QStringLiteral("新账套"), app.DataFolder + QStringLiteral("新账套.vxs"));
    return SaveAccountSetList(app, list) ? 0 : 3;
}

const bool registered = (RegisterChildJob("listAsUser", listAsUser), true);

}  // namespace

// The list file: its name by edition, its format, and the default set made
// when no usable list exists.
class TestAccountSetList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void listFileFollowsEdition_data();
    void listFileFollowsEdition();
    void roundTripKeepsEntriesSelectedFirst_data();
    void roundTripKeepsEntriesSelectedFirst();
    void flagLine_data();
    void flagLine();
    void appPathMarker();
    void fileWithoutFolderLineForgetsDataFolder();
    void unknownFolderLineIsDropped();
    void trailingNameServesAsPath();
    void missingFileCreatesDefaultSetFromTemplate();
    void missingFileWhileSetOpenListsThatSet();
    void noModeWithoutEntriesShowsChooser();
    void backupFolderIsMadeBelowDataFolder();
    void sanitizeSetName_data();
    void sanitizeSetName();
    void oldListInTheProgramFolderIsReadUntilTheUsersIsWritten();
    void normalUserWithReadOnlyProgramFolderKeepsTheList();

private:
    std::unique_ptr<FreshAccountSet> set;
    App& app() { return set->app(); }
};

void TestAccountSetList::init()
{
    QDir(homeDataFolder()).removeRecursively();
    set = std::make_unique<FreshAccountSet>();
    // Start-up state: nothing open, the template as the path to open.
    app().CurrentDatabase.close();
    app().CurrentSetPath = app().AppFolder + QStringLiteral("nousit.dat");
    app().CurrentSetName = QStringLiteral("仓库账套");
    app().AppTitle = QStringLiteral("Vorlix仓库管理系统");
}

void TestAccountSetList::listFileFollowsEdition_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("dbsetup");
    QTest::addColumn<QString>("file");
    QTest::newRow("warehouse") << "Vorlix仓库管理系统" << false << "ckdblst.dat";
    QTest::newRow("stock trade") << "Vorlix进销存管理系统" << false << "jxcdblst.dat";
    QTest::newRow("other") << "Vorlix管理系统" << false << "vorlolst.dat";
    QTest::newRow("word at the start does not count") << "仓库管理系统" << false << "vorlolst.dat";
    QTest::newRow("dbsetup.dat wins") << "Vorlix仓库管理系统" << true << "dbsetup.dat";
}

void TestAccountSetList::listFileFollowsEdition()
{
    QFETCH(QString, title);
    QFETCH(bool, dbsetup);
    QFETCH(QString, file);
    app().AppTitle = title;
    if (dbsetup)
        writeListFile(AccountSetListFolder() + QStringLiteral("dbsetup.dat"), {QStringLiteral("Yes")});
    QCOMPARE(AccountSetListPath(app()), AccountSetListFolder() + file);
    QCOMPARE(AccountSetListFolder(), set->userDataFolder() + QStringLiteral("/Vorlix/"));
}

void TestAccountSetList::roundTripKeepsEntriesSelectedFirst_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::newRow("warehouse") << "Vorlix仓库管理系统" << "ckdblst.dat";
    QTest::newRow("stock trade") << "Vorlix进销存管理系统" << "jxcdblst.dat";
    QTest::newRow("other") << "Vorlix管理系统" << "vorlolst.dat";
}

void TestAccountSetList::roundTripKeepsEntriesSelectedFirst()
{
    QFETCH(QString, title);
    QFETCH(QString, file);
    app().AppTitle = title;
    app().DataFolder = set->folder() + QStringLiteral("data/");

    AccountSetList list;
    list.add(QStringLiteral("甲"), set->folder() + QStringLiteral("data/甲.vxs"));
    list.add(QStringLiteral("乙"), set->folder() + QStringLiteral("data/乙.vxs"));
    list.add(QStringLiteral("分公司"), app().AppFolder + QStringLiteral("账套/分公司.vxs"));
    QCOMPARE(list.selected, 2);
    QVERIFY(SaveAccountSetList(app(), list));

    // GB18030, CR LF, the selected entry first, the program folder as a marker.
    const QStringList expected = {QStringLiteral("@#") + app().DataFolder,
                                  QStringLiteral("Yes"),
                                  QStringLiteral("分公司"),
                                  QStringLiteral("%AppPath%账套/分公司.vxs"),
                                  QStringLiteral("甲"),
                                  set->folder() + QStringLiteral("data/甲.vxs"),
                                  QStringLiteral("乙"),
                                  set->folder() + QStringLiteral("data/乙.vxs")};
    QCOMPARE(readListFile(AccountSetListFolder() + file), expected);
    QFile raw(AccountSetListFolder() + file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().startsWith(gb(expected[0]) + "\r\nYes\r\n" + gb(QStringLiteral("分公司")) + "\r\n"));

    AccountSetList read;
    app().DataFolder.clear();
    QVERIFY(LoadAccountSetList(app(), read));
    QCOMPARE(read.names, (QStringList{QStringLiteral("分公司"), QStringLiteral("甲"), QStringLiteral("乙")}));
    QCOMPARE(read.paths.first(), app().AppFolder + QStringLiteral("账套/分公司.vxs"));
    QCOMPARE(read.selected, 0);
    QCOMPARE(app().DataFolder, set->folder() + QStringLiteral("data/"));
}

void TestAccountSetList::flagLine_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("chooser");
    QTest::newRow("No") << "No" << false;
    QTest::newRow("No with blanks") << " No " << false;
    QTest::newRow("lower case") << "no" << true;
    QTest::newRow("upper case") << "NO" << true;
    QTest::newRow("Yes") << "Yes" << true;
}

void TestAccountSetList::flagLine()
{
    QFETCH(QString, flag);
    QFETCH(bool, chooser);
    writeListFile(AccountSetListPath(app()),
                  {flag, QStringLiteral("一号"), set->setPath(), QStringLiteral("二号"), QStringLiteral("/x/2.vxs")});
    AccountSetList list;
    QCOMPARE(LoadAccountSetList(app(), list), chooser);
    QCOMPARE(list.count(), 2);
    // In "No" mode start-up opens the first entry.
    QCOMPARE(app().CurrentSetPath, chooser ? app().AppFolder + QStringLiteral("nousit.dat") : set->setPath());
    QCOMPARE(app().CurrentSetName, chooser ? QStringLiteral("仓库账套") : QStringLiteral("一号"));
}

void TestAccountSetList::appPathMarker()
{
    writeListFile(AccountSetListPath(app()),
                  {QStringLiteral("Yes"), QStringLiteral("a"), QStringLiteral("%AppPath%sub/a.vxs"), QStringLiteral("b"),
                   QStringLiteral("%apppath%sub/b.vxs")});
    AccountSetList list;
    LoadAccountSetList(app(), list);
    QCOMPARE(list.paths, (QStringList{app().AppFolder + QStringLiteral("sub/a.vxs"), QStringLiteral("%apppath%sub/b.vxs")}));

    // Another spelling of the program folder is not the program folder.
    AccountSetList other;
    const QString otherCase = app().AppFolder.toUpper() + QStringLiteral("sub/c.vxs");
    other.add(QStringLiteral("c"), otherCase);
    QVERIFY(SaveAccountSetList(app(), other));
    QCOMPARE(readListFile(AccountSetListPath(app())).last(), otherCase);
}

void TestAccountSetList::fileWithoutFolderLineForgetsDataFolder()
{
    app().DataFolder = set->folder() + QStringLiteral("data/");
    writeListFile(AccountSetListPath(app()), {QStringLiteral("Yes"), QStringLiteral("a"), set->setPath()});
    AccountSetList list;
    LoadAccountSetList(app(), list);
    QVERIFY(app().DataFolder.isEmpty());
    QVERIFY(SaveAccountSetList(app(), list));
    QCOMPARE(readListFile(AccountSetListPath(app())).first(), QStringLiteral("Yes"));
}

void TestAccountSetList::unknownFolderLineIsDropped()
{
    writeListFile(AccountSetListPath(app()),
                  {QStringLiteral("@#/no/such/folder/"), QStringLiteral("Yes"), QStringLiteral("a"), set->setPath()});
    AccountSetList list;
    QVERIFY(LoadAccountSetList(app(), list));
    QVERIFY(app().DataFolder.isEmpty());
    QCOMPARE(list.names, QStringList{QStringLiteral("a")});
}

void TestAccountSetList::trailingNameServesAsPath()
{
    writeListFile(AccountSetListPath(app()),
                  {QStringLiteral("Yes"), QStringLiteral("a"), set->setPath(), QString(), QStringLiteral("/x/e.vxs"),
                   QStringLiteral("孤")});
    AccountSetList list;
    LoadAccountSetList(app(), list);
    QCOMPARE(list.names, (QStringList{QStringLiteral("a"), QString(), QStringLiteral("孤")}));
    QCOMPARE(list.paths.last(), QStringLiteral("孤"));
}

void TestAccountSetList::missingFileCreatesDefaultSetFromTemplate()
{
    app().DataFolder.clear();
    AccountSetList list;
    QVERIFY(LoadAccountSetList(app(), list));

    const QString p = homeDataFolder() + QStringLiteral("仓库账套.vxs");
    QCOMPARE(app().DataFolder, homeDataFolder());
    QCOMPARE(list.names, QStringList{QStringLiteral("仓库账套")});
    QCOMPARE(list.paths, QStringList{p});
    QCOMPARE(app().CurrentSetPath, p);
    Database db;
    db.open(p);  // a copy of the template, writable
    QCOMPARE(db.scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1='000'")).toString(), QStringLiteral("无类别"));
    db.close();

    QVERIFY(SaveAccountSetList(app(), list));
    QCOMPARE(readListFile(AccountSetListFolder() + QStringLiteral("ckdblst.dat")),
             (QStringList{QStringLiteral("@#") + homeDataFolder(), QStringLiteral("Yes"), QStringLiteral("仓库账套"), p}));
    QVERIFY(!QFile::exists(AccountSetListFolder() + QStringLiteral("dbsetup.dat")));
    QVERIFY(!QFile::exists(app().AppFolder + QStringLiteral("ckdblst.dat")));
}

void TestAccountSetList::missingFileWhileSetOpenListsThatSet()
{
    // The main menu reads the list while a set is open; its list file is gone.
    app().CurrentDatabase.open(set->setPath());
    app().CurrentSetPath = set->setPath();
    app().CurrentSetName = QStringLiteral("测试账套");
    AccountSetList list;
    QVERIFY(LoadAccountSetList(app(), list));
    QCOMPARE(app().CurrentSetPath, set->setPath());
    QCOMPARE(list.paths, QStringList{set->setPath()});
    QCOMPARE(list.names, QStringList{QStringLiteral("测试账套")});
    QVERIFY(!QFile::exists(app().DataFolder + QStringLiteral("仓库账套.vxs")));
}

void TestAccountSetList::noModeWithoutEntriesShowsChooser()
{
    writeListFile(AccountSetListPath(app()), {QStringLiteral("No")});
    AccountSetList list;
    QVERIFY(LoadAccountSetList(app(), list));
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.paths.first(), app().CurrentSetPath);
    QVERIFY(!app().CurrentSetPath.isEmpty());
}

void TestAccountSetList::backupFolderIsMadeBelowDataFolder()
{
    app().DataFolder = set->folder() + QStringLiteral("gone");  // no such folder yet, no slash
    QCOMPARE(DefaultFolder(app(), 1), set->folder() + QStringLiteral("gone/数据备份/"));
    QCOMPARE(app().DataFolder, set->folder() + QStringLiteral("gone/"));
    QCOMPARE(DefaultFolder(app(), 0), set->folder() + QStringLiteral("gone/"));
}

void TestAccountSetList::sanitizeSetName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("blanks and punctuation") << "  My Set-2 (A)" << "MySet2A" << "My Set-2 (A)";
    QTest::newRow("only punctuation") << "-_.!" << "" << "-_.!";
    QTest::newRow("Chinese and full-width kept") << " 分公司（一）" << "分公司（一）" << "分公司（一）";
    QTest::newRow("empty") << "   " << "" << "";
}

void TestAccountSetList::sanitizeSetName()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, trimmed);
    QCOMPARE(SanitizeSetName(typed), result);
    QCOMPARE(typed, trimmed);
}

void TestAccountSetList::oldListInTheProgramFolderIsReadUntilTheUsersIsWritten()
{
    const QString old = app().AppFolder + QStringLiteral("ckdblst.dat");
    writeListFile(old, {QStringLiteral("Yes"), QStringLiteral("旧账套"), set->setPath()});
    AccountSetList list;
    LoadAccountSetList(app(), list);
    QCOMPARE(list.names, QStringList{QStringLiteral("旧账套")});
    list.add(QStringLiteral("新账套"), set->folder() + QStringLiteral("新.vxs"));
    QVERIFY(SaveAccountSetList(app(), list));
    // The old file stays as it was; from now on the user's own list counts.
    QCOMPARE(readListFile(old), (QStringList{QStringLiteral("Yes"), QStringLiteral("旧账套"), set->setPath()}));
    writeListFile(old, {QStringLiteral("Yes"), QStringLiteral("别的"), set->setPath()});
    LoadAccountSetList(app(), list);
    QCOMPARE(list.names, (QStringList{QStringLiteral("新账套"), QStringLiteral("旧账套")}));
}

// A normal installation: the program folder belongs to root and is read-only;
// the program runs as a normal user, creates a set and saves the list.
void TestAccountSetList::normalUserWithReadOnlyProgramFolderKeepsTheList()
{
    QTemporaryDir root(QStringLiteral("/tmp/vx-user-XXXXXX"));
    QVERIFY(root.isValid());
    const QString program = root.path() + QStringLiteral("/program/");
    const QString home = root.path() + QStringLiteral("/home");
    QVERIFY(QDir().mkpath(program));
    QVERIFY(QDir().mkpath(home));
    QVERIFY(QFile::copy(FreshAccountSet::templatePath(), program + QStringLiteral("nousit.dat")));
    writeListFile(program + QStringLiteral("ckdblst.dat"), {QStringLiteral("Yes"), QStringLiteral("旧账套"),
                                                           QStringLiteral("/nowhere/旧账套.vxs")});
    QFile(program + QStringLiteral("nousit.dat")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                                 QFileDevice::ReadOther);
    QFile(program + QStringLiteral("ckdblst.dat")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                                  QFileDevice::ReadOther);
    QVERIFY(::chmod(QFile::encodeName(program).constData(), 0555) == 0);
    QVERIFY(::chmod(QFile::encodeName(root.path()).constData(), 0755) == 0);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    child.setProcessEnvironment(env);
    const QStringList job = ChildJobArguments(QStringLiteral("listAsUser"), {program});
    if (::geteuid() == 0) {
        // Tests run as root here: the child drops to the unprivileged "nobody".
        constexpr uid_t nobody = 65534;
        QVERIFY(::chown(QFile::encodeName(home).constData(), nobody, nobody) == 0);
        child.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                           QStringLiteral("--clear-groups"), QStringLiteral("--")} +
                                                   QStringList{QCoreApplication::applicationFilePath()} + job);
    } else {
        child.start(QCoreApplication::applicationFilePath(), job);
    }
    if (!child.waitForStarted(10000))
        QSKIP("cannot start the test program as an unprivileged user here");
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));

    const QString userList = home + QStringLiteral("/.local/share/Vorlix/ckdblst.dat");
    const QStringList lines = readListFile(userList);
    QVERIFY2(lines.contains(QStringLiteral("旧账套")) && lines.contains(QStringLiteral("新账套")),
             qPrintable(lines.join(u'|')));
    QCOMPARE(QDir(program).entryList(QDir::Files), (QStringList{QStringLiteral("ckdblst.dat"), QStringLiteral("nousit.dat")}));
    QVERIFY(::chmod(QFile::encodeName(program).constData(), 0755) == 0);
}

VX_REGISTER_TEST(TestAccountSetList)
#include "tst_accountsetlist.moc"
