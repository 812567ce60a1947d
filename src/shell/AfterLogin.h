#pragma once
// The set-up after every successful login: the account set is prepared for
// work (folder, login-time schema upgrades, stale number reservations
// dropped), and the main window's caption, menus and the two price flags are
// shaped by the operator's permission words. Operator "001" is not restricted.

#include <QString>

struct App;

// Runs the set-up for app.OperatorCode; returns the default big text of the
// background (the company name). Shows nothing; a failing step leaves its
// state as it was and the next step runs.
QString AfterLoginSetup(App& app);

// The folder of an account-set path with its trailing separator; "" without one.
QString FolderOfSetPath(const QString& path);

// The price flags of a price word (F65): {CanSeeCost, CanSeeProfit}.
struct PriceFlags {
    bool cost = false;
    bool profit = false;
};
PriceFlags PriceFlagsOf(double word);
