#pragma once

#include "store/StoreError.h"


#include <expected>

class SqliteDatabase;

// A write transaction (BEGIN IMMEDIATE): rolled back when it goes out of
// scope without a successful commit, so every early return undoes the
// change as a whole.
class SqliteTransaction
{
public:
    static std::expected<SqliteTransaction, StoreError> begin(SqliteDatabase &database);

    SqliteTransaction(SqliteTransaction &&other) noexcept;
    SqliteTransaction &operator=(SqliteTransaction &&) = delete;
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;
    ~SqliteTransaction();

    std::expected<void, StoreError> commit();

private:
    explicit SqliteTransaction(SqliteDatabase &database);

    SqliteDatabase *m_database;
};
