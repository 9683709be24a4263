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

// The controls of each window as a test reaches them: found by their
// object names, the Chinese names they carry.

struct MainWindowControls
{
    QLabel *标签1, *标签2;
    PictureLabel *标签3;
    QLabel *标签6, *标签7, *标签5;
    CheckBoxList *选择列表框1;
    QLabel *标签4, *标签999;
    QLineEdit *编辑框1;
    QPushButton *按钮添加, *按钮更新, *按钮改名, *按钮导出, *按钮删除;
    QLabel *透明标签3, *透明标签2, *透明标签1, *透明标签4;
    BalloonTip *气球提示框1;
    QMenu *菜单;
};

struct LoginWindowControls
{
    QLabel *标签1;
    QToolButton *图形按钮1, *图形按钮2;
    QLabel *透明标签1;
    QComboBox *用户组合框;
    QLabel *透明标签2;
    QLineEdit *口令编辑框;
    QPushButton *登录按钮, *取消按钮;
};

struct PasswordWindowControls
{
    QLabel *标签1, *透明标签1, *透明标签2, *透明标签3, *透明标签4;
    QLineEdit *用户编辑框, *原口令编辑框, *新口令编辑框, *复核口令编辑框;
    QPushButton *确定按钮, *取消按钮;
};

struct ViewerWindowControls
{
    QLabel *标签1;
    PictureBox *图片框1;
    QLabel *标签2, *标签3;
    QToolButton *超级按钮2, *超级按钮3, *超级按钮1;
};

MainWindowControls ui(const MainWindow &window);
LoginWindowControls ui(const LoginWindow &window);
PasswordWindowControls ui(const PasswordWindow &window);
ViewerWindowControls ui(const ViewerWindow &window);

// Waits until the log-in window lists its accounts, which it reads in a
// worker after it shows; false when none came.
bool waitForAccounts(const LoginWindow &window);
