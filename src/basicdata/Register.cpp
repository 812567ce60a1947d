#include "basicdata/Register.h"

#include "basicdata/A1.h"
#include "basicdata/A12.h"
#include "basicdata/A2.h"
#include "basicdata/A3.h"
#include "core/WindowRegistry.h"

void RegisterBasicDataWindows(WindowRegistry& reg)
{
    reg.modeless<A1>(QStringLiteral("Menu_AA0"));
    reg.modeless<A2>(QStringLiteral("Menu_AA1"));
    reg.modeless<A12>(QStringLiteral("Menu_AA2"));
    reg.modeless<A3>(QStringLiteral("Menu_AA4"));
}
