#pragma once

#include <QDialog>

#include <functional>

class DefaultButtonRule;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The start-up window: the user picks an account and types its password.
// A right password opens the main window and closes this one; the third
// wrong one in a run, like every other way of closing this window, ends
// the program.
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

    static constexpr int DesignWidth = 240;
    static constexpr int DesignHeight = 156;
    static constexpr int AttemptLimit = 3;

    explicit LoginWindow(MainWindowAccess mainWindow, QWidget *parent = nullptr);

    // Escape closes the window as closing it by hand does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void styleControls();
    void arrangeTabOrder();
    void connectEvents();
    bool prepareConfigFile();
    void ensureAccounts();
    void offerAccounts();
    void logIn();
    void refuseLogIn();

    MainWindowAccess m_mainWindow;
    DefaultButtonRule *m_defaultButtonRule = nullptr;

public:
    // The window's controls under their design names, from the bottom up.
    QLabel *标签1 = nullptr;
    QToolButton *图形按钮1 = nullptr;
    QToolButton *图形按钮2 = nullptr;
    QLabel *透明标签1 = nullptr;
    QComboBox *用户组合框 = nullptr;
    QLabel *透明标签2 = nullptr;
    QLineEdit *口令编辑框 = nullptr;
    QPushButton *登录按钮 = nullptr;
    QPushButton *取消按钮 = nullptr;
};
