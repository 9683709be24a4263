#include "store/LibraryUpgrade.h"

#include "store/PairStamp.h"
#include "store/PictureFingerprint.h"
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
    "SELECT id FROM main.pictures WHERE id NOT IN (SELECT id FROM main.picture_digests)";

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

std::expected<void, StoreError> LibraryUpgrade::fingerprintEarlierPictures(const Progress &progress)
{
    auto select = m_db.statement(SelectWithoutFingerprint);
    if (!select)
        return std::unexpected(select.error());
    const auto found = (*select)->firstColumnInt64();
    if (!found)
        return std::unexpected(found.error());
    const std::vector<qint64> &ids = *found;
    for (std::size_t done = 0; done < ids.size(); ++done) {
        if (progress && !progress(qint64(done), qint64(ids.size())))
            return std::unexpected(StoreError{StoreReason::Cancelled});
        auto bytes = m_db.readBlob("edt", "picture_bytes", "data", ids[done]);
        if (!bytes)
            return std::unexpected(bytes.error());
        if (!*bytes)
            continue;
        auto transaction = SqliteTransaction::begin(m_db);
        if (!transaction)
            return std::unexpected(transaction.error());
        if (auto stored = putPictureFingerprint(m_db, ids[done], **bytes); !stored)
            return stored;
        if (auto committed = transaction->commit(); !committed)
            return committed;
    }
    return {};
}
