#include "LoginWindow.h"

#include "Accounts.h"
#include "ConfigPaths.h"
#include "DefaultButtonRule.h"
#include "DesignFonts.h"
#include "DesignPlacement.h"
#include "GbkText.h"
#include "GlobalState.h"
#include "MessageBox.h"
#include "PasswordBox.h"
#include "PasswordDigest.h"
#include "ProgramDirectory.h"
#include "ProgramExit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

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

LoginWindow::LoginWindow(MainWindowAccess mainWindow, QWidget *parent)
    : QDialog(parent)
    , m_mainWindow(std::move(mainWindow))
{
    createControls();
    styleControls();
    arrangeTabOrder();
    connectEvents();
    if (!prepareConfigFile())
        return;
    ensureAccounts();
    offerAccounts();
    口令编辑框->setFocus();
    GlobalState::current().LoginFailureCount = 0;
}

void LoginWindow::createControls()
{
    setObjectName(u"LoginWindow"_s);
    setWindowTitle(u"我的程序"_s);
    setFixedSize(DesignWidth, DesignHeight);
    move(50, 50);

    标签1 = placeControl(new QLabel(this), u"标签1"_s, 0, 0, 240, 156);
    标签1->setPixmap(QPixmap(u":/art/login-background.png"_s));
    图形按钮1 = placeControl(imageButton(u":/art/login-user.png"_s, this), u"图形按钮1"_s, 18, 13, 30, 32);
    图形按钮2 = placeControl(imageButton(u":/art/login-key.png"_s, this), u"图形按钮2"_s, 19, 47, 27, 31);
    透明标签1 = placeControl(new QLabel(u"用户姓名"_s, this), u"透明标签1"_s, 55, 24, 48, 16);
    用户组合框 = placeControl(new QComboBox(this), u"用户组合框"_s, 113, 23, 100, 20);
    透明标签2 = placeControl(new QLabel(u"用户口令"_s, this), u"透明标签2"_s, 55, 56, 48, 16);
    口令编辑框 = placeControl(makePasswordBox(this, u"3196"_s), u"口令编辑框"_s, 113, 54, 100, 20);
    登录按钮 = placeControl(new QPushButton(u"登录(&I)"_s, this), u"登录按钮"_s, 54, 109, 60, 26);
    取消按钮 = placeControl(new QPushButton(u"取消(&X)"_s, this), u"取消按钮"_s, 154, 109, 60, 26);
}

void LoginWindow::styleControls()
{
    setFont(simSunFont());
    for (QToolButton *button : {图形按钮1, 图形按钮2})
        button->setIconSize(button->size());
    // The focus rule alone moves the default; 登录 is the design's default.
    for (QPushButton *button : {登录按钮, 取消按钮})
        button->setAutoDefault(false);
    登录按钮->setDefault(true);
    setStyleSheet(u"QLineEdit { lineedit-password-character: 42; }"
                  "QToolButton { border: none; background: transparent; }"_s);
}

void LoginWindow::arrangeTabOrder()
{
    setTabOrder(用户组合框, 口令编辑框);
    setTabOrder(口令编辑框, 登录按钮);
    setTabOrder(登录按钮, 取消按钮);
}

void LoginWindow::connectEvents()
{
    // activated comes only from a choice by the user, never from setCurrentIndex.
    connect(用户组合框, &QComboBox::activated, 口令编辑框, &QLineEdit::clear);
    connect(登录按钮, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(取消按钮, &QPushButton::clicked, this, &LoginWindow::close);
    m_defaultButtonRule = new DefaultButtonRule(this);
    m_defaultButtonRule->add(用户组合框, 登录按钮);
    m_defaultButtonRule->add(口令编辑框, 登录按钮);
    m_defaultButtonRule->add(登录按钮, 登录按钮);
    m_defaultButtonRule->add(取消按钮, 取消按钮);
}

bool LoginWindow::prepareConfigFile()
{
    GlobalState &state = GlobalState::current();
    state.ConfigFilePath = configFilePathIn(programDirectory());
    const QString directory = directoryPartOf(state.ConfigFilePath, nativePathStyle());
    if (directory.isEmpty() || ensureDirectoryPath(directory))
        return true;
    messageBox(u"创建配置文件路径失败。"_s, MessageBoxFlags::IconStop);
    exitProgram();
    return false;
}

void LoginWindow::ensureAccounts()
{
    GlobalState &state = GlobalState::current();
    if (loadUserNames(state.ConfigFilePath, state.UserNameList) > 0)
        return;
    state.UserNameList = splitAtSeparator(DefaultUserNames, DefaultListSeparator);
    state.UserDigestList = splitAtSeparator(DefaultUserDigests, DefaultListSeparator);
    writeAccounts(state.ConfigFilePath, state.UserNameList, state.UserDigestList);
}

void LoginWindow::offerAccounts()
{
    用户组合框->addItems(GlobalState::current().UserNameList);
    用户组合框->setCurrentIndex(0);
}

void LoginWindow::logIn()
{
    GlobalState &state = GlobalState::current();
    const QString name = 用户组合框->currentText();
    if (!passwordMatches(口令编辑框->text(), readUserDigest(state.ConfigFilePath, name))) {
        refuseLogIn();
        return;
    }
    state.CurrentUserName = name;
    // The main window opens first: the close rule then lets the program go on.
    if (!m_mainWindow.isOpen())
        m_mainWindow.open();
    close();
}

void LoginWindow::refuseLogIn()
{
    GlobalState &state = GlobalState::current();
    ++state.LoginFailureCount;
    if (state.LoginFailureCount < AttemptLimit) {
        messageBox(u"用户口令不正确，请重新输入！"_s, MessageBoxFlags::IconInformation, u"错误"_s);
        口令编辑框->setFocus();
        return;
    }
    messageBox(u"用户口令不正确，请勿非法登录！"_s, MessageBoxFlags::IconExclamation, u"错误"_s);
    close();
}

void LoginWindow::reject()
{
    close();
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    if (!m_mainWindow.isOpen())
        exitProgram();
    event->accept();
}
