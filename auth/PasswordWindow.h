#pragma once

#include "config/Session.h"

#include <QDialog>

class DefaultButtonRule;
class QLabel;
class QLineEdit;
class QPushButton;

// The modal dialog in which the session's user replaces the password of
// that account. The new-password boxes open only while the old password
// typed so far matches the value read when the window opened (for a key
// slot: the password typed at log-in); OK checks the old password for
// real, wants the new one twice alike and not empty, and stores the new
// value: a slot of the session's library key, or of a new one, or the
// digest of the default password while the library is plain. The
// session's keys follow once the value is stored.
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
    void readCurrentValue();
    void checkOldPassword();
    void saveNewPassword();
    bool storeNewPassword(const QString &password, std::shared_ptr<const LibraryKey> openedKey);

    Session m_session;
    // The user's stored value (digest or key slot), as read when the window
    // opened.
    QString m_currentValue;
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
