#pragma once

#include <QString>

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
