#include "store/SqliteTransaction.h"

#include "store/SqliteDatabase.h"

#include <sqlite3.h>

std::expected<SqliteTransaction, StoreError> SqliteTransaction::begin(SqliteDatabase &database)
{
    if (auto begun = database.exec("BEGIN IMMEDIATE"); !begun)
        return std::unexpected(begun.error());
    return SqliteTransaction(database);
}

SqliteTransaction::SqliteTransaction(SqliteDatabase &database)
    : m_database(&database)
{
}

SqliteTransaction::SqliteTransaction(SqliteTransaction &&other) noexcept
    : m_database(std::exchange(other.m_database, nullptr))
{
}

SqliteTransaction::~SqliteTransaction()
{
    // A failed COMMIT or an I/O error may already have ended the transaction.
    if (m_database && !sqlite3_get_autocommit(m_database->handle()))
        sqlite3_exec(m_database->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

std::expected<void, StoreError> SqliteTransaction::commit()
{
    std::expected<void, StoreError> committed = m_database->exec("COMMIT");
    if (committed)
        m_database = nullptr;
    return committed;
}
