#include "PlainConfigFile.h"

#include "Accounts.h"
#include "GbkText.h"
#include "ProtectedFileFormat.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

QByteArray readPlainContent(const QString &path)
{
    const ProtectedFileFormat::Decoded decoded =
        ProtectedFileFormat::decode(readFile(path), toGbk(ConfigFilePassword));
    EXPECT_EQ(decoded.error, ProtectedFileError::None) << path.toStdString();
    return decoded.plain;
}

void writePlainContent(const QString &path, const QByteArray &plain)
{
    const std::optional<QByteArray> stored = ProtectedFileFormat::encode(plain, toGbk(ConfigFilePassword));
    ASSERT_TRUE(stored.has_value());
    writeFile(path, *stored);
}
