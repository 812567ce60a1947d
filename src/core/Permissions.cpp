#include "core/Permissions.h"

#include "core/App.h"
#include "core/SqlText.h"

#include <cmath>

namespace {

// A stored word written with at least four digits ("#0000"); a text that is
// no number stays as it is, so its digits read as not granted.
QString fourDigits(const QString& stored)
{
    bool ok = false;
    const double value = stored.toDouble(&ok);
    if (!ok)
        return stored;
    const double whole = std::round(std::fabs(value));
    const QString digits = QStringLiteral("%1").arg(whole, 4, 'f', 0, QLatin1Char('0'));
    return value < 0 && whole != 0 ? QLatin1Char('-') + digits : digits;
}

bool digitGranted(const QString& word, int digit)
{
    if (digit < 1 || digit > word.size())
        return false;
    const QChar c = word.at(digit - 1);
    return c >= QLatin1Char('1') && c <= QLatin1Char('9');
}

}  // namespace

bool HasRight(const App& app, int group, int digit)
{
    if (group < RightBasicData || group > RightReports)
        return false;
    const QString stored = SqlScalar(app.CurrentDatabase,
                                     QStringLiteral("select F6%1 from Te1 where F1=?").arg(group),
                                     {app.OperatorCode});
    return digitGranted(fourDigits(stored), digit);
}

int PermissionWord(bool groupOn, bool item1, bool item2, bool item3)
{
    if (!groupOn)
        return 0;
    return 1 + (item1 ? 10 : 0) + (item2 ? 100 : 0) + (item3 ? 1000 : 0);
}

PermissionItems DecodePermissionWord(int word)
{
    const QString digits = fourDigits(QString::number(word));
    PermissionItems items;
    items.groupOn = digitGranted(digits, RightGroupOn);
    items.item1 = digitGranted(digits, RightItem1);
    items.item2 = digitGranted(digits, RightItem2);
    items.item3 = digitGranted(digits, RightItem3);
    return items;
}

bool IsTopAdministrator(const App& app)
{
    return app.OperatorCode == TopAdministrator;
}
