#pragma once

#include <QString>

// What the main window says about the sealed library, its recovery key
// and its conversion.
namespace SealingText {
inline const QString RecoveryTitle = QStringLiteral("恢复密钥");
inline const QString NewKeyExplanation = QStringLiteral(
    "图片库从现在起加密保存：没有口令，任何人都看不到其中的图片和名称。\n\n"
    "下面是这个图片库的恢复密钥。忘记口令、或用户信息（system.dat）丢失时，只有它能重新打开图片库；"
    "口令和恢复密钥都丢失，图片就再也找不回来了。\n\n"
    "请把它抄下来或保存到文件，放在本机以外的安全地方。它只显示这一次。");
inline const QString SaveKey = QStringLiteral("保存到文件…");
inline const QString KeyNoted = QStringLiteral("我已记下");
inline const QString SaveDialogTitle = QStringLiteral("保存恢复密钥");
inline const QString SaveFilter = QStringLiteral("文本文件(*.txt)|*.txt");
inline const QString SaveExtension = QStringLiteral("txt");
inline const QString SaveName = QStringLiteral("Lumbra恢复密钥.txt");
inline const QString FileHeading = QStringLiteral("Lumbra 图片库恢复密钥");
inline const QString KeySaved = QStringLiteral("恢复密钥已保存到“%1”。");
inline const QString KeyNotSaved = QStringLiteral("恢复密钥没有保存到“%1”：%2");
inline const QString SaveOntoProgramFile = QStringLiteral("不能保存到“%1”：这是本程序正在使用的文件。");

inline const QString LockedExplanation = QStringLiteral(
    "这个图片库已加密，账号“%1”的口令却打不开它：用户信息（system.dat）可能丢失了，"
    "或换成了另一个图片库、或加密以前的备份。图片和名称都不会显示。\n\n"
    "要重新打开图片库，请输入加密时显示的恢复密钥，或从备份文件还原这个图片库的用户信息。");
inline const QString KeyCaption = QStringLiteral("恢复密钥：");
inline const QString OpenWithKey = QStringLiteral("打开图片库");
inline const QString RestoreUserInfo = QStringLiteral("还原用户信息…");
inline const QString Quit = QStringLiteral("退出");
inline const QString NotARecoveryKey = QStringLiteral("恢复密钥是 32 个字母和数字，每 4 个一组，请检查后重新输入。");
inline const QString WrongRecoveryKey = QStringLiteral("这不是这个图片库的恢复密钥，请检查后重新输入。");

inline const QString SealingLabel = QStringLiteral("正在加密图片库…");
inline const QString CompactingLabel = QStringLiteral("正在整理加密后的图片库…");
inline const QString SealingPaused = QStringLiteral(
    "加密暂停了：图片都能照常使用，下次登录时接着加密。");
inline const QString SealingFailed = QStringLiteral("图片库没有加密：%1\n\n图片都还在，下次登录时再试。");
inline const QString SlotNotWritten = QStringLiteral("口令的密钥没有写进用户信息：%1\n\n图片库没有加密，下次登录时再试。");
inline const QString SlotNotUpgraded = QStringLiteral(
    "账号的口令密钥没有写进用户信息：%1\n\n下次登录时还要输入恢复密钥。");
inline const QString LibraryLocked = QStringLiteral("图片库打不开：%1");
}
