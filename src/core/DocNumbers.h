#pragma once
// Document numbers: prefix + yy + mm + dd + a four-digit serial that is unique
// per prefix and month, whatever the day. A number handed to a window is
// reserved in DanNo for the rest of the day, so that another workstation
// neither proposes nor reserves it before the document is saved.
//
// Reservations of earlier days carry no weight. A reservation belongs to the
// operator who made it (DanNo.Other holds OperatorName): only that operator
// can replace or release it. Every reservation of today blocks a proposal,
// the proposing operator's own ones included (a second window of the same
// operator must not get the same number).

#include <QDate>
#include <QString>

class Database;
struct App;

// What NextDocNumber answers when no serial of the month is left; the window
// shows it in the number field so the operator types a number.
inline const QString NoFreeDocNumber = QStringLiteral("请录入单据号");

// The proposed number for a document of `prefix` dated `date`: the serial
// after the highest one of the latest day of the month in `table` ("TB1"),
// skipping serials used on any day of the month and numbers reserved today.
// Reads only; throws DbError.
QString NextDocNumber(const Database& db, const QString& prefix, const QString& table, const QDate& date);

// Proposes a number like NextDocNumber and reserves it for the operator, in
// one write transaction, so two workstations never get the same number.
// Answers NoFreeDocNumber (and reserves nothing) when the month is full.
// Throws DbError.
QString ReserveNextDocNumber(App& app, const QString& prefix, const QString& table, const QDate& date,
                             int editState);

// True when no reservation of today holds the number; trims the caller's
// text. A failed look-up counts as free.
bool IsDocNumberFree(const Database& db, QString& number);
bool IsDocNumberFree(const Database& db, const QString& number);

// Reserves the number for the logged-in operator for today, replacing the
// operator's own or stale reservations of it; trims the caller's text. False
// (nothing written) for an empty number, a number another operator reserved
// today, or a failed write.
bool ReserveNumber(App& app, QString& number, int editState);
bool ReserveNumber(App& app, const QString& number, int editState);

// Removes the logged-in operator's reservation of the number; another
// operator's reservation stays. Errors are ignored.
void ReleaseNumber(App& app, const QString& number);
