#pragma once
// The operators of the account set (TE1): account, name, password and the
// eight permission words F61-F68 in the form HasRight reads. Only an operator
// holding the system group (F66) or the top administrator "001" may change
// them; "001" is always stored with every permission and cannot be deleted.

#include <QString>
#include <QVector>
#include <array>
#include <optional>

struct App;
class Database;


struct OperatorListRow {
    QString code;
    QString name;
};

struct OperatorRecord {
    QString code;
    QString name;
    QString password;
    std::array<int, 8> words{};  // F61 ... F68; a null word reads 0
};

// The operators sorted by account, for the list.
QVector<OperatorListRow> ListOperators(const Database& db);

// One operator by account; nullopt when nobody holds it.
std::optional<OperatorRecord> LoadOperator(const Database& db, const QString& code);

// True when the logged-in operator may add, change or delete operators.
bool MayManageOperators(const App& app);

// The account and name as stored: SqlSafe-cleaned and in upper case.
QString OperatorText(const QString& typed);

struct OperatorEntry {
    QString code;
    QString name;
    std::array<int, 8> words{};
};

enum class OperatorSaveStatus { Saved, NoRight, EmptyAccount, EmptyName, AccountTaken };

struct OperatorSaveResult {
    OperatorSaveStatus status = OperatorSaveStatus::Saved;
    QString holderName;  // AccountTaken: the operator who holds the account
    OperatorEntry saved;  // Saved: the values written
};

// Adds an operator with an empty password. Refuses without the right, with an
// empty account or name, and when the account is taken. Throws DbError.
OperatorSaveResult AddOperator(App& app, const OperatorEntry& entry);

// Changes the operator listed as `listedCode` in one statement, keeping his
// password, notes and caption; the account may change to a free one. When the
// row vanished meanwhile it is added again with `keptPassword`. Throws DbError.
OperatorSaveResult UpdateOperator(App& app, const QString& listedCode, const OperatorEntry& entry,
                                  const QString& keptPassword);

enum class OperatorDeleteStatus { Deleted, NoRight, TopAdministrator };

// Deletes one operator; "001" is refused. Throws DbError.
OperatorDeleteStatus DeleteOperator(App& app, const QString& code);
