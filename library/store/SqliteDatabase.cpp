#include "SqliteDatabase.h"

#include "SqliteStatement.h"

#include <QFile>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

void SqliteDatabase::Closer::operator()(sqlite3 *handle) const
{
    sqlite3_close_v2(handle);
}

SqliteDatabase::SqliteDatabase() = default;

SqliteDatabase::~SqliteDatabase() = default;

bool SqliteDatabase::open(const QString &path, int flags)
{
    m_cache.clear();
    m_handle.reset();
    sqlite3 *handle = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags | SQLITE_OPEN_EXRESCODE, nullptr);
    // SQLite hands out a handle even when opening fails; it must be closed.
    m_handle.reset(handle);
    if (rc != SQLITE_OK) {
        m_error = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : u"out of memory"_s;
        m_handle.reset();
        return false;
    }
    m_error.clear();
    return true;
}

bool SqliteDatabase::isOpen() const
{
    return m_handle != nullptr;
}

QString SqliteDatabase::lastError() const
{
    return m_error;
}

bool SqliteDatabase::exec(const char *sql)
{
    if (!m_handle) {
        m_error = u"the database is not open"_s;
        return false;
    }
    if (sqlite3_exec(m_handle.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        recordError();
        return false;
    }
    return true;
}

std::unique_ptr<SqliteStatement> SqliteDatabase::prepare(const char *sql)
{
    if (!m_handle) {
        m_error = u"the database is not open"_s;
        return nullptr;
    }
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v3(m_handle.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
        != SQLITE_OK) {
        recordError();
        sqlite3_finalize(statement);
        return nullptr;
    }
    return std::make_unique<SqliteStatement>(*this, statement);
}

SqliteStatement *SqliteDatabase::cached(const char *sql)
{
    auto found = m_cache.find(sql);
    if (found != m_cache.end()) {
        found->second->reset();
        return found->second.get();
    }
    std::unique_ptr<SqliteStatement> statement = prepare(sql);
    if (!statement)
        return nullptr;
    return m_cache.emplace(sql, std::move(statement)).first->second.get();
}

bool SqliteDatabase::transaction(const std::function<bool()> &work)
{
    m_error.clear();
    if (!exec("BEGIN IMMEDIATE"))
        return false;
    if (work() && exec("COMMIT"))
        return true;
    if (m_error.isEmpty())
        m_error = u"the change could not be applied"_s;
    // A failed COMMIT or an I/O error may already have ended the transaction.
    if (!sqlite3_get_autocommit(m_handle.get()))
        sqlite3_exec(m_handle.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

qint64 SqliteDatabase::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_handle.get());
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(m_handle.get());
}

bool SqliteDatabase::copySchemaTo(const char *schema, const QString &targetPath)
{
    SqliteDatabase target;
    if (!target.open(targetPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) {
        m_error = target.lastError();
        return false;
    }
    sqlite3_backup *backup = sqlite3_backup_init(target.m_handle.get(), "main", m_handle.get(), schema);
    if (!backup) {
        m_error = QString::fromUtf8(sqlite3_errmsg(target.m_handle.get()));
        return false;
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished));
        return false;
    }
    return true;
}

void SqliteDatabase::recordError()
{
    m_error = QString::fromUtf8(sqlite3_errmsg(m_handle.get()));
}
