#pragma once

#include <QString>

// What the log-in and password windows say.
namespace AuthText {
inline const QString LoginTitle = QStringLiteral("我的程序");
inline const QString UserCaption = QStringLiteral("用户姓名");
inline const QString PasswordCaption = QStringLiteral("用户口令");
// The password box's content at start: the default account's password.
inline const QString StartPassword = QStringLiteral("3196");
inline const QString LogIn = QStringLiteral("登录(&I)");
inline const QString CancelLogIn = QStringLiteral("取消(&X)");
inline const QString ConfigFolderFailed = QStringLiteral("创建配置文件路径失败。");
inline const QString DefaultAccountFailed = QStringLiteral(
    "用户信息文件（system.dat）已损坏或无法写入，默认账户“管理员”未能建立，现在无法登录。\r\n\r\n"
    "请用备份文件替换它，或者把它移走：下次启动时会重新建立默认账户。");
inline const QString PasswordRetry = QStringLiteral("用户口令不正确，请重新输入！");
inline const QString PasswordIllegal = QStringLiteral("用户口令不正确，请勿非法登录！");

inline const QString PasswordTitle = QStringLiteral("修改用户口令");
inline const QString UserName = QStringLiteral("用户名称");
inline const QString OldPassword = QStringLiteral("旧的口令");
inline const QString NewPassword = QStringLiteral("新设口令");
inline const QString VerifyPassword = QStringLiteral("验证口令");
inline const QString Ok = QStringLiteral("确定");
inline const QString Cancel = QStringLiteral("取消");
inline const QString WarningTitle = QStringLiteral("警告");
inline const QString OldPasswordWrong =
    QStringLiteral("原始口令错误，请重新输入。如果你不知道原始口令，你将无权修改。");
inline const QString NewPasswordEmpty = QStringLiteral("用户口令不能为空，请重新输入用户新口令！");
inline const QString NewPasswordMismatch = QStringLiteral("新密码复核错误，请重新设置密码！");
inline const QString NewPasswordNotSaved =
    QStringLiteral("新口令未能保存：用户信息文件无法写入，可能没有写入权限或磁盘已满。\r\n\r\n原来的口令仍然有效。");
}
