#pragma once
// The one way this program reaches an account-set file: an encrypted SQLite
// (SQLCipher) database. Every window and service goes through Database; no
// other code calls the SQLite API.
//
// Errors are thrown as DbError. The layer sorts them into the few kinds the
// program reacts to differently (wrong password or not an account set, file
// missing or not writable, busy, damaged) so that callers never parse message
// texts. The description is a Chinese text a clerk understands; the engine's
// own text goes to technical() and to the error log, never to the user.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <algorithm>
#include <exception>
#include <functional>
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
        Damaged,       // the file's pages are damaged
    };
    DbError(int number, QString description, Kind kind = Kind::Other, QString technical = {});

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    // The engine's own text with the statement; "" for errors of the program's own.
    const QString& technical() const { return m_technical; }
    Kind kind() const { return m_kind; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    int m_number;
    QString m_description;
    Kind m_kind;
    QString m_technical;
    QByteArray m_utf8;
};

// Where the engine's own texts of failures go (the program's error log); by
// default nowhere. Returns the previous receiver.
using DbErrorLog = std::function<void(const QString& technical)>;
DbErrorLog SetDbErrorLog(DbErrorLog log);

// The text a clerk is shown for an engine failure of this kind and result code.
QString DbFailureText(DbError::Kind kind, int rc);

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
    // Null and text that is no number read 0.
    double number(int row, int col) const { return value(row, col).toDouble(); }
    double number(int row, const QString& name) const { return value(row, name).toDouble(); }

    // Cursor access.
    bool eof() const { return m_cursor >= rowCount(); }
    void moveNext() { ++m_cursor; }
    void moveFirst() { m_cursor = 0; }
    void moveLast() { m_cursor = rowCount() > 0 ? rowCount() - 1 : 0; }
    // Moves the cursor by n rows (back when negative), kept within 0..rowCount().
    void move(int n) { m_cursor = std::clamp(m_cursor + n, 0, rowCount()); }
    int position() const { return m_cursor; }
    // True when the column is declared as a floating-point number (REAL,
    // DOUBLE, FLOAT) in its table; expressions have no declared type.
    bool isRealColumn(int col) const { return col >= 0 && col < m_real.size() && m_real[col]; }
    QVariant field(int col) const { return value(m_cursor, col); }
    QVariant field(const QString& name) const { return value(m_cursor, name); }

private:
    friend class Database;
    QStringList m_names;
    QList<bool> m_real;
    std::vector<QVariant> m_cells;
    int m_cols = 0;
    int m_cursor = 0;
};

class Database;

// A prepared statement for bulk work (one prepare, many executions).
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value);  // index from 0
    void bindAll(const QVariantList& values);
    bool step();   // true while a row is available
    void exec();   // step to the end, then reset for the next execution
    void reset();  // ready for new bindings
    QVariant column(int index) const;
    int columnCount() const;
    QString columnName(int index) const;

    // Typed access for walks over many rows, without a QVariant per value.
    void bindReal(int index, double value);
    void bindNull(int index);
    void bindInt64(int index, qint64 value);
    bool isNull(int index) const;
    double real(int index) const;     // a number; text reads as SQLite converts it, null as 0
    qint64 int64(int index) const;
    // The value as the cell of a list shows it: text as stored, a number as
    // QVariant::toString() writes it, null as "".
    QString text(int index) const;
    // The value's UTF-8 bytes as stored (numbers as SQLite writes them); valid
    // until the next step or reset.
    QByteArrayView utf8(int index) const;

private:
    const Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

// One connection, used by one thread at a time (it holds no mutex of its own).
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
    // Page cache in KiB for connections that walk or read many lines.
    void setCacheSizeKiB(int kib);
    int cacheSizeKiB() const;
    // Size of the open file in bytes (0 for none).
    qint64 fileSize() const;
    // How long a statement waits for another workstation's lock before it
    // fails with Kind::Busy (15 s unless changed).
    void setBusyTimeout(int ms);

    // Runs on a copy before it takes its real name (for example to strip it).
    using CopyFinish = std::function<void(const QString& partialPath)>;
    // Writes a compacted copy of an account set to a new file with the same
    // password, whole or not at all (as exportTo). The source must not be open
    // in this process.
    static void compactFile(const QString& source, const QString& target,
                            const QString& password = DefaultPassword, const CopyFinish& finish = {});
    // Copies the open database into a new file with the given password (an
    // export through SQLCipher, so the copy is also compacted). The copy is
    // written under a hidden name beside `target`, passed to `finish`, written
    // to disk and only then named `target`: a stopped copy never leaves a file
    // under that name. Throws DbError (NoAccess when `target` exists).
    void exportTo(const QString& target, const QString& password = DefaultPassword, const CopyFinish& finish = {});

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
    bool m_quiet = false;  // inside tryExecute: failures are not logged
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
