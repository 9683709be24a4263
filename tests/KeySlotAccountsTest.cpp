#include "TestFiles.h"
#include "TestProgram.h"
#include "WindowControls.h"
#include "app/ProgramWindows.h"
#include "auth/LoginWindow.h"
#include "auth/PasswordWindow.h"
#include "config/Accounts.h"
#include "config/PasswordDigest.h"
#include "seal/KeySlot.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// 张三 holds a slot of a library key under the password "Zs", 李四 a copy
// of that slot, 王五 the digest of "Ww".
class KeySlotAccountsTest : public ::testing::Test
{
protected:
    KeySlotAccountsTest()
    {
        EXPECT_TRUE(writeAccounts(configPath(), {u"张三"_s, u"李四"_s, u"王五"_s}, {slot, slot, passwordDigest(u"Ww"_s)}));
    }

    QString configPath() const { return program.session().configFilePath; }

    // 张三's session as his log-in leaves it.
    Session slotSession() const
    {
        Session session = program.session();
        session.userName = u"张三"_s;
        *session.keys = SessionKeys{key, passwordKey, TypedPassword(u"Zs"_s)};
        return session;
    }

    static void fillIn(const PasswordWindow &window, const QString &oldPassword, const QString &newPassword)
    {
        ui(window).oldPasswordBox->setText(oldPassword);
        ui(window).newPasswordBox->setText(newPassword);
        ui(window).verifyBox->setText(newPassword);
    }

    TestProgram program;
    std::shared_ptr<const LibraryKey> key = LibraryKey::generate();
    PasswordKey passwordKey = PasswordKey::derive(u"Zs"_s);
    QString slot = KeySlot::make(*key, passwordKey, u"张三"_s);
};

}

TEST_F(KeySlotAccountsTest, ASlotOpensWithItsPasswordForItsOwnAccountOnly)
{
    ProgramWindows windows;
    windows.start();
    LoginWindow &login = *windows.loginWindow();
    ASSERT_TRUE(waitForAccounts(login));
    const auto tryPassword = [&](int account, const QString &password) {
        ui(login).userBox->setCurrentIndex(account);
        ui(login).passwordBox->setText(password);
        EXPECT_TRUE(answersLogIn(login, [&] { QTest::keyClick(ui(login).passwordBox, Qt::Key_Return); }));
    };
    tryPassword(0, u"zs"_s);
    tryPassword(1, u"Zs"_s);
    EXPECT_EQ(program.responder().messages().size(), 2u) << "a wrong password and a slot copied to another account";
    EXPECT_EQ(windows.mainWindow(), nullptr);

    tryPassword(0, u"Zs"_s);
    ASSERT_NE(windows.mainWindow(), nullptr);
    const SessionKeys &keys = *windows.session().keys;
    ASSERT_NE(keys.libraryKey, nullptr);
    EXPECT_EQ(keys.libraryKey->identifier(), key->identifier());
    ASSERT_TRUE(keys.accountKey);
    EXPECT_EQ(keys.accountKey->salt(), passwordKey.salt()) << "the slot's own password key";
    EXPECT_TRUE(keys.typedPassword.matches(u"Zs"_s));
}

TEST_F(KeySlotAccountsTest, ADigestAccountWithAPasswordOfItsOwnGetsItsPasswordKey)
{
    const std::shared_ptr<SessionKeys> keys = logInAtTheNextStart(configPath(), u"王五"_s, u"Ww"_s);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->libraryKey, nullptr);
    EXPECT_TRUE(keys->accountKey) << "a slot can be made for 王五 once a library key is at hand";
}

TEST_F(KeySlotAccountsTest, APasswordChangeWrapsTheSameLibraryKeyUnderTheNewPassword)
{
    const Session session = slotSession();
    PasswordWindow window(session);
    fillIn(window, u"Zs"_s, u"新口令"_s);
    EXPECT_TRUE(ui(window).newPasswordBox->isEnabled()) << "the password typed at log-in opens the boxes at once";
    QTest::mouseClick(ui(window).okButton, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(session.keys->libraryKey->identifier(), key->identifier());
    EXPECT_TRUE(session.keys->typedPassword.matches(u"新口令"_s));

    EXPECT_EQ(logInAtTheNextStart(configPath(), u"张三"_s, u"Zs"_s), nullptr) << "the old password fails";
    const std::shared_ptr<SessionKeys> next = logInAtTheNextStart(configPath(), u"张三"_s, u"新口令"_s);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->libraryKey->identifier(), key->identifier());
}

TEST_F(KeySlotAccountsTest, AFailedWriteKeepsTheOldSlotAndTheOldKeys)
{
    const Session session = slotSession();
    PasswordWindow window(session);
    fillIn(window, u"Zs"_s, u"新口令"_s);
    const QByteArray before = readFile(configPath());
    {
        const DiskFull full(16);
        QTest::mouseClick(ui(window).okButton, Qt::LeftButton);
    }
    EXPECT_EQ(program.responder().messages().size(), 1u);
    EXPECT_EQ(readFile(configPath()), before);
    EXPECT_EQ(session.keys->libraryKey, key);
    EXPECT_EQ(session.keys->accountKey->salt(), passwordKey.salt());
    EXPECT_TRUE(session.keys->typedPassword.matches(u"Zs"_s));
}
