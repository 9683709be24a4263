#include "PlainConfigFile.h"

#include "TestFiles.h"
#include "config/Accounts.h"
#include "config/GbkText.h"
#include "config/ProtectedFileFormat.h"

#include <gtest/gtest.h>

QByteArray readPlainContent(const QString &path)
{
    const auto plain = ProtectedFileFormat::decode(readFile(path), toGbk(ConfigFilePassword));
    EXPECT_TRUE(plain.has_value()) << path.toStdString();
    return plain.value_or(QByteArray());
}

void writePlainContent(const QString &path, const QByteArray &plain)
{
    const std::expected<QByteArray, ConfigError> stored = ProtectedFileFormat::encode(plain, toGbk(ConfigFilePassword));
    ASSERT_TRUE(stored.has_value());
    writeFile(path, *stored);
}
