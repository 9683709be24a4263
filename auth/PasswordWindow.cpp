#include "auth/PasswordWindow.h"

#include "auth/AuthLog.h"
#include "auth/AuthTexts.h"
#include "auth/DefaultButtonRule.h"
#include "auth/PasswordWindowLayout.h"
#include "auth/PasswordBox.h"
#include "config/AccountKeys.h"
#include "config/Accounts.h"
#include "toolkit/ControlPlacement.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ToolkitTexts.h"
#include "toolkit/WindowFonts.h"

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

PasswordWindow::PasswordWindow(Session session, QWidget *parent)
    : QDialog(parent)
    , m_session(std::move(session))
{
    createControls();
    styleControls();
    arrangeTabOrder();
    connectEvents();
    showCurrentUser();
    lockNewPasswordBoxes();
    readCurrentValue();
}

void PasswordWindow::createControls()
{
    setObjectName(u"PasswordWindow"_s);
    setWindowTitle(AuthText::PasswordTitle);
    setFixedSize(Width, Height);
    move(50, 50);
    // Set before the controls exist, so that they are made with it.
    setFont(simSunFont());
    setModal(true);

    m_background = placeControl(new QLabel(this), PasswordWindowLayout::Background);
    m_background->setPixmap(QPixmap(u":/art/password-background.png"_s));
    m_userCaption = placeControl(new QLabel(AuthText::UserName, this), PasswordWindowLayout::UserCaption);
    m_oldCaption = placeControl(new QLabel(AuthText::OldPassword, this), PasswordWindowLayout::OldCaption);
    m_newCaption = placeControl(new QLabel(AuthText::NewPassword, this), PasswordWindowLayout::NewCaption);
    m_verifyCaption = placeControl(new QLabel(AuthText::VerifyPassword, this), PasswordWindowLayout::VerifyCaption);
    m_userBox = placeControl(new QLineEdit(this), PasswordWindowLayout::UserBox);
    m_userBox->setReadOnly(true);
    m_oldPasswordBox = placeControl(makePasswordBox(this), PasswordWindowLayout::OldPasswordBox);
    m_newPasswordBox = placeControl(makePasswordBox(this), PasswordWindowLayout::NewPasswordBox);
    m_verifyBox = placeControl(makePasswordBox(this), PasswordWindowLayout::VerifyBox);
    m_okButton = placeControl(new QPushButton(AuthText::Ok, this), PasswordWindowLayout::OkButton);
    m_cancelButton = placeControl(new QPushButton(AuthText::Cancel, this), PasswordWindowLayout::CancelButton);
}

void PasswordWindow::styleControls()
{
    // The focus rule alone moves the default; 确定 is the default at start.
    for (QPushButton *button : {m_okButton, m_cancelButton})
        button->setAutoDefault(false);
    m_okButton->setDefault(true);
}

void PasswordWindow::arrangeTabOrder()
{
    setTabOrder(m_userBox, m_oldPasswordBox);
    setTabOrder(m_oldPasswordBox, m_newPasswordBox);
    setTabOrder(m_newPasswordBox, m_verifyBox);
    setTabOrder(m_verifyBox, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);
}

void PasswordWindow::connectEvents()
{
    connect(m_oldPasswordBox, &QLineEdit::textChanged, this, &PasswordWindow::checkOldPassword);
    connect(m_okButton, &QPushButton::clicked, this, &PasswordWindow::saveNewPassword);
    connect(m_cancelButton, &QPushButton::clicked, this, &PasswordWindow::reject);
    m_defaultButtonRule = new DefaultButtonRule(this);
    for (QLineEdit *box : {m_oldPasswordBox, m_newPasswordBox, m_verifyBox})
        m_defaultButtonRule->add(box, m_okButton);
    m_defaultButtonRule->add(m_okButton, m_okButton);
    m_defaultButtonRule->add(m_cancelButton, m_cancelButton);
}

void PasswordWindow::showCurrentUser()
{
    m_userBox->setText(m_session.userName);
}

void PasswordWindow::lockNewPasswordBoxes()
{
    m_newPasswordBox->setEnabled(false);
    m_verifyBox->setEnabled(false);
}

void PasswordWindow::readCurrentValue()
{
    m_currentValue = readUserDigest(m_session.configFilePath, m_session.userName).value_or(QString());
}

void PasswordWindow::checkOldPassword()
{
    // The boxes keep their content either way.
    const bool right = passwordMatchesAtOnce(m_oldPasswordBox->text(), m_currentValue, m_session.keys->typedPassword);
    m_newPasswordBox->setEnabled(right);
    m_verifyBox->setEnabled(right);
}

void PasswordWindow::saveNewPassword()
{
    const std::optional<OpenedPassword> old = checkPassword(m_oldPasswordBox->text(), m_currentValue, m_session.userName);
    if (!old) {
        messageBox(AuthText::OldPasswordWrong, MessageKind::Information, AuthText::WarningTitle);
        focusAndSelect(m_oldPasswordBox);
        return;
    }
    const QString newPassword = m_newPasswordBox->text();
    if (newPassword != m_verifyBox->text()) {
        messageBox(AuthText::NewPasswordMismatch, MessageKind::Stop);
        m_verifyBox->setFocus();
        return;
    }
    if (newPassword.isEmpty()) {
        messageBox(AuthText::NewPasswordEmpty, MessageKind::Information, ToolkitText::ErrorTitle);
        focusAndSelect(m_newPasswordBox);
        return;
    }
    if (storeNewPassword(newPassword, old->libraryKey))
        accept();
}

// A failed save keeps the old password and the old keys in force, and the
// user must know it; the window stays open for another try.
bool PasswordWindow::storeNewPassword(const QString &password, std::shared_ptr<const LibraryKey> openedKey)
{
    SessionKeys &keys = *m_session.keys;
    PasswordValue made = valueForPassword(password, m_session.userName, keys.libraryKey ? keys.libraryKey : openedKey);
    if (!writeUserDigest(m_session.configFilePath, m_session.userName, made.value)) {
        qCWarning(lcAuth) << "the new password value could not be written to" << m_session.configFilePath;
        messageBox(AuthText::NewPasswordNotSaved, MessageKind::Stop, ToolkitText::ErrorTitle);
        return false;
    }
    keys = std::move(made.keys);
    return true;
}
