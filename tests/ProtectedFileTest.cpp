#include "PlainConfigFile.h"
#include "TestFiles.h"
#include "config/Accounts.h"
#include "config/ConfigFile.h"
#include "config/GbkText.h"
#include "config/ProtectedFile.h"
#include "config/ProtectedFileFormat.h"

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

    EXPECT_EQ(ProtectedFileFormat::decode(stored, Password), Plain);
    EXPECT_EQ(ProtectedFileFormat::decode(ProtectedFileFormat::encode({}, {}).value(), {}), QByteArray())
        << "empty content and empty password are fine";
}

TEST(ProtectedFileFormatTest, EveryAlteredTruncatedOrForeignFileFailsClosed)
{
    const QByteArray stored = quickFile(Plain);
    for (qsizetype i = 0; i < stored.size(); ++i) {
        for (char flip : {char(0x01), char(0x80)}) {
            QByteArray altered = stored;
            altered[i] = char(altered[i] ^ flip);
            EXPECT_FALSE(ProtectedFileFormat::decode(altered, Password)) << "byte " << i;
        }
    }
    for (qsizetype size = 0; size < stored.size(); ++size) {
        EXPECT_FALSE(ProtectedFileFormat::decode(stored.first(size), Password)) << "size " << size;
    }
    EXPECT_EQ(ProtectedFileFormat::decode(stored.first(30), Password).error().reason, ConfigReason::Truncated);
    EXPECT_EQ(ProtectedFileFormat::decode(stored + "x", Password).error().reason, ConfigReason::Rejected);
    EXPECT_EQ(ProtectedFileFormat::decode(stored, "Qomtar").error().reason, ConfigReason::Rejected);
    EXPECT_EQ(ProtectedFileFormat::decode(Plain, Password).error().reason, ConfigReason::Foreign);
}

TEST(ProtectedFileTest, RewritesOnlyWhenChangedAndThenWithFreshSaltAndNonce)
{
    QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(u"f.dat"_s);
    ProtectedFile file;
    EXPECT_EQ(file.open(path, Password, ProtectedFile::Mode::Read).error().reason, ConfigReason::Missing);
    EXPECT_FALSE(file.isOpen());

    ASSERT_TRUE(file.open(path, Password, ProtectedFile::Mode::ReadWrite));
    file.lines().insertLine("one");
    ASSERT_TRUE(file.close());
    const QByteArray first = readFile(path);

    ASSERT_TRUE(file.open(path, Password, ProtectedFile::Mode::ReadWrite));
    ASSERT_TRUE(file.close());
    ASSERT_TRUE(file.open(path, Password, ProtectedFile::Mode::Read));
    file.lines().insertLine("not saved in read mode");
    ASSERT_TRUE(file.close());
    EXPECT_EQ(readFile(path), first);

    ASSERT_TRUE(file.open(path, Password, ProtectedFile::Mode::ReadWrite));
    file.lines().moveToEnd();
    file.lines().insertLine("two");
    ASSERT_TRUE(file.close());
    const QByteArray second = readFile(path);
    EXPECT_NE(second.mid(16, 16), first.mid(16, 16)) << "salt";
    EXPECT_NE(second.mid(32, 12), first.mid(32, 12)) << "nonce";
    EXPECT_EQ(ProtectedFileFormat::decode(second, Password), QByteArray("one\r\ntwo\r\n"));
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

    const std::pair<QByteArray, ConfigReason> damaged[] = {{altered, ConfigReason::Rejected},
                                                           {good.first(good.size() - 1), ConfigReason::Rejected},
                                                           {Plain, ConfigReason::Foreign},
                                                           {wrongPassword, ConfigReason::Rejected}};
    for (const auto &[stored, reason] : damaged) {
        writeFile(path, stored);
        const auto read = readConfigItem(path, ConfigFilePassword, u"管理员"_s, u"口令"_s, u"无"_s);
        EXPECT_EQ(read.value_or(u"无"_s), u"无"_s);
        EXPECT_EQ(read.error().reason, reason);
        EXPECT_EQ(listConfigSections(path, ConfigFilePassword).error().reason, reason);
        EXPECT_EQ(writeConfigItem(path, ConfigFilePassword, u"管理员"_s, u"口令"_s, u"x"_s).error().reason, reason);
        EXPECT_EQ(readFile(path), stored);
    }
}
