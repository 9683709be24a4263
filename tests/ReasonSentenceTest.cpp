#include "reasons/ReasonSentence.h"

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;

namespace {

struct Told
{
    StoreError error;
    QString sentence;
};

// Every reason with the sentence users have read for it, byte for byte.
const Told told[] = {
    {{StoreReason::DiskFull, u"database or disk is full"_s}, u"磁盘已满"_s},
    {{StoreReason::DiskError}, u"读写磁盘时出错"_s},
    {{StoreReason::ReadOnly}, u"图片库文件是只读的"_s},
    {{StoreReason::NoPermission}, u"没有访问图片库文件的权限"_s},
    {{StoreReason::Damaged}, u"图片库文件已损坏"_s},
    {{StoreReason::Busy}, u"图片库正被另一个程序使用"_s},
    {{StoreReason::CannotOpen}, u"图片库文件无法打开"_s},
    {{StoreReason::TooBig}, u"图片太大，图片库存不下"_s},
    {{StoreReason::OutOfMemory}, u"内存不足"_s},
    {{StoreReason::OtherSqliteError, u"constraint failed"_s}, u"图片库出错（constraint failed）"_s},
    {{StoreReason::Cancelled}, u"已取消"_s},
    {{StoreReason::NotAFile, u"pic.edb"_s}, u"pic.edb 不是文件"_s},
    {{StoreReason::Unreadable, u"pic.EDT"_s}, u"pic.EDT 无法读取"_s},
    {StoreError{StoreReason::Busy}.causing(StoreReason::Unreadable, u"pic.edb"_s), u"pic.edb 无法读取：图片库正被另一个程序使用"_s},
    {StoreError{StoreReason::CannotOpen}.causing(StoreReason::Unopenable, u"pic.EDT"_s), u"pic.EDT 无法打开：图片库文件无法打开"_s},
    {{StoreReason::NotALibraryFile, u"pic.edb"_s}, u"pic.edb 已损坏，或不是图片库文件"_s},
    {{StoreReason::ForeignFile, u"pic.edb"_s}, u"pic.edb 不是本程序的图片库文件"_s},
    {{StoreReason::WalFile, u"pic.EDT"_s}, u"pic.EDT 使用了本程序不用的日志模式（WAL）"_s},
    {{StoreReason::NewerBuild, u"pic.edb"_s}, u"pic.edb 由更新版本的本程序写成"_s},
    {{StoreReason::NoTables, u"pic.edb"_s}, u"pic.edb 没有图片库的表"_s},
    {{StoreReason::NamedLikeBytes, u"pic.EDT"_s}, u"pic.EDT 是图片数据文件的名字，不是图片库的名字"_s},
    {{StoreReason::NoLibrary, u"pic.edb"_s}, u"pic.edb 不存在"_s},
    {{StoreReason::OnlySetAside, u"pic.edb"_s},
     u"pic.edb 不见了，但文件夹中还有改名保留的损坏图片库文件（*.damaged-…）。要新建一个空的图片库，请先把这些文件移到别处"_s},
    {{StoreReason::MissingCompanion, u"pic.EDT"_s, u"pic.edb"_s}, u"pic.EDT 不见了，它应当在 pic.edb 旁边"_s},
    {{StoreReason::NotAPair, u"pic.edb"_s, u"pic.EDT"_s}, u"pic.edb 与 pic.EDT 不是同一个图片库的文件"_s},
    {StoreError{StoreReason::NotPlaced, u"/库/pic.edb"_s}.causing(StoreReason::CannotCreate),
     u"无法新建图片库：/库/pic.edb 无法放到位"_s},
    {{StoreReason::NotPlaced, u"/库/pic.EDT"_s}, u"/库/pic.EDT 无法放到位"_s},
    {{StoreReason::LeftoverStep, u"/库/pic.edb"_s}, u"上次被中断的文件操作无法完成：/库/pic.edb"_s},
    {{.reason = StoreReason::IntentNotWritten, .fileError = ConfigError{ConfigReason::FolderInTheWay}},
     u"已有同名的文件夹"_s},
    {{StoreReason::NotOpen}, u"图片库没有打开"_s},
    {{StoreReason::NoSuchRecord, u"7"_s}, u"图片库中没有第 7 张图片"_s},
    {{StoreReason::BytesMissing}, u"图片的数据不见了，图片库可能已损坏"_s},
    {{StoreReason::Locked}, u"图片库已加密，尚未解锁"_s},
    {{StoreReason::KeyMismatch}, u"这个密钥不是本图片库的"_s},
    {{StoreReason::SealBroken, u"12"_s}, u"图片库第 12 行的数据无法解密，图片库可能已损坏或被改动"_s},
    {{StoreReason::AlreadySealed}, u"图片库已经加密"_s},
    {{StoreReason::NotSealed}, u"图片库没有加密"_s},
    {{StoreReason::AlreadyOpen, u"/库"_s}, u"图片库已经打开：本程序已经在运行，正在使用同一个程序文件夹。"_s},
    {{StoreReason::LockIsLink, u"/库/lumbra.lock"_s},
     u"程序文件夹无法加锁：锁文件的位置上是一个链接（/库/lumbra.lock），不是本程序的锁文件。请删除这个链接后再启动本程序。"_s},
    {{StoreReason::LockIsFolder, u"/库/lumbra.lock"_s},
     u"程序文件夹无法加锁：锁文件的位置上是一个文件夹（/库/lumbra.lock）。请删除或移走这个文件夹后再启动本程序。"_s},
    {{StoreReason::CannotLock, u"/库"_s}, u"程序文件夹无法加锁，可能没有写入权限。"_s},
};

}

TEST(ReasonSentenceTest, EveryStoreReasonIsToldAsBefore)
{
    std::set<StoreReason> covered;
    for (const Told &row : told) {
        EXPECT_EQ(reasonSentence(row.error).toStdString(), row.sentence.toStdString());
        covered.insert(row.error.reason);
    }
    // CannotLock is the last reason.
    EXPECT_EQ(covered.size(), std::size_t(StoreReason::CannotLock) + 1) << "a reason without its sentence";
}

TEST(ReasonSentenceTest, ACauseIsToldInsideItsFailure)
{
    const StoreError notWritten{.reason = StoreReason::IntentNotWritten,
                                .fileError = ConfigError{ConfigReason::CannotWrite}};
    EXPECT_EQ(reasonSentence(notWritten.causing(StoreReason::CannotCreate)),
              u"无法新建图片库：文件无法写入，可能没有写入权限或磁盘已满"_s);
    const StoreError other{StoreReason::OtherSqliteError, u"SQL logic error"_s};
    EXPECT_EQ(reasonSentence(other.causing(StoreReason::Unreadable, u"pic.EDT"_s)),
              u"pic.EDT 无法读取：图片库出错（SQL logic error）"_s);
}

TEST(ReasonSentenceTest, FileReasonsAreToldAsBefore)
{
    EXPECT_EQ(reasonSentence(ConfigError{ConfigReason::CannotWrite}), u"文件无法写入，可能没有写入权限或磁盘已满"_s);
    EXPECT_EQ(reasonSentence(ConfigError{ConfigReason::FolderMissing}), u"目标文件夹不存在"_s);
    EXPECT_EQ(reasonSentence(ConfigError{ConfigReason::FolderInTheWay}), u"已有同名的文件夹"_s);
    EXPECT_EQ(reasonSentence(ConfigError{ConfigReason::CannotRead}), u"文件无法读取"_s);
}

TEST(ReasonSentenceTest, AResultKeepsItsValueAndTellsItsError)
{
    EXPECT_EQ(withReasonSentence(std::expected<int, StoreError>(3)), 3);
    const auto failed = withReasonSentence(std::expected<void, StoreError>(std::unexpect, StoreError{StoreReason::Busy}));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error(), u"图片库正被另一个程序使用"_s);
}
