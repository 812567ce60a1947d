// main() of every test executable: runs the registered test class named by
// the first argument, or all of them. HOME and the XDG folders point into a
// temporary folder, so user settings and data folders never touch the
// developer's own.
#include "support/TestRegistry.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

namespace {
std::map<QString, std::function<QObject*()>>& registry()
{
    static std::map<QString, std::function<QObject*()>> r;
    return r;
}
}  // namespace

void RegisterTestClass(const char* name, std::function<QObject*()> make)
{
    registry()[QString::fromLatin1(name)] = std::move(make);
}

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Vorlixstore"));

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
