#include "reports/Register.h"

#include "core/App.h"
#include "core/WindowRegistry.h"
#include "platform/Messages.h"
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
    // The statistics windows, each item in its mode.
    auto inMode = [](auto make, const char* mode) {
        return [make, mode](App& app, QWidget* parent) -> QWidget* { return make(app, parent, QString::fromLatin1(mode)); };
    };
    const auto lst = [](App& app, QWidget* parent, const QString& mode) { return new Lst(app, parent, mode); };
    const auto dz = [](App& app, QWidget* parent, const QString& mode) { return new DZLst(app, parent, mode); };
    reg.modeless(QStringLiteral("Menu_BB6"), inMode(lst, "B2"));
    reg.modeless(QStringLiteral("Menu_BB7"), inMode(lst, "B4"));
    reg.modeless(QStringLiteral("Menu_DD6"), inMode(lst, "D2"));
    reg.modeless(QStringLiteral("Menu_DD7"), inMode(lst, "D4"));
    reg.modeless(QStringLiteral("menu_Edz1"), inMode(dz, "B2"));
    reg.modeless(QStringLiteral("menu_Edz2"), inMode(dz, "D2"));
    reg.modeless<CBLst>(QStringLiteral("menu_Ecb"), [](App& app) {
        if (app.CanSeeCost != 0)
            return true;
        MsgBox(NoRightsText, MB::Information, QString());
        return false;
    });
    reg.modeless<MLLst>(QStringLiteral("Menu_Eml"));
    reg.modeless<C3>(QStringLiteral("Menu_C3"));
    reg.road.stockAlarm = &ShowStockAlarm;
}
