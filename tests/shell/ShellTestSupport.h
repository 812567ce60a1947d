#pragma once
// Helpers shared by the shell tests: driving popup menus and reading the
// menu model.

#include "core/MenuModel.h"
#include "support/Popups.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>

// Captions of the visible children of a menu, joined by "|".
inline QString VisibleCaptions(const MenuModel& m, const QString& menu)
{
    QStringList captions;
    for (const MenuItem* it : m.item(menu)->children)
        if (it->visible)
            captions << it->caption;
    return captions.join(QLatin1Char('|'));
}
