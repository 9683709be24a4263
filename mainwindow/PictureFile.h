#pragma once

#include <QByteArray>
#include <QString>

#include <expected>

// Reads a whole image file byte for byte, refusing one larger than
// sizeLimit bytes before reading it. The reason, in Chinese, when the file
// cannot be read, is empty or is too large.
std::expected<QByteArray, QString> readPictureFile(const QString &path, qint64 sizeLimit);
