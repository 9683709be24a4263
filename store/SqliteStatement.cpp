#include "store/SqliteStatement.h"

#include "store/SqliteDatabase.h"

#include <sqlite3.h>

void SqliteStatement::Finalizer::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(const SqliteDatabase &database, sqlite3_stmt *statement)
    : m_database(database)
    , m_statement(statement)
{
}

SqliteStatement::~SqliteStatement() = default;

SqliteStatement &SqliteStatement::noteBinding(int resultCode)
{
    if (resultCode != SQLITE_OK && m_bindingError == SQLITE_OK)
        m_bindingError = resultCode;
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, qint64 value)
{
    return noteBinding(sqlite3_bind_int64(m_statement.get(), index, value));
}

SqliteStatement &SqliteStatement::bind(int index, QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    return noteBinding(sqlite3_bind_text64(m_statement.get(), index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                           SQLITE_TRANSIENT, SQLITE_UTF8));
}

SqliteStatement &SqliteStatement::bind(int index, const QString &text)
{
    return bind(index, QStringView(text));
}

SqliteStatement &SqliteStatement::bind(int index, QByteArrayView blob)
{
    // A null data pointer would bind NULL: an empty blob binds as zero bytes.
    if (blob.isEmpty())
        return noteBinding(sqlite3_bind_zeroblob(m_statement.get(), index, 0));
    return noteBinding(sqlite3_bind_blob64(m_statement.get(), index, blob.data(), sqlite3_uint64(blob.size()),
                                           SQLITE_TRANSIENT));
}

SqliteStatement &SqliteStatement::bind(int index, SqliteZeroBlob blob)
{
    return noteBinding(sqlite3_bind_zeroblob64(m_statement.get(), index, sqlite3_uint64(blob.size)));
}

SqliteStatement &SqliteStatement::bind(int index, const SqliteValue &value)
{
    if (const auto *text = std::get_if<QString>(&value))
        return bind(index, QStringView(*text));
    return bind(index, QByteArrayView(std::get<QByteArray>(value)));
}

std::expected<void, StoreError> SqliteStatement::run()
{
    std::expected<bool, StoreError> row = next();
    while (row && *row)
        row = next();
    reset();
    if (!row)
        return std::unexpected(row.error());
    return {};
}

std::expected<std::vector<qint64>, StoreError> SqliteStatement::firstColumnInt64()
{
    std::vector<qint64> values;
    std::expected<bool, StoreError> row;
    while ((row = next()) && *row)
        values.push_back(columnInt64(0));
    reset();
    if (!row)
        return std::unexpected(row.error());
    return values;
}

std::expected<bool, StoreError> SqliteStatement::next()
{
    if (m_bindingError != SQLITE_OK)
        return std::unexpected(m_database.check(m_bindingError).error());
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    return std::unexpected(m_database.check(rc).error());
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
    m_bindingError = SQLITE_OK;
}

qint64 SqliteStatement::columnInt64(int column) const
{
    return sqlite3_column_int64(m_statement.get(), column);
}

QString SqliteStatement::columnText(int column) const
{
    return QString::fromUtf8(columnUtf8(column));
}

QByteArrayView SqliteStatement::columnUtf8(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement.get(), column));
    return QByteArrayView(text, sqlite3_column_bytes(m_statement.get(), column));
}

QByteArray SqliteStatement::columnBlob(int column) const
{
    return columnBlobView(column).toByteArray();
}

QByteArrayView SqliteStatement::columnBlobView(int column) const
{
    const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_statement.get(), column));
    return QByteArrayView(bytes, sqlite3_column_bytes(m_statement.get(), column));
}
