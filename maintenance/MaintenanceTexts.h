#pragma once

#include <QString>

// What the backups of the user information and of the picture library say.
namespace MaintenanceText {
inline const QString BackupFilter = QStringLiteral("用户信息备份文件(*.usb)|*.usb|所有文件(*.*)|*.*");
inline const QString BackupExtension = QStringLiteral("usb");
inline const QString BackupDialogTitle = QStringLiteral("请选择要备份到的文件名：");
inline const QString RestoreDialogTitle = QStringLiteral("请选择备份的用户信息文件名：");
inline const QString BackupFailed = QStringLiteral("用户信息备份失败！请检查你设置的备份文件是否可写。");
inline const QString BackupToItself = QStringLiteral("备份文件不能是用户信息文件本身，请另选一个备份文件名。");
inline const QString BackupToProgramFile =
    QStringLiteral("备份文件不能是本程序正在使用的文件（%1），请另选一个备份文件名。");
inline const QString BackupDone = QStringLiteral("用户信息备份完成！你可以在以后使用其还原用户信息。");
inline const QString LibraryCopyFailed = QStringLiteral("\r\n\r\n但图片库未能复制到 BAK 文件夹：%1。");
inline const QString LibraryCopyLabel = QStringLiteral("正在把图片库复制到 BAK 文件夹……");
inline const QString BakFolderFailed = QStringLiteral("BAK 文件夹无法创建");
inline const QString RestoreQuestion = QStringLiteral(
    "    还原会用你所指定的用户信息备份文件替换现有用户信息。本程序会先校验该文件，它不是本程序的用户信息备份文件时，现有用户信息不作改动。\r\n"
    "    强烈建议你在还原用户信息之前，先备份现有用户信息。\r\n"
    "    你确定现在开始从备份文件还原用户信息吗？");
inline const QString RestoreDone = QStringLiteral("用户信息还原完成！请重新运行本程序。");
inline const QString RestoreFailed = QStringLiteral("用户信息还原失败！请检查你的系统并稍后再试。");
inline const QString NotAnAccountFile = QStringLiteral(
    "用户信息还原失败：所选文件不是本程序的用户信息备份文件，或其中没有任何账户。\r\n\r\n现有用户信息未作改动。");
inline const QString FailedTitle = QStringLiteral("备份失败");
inline const QString RestoreOfOtherLibrary = QStringLiteral(
    "这个备份文件里的用户信息属于另一个加密的图片库，它的口令打不开这里的图片。什么都没有还原。");
inline const QString RestoreWithoutSlot = QStringLiteral(
    "这个备份文件是图片库加密以前做的，里面的口令打不开现在加密的图片库。\n\n"
    "还原以后，登录时还要输入图片库的恢复密钥，才能再看到图片。确实要还原吗？");
inline const QString RestoreFailedTitle = QStringLiteral("还原失败");
inline const QString DoneTitle = QStringLiteral("备份完成");

inline const QString RecoveryQuestion = QStringLiteral(
    "图片库无法打开：%1。\r\n\r\nBAK 文件夹中有一份图片库的备份副本（%2 张图片，备份于 %3）。"
    "要用这份副本恢复图片库吗？\r\n\r\n损坏的文件会改名为“*%4”保留，不会删除。");
inline const QString RecoveryFailed =
    QStringLiteral("图片库未能从 BAK 文件夹恢复：%1。\r\n\r\n损坏的文件已放回原处，未作改动。");
inline const QString RecoveryTitle = QStringLiteral("恢复图片库");
inline const QString RecoveryLabel = QStringLiteral("正在从 BAK 文件夹恢复图片库……");
}
