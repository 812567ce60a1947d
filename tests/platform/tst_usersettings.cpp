#include "platform/UserSettings.h"
#include "platform/UserSettingsPath.h"
#include "support/TestRegistry.h"

#include <QFileInfo>
#include <QTest>

class TestUserSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void missingSettingReadsAsDefault();
    void savedSettingReadsBack();
    void deleteRemovesKeyOrSection();
    void applicationNamedByPathKeepsItsOwnFile();
};

namespace {
const QString App = QStringLiteral("Vorlixstore");
const QString SetApp = QStringLiteral("/data/账套/仓库账套.vxs");
}  // namespace

void TestUserSettings::cleanup()
{
    DeleteSetting(App, QStringLiteral("Options"));
    DeleteSetting(App, QStringLiteral("其他"));
    DeleteSetting(SetApp, QStringLiteral("Options"));
}

void TestUserSettings::missingSettingReadsAsDefault()
{
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("在启动时显示提示"), QStringLiteral("1")),
             QStringLiteral("1"));
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("在启动时显示提示")), QString());
}

void TestUserSettings::savedSettingReadsBack()
{
    SaveSetting(App, QStringLiteral("Options"), QStringLiteral("在启动时显示提示"), QStringLiteral("0"));
    SaveSetting(App, QStringLiteral("其他"), QStringLiteral("在启动时显示提示"), QStringLiteral("1"));
    SaveSetting(App, QStringLiteral("Options"), QStringLiteral("路径"), QStringLiteral("/opt/Vorlix store/a=b;c"));
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("在启动时显示提示"), QStringLiteral("1")),
             QStringLiteral("0"));
    QCOMPARE(GetSetting(App, QStringLiteral("其他"), QStringLiteral("在启动时显示提示")), QStringLiteral("1"));
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("路径")), QStringLiteral("/opt/Vorlix store/a=b;c"));
    // Another application's settings are apart.
    QCOMPARE(GetSetting(QStringLiteral("Vorlixgo"), QStringLiteral("Options"), QStringLiteral("路径")), QString());
}

void TestUserSettings::deleteRemovesKeyOrSection()
{
    SaveSetting(App, QStringLiteral("Options"), QStringLiteral("a"), QStringLiteral("1"));
    SaveSetting(App, QStringLiteral("Options"), QStringLiteral("b"), QStringLiteral("2"));
    SaveSetting(App, QStringLiteral("其他"), QStringLiteral("a"), QStringLiteral("3"));

    DeleteSetting(App, QStringLiteral("Options"), QStringLiteral("a"));
    DeleteSetting(App, QStringLiteral("Options"), QStringLiteral("没有"));
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("a"), QStringLiteral("-")), QStringLiteral("-"));
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("b")), QStringLiteral("2"));

    DeleteSetting(App, QStringLiteral("Options"));
    QCOMPARE(GetSetting(App, QStringLiteral("Options"), QStringLiteral("b"), QStringLiteral("-")), QStringLiteral("-"));
    QCOMPARE(GetSetting(App, QStringLiteral("其他"), QStringLiteral("a")), QStringLiteral("3"));

    // An empty section names nothing: it never wipes the application's settings.
    DeleteSetting(App, QString());
    QCOMPARE(GetSetting(App, QStringLiteral("其他"), QStringLiteral("a")), QStringLiteral("3"));
}

void TestUserSettings::applicationNamedByPathKeepsItsOwnFile()
{
    SaveSetting(SetApp, QStringLiteral("Options"), QStringLiteral("默认登录账号"), QStringLiteral("002"));
    QCOMPARE(GetSetting(SetApp, QStringLiteral("Options"), QStringLiteral("默认登录账号"), QStringLiteral("1")),
             QStringLiteral("002"));
    QCOMPARE(GetSetting(SetApp + QStringLiteral("x"), QStringLiteral("Options"), QStringLiteral("默认登录账号"),
                        QStringLiteral("1")),
             QStringLiteral("1"));
    // One file directly in the settings folder, not a tree of folders named after the path.
    const QFileInfo file(OpenUserSettings(SetApp)->fileName());
    QVERIFY(file.exists());
    QCOMPARE(file.dir().dirName(), QStringLiteral("Vorlix"));
    QCOMPARE(file.absolutePath(), QFileInfo(OpenUserSettings(App)->fileName()).absolutePath());
}

VX_REGISTER_TEST(TestUserSettings)
#include "tst_usersettings.moc"
