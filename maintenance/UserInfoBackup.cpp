#include "maintenance/UserInfoBackup.h"

#include "config/Accounts.h"
#include "config/AtomicFile.h"
#include "config/DataFolder.h"
#include "config/ProtectedFileFormat.h"
#include "maintenance/MaintenanceLog.h"
#include "maintenance/MaintenanceTexts.h"
#include "reasons/ReasonSentence.h"
#include "store/PictureStore.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ProgressDialog.h"
#include "toolkit/ToolkitTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The settings of the maintenance file dialog.
FileDialogRequest userInfoDialog(FileDialogKind kind, const QString &title)
{
    return {.kind = kind,
            .title = title,
            .filter = MaintenanceText::BackupFilter,
            .defaultExtension = MaintenanceText::BackupExtension};
}

DataFolder dataFolder()
{
    return DataFolder(programDirectory());
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
    const DataFolder folder = dataFolder();
    if (!QDir().mkpath(folder.bakFolder()))
        return std::unexpected(MaintenanceText::BakFolderFailed);
    ProgressDialog progress(MaintenanceText::LibraryCopyLabel);
    const auto step = [&progress](qint64 copied, qint64 total) { return progress.step(copied, total); };
    return withReasonSentence(store.copyTo(folder.bakLibraryPath(), step));
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

// Whether the accounts of a backup may replace those of the open library:
// a sealed library wants a slot of its own key, or the user's consent to
// needing the recovery key.
bool fitsLibrary(const QByteArray &content, const PictureStore &store)
{
    if (!store.isSealed())
        return true;
    const QList<QByteArray> identifiers = slotKeyIdentifiers(content);
    if (identifiers.isEmpty())
        return messageBox(MaintenanceText::RestoreWithoutSlot, MessageKind::YesNoWarning) == QMessageBox::Yes;
    if (identifiers.contains(store.keyIdentifier()))
        return true;
    messageBox(MaintenanceText::RestoreOfOtherLibrary, MessageKind::Information, MaintenanceText::RestoreFailedTitle);
    return false;
}

}

void backupUserInfo(PictureStore &store, const Session &session)
{
    const std::optional<QString> chosen =
        showFileDialog(userInfoDialog(FileDialogKind::Save, MaintenanceText::BackupDialogTitle));
    if (!chosen)
        return;
    const std::optional<QString> held = dataFolder().heldFile(*chosen);
    if (held && QFileInfo(*held).fileName().compare(DataFolder::Accounts, Qt::CaseInsensitive) == 0) {
        messageBox(MaintenanceText::BackupToItself, MessageKind::Information, ToolkitText::ErrorTitle);
        return;
    }
    if (held) {
        messageBox(MaintenanceText::BackupToProgramFile.arg(QDir::toNativeSeparators(*held)), MessageKind::Information,
                   ToolkitText::ErrorTitle);
        return;
    }
    if (!isReplaceable(*chosen)) {
        messageBox(MaintenanceText::BackupFailed, MessageKind::Information, ToolkitText::ErrorTitle);
        return;
    }
    if (!copyFileAtomically(session.configFilePath, *chosen)) {
        messageBox(MaintenanceText::BackupFailed, MessageKind::Information, MaintenanceText::FailedTitle);
        return;
    }
    // The user information is safe by now; a failed library copy is told
    // with it, so the user does not rely on a BAK copy that is not there.
    if (const auto copied = copyPictureLibrary(store); !copied) {
        qCWarning(lcMaintenance).noquote() << "the library copy into BAK failed:" << copied.error();
        messageBox(MaintenanceText::BackupDone + MaintenanceText::LibraryCopyFailed.arg(copied.error()),
                   MessageKind::Warning, MaintenanceText::DoneTitle);
        return;
    }
    messageBox(MaintenanceText::BackupDone, MessageKind::Information, MaintenanceText::DoneTitle);
}

bool restoreUserInfo(const Session &session, const PictureStore &store)
{
    if (messageBox(MaintenanceText::RestoreQuestion, MessageKind::YesNoInformation) != QMessageBox::Yes)
        return false;
    const std::optional<QString> chosen =
        showFileDialog(userInfoDialog(FileDialogKind::Open, MaintenanceText::RestoreDialogTitle));
    if (!chosen)
        return false;
    const std::optional<QByteArray> content = readBackupFile(*chosen);
    if (!content) {
        messageBox(MaintenanceText::RestoreFailed, MessageKind::Information, MaintenanceText::RestoreFailedTitle);
        return false;
    }
    // A file that is no account file, or holds no account that can log in,
    // would lock every account out at the next start.
    if (accountsWithDigest(*content).value_or(0) == 0) {
        qCInfo(lcMaintenance) << "refused to restore from" << *chosen << ": no account file, or no account in it";
        messageBox(MaintenanceText::NotAnAccountFile, MessageKind::Information, MaintenanceText::RestoreFailedTitle);
        return false;
    }
    if (!fitsLibrary(*content, store))
        return false;
    if (!writeFileAtomically(session.configFilePath, *content)) {
        messageBox(MaintenanceText::RestoreFailed, MessageKind::Information, MaintenanceText::RestoreFailedTitle);
        return false;
    }
    messageBox(MaintenanceText::RestoreDone, MessageKind::Information, MaintenanceText::DoneTitle);
    return true;
}
