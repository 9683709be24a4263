#pragma once

#include <QString>

#include <functional>
#include <memory>

class BalloonTip;
class CheckBoxList;
class LoginWindow;
class MainWindow;
class PasswordWindow;
class PictureBox;
class PictureLabel;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class ViewerWindow;
struct SessionKeys;

// The controls of each window as a test reaches them: by their role, found
// by the design names of the window's own layout table.

struct MainWindowControls
{
    QLabel *recordNumber, *category;
    PictureLabel *preview;
    QLabel *welcomePicture, *welcomeLine, *listFrame;
    CheckBoxList *pictureList;
    QLabel *buttonFrame, *nameCaption;
    QLineEdit *nameBox;
    QPushButton *addButton, *replaceButton, *renameButton, *exportButton, *deleteButton;
    QLabel *title, *minimiseMark, *closeMark, *footer;
    BalloonTip *balloonTip;
    QMenu *menu;
};

struct LoginWindowControls
{
    QLabel *background;
    QToolButton *userPicture, *keyPicture;
    QLabel *userCaption;
    QComboBox *userBox;
    QLabel *passwordCaption;
    QLineEdit *passwordBox;
    QPushButton *logInButton, *cancelButton;
};

struct PasswordWindowControls
{
    QLabel *background, *userCaption, *oldCaption, *newCaption, *verifyCaption;
    QLineEdit *userBox, *oldPasswordBox, *newPasswordBox, *verifyBox;
    QPushButton *okButton, *cancelButton;
};

struct ViewerWindowControls
{
    QLabel *backdrop;
    PictureBox *pictureBox;
    QLabel *countLabel, *numberLabel;
    QToolButton *backButton, *forwardButton, *exitButton;
};

MainWindowControls ui(const MainWindow &window);
LoginWindowControls ui(const LoginWindow &window);
PasswordWindowControls ui(const PasswordWindow &window);
ViewerWindowControls ui(const ViewerWindow &window);

// Waits until the log-in window lists its accounts, which it reads in a
// worker after it shows; false when none came.
bool waitForAccounts(const LoginWindow &window);
// Runs press (of 登录, or Enter) and waits until the log-in window, which
// checks the password in a worker, answers it: it closes, or a message
// shows. False when no answer came.
bool answersLogIn(const LoginWindow &window, const std::function<void()> &press);

// Logs in to the account in a fresh log-in window on the account file, as
// the next start of the program does (the caches forgotten first); the keys
// of the log-in, or null when the password is refused.
std::shared_ptr<SessionKeys> logInAtTheNextStart(const QString &configFilePath, const QString &account,
                                                 const QString &password);
