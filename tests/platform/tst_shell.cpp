#include "platform/Shell.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The desktop programs are stand-ins on a search path of the test's own: each
// writes its arguments, one per line, into a file named after it.
class TestShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void openDocumentHandsTheFileToTheDesktop();
    void openDocumentOfMissingFileStartsNothing();
    void startProgramTakesTheWholePath();
    void showInFileManagerSelectsTheFile();
    void showInFileManagerWithoutOneOpensTheFolder();
    void showInFileManagerOfMissingFileStartsNothing();
    void findProgramTakesTheFirstInstalled();

private:
    QString tool(const QString& name) const;  // installs a stand-in, returns its path
    QString calls(const QString& name) const { return m_dir->path() + QStringLiteral("/") + name + QStringLiteral(".args"); }
    QString file(const QString& name) const;  // an existing file

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_path;
};

void TestShell::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("bin")));
    m_path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir->path() + QStringLiteral("/bin")));
}

void TestShell::cleanup()
{
    qputenv("PATH", m_path);
    m_dir.reset();
}

QString TestShell::tool(const QString& name) const
{
    const QString path = m_dir->path() + QStringLiteral("/bin/") + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '%1.tmp'\n/bin/mv '%1.tmp' '%1'\n")
                .arg(calls(name))
                .toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

QString TestShell::file(const QString& name) const
{
    const QString path = m_dir->path() + QStringLiteral("/") + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("1");
    return path;
}

static QStringList readCalls(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestShell::openDocumentHandsTheFileToTheDesktop()
{
    tool(QStringLiteral("xdg-open"));
    const QString doc = file(QStringLiteral("导出 清单.xlsx"));
    QVERIFY(OpenDocument(doc));
    QTRY_VERIFY(QFileInfo::exists(calls(QStringLiteral("xdg-open"))));
    QCOMPARE(readCalls(calls(QStringLiteral("xdg-open"))), QStringList{doc});
}

void TestShell::openDocumentOfMissingFileStartsNothing()
{
    tool(QStringLiteral("xdg-open"));
    QVERIFY(!OpenDocument(m_dir->path() + QStringLiteral("/没有.xlsx")));
    QVERIFY(!OpenDocument(QString()));
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(calls(QStringLiteral("xdg-open"))));
}

void TestShell::startProgramTakesTheWholePath()
{
    const QString program = tool(QStringLiteral("计算 器"));
    QVERIFY(StartProgram(program));
    QTRY_VERIFY(QFileInfo::exists(calls(QStringLiteral("计算 器"))));
    QCOMPARE(readCalls(calls(QStringLiteral("计算 器"))), QStringList());

    QVERIFY(StartProgram(program, {QStringLiteral("一 二"), QStringLiteral("三")}));
    QTRY_COMPARE(readCalls(calls(QStringLiteral("计算 器"))), (QStringList{QStringLiteral("一 二"), QStringLiteral("三")}));

    QVERIFY(!StartProgram(program + QStringLiteral(" -x")));
    QVERIFY(!StartProgram(m_dir->path() + QStringLiteral("/没有这个程序")));
}

void TestShell::showInFileManagerSelectsTheFile()
{
    tool(QStringLiteral("nautilus"));
    tool(QStringLiteral("xdg-open"));
    const QString doc = file(QStringLiteral("仓库账套.vxs"));
    QVERIFY(ShowInFileManager(doc));
    QTRY_VERIFY(QFileInfo::exists(calls(QStringLiteral("nautilus"))));
    QCOMPARE(readCalls(calls(QStringLiteral("nautilus"))), (QStringList{QStringLiteral("--select"), doc}));
    QVERIFY(!QFileInfo::exists(calls(QStringLiteral("xdg-open"))));
}

void TestShell::showInFileManagerWithoutOneOpensTheFolder()
{
    tool(QStringLiteral("xdg-open"));
    const QString doc = file(QStringLiteral("仓库账套.vxs"));
    QVERIFY(ShowInFileManager(doc));
    QTRY_VERIFY(QFileInfo::exists(calls(QStringLiteral("xdg-open"))));
    QCOMPARE(readCalls(calls(QStringLiteral("xdg-open"))), QStringList{m_dir->path()});
}

void TestShell::showInFileManagerOfMissingFileStartsNothing()
{
    tool(QStringLiteral("nautilus"));
    tool(QStringLiteral("xdg-open"));
    QVERIFY(!ShowInFileManager(m_dir->path() + QStringLiteral("/没有.vxs")));
    QVERIFY(!ShowInFileManager(m_dir->path()));  // a folder is no file
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(calls(QStringLiteral("nautilus"))));
    QVERIFY(!QFileInfo::exists(calls(QStringLiteral("xdg-open"))));
}

void TestShell::findProgramTakesTheFirstInstalled()
{
    const QString kcalc = tool(QStringLiteral("kcalc"));
    QCOMPARE(FindProgram({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("xcalc")}), kcalc);
    QCOMPARE(FindProgram({QStringLiteral("gnome-calculator")}), QString());
}

VX_REGISTER_TEST(TestShell)
#include "tst_shell.moc"
