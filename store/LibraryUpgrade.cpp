#include "store/LibraryUpgrade.h"

#include "store/PairStamp.h"
#include "store/PictureFingerprint.h"
#include "store/RowSealer.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"
#include "store/StoreLog.h"

#include <vector>

namespace {

constexpr const char *SelectMarkedCount = "SELECT count(*) FROM main.pictures WHERE deleted <> 0";
constexpr const char *PurgeMarked =
    "DELETE FROM edt.picture_bytes WHERE id IN (SELECT id FROM main.pictures WHERE deleted <> 0);"
    "DELETE FROM main.pictures WHERE deleted <> 0;";

constexpr const char *SelectFingerprintTable =
    "SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND name = 'picture_digests'";
constexpr const char *CreateFingerprints =
    "CREATE TABLE IF NOT EXISTS main.picture_digests(id INTEGER PRIMARY KEY, digest BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS main.picture_digests_by_digest ON picture_digests(digest);";
constexpr const char *SelectWithoutFingerprint =
    "SELECT id, 0 FROM main.pictures WHERE id NOT IN (SELECT id FROM main.picture_digests)";
constexpr const char *SelectSealedWithoutFingerprint =
    "SELECT id, sealed FROM main.pictures WHERE id NOT IN (SELECT id FROM main.picture_digests)";

struct Unfingerprinted
{
    qint64 id = 0;
    bool sealed = false;
};

std::expected<std::vector<Unfingerprinted>, StoreError> withoutFingerprint(SqliteDatabase &db, bool sealedLibrary)
{
    auto select = db.statement(sealedLibrary ? SelectSealedWithoutFingerprint : SelectWithoutFingerprint);
    if (!select)
        return std::unexpected(select.error());
    std::vector<Unfingerprinted> found;
    std::expected<bool, StoreError> row;
    while ((row = (*select)->next()) && *row)
        found.push_back({(*select)->columnInt64(0), (*select)->columnInt64(1) != 0});
    (*select)->reset();
    if (!row)
        return std::unexpected(row.error());
    return found;
}

}

LibraryUpgrade::LibraryUpgrade(SqliteDatabase &db)
    : m_db(db)
{
}

void LibraryUpgrade::stampPair()
{
    auto transaction = SqliteTransaction::begin(m_db);
    const bool stamped = transaction && writePairStamp(m_db) && transaction->commit();
    qCInfo(lcStore) << "a library of an earlier build" << (stamped ? "is stamped" : "stays unstamped");
}

// Where the purge cannot be written, PictureStore leaves the marked rows
// out all the same.
void LibraryUpgrade::purgeMarkedRows()
{
    const std::expected<qint64, StoreError> marked = m_db.scalar(SelectMarkedCount);
    if (!marked || *marked == 0)
        return;
    bool purged = false;
    if (auto transaction = SqliteTransaction::begin(m_db))
        purged = m_db.exec(PurgeMarked) && transaction->commit();
    qCInfo(lcStore) << "rows left marked as deleted:" << *marked << (purged ? "removed" : "left in place");
}

// Without the table, searches for the same picture find nothing.
void LibraryUpgrade::addFingerprintTable()
{
    const std::expected<qint64, StoreError> present = m_db.scalar(SelectFingerprintTable);
    if (!present || *present > 0)
        return;
    auto transaction = SqliteTransaction::begin(m_db);
    const bool added = transaction && m_db.exec(CreateFingerprints) && transaction->commit();
    qCInfo(lcStore) << "fingerprint table" << (added ? "added" : "not added");
}

std::expected<void, StoreError> LibraryUpgrade::fingerprintEarlierPictures(const Progress &progress,
                                                                          RowSealer &sealer)
{
    const auto found = withoutFingerprint(m_db, sealer.seals());
    if (!found)
        return std::unexpected(found.error());
    const std::vector<Unfingerprinted> &rows = *found;
    for (std::size_t done = 0; done < rows.size(); ++done) {
        if (progress && !progress(qint64(done), qint64(rows.size())))
            return std::unexpected(StoreError{StoreReason::Cancelled});
        const qint64 id = rows[done].id;
        auto bytes = m_db.readBlob("edt", "picture_bytes", "data", id);
        if (!bytes)
            return std::unexpected(bytes.error());
        if (!*bytes)
            continue;
        auto plain = rows[done].sealed ? sealer.open(RowSealer::Field::Picture, id, **bytes) : std::move(**bytes);
        if (!plain)
            return std::unexpected(plain.error());
        auto transaction = SqliteTransaction::begin(m_db);
        if (!transaction)
            return std::unexpected(transaction.error());
        if (auto stored = putPictureFingerprint(m_db, id, sealer.fingerprint(*plain)); !stored)
            return stored;
        if (auto committed = transaction->commit(); !committed)
            return committed;
    }
    return {};
}
