#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QString>

#include <expected>

class SqliteDatabase;

// Reads the bytes of row id from the picture_bytes table in schema of db;
// a missing row is BytesMissing.
std::expected<QByteArray, StoreError> readPictureBytes(const SqliteDatabase &db, const char *schema, qint64 id);

// Reads the bytes of one picture from a store's pic.EDT through a read-only
// connection of its own, so that a worker thread can read while the
// window's connection goes on with its changes. The reason when it cannot.
std::expected<QByteArray, StoreError> readPictureBytes(const QString &edtPath, qint64 id);
