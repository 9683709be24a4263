#pragma once

#include "config/Session.h"

#include <QDialog>

#include <memory>
#include <optional>

struct OfferedAccounts;
class DefaultButtonRule;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The start-up window: the user picks an account and types its password.
// A right password puts the keys of the log-in in the session's keys,
// closes the window and tells loggedIn; every other way out (cancel,
// Escape, closing the window, the third wrong password in a run) tells
// left. The accounts are read while the window is already on screen;
// accountsOffered tells when they are in the list. A password is checked
// in a worker (a key slot takes a slow derivation); presses of 登录 while
// one is checked are let go.
class LoginWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Width = 240;
    static constexpr int Height = 156;
    static constexpr int AttemptLimit = 3;

    // configFilePath names the account file, system.dat; keys are the
    // session's, filled at the log-in.
    LoginWindow(QString configFilePath, std::shared_ptr<SessionKeys> keys, QWidget *parent = nullptr);

    // Makes the account file's folder, shows the window and reads the
    // accounts. A folder that cannot be made is told, and the window leaves
    // without showing.
    void start();

    // Escape closes the window as closing it by hand does.
    void reject() override;

Q_SIGNALS:
    void accountsOffered();
    void loggedIn(const QString &userName);
    void left();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void styleControls();
    void arrangeTabOrder();
    void connectEvents();
    bool prepareConfigFile();
    // Reads the accounts (deriving the file's key takes a while) in a
    // worker, so that the window shows without waiting for it.
    void loadAccounts();
    void offerAccounts(const OfferedAccounts &accounts);
    // A log-in asked for before the accounts are read waits for them.
    void logIn();
    void logInWith(const QString &password);
    void finishLogIn(const QString &userName, std::optional<SessionKeys> keys);
    void refuseLogIn();

    QString m_configFilePath;
    std::shared_ptr<SessionKeys> m_keys;
    bool m_accountsOffered = false;
    // Wrong passwords so far, across all accounts.
    int m_failureCount = 0;
    bool m_loggedIn = false;
    bool m_left = false;
    // A password is being checked in a worker.
    bool m_checking = false;
    // The password of a log-in asked for while the accounts were read.
    std::optional<QString> m_waitingPassword;
    DefaultButtonRule *m_defaultButtonRule = nullptr;

    // The controls, from the bottom up.
    QLabel *m_background = nullptr;
    QToolButton *m_userPicture = nullptr;
    QToolButton *m_keyPicture = nullptr;
    QLabel *m_userCaption = nullptr;
    QComboBox *m_userBox = nullptr;
    QLabel *m_passwordCaption = nullptr;
    QLineEdit *m_passwordBox = nullptr;
    QPushButton *m_logInButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
