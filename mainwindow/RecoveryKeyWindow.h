#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The recovery key of a sealed library, in a dialog of its own: shown once
// when the library is sealed, with a way to save it to a file, or asked for
// when the account's password does not open the library.
class RecoveryKeyWindow : public QDialog
{
    Q_OBJECT

public:
    enum class Choice { Key, RestoreUserInfo, Quit };

    // Shows a new key until the user has noted it.
    static void showNewKey(const QString &keyText, QWidget *parent);
    // Asks for the key of a library the account cannot open; what was typed
    // comes back in typed, with a message to show first when it is not empty.
    static Choice askForKey(const QString &account, const QString &message, QString &typed, QWidget *parent);

private:
    explicit RecoveryKeyWindow(QWidget *parent);
    void createControls(const QString &explanation);
    void saveToFile();

    Choice m_choice = Choice::Quit;
    QLabel *m_explanation = nullptr;
    QLineEdit *m_keyBox = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_otherButton = nullptr;
    QPushButton *m_quitButton = nullptr;
};
