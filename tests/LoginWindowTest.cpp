#include "KeyboardInput.h"
#include "PlainConfigFile.h"
#include "TestFiles.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "app/ProgramWindows.h"
#include "auth/LoginWindow.h"
#include "config/Accounts.h"
#include "config/ConfigPaths.h"
#include "config/GbkText.h"
#include "config/PasswordDigest.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/MessageBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;

namespace {

// One start of the program: the log-in window, shown and active, and the
// main window that a successful log-in opens.
struct LoginRun
{
    enum class Accounts { Read, BeingRead };

    explicit LoginRun(Accounts accounts = Accounts::Read)
        : window(started(windows))
    {
        // Without a turn of the event loop the accounts are not in yet.
        if (accounts == Accounts::BeingRead)
            return;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(waitForAccounts(window));
    }

    // Types into the password box as a person would and presses Enter.
    void tryPassword(const QString &password)
    {
        ui(window).passwordBox->setFocus();
        QTest::keyClick(ui(window).passwordBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ui(window).passwordBox, Qt::Key_Backspace);
        typeText(ui(window).passwordBox, password);
        EXPECT_TRUE(answersLogIn(window, [this] { QTest::keyClick(ui(window).passwordBox, Qt::Key_Return); }));
    }

    void chooseAccount(int row)
    {
        QComboBox *box = ui(window).userBox;
        box->showPopup();
        QAbstractItemView *view = box->view();
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    }

    bool loggedIn() { return mainWindow() && mainWindow()->isVisible() && !window.isVisible(); }
    MainWindow *mainWindow() { return windows.mainWindow(); }

    static LoginWindow &started(ProgramWindows &windows)
    {
        windows.start();
        return *windows.loginWindow();
    }

    ProgramWindows windows;
    LoginWindow &window;
};

void expectMessage(const MessageRequest &message, const QString &text, MessageKind kind, const QString &title)
{
    EXPECT_EQ(message.text, text);
    EXPECT_EQ(message.kind, kind);
    EXPECT_EQ(message.title, title);
}

const QString RetryText = u"用户口令不正确，请重新输入！"_s;
const QString IllegalText = u"用户口令不正确，请勿非法登录！"_s;

// 张三 with the password "Zs", 李四 with "李", and an account without one.
void givenAccounts(TestProgram &program)
{
    writePlainContent(program.filePath(u"system.dat"_s),
                      toGbk(u"[张三]\r\n口令=%1\r\n[分类信息]\r\n[李四]\r\n口令=%2\r\n[无口令]\r\n"_s.arg(
                          passwordDigest(u"Zs"_s), passwordDigest(u"李"_s))));
}

}

TEST(LoginWindowTest, FirstStartCreatesTheAdministratorAndEnterLogsInWithTheStartContent)
{
    TestProgram program;
    LoginRun run;
    const QString configPath = program.filePath(u"system.dat"_s);

    EXPECT_EQ(readPlainContent(configPath).size(), 49);
    EXPECT_EQ(readUserDigest(configPath, u"管理员"_s), u"6c4bb406b3e7cd5447f7a76fd7008806"_s);
    ASSERT_EQ(ui(run.window).userBox->count(), 1);
    EXPECT_EQ(ui(run.window).userBox->currentText(), u"管理员"_s);
    EXPECT_EQ(ui(run.window).passwordBox->text(), u"3196"_s);
    EXPECT_TRUE(ui(run.window).passwordBox->hasFocus());
    EXPECT_EQ(ui(run.window).passwordBox->selectedText(), u"3196"_s);

    const QSignalSpy loggedIn(&run.window, &LoginWindow::loggedIn);
    const int status = exitStatusAfter([&] { QTest::keyClick(ui(run.window).passwordBox, Qt::Key_Return); },
                                       std::chrono::milliseconds(300));
    EXPECT_EQ(status, NotEnded) << "the program goes on in the main window";
    EXPECT_TRUE(run.loggedIn());
    ASSERT_EQ(loggedIn.count(), 1);
    EXPECT_EQ(loggedIn.at(0).at(0).toString(), u"管理员"_s);
    EXPECT_TRUE(program.responder().messages().empty());
    // The published default password gets no key of its own.
    const SessionKeys &keys = *run.windows.session().keys;
    EXPECT_EQ(keys.libraryKey, nullptr);
    EXPECT_FALSE(keys.accountKey);
    EXPECT_TRUE(keys.typedPassword.matches(u"3196"_s));
}

TEST(LoginWindowTest, ALogInAskedForBeforeTheAccountsAreReadHappensWhenTheyArrive)
{
    const std::vector<std::function<void(LoginWindow &)>> presses = {
        [](LoginWindow &window) { QTest::keyClick(ui(window).passwordBox, Qt::Key_Return); },
        [](LoginWindow &window) { QTest::mouseClick(ui(window).logInButton, Qt::LeftButton); },
    };
    for (const auto &press : presses) {
        TestProgram program;
        LoginRun run(LoginRun::Accounts::BeingRead);
        ASSERT_EQ(ui(run.window).userBox->count(), 0) << "the accounts are still being read";
        press(run.window);
        // Typing after the press changes nothing: the press counts as it was.
        typeText(ui(run.window).passwordBox, u"x"_s);
        EXPECT_FALSE(run.loggedIn());
        ASSERT_TRUE(waitForAccounts(run.window));
        EXPECT_TRUE(QTest::qWaitFor([&] { return run.loggedIn(); }, 5000));
        EXPECT_TRUE(program.responder().messages().empty());
    }
}

TEST(LoginWindowTest, ControlsStandWholeWithTheirTextsFontsAndTabOrder)
{
    TestProgram program;
    LoginRun run;
    LoginWindow &window = run.window;
    EXPECT_EQ(window.windowTitle(), u"我的程序"_s);
    EXPECT_EQ(window.size(), QSize(240, 156));
    EXPECT_EQ(window.pos(), QPoint(50, 50));

    const LoginWindowControls c = ui(window);
    const std::vector<std::pair<QWidget *, QString>> texts = {
        {c.background, {}},         {c.userPicture, {}},         {c.keyPicture, {}},
        {c.userCaption, u"用户姓名"_s}, {c.userBox, {}},             {c.passwordCaption, u"用户口令"_s},
        {c.passwordBox, {}},        {c.logInButton, u"登录(&I)"_s}, {c.cancelButton, u"取消(&X)"_s},
    };
    const QObjectList children = window.children();
    qsizetype previous = -1;
    for (const auto &[control, text] : texts) {
        const std::string name = control->objectName().toStdString();
        EXPECT_TRUE(standsWhole(*control));
        EXPECT_EQ(control->font().pixelSize(), 12) << name;
        EXPECT_TRUE(control->font().families().contains(u"SimSun"_s)) << name;
        EXPECT_GT(children.indexOf(control), previous) << name << " lies above the one before";
        previous = children.indexOf(control);
        if (auto *label = qobject_cast<QLabel *>(control); label && !text.isEmpty()) {
            EXPECT_EQ(label->text(), text);
        }
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            EXPECT_EQ(button->text(), text);
        }
    }
    EXPECT_FALSE(c.background->pixmap().isNull());
    EXPECT_FALSE(c.userPicture->icon().isNull());
    EXPECT_EQ(c.userPicture->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(c.passwordBox->echoMode(), QLineEdit::Password);
    EXPECT_EQ(c.passwordBox->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, c.passwordBox), u'*');

    expectTabOrder(c.userBox, {c.passwordBox, c.logInButton, c.cancelButton, c.userBox});
}

TEST(LoginWindowTest, FocusDecidesWhichButtonEnterPresses)
{
    TestProgram program;
    LoginRun run;
    LoginWindow &window = run.window;
    EXPECT_TRUE(ui(window).logInButton->isDefault());
    EXPECT_FALSE(ui(window).cancelButton->isDefault());

    QTest::keyClick(ui(window).passwordBox, Qt::Key_Tab);
    QTest::keyClick(ui(window).logInButton, Qt::Key_Tab);
    ASSERT_TRUE(ui(window).cancelButton->hasFocus());
    EXPECT_TRUE(ui(window).cancelButton->isDefault());
    EXPECT_FALSE(ui(window).logInButton->isDefault());

    QTest::keyClick(ui(window).cancelButton, Qt::Key_Tab);
    ASSERT_TRUE(ui(window).userBox->hasFocus());
    EXPECT_TRUE(ui(window).logInButton->isDefault());
    EXPECT_FALSE(ui(window).cancelButton->isDefault());

    ui(window).cancelButton->setFocus();
    ui(window).logInButton->setFocus();
    EXPECT_TRUE(ui(window).logInButton->isDefault()) << "登录 focused is 登录 default";
    EXPECT_FALSE(ui(window).cancelButton->isDefault());

    // Enter in the combo box presses 登录; with 取消 focused it cancels.
    ui(window).cancelButton->setFocus();
    EXPECT_EQ(exitStatusAfter([&] { QTest::keyClick(ui(window).cancelButton, Qt::Key_Return); }), 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(run.mainWindow(), nullptr);
}

TEST(LoginWindowTest, ChoosingAnAccountEmptiesThePasswordBox)
{
    TestProgram program;
    givenAccounts(program);
    LoginRun run;
    LoginWindow &window = run.window;
    QStringList offered;
    for (int row = 0; row < ui(window).userBox->count(); ++row)
        offered.append(ui(window).userBox->itemText(row));
    EXPECT_THAT(offered, ElementsAre(u"张三"_s, u"李四"_s, u"无口令"_s));

    run.tryPassword(u"zs"_s);
    EXPECT_EQ(program.responder().messages().size(), 1u);
    EXPECT_EQ(ui(window).passwordBox->text(), u"zs"_s) << "a wrong password stays in the box";

    run.chooseAccount(1);
    EXPECT_EQ(ui(window).userBox->currentText(), u"李四"_s);
    EXPECT_TRUE(ui(window).passwordBox->text().isEmpty());

    QTest::keyClicks(ui(window).passwordBox, u"x"_s);
    ui(window).userBox->setCurrentIndex(0);
    EXPECT_EQ(ui(window).passwordBox->text(), u"x"_s) << "a selection by the program is no choice";
    QTest::keyClick(ui(window).userBox, Qt::Key_Down);
    EXPECT_TRUE(ui(window).passwordBox->text().isEmpty()) << "the arrow keys choose too";

    run.chooseAccount(0);
    const QSignalSpy loggedIn(&window, &LoginWindow::loggedIn);
    run.tryPassword(u"Zs"_s);
    EXPECT_TRUE(run.loggedIn());
    ASSERT_EQ(loggedIn.count(), 1);
    EXPECT_EQ(loggedIn.at(0).at(0).toString(), u"张三"_s);
}

TEST(LoginWindowTest, ThreeWrongPasswordsAcrossAccountsEndTheProgram)
{
    TestProgram program;
    givenAccounts(program);
    LoginRun run;

    run.tryPassword(u"zs"_s);
    run.chooseAccount(1);
    run.tryPassword(u"Zs"_s);
    run.chooseAccount(2);
    EXPECT_TRUE(run.window.isVisible());
    EXPECT_EQ(exitStatusAfter([&] { run.tryPassword(u""_s); }), 0);

    const std::vector<MessageRequest> &messages = program.responder().messages();
    ASSERT_EQ(messages.size(), 3u);
    expectMessage(messages[0], RetryText, MessageKind::Information, u"错误"_s);
    expectMessage(messages[1], RetryText, MessageKind::Information, u"错误"_s);
    expectMessage(messages[2], IllegalText, MessageKind::Warning, u"错误"_s);
    EXPECT_FALSE(run.window.isVisible());
    EXPECT_EQ(run.mainWindow(), nullptr);
}

TEST(LoginWindowTest, RightPasswordAtTheThirdAttemptLogsIn)
{
    TestProgram program;
    givenAccounts(program);
    LoginRun run;

    // A second Enter while the password is checked counts no second attempt.
    ui(run.window).passwordBox->setText(u"ZS"_s);
    EXPECT_TRUE(answersLogIn(run.window, [&] {
        QTest::keyClick(ui(run.window).passwordBox, Qt::Key_Return);
        QTest::keyClick(ui(run.window).passwordBox, Qt::Key_Return);
    }));
    run.tryPassword(u"zs"_s);
    EXPECT_TRUE(ui(run.window).passwordBox->hasFocus());
    run.tryPassword(u"Zs"_s);
    EXPECT_TRUE(run.loggedIn());
    EXPECT_EQ(program.responder().messages().size(), 2u);
}

TEST(LoginWindowTest, CancelEscapeAndClosingByHandEndTheProgram)
{
    for (int way = 0; way < 3; ++way) {
        TestProgram program;
        LoginRun run;
        const int status = exitStatusAfter([&] {
            if (way == 0)
                QTest::mouseClick(ui(run.window).cancelButton, Qt::LeftButton);
            else if (way == 1)
                QTest::keyClick(ui(run.window).passwordBox, Qt::Key_Escape);
            else
                run.window.close();
        });
        EXPECT_EQ(status, 0) << way;
        EXPECT_FALSE(run.window.isVisible()) << way;
        EXPECT_EQ(run.mainWindow(), nullptr) << way;
        EXPECT_TRUE(program.responder().messages().empty()) << way;
    }
}

TEST(LoginWindowTest, EveryMissingLevelOfTheConfigDirectoryIsMade)
{
    TestProgram program;
    LoginWindow window(configFilePathIn(program.filePath(u"一/二/三"_s)), std::make_shared<SessionKeys>());
    window.start();
    ASSERT_TRUE(waitForAccounts(window));
    EXPECT_TRUE(QFile::exists(program.filePath(u"一/二/三/system.dat"_s)));
    EXPECT_TRUE(program.responder().messages().empty());
}

TEST(LoginWindowTest, ConfigDirectoryThatCannotBeCreatedEndsTheProgram)
{
    TestProgram program;
    QFile blocker(program.filePath(u"文件"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    LoginWindow window(configFilePathIn(program.filePath(u"文件/程序"_s)), std::make_shared<SessionKeys>());
    const QSignalSpy left(&window, &LoginWindow::left);
    window.start();

    ASSERT_EQ(program.responder().messages().size(), 1u);
    expectMessage(program.responder().messages()[0], u"创建配置文件路径失败。"_s, MessageKind::Stop, u""_s);
    EXPECT_EQ(left.count(), 1) << "its owner ends the program";
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ui(window).userBox->count(), 0);
}

TEST(LoginWindowTest, AnEmptyConfigFileGivesTheDefaultAccount)
{
    TestProgram program;
    writeFile(program.filePath(u"system.dat"_s), {});
    LoginRun run;
    EXPECT_EQ(ui(run.window).userBox->currentText(), u"管理员"_s);
    EXPECT_EQ(readPlainContent(program.filePath(u"system.dat"_s)).size(), 49);
    EXPECT_TRUE(answersLogIn(run.window, [&] { QTest::keyClick(ui(run.window).passwordBox, Qt::Key_Return); }));
    EXPECT_TRUE(run.loggedIn());
}

TEST(LoginWindowTest, DamagedConfigFileIsNeverOverwrittenAndLetsNobodyIn)
{
    TestProgram program;
    givenAccounts(program);
    const QString path = program.filePath(u"system.dat"_s);
    QByteArray damaged = readFile(path);
    damaged[60] = char(damaged[60] ^ 0x01);
    writeFile(path, damaged);

    LoginRun run;
    EXPECT_EQ(ui(run.window).userBox->currentText(), u"管理员"_s);
    ASSERT_EQ(program.responder().messages().size(), 1u) << "the user hears why nobody can log in";
    EXPECT_EQ(program.responder().messages()[0].kind, MessageKind::Stop);
    EXPECT_TRUE(program.responder().messages()[0].text.startsWith(u"用户信息文件（system.dat）已损坏或无法写入"_s));
    EXPECT_TRUE(answersLogIn(run.window, [&] { QTest::keyClick(ui(run.window).passwordBox, Qt::Key_Return); }));
    EXPECT_FALSE(run.loggedIn());
    ASSERT_EQ(program.responder().messages().size(), 2u);
    EXPECT_EQ(program.responder().messages()[1].text, RetryText);
    EXPECT_EQ(readFile(path), damaged);
}
