#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

struct sqlite3_stmt;
class SqliteDatabase;

// One prepared statement, finalized when the object goes away. Failures are
// reported to the owning SqliteDatabase, whose lastError() describes them.
class SqliteStatement
{
public:
    enum class StepResult { Row, Done, Error };

    // Takes ownership of statement, which was prepared on database.
    SqliteStatement(SqliteDatabase &database, sqlite3_stmt *statement);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // Parameter indexes start at 1.
    bool bindText(int index, QStringView text);
    // The bytes are not copied: they must stay alive and unchanged until
    // the statement is reset.
    bool bindBlob(int index, const QByteArray &bytes);
    bool bindInt64(int index, qint64 value);

    StepResult step();
    // Steps to the end and resets; for statements whose rows are not needed.
    bool run();
    // Rewinds and clears the bindings, releasing any bound bytes.
    void reset();

    // Column indexes start at 0; valid while step() has returned Row.
    qint64 columnInt64(int column) const;
    QString columnText(int column) const;
    // The stored UTF-8 itself; valid until the next step or reset.
    QByteArrayView columnUtf8(int column) const;
    QByteArray columnBlob(int column) const;

private:
    struct Finalizer
    {
        void operator()(sqlite3_stmt *statement) const;
    };

    SqliteDatabase &m_database;
    std::unique_ptr<sqlite3_stmt, Finalizer> m_statement;
};
