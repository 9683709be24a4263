#pragma once

#include "config/Session.h"

#include <QDialog>

class DefaultButtonRule;
class QLabel;
class QLineEdit;
class QPushButton;

// The modal dialog in which the session's user replaces the password of
// that account. The new-password boxes open only while the old password
// typed so far matches the digest read when the window opened; OK checks
// the old password again, wants the new one twice alike and not empty, and
// stores its digest.
class PasswordWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Width = 240;
    static constexpr int Height = 156;

    explicit PasswordWindow(Session session, QWidget *parent = nullptr);

private:
    void createControls();
    void styleControls();
    void arrangeTabOrder();
    void connectEvents();
    void showCurrentUser();
    void lockNewPasswordBoxes();
    void readCurrentDigest();
    void checkOldPassword();
    void saveNewPassword();

    Session m_session;
    // The user's stored digest, as read when the window opened.
    QString m_currentDigest;
    DefaultButtonRule *m_defaultButtonRule = nullptr;

    // The controls, from the bottom up.
    QLabel *m_background = nullptr;
    QLabel *m_userCaption = nullptr;
    QLabel *m_oldCaption = nullptr;
    QLabel *m_newCaption = nullptr;
    QLabel *m_verifyCaption = nullptr;
    QLineEdit *m_userBox = nullptr;
    QLineEdit *m_oldPasswordBox = nullptr;
    QLineEdit *m_newPasswordBox = nullptr;
    QLineEdit *m_verifyBox = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
