#pragma once

#include "store/StoreError.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <functional>
#include <memory>

class SqliteDatabase;

// The two files of one library: pic.edb with the rows and pic.EDT beside it
// with the picture bytes. Both carry a random stamp of the pair they were
// made in, so that two files not made together never open as one library.
// Every step that changes both files (creating them, copying a library
// over them) builds the new files beside them and puts them in place as
// one FileStep; every open first finishes a step that a crash broke off.
class LibraryFiles
{
public:
    enum class Creation { IfNew, Never };
    struct Connection
    {
        std::unique_ptr<SqliteDatabase> db;
        bool created = false;
    };
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    explicit LibraryFiles(const QString &edbPath);

    QString edbPath() const;
    QString edtPath() const;
    static QString companionPath(const QString &edbPath);

    // Finishes (or undoes) a step over these files that a crash broke off,
    // and removes the temporaries of one that never got so far. open and
    // copyFrom do so first.
    std::expected<void, StoreError> finishBrokenStep() const;

    // Opens both files checked, as one connection with pic.EDT attached as
    // "edt". With Creation::IfNew an empty library is created where neither
    // file exists and no set-aside damaged files say that one existed.
    // Files that do not open as a library are named in the error, which
    // tells by its problem() whether they are damaged.
    std::expected<Connection, StoreError> open(Creation creation);

    // Puts a consistent copy of the library open on source in place of
    // these files, stamped as a pair of its own. With a setAsideSuffix the
    // files there are kept under their names with it added, in the same
    // step. progress hears the bytes copied of the bytes to copy; a cancel
    // or a failure leaves the files there as they were.
    std::expected<void, StoreError> copyFrom(SqliteDatabase &source, const QString &setAsideSuffix,
                                             const Progress &progress);

private:
    QString folder() const;
    QStringList temporaries() const;
    void removeTemporaries() const;
    bool hasSetAsideFiles() const;
    std::expected<void, StoreError> create();
    // Puts the new files built beside these in their place, in one step; the
    // files there are kept under their names with setAsideSuffix added, where
    // one is given.
    std::expected<void, StoreError> placeNewFiles(const QString &setAsideSuffix) const;
    std::expected<std::unique_ptr<SqliteDatabase>, StoreError> openExisting();
    std::expected<void, StoreError> checkPair(SqliteDatabase &db);
    void removeStaleSuperJournals(SqliteDatabase &db) const;

    QString m_edbPath;
};
