#include "accountsets/AccountSetList.h"
#include "accountsets/Register.h"
#include "accountsets/ZbSet.h"
#include "accountsets/ZbsetNet.h"
#include "core/MainFrame.h"
#include "platform/AccountSetLock.h"
#include "support/Fixture.h"
#include "support/Scripted.h"
#include "support/TestRegistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>

namespace {

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

void writeListFile(const QString& path, const QStringList& lines)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QStringEncoder encoder("GB18030");
    for (const QString& line : lines)
        f.write(encoder(line) + QByteArrayLiteral("\r\n"));
}

class StubMainFrame : public MainFrame {
public:
    QWidget* widget() override { return &w; }
    QMdiArea* mdiArea() override { return nullptr; }
    void setStatusText(int, const QString&) override {}
    QString statusText(int) const override { return {}; }
    QFont backgroundFont() const override { return {}; }
    QWidget w;
};

// Puts a repair stand-in into the test's App, recording its calls.
struct RepairRecorder {
    explicit RepairRecorder(App& app)
    {
        app.Windows.road.repairAccountSet = [this](App&, const QString& path, const QString& name) {
            calls << path + '|' + name;
        };
    }
    QStringList calls;
};

// Picks an item of the popup menu that the next command pops up.
void chooseFromNextPopup(const QString& action)
{
    QTimer::singleShot(50, [action] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* a = menu->findChild<QAction*>(action);
        QVERIFY(a);
        menu->setActiveAction(a);
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

}  // namespace

// The account-set manager, driven through its controls.
class TestZbSet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newSetFromTemplateThenOpen();
    void newSetRefusesExistingFileAndNeedsTemplate();
    void addCommandSavesListAfterMenu();
    void openOfSecondEntryListsItFirst();
    void openMissingFileKeepsWindow();
    void openFailureMessages_data();
    void openFailureMessages();
    void openStandsWhenListCannotBeWritten();
    void importRefusesFileThatIsNoAccountSet();
    void importRefusesProgramBackupFolder();
    void removeRules();
    void leaveAtStartupWritesListWithTick();
    void leaveFromMainMenuReopensPreviousSet();
    void titleBarCloseDoesNothing();
    void renameByLabelDoesNotSave();
    void networkImportThroughPicker();
    void backupOfListedSetKeepsOnlyAdmin();
    void backupRefusedWhileSetIsOpenElsewhere();
    void hooksShowTheManager();
    void managerFromMainMenuKeepsSetInUse();

private:
    ZbSet* makeManager();
    App& app() { return set->app(); }
    QString listFile() { return AccountSetListPath(app()); }

    std::unique_ptr<FreshAccountSet> set;
    std::unique_ptr<ZbSet> manager;
    QString second;  // a second listed set
};

void TestZbSet::init()
{
    set = std::make_unique<FreshAccountSet>();
    app().AppTitle = QStringLiteral("Vorlix仓库管理系统");
    // Start-up state: nothing open, the template as the path to open.
    app().CurrentDatabase.close();
    app().CurrentSetPath = app().AppFolder + QStringLiteral("nousit.dat");
    app().CurrentSetName = QStringLiteral("仓库账套");
    second = set->copyOfTemplate(QStringLiteral("data/第二.vxs"));
    writeListFile(listFile(), {QStringLiteral("@#") + app().DataFolder, QStringLiteral("Yes"), QStringLiteral("测试"),
                               set->setPath(), QStringLiteral("第二"), second});
}

void TestZbSet::cleanup()
{
    manager.reset();
    set.reset();
}

ZbSet* TestZbSet::makeManager()
{
    AccountSetList list;
    LoadAccountSetList(app(), list);
    manager = std::make_unique<ZbSet>(app(), list);
    manager->show();
    return manager.get();
}

void TestZbSet::newSetFromTemplateThenOpen()
{
    ZbSet* w = makeManager();
    QCOMPARE(w->windowTitle(), QStringLiteral("Vorlix仓库管理系统--账套管理"));
    QVERIFY(w->findChild<QLabel*>(QStringLiteral("labOpencmd"))->text().isEmpty());
    const QString path = app().DataFolder + QStringLiteral("新店.vxs");
    DialogScript dialogs;
    dialogs.saveFile(path);
    MessageScript msgs;
    msgs.expectInput(QStringLiteral("请输入新建账套的名称："), QStringLiteral("  新 店-1"));
    w->findChild<QAction*>(QStringLiteral("newone"))->trigger();

    auto* names = w->findChild<QComboBox*>(QStringLiteral("Cmb0"));
    auto* paths = w->findChild<QComboBox*>(QStringLiteral("Cmb1"));
    QCOMPARE(names->currentText(), QStringLiteral("新店1"));
    QCOMPARE(paths->currentText(), path);
    QVERIFY(QFileInfo(path).isFile());
    QVERIFY(!app().CurrentDatabase.isOpen());  // a new set is listed, not opened

    // The visible label button clicks the open command.
    QTest::mouseClick(w->findChild<QLabel*>(QStringLiteral("Labcmd0")), Qt::LeftButton);
    QVERIFY(w->openedSet());
    QVERIFY(app().CurrentDatabase.isOpen());
    QCOMPARE(app().CurrentSetPath, path);
    QCOMPARE(app().CurrentSetName, QStringLiteral("新店1"));
    QCOMPARE(app().CurrentDatabase.scalar(QStringLiteral("SELECT F2 FROM TA3 WHERE F1='000'")).toString(),
             QStringLiteral("无类别"));
    QVERIFY(AccountSetLock::IsOpenElsewhere(path));  // the open holds the shared lock
    const QStringList lines = readListFile(listFile());
    QCOMPARE(lines.mid(2, 2), (QStringList{QStringLiteral("新店1"), path}));
    QCOMPARE(lines.size(), 8);
    QCOMPARE(msgs.count(), 1);
}

void TestZbSet::newSetRefusesExistingFileAndNeedsTemplate()
{
    ZbSet* w = makeManager();
    DialogScript dialogs;
    dialogs.saveFile(second).saveFile(app().DataFolder + QStringLiteral("丙.vxs"));
    MessageScript msgs;
    msgs.expect(QStringLiteral("目标位置已存在同名文件，请更换存放位置或文件名！"));
    msgs.expectInput(QStringLiteral("请输入新建账套的名称："), QString(), false);
    w->findChild<QAction*>(QStringLiteral("newone"))->trigger();
    // A cancelled name box still lists the set under the default name.
    QCOMPARE(w->list().names.last(), QStringLiteral("新建仓库账套"));
    QCOMPARE(dialogs.titles, (QStringList{QStringLiteral("请指定文件的存放位置及文件名"),
                                          QStringLiteral("请指定文件的存放位置及文件名")}));

    QFile::remove(app().AppFolder + QStringLiteral("nousit.dat"));
    dialogs.saveFile(app().DataFolder + QStringLiteral("丁.vxs"));
    msgs.expect(QStringLiteral("系统需要的文件nousit.dat丢失！不能新建账套！"));
    w->findChild<QAction*>(QStringLiteral("newone"))->trigger();
    QVERIFY(!QFile::exists(app().DataFolder + QStringLiteral("丁.vxs")));
    QCOMPARE(w->list().count(), 3);
    QCOMPARE(msgs.pending(), 0);
}

void TestZbSet::addCommandSavesListAfterMenu()
{
    ZbSet* w = makeManager();
    MessageScript msgs;
    msgs.expectInput(QStringLiteral("请输入账套的名称："), QStringLiteral("总店"));
    chooseFromNextPopup(QStringLiteral("zbrename"));
    QTest::mouseClick(w->findChild<QLabel*>(QStringLiteral("Labcmd1")), Qt::LeftButton);
    QCOMPARE(readListFile(listFile()).mid(2, 2), (QStringList{QStringLiteral("总店"), set->setPath()}));
    QCOMPARE(msgs.pending(), 0);
}

void TestZbSet::openOfSecondEntryListsItFirst()
{
    StubMainFrame frame;
    app().MainWindow = &frame;
    ZbSet* w = makeManager();
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("Cmb1"))->currentText(), second);
    w->findChild<QPushButton*>(QStringLiteral("Cmd0"))->click();
    app().MainWindow = nullptr;
    QCOMPARE(app().CurrentSetPath, second);
    QCOMPARE(frame.w.windowTitle(), QStringLiteral("Vorlix仓库管理系统--批号版"));
    QCOMPARE(readListFile(listFile()).mid(1),
             (QStringList{QStringLiteral("Yes"), QStringLiteral("第二"), second, QStringLiteral("测试"), set->setPath()}));
}

void TestZbSet::openMissingFileKeepsWindow()
{
    QFile::remove(second);
    ZbSet* w = makeManager();
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    MessageScript msgs;
    msgs.expect(QStringLiteral("找不到文件[ ") + second + QStringLiteral(" ]！"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd0"))->click();
    QVERIFY(w->isVisible());
    QVERIFY(!app().CurrentDatabase.isOpen());
    QCOMPARE(app().CurrentSetPath, app().AppFolder + QStringLiteral("nousit.dat"));
}

void TestZbSet::openFailureMessages_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("wrong password") << "password" << "系统将启动数据库修复功能，请在修复后重试，或请重新进行账套设置!";
    QTest::newRow("plain file") << "plain" << "系统将启动数据库修复功能，请在修复后重试，或请重新进行账套设置!";
    QTest::newRow("held elsewhere") << "busy" << "可能是因为您对该账套文件没有编辑权限";
}

void TestZbSet::openFailureMessages()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFile::remove(second);
    AccountSetLock other;
    if (kind == QLatin1String("password")) {
        Database db;
        db.create(second, QStringLiteral("another"));
        db.execute(QStringLiteral("CREATE TABLE t (x)"));
    } else if (kind == QLatin1String("plain")) {
        WritePlainSqliteFile(second);
    } else {
        QFile::copy(FreshAccountSet::templatePath(), second);
        QFile(second).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(other.tryLockExclusive(second));  // a restore or compaction elsewhere
    }
    RepairRecorder repair(app());
    ZbSet* w = makeManager();
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    MessageScript msgs;
    msgs.expect(text);
    w->findChild<QPushButton*>(QStringLiteral("Cmd0"))->click();
    QCOMPARE(msgs.last().icon(), MB::Exclamation);
    QVERIFY(msgs.last().text.startsWith(QStringLiteral("打开账套时发现错误！")));
    QCOMPARE(repair.calls, QStringList{second + QStringLiteral("|第二")});
    QVERIFY(!w->openedSet());
    QVERIFY(!app().CurrentDatabase.isOpen());
    QCOMPARE(app().CurrentSetName, QStringLiteral("仓库账套"));
    QVERIFY(!app().CurrentSetLock.isLocked());
}

void TestZbSet::openStandsWhenListCannotBeWritten()
{
    ZbSet* w = makeManager();
    QFile::remove(listFile());
    QVERIFY(QDir().mkpath(listFile()));  // a folder where the file should go
    MessageScript msgs;
    msgs.expect(QStringLiteral("无法写入账套列表文件"));
    w->findChild<QPushButton*>(QStringLiteral("Cmd0"))->click();
    QVERIFY(w->openedSet());
    QCOMPARE(app().CurrentSetPath, set->setPath());
    QVERIFY(app().CurrentDatabase.isOpen());
}

void TestZbSet::importRefusesFileThatIsNoAccountSet()
{
    const QString plain = set->folder() + QStringLiteral("plain.vxs");
    WritePlainSqliteFile(plain);
    ZbSet* w = makeManager();
    DialogScript dialogs;
    dialogs.openFile(plain);
    MessageScript msgs;
    msgs.expect(QStringLiteral("无效的文件格式！您只能选择使用本软件建立的账套文件或数据备份文件！"));
    w->findChild<QAction*>(QStringLiteral("setpath"))->trigger();
    QCOMPARE(msgs.last().icon(), MB::Exclamation);
    QCOMPARE(w->list().count(), 2);
    QCOMPARE(dialogs.titles, QStringList{QStringLiteral("请选择已存在的账套文件")});
}

void TestZbSet::importRefusesProgramBackupFolder()
{
    QDir(app().AppFolder).mkpath(QStringLiteral("数据备份"));
    const QString inBackup = app().AppFolder + QStringLiteral("数据备份/旧账.vxs");
    QFile::copy(FreshAccountSet::templatePath(), inBackup);
    ZbSet* w = makeManager();
    DialogScript dialogs;
    MessageScript msgs;
    dialogs.openFile(inBackup);
    msgs.expect(QStringLiteral("您要导入的是数据备份专用文件夹中的账套文件，这样的操作存在潜在危险！"));
    w->findChild<QAction*>(QStringLiteral("setpath"))->trigger();
    QVERIFY(msgs.last().text.contains(inBackup));
    QCOMPARE(w->list().count(), 2);

    // The same file elsewhere is tried, named after its file and listed.
    const QString copy = set->folder() + QStringLiteral("旧账.备份.vxs");
    set->copyOfTemplate(QStringLiteral("旧账.备份.vxs"));
    dialogs.openFile(copy);
    msgs.expectInput(QStringLiteral("请输入新建账套的名称："), QStringLiteral("旧账"));
    w->findChild<QAction*>(QStringLiteral("setpath"))->trigger();
    QCOMPARE(w->list().names.last(), QStringLiteral("旧账"));
    QCOMPARE(w->list().paths.last(), copy);
    QVERIFY(!app().CurrentDatabase.isOpen());
}

void TestZbSet::removeRules()
{
    ZbSet* w = makeManager();
    auto* remove = w->findChild<QPushButton*>(QStringLiteral("Cmd2"));
    MessageScript msgs;

    app().CurrentSetPath = second;  // the set in use cannot be removed
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    msgs.expect(QStringLiteral("您选择的是当前正在使用的账套，不能删除！"));
    remove->click();

    app().CurrentSetPath = app().AppFolder + QStringLiteral("nousit.dat");
    msgs.expect(QStringLiteral("真的要删除[第二]吗？"), MB::No);
    remove->click();
    QCOMPARE(w->list().count(), 2);

    msgs.expect(QStringLiteral("此删除操作只在账套列表中去除指定账套，依然在硬盘上保留账套文件。"), MB::Yes);
    remove->click();
    QCOMPARE(w->list().names, QStringList{QStringLiteral("测试")});
    QVERIFY(QFile::exists(second));
    QCOMPARE(readListFile(listFile()).mid(1), (QStringList{QStringLiteral("Yes"), QStringLiteral("测试"), set->setPath()}));

    msgs.expect(QStringLiteral("系统内至少要保留一个账套，不能删除！"));
    remove->click();
    QCOMPARE(msgs.pending(), 0);
}

void TestZbSet::leaveAtStartupWritesListWithTick()
{
    ZbSet* w = makeManager();
    auto* tick = w->findChild<QCheckBox*>(QStringLiteral("ChK"));
    QVERIFY(!tick->isChecked());
    tick->setChecked(true);
    QTest::mouseClick(w->findChild<QLabel*>(QStringLiteral("Labcmd3")), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(!app().CurrentDatabase.isOpen());
    QCOMPARE(readListFile(listFile()).at(1), QStringLiteral("No"));
}

void TestZbSet::leaveFromMainMenuReopensPreviousSet()
{
    app().CurrentSetPath = set->setPath();
    app().CurrentSetName = QStringLiteral("测试");
    const QStringList before = readListFile(listFile());
    ZbSet* w = makeManager();
    w->prepareForMainMenu();
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Labcmd3"))->text(), QStringLiteral("返回系统"));
    QVERIFY(!w->findChild<QAction*>(QStringLiteral("bakdbFile"))->isVisible());
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    w->findChild<QPushButton*>(QStringLiteral("Cmd3"))->click();
    QVERIFY(!w->isVisible());
    QVERIFY(app().CurrentDatabase.isOpen());
    QCOMPARE(app().CurrentDatabase.path(), set->setPath());
    QVERIFY(app().CurrentSetLock.isLocked());
    QCOMPARE(readListFile(listFile()), before);
}

void TestZbSet::titleBarCloseDoesNothing()
{
    ZbSet* w = makeManager();
    w->close();
    QVERIFY(w->isVisible());
    QTest::keyClick(w, Qt::Key_Escape);  // Esc is the leave command
    QVERIFY(!w->isVisible());
}

void TestZbSet::renameByLabelDoesNotSave()
{
    const QStringList before = readListFile(listFile());
    ZbSet* w = makeManager();
    MessageScript msgs;
    msgs.expectInput(QStringLiteral("请输入账套的名称："), QStringLiteral("!!"));
    QTest::mouseDClick(w->findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
    QCOMPARE(w->list().names.first(), QStringLiteral("测试"));  // punctuation only keeps the name
    msgs.expectInput(QStringLiteral("请输入账套的名称："), QStringLiteral("本部"));
    QTest::mouseDClick(w->findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
    QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->currentText(), QStringLiteral("本部"));
    QCOMPARE(readListFile(listFile()), before);
}

void TestZbSet::networkImportThroughPicker()
{
    const QString share = set->folder() + QStringLiteral("mnt/books");
    QDir().mkpath(share);
    QFile::copy(FreshAccountSet::templatePath(), share + QStringLiteral("/总部.vxs"));
    QFile(share + QStringLiteral("/总部.vxs")).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString mounts = set->folder() + QStringLiteral("mounts");
    QFile f(mounts);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("/dev/sda1 / ext4 rw 0 0\n//fileserver/books " + share.toUtf8() + " cifs rw 0 0\n");
    f.close();

    ZbSet* w = makeManager();
    w->mountTable = mounts;
    MessageScript msgs;
    msgs.expectInput(QStringLiteral("请输入新建账套的名称："), QStringLiteral("总部"));
    WhenModal([](QWidget* picker) {
        picker->findChild<QLineEdit*>(QStringLiteral("Txt0"))->setText(QStringLiteral("\\\\FileServer\\books"));
        picker->findChild<QPushButton*>(QStringLiteral("Cmd"))->click();
        auto* files = picker->findChild<QListWidget*>(QStringLiteral("File1"));
        files->setCurrentRow(0);
        picker->findChild<QPushButton*>(QStringLiteral("CmdOK0"))->click();
    });
    w->findChild<QAction*>(QStringLiteral("setpath_Net"))->trigger();
    QCOMPARE(w->list().paths.last(), share + QStringLiteral("/总部.vxs"));
    QCOMPARE(w->list().names.last(), QStringLiteral("总部"));
}

void TestZbSet::backupOfListedSetKeepsOnlyAdmin()
{
    {
        Database db;
        db.open(second);
        db.execute(QStringLiteral("INSERT INTO TE1 (F1, F2) VALUES ('002', '张三')"));
    }
    ZbSet* w = makeManager();
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    const QString taken = set->copyOfTemplate(QStringLiteral("taken.vxs"));
    const QString target = set->folder() + QStringLiteral("备份-第二.vxs");
    DialogScript dialogs;
    dialogs.saveFile(taken).saveFile(target);
    MessageScript msgs;
    msgs.expect(QStringLiteral("目标位置已备份的同名文件，请删除目标文件或更换备份位置！"));
    msgs.expect(QStringLiteral("备份完成！请妥善保存备份文件！"));
    w->findChild<QAction*>(QStringLiteral("bakdbFile"))->trigger();
    QCOMPARE(dialogs.titles.first(), QStringLiteral("当前账套备份至..."));
    QVERIFY(QDir(app().DataFolder + QStringLiteral("数据备份")).exists());

    Database copy;
    copy.open(target);
    QCOMPARE(copy.scalar(QStringLiteral("SELECT group_concat(F1) FROM TE1")).toString(), QStringLiteral("001"));
    Database original;
    original.open(second);
    QCOMPARE(original.scalar(QStringLiteral("SELECT count(*) FROM TE1")).toInt(), 2);
}

void TestZbSet::backupRefusedWhileSetIsOpenElsewhere()
{
    AccountSetLock otherWorkstation;
    QVERIFY(otherWorkstation.lockShared(second));
    ZbSet* w = makeManager();
    w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
    const QString target = set->folder() + QStringLiteral("备份-第二.vxs");
    DialogScript dialogs;
    dialogs.saveFile(target);
    MessageScript msgs;
    msgs.expect(QStringLiteral("无法完成备份！其它用户正在使用此账套。\n\n请其它用户停止操作并退出系统后才可以备份！"));
    w->findChild<QAction*>(QStringLiteral("bakdbFile"))->trigger();
    QVERIFY(!QFile::exists(target));
    QVERIFY(w->isEnabled());
}

void TestZbSet::hooksShowTheManager()
{
    RegisterAccountSetWindows(app().Windows);
    WindowHooks& hooks = app().Windows.road;
    QVERIFY(hooks.loadAccountSetList(app()));
    WhenModal([](QWidget* w) { QTest::mouseClick(w->findChild<QLabel*>(QStringLiteral("Labcmd0")), Qt::LeftButton); });
    QVERIFY(hooks.accountSetManager(app()));
    QCOMPARE(app().CurrentSetPath, set->setPath());
    QCOMPARE(app().CurrentSetName, QStringLiteral("测试"));
}

void TestZbSet::managerFromMainMenuKeepsSetInUse()
{
    // Another workstation's list opens a different set first without the chooser.
    writeListFile(listFile(), {QStringLiteral("No"), QStringLiteral("第二"), second, QStringLiteral("测试"), set->setPath()});
    StubMainFrame frame;
    app().MainWindow = &frame;
    app().OperatorCode = QStringLiteral("001");
    app().CurrentSetPath = set->setPath();
    app().CurrentSetName = QStringLiteral("测试");
    RegisterAccountSetWindows(app().Windows);
    WindowHooks& hooks = app().Windows.road;
    WhenModal([](QWidget* w) {
        QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("Cmd3"))->text(), QStringLiteral("返回系统"));
        MessageScript msgs;
        msgs.expect(QStringLiteral("您选择的是当前正在使用的账套，不能删除！"));
        w->findChild<QComboBox*>(QStringLiteral("Cmb0"))->setCurrentIndex(1);
        w->findChild<QPushButton*>(QStringLiteral("Cmd2"))->click();
        QTest::mouseClick(w->findChild<QLabel*>(QStringLiteral("Labcmd3")), Qt::LeftButton);
    });
    QVERIFY(hooks.accountSetManager(app()));
    app().MainWindow = nullptr;
    QCOMPARE(app().CurrentDatabase.path(), set->setPath());
    QCOMPARE(app().CurrentSetName, QStringLiteral("测试"));
}

VX_REGISTER_TEST(TestZbSet)
#include "tst_zbset.moc"
