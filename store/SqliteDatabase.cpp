#include "store/SqliteDatabase.h"

#include "store/SqliteStatement.h"
#include "store/StoreLog.h"

#include <QFile>

#include <sqlite3.h>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// Blobs move in pieces of this size, so that neither side needs a copy of
// the whole picture at once.
constexpr int BlobChunk = 1 << 20;

StoreReason reasonFor(int resultCode, int systemError)
{
    switch (resultCode & 0xFF) {
    case SQLITE_FULL:
        return StoreReason::DiskFull;
    case SQLITE_IOERR:
        // A file size limit ends a write the way a full disk does.
        if (systemError == ENOSPC || systemError == EFBIG)
            return StoreReason::DiskFull;
        return StoreReason::DiskError;
    case SQLITE_READONLY:
        return StoreReason::ReadOnly;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return StoreReason::NoPermission;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StoreReason::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreReason::Busy;
    case SQLITE_CANTOPEN:
        return StoreReason::CannotOpen;
    case SQLITE_TOOBIG:
        return StoreReason::TooBig;
    case SQLITE_NOMEM:
        return StoreReason::OutOfMemory;
    default:
        return StoreReason::OtherSqliteError;
    }
}

std::unexpected<StoreError> sqliteError(int resultCode, int systemError)
{
    const QString words = QString::fromUtf8(sqlite3_errstr(resultCode));
    return std::unexpected(StoreError{reasonFor(resultCode, systemError), words});
}

// Owns an open blob handle.
struct BlobCloser
{
    void operator()(sqlite3_blob *blob) const { sqlite3_blob_close(blob); }
};
using BlobHandle = std::unique_ptr<sqlite3_blob, BlobCloser>;

}

void SqliteDatabase::Closer::operator()(sqlite3 *handle) const
{
    sqlite3_close_v2(handle);
}

SqliteDatabase::SqliteDatabase() = default;

SqliteDatabase::~SqliteDatabase() = default;

std::expected<void, StoreError> SqliteDatabase::open(const QString &path, int flags)
{
    m_cache.clear();
    m_handle.reset();
    sqlite3 *handle = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags | SQLITE_OPEN_EXRESCODE, nullptr);
    // SQLite hands out a handle even when opening fails; it must be closed.
    m_handle.reset(handle);
    if (rc == SQLITE_OK)
        return {};
    qCWarning(lcStore) << "cannot open" << path << ":" << (handle ? sqlite3_errmsg(handle) : "out of memory");
    const int systemError = handle ? sqlite3_system_errno(handle) : 0;
    m_handle.reset();
    return sqliteError(rc, systemError);
}

bool SqliteDatabase::isOpen() const
{
    return m_handle != nullptr;
}

std::expected<void, StoreError> SqliteDatabase::check(int resultCode) const
{
    if (resultCode == SQLITE_OK || resultCode == SQLITE_ROW || resultCode == SQLITE_DONE)
        return {};
    const int systemError = m_handle ? sqlite3_system_errno(m_handle.get()) : 0;
    qCWarning(lcStore).nospace() << "SQLite error " << resultCode << " ("
                                 << (m_handle ? sqlite3_errmsg(m_handle.get()) : sqlite3_errstr(resultCode))
                                 << "), system error " << systemError;
    return sqliteError(resultCode, systemError);
}

std::expected<void, StoreError> SqliteDatabase::exec(const char *sql)
{
    if (!m_handle)
        return check(SQLITE_MISUSE);
    return check(sqlite3_exec(m_handle.get(), sql, nullptr, nullptr, nullptr));
}

std::expected<SqliteStatement *, StoreError> SqliteDatabase::statement(const char *sql)
{
    if (!m_handle)
        return std::unexpected(check(SQLITE_MISUSE).error());
    auto found = m_cache.find(sql);
    if (found != m_cache.end()) {
        found->second->reset();
        return found->second.get();
    }
    sqlite3_stmt *prepared = nullptr;
    const int rc = sqlite3_prepare_v3(m_handle.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(prepared);
        return std::unexpected(check(rc).error());
    }
    auto owned = std::make_unique<SqliteStatement>(*this, prepared);
    return m_cache.emplace(sql, std::move(owned)).first->second.get();
}

std::expected<qint64, StoreError> SqliteDatabase::scalar(const char *sql)
{
    std::expected<SqliteStatement *, StoreError> prepared = statement(sql);
    if (!prepared)
        return std::unexpected(prepared.error());
    const std::expected<bool, StoreError> row = (*prepared)->next();
    if (!row)
        return std::unexpected(row.error());
    const qint64 value = *row ? (*prepared)->columnInt64(0) : 0;
    (*prepared)->reset();
    return value;
}

std::expected<void, StoreError> SqliteDatabase::writeBlob(const char *schema, const char *table, const char *column,
                                                          qint64 rowId, const QByteArray &bytes)
{
    sqlite3_blob *opened = nullptr;
    const int rc = sqlite3_blob_open(m_handle.get(), schema, table, column, rowId, 1, &opened);
    const BlobHandle blob(opened);
    if (rc != SQLITE_OK)
        return check(rc);
    for (qsizetype offset = 0; offset < bytes.size(); offset += BlobChunk) {
        const int length = int(std::min<qsizetype>(BlobChunk, bytes.size() - offset));
        if (auto written = check(sqlite3_blob_write(blob.get(), bytes.constData() + offset, length, int(offset)));
            !written)
            return written;
    }
    return {};
}

std::expected<std::optional<QByteArray>, StoreError>
SqliteDatabase::readBlob(const char *schema, const char *table, const char *column, qint64 rowId) const
{
    sqlite3_blob *opened = nullptr;
    const int rc = sqlite3_blob_open(m_handle.get(), schema, table, column, rowId, 0, &opened);
    const BlobHandle blob(opened);
    // A missing row is an answer, not a failure.
    if (rc == SQLITE_ERROR && QByteArrayView(sqlite3_errmsg(m_handle.get())).startsWith("no such rowid"))
        return std::optional<QByteArray>();
    if (rc != SQLITE_OK)
        return std::unexpected(check(rc).error());
    const int size = sqlite3_blob_bytes(blob.get());
    QByteArray bytes(size, Qt::Uninitialized);
    for (int offset = 0; offset < size; offset += BlobChunk) {
        const int length = std::min(BlobChunk, size - offset);
        if (auto read = check(sqlite3_blob_read(blob.get(), bytes.data() + offset, length, offset)); !read)
            return std::unexpected(read.error());
    }
    return std::optional<QByteArray>(std::move(bytes));
}

qint64 SqliteDatabase::lengthLimit() const
{
    return sqlite3_limit(m_handle.get(), SQLITE_LIMIT_LENGTH, -1);
}

qint64 SqliteDatabase::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_handle.get());
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(m_handle.get());
}

sqlite3 *SqliteDatabase::handle() const
{
    return m_handle.get();
}
