#include "UserInfoBackup.h"

#include "AtomicFile.h"
#include "FileIdentity.h"
#include "FileDialog.h"
#include "GlobalState.h"
#include "MessageBox.h"
#include "PictureStore.h"
#include "ProgramDirectory.h"
#include "ProgramExit.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString BackupFailed = u"用户信息备份失败！请检查你设置的备份文件是否可写。"_s;
const QString BackupToItself = u"备份文件不能是用户信息文件本身，请另选一个备份文件名。"_s;
const QString BackupDone = u"用户信息备份完成！你可以在以后使用其还原用户信息。"_s;
const QString RestoreQuestion =
    u"    由于本程序不会对你所指定的用户信息备份文件格式进行校验，如果你指定的用户信息备份文件格式有误，将会导致现有用户信息丢失。\r\n"
    "    强烈建议你在还原用户信息之前，先备份现有用户信息。\r\n"
    "    你确定现在开始从备份文件还原用户信息吗？"_s;
const QString RestoreDone = u"用户信息还原完成！请重新运行本程序。"_s;
const QString RestoreFailed = u"用户信息还原失败！请检查你的系统并稍后再试。"_s;
const QString ErrorTitle = u"错误"_s;
const QString FailedTitle = u"备份失败"_s;
const QString DoneTitle = u"备份完成"_s;
constexpr unsigned Information = MessageBoxFlags::IconInformation;
constexpr unsigned YesNoQuestion =
    MessageBoxFlags::YesNo | MessageBoxFlags::IconInformation | MessageBoxFlags::DefaultButton2;

// The settings of the maintenance file dialog.
FileDialogRequest userInfoDialog(FileDialogKind kind, const QString &title)
{
    return {kind, title, {}, u"用户信息备份文件(*.usb)|*.usb|所有文件(*.*)|*.*"_s, u"usb"_s};
}

// An existing backup target must be a file that may be replaced.
bool isReplaceable(const QString &path)
{
    const QFileInfo target(path);
    return !target.exists()
        || (target.isFile() && target.isWritable() && QFileInfo(target.absolutePath()).isWritable());
}

void copyPictureLibrary(PictureStore &store)
{
    const QDir programFolder(programDirectory());
    if (programFolder.mkpath(u"BAK"_s))
        (void)store.copyTo(programFolder.filePath(u"BAK/pic.edb"_s));
}

}

void backupUserInfo(PictureStore &store)
{
    const std::optional<QString> chosen =
        showFileDialog(userInfoDialog(FileDialogKind::Save, u"请选择要备份到的文件名："_s));
    if (!chosen)
        return;
    const QString &configFilePath = GlobalState::current().ConfigFilePath;
    if (isSameFile(*chosen, configFilePath)) {
        messageBox(BackupToItself, Information, ErrorTitle);
        return;
    }
    if (!isReplaceable(*chosen)) {
        messageBox(BackupFailed, Information, ErrorTitle);
        return;
    }
    if (!copyFileAtomically(configFilePath, *chosen)) {
        messageBox(BackupFailed, Information, FailedTitle);
        return;
    }
    // The user information is safe by now; the library copy is a courtesy
    // whose outcome does not change the report.
    copyPictureLibrary(store);
    messageBox(BackupDone, Information, DoneTitle);
}

void restoreUserInfo()
{
    if (messageBox(RestoreQuestion, YesNoQuestion) != IDYES)
        return;
    const std::optional<QString> chosen =
        showFileDialog(userInfoDialog(FileDialogKind::Open, u"请选择备份的用户信息文件名："_s));
    if (!chosen)
        return;
    if (!copyFileAtomically(*chosen, GlobalState::current().ConfigFilePath)) {
        messageBox(RestoreFailed, Information, FailedTitle);
        return;
    }
    messageBox(RestoreDone, Information, DoneTitle);
    exitProgram();
}
