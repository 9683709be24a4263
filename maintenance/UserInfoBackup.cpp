#include "UserInfoBackup.h"

#include "Accounts.h"
#include "AtomicFile.h"
#include "FileDialog.h"
#include "FileIdentity.h"
#include "GlobalState.h"
#include "MessageBox.h"
#include "PictureStore.h"
#include "ProgramDirectory.h"
#include "ProgramExit.h"
#include "ProgressDialog.h"
#include "ProtectedFileFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString BackupFailed = u"用户信息备份失败！请检查你设置的备份文件是否可写。"_s;
const QString BackupToItself = u"备份文件不能是用户信息文件本身，请另选一个备份文件名。"_s;
const QString BackupToProgramFile = u"备份文件不能是本程序正在使用的文件（%1），请另选一个备份文件名。"_s;
const QString BackupDone = u"用户信息备份完成！你可以在以后使用其还原用户信息。"_s;
const QString LibraryCopyFailed = u"\r\n\r\n但图片库未能复制到 BAK 文件夹：%1。"_s;
const QString LibraryCopyLabel = u"正在把图片库复制到 BAK 文件夹……"_s;
const QString RestoreQuestion =
    u"    由于本程序不会对你所指定的用户信息备份文件格式进行校验，如果你指定的用户信息备份文件格式有误，将会导致现有用户信息丢失。\r\n"
    "    强烈建议你在还原用户信息之前，先备份现有用户信息。\r\n"
    "    你确定现在开始从备份文件还原用户信息吗？"_s;
const QString RestoreDone = u"用户信息还原完成！请重新运行本程序。"_s;
const QString RestoreFailed = u"用户信息还原失败！请检查你的系统并稍后再试。"_s;
const QString NotAnAccountFile =
    u"用户信息还原失败：所选文件不是本程序的用户信息备份文件，或其中没有任何账户。\r\n\r\n现有用户信息未作改动。"_s;
const QString ErrorTitle = u"错误"_s;
const QString FailedTitle = u"备份失败"_s;
const QString DoneTitle = u"备份完成"_s;
constexpr unsigned Information = MessageBoxFlags::IconInformation;
constexpr unsigned Exclamation = MessageBoxFlags::IconExclamation;
constexpr unsigned YesNoQuestion =
    MessageBoxFlags::YesNo | MessageBoxFlags::IconInformation | MessageBoxFlags::DefaultButton2;

// The settings of the maintenance file dialog.
FileDialogRequest userInfoDialog(FileDialogKind kind, const QString &title)
{
    return {kind, title, {}, u"用户信息备份文件(*.usb)|*.usb|所有文件(*.*)|*.*"_s, u"usb"_s};
}

QString bakStorePath()
{
    return QDir(programDirectory()).filePath(u"BAK/pic.edb"_s);
}

// The files the running program holds: writing a backup onto one of them
// would destroy it.
QStringList programFiles(const PictureStore &store)
{
    QStringList files = {QCoreApplication::applicationFilePath(), bakStorePath(),
                         PictureStore::companionPath(bakStorePath())};
    if (!store.path().isEmpty())
        files << store.path() << PictureStore::companionPath(store.path());
    return files;
}

// The path with its folder resolved, so that two spellings of one place
// compare equal even where the file does not exist yet.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

bool sameLocation(const QString &first, const QString &second)
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    return isSameFile(first, second) || resolvedPath(first).compare(resolvedPath(second), sensitivity) == 0;
}

// An existing backup target must be a file that may be replaced.
bool isReplaceable(const QString &path)
{
    const QFileInfo target(path);
    return !target.exists()
        || (target.isFile() && target.isWritable() && QFileInfo(target.absolutePath()).isWritable());
}

// Copies a snapshot of the open library into BAK, with progress for a big
// one; the reason when it fails or is cancelled.
std::expected<void, QString> copyPictureLibrary(PictureStore &store)
{
    if (!QDir(programDirectory()).mkpath(u"BAK"_s))
        return std::unexpected(u"BAK 文件夹无法创建"_s);
    ProgressDialog progress(LibraryCopyLabel);
    return store.copyTo(bakStorePath(), [&progress](qint64 copied, qint64 total) { return progress.step(copied, total); });
}

// The content of a chosen backup file; nothing when it cannot be read.
std::optional<QByteArray> readBackupFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte more than an account file may have is enough to refuse it.
    QByteArray content = file.read(ProtectedFileFormat::MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

}

void backupUserInfo(PictureStore &store)
{
    const std::optional<QString> chosen =
        showFileDialog(userInfoDialog(FileDialogKind::Save, u"请选择要备份到的文件名："_s));
    if (!chosen)
        return;
    const QString &configFilePath = GlobalState::current().ConfigFilePath;
    if (sameLocation(*chosen, configFilePath)) {
        messageBox(BackupToItself, Information, ErrorTitle);
        return;
    }
    for (const QString &file : programFiles(store)) {
        if (sameLocation(*chosen, file)) {
            messageBox(BackupToProgramFile.arg(QDir::toNativeSeparators(file)), Information, ErrorTitle);
            return;
        }
    }
    if (!isReplaceable(*chosen)) {
        messageBox(BackupFailed, Information, ErrorTitle);
        return;
    }
    if (!copyFileAtomically(configFilePath, *chosen)) {
        messageBox(BackupFailed, Information, FailedTitle);
        return;
    }
    // The user information is safe by now; a failed library copy is told
    // with it, so the user does not rely on a BAK copy that is not there.
    if (const auto copied = copyPictureLibrary(store); !copied) {
        messageBox(BackupDone + LibraryCopyFailed.arg(copied.error()), Exclamation, DoneTitle);
        return;
    }
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
    const std::optional<QByteArray> content = readBackupFile(*chosen);
    if (!content) {
        messageBox(RestoreFailed, Information, FailedTitle);
        return;
    }
    // A file that is no account file, or holds no account that can log in,
    // would lock every account out at the next start.
    if (accountsWithDigest(*content).value_or(0) == 0) {
        messageBox(NotAnAccountFile, Information, FailedTitle);
        return;
    }
    if (!writeFileAtomically(GlobalState::current().ConfigFilePath, *content)) {
        messageBox(RestoreFailed, Information, FailedTitle);
        return;
    }
    messageBox(RestoreDone, Information, DoneTitle);
    exitProgram();
}
