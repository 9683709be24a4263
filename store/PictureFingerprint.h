#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <expected>

class SqliteDatabase;

// A fingerprint of every picture's bytes, kept in pic.edb, so that a
// picture already in the library is found without reading the others.

QByteArray pictureFingerprint(const QByteArray &bytes);

// Keeps the fingerprint of bytes for row id, inside the caller's transaction.
std::expected<void, StoreError> putPictureFingerprint(SqliteDatabase &db, qint64 id, const QByteArray &bytes);
