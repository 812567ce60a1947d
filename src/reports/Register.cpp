#include "reports/Register.h"

#include "core/App.h"
#include "core/WindowRegistry.h"
#include "reports/C1.h"
#include "reports/C11.h"
#include "reports/JxcHZ.h"
#include "reports/JxcMx.h"
#include "reports/StatisticsReportForm.h"
#include "widgets/NoRightsRefusal.h"

void RegisterReportWindows(WindowRegistry& reg)
{
    reg.modeless<C1>(QStringLiteral("Menu_KC0"));
    reg.modeless<C11>(QStringLiteral("Menu_KC1"));
    reg.modeless<JxcMx>(QStringLiteral("Menu_E1"));
    reg.modeless<JxcHZ>(QStringLiteral("Menu_E3"));
    // The statistics windows: one window per member, each item in its mode;
    // an item chosen while its member is open switches the window to its mode.
    const auto inMode = [&reg](const char* item, const char* instance, const char* mode, auto make) {
        using W = std::remove_pointer_t<decltype(make(std::declval<App&>(), nullptr, QString()))>;
        const QString m = QString::fromLatin1(mode);
        reg.modelessInMode<W>(
            QString::fromLatin1(item), QString::fromLatin1(instance),
            [make, m](App& app, QWidget* parent) { return make(app, parent, m); },
            [m](W* w) { w->setMode(m); });
    };
    const auto lst = [](App& app, QWidget* parent, const QString& mode) { return new Lst(app, parent, mode); };
    const auto dz = [](App& app, QWidget* parent, const QString& mode) { return new DZLst(app, parent, mode); };
    inMode("Menu_BB6", "Lst", "B2", lst);
    inMode("Menu_BB7", "Lst", "B4", lst);
    inMode("Menu_DD6", "Lst", "D2", lst);
    inMode("Menu_DD7", "Lst", "D4", lst);
    inMode("menu_Edz1", "DZLst", "B2", dz);
    inMode("menu_Edz2", "DZLst", "D2", dz);
    reg.modeless<CBLst>(QStringLiteral("menu_Ecb"), SeesCost());
    reg.modeless<MLLst>(QStringLiteral("Menu_Eml"), SeesGrossProfit());
    reg.modeless<C3>(QStringLiteral("Menu_C3"));
    reg.road.stockAlarm = &ShowStockAlarm;
}
