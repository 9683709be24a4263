#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

struct sqlite3;
class SqliteStatement;

// One SQLite connection, closed when the object goes away. Every operation
// returns either its result or the reason it failed; the SQLite details
// behind a failure go to the log.
class SqliteDatabase
{
public:
    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // flags are SQLITE_OPEN_* flags; without SQLITE_OPEN_CREATE a missing
    // file is an error and nothing is created.
    std::expected<void, StoreError> open(const QString &path, int flags);
    bool isOpen() const;

    // Runs one or more statements, discarding any rows.
    std::expected<void, StoreError> exec(const char *sql);
    // Prepared on first use and kept for the life of the connection; the
    // statement comes back reset.
    std::expected<SqliteStatement *, StoreError> statement(const char *sql);

    // The first column of the first row of a cached statement; 0 when it
    // gives no row.
    std::expected<qint64, StoreError> scalar(const char *sql);

    // Runs a cached statement with these parameters bound in order
    // (numbers, texts, SqliteZeroBlob), discarding any rows.
    template<typename... Parameters>
    std::expected<void, StoreError> run(const char *sql, const Parameters &...parameters);

    // Ok for SQLITE_OK, SQLITE_ROW and SQLITE_DONE; otherwise the reason,
    // after logging what SQLite said.
    std::expected<void, StoreError> check(int resultCode) const;

    // Writes bytes into the blob that column holds in row rowId, which has
    // exactly that size already: the bytes go straight into the pages,
    // without a second copy in memory.
    std::expected<void, StoreError> writeBlob(const char *schema, const char *table, const char *column,
                                              qint64 rowId, const QByteArray &bytes);
    // Reads that blob whole; nothing when the row does not exist.
    std::expected<std::optional<QByteArray>, StoreError> readBlob(const char *schema, const char *table,
                                                                  const char *column, qint64 rowId) const;

    // The largest string or blob this connection stores.
    qint64 lengthLimit() const;
    qint64 lastInsertRowId() const;
    int changes() const;
    sqlite3 *handle() const;

private:
    struct Closer
    {
        void operator()(sqlite3 *handle) const;
    };

    std::unique_ptr<sqlite3, Closer> m_handle;
    // Declared after the handle so the statements are finalized first.
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> m_cache;
};

#include "store/SqliteStatement.h"

template<typename... Parameters>
std::expected<void, StoreError> SqliteDatabase::run(const char *sql, const Parameters &...parameters)
{
    std::expected<SqliteStatement *, StoreError> prepared = statement(sql);
    if (!prepared)
        return std::unexpected(prepared.error());
    int index = 0;
    ((*prepared)->bind(++index, parameters), ...);
    return (*prepared)->run();
}
