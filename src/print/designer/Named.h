#pragma once
// Gives a new control its name (the objectName tests and code find it by).

#include <QString>

template <class W>
W* Named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}
