#pragma once

#include <QDialog>

class DefaultButtonRule;
class QLabel;
class QLineEdit;
class QPushButton;

// The modal dialog in which the logged-in user replaces the password of
// that account. The new-password boxes open only while the old password
// typed so far is right; OK checks the old password again, wants the new
// one twice alike and not empty, and stores its digest.
class PasswordWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int DesignWidth = 240;
    static constexpr int DesignHeight = 156;

    explicit PasswordWindow(QWidget *parent = nullptr);

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

    DefaultButtonRule *m_defaultButtonRule = nullptr;

public:
    // The window's controls under their design names, from the bottom up.
    QLabel *标签1 = nullptr;
    QLabel *透明标签1 = nullptr;
    QLabel *透明标签2 = nullptr;
    QLabel *透明标签3 = nullptr;
    QLabel *透明标签4 = nullptr;
    QLineEdit *用户编辑框 = nullptr;
    QLineEdit *原口令编辑框 = nullptr;
    QLineEdit *新口令编辑框 = nullptr;
    QLineEdit *复核口令编辑框 = nullptr;
    QPushButton *确定按钮 = nullptr;
    QPushButton *取消按钮 = nullptr;
};
