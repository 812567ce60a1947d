#include "platform/Database.h"

#include "platform/SqlFunctions.h"
#include "platform/WholeFile.h"
#include "platform/sqlcipher.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <QLocale>

const QString Database::DefaultPassword = QStringLiteral("QZK7391");

namespace {

// Page size of every account set: set on each open, since it cannot be read
// back from an encrypted file.
constexpr int CipherPageSize = 4096;
// How long a statement waits for another workstation's lock before failing.
constexpr int BusyTimeoutMs = 15000;

DbError::Kind kindOf(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
        return DbError::Kind::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        return DbError::Kind::NoAccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError::Kind::Busy;
    case SQLITE_CORRUPT:
        return DbError::Kind::Damaged;
    default:
        return DbError::Kind::Other;
    }
}

DbErrorLog& errorLog()
{
    static DbErrorLog log;
    return log;
}

void logTechnical(const QString& technical)
{
    if (errorLog())
        errorLog()(technical);
}

QString quoteLiteral(QString s)
{
    return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

}  // namespace

DbError::DbError(int number, QString description, Kind kind, QString technical)
    : m_number(number), m_description(std::move(description)), m_kind(kind), m_technical(std::move(technical)),
      m_utf8(m_description.toUtf8())
{
}

DbErrorLog SetDbErrorLog(DbErrorLog log)
{
    std::swap(errorLog(), log);
    return log;
}

QString DbFailureText(DbError::Kind kind, int rc)
{
    switch (kind) {
    case DbError::Kind::Busy:
        return QStringLiteral("其它工作站正在使用账套数据，请稍候再试。");
    case DbError::Kind::Damaged:
    case DbError::Kind::NotADatabase:
        return QStringLiteral("账套文件已损坏，请先使用数据库修复功能修复账套文件。");
    case DbError::Kind::NoAccess:
        return QStringLiteral("无法读写账套文件，请检查您对该账套文件及其所在文件夹的权限。");
    case DbError::Kind::Other:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("磁盘空间已满，数据无法写入。");
    case SQLITE_IOERR:
        return QStringLiteral("读写账套文件时出错，请检查磁盘或网络连接后再试。");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足，请关闭其它程序后再试。");
    default:
        return QStringLiteral("数据库操作出错，详细信息已写入错误日志。");
    }
}

// ---------------------------------------------------------------- RecordSet

int RecordSet::columnIndex(const QString& name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant RecordSet::value(int row, int col) const
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= m_cols)
        throw DbError(-1, QStringLiteral("记录集中没有第 %1 行第 %2 列").arg(row).arg(col));
    return m_cells[size_t(row) * size_t(m_cols) + size_t(col)];
}

QVariant RecordSet::value(int row, const QString& name) const
{
    const int col = columnIndex(name);
    if (col < 0)
        throw DbError(-1, QStringLiteral("记录集中没有字段 %1").arg(name));
    return value(row, col);
}

// ---------------------------------------------------------------- Statement

Statement::Statement(const Database& db, const QString& sql) : m_db(db), m_sql(sql)
{
    m_stmt = db.prepareRaw(sql);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const QVariant& value)
{
    Database::bindValue(m_stmt, index + 1, value, m_db);
}

void Statement::bindAll(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i, values[i]);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_db.raise(rc, m_sql);
}

void Statement::exec()
{
    while (step()) {
    }
    reset();
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QVariant Statement::column(int index) const
{
    return Database::columnValue(m_stmt, index);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int index) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, index));
}

void Statement::bindReal(int index, double value)
{
    const int rc = sqlite3_bind_double(m_stmt, index + 1, value);
    if (rc != SQLITE_OK)
        m_db.raise(rc, QStringLiteral("bind"));
}

void Statement::bindNull(int index)
{
    const int rc = sqlite3_bind_null(m_stmt, index + 1);
    if (rc != SQLITE_OK)
        m_db.raise(rc, QStringLiteral("bind"));
}

void Statement::bindInt64(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index + 1, value);
    if (rc != SQLITE_OK)
        m_db.raise(rc, QStringLiteral("bind"));
}

bool Statement::isNull(int index) const
{
    return sqlite3_column_type(m_stmt, index) == SQLITE_NULL;
}

double Statement::real(int index) const
{
    return sqlite3_column_double(m_stmt, index);
}

qint64 Statement::int64(int index) const
{
    return sqlite3_column_int64(m_stmt, index);
}

QString Statement::text(int index) const
{
    switch (sqlite3_column_type(m_stmt, index)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_stmt, index));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(m_stmt, index), 'g', QLocale::FloatingPointShortest);
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index)),
                                 sqlite3_column_bytes(m_stmt, index));
    }
}

QByteArrayView Statement::utf8(int index) const
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index));
    return QByteArrayView(t, t ? sqlite3_column_bytes(m_stmt, index) : 0);
}

// ----------------------------------------------------------------- Database

Database::Database() = default;

Database::~Database()
{
    close();
}

void Database::open(const QString& path, const QString& password)
{
    openConnection(path, password, false);
}

void Database::create(const QString& path, const QString& password)
{
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("文件已存在：%1").arg(path), DbError::Kind::NoAccess);
    openConnection(path, password, true);
}

void Database::openConnection(const QString& path, const QString& password, bool create)
{
    close();
    const QFileInfo fi(path);
    if (!create && (!fi.exists() || !fi.isFile()))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("找不到文件：%1").arg(path), DbError::Kind::NoAccess);
    if (!create && !fi.isWritable())
        throw DbError(SQLITE_READONLY, QStringLiteral("没有写入该文件的权限：%1").arg(path),
                      DbError::Kind::NoAccess);

    sqlite3* db = nullptr;
    // A connection is used by one thread at a time, so it takes no mutex of its
    // own: under FULLMUTEX every column read locks and unlocks one.
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const QByteArray file = path.toUtf8();
    int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        logTechnical(msg + QStringLiteral(" [") + path + QLatin1Char(']'));
        throw DbError(rc, QStringLiteral("无法打开文件 %1：%2").arg(path, DbFailureText(kindOf(rc), rc)), kindOf(rc),
                      msg);
    }
    m_db = db;
    m_path = path;
    m_password = password;
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);

    try {
        // No password means a plain SQLite file: SQLCipher refuses an empty key.
        if (!password.isEmpty()) {
            const QByteArray key = password.toUtf8();
            rc = sqlite3_key(m_db, key.constData(), key.size());
            if (rc != SQLITE_OK)
                raise(rc, QStringLiteral("key"));
            executeScript(QStringLiteral("PRAGMA cipher_page_size = %1").arg(CipherPageSize));
        }
        // The first read decrypts page 1: a wrong key or a plain file fails here.
        query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (!create && sqlite3_db_readonly(m_db, "main") == 1)
            throw DbError(SQLITE_READONLY, QStringLiteral("账套文件只能以只读方式打开：%1").arg(path),
                          DbError::Kind::NoAccess);
        RegisterSqlFunctions(m_db);
    } catch (const DbError& e) {
        sqlite3_close(m_db);
        m_db = nullptr;
        m_path.clear();
        if (e.kind() == DbError::Kind::NotADatabase)
            throw DbError(e.number(), QStringLiteral("不是有效的账套文件或密码错误：%1").arg(path),
                          DbError::Kind::NotADatabase, e.technical());
        throw;
    }
}

void Database::close()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_path.clear();
    m_savepointDepth = 0;
}

void Database::raise(int rc, const QString& context) const
{
    QString technical = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (!context.isEmpty())
        technical += QStringLiteral(" [") + context.left(500) + QLatin1Char(']');
    if (!m_quiet)
        logTechnical(technical);
    throw DbError(rc, DbFailureText(kindOf(rc), rc), kindOf(rc), technical);
}

sqlite3_stmt* Database::prepareRaw(const QString& sql) const
{
    if (!m_db)
        throw DbError(-1, QStringLiteral("没有打开的账套"));
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), text.size(), &st, nullptr);
    if (rc != SQLITE_OK)
        raise(rc, sql);
    if (!st)
        throw DbError(-1, QStringLiteral("空语句"));
    return st;
}

void Database::bindValue(sqlite3_stmt* st, int index, const QVariant& v, const Database& db)
{
    int rc;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(st, index);
    } else {
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(st, index, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(st, index, v.toDouble());
            break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text(st, index, v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8().constData(),
                                   -1, SQLITE_TRANSIENT);
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob(st, index, b.constData(), b.size(), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(st, index, t.constData(), t.size(), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        db.raise(rc, QStringLiteral("bind"));
}

QVariant Database::columnValue(sqlite3_stmt* st, int col)
{
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(st, col)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, col));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                          sqlite3_column_bytes(st, col)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, col)),
                                   sqlite3_column_bytes(st, col)));
    default:
        return QVariant();
    }
}

void Database::execute(const QString& sql, const QVariantList& params)
{
    sqlite3_stmt* st = prepareRaw(sql);
    for (int i = 0; i < params.size(); ++i) {
        try {
            bindValue(st, i + 1, params[i], *this);
        } catch (...) {
            sqlite3_finalize(st);
            throw;
        }
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        raise(rc, sql);
}

void Database::executeScript(const QString& sql)
{
    if (!m_db)
        throw DbError(-1, QStringLiteral("没有打开的账套"));
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString technical = (err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc))) +
                                  QStringLiteral(" [") + sql.left(500) + QLatin1Char(']');
        sqlite3_free(err);
        logTechnical(technical);
        throw DbError(rc, DbFailureText(kindOf(rc), rc), kindOf(rc), technical);
    }
}

bool Database::tryExecute(const QString& sql) noexcept
{
    // A failure the caller expects and ignores is no error worth logging.
    m_quiet = true;
    try {
        execute(sql);
        m_quiet = false;
        return true;
    } catch (...) {
        m_quiet = false;
        return false;
    }
}

int Database::changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

qint64 Database::lastInsertRowId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

RecordSet Database::query(const QString& sql, const QVariantList& params) const
{
    sqlite3_stmt* st = prepareRaw(sql);
    RecordSet rs;
    try {
        for (int i = 0; i < params.size(); ++i)
            bindValue(st, i + 1, params[i], *this);
        rs.m_cols = sqlite3_column_count(st);
        for (int c = 0; c < rs.m_cols; ++c) {
            rs.m_names << QString::fromUtf8(sqlite3_column_name(st, c));
            const char* decl = sqlite3_column_decltype(st, c);
            const QByteArray type = QByteArray(decl ? decl : "").toUpper();
            rs.m_real << (type.contains("REAL") || type.contains("DOUB") || type.contains("FLOA"));
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            for (int c = 0; c < rs.m_cols; ++c)
                rs.m_cells.push_back(columnValue(st, c));
        if (rc != SQLITE_DONE)
            raise(rc, sql);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
    return rs;
}

std::optional<QVariant> Database::scalarRow(const QString& sql, const QVariantList& params) const
{
    sqlite3_stmt* st = prepareRaw(sql);
    std::optional<QVariant> result;
    try {
        for (int i = 0; i < params.size(); ++i)
            bindValue(st, i + 1, params[i], *this);
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            result = sqlite3_column_count(st) > 0 ? columnValue(st, 0) : QVariant();
        else if (rc != SQLITE_DONE)
            raise(rc, sql);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
    return result;
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) const
{
    return scalarRow(sql, params).value_or(QVariant());
}

bool Database::tableExists(const QString& table) const
{
    return scalarRow(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"),
                     {table})
        .has_value();
}

bool Database::columnExists(const QString& table, const QString& column) const
{
    const RecordSet rs = query(QStringLiteral("PRAGMA table_info(%1)").arg(quoteLiteral(table)));
    for (int r = 0; r < rs.rowCount(); ++r)
        if (rs.text(r, QStringLiteral("name")).compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool Database::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void Database::setCacheSizeKiB(int kib)
{
    executeScript(QStringLiteral("PRAGMA cache_size = -%1").arg(kib));
}

int Database::cacheSizeKiB() const
{
    const int pages = scalar(QStringLiteral("PRAGMA cache_size")).toInt();
    if (pages <= 0)
        return -pages;
    return int(qint64(pages) * scalar(QStringLiteral("PRAGMA page_size")).toLongLong() / 1024);
}

qint64 Database::fileSize() const
{
    return m_path.isEmpty() ? 0 : QFileInfo(m_path).size();
}

void Database::setBusyTimeout(int ms)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, ms);
}

void Database::exportTo(const QString& target, const QString& password, const CopyFinish& finish)
{
    if (QFileInfo::exists(target))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("目标文件已存在：%1").arg(target), DbError::Kind::NoAccess);
    // ATTACH opens a file with this connection's flags, which never include
    // creating one: the copy starts as the empty partial file.
    PartialFile copy(target);
    executeScript(QStringLiteral("ATTACH DATABASE %1 AS vxcopy KEY %2")
                      .arg(quoteLiteral(copy.path()), quoteLiteral(password)));
    try {
        executeScript(QStringLiteral("PRAGMA vxcopy.cipher_page_size = %1").arg(CipherPageSize));
        query(QStringLiteral("SELECT sqlcipher_export('vxcopy')"));
    } catch (const DbError& e) {
        tryExecute(QStringLiteral("DETACH DATABASE vxcopy"));
        // The export reports a full disk as a plain failure of its statement.
        if ((e.number() & 0xff) == SQLITE_FULL || DiskFullAt(QFileInfo(target).absolutePath()))
            ThrowFileWriteError(target, ENOSPC);
        throw;
    } catch (...) {
        tryExecute(QStringLiteral("DETACH DATABASE vxcopy"));
        throw;
    }
    executeScript(QStringLiteral("DETACH DATABASE vxcopy"));
    if (finish)
        finish(copy.path());
    copy.commit(false);
}

void Database::compactFile(const QString& source, const QString& target, const QString& password,
                           const CopyFinish& finish)
{
    Database src;
    src.open(source, password);
    src.exportTo(target, password, finish);
}

// -------------------------------------------------------------- Transaction

Transaction::Transaction(Database& db) : m_db(db)
{
    if (!db.inTransaction()) {
        db.executeScript(QStringLiteral("BEGIN IMMEDIATE"));
        db.m_savepointDepth = 0;
    } else {
        m_savepoint = QStringLiteral("vx_sp%1").arg(++db.m_savepointDepth);
        db.executeScript(QStringLiteral("SAVEPOINT ") + m_savepoint);
    }
}

Transaction::~Transaction()
{
    if (m_done || !m_db.isOpen())
        return;
    if (m_savepoint.isEmpty()) {
        m_db.tryExecute(QStringLiteral("ROLLBACK"));
    } else {
        m_db.tryExecute(QStringLiteral("ROLLBACK TO ") + m_savepoint);
        m_db.tryExecute(QStringLiteral("RELEASE ") + m_savepoint);
        --m_db.m_savepointDepth;
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    if (m_savepoint.isEmpty()) {
        m_db.executeScript(QStringLiteral("COMMIT"));
    } else {
        m_db.executeScript(QStringLiteral("RELEASE ") + m_savepoint);
        --m_db.m_savepointDepth;
    }
    m_done = true;
}

// ------------------------------------------------------------- UpdatableRow

UpdatableRow::UpdatableRow(Database& db, const QString& table) : m_db(db), m_table(table)
{
}

bool UpdatableRow::find(const QString& where, const QVariantList& params)
{
    m_changes.clear();
    m_loaded.clear();
    m_rowid = -1;
    const RecordSet rs = m_db.query(
        QStringLiteral("SELECT rowid AS vx_rowid, * FROM %1 WHERE %2 LIMIT 1").arg(m_table, where), params);
    if (rs.isEmpty())
        return false;
    m_rowid = rs.value(0, 0).toLongLong();
    for (int c = 1; c < rs.columnCount(); ++c)
        m_loaded.insert(rs.columnNames()[c].toLower(), rs.value(0, c));
    return true;
}

void UpdatableRow::addNew()
{
    m_changes.clear();
    m_loaded.clear();
    m_rowid = -1;
}

void UpdatableRow::set(const QString& column, const QVariant& value)
{
    for (auto& change : m_changes)
        if (change.first.compare(column, Qt::CaseInsensitive) == 0) {
            change.second = value;
            return;
        }
    m_changes.append({column, value});
}

QVariant UpdatableRow::get(const QString& column) const
{
    for (const auto& change : m_changes)
        if (change.first.compare(column, Qt::CaseInsensitive) == 0)
            return change.second;
    return m_loaded.value(column.toLower());
}

void UpdatableRow::update()
{
    if (m_changes.isEmpty())
        return;
    QStringList cols;
    QVariantList values;
    for (const auto& change : m_changes) {
        cols << QStringLiteral("[%1]").arg(change.first);
        values << change.second;
    }
    if (m_rowid < 0) {
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        m_db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(m_table, cols.join(','), marks.join(',')),
                     values);
        m_rowid = m_db.lastInsertRowId();
    } else {
        QStringList sets;
        for (const QString& c : cols)
            sets << c + QStringLiteral("=?");
        values << m_rowid;
        m_db.execute(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(m_table, sets.join(',')), values);
    }
    for (const auto& change : m_changes)
        m_loaded.insert(change.first.toLower(), change.second);
    m_changes.clear();
}
