#pragma once

#include "store/StoreError.h"

#include <expected>
#include <functional>

class RowSealer;
class SqliteDatabase;

// Brings a library that earlier builds wrote up to what this build keeps,
// on a connection to pic.edb with pic.EDT attached as "edt": a stamp of
// the pair, no row left marked as deleted, and a fingerprint of every
// picture. A library that cannot be written does without the stamp, the
// purge and the fingerprint table, and opens all the same.
class LibraryUpgrade
{
public:
    // Hears how many pictures are done of how many; false cancels.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    explicit LibraryUpgrade(SqliteDatabase &db);

    // Gives both files of a pair made before stamps one stamp.
    void stampPair();
    // Earlier builds removed a picture in two commits, marking its row
    // first: a row left marked goes now, with its bytes.
    void purgeMarkedRows();
    // Adds the fingerprint table where it is missing: in the libraries of
    // earlier builds, and in new ones, which start with the first layout.
    void addFingerprintTable();
    // Takes the fingerprint of every picture stored without one, each in a
    // commit of its own. In a sealed library the sealer opens the sealed
    // rows and keys the fingerprints.
    std::expected<void, StoreError> fingerprintEarlierPictures(const Progress &progress, RowSealer &sealer);

private:
    SqliteDatabase &m_db;
};
