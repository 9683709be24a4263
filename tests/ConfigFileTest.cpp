#include "PlainConfigFile.h"
#include "TestFiles.h"
#include "config/Accounts.h"
#include "config/ConfigFile.h"
#include "config/GbkText.h"
#include "config/ProtectedFileFormat.h"

#include <QDir>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;

namespace {

class ConfigFileTest : public ::testing::Test
{
protected:
    // Lines joined with CR LF after each, as GBK bytes.
    static QByteArray lines(const QStringList &texts)
    {
        QByteArray content;
        for (const QString &text : texts)
            content.append(toGbk(text)).append("\r\n");
        return content;
    }

    void givenLines(const QStringList &texts) { writePlainContent(path, lines(texts)); }
    QString read(const QString &section, const QString &key, const QString &defaultValue = u"缺省"_s)
    {
        return readConfigItem(path, ConfigFilePassword, section, key, defaultValue).value_or(defaultValue);
    }
    std::expected<void, ConfigError> write(const QString &section, const QString &key, const QString &value)
    {
        return writeConfigItem(path, ConfigFilePassword, section, key, value);
    }
    QStringList sections()
    {
        const std::expected<QStringList, ConfigError> names = listConfigSections(path, ConfigFilePassword);
        EXPECT_TRUE(names.has_value());
        return names.value_or(QStringList());
    }
    // Why a write was refused; nothing for one that was done.
    static std::optional<ConfigReason> refusal(const std::expected<void, ConfigError> &written)
    {
        return written ? std::nullopt : std::optional(written.error().reason);
    }

    QTemporaryDir directory;
    QString path = QDir(directory.path()).filePath(u"system.dat"_s);
};

}

TEST_F(ConfigFileTest, FreshAdministratorAccountIsExactly49Bytes)
{
    writeAccounts(path, splitAtSeparator(DefaultUserNames, DefaultListSeparator),
                  splitAtSeparator(DefaultUserDigests, DefaultListSeparator));

    const QByteArray expected = QByteArray::fromHex("5BB9DCC0EDD4B15D0D0A" "BFDAC1EE3D")
                                + "6c4bb406b3e7cd5447f7a76fd7008806\r\n";
    EXPECT_EQ(expected.size(), 49);
    EXPECT_EQ(readPlainContent(path), expected);
    EXPECT_EQ(read(u"管理员"_s, u"口令"_s), u"6c4bb406b3e7cd5447f7a76fd7008806"_s);
}

TEST_F(ConfigFileTest, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite)
{
    EXPECT_EQ(read(u"甲"_s, u"键"_s), u"缺省"_s);
    EXPECT_EQ(readConfigItem(path, ConfigFilePassword, u"甲"_s, u"键"_s).error().reason, ConfigReason::Missing);
    EXPECT_EQ(listConfigSections(path, ConfigFilePassword).error().reason, ConfigReason::Missing);

    EXPECT_TRUE(write(u"甲"_s, u"键"_s, u"值"_s));
    EXPECT_EQ(readPlainContent(path), lines({u"[甲]"_s, u"键=值"_s}));
}

TEST_F(ConfigFileTest, SectionsMatchInAnyAsciiCaseKeysOnlyExactly)
{
    givenLines({u"前言=不属于任何段"_s, u"[Zhang San]"_s, u"Key=一"_s, u"[zhang san]"_s, u"Key=二"_s});

    EXPECT_EQ(read(u"ZHANG SAN"_s, u"Key"_s), u"一"_s);
    EXPECT_EQ(read(u"zhang san"_s, u"Key"_s), u"一"_s) << "the first header of a name wins";
    EXPECT_EQ(read(u"zhang san"_s, u"KEY"_s), u"缺省"_s);
    EXPECT_EQ(read(u"Zhang San"_s, u"前言"_s), u"缺省"_s);
    EXPECT_THAT(sections(), ElementsAre(u"Zhang San"_s, u"zhang san"_s));

    EXPECT_TRUE(write(u"ZHANG san"_s, u"Key"_s, u"三"_s));
    EXPECT_EQ(readPlainContent(path), lines({u"前言=不属于任何段"_s, u"[Zhang San]"_s, u"Key=三"_s,
                                             u"[zhang san]"_s, u"Key=二"_s}));
}

TEST_F(ConfigFileTest, UpperCasingNeverTouchesTheTrailByteOfADoubleByteCharacter)
{
    // 乤 is 81 61 in GBK and 丄 is 81 41: upper-casing the trail byte would
    // turn one into the other.
    ASSERT_EQ(toGbk(u"乤"_s), QByteArray("\x81\x61"));
    ASSERT_EQ(toGbk(u"丄"_s), QByteArray("\x81\x41"));
    givenLines({u"[ab乤]"_s, u"键=值"_s});

    EXPECT_EQ(read(u"AB乤"_s, u"键"_s), u"值"_s);
    EXPECT_EQ(read(u"ab丄"_s, u"键"_s), u"缺省"_s);
    EXPECT_TRUE(write(u"AB丄"_s, u"键"_s, u"另"_s));
    EXPECT_EQ(readPlainContent(path), lines({u"[ab乤]"_s, u"键=值"_s, u"[AB丄]"_s, u"键=另"_s}));
}

TEST_F(ConfigFileTest, KeysAreTrimmedValuesAreNot)
{
    givenLines({u"[段]"_s, u"  甲 \t=  带空格的值  "_s, u"乙=   "_s, u"丙="_s, u"丁=a=b"_s, u"没有等号"_s, u""_s});

    EXPECT_EQ(read(u"段"_s, u"甲"_s), u"  带空格的值  "_s);
    EXPECT_EQ(read(u"段"_s, u" 甲"_s), u"缺省"_s) << "the caller's key is not trimmed";
    EXPECT_EQ(read(u"段"_s, u"乙"_s), u"缺省"_s) << "only blanks after = read as the default";
    EXPECT_EQ(read(u"段"_s, u"丙"_s), u"缺省"_s);
    EXPECT_EQ(read(u"段"_s, u"丁"_s), u"a=b"_s);
}

TEST_F(ConfigFileTest, HeaderWithABlankEndsTheSectionButIsNoHeaderOfItsName)
{
    givenLines({u"[甲]"_s, u" [乙]"_s, u"键=乙的值"_s, u"[]"_s, u"[[丙]]"_s, u"[甲]"_s, u"键=第二个甲"_s});

    EXPECT_THAT(sections(), ElementsAre(u"甲"_s, u"乙"_s, u""_s, u"丙"_s, u"甲"_s));
    EXPECT_EQ(read(u"乙"_s, u"键"_s), u"缺省"_s);
    EXPECT_EQ(read(u"甲"_s, u"键"_s), u"缺省"_s) << "the blank-led header ends 甲's section";

    EXPECT_TRUE(write(u"乙"_s, u"键"_s, u"新"_s));
    EXPECT_TRUE(readPlainContent(path).endsWith(lines({u"键=第二个甲"_s, u"[乙]"_s, u"键=新"_s})));
}

TEST_F(ConfigFileTest, ReplacementKeepsEveryByteBeforeTheFirstEquals)
{
    givenLines({u"[段]"_s, u"  口令\t = 旧值 = 还是旧值"_s, u"其他=1"_s});

    EXPECT_TRUE(write(u"段"_s, u"口令"_s, u"新值"_s));
    EXPECT_EQ(readPlainContent(path), lines({u"[段]"_s, u"  口令\t =新值"_s, u"其他=1"_s}));
}

TEST_F(ConfigFileTest, MissingKeyGoesBeforeTheNextHeaderOrAtTheEnd)
{
    givenLines({u"[甲]"_s, u"一=1"_s, u""_s, u"[乙]"_s, u"一=1"_s});

    EXPECT_TRUE(write(u"甲"_s, u"二"_s, u"2"_s));
    EXPECT_TRUE(write(u"乙"_s, u"二"_s, u"2"_s));
    EXPECT_EQ(readPlainContent(path),
              lines({u"[甲]"_s, u"一=1"_s, u""_s, u"二=2"_s, u"[乙]"_s, u"一=1"_s, u"二=2"_s}));
}

TEST_F(ConfigFileTest, LastLineWithoutLineBreakIsEndedBeforeAppending)
{
    writePlainContent(path, toGbk(u"[甲]\r\n一=1"_s));

    EXPECT_TRUE(write(u"甲"_s, u"二"_s, u"2"_s));
    EXPECT_TRUE(write(u"乙"_s, u"一"_s, u"1"_s));
    EXPECT_EQ(readPlainContent(path), lines({u"[甲]"_s, u"一=1"_s, u"二=2"_s, u"[乙]"_s, u"一=1"_s}));
}

TEST_F(ConfigFileTest, RefusedAndFailedWritesLeaveTheFileUntouched)
{
    givenLines({u"[段]"_s, u"键=值"_s});
    const QByteArray before = readFile(path);

    EXPECT_EQ(refusal(write(u"段"_s, u"键"_s, u"  "_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u"段"_s, u"键"_s, u""_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u" \t"_s, u"键"_s, u"值"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u"段"_s, u" "_s, u"值"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(writeConfigItem(u"  "_s, ConfigFilePassword, u"段"_s, u"键"_s, u"值"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u"段"_s, u"键"_s, u"一\r\n[假段]"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u"段"_s, u"键"_s, u"一\n二"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u"段\r"_s, u"键"_s, u"值"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(refusal(write(u"段"_s, u"键\n"_s, u"值"_s)), ConfigReason::InvalidItem);
    EXPECT_EQ(readFile(path), before);
    {
        const DiskFull full(16);
        EXPECT_EQ(refusal(write(u"段"_s, u"键"_s, u"新值"_s)), ConfigReason::CannotWrite) << "a full disk is no success";
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(write(u"段"_s, u"键"_s, u"新值"_s)) << "the next write works";
    EXPECT_EQ(read(u"段"_s, u"键"_s), u"新值"_s);
}

TEST_F(ConfigFileTest, NoWriteMakesTheFileLargerThanAReadAccepts)
{
    // A value that makes the file exactly as large as a read accepts.
    ASSERT_TRUE(write(u"段"_s, u"键"_s, u"x"_s));
    const QString largest(ProtectedFileFormat::MaxFileSize - readFile(path).size() + 1, u'x');
    ASSERT_TRUE(write(u"段"_s, u"键"_s, largest));
    ASSERT_EQ(readFile(path).size(), ProtectedFileFormat::MaxFileSize);
    EXPECT_TRUE(read(u"段"_s, u"键"_s) == largest) << "the largest file opens";
    const QByteArray before = readFile(path);

    EXPECT_EQ(refusal(write(u"段"_s, u"键"_s, largest + u"x"_s)), ConfigReason::TooLarge);
    EXPECT_EQ(refusal(writeUserDigest(path, u"新用户"_s, u"6c4bb406b3e7cd5447f7a76fd7008806"_s)), ConfigReason::TooLarge);
    EXPECT_TRUE(readFile(path) == before) << "the refused writes left the file as it was";
    EXPECT_TRUE(read(u"段"_s, u"键"_s) == largest) << "and it still opens";
    EXPECT_TRUE(write(u"段"_s, u"键"_s, u"短"_s));
    EXPECT_EQ(read(u"段"_s, u"键"_s), u"短"_s);
}
