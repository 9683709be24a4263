#include "TestFiles.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "WindowControls.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/MessageBox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

TEST(LibraryRecoveryTest, DamagedLibraryIsReportedOnceAndLeftUntouched)
{
    TestProgram program;
    const QByteArray garbage = QByteArray("not a database ").repeated(200);
    for (const QString &name : {u"pic.edb"_s, u"pic.EDT"_s}) {
        QFile file(program.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    {
        MainWindow window(program.session());
        window.openLibrary();
        EXPECT_EQ(ui(window).pictureList->rowCount(), 0);
        window.showSelectedPicture();
        window.close();
    }
    ASSERT_EQ(program.responder().messages().size(), 1u);
    const MessageRequest &message = program.responder().messages().front();
    EXPECT_EQ(message.kind, MessageKind::Stop);
    EXPECT_EQ(message.title, u"错误"_s);
    EXPECT_TRUE(message.text.contains(u"图片库无法打开"_s));
    EXPECT_EQ(readFile(program.filePath(u"pic.edb"_s)), garbage);
    EXPECT_EQ(readFile(program.filePath(u"pic.EDT"_s)), garbage);
}

TEST(LibraryRecoveryTest, ADamagedLibraryCanComeBackFromItsBakCopy)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    {
        PictureStore store;
        ASSERT_TRUE(store.open(program.filePath(u"pic.edb"_s)));
        ASSERT_TRUE(QDir(program.directory()).mkdir(u"BAK"_s));
        ASSERT_TRUE(store.copyTo(program.filePath(u"BAK/pic.edb"_s)));
    }
    const QByteArray damaged = QByteArray("not a database ").repeated(300);
    writeFile(program.filePath(u"pic.edb"_s), damaged);
    const QByteArray bytes = readFile(program.filePath(u"pic.EDT"_s));
    ScriptedResponder &responder = program.responder();

    // No, the default, keeps the damaged files as they are.
    {
        MainWindow window(program.session());
        window.openLibrary();
        EXPECT_EQ(window.library().rowCount(), 0);
    }
    ASSERT_EQ(responder.messages().size(), 1u);
    const MessageRequest &question = responder.messages().front();
    EXPECT_EQ(question.title, u"恢复图片库"_s);
    EXPECT_EQ(question.kind, MessageKind::YesNoWarning);
    EXPECT_TRUE(question.text.startsWith(u"图片库无法打开：pic.edb"_s)) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(u"4 张图片"_s));
    EXPECT_EQ(readFile(program.filePath(u"pic.edb"_s)), damaged);

    responder.queueMessageAnswer(QMessageBox::Yes);
    MainWindow window(program.session());
    window.openLibrary();
    ASSERT_EQ(window.library().rowCount(), 4);
    EXPECT_EQ(window.library().rowName(2), u"猫"_s);
    EXPECT_EQ(responder.messages().size(), 2u);
    const QStringList kept = QDir(program.directory()).entryList({u"*.damaged-*"_s}, QDir::Files);
    ASSERT_EQ(kept.size(), 2) << kept.join(u' ').toStdString();
    EXPECT_EQ(readFile(program.filePath(kept.filter(u"pic.edb"_s).value(0))), damaged) << "kept, not deleted";
    EXPECT_EQ(readFile(program.filePath(kept.filter(u"pic.EDT"_s).value(0))), bytes);
}

TEST(LibraryRecoveryTest, OnlyADamagedLibraryIsOfferedItsBakCopy)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    {
        PictureStore store;
        ASSERT_TRUE(store.open(program.filePath(u"pic.edb"_s)));
        ASSERT_TRUE(QDir(program.directory()).mkdir(u"BAK"_s));
        ASSERT_TRUE(store.copyTo(program.filePath(u"BAK/pic.edb"_s)));
    }
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(program.filePath(u"pic.edb"_s)).constData(), &handle);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> other(handle, &sqlite3_close);
    const auto opensWithoutOffer = [&](const QString &told) {
        const std::size_t before = program.responder().messages().size();
        MainWindow window(program.session());
        window.openLibrary();
        EXPECT_EQ(window.library().rowCount(), 0);
        ASSERT_EQ(program.responder().messages().size(), before + 1);
        const MessageRequest &message = program.responder().messages().back();
        EXPECT_EQ(message.kind, MessageKind::Stop) << "no question";
        EXPECT_TRUE(message.text.contains(told)) << message.text.toStdString();
    };
    // Another program holds the library busy: the window waits, then says so.
    ASSERT_EQ(sqlite3_exec(handle, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    opensWithoutOffer(u"图片库正被另一个程序使用"_s);
    ASSERT_EQ(sqlite3_exec(handle, "ROLLBACK; PRAGMA user_version = 3", nullptr, nullptr, nullptr), SQLITE_OK);
    opensWithoutOffer(u"由更新版本的本程序写成"_s);
    ASSERT_EQ(sqlite3_exec(handle, "PRAGMA user_version = 1", nullptr, nullptr, nullptr), SQLITE_OK);
    MainWindow window(program.session());
    window.openLibrary();
    EXPECT_EQ(window.library().rowCount(), 4) << "the library was never replaced";
}
