#include "launcher/Launcher.h"
#include "platform/UserSettings.h"
#include "support/TestRegistry.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLauncher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void startsTheMainProgramAndEnds();
    void missingFileIsReported_data();
    void missingFileIsReported();
    void missingSettingIsReported();
    void failedStartIsReportedAndWindowStays();
    void stepsRunOnFirstActivationOnly();

private:
    struct Shown {
        QString text;
        QString title;
    };
    // A launcher window whose messages go to m_shown; shown and activated.
    std::unique_ptr<XiangDao> showLauncher();
    // An executable script that writes its argument count into `marker`.
    QString writeProgram(const QString& name, const QString& marker) const;
    static void setMainProgramPath(const QString& path);

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Shown> m_shown;
};

static QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
}

void TestLauncher::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_shown.clear();
}

void TestLauncher::cleanup()
{
    DeleteSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"));
    m_dir.reset();
}

void TestLauncher::setMainProgramPath(const QString& path)
{
    SaveSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"), QStringLiteral("Vorlo"), path);
}

QString TestLauncher::writeProgram(const QString& name, const QString& marker) const
{
    const QString path = m_dir->path() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(QStringLiteral("#!/bin/sh\necho $# > '%1'\n").arg(marker).toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

std::unique_ptr<XiangDao> TestLauncher::showLauncher()
{
    auto w = std::make_unique<XiangDao>([this](const QString& text, const QString& title) {
        m_shown.append({text, title});
    });
    w->show();
    w->activateWindow();
    return w;
}

void TestLauncher::startsTheMainProgramAndEnds()
{
    const QString marker = m_dir->path() + QStringLiteral("/started.txt");
    const QString program = writeProgram(QStringLiteral("Vorlix store 主程序"), marker);
    QVERIFY(!program.isEmpty());
    setMainProgramPath(program);

    // The real launcher, reading the settings this test wrote (HOME and the
    // configuration folder of the test run are inherited). A message box would
    // keep it from ending.
    QProcess launcher;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    launcher.setProcessEnvironment(env);
    launcher.start(QStringLiteral(VX_BIN_DIR "/vorlixgo"), QStringList());
    QVERIFY2(launcher.waitForFinished(30000), "the launcher did not end");
    QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
    QCOMPARE(launcher.exitCode(), 0);

    // The program was started without arguments.
    QTRY_COMPARE_WITH_TIMEOUT(contentOf(marker), QByteArray("0"), 10000);
}

void TestLauncher::missingFileIsReported_data()
{
    QTest::addColumn<bool>("withArguments");
    QTest::newRow("file removed") << false;
    QTest::newRow("path followed by arguments") << true;
}

void TestLauncher::missingFileIsReported()
{
    QFETCH(bool, withArguments);
    const QString marker = m_dir->path() + QStringLiteral("/started.txt");
    QString path = writeProgram(QStringLiteral("Vorlixstore"), marker);
    if (withArguments)
        path += QStringLiteral(" -账套 a.vxs");
    else
        QVERIFY(QFile::remove(path));
    setMainProgramPath(path);

    const auto w = showLauncher();
    QSignalSpy ended(w.get(), &XiangDao::finished);
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].title, QStringLiteral("运行向导"));
    QCOMPARE(m_shown[0].text, QStringLiteral("Vorlixstore已经被移除或卸载，请删除本向导文件或重新安装软件！\n\n【") +
                                  path + QStringLiteral("】文件丢失！"));
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(marker));
}

void TestLauncher::missingSettingIsReported()
{
    DeleteSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"));
    const auto w = showLauncher();
    QSignalSpy ended(w.get(), &XiangDao::finished);
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].title, QString());
    QCOMPARE(m_shown[0].text,
             QStringLiteral("注册表相关信息被清除，运行向导找不到《Vorlixstore》存放在哪个文件夹内。\n\n"
                            "请到屏幕左下角【开始】-【程序】中查找《Vorlixstore》的运行快捷方式！"));
}

void TestLauncher::failedStartIsReportedAndWindowStays()
{
    // A file that exists but cannot be run.
    const QString path = m_dir->path() + QStringLiteral("/Vorlixstore.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("no program");
    f.close();
    QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    setMainProgramPath(path);

    const auto w = showLauncher();
    QSignalSpy ended(w.get(), &XiangDao::finished);
    QTRY_COMPARE(m_shown.size(), 1);
    // The problem in Chinese, in a box with a title a user can read.
    QCOMPARE(m_shown[0].title, QStringLiteral("运行向导"));
    QVERIFY2(m_shown[0].text.startsWith(QStringLiteral("Vorlix快捷方式\n无法启动程序【") + path), qPrintable(m_shown[0].text));
    QVERIFY2(m_shown[0].text.contains(QStringLiteral("没有执行权限")), qPrintable(m_shown[0].text));
    QVERIFY2(!m_shown[0].text.contains(QStringLiteral("execv")) && !m_shown[0].text.contains(QStringLiteral("denied")),
             qPrintable(m_shown[0].text));
    QTest::qWait(300);
    QCOMPARE(ended.count(), 0);
    QVERIFY(w->isVisible());
}

void TestLauncher::stepsRunOnFirstActivationOnly()
{
    DeleteSetting(QStringLiteral("Vorlixstore"), QStringLiteral("Vorlo"));
    const auto w = showLauncher();
    QSignalSpy ended(w.get(), &XiangDao::finished);
    QTRY_COMPARE(ended.count(), 1);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::qWait(2000);  // past the activation grace time as well
    QCOMPARE(ended.count(), 1);
    QCOMPARE(m_shown.size(), 1);
}

VX_REGISTER_TEST(TestLauncher)
#include "tst_launcher.moc"
