#include "reasons/ReasonSentence.h"

#include "config/DataFolder.h"
#include "reasons/ReasonTexts.h"

#include <optional>

namespace {

// What SQLite says about the files, and a cancel.
std::optional<QString> sqliteSentence(const StoreError &error)
{
    switch (error.reason) {
    case StoreReason::DiskFull:
        return ReasonText::DiskFull;
    case StoreReason::DiskError:
        return ReasonText::DiskError;
    case StoreReason::ReadOnly:
        return ReasonText::ReadOnly;
    case StoreReason::NoPermission:
        return ReasonText::NoPermission;
    case StoreReason::Damaged:
        return ReasonText::Damaged;
    case StoreReason::Busy:
        return ReasonText::Busy;
    case StoreReason::CannotOpen:
        return ReasonText::CannotOpen;
    case StoreReason::TooBig:
        return ReasonText::TooBig;
    case StoreReason::OutOfMemory:
        return ReasonText::OutOfMemory;
    case StoreReason::OtherSqliteError:
        return ReasonText::OtherError.arg(error.detail);
    case StoreReason::Cancelled:
        return ReasonText::Cancelled;
    default:
        return std::nullopt;
    }
}

// The two files of a library, named by their file names.
std::optional<QString> fileSentence(const StoreError &error)
{
    const QString cause = error.cause ? reasonSentence(*error.cause) : QString();
    switch (error.reason) {
    case StoreReason::NotAFile:
        return ReasonText::NotAFile.arg(error.detail);
    case StoreReason::Unreadable:
        return error.cause ? ReasonText::UnreadableBecause.arg(error.detail, cause)
                           : ReasonText::Unreadable.arg(error.detail);
    case StoreReason::Unopenable:
        return ReasonText::UnopenableBecause.arg(error.detail, cause);
    case StoreReason::NotALibraryFile:
        return ReasonText::NotALibraryFile.arg(error.detail);
    case StoreReason::ForeignFile:
        return ReasonText::ForeignFile.arg(error.detail);
    case StoreReason::WalFile:
        return ReasonText::WalFile.arg(error.detail);
    case StoreReason::NewerBuild:
        return ReasonText::NewerVersion.arg(error.detail);
    case StoreReason::NoTables:
        return ReasonText::NoTables.arg(error.detail);
    case StoreReason::NamedLikeBytes:
        return ReasonText::NamedLikeBytes.arg(error.detail);
    case StoreReason::NoLibrary:
        return ReasonText::NoLibrary.arg(error.detail);
    case StoreReason::OnlySetAside:
        return ReasonText::OnlySetAside.arg(error.detail, DataFolder::DamagedSuffix);
    case StoreReason::MissingCompanion:
        return ReasonText::Missing.arg(error.detail, error.companion);
    case StoreReason::NotAPair:
        return ReasonText::NotAPair.arg(error.detail, error.companion);
    case StoreReason::CannotCreate:
        return ReasonText::CannotCreate.arg(cause);
    default:
        return std::nullopt;
    }
}

// Steps over several files, the records and the lock of the folder.
QString otherSentence(const StoreError &error)
{
    switch (error.reason) {
    case StoreReason::NotPlaced:
        return ReasonText::NotPlaced.arg(error.detail);
    case StoreReason::LeftoverStep:
        return ReasonText::LeftoverStep.arg(error.detail);
    case StoreReason::IntentNotWritten:
        return reasonSentence(error.fileError.value_or(ConfigError{ConfigReason::CannotWrite}));
    case StoreReason::NotOpen:
        return ReasonText::NotOpen;
    case StoreReason::NoSuchRecord:
        return ReasonText::NoSuchRecord.arg(error.detail);
    case StoreReason::BytesMissing:
        return ReasonText::BytesMissing;
    case StoreReason::Locked:
        return ReasonText::Locked;
    case StoreReason::KeyMismatch:
        return ReasonText::KeyMismatch;
    case StoreReason::SealBroken:
        return ReasonText::SealBroken.arg(error.detail);
    case StoreReason::AlreadySealed:
        return ReasonText::AlreadySealed;
    case StoreReason::NotSealed:
        return ReasonText::NotSealed;
    case StoreReason::AlreadyOpen:
        return ReasonText::AlreadyOpen;
    case StoreReason::LockIsLink:
        return ReasonText::LockIsLink.arg(error.detail);
    case StoreReason::LockIsFolder:
        return ReasonText::LockIsFolder.arg(error.detail);
    case StoreReason::CannotLock:
    default:
        return ReasonText::CannotLock;
    }
}

}

QString reasonSentence(const StoreError &error)
{
    if (std::optional<QString> sentence = sqliteSentence(error))
        return *sentence;
    if (std::optional<QString> sentence = fileSentence(error))
        return *sentence;
    return otherSentence(error);
}

QString reasonSentence(const ConfigError &error)
{
    switch (error.reason) {
    case ConfigReason::FolderMissing:
    case ConfigReason::CannotMakeFolder:
        return ReasonText::FolderMissing;
    case ConfigReason::FolderInTheWay:
        return ReasonText::FolderInTheWay;
    case ConfigReason::Missing:
    case ConfigReason::CannotRead:
    case ConfigReason::Foreign:
    case ConfigReason::Truncated:
    case ConfigReason::Rejected:
        return ReasonText::CannotRead;
    case ConfigReason::CipherFailed:
    case ConfigReason::TooLarge:
    case ConfigReason::InvalidItem:
    case ConfigReason::CannotWrite:
    case ConfigReason::CannotSyncFolder:
        return ReasonText::CannotWrite;
    }
    return ReasonText::CannotWrite;
}
