#pragma once

#include <QDialog>

#include <functional>
#include <optional>

struct OfferedAccounts;
class DefaultButtonRule;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The start-up window: the user picks an account and types its password.
// A right password opens the main window and closes this one; the third
// wrong one in a run, like every other way of closing this window, ends
// the program. The accounts are read while the window is already on
// screen; accountsOffered tells when they are in the list.
class LoginWindow : public QDialog
{
    Q_OBJECT

public:
    // How this window reaches the main window, which its owner holds.
    struct MainWindowAccess
    {
        std::function<bool()> isOpen;
        // Opens the main window modeless.
        std::function<void()> open;
    };

    static constexpr int Width = 240;
    static constexpr int Height = 156;
    static constexpr int AttemptLimit = 3;

    explicit LoginWindow(MainWindowAccess mainWindow, QWidget *parent = nullptr);

    // Escape closes the window as closing it by hand does.
    void reject() override;

Q_SIGNALS:
    void accountsOffered();

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
    void refuseLogIn();

    MainWindowAccess m_mainWindow;
    bool m_accountsOffered = false;
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
