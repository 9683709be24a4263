#pragma once

#include "store/LibraryFiles.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

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
class PictureStore
{
public:
    enum class Opened { Existing, Created };

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
    // What a reader needs to read the bytes of record n on its own: the row
    // and a version that changes whenever the bytes do (0 for no record).
    struct PictureRef
    {
        qint64 id = 0;
        quint64 version = 0;
    };
    PictureRef pictureRef(int n) const;
    // pic.EDT of the open store.
    QString picturesPath() const;

    // The largest picture, in bytes, that the store takes.
    qint64 pictureSizeLimit() const;

    // Adds records at the end, all in one commit.
    std::expected<void, StoreError> append(const std::vector<NewRecord> &records);
    std::expected<void, StoreError> append(const NewRecord &record);
    // Gives record n new bytes and the category of the file they came from.
    std::expected<void, StoreError> replacePicture(int n, const QByteArray &picture, const QString &category);
    std::expected<void, StoreError> rename(int n, const QString &name);
    // Removes record n and its bytes; the records behind it move down by one.
    std::expected<void, StoreError> remove(int n);

    // Hears how much of a long piece of work is done, of how much; false
    // cancels the work.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

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
    struct Row
    {
        qint64 id = 0;
        QString name;
        QString category;
        quint64 version = 0;
    };

    static quint64 nextVersion();

    std::expected<void, StoreError> loadRows();
    std::expected<void, StoreError> notOpen() const;
    // Starts a change, after checking that the store is open and, when one
    // is given, that the record exists.
    std::expected<SqliteTransaction, StoreError> beginChange(std::optional<int> record = std::nullopt);

    std::unique_ptr<SqliteDatabase> m_db;
    QString m_path;
    // Every picture has its fingerprint: this build keeps them so once a
    // pass has taken the missing ones.
    bool m_allFingerprinted = false;
    std::vector<Row> m_rows;
};
