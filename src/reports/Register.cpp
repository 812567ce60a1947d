#include "reports/Register.h"

#include "core/WindowRegistry.h"
#include "reports/C1.h"
#include "reports/C11.h"
#include "reports/JxcHZ.h"
#include "reports/JxcMx.h"

void RegisterReportWindows(WindowRegistry& reg)
{
    reg.modeless<C1>(QStringLiteral("Menu_KC0"));
    reg.modeless<C11>(QStringLiteral("Menu_KC1"));
    reg.modeless<JxcMx>(QStringLiteral("Menu_E1"));
    reg.modeless<JxcHZ>(QStringLiteral("Menu_E3"));
    reg.road.stockAlarm = &ShowStockAlarm;
}
