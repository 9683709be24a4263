#include "Accounts.h"
#include "ConfigFile.h"
#include "GbkText.h"
#include "PlainConfigFile.h"
#include "TestFiles.h"
#include "ProtectedFile.h"
#include "ProtectedFileFormat.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;

namespace {

const QByteArray Password = "qomtar";
const QByteArray Plain = "[\xB9\xDC\xC0\xED\xD4\xB1]\r\n\xBF\xDA\xC1\xEE=6c4bb406b3e7cd5447f7a76fd7008806\r\n";

// A cheap derivation keeps the byte-by-byte checks fast.
QByteArray quickFile(const QByteArray &plain)
{
    return ProtectedFileFormat::encode(plain, Password, ProtectedFileFormat::MinIterations).value();
}

}

TEST(ProtectedFileFormatTest, RoundTripWithTheDocumentedHeader)
{
    const QByteArray stored = ProtectedFileFormat::encode(Plain, Password).value();

    ASSERT_EQ(stored.size(), 44 + Plain.size() + 16);
    EXPECT_TRUE(stored.startsWith("LUMBRAPF"));
    EXPECT_EQ(qFromBigEndian<quint16>(stored.constData() + 8), 1);
    EXPECT_EQ(qFromBigEndian<quint16>(stored.constData() + 10), 1);
    EXPECT_EQ(qFromBigEndian<quint32>(stored.constData() + 12), ProtectedFileFormat::DefaultIterations);
    EXPECT_FALSE(stored.contains("6c4bb406")) << "the content is enciphered";

    const ProtectedFileFormat::Decoded decoded = ProtectedFileFormat::decode(stored, Password);
    EXPECT_EQ(decoded.error, ProtectedFileError::None);
    EXPECT_EQ(decoded.plain, Plain);
    EXPECT_EQ(ProtectedFileFormat::decode(ProtectedFileFormat::encode({}, {}).value(), {}).error,
              ProtectedFileError::None) << "empty content and empty password are fine";
}

TEST(ProtectedFileFormatTest, EveryAlteredTruncatedOrForeignFileFailsClosed)
{
    const QByteArray stored = quickFile(Plain);
    for (qsizetype i = 0; i < stored.size(); ++i) {
        for (char flip : {char(0x01), char(0x80)}) {
            QByteArray altered = stored;
            altered[i] = char(altered[i] ^ flip);
            const ProtectedFileFormat::Decoded decoded = ProtectedFileFormat::decode(altered, Password);
            EXPECT_NE(decoded.error, ProtectedFileError::None) << "byte " << i;
            EXPECT_TRUE(decoded.plain.isEmpty());
        }
    }
    for (qsizetype size = 0; size < stored.size(); ++size) {
        const ProtectedFileFormat::Decoded decoded = ProtectedFileFormat::decode(stored.first(size), Password);
        EXPECT_NE(decoded.error, ProtectedFileError::None) << "size " << size;
        EXPECT_TRUE(decoded.plain.isEmpty());
    }
    EXPECT_EQ(ProtectedFileFormat::decode(stored.first(30), Password).error, ProtectedFileError::Truncated);
    EXPECT_EQ(ProtectedFileFormat::decode(stored + "x", Password).error, ProtectedFileError::Rejected);
    EXPECT_EQ(ProtectedFileFormat::decode(stored, "Qomtar").error, ProtectedFileError::Rejected);
    EXPECT_EQ(ProtectedFileFormat::decode(Plain, Password).error, ProtectedFileError::Foreign);
}

TEST(ProtectedFileTest, RewritesOnlyWhenChangedAndThenWithFreshSaltAndNonce)
{
    QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(u"f.dat"_s);
    ProtectedFile file;
    EXPECT_EQ(file.open(path, Password, ProtectedFile::Mode::Read), ProtectedFileError::Missing);
    EXPECT_FALSE(file.isOpen());

    ASSERT_EQ(file.open(path, Password, ProtectedFile::Mode::ReadWrite), ProtectedFileError::None);
    file.lines().insertLine("one");
    ASSERT_EQ(file.close(), ProtectedFileError::None);
    const QByteArray first = readFile(path);

    ASSERT_EQ(file.open(path, Password, ProtectedFile::Mode::ReadWrite), ProtectedFileError::None);
    ASSERT_EQ(file.close(), ProtectedFileError::None);
    ASSERT_EQ(file.open(path, Password, ProtectedFile::Mode::Read), ProtectedFileError::None);
    file.lines().insertLine("not saved in read mode");
    ASSERT_EQ(file.close(), ProtectedFileError::None);
    EXPECT_EQ(readFile(path), first);

    ASSERT_EQ(file.open(path, Password, ProtectedFile::Mode::ReadWrite), ProtectedFileError::None);
    file.lines().moveToEnd();
    file.lines().insertLine("two");
    ASSERT_EQ(file.close(), ProtectedFileError::None);
    const QByteArray second = readFile(path);
    EXPECT_NE(second.mid(16, 16), first.mid(16, 16)) << "salt";
    EXPECT_NE(second.mid(32, 12), first.mid(32, 12)) << "nonce";
    EXPECT_EQ(ProtectedFileFormat::decode(second, Password).plain, "one\r\ntwo\r\n");
    EXPECT_THAT(QDir(directory.path()).entryList(QDir::Files), ElementsAre(u"f.dat"_s)) << "no temporary file left";
}

TEST(ProtectedFileTest, DamagedConfigFileGivesNothingAndIsNeverOverwritten)
{
    QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(u"system.dat"_s);
    const QByteArray good = ProtectedFileFormat::encode(Plain, Password).value();
    QByteArray altered = good;
    altered[50] = char(altered[50] ^ 0x20);
    QByteArray wrongPassword = ProtectedFileFormat::encode(Plain, "other").value();

    for (const QByteArray &stored : {altered, good.first(good.size() - 1), QByteArray(Plain), wrongPassword}) {
        writeFile(path, stored);
        EXPECT_EQ(readConfigItem(path, ConfigFilePassword, u"管理员"_s, u"口令"_s, u"无"_s), u"无"_s);
        QStringList sections{u"原样"_s};
        EXPECT_FALSE(listConfigSections(path, ConfigFilePassword, sections));
        EXPECT_THAT(sections, ElementsAre(u"原样"_s));
        EXPECT_FALSE(writeConfigItem(path, ConfigFilePassword, u"管理员"_s, u"口令"_s, u"x"_s));
        EXPECT_EQ(readFile(path), stored);
    }
}
