#include "PlainConfigFile.h"

#include "Accounts.h"
#include "GbkText.h"
#include "ProtectedFileFormat.h"

#include <QFile>

#include <gtest/gtest.h>

QByteArray readPlainContent(const QString &path)
{
    const ProtectedFileFormat::Decoded decoded =
        ProtectedFileFormat::decode(readStoredBytes(path), toGbk(ConfigFilePassword));
    EXPECT_EQ(decoded.error, ProtectedFileError::None) << path.toStdString();
    return decoded.plain;
}

void writePlainContent(const QString &path, const QByteArray &plain)
{
    const std::optional<QByteArray> stored = ProtectedFileFormat::encode(plain, toGbk(ConfigFilePassword));
    ASSERT_TRUE(stored.has_value());
    writeStoredBytes(path, *stored);
}

QByteArray readStoredBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeStoredBytes(const QString &path, const QByteArray &stored)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(stored), stored.size());
}
