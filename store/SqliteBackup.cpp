#include "store/SqliteBackup.h"

#include "store/SqliteDatabase.h"

#include <sqlite3.h>

namespace {

// Pages copied between two looks at the progress.
constexpr int PagesPerStep = 64;

}

SqliteBackup::SqliteBackup(SqliteDatabase &target, SqliteDatabase &source, const char *sourceSchema)
    : m_target(target)
    , m_backup(sqlite3_backup_init(target.handle(), "main", source.handle(), sourceSchema))
{
}

SqliteBackup::~SqliteBackup()
{
    sqlite3_backup_finish(m_backup);
}

std::expected<void, StoreError> SqliteBackup::run(const Progress &progress)
{
    if (!m_backup)
        return m_target.check(sqlite3_errcode(m_target.handle()));
    int stepped = SQLITE_OK;
    while (stepped == SQLITE_OK || stepped == SQLITE_BUSY || stepped == SQLITE_LOCKED) {
        stepped = sqlite3_backup_step(m_backup, PagesPerStep);
        const qint64 total = sqlite3_backup_pagecount(m_backup);
        if (progress && !progress(total - sqlite3_backup_remaining(m_backup), total))
            return std::unexpected(StoreError{StoreReason::Cancelled});
    }
    const int finished = sqlite3_backup_finish(m_backup);
    m_backup = nullptr;
    return m_target.check(stepped != SQLITE_DONE ? stepped : finished);
}
