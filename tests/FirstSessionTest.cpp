// A new user's first session through the real windows, from the first
// start without any files to the next start after a restore.
#include "KeyboardInput.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "app/ProgramWindows.h"
#include "auth/LoginWindow.h"
#include "auth/PasswordWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowMenu.h"
#include "reasons/ReasonSentence.h"
#include "store/LibraryLock.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PictureLabel.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLockFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void logIn(ProgramWindows &windows, const QString &password)
{
    LoginWindow &login = *windows.loginWindow();
    ASSERT_TRUE(waitForAccounts(login));
    ui(login).passwordBox->setFocus();
    ui(login).passwordBox->selectAll();
    typeText(ui(login).passwordBox, password);
    EXPECT_TRUE(answersLogIn(login, [&] { QTest::keyClick(ui(login).passwordBox, Qt::Key_Return); }));
}

void chooseFromMenu(MainWindow &window, ScriptedResponder &responder, const QString &item)
{
    responder.queueMenuChoice(item);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
}

}

// A new user's first session, step by step, in a program folder of its own
// with three picture files to add.
class FirstSession : public ::testing::Test
{
protected:
    FirstSession()
        : pictureFolder(pictures.path())
        , backup(pictureFolder.filePath(u"accounts.usb"_s))
    {
        for (const auto &[name, bytes] : files)
            writeFile(pictureFolder.filePath(name), bytes);
    }

    // Enter logs in with what the password box holds at start.
    MainWindow &logInAtFirstStart(ProgramWindows &windows)
    {
        windows.start();
        LoginWindow &login = *windows.loginWindow();
        EXPECT_TRUE(waitForAccounts(login));
        EXPECT_EQ(ui(login).userBox->count(), 1);
        EXPECT_EQ(ui(login).userBox->itemText(0), u"管理员"_s);
        EXPECT_TRUE(QFile::exists(program.filePath(u"system.dat"_s)));
        EXPECT_TRUE(answersLogIn(login, [&] { QTest::keyClick(ui(login).passwordBox, Qt::Key_Return); }));
        EXPECT_FALSE(login.isVisible());
        return *windows.mainWindow();
    }

    void addPictures(MainWindow &window)
    {
        for (const auto &[name, bytes] : files) {
            responder.queueFileAnswer(pictureFolder.filePath(name));
            QTest::mouseClick(ui(window).addButton, Qt::LeftButton);
        }
        CheckBoxList &list = *ui(window).pictureList;
        ASSERT_EQ(list.rowCount(), 3);
        EXPECT_EQ(list.rowText(0), u"山景"_s);
        EXPECT_EQ(list.selectedIndex(), 2);
    }

    // Full screen from the first picture, forward twice and back once; then
    // the picture the viewer ended on gets a new name and is exported.
    void viewRenameAndExport(MainWindow &window)
    {
        whenViewerOpens([&](ViewerWindow &viewer) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
            pressKey(viewer, Qt::Key_Right);
            pressKey(viewer, Qt::Key_Right);
            pressKey(viewer, Qt::Key_Left);
            EXPECT_EQ(ui(viewer).numberLabel->text(), u"图片编号：日落"_s);
            QTest::mouseClick(ui(viewer).exitButton, Qt::LeftButton);
        });
        CheckBoxList &list = *ui(window).pictureList;
        doubleClickRow(list, 0);
        EXPECT_EQ(list.selectedIndex(), 1) << "the main window follows the viewer";
        EXPECT_TRUE(shows(*ui(window).preview, files[1].second));

        ui(window).nameBox->setText(u" 晚 霞 "_s);
        QTest::mouseClick(ui(window).renameButton, Qt::LeftButton);
        EXPECT_EQ(list.rowText(1), u"晚霞"_s);

        const QString exported = pictureFolder.filePath(u"导出"_s);
        responder.queueFileAnswer(exported);
        QTest::mouseClick(ui(window).exportButton, Qt::LeftButton);
        EXPECT_EQ(readFile(exported + u".png"_s), files[1].second);
    }

    void changePassword(MainWindow &window)
    {
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<PasswordWindow *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ui(*dialog).oldPasswordBox->setFocus();
            typeText(ui(*dialog).oldPasswordBox, u"3196"_s);
            for (QLineEdit *box : {ui(*dialog).newPasswordBox, ui(*dialog).verifyBox}) {
                ASSERT_TRUE(box->isEnabled());
                box->setFocus();
                typeText(box, newPassword);
            }
            QTest::mouseClick(ui(*dialog).okButton, Qt::LeftButton);
        });
        const QSignalSpy keyChanged(qobject_cast<MainWindowMenu *>(ui(window).menu), &MainWindowMenu::libraryKeyChanged);
        // The library is sealed at once, and its recovery key shown.
        chooseFromMenu(window, responder, u"修改口令"_s);
        EXPECT_EQ(responder.dialogs(), QStringList{u"RecoveryKeyWindow"_s});
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(keyChanged.count(), 1) << "the first password of a plain library brings a library key";
    }

    void backUpAndRestore(MainWindow &window)
    {
        responder.queueFileAnswer(backup);
        chooseFromMenu(window, responder, u"备份用户信息"_s);
        EXPECT_EQ(readFile(backup), readFile(program.filePath(u"system.dat"_s)));
        EXPECT_TRUE(QFile::exists(program.filePath(u"BAK/pic.edb"_s)));
        EXPECT_EQ(responder.messages().back().title, u"备份完成"_s);

        responder.queueMessageAnswer(QMessageBox::Yes);
        responder.queueFileAnswer(backup);
        EXPECT_EQ(exitStatusAfter([&] { chooseFromMenu(window, responder, u"还原用户信息"_s); }), 0)
            << "a restore ends the program";
        EXPECT_EQ(responder.messages().back().text, u"用户信息还原完成！请重新运行本程序。"_s);
    }

    TestProgram program;
    ScriptedResponder &responder = program.responder();
    QTemporaryDir pictures;
    const QDir pictureFolder;
    const std::vector<std::pair<QString, QByteArray>> files = {
        {u"山景.jpg"_s, pictureFile({640, 400}, Qt::darkGreen, "JPG")},
        {u"日落.png"_s, pictureFile({300, 500}, Qt::darkRed)},
        {u"0003.bmp"_s, pictureFile({64, 64}, Qt::darkBlue, "BMP")},
    };
    const QString newPassword = u"Lumbra新口令"_s;
    const QString backup;
};

TEST_F(FirstSession, FromAFreshStartToARestoreAndTheNextStart)
{
    {
        ProgramWindows windows;
        MainWindow &window = logInAtFirstStart(windows);
        ASSERT_TRUE(window.isVisible());
        addPictures(window);
        viewRenameAndExport(window);
        changePassword(window);
        backUpAndRestore(window);
    }

    // The next start: the old password fails, the new one logs in, and the
    // library holds what the first session left.
    TestProgram::forgetCaches();
    ProgramWindows windows;
    windows.start();
    logIn(windows, u"3196"_s);
    EXPECT_EQ(windows.mainWindow(), nullptr);
    EXPECT_EQ(responder.messages().back().text, u"用户口令不正确，请重新输入！"_s);
    logIn(windows, newPassword);
    ASSERT_NE(windows.mainWindow(), nullptr);
    CheckBoxList &list = *ui(*windows.mainWindow()).pictureList;
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.rowText(1), u"晚霞"_s);
}

TEST(FirstSessionTest, ASecondStartOnTheSameFolderIsRefusedUntilTheFirstHasEnded)
{
    TestProgram program;
    ScriptedResponder &responder = program.responder();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t first = fork();
    ASSERT_NE(first, -1);
    if (first == 0) {
        // The first program, running on the folder.
        const auto lock = lockLibraryFolder(program.directory());
        if (::write(ready[1], lock ? "1" : "0", 1) != 1)
            _exit(1);
        ::pause();
        _exit(0);
    }
    char locked = 0;
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    ASSERT_EQ(locked, '1');
    {
        ProgramWindows second;
        EXPECT_EQ(exitStatusAfter([&] { second.start(); }), 0);
        EXPECT_EQ(second.loginWindow(), nullptr);
        ASSERT_EQ(responder.messages().size(), 1u);
        EXPECT_TRUE(responder.messages().front().text.startsWith(u"图片库已经打开"_s));
        EXPECT_FALSE(QFile::exists(program.filePath(u"system.dat"_s))) << "the second start writes nothing";
    }
    ::kill(first, SIGKILL);
    ::waitpid(first, nullptr, 0);

    // The lock of the program that has ended is taken over.
    ProgramWindows next;
    next.start();
    ASSERT_NE(next.loginWindow(), nullptr);
    ASSERT_TRUE(waitForAccounts(*next.loginWindow()));
    EXPECT_TRUE(QFile::exists(program.filePath(u"system.dat"_s)));
}

TEST(FirstSessionTest, AFirstStartMakesTheDataFolderAndKeepsTheLibraryThere)
{
    TestProgram program;
    const QString dataFolder = program.filePath(u"home/.local/share/Lumbra"_s);
    const ScopedProgramDirectory inDataFolder(dataFolder);
    ProgramWindows windows;
    windows.start();
    ASSERT_TRUE(program.responder().messages().empty());
    logIn(windows, u"3196"_s);
    ASSERT_NE(windows.mainWindow(), nullptr);
    for (const QString &file : {u"system.dat"_s, u"pic.edb"_s, u"pic.EDT"_s})
        EXPECT_TRUE(QFile::exists(QDir(dataFolder).filePath(file))) << qPrintable(file);
}

TEST(FirstSessionTest, ALockFileThatNoRunningProgramHoldsIsTakenOver)
{
    TestProgram program;
    const QString lockPath = program.filePath(u"lumbra.lock"_s);
    // Empty after a power cut, or bytes of another program.
    for (const QByteArray &content : {QByteArray(), QByteArray("\x01\x02 not a lock\n")}) {
        ASSERT_TRUE(writeFile(lockPath, content));
        const auto lock = withReasonSentence(lockLibraryFolder(program.directory()));
        EXPECT_TRUE(lock) << qPrintable(lock.error());
    }
    // A folder or a link in its place is named, with what to do.
    EXPECT_FALSE(QFile::exists(lockPath)) << "the lock went with its holder";
    ASSERT_TRUE(QDir().mkdir(lockPath));
    auto refused = withReasonSentence(lockLibraryFolder(program.directory()));
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().contains(u"文件夹"_s) && refused.error().contains(u"lumbra.lock"_s)) << qPrintable(refused.error());
    ASSERT_TRUE(QDir().rmdir(lockPath));
    ASSERT_TRUE(QFile::link(program.filePath(u"nowhere"_s), lockPath));
    refused = withReasonSentence(lockLibraryFolder(program.directory()));
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().contains(u"链接"_s) && refused.error().contains(u"删除"_s)) << qPrintable(refused.error());
}

TEST(FirstSessionTest, TheMainWindowsCloseMarkEndsTheProgramWithStatusZero)
{
    TestProgram program;
    ProgramWindows windows;
    windows.start();
    logIn(windows, u"3196"_s);
    ASSERT_NE(windows.mainWindow(), nullptr);
    EXPECT_EQ(exitStatusAfter([&] { QTest::mousePress(ui(*windows.mainWindow()).closeMark, Qt::LeftButton); }), 0);
    EXPECT_FALSE(windows.mainWindow()->isVisible());
    EXPECT_TRUE(program.responder().messages().empty()) << "nothing asked";
}

TEST(FirstSessionTest, ARestoreEndsTheProgramFromInsideTheMenusOwnLoop)
{
    TestProgram program;
    ProgramWindows windows;
    windows.start();
    logIn(windows, u"3196"_s);
    ASSERT_NE(windows.mainWindow(), nullptr);
    const QString backup = program.filePath(u"accounts.usb"_s);
    ASSERT_TRUE(QFile::copy(program.filePath(u"system.dat"_s), backup));
    program.responder().queueMessageAnswer(QMessageBox::Yes);
    program.responder().queueFileAnswer(backup);

    QMenu &menu = *ui(*windows.mainWindow()).menu;
    QAction *restore = menu.actions().at(3);
    ASSERT_EQ(restore->text(), u"还原用户信息"_s);
    bool menuReturned = false;
    const int status = exitStatusAfter([&] {
        // The restore runs while the menu is up, its event loop running.
        QTimer::singleShot(0, restore, &QAction::trigger);
        menu.exec({300, 420});
        menuReturned = true;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(menuReturned);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(windows.mainWindow()->isVisible());
    EXPECT_EQ(program.responder().messages().back().text, u"用户信息还原完成！请重新运行本程序。"_s);
}
