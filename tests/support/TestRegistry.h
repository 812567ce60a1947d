#pragma once
// Several Qt Test classes share one executable per test folder. Each class
// registers itself; CTest runs them one at a time as `<exe> <Class>`.
#include <QObject>
#include <functional>

void RegisterTestClass(const char* name, std::function<QObject*()> make);

#define VX_REGISTER_TEST(Class)                                                              \
    static const bool vx_registered_##Class = (RegisterTestClass(#Class, [] { return static_cast<QObject*>(new Class); }), true);
