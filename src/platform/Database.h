#pragma once
// The one way this program reaches an account-set file: an encrypted SQLite
// (SQLCipher) database. Every window and service goes through Database; no
// other code calls the SQLite API.
//
// Errors are thrown as DbError. The layer sorts them into the few kinds the
// program reacts to differently (wrong password or not an account set, file
// missing or not writable, busy) so that callers never parse message texts.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <exception>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class DbError : public std::exception {
public:
    enum class Kind {
        Other,
        NotADatabase,  // wrong password, or the file is no account set
        NoAccess,      // file missing, or it cannot be opened for writing
        Busy,          // another workstation holds the file locked
    };
    DbError(int number, QString description, Kind kind = Kind::Other);

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    Kind kind() const { return m_kind; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    int m_number;
    QString m_description;
    Kind m_kind;
    QByteArray m_utf8;
};

// A read-only snapshot of a query result: all rows are read at once, so the
// statement is finished before the caller looks at the data. Rows can be read
// by index, or walked with the cursor (eof / moveNext / field) the way the
// record-set code of the windows reads.
class RecordSet {
public:
    RecordSet() = default;

    int columnCount() const { return int(m_names.size()); }
    const QStringList& columnNames() const { return m_names; }
    int columnIndex(const QString& name) const;  // case-insensitive; -1 when absent
    int rowCount() const { return m_cols ? int(m_cells.size() / m_cols) : 0; }
    bool isEmpty() const { return rowCount() == 0; }

    // Null stays null (an invalid QVariant); a missing column throws DbError.
    QVariant value(int row, int col) const;
    QVariant value(int row, const QString& name) const;
    QString text(int row, int col) const { return value(row, col).toString(); }
    QString text(int row, const QString& name) const { return value(row, name).toString(); }
    double number(int row, const QString& name) const { return value(row, name).toDouble(); }

    // Cursor access.
    bool eof() const { return m_cursor >= rowCount(); }
    void moveNext() { ++m_cursor; }
    void moveFirst() { m_cursor = 0; }
    int position() const { return m_cursor; }
    QVariant field(int col) const { return value(m_cursor, col); }
    QVariant field(const QString& name) const { return value(m_cursor, name); }

private:
    friend class Database;
    QStringList m_names;
    std::vector<QVariant> m_cells;
    int m_cols = 0;
    int m_cursor = 0;
};

class Database;

// A prepared statement for bulk work (one prepare, many executions).
class Statement {
public:
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value);  // index from 0
    void bindAll(const QVariantList& values);
    bool step();   // true while a row is available
    void exec();   // step to the end, then reset for the next execution
    void reset();  // ready for new bindings
    QVariant column(int index) const;
    // The column read straight from the statement, for loops over many rows:
    // a number (0 for null), an integer, or whether it is null.
    double number(int index) const;
    qint64 integer(int index) const;
    bool isNull(int index) const;
    int columnCount() const;

private:
    Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

class Database {
public:
    // The password every account set and the template carry.
    static const QString DefaultPassword;

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file shared and writable. Throws DbError: NoAccess when
    // the file is missing or cannot be written, NotADatabase on a wrong password
    // or a file that is no encrypted account set. An empty password opens (or
    // creates) a plain SQLite file.
    void open(const QString& path, const QString& password = DefaultPassword);
    // Makes a new, empty encrypted file (fails if the file exists).
    void create(const QString& path, const QString& password = DefaultPassword);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    const QString& path() const { return m_path; }
    const QString& password() const { return m_password; }

    // Runs one statement; parameters bind to "?" in order.
    void execute(const QString& sql, const QVariantList& params = {});
    // Runs several statements separated by ";" (no parameters).
    void executeScript(const QString& sql);
    // Runs a statement and ignores any failure; true when it succeeded.
    bool tryExecute(const QString& sql) noexcept;
    int changes() const;
    qint64 lastInsertRowId() const;

    RecordSet query(const QString& sql, const QVariantList& params = {}) const;
    // First field of the first row; a null QVariant for no row or a null field.
    QVariant scalar(const QString& sql, const QVariantList& params = {}) const;
    // Tells "no row" (nullopt) from a row whose first field is null.
    std::optional<QVariant> scalarRow(const QString& sql, const QVariantList& params = {}) const;

    bool tableExists(const QString& table) const;
    bool columnExists(const QString& table, const QString& column) const;

    bool inTransaction() const;
    // Page cache in KiB for connections that walk many lines.
    void setCacheSizeKiB(int kib);
    // How long a statement waits for another workstation's lock before it
    // fails with Kind::Busy (15 s unless changed).
    void setBusyTimeout(int ms);

    // Writes a compacted copy of an account set to a new file with the same
    // password. The source must not be open in this process.
    static void compactFile(const QString& source, const QString& target,
                            const QString& password = DefaultPassword);
    // Copies the open database into a new file with the given password (an
    // export through SQLCipher, so the copy is also compacted).
    void exportTo(const QString& target, const QString& password = DefaultPassword);

    sqlite3* handle() const { return m_db; }
    [[noreturn]] void raise(int rc, const QString& context = {}) const;

private:
    friend class Statement;
    void openConnection(const QString& path, const QString& password, bool create);
    sqlite3_stmt* prepareRaw(const QString& sql) const;
    static void bindValue(sqlite3_stmt* st, int index, const QVariant& v, const Database& db);
    static QVariant columnValue(sqlite3_stmt* st, int col);

    sqlite3* m_db = nullptr;
    QString m_path;
    QString m_password;
    int m_savepointDepth = 0;
    friend class Transaction;
};

// All-or-nothing scope for a multi-step write. The outermost one takes the
// write lock at once (BEGIN IMMEDIATE) so two workstations never interleave;
// a nested one is a savepoint inside the caller's transaction. Rolls back in
// its destructor unless commit() ran.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    QString m_savepoint;  // empty for the outermost transaction
    bool m_done = false;
};

// One row of a table edited field by field and then stored: the updatable
// record set of the record windows and imports. find() positions on the first
// row matching a condition; addNew() starts a new row; update() stores.
class UpdatableRow {
public:
    UpdatableRow(Database& db, const QString& table);
    bool find(const QString& where, const QVariantList& params = {});
    void addNew();
    void set(const QString& column, const QVariant& value);
    QVariant get(const QString& column) const;
    void update();
    bool isNew() const { return m_rowid < 0; }

private:
    Database& m_db;
    QString m_table;
    qint64 m_rowid = -1;
    QVariantMap m_loaded;
    QList<QPair<QString, QVariant>> m_changes;
};
