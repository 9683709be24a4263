#pragma once

#include "store/StoreError.h"


#include <expected>
#include <functional>

class SqliteDatabase;
struct sqlite3_backup;

// One run of SQLite's online backup: copies one schema of a connection
// ("main" or an attached name), as a consistent snapshot, over the main
// schema of another, a few pages at a time; finished when it goes away.
class SqliteBackup
{
public:
    // Hears after each piece how many pages are copied of how many; false
    // cancels the copy.
    using Progress = std::function<bool(qint64 copiedPages, qint64 totalPages)>;

    SqliteBackup(SqliteDatabase &target, SqliteDatabase &source, const char *sourceSchema);
    ~SqliteBackup();
    SqliteBackup(const SqliteBackup &) = delete;
    SqliteBackup &operator=(const SqliteBackup &) = delete;

    std::expected<void, StoreError> run(const Progress &progress);

private:
    SqliteDatabase &m_target;
    sqlite3_backup *m_backup = nullptr;
};
