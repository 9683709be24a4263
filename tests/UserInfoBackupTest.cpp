#include "PlainConfigFile.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "config/GbkText.h"
#include "config/PasswordDigest.h"
#include "maintenance/UserInfoBackup.h"
#include "store/PictureStore.h"
#include "toolkit/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <map>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// An account file holding these lines.
QByteArray accountFile(const QString &lines)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(u"made.dat"_s);
    writePlainContent(path, toGbk(lines));
    return readFile(path);
}

// The accounts of the program directory's system.dat.
const QByteArray &accounts()
{
    static const QByteArray file = accountFile(u"[管理员]\r\n口令=%1\r\n"_s.arg(passwordDigest(u"3196"_s)));
    return file;
}

// Every entry of a folder and below with its contents.
std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries[info.filePath()] = info.isDir() ? QByteArray("<folder>") : readFile(info.filePath());
    }
    return entries;
}

// A program directory with system.dat and an open library of two pictures.
class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        configPath = program.filePath(u"system.dat"_s);
        writeFile(configPath, accounts());
        program.createLibrary({{u"山景"_s, u"jpg"_s, pictureFile({30, 20}, Qt::blue, "JPG")},
                               {u"0002"_s, u"png"_s, pictureFile({20, 30}, Qt::red)}});
        ASSERT_TRUE(store.open(program.filePath(u"pic.edb"_s)));
    }

    const MessageRequest &lastMessage() { return program.responder().messages().back(); }

    TestProgram program;
    QString configPath;
    PictureStore store;
    QTemporaryDir elsewhere;
};

}

TEST_F(BackupTest, BackupCopiesTheAccountsAndASnapshotOfTheLibraryIntoBak)
{
    const QString target = QDir(elsewhere.path()).filePath(u"我的备份.usb"_s);
    writeFile(target, "an older backup that is longer than the new one");
    program.responder().queueFileAnswer(target);
    backupUserInfo(store, program.session());

    ASSERT_EQ(program.responder().fileRequests().size(), 1u);
    const FileDialogRequest &dialog = program.responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.title, u"请选择要备份到的文件名："_s);
    EXPECT_EQ(dialog.filter, u"用户信息备份文件(*.usb)|*.usb|所有文件(*.*)|*.*"_s);
    EXPECT_EQ(dialog.defaultExtension, u"usb"_s);

    EXPECT_EQ(readFile(target), accounts());
    ASSERT_EQ(program.responder().messages().size(), 1u);
    EXPECT_EQ(lastMessage().text, u"用户信息备份完成！你可以在以后使用其还原用户信息。"_s);
    EXPECT_EQ(lastMessage().title, u"备份完成"_s);
    EXPECT_EQ(lastMessage().kind, MessageKind::Information);

    // BAK did not exist; now it holds a store with the same pictures.
    PictureStore copy;
    ASSERT_EQ(copy.open(program.filePath(u"BAK/pic.edb"_s)), PictureStore::Opened::Existing);
    ASSERT_EQ(copy.count(), 2);
    for (int record = 1; record <= 2; ++record) {
        EXPECT_EQ(copy.name(record), store.name(record));
        EXPECT_EQ(copy.category(record), store.category(record));
        EXPECT_EQ(copy.picture(record).value(), store.picture(record).value());
    }
}

TEST_F(BackupTest, BackupNeverLosesSystemDatNorLeavesAHalfTarget)
{
    // system.dat itself under another spelling of its path is refused.
    program.responder().queueFileAnswer(program.directory() + u"/./sub/../system.dat"_s);
    QDir(program.directory()).mkdir(u"sub"_s);
    backupUserInfo(store, program.session());
    EXPECT_EQ(readFile(configPath), accounts());
    EXPECT_EQ(lastMessage().title, u"错误"_s);

    // A target that cannot be replaced: the error, and nothing else happens.
    const QString folder = QDir(elsewhere.path()).filePath(u"folder.usb"_s);
    QDir().mkpath(folder + u"/inside"_s);
    program.responder().queueFileAnswer(folder);
    backupUserInfo(store, program.session());
    EXPECT_EQ(lastMessage().text, u"用户信息备份失败！请检查你设置的备份文件是否可写。"_s);
    EXPECT_EQ(lastMessage().title, u"错误"_s);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A target that cannot be written: the failure, and no BAK copy.
    program.responder().queueFileAnswer(QDir(elsewhere.path()).filePath(u"missing/x.usb"_s));
    backupUserInfo(store, program.session());
    EXPECT_EQ(lastMessage().title, u"备份失败"_s);
    EXPECT_FALSE(QFileInfo::exists(program.filePath(u"BAK"_s)));

    // Cancelling asks nothing more.
    const std::size_t messages = program.responder().messages().size();
    backupUserInfo(store, program.session());
    EXPECT_EQ(program.responder().messages().size(), messages);
    EXPECT_EQ(readFile(configPath), accounts());
}

TEST_F(BackupTest, RestoreAsksFirstThenReplacesSystemDatAndEndsTheProgram)
{
    const QString backup = QDir(elsewhere.path()).filePath(u"old.usb"_s);
    const QByteArray restored = accountFile(u"[张三]\r\n口令=%1\r\n"_s.arg(passwordDigest(u"Zs"_s)));
    writeFile(backup, restored);

    // Enter takes the default answer, No: nothing happens.
    EXPECT_FALSE(restoreUserInfo(program.session(), PictureStore()));
    ASSERT_EQ(program.responder().messages().size(), 1u);
    const MessageRequest question = program.responder().messages().front();
    EXPECT_EQ(question.kind, MessageKind::YesNoInformation);
    EXPECT_TRUE(question.title.isEmpty());
    const QStringList paragraphs = question.text.split(u"\r\n"_s);
    ASSERT_EQ(paragraphs.size(), 3);
    for (const QString &paragraph : paragraphs)
        EXPECT_TRUE(paragraph.startsWith(u"    "_s) && paragraph.at(4) != u' ');
    EXPECT_TRUE(program.responder().fileRequests().empty());

    program.responder().queueMessageAnswer(QMessageBox::Yes);
    EXPECT_FALSE(restoreUserInfo(program.session(), PictureStore()));
    ASSERT_EQ(program.responder().fileRequests().size(), 1u);
    EXPECT_EQ(program.responder().fileRequests().front().kind, FileDialogKind::Open);
    EXPECT_EQ(program.responder().fileRequests().front().title, u"请选择备份的用户信息文件名："_s);
    EXPECT_EQ(readFile(configPath), accounts()) << "a cancelled dialog changes nothing";

    program.responder().queueMessageAnswer(QMessageBox::Yes);
    program.responder().queueFileAnswer(backup);
    EXPECT_TRUE(restoreUserInfo(program.session(), PictureStore())) << "the program must end";
    EXPECT_EQ(readFile(configPath), restored);
    EXPECT_EQ(lastMessage().text, u"用户信息还原完成！请重新运行本程序。"_s);
    EXPECT_EQ(lastMessage().title, u"备份完成"_s);
}

TEST_F(BackupTest, FailedRestoreLeavesSystemDatExactlyAsItWas)
{
    const QString good = QDir(elsewhere.path()).filePath(u"good.usb"_s);
    writeFile(good, accountFile(u"[张三]\r\n口令=%1\r\n"_s.arg(passwordDigest(u"Zs"_s))));
    for (const QString &source : {QDir(elsewhere.path()).filePath(u"missing.usb"_s), elsewhere.path(), good}) {
        program.responder().queueMessageAnswer(QMessageBox::Yes);
        program.responder().queueFileAnswer(source);
        const DiskFull full(8);
        EXPECT_FALSE(restoreUserInfo(program.session(), PictureStore()));
        EXPECT_EQ(readFile(configPath), accounts());
        EXPECT_EQ(lastMessage().text, u"用户信息还原失败！请检查你的系统并稍后再试。"_s);
        EXPECT_EQ(lastMessage().title, u"还原失败"_s);
    }
    const QStringList leftovers = QDir(program.directory()).entryList({u"system.dat*"_s}, QDir::Files);
    EXPECT_EQ(leftovers, QStringList{u"system.dat"_s}) << "no temporary copy stays behind";
}

TEST_F(BackupTest, RestoreRefusesFilesThatWouldLockEveryoneOut)
{
    const QDir folder(elsewhere.path());
    const std::vector<std::pair<QString, QByteArray>> refused = {
        {u"garbage.usb"_s, QByteArray("no account file at all").repeated(20)},
        {u"empty.usb"_s, QByteArray()},
        {u"foreign.usb"_s, accountFile(u"[管理员]\r\n口令=x\r\n"_s).replace(0, 8, "OTHERPF1")},
        {u"no-accounts.usb"_s, accountFile(u"[分类信息]\r\n风景=1\r\n"_s)},
        {u"no-digest.usb"_s, accountFile(u"[张三]\r\n[李四]\r\n口令=  \r\n"_s)},
    };
    for (const auto &[name, content] : refused) {
        writeFile(folder.filePath(name), content);
        program.responder().queueMessageAnswer(QMessageBox::Yes);
        program.responder().queueFileAnswer(folder.filePath(name));
        EXPECT_FALSE(restoreUserInfo(program.session(), PictureStore())) << name.toStdString();
        EXPECT_TRUE(lastMessage().text.startsWith(u"用户信息还原失败：所选文件不是本程序的用户信息备份文件"_s))
            << name.toStdString();
        EXPECT_EQ(readFile(configPath), accounts()) << name.toStdString();
    }
}

TEST_F(BackupTest, BackupNeverWritesOntoAFileTheProgramHolds)
{
    program.responder().queueFileAnswer(elsewhere.filePath(u"first.usb"_s));
    backupUserInfo(store, program.session());
    ASSERT_TRUE(QFile::exists(program.filePath(u"BAK/pic.EDT"_s)));
    // Also where no copy is yet, the names of the BAK copies are refused.
    ASSERT_TRUE(QDir(program.filePath(u"BAK"_s)).removeRecursively());
    const auto before = snapshot(program.directory());

    const QString binary = QCoreApplication::applicationFilePath();
    const QString link = elsewhere.filePath(u"link.usb"_s);
    ASSERT_TRUE(QFile::link(program.filePath(u"pic.EDT"_s), link));
    // The files the program itself rewrites or deletes count as well.
    for (const QString &target : {program.filePath(u"pic.edb"_s), program.filePath(u"pic.EDT"_s),
                                  program.directory() + u"/sub/../pic.EDT"_s, program.filePath(u"BAK/pic.edb"_s),
                                  program.filePath(u"BAK/pic.EDT"_s), binary, link, program.filePath(u"PIC.EDB"_s),
                                  program.filePath(u"lumbra.lock"_s), program.filePath(u"pic.edb-journal"_s),
                                  program.filePath(u"pic.EDT-journal"_s), program.filePath(u"BAK/pic.edb.new"_s),
                                  program.filePath(u"lumbra.ini"_s), program.filePath(u"lumbra.intent"_s)}) {
        QDir(program.directory()).mkdir(u"sub"_s);
        program.responder().queueFileAnswer(target);
        backupUserInfo(store, program.session());
        EXPECT_TRUE(lastMessage().text.startsWith(u"备份文件不能是本程序正在使用的文件"_s)) << target.toStdString();
        EXPECT_EQ(lastMessage().title, u"错误"_s);
        QDir(program.directory()).rmdir(u"sub"_s);
    }
    EXPECT_TRUE(snapshot(program.directory()) == before) << "nothing was written";
    EXPECT_EQ(store.count(), 2);
    EXPECT_EQ(readFile(link), readFile(program.filePath(u"pic.EDT"_s)));
}

TEST_F(BackupTest, AFailedOrCancelledLibraryCopyIsToldAndLeavesTheOldCopyWhole)
{
    const QString target = elsewhere.filePath(u"accounts.usb"_s);
    // BAK is a file: no folder can be made there.
    writeFile(program.filePath(u"BAK"_s), "in the way");
    program.responder().queueFileAnswer(target);
    backupUserInfo(store, program.session());
    EXPECT_EQ(readFile(target), accounts()) << "the accounts are backed up all the same";
    EXPECT_EQ(lastMessage().title, u"备份完成"_s);
    EXPECT_EQ(lastMessage().kind, MessageKind::Warning);
    EXPECT_TRUE(lastMessage().text.contains(u"但图片库未能复制到 BAK 文件夹：BAK 文件夹无法创建"_s))
        << lastMessage().text.toStdString();

    ASSERT_TRUE(QFile::remove(program.filePath(u"BAK"_s)));
    program.responder().queueFileAnswer(target);
    backupUserInfo(store, program.session());
    EXPECT_EQ(lastMessage().text, u"用户信息备份完成！你可以在以后使用其还原用户信息。"_s);
    EXPECT_EQ(program.responder().progressLabels(), QStringList{u"正在把图片库复制到 BAK 文件夹……"_s});
    const auto firstCopy = snapshot(program.filePath(u"BAK"_s));

    ASSERT_TRUE(store.append({u"新"_s, u"png"_s, pictureFile({8, 8}, Qt::green)}));
    program.responder().cancelProgress(u"正在把图片库复制到 BAK 文件夹……"_s);
    program.responder().queueFileAnswer(target);
    backupUserInfo(store, program.session());
    EXPECT_TRUE(lastMessage().text.endsWith(u"但图片库未能复制到 BAK 文件夹：已取消。"_s));
    EXPECT_TRUE(snapshot(program.filePath(u"BAK"_s)) == firstCopy) << "no half copy, no leftover";
}
