#pragma once

#include "store/LibraryFiles.h"
#include "store/LibraryLayout.h"
#include "store/RowSealer.h"
#include "store/RowTable.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class LibraryKey;
class SqliteDatabase;
class SqliteTransaction;

// The picture library: one record per picture with a name, a category and
// the picture's bytes as read from its file, numbered 1..count() in storage
// order. Rows live in pic.edb; picture bytes live in the companion pic.EDT
// beside it, attached to the same connection so that every change to both
// files is one atomic commit. Names and categories are kept in memory, so
// listing them never touches the disk; bytes are read one picture at a time.
// Every change returns nothing or the reason it failed; a failed change
// leaves both files and the records in memory as they were.
//
// A sealed library keeps every name, category and picture sealed under its
// library key (see RowSealer). It opens locked, with no records, until the
// key is given. A plain library is sealed in two steps: seal() marks it
// sealed, and from then on every value written is sealed; sealSome() seals
// the rows already there a batch at a time, so that the work can stop
// between batches and go on at a later start; compact() then rewrites both
// files without the free pages.
class PictureStore
{
public:
    enum class Opened { Existing, Created };
    // Hears how much of a long piece of work is done, of how much; false
    // cancels the work.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    struct NewRecord
    {
        QString name;
        QString category;
        QByteArray picture;

        bool operator==(const NewRecord &) const = default;
    };

    PictureStore();
    ~PictureStore();
    PictureStore(const PictureStore &) = delete;
    PictureStore &operator=(const PictureStore &) = delete;

    // Opens pic.edb at edbPath with pic.EDT beside it (see LibraryFiles):
    // an empty store is created where none was, unless creation is Never;
    // files that exist but are not a picture store are left untouched and
    // the failure says why, and whether they are damaged.
    std::expected<Opened, StoreError> open(const QString &edbPath,
                                           LibraryFiles::Creation creation = LibraryFiles::Creation::IfNew);
    void close();
    bool isOpen() const;

    int count() const;
    bool isRecord(int n) const;
    // Empty for a number that is no record.
    QString name(int n) const;
    QString category(int n) const;
    // The bytes of record n, read from pic.EDT now.
    std::expected<QByteArray, StoreError> picture(int n) const;
    // What a reader needs to read the bytes of record n on its own: the row,
    // a version that changes whenever the bytes or the way they are stored
    // do (0 for no record), and the key that opens them (null for bytes
    // stored plain).
    struct PictureRef
    {
        qint64 id = 0;
        quint64 version = 0;
        std::shared_ptr<const LibraryKey> key;
    };
    PictureRef pictureRef(int n) const;
    // pic.EDT of the open store.
    QString picturesPath() const;

    // The largest picture, in bytes, that the store takes, sealed or not.
    qint64 pictureSizeLimit() const;

    // The pictures in the files, also while the library is locked.
    int storedCount() const;
    bool isSealed() const;
    // Sealed, and no key given yet.
    bool isLocked() const;
    // The identifier of the key that a sealed library was sealed with, and
    // its recovery slot; empty for a plain library.
    QByteArray keyIdentifier() const;
    QString recoverySlot() const;

    // Opens a sealed library with its key and reads the records: a key of
    // another library is KeyMismatch, a value that does not open is
    // SealBroken naming its row. Either leaves the store locked.
    std::expected<void, StoreError> unlock(std::shared_ptr<const LibraryKey> key);
    // Seals an open plain library under a new key, in one commit; the rows
    // there stay readable, and are sealed by sealSome.
    std::expected<void, StoreError> seal(std::shared_ptr<const LibraryKey> key, const QString &recoverySlot);
    // The records whose values are not sealed yet.
    int unsealedCount() const;
    // Seals up to count more records in one commit. progress hears the
    // records done of those in this batch; a cancel leaves the batch undone.
    std::expected<void, StoreError> sealSome(int count, const Progress &progress = {});
    // Rewrites both files without their free pages, so that nothing of a
    // value once written stays in them; after the last batch of sealSome.
    std::expected<void, StoreError> compact();

    // Adds records at the end, all in one commit.
    std::expected<void, StoreError> append(const std::vector<NewRecord> &records);
    std::expected<void, StoreError> append(const NewRecord &record);
    // Gives record n new bytes and the category of the file they came from.
    std::expected<void, StoreError> replacePicture(int n, const QByteArray &picture, const QString &category);
    std::expected<void, StoreError> rename(int n, const QString &name);
    // Removes record n and its bytes; the records behind it move down by one.
    std::expected<void, StoreError> remove(int n);

    // The record holding exactly these bytes, if any. Pictures stored by an
    // earlier build have no fingerprint yet: the first search takes one of
    // each (progress hears how many of how many), a cancel ends it early.
    std::expected<std::optional<int>, StoreError> findSamePicture(const QByteArray &bytes,
                                                                  const Progress &progress = {});

    // Puts a consistent copy of the open store at edbPath and the companion
    // beside it, in one step that a crash cannot tear (see LibraryFiles):
    // a failed or cancelled copy leaves the files there as they were. With
    // a setAsideSuffix those files are kept under their names with it
    // added. progress hears the bytes copied of the bytes to copy.
    std::expected<void, StoreError> copyTo(const QString &edbPath, const Progress &progress = {},
                                           const QString &setAsideSuffix = {});
    // The path of pic.edb while the store is open.
    QString path() const;

    // pic.EDT beside a pic.edb path.
    static QString companionPath(const QString &edbPath);

private:
    using Row = RowTable::Row;

    static quint64 nextVersion();

    RowTable table() const;
    std::expected<void, StoreError> loadRows();
    std::expected<void, StoreError> notOpen() const;
    // Starts a change, after checking that the store is open and unlocked
    // and, when one is given, that the record exists.
    std::expected<SqliteTransaction, StoreError> beginChange(std::optional<int> record = std::nullopt);

    std::unique_ptr<SqliteDatabase> m_db;
    QString m_path;
    // Every picture has its fingerprint: this build keeps them so once a
    // pass has taken the missing ones.
    bool m_allFingerprinted = false;
    std::vector<Row> m_rows;
    // Set for a sealed library.
    std::optional<LibraryLayout::Seal> m_seal;
    // Keyed once the library is unlocked or sealed; opening a value keeps
    // its cipher context, also for a picture read by a const method.
    mutable RowSealer m_sealer;
};
