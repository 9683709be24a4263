#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <vector>

class RowSealer;
class SqliteDatabase;

// The rows of a library in pic.edb and their bytes in pic.EDT, with the
// values kept as the sealer keeps them: the SQL behind PictureStore. In a
// sealed library a row says whether its values are sealed yet; a change to
// a row seals all of its values. Every write runs inside the caller's
// transaction.
class RowTable
{
public:
    struct Row
    {
        qint64 id = 0;
        QString name;
        QString category;
        // Changes whenever the bytes or the way they are stored do; set by
        // the store.
        quint64 version = 0;
        bool sealed = false;
    };

    RowTable(SqliteDatabase &db, RowSealer &sealer, bool sealedLibrary);

    // Every row, in storage order, its values opened.
    std::expected<std::vector<Row>, StoreError> load();
    // The plain bytes of a row.
    std::expected<QByteArray, StoreError> picture(const Row &row);

    // A new row with its bytes and their fingerprint; its id.
    std::expected<qint64, StoreError> insert(const QString &name, const QString &category, const QByteArray &picture);
    std::expected<void, StoreError> replacePicture(const Row &row, const QByteArray &picture, const QString &category);
    std::expected<void, StoreError> rename(const Row &row, const QString &name);
    std::expected<void, StoreError> remove(qint64 id);
    // Seals the values of a row stored plain; nothing to do in a plain
    // library or for a sealed row.
    std::expected<void, StoreError> seal(const Row &row);

private:
    std::expected<qint64, StoreError> insertTexts(const QString &name, const QString &category);
    std::expected<void, StoreError> putPicture(const char *sql, qint64 id, const QByteArray &picture);
    std::expected<void, StoreError> putTexts(const char *sql, qint64 id, const QString &name, const QString &category);

    SqliteDatabase &m_db;
    RowSealer &m_sealer;
    bool m_sealedLibrary;
};
