#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <expected>
#include <memory>
#include <variant>
#include <vector>

struct sqlite3_stmt;

// A blob of this many zero bytes, to be filled by SqliteDatabase::writeBlob.
struct SqliteZeroBlob
{
    qint64 size = 0;
};
// Text or a blob, as known only at run time.
using SqliteValue = std::variant<QString, QByteArray>;
class SqliteDatabase;

// One prepared statement, finalized when the object goes away. Bindings
// chain; the first one that fails is reported by the next run or next.
class SqliteStatement
{
public:
    // Takes ownership of statement, which was prepared on database.
    SqliteStatement(const SqliteDatabase &database, sqlite3_stmt *statement);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // Parameter indexes start at 1.
    SqliteStatement &bind(int index, qint64 value);
    SqliteStatement &bind(int index, QStringView text);
    SqliteStatement &bind(int index, const QString &text);
    SqliteStatement &bind(int index, QByteArrayView blob);
    SqliteStatement &bind(int index, SqliteZeroBlob blob);
    SqliteStatement &bind(int index, const SqliteValue &value);

    // Steps to the end and resets, for statements whose rows are not needed.
    std::expected<void, StoreError> run();
    // Steps once: true with a row to read, false at the end.
    std::expected<bool, StoreError> next();
    // Steps to the end and resets, giving the first column of every row.
    std::expected<std::vector<qint64>, StoreError> firstColumnInt64();
    // Rewinds and clears the bindings.
    void reset();

    // Column indexes start at 0; valid while next() has given a row.
    qint64 columnInt64(int column) const;
    QString columnText(int column) const;
    // The stored UTF-8 itself; valid until the next step or reset.
    QByteArrayView columnUtf8(int column) const;
    QByteArray columnBlob(int column) const;
    // The stored blob itself; valid until the next step or reset.
    QByteArrayView columnBlobView(int column) const;

private:
    struct Finalizer
    {
        void operator()(sqlite3_stmt *statement) const;
    };

    SqliteStatement &noteBinding(int resultCode);

    const SqliteDatabase &m_database;
    std::unique_ptr<sqlite3_stmt, Finalizer> m_statement;
    // The first failed binding since the last reset.
    int m_bindingError = 0;
};
