#include "WindowControls.h"

#include "ScriptedResponder.h"
#include "TestProgram.h"
#include "auth/LoginWindow.h"
#include "auth/LoginWindowLayout.h"
#include "auth/PasswordWindow.h"
#include "auth/PasswordWindowLayout.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowLayout.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureBox.h"
#include "toolkit/PictureLabel.h"
#include "viewer/ViewerWindow.h"
#include "viewer/ViewerWindowLayout.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include <QTest>

#include <gtest/gtest.h>

namespace {

// Finds a control of the window by its object name, or fails the test.
class Finder
{
public:
    explicit Finder(const QObject &window)
        : m_window(window)
    {
    }

    template<typename Control>
    void operator()(Control *&control, const char16_t *name) const
    {
        control = m_window.findChild<Control *>(QString::fromUtf16(name), Qt::FindDirectChildrenOnly);
        if (!control)
            ADD_FAILURE() << "no control named " << QString::fromUtf16(name).toStdString();
    }

private:
    const QObject &m_window;
};

}

MainWindowControls ui(const MainWindow &window)
{
    using namespace MainWindowLayout;
    const Finder find(window);
    MainWindowControls c{};
    find(c.recordNumber, RecordNumber.name);
    find(c.category, Category.name);
    find(c.preview, Preview.name);
    find(c.welcomePicture, WelcomePicture.name);
    find(c.welcomeLine, WelcomeLine.name);
    find(c.listFrame, ListFrame.name);
    find(c.pictureList, PictureList.name);
    find(c.buttonFrame, ButtonFrame.name);
    find(c.nameCaption, NameCaption.name);
    find(c.nameBox, NameBox.name);
    find(c.addButton, AddButton.name);
    find(c.replaceButton, ReplaceButton.name);
    find(c.renameButton, RenameButton.name);
    find(c.exportButton, ExportButton.name);
    find(c.deleteButton, DeleteButton.name);
    find(c.title, Title.name);
    find(c.minimiseMark, MinimiseMark.name);
    find(c.closeMark, CloseMark.name);
    find(c.footer, Footer.name);
    find(c.balloonTip, u"气球提示框1");
    find(c.menu, u"菜单");
    return c;
}

LoginWindowControls ui(const LoginWindow &window)
{
    using namespace LoginWindowLayout;
    const Finder find(window);
    LoginWindowControls c{};
    find(c.background, Background.name);
    find(c.userPicture, UserPicture.name);
    find(c.keyPicture, KeyPicture.name);
    find(c.userCaption, UserCaption.name);
    find(c.userBox, UserBox.name);
    find(c.passwordCaption, PasswordCaption.name);
    find(c.passwordBox, PasswordBox.name);
    find(c.logInButton, LogInButton.name);
    find(c.cancelButton, CancelButton.name);
    return c;
}

PasswordWindowControls ui(const PasswordWindow &window)
{
    using namespace PasswordWindowLayout;
    const Finder find(window);
    PasswordWindowControls c{};
    find(c.background, Background.name);
    find(c.userCaption, UserCaption.name);
    find(c.oldCaption, OldCaption.name);
    find(c.newCaption, NewCaption.name);
    find(c.verifyCaption, VerifyCaption.name);
    find(c.userBox, UserBox.name);
    find(c.oldPasswordBox, OldPasswordBox.name);
    find(c.newPasswordBox, NewPasswordBox.name);
    find(c.verifyBox, VerifyBox.name);
    find(c.okButton, OkButton.name);
    find(c.cancelButton, CancelButton.name);
    return c;
}

ViewerWindowControls ui(const ViewerWindow &window)
{
    using namespace ViewerWindowLayout;
    const Finder find(window);
    ViewerWindowControls c{};
    find(c.backdrop, Backdrop.name);
    find(c.pictureBox, ViewerWindowLayout::PictureBox.name);
    find(c.countLabel, CountLabel.name);
    find(c.numberLabel, NumberLabel.name);
    find(c.backButton, BackButton.name);
    find(c.forwardButton, ForwardButton.name);
    find(c.exitButton, ExitButton.name);
    return c;
}

bool waitForAccounts(const LoginWindow &window)
{
    return QTest::qWaitFor([&window] { return ui(window).userBox->count() > 0; }, 5000);
}

bool answersLogIn(const LoginWindow &window, const std::function<void()> &press)
{
    const auto *responder = dynamic_cast<const ScriptedResponder *>(DialogResponder::installed());
    const std::size_t messages = responder ? responder->messages().size() : 0;
    press();
    return QTest::qWaitFor(
        [&] { return !window.isVisible() || (responder && responder->messages().size() > messages); }, 5000);
}

std::shared_ptr<SessionKeys> logInAtTheNextStart(const QString &configFilePath, const QString &account,
                                                 const QString &password)
{
    TestProgram::forgetCaches();
    auto keys = std::make_shared<SessionKeys>();
    LoginWindow login(configFilePath, keys);
    const QSignalSpy loggedIn(&login, &LoginWindow::loggedIn);
    login.start();
    EXPECT_TRUE(waitForAccounts(login));
    ui(login).userBox->setCurrentIndex(ui(login).userBox->findText(account));
    ui(login).passwordBox->setText(password);
    EXPECT_TRUE(answersLogIn(login, [&] { QTest::mouseClick(ui(login).logInButton, Qt::LeftButton); }));
    return loggedIn.isEmpty() ? nullptr : keys;
}
