#include "KeyboardInput.h"
#include "ScriptedResponder.h"
#include "TestFiles.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "auth/LoginWindow.h"
#include "auth/PasswordWindow.h"
#include "config/Accounts.h"
#include "config/PasswordDigest.h"
#include "seal/KeySlot.h"
#include "toolkit/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Logs in with the password the box holds at start, as the program's first start does,
// and opens the password window as the main window's menu does.
class PasswordWindowTest : public ::testing::Test
{
protected:
    PasswordWindowTest()
    {
        LoginWindow login(configPath(), session.keys);
        const QSignalSpy loggedIn(&login, &LoginWindow::loggedIn);
        login.start();
        EXPECT_TRUE(waitForAccounts(login));
        EXPECT_TRUE(answersLogIn(login, [&] { QTest::mouseClick(ui(login).logInButton, Qt::LeftButton); }));
        EXPECT_EQ(loggedIn.value(0).value(0).toString(), u"管理员"_s);
        window.emplace(session);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&*window));
    }

    QString configPath() const { return program.session().configFilePath; }

    static void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        typeText(box, text);
    }

    void expectLastMessage(const QString &text, MessageKind kind, const QString &title)
    {
        ASSERT_FALSE(program.responder().messages().empty());
        const MessageRequest &message = program.responder().messages().back();
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.kind, kind);
        EXPECT_EQ(message.title, title);
    }

    TestProgram program;
    Session session = program.session();
    std::optional<PasswordWindow> window;
};

}

TEST_F(PasswordWindowTest, ControlsStandWholeAndTheNewBoxesStartDisabled)
{
    EXPECT_EQ(window->windowTitle(), u"修改用户口令"_s);
    EXPECT_EQ(window->size(), QSize(240, 156));
    EXPECT_TRUE(window->isModal());
    const PasswordWindowControls c = ui(*window);
    for (QWidget *control : std::initializer_list<QWidget *>{c.background, c.userCaption, c.oldCaption, c.newCaption,
                                                             c.verifyCaption, c.userBox, c.oldPasswordBox,
                                                             c.newPasswordBox, c.verifyBox, c.okButton, c.cancelButton}) {
        EXPECT_TRUE(standsWhole(*control));
        EXPECT_EQ(control->font().pixelSize(), 12) << control->objectName().toStdString();
    }
    EXPECT_EQ(ui(*window).newCaption->text(), u"新设口令"_s);
    EXPECT_EQ(ui(*window).okButton->text(), u"确定"_s);
    EXPECT_EQ(ui(*window).userBox->text(), u"管理员"_s);
    EXPECT_TRUE(ui(*window).userBox->isReadOnly());
    for (QLineEdit *box : {ui(*window).oldPasswordBox, ui(*window).newPasswordBox, ui(*window).verifyBox}) {
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        EXPECT_EQ(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), u'*');
    }
    EXPECT_FALSE(ui(*window).newPasswordBox->isEnabled());
    EXPECT_FALSE(ui(*window).verifyBox->isEnabled());
    EXPECT_TRUE(ui(*window).okButton->isDefault());

    expectTabOrder(c.userBox, {c.oldPasswordBox, c.okButton, c.cancelButton});
    ui(*window).cancelButton->setFocus();
    EXPECT_TRUE(ui(*window).cancelButton->isDefault());
    EXPECT_FALSE(ui(*window).okButton->isDefault());
    QTest::keyClicks(ui(*window).oldPasswordBox, u"12345678901234"_s);
    EXPECT_EQ(ui(*window).oldPasswordBox->text(), u"1234567890"_s) << "input limit";
}

TEST_F(PasswordWindowTest, NewBoxesFollowTheOldPasswordAtEveryKeystroke)
{
    type(ui(*window).oldPasswordBox, u"319"_s);
    EXPECT_FALSE(ui(*window).newPasswordBox->isEnabled());
    QTest::keyClicks(ui(*window).oldPasswordBox, u"6"_s);
    EXPECT_TRUE(ui(*window).newPasswordBox->isEnabled());
    EXPECT_TRUE(ui(*window).verifyBox->isEnabled());

    type(ui(*window).newPasswordBox, u"新的"_s);
    // Tabbing back would select the old password; a click at its end does not.
    QTest::mouseClick(ui(*window).oldPasswordBox, Qt::LeftButton, {}, QPoint(95, 11));
    EXPECT_FALSE(ui(*window).oldPasswordBox->hasSelectedText());
    QTest::keyClicks(ui(*window).oldPasswordBox, u"7"_s);
    EXPECT_FALSE(ui(*window).newPasswordBox->isEnabled());
    EXPECT_FALSE(ui(*window).verifyBox->isEnabled());
    EXPECT_EQ(ui(*window).newPasswordBox->text(), u"新的"_s) << "disabling keeps the content";
    QTest::keyClick(ui(*window).oldPasswordBox, Qt::Key_Backspace);
    EXPECT_TRUE(ui(*window).newPasswordBox->isEnabled());
}

TEST_F(PasswordWindowTest, TheOldPasswordIsCheckedAgainstTheDigestReadWhenTheWindowOpened)
{
    ASSERT_TRUE(writeUserDigest(configPath(), u"管理员"_s, passwordDigest(u"其他"_s)));
    type(ui(*window).oldPasswordBox, u"3196"_s);
    EXPECT_TRUE(ui(*window).newPasswordBox->isEnabled());

    // The next opening reads the digest again.
    const PasswordWindow reopened(program.session());
    ui(reopened).oldPasswordBox->setText(u"3196"_s);
    EXPECT_FALSE(ui(reopened).newPasswordBox->isEnabled());
    ui(reopened).oldPasswordBox->setText(u"其他"_s);
    EXPECT_TRUE(ui(reopened).newPasswordBox->isEnabled());
}

TEST_F(PasswordWindowTest, OkChecksOldPasswordThenMismatchThenEmptyInThatOrder)
{
    QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
    expectLastMessage(u"原始口令错误，请重新输入。如果你不知道原始口令，你将无权修改。"_s, MessageKind::Information, u"警告"_s);
    EXPECT_TRUE(ui(*window).oldPasswordBox->hasFocus());

    type(ui(*window).oldPasswordBox, u"3196"_s);
    type(ui(*window).newPasswordBox, u"abc"_s);
    QTest::keyClick(ui(*window).newPasswordBox, Qt::Key_Return);
    expectLastMessage(u"新密码复核错误，请重新设置密码！"_s, MessageKind::Stop, u""_s);
    EXPECT_TRUE(ui(*window).verifyBox->hasFocus());

    ui(*window).newPasswordBox->clear();
    QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
    expectLastMessage(u"用户口令不能为空，请重新输入用户新口令！"_s, MessageKind::Information, u"错误"_s);
    EXPECT_TRUE(ui(*window).newPasswordBox->hasFocus());

    // Two checks failing at once: the old password comes first, and a filled
    // new box with an empty verification is a mismatch, not an empty password.
    ui(*window).verifyBox->clear();
    ui(*window).newPasswordBox->setText(u"abc"_s);
    QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
    expectLastMessage(u"新密码复核错误，请重新设置密码！"_s, MessageKind::Stop, u""_s);
    for (const QString &verification : {u"abc"_s, u"xyz"_s}) {
        ui(*window).oldPasswordBox->setText(u"wrong"_s);
        ui(*window).verifyBox->setText(verification);
        QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
        expectLastMessage(u"原始口令错误，请重新输入。如果你不知道原始口令，你将无权修改。"_s, MessageKind::Information, u"警告"_s);
        EXPECT_EQ(ui(*window).oldPasswordBox->selectedText(), u"wrong"_s);
    }
    EXPECT_EQ(program.responder().messages().size(), 6u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));
}

TEST_F(PasswordWindowTest, ANewPasswordOnAPlainLibraryIsStoredInASlotOfANewLibraryKey)
{
    type(ui(*window).oldPasswordBox, u"3196"_s);
    type(ui(*window).newPasswordBox, u"新口令"_s);
    type(ui(*window).verifyBox, u"新口令"_s);
    QTest::keyClick(ui(*window).verifyBox, Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(program.responder().messages().empty());
    const QString value = readUserDigest(configPath(), u"管理员"_s).value();
    ASSERT_TRUE(KeySlot::isSlot(value));
    const SessionKeys &keys = *session.keys;
    ASSERT_NE(keys.libraryKey, nullptr) << "the main window seals the library with it";
    EXPECT_EQ(KeySlot::keyIdentifier(value), keys.libraryKey->identifier());
    EXPECT_TRUE(keys.accountKey);
    EXPECT_TRUE(keys.typedPassword.matches(u"新口令"_s));

    EXPECT_EQ(logInAtTheNextStart(configPath(), u"管理员"_s, u"3196"_s), nullptr) << "the old password fails";
    const std::shared_ptr<SessionKeys> next = logInAtTheNextStart(configPath(), u"管理员"_s, u"新口令"_s);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->libraryKey->identifier(), keys.libraryKey->identifier());
}

TEST_F(PasswordWindowTest, TheDefaultPasswordOnAPlainLibraryIsStoredAsItsDigest)
{
    ASSERT_TRUE(writeUserDigest(configPath(), u"管理员"_s, passwordDigest(u"其他"_s)));
    PasswordWindow other(session);
    ui(other).oldPasswordBox->setText(u"其他"_s);
    ui(other).newPasswordBox->setText(u"3196"_s);
    ui(other).verifyBox->setText(u"3196"_s);
    QTest::mouseClick(ui(other).okButton, Qt::LeftButton);
    EXPECT_EQ(other.result(), QDialog::Accepted);
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));
    EXPECT_EQ(session.keys->libraryKey, nullptr);
    EXPECT_FALSE(session.keys->accountKey);
}

TEST_F(PasswordWindowTest, EveryPasswordThatCanBeSetCanBeTypedAtTheNextLogIn)
{
    // Ten characters, the last an emoji: one limit for every password box.
    const QString password = u"abcdefghi😀"_s;
    type(ui(*window).oldPasswordBox, u"3196"_s);
    type(ui(*window).newPasswordBox, password + u"xyz"_s);
    type(ui(*window).verifyBox, password + u"😀"_s);
    EXPECT_EQ(ui(*window).newPasswordBox->text(), password);
    EXPECT_EQ(ui(*window).verifyBox->text(), password);
    QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
    ASSERT_FALSE(window->isVisible());

    TestProgram::forgetCaches();
    LoginWindow login(configPath(), std::make_shared<SessionKeys>());
    const QSignalSpy loggedIn(&login, &LoginWindow::loggedIn);
    login.start();
    ASSERT_TRUE(waitForAccounts(login));
    ui(login).passwordBox->clear();
    typeText(ui(login).passwordBox, password + u"zz"_s);
    EXPECT_EQ(ui(login).passwordBox->text(), password);
    EXPECT_TRUE(answersLogIn(login, [&] { QTest::mouseClick(ui(login).logInButton, Qt::LeftButton); }));
    EXPECT_EQ(loggedIn.count(), 1);
}

TEST_F(PasswordWindowTest, AFailedSaveIsToldAndKeepsTheOldPassword)
{
    type(ui(*window).oldPasswordBox, u"3196"_s);
    type(ui(*window).newPasswordBox, u"新口令"_s);
    type(ui(*window).verifyBox, u"新口令"_s);
    {
        const DiskFull full(16);
        QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
    }
    expectLastMessage(u"新口令未能保存：用户信息文件无法写入，可能没有写入权限或磁盘已满。\r\n\r\n原来的口令仍然有效。"_s,
                      MessageKind::Stop, u"错误"_s);
    EXPECT_TRUE(window->isVisible()) << "the window stays for another try";
    TestProgram::forgetCaches();
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));
    EXPECT_EQ(session.keys->libraryKey, nullptr) << "the key of a slot not written is dropped";

    QTest::mouseClick(ui(*window).okButton, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(KeySlot::isSlot(readUserDigest(configPath(), u"管理员"_s).value()));
}

TEST_F(PasswordWindowTest, CancelWritesNothing)
{
    type(ui(*window).oldPasswordBox, u"3196"_s);
    type(ui(*window).newPasswordBox, u"x"_s);
    type(ui(*window).verifyBox, u"x"_s);
    QTest::mouseClick(ui(*window).cancelButton, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));
}
