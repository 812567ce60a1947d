#pragma once
// Several Qt Test classes share one executable per test folder. Each class
// registers itself; CTest runs them one at a time as `<exe> <Class>`.
#include <QObject>
#include <QStringList>
#include <functional>

void RegisterTestClass(const char* name, std::function<QObject*()> make);

#define VX_REGISTER_TEST(Class)                                                              \
    static const bool vx_registered_##Class = (RegisterTestClass(#Class, [] { return static_cast<QObject*>(new Class); }), true);

// A job the test executable runs as a child of itself, for tests that stop a
// child process at chosen moments: `<exe> --child-job <name> <args...>` runs
// the job inside the same QApplication set-up and exits with its result.
void RegisterChildJob(const char* name, std::function<int(const QStringList& args)> job);
// The arguments that make this test executable run the job `name`.
QStringList ChildJobArguments(const QString& name, const QStringList& args);
