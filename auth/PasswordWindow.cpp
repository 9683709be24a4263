#include "PasswordWindow.h"

#include "Accounts.h"
#include "DefaultButtonRule.h"
#include "DesignFonts.h"
#include "DesignPlacement.h"
#include "GlobalState.h"
#include "MessageBox.h"
#include "PasswordBox.h"
#include "PasswordDigest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

void focusAndSelect(QLineEdit *box)
{
    box->setFocus();
    box->selectAll();
}

}

PasswordWindow::PasswordWindow(QWidget *parent)
    : QDialog(parent)
{
    createControls();
    styleControls();
    arrangeTabOrder();
    connectEvents();
    showCurrentUser();
    lockNewPasswordBoxes();
    readCurrentDigest();
}

void PasswordWindow::createControls()
{
    setObjectName(u"PasswordWindow"_s);
    setWindowTitle(u"修改用户口令"_s);
    setFixedSize(DesignWidth, DesignHeight);
    move(50, 50);
    setModal(true);

    标签1 = placeControl(new QLabel(this), u"标签1"_s, 0, 0, 240, 156);
    标签1->setPixmap(QPixmap(u":/art/password-background.png"_s));
    透明标签1 = placeControl(new QLabel(u"用户名称"_s, this), u"透明标签1"_s, 11, 22, 50, 16);
    透明标签2 = placeControl(new QLabel(u"旧的口令"_s, this), u"透明标签2"_s, 11, 54, 50, 16);
    透明标签3 = placeControl(new QLabel(u"新设口令"_s, this), u"透明标签3"_s, 11, 86, 50, 16);
    透明标签4 = placeControl(new QLabel(u"验证口令"_s, this), u"透明标签4"_s, 11, 119, 50, 16);
    用户编辑框 = placeControl(new QLineEdit(this), u"用户编辑框"_s, 66, 18, 100, 22);
    用户编辑框->setReadOnly(true);
    原口令编辑框 = placeControl(makePasswordBox(this), u"原口令编辑框"_s, 66, 50, 100, 22);
    新口令编辑框 = placeControl(makePasswordBox(this), u"新口令编辑框"_s, 66, 82, 100, 22);
    复核口令编辑框 = placeControl(makePasswordBox(this), u"复核口令编辑框"_s, 66, 115, 100, 22);
    确定按钮 = placeControl(new QPushButton(u"确定"_s, this), u"确定按钮"_s, 172, 18, 50, 50);
    取消按钮 = placeControl(new QPushButton(u"取消"_s, this), u"取消按钮"_s, 172, 87, 50, 50);
}

void PasswordWindow::styleControls()
{
    setFont(simSunFont());
    // The focus rule alone moves the default; 确定 is the design's default.
    for (QPushButton *button : {确定按钮, 取消按钮})
        button->setAutoDefault(false);
    确定按钮->setDefault(true);
    setStyleSheet(u"QLineEdit { lineedit-password-character: 42; }"_s);
}

void PasswordWindow::arrangeTabOrder()
{
    setTabOrder(用户编辑框, 原口令编辑框);
    setTabOrder(原口令编辑框, 新口令编辑框);
    setTabOrder(新口令编辑框, 复核口令编辑框);
    setTabOrder(复核口令编辑框, 确定按钮);
    setTabOrder(确定按钮, 取消按钮);
}

void PasswordWindow::connectEvents()
{
    connect(原口令编辑框, &QLineEdit::textChanged, this, &PasswordWindow::checkOldPassword);
    connect(确定按钮, &QPushButton::clicked, this, &PasswordWindow::saveNewPassword);
    connect(取消按钮, &QPushButton::clicked, this, &PasswordWindow::reject);
    m_defaultButtonRule = new DefaultButtonRule(this);
    for (QLineEdit *box : {原口令编辑框, 新口令编辑框, 复核口令编辑框})
        m_defaultButtonRule->add(box, 确定按钮);
    m_defaultButtonRule->add(确定按钮, 确定按钮);
    m_defaultButtonRule->add(取消按钮, 取消按钮);
}

void PasswordWindow::showCurrentUser()
{
    用户编辑框->setText(GlobalState::current().CurrentUserName);
}

void PasswordWindow::lockNewPasswordBoxes()
{
    新口令编辑框->setEnabled(false);
    复核口令编辑框->setEnabled(false);
}

void PasswordWindow::readCurrentDigest()
{
    GlobalState &state = GlobalState::current();
    state.CurrentUserDigest = readUserDigest(state.ConfigFilePath, state.CurrentUserName);
}

void PasswordWindow::checkOldPassword()
{
    // The boxes keep their content either way.
    const bool right = passwordMatches(原口令编辑框->text(), GlobalState::current().CurrentUserDigest);
    新口令编辑框->setEnabled(right);
    复核口令编辑框->setEnabled(right);
}

void PasswordWindow::saveNewPassword()
{
    const GlobalState &state = GlobalState::current();
    if (!passwordMatches(原口令编辑框->text(), state.CurrentUserDigest)) {
        messageBox(u"原始口令错误，请重新输入。如果你不知道原始口令，你将无权修改。"_s,
                   MessageBoxFlags::IconInformation, u"警告"_s);
        focusAndSelect(原口令编辑框);
        return;
    }
    const QString newPassword = 新口令编辑框->text();
    if (newPassword == 复核口令编辑框->text()) {
        if (newPassword.isEmpty()) {
            messageBox(u"用户口令不能为空，请重新输入用户新口令！"_s, MessageBoxFlags::IconInformation, u"错误"_s);
            focusAndSelect(新口令编辑框);
            return;
        }
        // A failed save keeps the old password in force, and the user must
        // know it; the window stays open for another try.
        if (!writeUserDigest(state.ConfigFilePath, state.CurrentUserName, passwordDigest(newPassword))) {
            messageBox(u"新口令未能保存：用户信息文件无法写入，可能没有写入权限或磁盘已满。\r\n\r\n原来的口令仍然有效。"_s,
                       MessageBoxFlags::IconStop, u"错误"_s);
            return;
        }
        accept();
        return;
    }
    messageBox(u"新密码复核错误，请重新设置密码！"_s, MessageBoxFlags::IconStop);
    复核口令编辑框->setFocus();
}
