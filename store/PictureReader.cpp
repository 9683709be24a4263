#include "store/PictureReader.h"

#include "store/RowSealer.h"
#include "store/SqliteDatabase.h"
#include "store/StoreLog.h"

#include <sqlite3.h>

std::expected<QByteArray, StoreError> readPictureBytes(const SqliteDatabase &db, const char *schema, qint64 id)
{
    auto bytes = db.readBlob(schema, "picture_bytes", "data", id);
    if (!bytes)
        return std::unexpected(bytes.error());
    if (!*bytes) {
        qCWarning(lcStore) << "the bytes of row" << id << "are missing";
        return std::unexpected(StoreError{StoreReason::BytesMissing});
    }
    return std::move(**bytes);
}

std::expected<QByteArray, StoreError> readPictureBytes(const QString &edtPath, qint64 id,
                                                       const std::shared_ptr<const LibraryKey> &key)
{
    SqliteDatabase db;
    if (auto opened = db.open(edtPath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX); !opened)
        return std::unexpected(opened.error());
    // Waits out a commit of the window's connection.
    if (auto configured = db.exec("PRAGMA busy_timeout = 3000"); !configured)
        return std::unexpected(configured.error());
    auto bytes = readPictureBytes(db, "main", id);
    if (!bytes || !key)
        return bytes;
    return RowSealer(key).open(RowSealer::Field::Picture, id, *bytes);
}
