#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
class SqliteStatement;

// One SQLite connection, closed when the object goes away. Operations return
// false or null on failure and leave a description in lastError().
class SqliteDatabase
{
public:
    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // flags are SQLITE_OPEN_* flags; without SQLITE_OPEN_CREATE a missing
    // file is an error and nothing is created.
    bool open(const QString &path, int flags);
    bool isOpen() const;
    QString lastError() const;

    // Runs one or more statements, discarding any rows.
    bool exec(const char *sql);
    std::unique_ptr<SqliteStatement> prepare(const char *sql);
    // Prepared on first use and kept for the life of the connection; the
    // statement comes back reset. Null when it cannot be prepared.
    SqliteStatement *cached(const char *sql);

    // Runs work inside BEGIN IMMEDIATE ... COMMIT. When work returns false
    // or the commit fails, everything is rolled back and false is returned.
    bool transaction(const std::function<bool()> &work);

    // Copies one schema of this connection ("main" or an attached name),
    // as a consistent snapshot, into a new database file at targetPath.
    bool copySchemaTo(const char *schema, const QString &targetPath);

    qint64 lastInsertRowId() const;
    int changes() const;

private:
    friend class SqliteStatement;

    struct Closer
    {
        void operator()(sqlite3 *handle) const;
    };

    void recordError();

    std::unique_ptr<sqlite3, Closer> m_handle;
    // Declared after the handle so the statements are finalized first.
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> m_cache;
    QString m_error;
};
