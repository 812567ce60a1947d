// main() of every test executable: runs the registered test class named by
// the first argument, or all of them. HOME and the XDG folders point into a
// temporary folder, so user settings and data folders never touch the
// developer's own.
#include "support/TestRegistry.h"

#include "platform/ChineseUi.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <optional>

namespace {
std::map<QString, std::function<QObject*()>>& registry()
{
    static std::map<QString, std::function<QObject*()>> r;
    return r;
}
std::map<QString, std::function<int(const QStringList&)>>& childJobs()
{
    static std::map<QString, std::function<int(const QStringList&)>> jobs;
    return jobs;
}

const QString ChildJobSwitch = QStringLiteral("--child-job");

}  // namespace

void RegisterChildJob(const char* name, std::function<int(const QStringList& args)> job)
{
    childJobs()[QString::fromLatin1(name)] = std::move(job);
}

QStringList ChildJobArguments(const QString& name, const QStringList& args)
{
    return QStringList{ChildJobSwitch, name} + args;
}

void RegisterTestClass(const char* name, std::function<QObject*()> make)
{
    registry()[QString::fromLatin1(name)] = std::move(make);
}

int main(int argc, char** argv)
{
    // A child job keeps its parent test's folders: it may be killed, and
    // would leave its own behind.
    const bool childJob = argc >= 3 && ChildJobSwitch == QString::fromLocal8Bit(argv[1]);
    std::optional<QTemporaryDir> home;
    if (!childJob) {
        home.emplace();
        qputenv("HOME", home->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home->path() + QStringLiteral("/.config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home->path() + QStringLiteral("/.local/share")).toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // As the programs start: Qt's dialogs read a Chinese system locale.
    UseChineseSystemLocale();
    QApplication app(argc, argv);
    KeepChineseSystemLocale();
    app.setApplicationName(QStringLiteral("Vorlixstore"));

    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == ChildJobSwitch) {
        const auto job = childJobs().find(args[2]);
        return job == childJobs().end() ? 2 : job->second(args.mid(3));
    }

    QStringList wanted;
    QStringList passOn{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (passOn.size() == 1 && wanted.isEmpty() && registry().count(a))
            wanted << a;
        else
            passOn << a;
    }
    if (wanted.isEmpty())
        for (const auto& [name, make] : registry())
            wanted << name;

    int failures = 0;
    for (const QString& name : wanted) {
        std::unique_ptr<QObject> test(registry()[name]());
        failures += QTest::qExec(test.get(), passOn);
    }
    return failures == 0 ? 0 : 1;
}
