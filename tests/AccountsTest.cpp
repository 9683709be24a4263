#include "PlainConfigFile.h"
#include "config/Accounts.h"
#include "config/ConfigPaths.h"
#include "config/GbkText.h"
#include "config/PasswordDigest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class AccountsTest : public ::testing::Test
{
protected:
    void givenFile(const QString &text) { writePlainContent(path, toGbk(text)); }

    QTemporaryDir directory;
    QString path = configFilePathIn(directory.path());
};

}

TEST_F(AccountsTest, CategorySectionIsLeftOutOnceAndOnlyOnce)
{
    EXPECT_EQ(loadUserNames(path).error().reason, ConfigReason::Missing) << "no file";

    givenFile(u"[张三]\r\n口令=a\r\n[分类信息]\r\n类=1\r\n[李四]\r\n口令=b\r\n"_s);
    EXPECT_THAT(loadUserNames(path).value(), ElementsAre(u"张三"_s, u"李四"_s));

    givenFile(u"[分类信息]\r\n[张三]\r\n[分类信息]\r\n"_s);
    EXPECT_THAT(loadUserNames(path).value(), ElementsAre(u"张三"_s, u"分类信息"_s));

    givenFile(u"[分类信息]\r\n类=1\r\n"_s);
    EXPECT_THAT(loadUserNames(path).value(), IsEmpty());
}

TEST_F(AccountsTest, DigestsAreReadAndReplacedPerAccount)
{
    givenFile(u"[张三]\r\n口令 = 旧\r\n[空口令]\r\n口令=  \r\n[无口令]\r\n"_s);
    writeAccounts(path, {u"王五"_s, u"没有摘要"_s}, {u"c"_s});

    EXPECT_EQ(readUserDigest(path, u"张三"_s), u" 旧"_s);
    EXPECT_EQ(readUserDigest(path, u"空口令"_s), u""_s);
    EXPECT_EQ(readUserDigest(path, u"无口令"_s), u""_s);
    EXPECT_EQ(readUserDigest(path, u"没有摘要"_s), u""_s);
    EXPECT_TRUE(writeUserDigest(path, u"张三"_s, u"d"_s));
    EXPECT_TRUE(writeUserDigest(path, u"无口令"_s, u"e"_s));
    EXPECT_EQ(readPlainContent(path),
              toGbk(u"[张三]\r\n口令 =d\r\n[空口令]\r\n口令=  \r\n[无口令]\r\n口令=e\r\n[王五]\r\n口令=c\r\n"_s));
}

TEST(PasswordDigestTest, Md5OfTheGbkBytesInLowerCaseHex)
{
    EXPECT_EQ(passwordDigest(u"3196"_s), u"6c4bb406b3e7cd5447f7a76fd7008806"_s);
    EXPECT_EQ(passwordDigest(u""_s), u"d41d8cd98f00b204e9800998ecf8427e"_s);
    EXPECT_EQ(passwordDigest(u"管理员"_s), u"8178134ede762c42e41a7b1695082e28"_s);
    EXPECT_EQ(passwordDigest(u"abc"_s), u"900150983cd24fb0d6963f7d28e17f72"_s);
    EXPECT_EQ(passwordDigest(u"Abc"_s), u"35593b7ce5020eae3ca68fd5b6f3e031"_s);
    EXPECT_TRUE(passwordMatches(u"3196"_s, u"6c4bb406b3e7cd5447f7a76fd7008806"_s));
    EXPECT_FALSE(passwordMatches(u"3196"_s, u"6C4BB406B3E7CD5447F7A76FD7008806"_s));
    EXPECT_FALSE(passwordMatches(u""_s, u""_s)) << "an account without a digest never matches";
    // A digest an earlier build made of the GB18030 bytes of "€" (A2 E3) still opens.
    EXPECT_TRUE(passwordMatches(u"€"_s, QString::fromLatin1(QCryptographicHash::hash("\xA2\xE3", QCryptographicHash::Md5).toHex())));
    EXPECT_FALSE(passwordMatches(u"€€"_s, QString::fromLatin1(QCryptographicHash::hash("\xA2\xE3", QCryptographicHash::Md5).toHex())));
    EXPECT_THAT(splitAtSeparator(DefaultUserDigests, DefaultListSeparator),
                ElementsAre(u"6c4bb406b3e7cd5447f7a76fd7008806"_s));
    EXPECT_THAT(splitAtSeparator(u"甲★§☆★§☆乙"_s, DefaultListSeparator), ElementsAre(u"甲"_s, u""_s, u"乙"_s));
}

TEST(PasswordDigestTest, WindowsGbkBytesAndGb18030OnlyWhereCp936LacksTheCharacter)
{
    EXPECT_EQ(passwordDigest(u"€"_s), u"8d39dd7eef115ea6975446ef4082951f"_s) << "MD5 of the byte 0x80";
    EXPECT_EQ(passwordDigest(u"密码"_s), u"d2293e30f0c964c5f6242486aa8a483c"_s);
    EXPECT_EQ(passwordDigest(u"𠀀"_s), u"0e651280373d50bc7063064f8fe3c869"_s) << "GB18030's 95 32 82 36";
    EXPECT_EQ(toGbk(u"a€😀"_s), QByteArray("a\x80\x94\x39\xfc\x36"));
    // GB18030 gives ḿ the code A8 BC, which is CP936's U+E7C7.
    EXPECT_NE(toGbk(u"ḿ"_s), toGbk(u"\uE7C7"_s));

    // Every character reads back as itself, so no two texts share their bytes.
    QString all;
    for (char16_t unit = 1; unit != 0; ++unit) {
        if (!QChar::isSurrogate(unit))
            all.append(QChar(unit));
    }
    all.append(u"𠀀😀"_s);
    const QString back = fromGbk(toGbk(all));
    const qsizetype same = std::ranges::mismatch(back, all).in2 - all.begin();
    ASSERT_EQ(same, all.size()) << "U+" << std::hex << int(all.at(same).unicode()) << " reads back otherwise";
    EXPECT_EQ(back.size(), all.size());
}

TEST_F(AccountsTest, AccountFileWrittenOnWindowsOpens)
{
    // The account "€五" with the password "€", as CP936 bytes.
    writePlainContent(path, "[\x80\xce\xe5]\r\n\xbf\xda\xc1\xee=8d39dd7eef115ea6975446ef4082951f\r\n");
    EXPECT_THAT(loadUserNames(path).value(), ElementsAre(u"€五"_s));
    EXPECT_TRUE(passwordMatches(u"€"_s, readUserDigest(path, u"€五"_s).value()));
}

TEST(ConfigPathsTest, WindowsRulesKeepDriveRootsAndSingleBackslashes)
{
    const PathStyle windows = PathStyle::Windows;
    EXPECT_EQ(configFilePathIn(u"C:\\Lumbra"_s, windows), u"C:\\Lumbra\\system.dat"_s);
    EXPECT_EQ(configFilePathIn(u"D:\\"_s, windows), u"D:\\system.dat"_s);
    EXPECT_EQ(directoryPartOf(u"D:\\system.dat"_s, windows), u"D:"_s);
    EXPECT_EQ(normalizeConfigFileName(u"system.dat"_s, windows, u"C:\\Windows\\system32"_s),
              u"C:\\Windows\\system32\\system.dat"_s);
    EXPECT_EQ(normalizeConfigFileName(u"C:\\\\a\\\\b.dat"_s, windows, u"X:"_s), u"C:\\a\\b.dat"_s);
}

TEST(ConfigPathsTest, PosixRulesUseSlashes)
{
    const PathStyle posix = PathStyle::Posix;
    EXPECT_EQ(configFilePathIn(u"/opt/lumbra"_s, posix), u"/opt/lumbra/system.dat"_s);
    EXPECT_EQ(configFilePathIn(u"/"_s, posix), u"/system.dat"_s);
    EXPECT_EQ(directoryPartOf(u"/system.dat"_s, posix), u""_s);
    EXPECT_EQ(normalizeConfigFileName(u"a.dat"_s, posix, u"/tmp"_s), u"/tmp/a.dat"_s);
}
