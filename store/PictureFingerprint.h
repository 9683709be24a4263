#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <expected>

class SqliteDatabase;

// A fingerprint of every picture's bytes, kept in pic.edb, so that a
// picture already in the library is found without reading the others.

// The SHA-256 of the bytes, as a plain library keeps it; a sealed one keeps
// a keyed hash instead (see RowSealer).
QByteArray pictureFingerprint(const QByteArray &bytes);

// Keeps the fingerprint of row id, inside the caller's transaction.
std::expected<void, StoreError> putPictureFingerprint(SqliteDatabase &db, qint64 id, const QByteArray &fingerprint);
