#include "store/PictureStore.h"

#include "store/LibraryUpgrade.h"
#include "store/PictureFingerprint.h"
#include "store/PictureReader.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"
#include "store/StoreLog.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <atomic>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *DeleteFingerprint = "DELETE FROM main.picture_digests WHERE id = ?1";
constexpr const char *SelectByFingerprint = "SELECT id FROM main.picture_digests WHERE digest = ?1";

constexpr const char *SelectRowCount = "SELECT count(*) FROM main.pictures";
// A row that an earlier build left marked as deleted stays out where the
// upgrade could not remove it (a read-only library).
constexpr const char *SelectRows = "SELECT id, name, category FROM main.pictures WHERE deleted = 0 ORDER BY id";
constexpr const char *InsertRow = "INSERT INTO main.pictures(name, category) VALUES(?1, ?2)";
constexpr const char *InsertPicture = "INSERT INTO edt.picture_bytes(id, data) VALUES(?1, ?2)";
constexpr const char *UpdateName = "UPDATE main.pictures SET name = ?2 WHERE id = ?1";
constexpr const char *UpdateCategory = "UPDATE main.pictures SET category = ?2 WHERE id = ?1";
constexpr const char *UpdatePicture = "UPDATE edt.picture_bytes SET data = ?2 WHERE id = ?1";
constexpr const char *DeleteRow = "DELETE FROM main.pictures WHERE id = ?1";
constexpr const char *DeletePicture = "DELETE FROM edt.picture_bytes WHERE id = ?1";

}

PictureStore::PictureStore() = default;

PictureStore::~PictureStore() = default;

QString PictureStore::companionPath(const QString &edbPath)
{
    return LibraryFiles::companionPath(edbPath);
}

std::expected<PictureStore::Opened, StoreError> PictureStore::open(const QString &edbPath,
                                                                   LibraryFiles::Creation creation)
{
    close();
    auto connection = LibraryFiles(edbPath).open(creation);
    if (!connection)
        return std::unexpected(connection.error());
    m_db = std::move(connection->db);
    m_path = edbPath;
    LibraryUpgrade upgrade(*m_db);
    upgrade.purgeMarkedRows();
    upgrade.addFingerprintTable();
    if (auto loaded = loadRows(); !loaded) {
        close();
        return std::unexpected(loaded.error().causing(StoreReason::Unreadable, QFileInfo(edbPath).fileName()));
    }
    return connection->created ? Opened::Created : Opened::Existing;
}

std::expected<void, StoreError> PictureStore::loadRows()
{
    const std::expected<qint64, StoreError> total = m_db->scalar(SelectRowCount);
    auto rows = m_db->statement(SelectRows);
    if (!total)
        return std::unexpected(total.error());
    if (!rows)
        return std::unexpected(rows.error());
    m_rows.reserve(std::size_t(*total));
    // Libraries have few categories: rows share one string per category.
    QHash<QByteArray, QString> categories;
    std::expected<bool, StoreError> row;
    while ((row = (*rows)->next()) && *row) {
        const QByteArrayView utf8 = (*rows)->columnUtf8(2);
        auto category = categories.constFind(QByteArray::fromRawData(utf8.data(), utf8.size()));
        if (category == categories.cend())
            category = categories.insert(utf8.toByteArray(), QString::fromUtf8(utf8));
        m_rows.push_back(Row{(*rows)->columnInt64(0), (*rows)->columnText(1), *category, nextVersion()});
    }
    (*rows)->reset();
    if (!row)
        return std::unexpected(row.error());
    return {};
}

void PictureStore::close()
{
    m_allFingerprinted = false;
    m_db.reset();
    m_path.clear();
    m_rows = {};
}

bool PictureStore::isOpen() const
{
    return m_db != nullptr;
}

int PictureStore::count() const
{
    return int(m_rows.size());
}

bool PictureStore::isRecord(int n) const
{
    return n >= 1 && std::size_t(n) <= m_rows.size();
}

QString PictureStore::name(int n) const
{
    return isRecord(n) ? m_rows[std::size_t(n - 1)].name : QString();
}

QString PictureStore::category(int n) const
{
    return isRecord(n) ? m_rows[std::size_t(n - 1)].category : QString();
}

std::expected<void, StoreError> PictureStore::notOpen() const
{
    return std::unexpected(StoreError{StoreReason::NotOpen});
}

std::expected<QByteArray, StoreError> PictureStore::picture(int n) const
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (!isRecord(n))
        return std::unexpected(StoreError{StoreReason::NoSuchRecord, QString::number(n)});
    return readPictureBytes(*m_db, "edt", m_rows[std::size_t(n - 1)].id);
}

PictureStore::PictureRef PictureStore::pictureRef(int n) const
{
    if (!isRecord(n))
        return {};
    const Row &row = m_rows[std::size_t(n - 1)];
    return {row.id, row.version};
}

QString PictureStore::picturesPath() const
{
    return m_path.isEmpty() ? QString() : companionPath(m_path);
}

quint64 PictureStore::nextVersion()
{
    // Unique in the process, so no two stores' pictures share one.
    static std::atomic<quint64> last = 0;
    return ++last;
}

qint64 PictureStore::pictureSizeLimit() const
{
    return m_db ? m_db->lengthLimit() : 0;
}

std::expected<void, StoreError> PictureStore::append(const NewRecord &record)
{
    return append(std::vector<NewRecord>{record});
}

std::expected<void, StoreError> PictureStore::append(const std::vector<NewRecord> &records)
{
    auto transaction = beginChange();
    if (!transaction)
        return std::unexpected(transaction.error());
    std::vector<Row> added;
    added.reserve(records.size());
    for (const NewRecord &record : records) {
        if (auto inserted = m_db->run(InsertRow, record.name, record.category); !inserted)
            return inserted;
        const qint64 id = m_db->lastInsertRowId();
        if (auto inserted = m_db->run(InsertPicture, id, SqliteZeroBlob{record.picture.size()}); !inserted)
            return inserted;
        if (auto written = m_db->writeBlob("edt", "picture_bytes", "data", id, record.picture); !written)
            return written;
        if (auto stored = putPictureFingerprint(*m_db, id, record.picture); !stored)
            return stored;
        added.push_back(Row{id, record.name, record.category, nextVersion()});
    }
    if (auto committed = transaction->commit(); !committed)
        return committed;
    m_rows.insert(m_rows.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    return {};
}

std::expected<void, StoreError> PictureStore::replacePicture(int n, const QByteArray &picture, const QString &category)
{
    auto transaction = beginChange(n);
    if (!transaction)
        return std::unexpected(transaction.error());
    Row &row = m_rows[std::size_t(n - 1)];
    if (auto updated = m_db->run(UpdatePicture, row.id, SqliteZeroBlob{picture.size()}); !updated)
        return updated;
    if (auto written = m_db->writeBlob("edt", "picture_bytes", "data", row.id, picture); !written)
        return written;
    if (auto stored = putPictureFingerprint(*m_db, row.id, picture); !stored)
        return stored;
    if (auto updated = m_db->run(UpdateCategory, row.id, category); !updated)
        return updated;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    row.category = category;
    row.version = nextVersion();
    return {};
}

std::expected<void, StoreError> PictureStore::rename(int n, const QString &name)
{
    auto transaction = beginChange(n);
    if (!transaction)
        return std::unexpected(transaction.error());
    Row &row = m_rows[std::size_t(n - 1)];
    if (auto updated = m_db->run(UpdateName, row.id, name); !updated)
        return updated;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    row.name = name;
    return {};
}

std::expected<void, StoreError> PictureStore::remove(int n)
{
    auto transaction = beginChange(n);
    if (!transaction)
        return std::unexpected(transaction.error());
    const qint64 id = m_rows[std::size_t(n - 1)].id;
    if (auto deleted = m_db->run(DeletePicture, id); !deleted)
        return deleted;
    if (auto deleted = m_db->run(DeleteFingerprint, id); !deleted)
        return deleted;
    if (auto deleted = m_db->run(DeleteRow, id); !deleted)
        return deleted;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    m_rows.erase(m_rows.begin() + (n - 1));
    return {};
}

std::expected<SqliteTransaction, StoreError> PictureStore::beginChange(std::optional<int> record)
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (record && !isRecord(*record))
        return std::unexpected(StoreError{StoreReason::NoSuchRecord, QString::number(*record)});
    return SqliteTransaction::begin(*m_db);
}

std::expected<void, StoreError> PictureStore::copyTo(const QString &edbPath, const Progress &progress,
                                                     const QString &setAsideSuffix)
{
    if (!m_db)
        return notOpen();
    return LibraryFiles(edbPath).copyFrom(*m_db, setAsideSuffix, progress);
}

std::expected<std::optional<int>, StoreError> PictureStore::findSamePicture(const QByteArray &bytes,
                                                                            const Progress &progress)
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (!m_allFingerprinted) {
        if (auto fingerprinted = LibraryUpgrade(*m_db).fingerprintEarlierPictures(progress); !fingerprinted)
            return std::unexpected(fingerprinted.error());
        m_allFingerprinted = true;
    }
    auto select = m_db->statement(SelectByFingerprint);
    if (!select)
        return std::unexpected(select.error());
    const auto candidates = (*select)->bind(1, QByteArrayView(pictureFingerprint(bytes))).firstColumnInt64();
    if (!candidates)
        return std::unexpected(candidates.error());
    for (qint64 id : *candidates) {
        const auto found = std::find_if(m_rows.begin(), m_rows.end(), [id](const Row &r) { return r.id == id; });
        if (found == m_rows.end())
            continue;
        const int record = int(found - m_rows.begin()) + 1;
        // A fingerprint left stale by an earlier build must not pass for a match.
        if (picture(record).value_or(QByteArray()) == bytes)
            return std::optional<int>(record);
    }
    return std::optional<int>();
}

QString PictureStore::path() const
{
    return m_path;
}
