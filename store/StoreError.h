#pragma once

#include "config/ConfigError.h"

#include <QString>

#include <memory>
#include <optional>

// Why the picture store, the files of a library or the lock of its folder
// failed. The windows tell the user from the reason and what it names.
enum class StoreReason {
    // What SQLite says about the files; detail: SQLite's words for it.
    DiskFull,
    DiskError,
    ReadOnly,
    NoPermission,
    Damaged,
    Busy,
    CannotOpen,
    TooBig,
    OutOfMemory,
    OtherSqliteError,
    Cancelled,
    // The two files of a library; detail: the file's name.
    NotAFile,
    Unreadable,       // with the cause, where SQLite gave one
    Unopenable,       // with the cause
    NotALibraryFile,  // no SQLite file at all
    ForeignFile,      // another program's SQLite file
    WalFile,
    NewerBuild,
    NoTables,
    NamedLikeBytes,   // a pic.EDT name given for pic.edb
    NoLibrary,
    OnlySetAside,     // gone, but the set-aside files of a damaged one are there
    MissingCompanion, // companion: the file it belongs beside
    NotAPair,         // companion: the other file
    CannotCreate,     // no detail; with the cause
    // Steps over several files; detail: the path.
    NotPlaced,
    LeftoverStep,
    IntentNotWritten, // no detail; with the file error
    // The records; detail: the record number for NoSuchRecord.
    NotOpen,
    NoSuchRecord,
    BytesMissing,
    // A sealed library; detail: the row for SealBroken.
    Locked,           // sealed, and no key given yet
    KeyMismatch,      // the key is not this library's
    SealBroken,       // a value does not open under the key
    AlreadySealed,
    NotSealed,
    // The lock of the library's folder; detail: the lock file's path, or
    // the folder.
    AlreadyOpen,
    LockIsLink,
    LockIsFolder,
    CannotLock,
};

// What a library that did not open means for its files: only damaged files
// may be replaced by a copy.
enum class LibraryProblem { Damaged, Busy, NewerBuild, Unavailable };

struct StoreError
{
    StoreReason reason = StoreReason::OtherSqliteError;
    // What the reason names: a file's name or a path, a record number, or
    // SQLite's words for its error.
    QString detail{};
    // The other file, for the reasons that name both files of a pair.
    QString companion{};
    // The failure behind Unreadable, Unopenable and CannotCreate.
    std::shared_ptr<const StoreError> cause{};
    // The failure of the file helper behind IntentNotWritten.
    std::optional<ConfigError> fileError{};

    // This error as the cause of an outer one about file.
    StoreError causing(StoreReason outer, const QString &file = {}) const;
    LibraryProblem problem() const;
};
