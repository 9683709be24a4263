#include "SqliteStatement.h"

#include "SqliteDatabase.h"

#include <sqlite3.h>

void SqliteStatement::Finalizer::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(SqliteDatabase &database, sqlite3_stmt *statement)
    : m_database(database)
    , m_statement(statement)
{ }

SqliteStatement::~SqliteStatement() = default;

bool SqliteStatement::bindText(int index, QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    const int rc = sqlite3_bind_text64(m_statement.get(), index, utf8.constData(),
                                       sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK)
        m_database.recordError();
    return rc == SQLITE_OK;
}

bool SqliteStatement::bindBlob(int index, const QByteArray &bytes)
{
    // A null data pointer would bind NULL, so empty pictures bind a zero-length blob.
    const int rc = bytes.isEmpty() ? sqlite3_bind_zeroblob(m_statement.get(), index, 0)
                                   : sqlite3_bind_blob64(m_statement.get(), index, bytes.constData(),
                                                         sqlite3_uint64(bytes.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK)
        m_database.recordError();
    return rc == SQLITE_OK;
}

bool SqliteStatement::bindInt64(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_statement.get(), index, value);
    if (rc != SQLITE_OK)
        m_database.recordError();
    return rc == SQLITE_OK;
}

SqliteStatement::StepResult SqliteStatement::step()
{
    switch (sqlite3_step(m_statement.get())) {
    case SQLITE_ROW:
        return StepResult::Row;
    case SQLITE_DONE:
        return StepResult::Done;
    default:
        m_database.recordError();
        return StepResult::Error;
    }
}

bool SqliteStatement::run()
{
    StepResult result = step();
    while (result == StepResult::Row)
        result = step();
    reset();
    return result == StepResult::Done;
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
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
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_statement.get(), column));
    return QByteArray(data, sqlite3_column_bytes(m_statement.get(), column));
}
