#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <memory>

class LibraryKey;
class SqliteDatabase;

// Reads the bytes of row id from the picture_bytes table in schema of db,
// as they are stored; a missing row is BytesMissing.
std::expected<QByteArray, StoreError> readPictureBytes(const SqliteDatabase &db, const char *schema, qint64 id);

// Reads the bytes of one picture from a store's pic.EDT through a read-only
// connection of its own, so that a worker thread can read while the
// window's connection goes on with its changes. With the library key, the
// bytes are sealed and open here, in the reading thread. The reason when
// they cannot be read, or do not open.
std::expected<QByteArray, StoreError> readPictureBytes(const QString &edtPath, qint64 id,
                                                       const std::shared_ptr<const LibraryKey> &key = {});
