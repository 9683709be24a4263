#include "auth/LoginWindow.h"

#include "auth/AuthLog.h"
#include "auth/AuthTexts.h"
#include "auth/DefaultButtonRule.h"
#include "auth/LoginWindowLayout.h"
#include "auth/PasswordBox.h"
#include "config/AccountKeys.h"
#include "config/Accounts.h"
#include "config/ConfigPaths.h"
#include "toolkit/ControlPlacement.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ToolkitTexts.h"
#include "toolkit/WindowFonts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtConcurrent>

using namespace Qt::StringLiterals;

namespace {

QToolButton *imageButton(const QString &picture, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setIcon(QIcon(picture));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    return button;
}

}

LoginWindow::LoginWindow(QString configFilePath, std::shared_ptr<SessionKeys> keys, QWidget *parent)
    : QDialog(parent)
    , m_configFilePath(std::move(configFilePath))
    , m_keys(std::move(keys))
{
    createControls();
    styleControls();
    arrangeTabOrder();
    connectEvents();
}

void LoginWindow::start()
{
    if (!prepareConfigFile()) {
        Q_EMIT left();
        return;
    }
    loadAccounts();
    m_passwordBox->setFocus();
    show();
}

void LoginWindow::createControls()
{
    setObjectName(u"LoginWindow"_s);
    setWindowTitle(AuthText::LoginTitle);
    setFixedSize(Width, Height);
    move(50, 50);
    // Set before the controls exist, so that they are made with it.
    setFont(simSunFont());

    m_background = placeControl(new QLabel(this), LoginWindowLayout::Background);
    m_background->setPixmap(QPixmap(u":/art/login-background.png"_s));
    m_userPicture = placeControl(imageButton(u":/art/login-user.png"_s, this), LoginWindowLayout::UserPicture);
    m_keyPicture = placeControl(imageButton(u":/art/login-key.png"_s, this), LoginWindowLayout::KeyPicture);
    m_userCaption = placeControl(new QLabel(AuthText::UserCaption, this), LoginWindowLayout::UserCaption);
    m_userBox = placeControl(new QComboBox(this), LoginWindowLayout::UserBox);
    m_passwordCaption = placeControl(new QLabel(AuthText::PasswordCaption, this), LoginWindowLayout::PasswordCaption);
    m_passwordBox = placeControl(makePasswordBox(this, AuthText::StartPassword), LoginWindowLayout::PasswordBox);
    m_logInButton = placeControl(new QPushButton(AuthText::LogIn, this), LoginWindowLayout::LogInButton);
    m_cancelButton = placeControl(new QPushButton(AuthText::CancelLogIn, this), LoginWindowLayout::CancelButton);
}

void LoginWindow::styleControls()
{
    for (QToolButton *button : {m_userPicture, m_keyPicture})
        button->setIconSize(button->size());
    // The focus rule alone moves the default; 登录 is the default at start.
    for (QPushButton *button : {m_logInButton, m_cancelButton})
        button->setAutoDefault(false);
    m_logInButton->setDefault(true);
}

void LoginWindow::arrangeTabOrder()
{
    setTabOrder(m_userBox, m_passwordBox);
    setTabOrder(m_passwordBox, m_logInButton);
    setTabOrder(m_logInButton, m_cancelButton);
}

void LoginWindow::connectEvents()
{
    // activated comes only from a choice by the user, never from setCurrentIndex.
    connect(m_userBox, &QComboBox::activated, m_passwordBox, &QLineEdit::clear);
    connect(m_logInButton, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(m_cancelButton, &QPushButton::clicked, this, &LoginWindow::close);
    m_defaultButtonRule = new DefaultButtonRule(this);
    m_defaultButtonRule->add(m_userBox, m_logInButton);
    m_defaultButtonRule->add(m_passwordBox, m_logInButton);
    m_defaultButtonRule->add(m_logInButton, m_logInButton);
    m_defaultButtonRule->add(m_cancelButton, m_cancelButton);
}

bool LoginWindow::prepareConfigFile()
{
    const QString directory = directoryPartOf(m_configFilePath, nativePathStyle());
    if (directory.isEmpty() || QDir().mkpath(directory))
        return true;
    messageBox(AuthText::ConfigFolderFailed, MessageKind::Stop);
    return false;
}

void LoginWindow::loadAccounts()
{
    auto *watcher = new QFutureWatcher<OfferedAccounts>(this);
    connect(watcher, &QFutureWatcher<OfferedAccounts>::finished, this, [this, watcher] {
        offerAccounts(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(&::offerAccounts, m_configFilePath));
}

void LoginWindow::offerAccounts(const OfferedAccounts &accounts)
{
    m_userBox->addItems(accounts.names);
    m_userBox->setCurrentIndex(0);
    m_accountsOffered = true;
    // Without the default account nobody could log in: the user must know.
    if (accounts.defaultNotWritten) {
        qCWarning(lcAuth) << "the default account could not be written to" << m_configFilePath;
        messageBox(AuthText::DefaultAccountFailed, MessageKind::Stop, ToolkitText::ErrorTitle);
    }
    Q_EMIT accountsOffered();
    if (const std::optional<QString> password = std::exchange(m_waitingPassword, std::nullopt))
        logInWith(*password);
}

void LoginWindow::logIn()
{
    // An Enter pressed the moment the window shows counts: it logs in with
    // the password typed then, as soon as the accounts are in the list.
    if (!m_accountsOffered) {
        m_waitingPassword = m_passwordBox->text();
        return;
    }
    logInWith(m_passwordBox->text());
}

void LoginWindow::logInWith(const QString &password)
{
    if (std::exchange(m_checking, true))
        return;
    const QString name = m_userBox->currentText();
    using Watcher = QFutureWatcher<std::optional<SessionKeys>>;
    auto *watcher = new Watcher(this);
    connect(watcher, &Watcher::finished, this, [this, watcher, name] {
        m_checking = false;
        watcher->deleteLater();
        finishLogIn(name, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&keysOfLogIn, m_configFilePath, name, password));
}

void LoginWindow::finishLogIn(const QString &userName, std::optional<SessionKeys> keys)
{
    // Left while the password was checked: the answer comes too late.
    if (m_left)
        return;
    if (!keys) {
        refuseLogIn();
        return;
    }
    *m_keys = std::move(*keys);
    m_loggedIn = true;
    close();
    Q_EMIT loggedIn(userName);
}

void LoginWindow::refuseLogIn()
{
    ++m_failureCount;
    if (m_failureCount < AttemptLimit) {
        messageBox(AuthText::PasswordRetry, MessageKind::Information, ToolkitText::ErrorTitle);
        m_passwordBox->setFocus();
        return;
    }
    messageBox(AuthText::PasswordIllegal, MessageKind::Warning, ToolkitText::ErrorTitle);
    close();
}

void LoginWindow::reject()
{
    close();
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    if (!m_loggedIn) {
        m_left = true;
        Q_EMIT left();
    }
    event->accept();
}
