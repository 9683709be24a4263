#pragma once

#include <QByteArray>
#include <QString>

#include <expected>

// Reads the bytes of one picture from a store's pic.EDT through a read-only
// connection of its own, so that a worker thread can read while the
// window's connection goes on with its changes. The reason, in Chinese,
// when it cannot.
std::expected<QByteArray, QString> readPictureBytes(const QString &edtPath, qint64 id);
