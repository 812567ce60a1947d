#pragma once
// Test helpers of the admin windows: an account set as start-up leaves it
// (main menu built with its design captions, settings loaded), and a
// snapshot of the settings table to compare before and after a save.

#include "core/MainMenuTree.h"
#include "support/Fixture.h"

#include <QMap>
#include <QWidget>
#include <QVariant>
#include <QVector>

#include "admin/WizardSettings.h"

class MenuModel;

// A fresh account set with the design menu and its settings loaded.
class LoadedAccountSet : public FreshAccountSet {
public:
    LoadedAccountSet();
};

struct SettingRow {
    qint64 rowid = 0;
    QVariant setval;
    QVariant setstr;
    QVariant shuoming;
    bool operator==(const SettingRow& o) const
    {
        return rowid == o.rowid && setval == o.setval && setstr == o.setstr && shuoming == o.shuoming;
    }
};

// Every sysinfo row by ID, in rowid order.
QMap<int, QVector<SettingRow>> SettingsSnapshot(const Database& db);
// One row's value and text ("" / null when missing).
QVariant SetVal(const Database& db, int id);
QVariant SetStr(const Database& db, int id);

// The wizard's model as it stands when page 1 has been left forwards.
WizardSettings PreparedSettings(App& app);

// Applies choices written "name=value;name=value" with the control names
// (ChK5=1, ChKmoshi0=1, TxtDan0=进货单, CmbDay=27, TxtDanEnabled1=0 ...).
void ApplyChoices(WizardSettings& s, const QString& choices);

// A control of a window by its name; null (with a warning naming it) when absent.
template <class T>
T* child(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}
