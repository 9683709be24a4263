#include "KeyboardInput.h"
#include "ScriptedResponder.h"
#include "TestFiles.h"
#include "TestProgram.h"
#include "WindowControls.h"
#include "auth/LoginWindow.h"
#include "auth/PasswordWindow.h"
#include "config/Accounts.h"
#include "config/PasswordDigest.h"
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
        LoginWindow login(configPath());
        const QSignalSpy loggedIn(&login, &LoginWindow::loggedIn);
        login.start();
        EXPECT_TRUE(waitForAccounts(login));
        QTest::mouseClick(ui(login).登录按钮, Qt::LeftButton);
        EXPECT_EQ(loggedIn.value(0).value(0).toString(), u"管理员"_s);
        window.emplace(program.session());
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
    std::optional<PasswordWindow> window;
};

}

TEST_F(PasswordWindowTest, ControlsStandInPlaceAndTheNewBoxesStartDisabled)
{
    EXPECT_EQ(window->windowTitle(), u"修改用户口令"_s);
    EXPECT_EQ(window->size(), QSize(240, 156));
    EXPECT_TRUE(window->isModal());
    const std::vector<std::pair<QString, QRect>> layout = {
        {u"标签1"_s, {0, 0, 240, 156}},       {u"透明标签1"_s, {11, 22, 50, 16}},
        {u"透明标签2"_s, {11, 54, 50, 16}},   {u"透明标签3"_s, {11, 86, 50, 16}},
        {u"透明标签4"_s, {11, 119, 50, 16}},  {u"用户编辑框"_s, {66, 18, 100, 22}},
        {u"原口令编辑框"_s, {66, 50, 100, 22}}, {u"新口令编辑框"_s, {66, 82, 100, 22}},
        {u"复核口令编辑框"_s, {66, 115, 100, 22}}, {u"确定按钮"_s, {172, 18, 50, 50}},
        {u"取消按钮"_s, {172, 87, 50, 50}},
    };
    for (const auto &[name, geometry] : layout) {
        auto *control = window->findChild<QWidget *>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->geometry(), geometry) << name.toStdString();
        EXPECT_EQ(control->font().pixelSize(), 12) << name.toStdString();
    }
    EXPECT_EQ(ui(*window).透明标签3->text(), u"新设口令"_s);
    EXPECT_EQ(ui(*window).确定按钮->text(), u"确定"_s);
    EXPECT_EQ(ui(*window).用户编辑框->text(), u"管理员"_s);
    EXPECT_TRUE(ui(*window).用户编辑框->isReadOnly());
    for (QLineEdit *box : {ui(*window).原口令编辑框, ui(*window).新口令编辑框, ui(*window).复核口令编辑框}) {
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        EXPECT_EQ(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), u'*');
    }
    EXPECT_FALSE(ui(*window).新口令编辑框->isEnabled());
    EXPECT_FALSE(ui(*window).复核口令编辑框->isEnabled());
    EXPECT_TRUE(ui(*window).确定按钮->isDefault());

    QWidget *focus = ui(*window).用户编辑框;
    for (QWidget *next : {static_cast<QWidget *>(ui(*window).原口令编辑框), static_cast<QWidget *>(ui(*window).确定按钮),
                          static_cast<QWidget *>(ui(*window).取消按钮)}) {
        focus = focus->nextInFocusChain();
        while (!focus->isEnabled() || focus->focusPolicy() == Qt::NoFocus)
            focus = focus->nextInFocusChain();
        EXPECT_EQ(focus, next) << focus->objectName().toStdString();
    }
    ui(*window).取消按钮->setFocus();
    EXPECT_TRUE(ui(*window).取消按钮->isDefault());
    EXPECT_FALSE(ui(*window).确定按钮->isDefault());
    QTest::keyClicks(ui(*window).原口令编辑框, u"12345678901234"_s);
    EXPECT_EQ(ui(*window).原口令编辑框->text(), u"1234567890"_s) << "input limit";
}

TEST_F(PasswordWindowTest, NewBoxesFollowTheOldPasswordAtEveryKeystroke)
{
    type(ui(*window).原口令编辑框, u"319"_s);
    EXPECT_FALSE(ui(*window).新口令编辑框->isEnabled());
    QTest::keyClicks(ui(*window).原口令编辑框, u"6"_s);
    EXPECT_TRUE(ui(*window).新口令编辑框->isEnabled());
    EXPECT_TRUE(ui(*window).复核口令编辑框->isEnabled());

    type(ui(*window).新口令编辑框, u"新的"_s);
    // Tabbing back would select the old password; a click at its end does not.
    QTest::mouseClick(ui(*window).原口令编辑框, Qt::LeftButton, {}, QPoint(95, 11));
    EXPECT_FALSE(ui(*window).原口令编辑框->hasSelectedText());
    QTest::keyClicks(ui(*window).原口令编辑框, u"7"_s);
    EXPECT_FALSE(ui(*window).新口令编辑框->isEnabled());
    EXPECT_FALSE(ui(*window).复核口令编辑框->isEnabled());
    EXPECT_EQ(ui(*window).新口令编辑框->text(), u"新的"_s) << "disabling keeps the content";
    QTest::keyClick(ui(*window).原口令编辑框, Qt::Key_Backspace);
    EXPECT_TRUE(ui(*window).新口令编辑框->isEnabled());
}

TEST_F(PasswordWindowTest, TheOldPasswordIsCheckedAgainstTheDigestReadWhenTheWindowOpened)
{
    ASSERT_TRUE(writeUserDigest(configPath(), u"管理员"_s, passwordDigest(u"其他"_s)));
    type(ui(*window).原口令编辑框, u"3196"_s);
    EXPECT_TRUE(ui(*window).新口令编辑框->isEnabled());

    // The next opening reads the digest again.
    const PasswordWindow reopened(program.session());
    ui(reopened).原口令编辑框->setText(u"3196"_s);
    EXPECT_FALSE(ui(reopened).新口令编辑框->isEnabled());
    ui(reopened).原口令编辑框->setText(u"其他"_s);
    EXPECT_TRUE(ui(reopened).新口令编辑框->isEnabled());
}

TEST_F(PasswordWindowTest, OkChecksOldPasswordThenMismatchThenEmptyInThatOrder)
{
    QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
    expectLastMessage(u"原始口令错误，请重新输入。如果你不知道原始口令，你将无权修改。"_s, MessageKind::Information, u"警告"_s);
    EXPECT_TRUE(ui(*window).原口令编辑框->hasFocus());

    type(ui(*window).原口令编辑框, u"3196"_s);
    type(ui(*window).新口令编辑框, u"abc"_s);
    QTest::keyClick(ui(*window).新口令编辑框, Qt::Key_Return);
    expectLastMessage(u"新密码复核错误，请重新设置密码！"_s, MessageKind::Stop, u""_s);
    EXPECT_TRUE(ui(*window).复核口令编辑框->hasFocus());

    ui(*window).新口令编辑框->clear();
    QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
    expectLastMessage(u"用户口令不能为空，请重新输入用户新口令！"_s, MessageKind::Information, u"错误"_s);
    EXPECT_TRUE(ui(*window).新口令编辑框->hasFocus());

    // Two checks failing at once: the old password comes first, and a filled
    // new box with an empty verification is a mismatch, not an empty password.
    ui(*window).复核口令编辑框->clear();
    ui(*window).新口令编辑框->setText(u"abc"_s);
    QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
    expectLastMessage(u"新密码复核错误，请重新设置密码！"_s, MessageKind::Stop, u""_s);
    for (const QString &verification : {u"abc"_s, u"xyz"_s}) {
        ui(*window).原口令编辑框->setText(u"wrong"_s);
        ui(*window).复核口令编辑框->setText(verification);
        QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
        expectLastMessage(u"原始口令错误，请重新输入。如果你不知道原始口令，你将无权修改。"_s, MessageKind::Information, u"警告"_s);
        EXPECT_EQ(ui(*window).原口令编辑框->selectedText(), u"wrong"_s);
    }
    EXPECT_EQ(program.responder().messages().size(), 6u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));
}

TEST_F(PasswordWindowTest, NewPasswordIsStoredAndNeededAtTheNextStart)
{
    type(ui(*window).原口令编辑框, u"3196"_s);
    type(ui(*window).新口令编辑框, u"新口令"_s);
    type(ui(*window).复核口令编辑框, u"新口令"_s);
    QTest::keyClick(ui(*window).复核口令编辑框, Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(program.responder().messages().empty());
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"新口令"_s));

    // The next start of the program: fresh global state, a fresh log-in window.
    TestProgram::forgetCaches();
    ScriptedResponder responder;
    LoginWindow login(configPath());
    const QSignalSpy loggedIn(&login, &LoginWindow::loggedIn);
    login.start();
    ASSERT_TRUE(waitForAccounts(login));
    QTest::mouseClick(ui(login).登录按钮, Qt::LeftButton);
    EXPECT_EQ(loggedIn.count(), 0) << "the old password fails";
    ASSERT_EQ(responder.messages().size(), 1u);
    ui(login).口令编辑框->setText(u"新口令"_s);
    QTest::mouseClick(ui(login).登录按钮, Qt::LeftButton);
    EXPECT_EQ(loggedIn.count(), 1);
}

TEST_F(PasswordWindowTest, EveryPasswordThatCanBeSetCanBeTypedAtTheNextLogIn)
{
    // Ten characters, the last an emoji: one limit for every password box.
    const QString password = u"abcdefghi😀"_s;
    type(ui(*window).原口令编辑框, u"3196"_s);
    type(ui(*window).新口令编辑框, password + u"xyz"_s);
    type(ui(*window).复核口令编辑框, password + u"😀"_s);
    EXPECT_EQ(ui(*window).新口令编辑框->text(), password);
    EXPECT_EQ(ui(*window).复核口令编辑框->text(), password);
    QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
    ASSERT_FALSE(window->isVisible());

    TestProgram::forgetCaches();
    LoginWindow login(configPath());
    const QSignalSpy loggedIn(&login, &LoginWindow::loggedIn);
    login.start();
    ASSERT_TRUE(waitForAccounts(login));
    ui(login).口令编辑框->clear();
    typeText(ui(login).口令编辑框, password + u"zz"_s);
    EXPECT_EQ(ui(login).口令编辑框->text(), password);
    QTest::mouseClick(ui(login).登录按钮, Qt::LeftButton);
    EXPECT_EQ(loggedIn.count(), 1);
}

TEST_F(PasswordWindowTest, AFailedSaveIsToldAndKeepsTheOldPassword)
{
    type(ui(*window).原口令编辑框, u"3196"_s);
    type(ui(*window).新口令编辑框, u"新口令"_s);
    type(ui(*window).复核口令编辑框, u"新口令"_s);
    {
        const DiskFull full(16);
        QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
    }
    expectLastMessage(u"新口令未能保存：用户信息文件无法写入，可能没有写入权限或磁盘已满。\r\n\r\n原来的口令仍然有效。"_s,
                      MessageKind::Stop, u"错误"_s);
    EXPECT_TRUE(window->isVisible()) << "the window stays for another try";
    TestProgram::forgetCaches();
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));

    QTest::mouseClick(ui(*window).确定按钮, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"新口令"_s));
}

TEST_F(PasswordWindowTest, CancelWritesNothing)
{
    type(ui(*window).原口令编辑框, u"3196"_s);
    type(ui(*window).新口令编辑框, u"x"_s);
    type(ui(*window).复核口令编辑框, u"x"_s);
    QTest::mouseClick(ui(*window).取消按钮, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(readUserDigest(configPath(), u"管理员"_s), passwordDigest(u"3196"_s));
}
