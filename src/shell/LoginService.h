#pragma once
// What the login window computes, apart from its widgets: the operator list,
// the preselected operator, the help text and the password check.

#include <QString>
#include <QStringList>

class Database;

// One item per operator, "account.name", ordered by account as text.
QStringList OperatorList(const Database& db);

// The index of the item to select: the first one beginning with saved + "."
// (so a saved 12 never selects 123), else 0; -1 for an empty list.
int PreselectIndex(const QStringList& items, const QString& saved);

// The account of a list item: the text before the first "." (all of it without one).
QString AccountOfItem(const QString& item);

// The caption of the "set a password" link for an operator without a
// password: his name when it has at most 4 characters, else his account.
QString NoPasswordLinkCaption(const QString& account, const QString& name);

// The help message of the login window (it differs once "001" has a password).
QString LoginHelpText(const Database& db);

enum class LoginCheck {
    Ok,
    Wrong,         // no such operator, or another password
    LookupFailed,  // the stored password could not be read
};
// Compares the typed password with the stored one exactly (an empty or null
// stored password takes an empty box). Only a password actually read can pass.
LoginCheck CheckPassword(const Database& db, const QString& account, const QString& typed);

// The stored password of an operator; "" when he has none or cannot be read.
QString OperatorPassword(const Database& db, const QString& account);
