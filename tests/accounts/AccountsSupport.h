#pragma once
// Shared set-up of the accounts tests: units of both sides, vouchers saved
// through the service, stock documents posted with a balance move; the check
// that every unit's balance chain equals a walk of its rows comes with it.

#include "accounts/VoucherService.h"
#include "support/BalanceChains.h"

#include <QDate>
#include <QString>

class Database;
struct App;

// Suppliers S1 (opening 100), S2 and customers C1 (opening 50), C2.
void AddAccountUnits(Database& db);

// Saves a new voucher of `kind` through the service; fails the test unless saved.
VoucherSaveResult AddVoucher(App& app, DocKind kind, const QString& number, const QDate& date, const QString& unit,
                             double amount);

// Posts a one-line inbound document of `unit` with YF = amount.
QString PostStockDocument(App& app, const QString& number, const QDate& date, const QString& unit, double amount);
