// The sealed library through the real windows: sealing at a password
// change, the recovery key, a lost account file, and restores that do not
// belong to the library.
#include "KeyboardInput.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "app/ProgramWindows.h"
#include "auth/LoginWindow.h"
#include "auth/PasswordWindow.h"
#include "config/Accounts.h"
#include "config/PasswordDigest.h"
#include "maintenance/UserInfoBackup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/RecoveryKeyWindow.h"
#include "seal/KeySlot.h"
#include "seal/RecoveryKey.h"
#include "toolkit/CheckBoxList.h"

#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Marker = "Qz7f3aMarker";
const QString NewPassword = u"Lumbra新口令"_s;

std::vector<PictureStore::NewRecord> markedRecords()
{
    return {{u"山景Qz7f3aMarker"_s, u"jpg"_s, pictureFile({40, 30}, Qt::darkGreen, "JPG") + Marker},
            {u"日落"_s, u"png"_s, pictureFile({30, 40}, Qt::darkRed) + Marker}};
}

// The files of the program folder, BAK/ included, that hold the marker.
QStringList filesWithMarker(const QString &folder)
{
    QStringList found;
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (readFile(path).contains(Marker))
            found << path;
    }
    return found;
}

// The main window, or null once the password is refused.
MainWindow *logIn(ProgramWindows &windows, const QString &password, const ScriptedResponder &responder)
{
    if (!windows.loginWindow())
        windows.start();
    LoginWindow &login = *windows.loginWindow();
    EXPECT_TRUE(waitForAccounts(login));
    const std::size_t told = responder.messages().size();
    ui(login).passwordBox->setFocus();
    ui(login).passwordBox->selectAll();
    typeText(ui(login).passwordBox, password);
    QTest::keyClick(ui(login).passwordBox, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.mainWindow() || responder.messages().size() > told; }, 10000));
    return windows.mainWindow();
}

QLineEdit &keyBox(QDialog &window)
{
    return *window.findChild<QLineEdit *>(u"keyBox"_s);
}

void click(QDialog &window, const QString &button)
{
    QTest::mouseClick(window.findChild<QPushButton *>(button), Qt::LeftButton);
}

}

// A library of two marked pictures in a program folder of its own, and
// the steps of its sealed life.
class SealedLibrary : public ::testing::Test
{
protected:
    SealedLibrary() { program.createLibrary(markedRecords()); }

    // Logs in at a fresh start; the main window, or null.
    MainWindow *startAndLogIn(const QString &password)
    {
        TestProgram::forgetCaches();
        windows.emplace();
        return logIn(*windows, password, responder);
    }

    // Changes the password from the default and notes the recovery key that
    // the sealing then shows once.
    QString changePasswordAndNoteKey(MainWindow &window)
    {
        QString recoveryKey;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<PasswordWindow *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ui(*dialog).oldPasswordBox->setText(u"3196"_s);
            ui(*dialog).newPasswordBox->setText(NewPassword);
            ui(*dialog).verifyBox->setText(NewPassword);
            QTest::mouseClick(ui(*dialog).okButton, Qt::LeftButton);
        });
        responder.queueDialogAnswer([&](QDialog &shown) {
            recoveryKey = keyBox(shown).text();
            EXPECT_TRUE(keyBox(shown).isReadOnly());
            click(shown, u"okButton"_s);
        });
        responder.queueMenuChoice(u"修改口令"_s);
        QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
        return recoveryKey;
    }

    QString sealByPasswordChange();
    QString accountValue() { return readUserDigest(program.filePath(u"system.dat"_s), u"管理员"_s).value_or(QString()); }

    TestProgram program;
    ScriptedResponder &responder = program.responder();
    std::optional<ProgramWindows> windows;
};

// Seals the library by a first password of the user's own; its recovery key.
QString SealedLibrary::sealByPasswordChange()
{
    MainWindow *window = startAndLogIn(u"3196"_s);
    EXPECT_NE(window, nullptr);
    EXPECT_EQ(ui(*window).pictureList->rowCount(), 2) << "the default password keeps it plain";
    EXPECT_FALSE(filesWithMarker(program.directory()).isEmpty());
    const QString recoveryKey = changePasswordAndNoteKey(*window);
    EXPECT_EQ(ui(*window).pictureList->rowText(0), u"山景Qz7f3aMarker"_s);
    window->close();
    return recoveryKey;
}

TEST_F(SealedLibrary, APasswordChangeSealsTheLibraryAndOnlyTheNewPasswordOpensIt)
{
    EXPECT_TRUE(RecoveryKey::parse(sealByPasswordChange()));
    EXPECT_TRUE(KeySlot::isSlot(accountValue()));
    EXPECT_EQ(filesWithMarker(program.directory()), QStringList());

    EXPECT_EQ(startAndLogIn(u"3196"_s), nullptr);
    MainWindow *window = logIn(*windows, NewPassword, responder);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(ui(*window).pictureList->rowCount(), 2);
    EXPECT_EQ(window->library().store().picture(2), markedRecords()[1].picture);
}

// An account of an earlier build, with a password of its own: its first
// log-in here seals the library and turns its digest into a slot.
TEST_F(SealedLibrary, TheFirstLogInWithAPasswordOfItsOwnSealsAPlainLibrary)
{
    ASSERT_TRUE(writeUserDigest(program.filePath(u"system.dat"_s), u"管理员"_s, passwordDigest(NewPassword)));
    MainWindow *window = startAndLogIn(NewPassword);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(responder.dialogs(), QStringList{u"RecoveryKeyWindow"_s});
    EXPECT_TRUE(KeySlot::isSlot(accountValue()));
    EXPECT_TRUE(window->library().store().isSealed());
    EXPECT_EQ(window->library().store().unsealedCount(), 0);
    EXPECT_EQ(ui(*window).pictureList->rowCount(), 2);
    window->close();
    EXPECT_EQ(filesWithMarker(program.directory()), QStringList());
}

// Sealing a big library is work in batches: a cancel keeps what is sealed
// and a library that reads, and the next log-in goes on with the rest.
TEST_F(SealedLibrary, ACancelledSealingGoesOnAtTheNextLogIn)
{
    std::vector<PictureStore::NewRecord> many;
    for (int i = 0; i < 70; ++i)
        many.push_back({u"第%1张"_s.arg(i), u"bmp"_s, Marker + QByteArray::number(i)});
    program.createLibrary(many);
    ASSERT_TRUE(writeUserDigest(program.filePath(u"system.dat"_s), u"管理员"_s, passwordDigest(NewPassword)));
    responder.cancelProgress(u"正在加密图片库…"_s, 1);
    MainWindow *window = startAndLogIn(NewPassword);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(responder.messages().back().text, u"加密暂停了：图片都能照常使用，下次登录时接着加密。"_s);
    const int left = window->library().store().unsealedCount();
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 72);
    EXPECT_EQ(window->library().store().picture(72), many.back().picture);
    window->close();

    responder.cancelProgress({});
    window = startAndLogIn(NewPassword);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->library().store().unsealedCount(), 0);
    EXPECT_EQ(ui(*window).pictureList->rowCount(), 72);
    EXPECT_EQ(window->library().store().picture(72), many.back().picture);
    window->close();
    EXPECT_EQ(filesWithMarker(program.directory()), QStringList());
}

// Without system.dat the default account comes back: no picture and no name
// until the recovery key, which gives the account a slot.
TEST_F(SealedLibrary, WithoutTheAccountsOnlyTheRecoveryKeyOpensItAndGivesTheAccountASlot)
{
    const QString recoveryKey = sealByPasswordChange();
    ASSERT_TRUE(QFile::remove(program.filePath(u"system.dat"_s)));
    MainWindow *window = startAndLogIn(u"3196"_s);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible()) << "without the recovery key the window goes";
    EXPECT_EQ(window->library().store().count(), 0);
    EXPECT_EQ(responder.dialogs().size(), 2u);
    responder.queueDialogAnswer([](QDialog &wrong) {
        keyBox(wrong).setText(RecoveryKey::generate().text());
        click(wrong, u"okButton"_s);
    });
    responder.queueDialogAnswer([&](QDialog &asking) {
        EXPECT_TRUE(asking.findChild<QLabel *>(u"explanation"_s)->text().startsWith(u"这不是这个图片库的恢复密钥"_s));
        keyBox(asking).setText(recoveryKey.toLower());
        click(asking, u"okButton"_s);
    });
    window = startAndLogIn(u"3196"_s);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(ui(*window).pictureList->rowCount(), 2);
    EXPECT_TRUE(KeySlot::isSlot(accountValue()));
    window->close();
    window = startAndLogIn(u"3196"_s);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(responder.dialogs().size(), 4u) << "the account's new slot opens it";
    EXPECT_EQ(ui(*window).pictureList->rowCount(), 2);
}

TEST(SealedLibraryRestore, ARestoreOfAnotherLibrarysAccountsIsRefusedAndOneWithoutSlotsAsksFirst)
{
    TestProgram program;
    program.createLibrary(markedRecords());
    PictureStore store;
    ASSERT_TRUE(store.open(program.filePath(u"pic.edb"_s)));
    const auto key = LibraryKey::generate();
    ASSERT_TRUE(store.seal(key, RecoveryKey::generate().wrap(*key)));
    const QString configPath = program.filePath(u"system.dat"_s);
    const auto cheapKey = *PasswordKey::derive(u"口令"_s, QByteArray(PasswordKey::SaltSize, 's'), {8192, 1, 1});
    ASSERT_TRUE(writeUserDigest(configPath, u"管理员"_s, KeySlot::make(*key, cheapKey, u"管理员"_s)));
    const QByteArray accounts = readFile(configPath);

    const QString otherLibrary = program.filePath(u"other.usb"_s);
    ASSERT_TRUE(writeUserDigest(otherLibrary, u"管理员"_s, KeySlot::make(*LibraryKey::generate(), cheapKey, u"管理员"_s)));
    const QString olderBackup = program.filePath(u"older.usb"_s);
    ASSERT_TRUE(writeUserDigest(olderBackup, u"管理员"_s, u"6c4bb406b3e7cd5447f7a76fd7008806"_s));
    ScriptedResponder &responder = program.responder();

    responder.queueMessageAnswer(QMessageBox::Yes);
    responder.queueFileAnswer(otherLibrary);
    EXPECT_FALSE(restoreUserInfo(program.session(), store));
    EXPECT_TRUE(responder.messages().back().text.contains(u"另一个加密的图片库"_s));

    responder.queueMessageAnswer(QMessageBox::Yes);
    responder.queueFileAnswer(olderBackup);
    responder.queueMessageAnswer(QMessageBox::No);
    EXPECT_FALSE(restoreUserInfo(program.session(), store));
    EXPECT_EQ(responder.messages().back().kind, MessageKind::YesNoWarning);
    EXPECT_TRUE(responder.messages().back().text.contains(u"恢复密钥"_s));
    EXPECT_EQ(readFile(configPath), accounts) << "nothing is copied";

    responder.queueMessageAnswer(QMessageBox::Yes);
    responder.queueFileAnswer(olderBackup);
    responder.queueMessageAnswer(QMessageBox::Yes);
    EXPECT_TRUE(restoreUserInfo(program.session(), store));
    EXPECT_EQ(readFile(configPath), readFile(olderBackup));
}
