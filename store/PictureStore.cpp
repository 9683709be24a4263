#include "store/PictureStore.h"

#include "seal/LibraryKey.h"
#include "seal/SealedValue.h"
#include "store/LibraryUpgrade.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>

namespace {

constexpr const char *SelectByFingerprint = "SELECT id FROM main.picture_digests WHERE digest = ?1";
constexpr const char *Compact = "VACUUM main; VACUUM edt;";

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
    auto seal = LibraryLayout::readSeal(*m_db);
    std::expected<void, StoreError> loaded;
    if (seal)
        m_seal = std::move(*seal);
    else
        loaded = std::unexpected(seal.error());
    // A sealed library waits for its key before it reads the records.
    if (loaded && !m_seal)
        loaded = loadRows();
    if (!loaded) {
        close();
        return std::unexpected(loaded.error().causing(StoreReason::Unreadable, QFileInfo(edbPath).fileName()));
    }
    return connection->created ? Opened::Created : Opened::Existing;
}

RowTable PictureStore::table() const
{
    return RowTable(*m_db, m_sealer, isSealed());
}

std::expected<void, StoreError> PictureStore::loadRows()
{
    std::expected<std::vector<Row>, StoreError> loaded = table().load();
    if (!loaded)
        return std::unexpected(loaded.error());
    m_rows = std::move(*loaded);
    for (Row &row : m_rows)
        row.version = nextVersion();
    return {};
}

void PictureStore::close()
{
    m_allFingerprinted = false;
    m_db.reset();
    m_path.clear();
    m_rows = {};
    m_seal.reset();
    m_sealer = RowSealer();
}

bool PictureStore::isOpen() const
{
    return m_db != nullptr;
}

int PictureStore::count() const
{
    return int(m_rows.size());
}

int PictureStore::storedCount() const
{
    if (!isLocked())
        return count();
    return int(m_db->scalar("SELECT count(*) FROM main.pictures WHERE deleted = 0").value_or(0));
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
    return table().picture(m_rows[std::size_t(n - 1)]);
}

PictureStore::PictureRef PictureStore::pictureRef(int n) const
{
    if (!isRecord(n))
        return {};
    const Row &row = m_rows[std::size_t(n - 1)];
    return {row.id, row.version, row.sealed ? m_sealer.key() : nullptr};
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
    // Room for the seal also in a plain library, which may be sealed later.
    return m_db ? m_db->lengthLimit() - SealedValue::Overhead : 0;
}

bool PictureStore::isSealed() const
{
    return m_seal.has_value();
}

bool PictureStore::isLocked() const
{
    return m_seal && !m_sealer.seals();
}

QByteArray PictureStore::keyIdentifier() const
{
    return m_seal ? m_seal->keyIdentifier : QByteArray();
}

QString PictureStore::recoverySlot() const
{
    return m_seal ? m_seal->recoverySlot : QString();
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
        const std::expected<qint64, StoreError> id = table().insert(record.name, record.category, record.picture);
        if (!id)
            return std::unexpected(id.error());
        added.push_back(Row{*id, record.name, record.category, nextVersion(), isSealed()});
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
    if (auto replaced = table().replacePicture(row, picture, category); !replaced)
        return replaced;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    row.category = category;
    row.version = nextVersion();
    row.sealed = isSealed();
    return {};
}

std::expected<void, StoreError> PictureStore::rename(int n, const QString &name)
{
    auto transaction = beginChange(n);
    if (!transaction)
        return std::unexpected(transaction.error());
    Row &row = m_rows[std::size_t(n - 1)];
    if (auto renamed = table().rename(row, name); !renamed)
        return renamed;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    row.name = name;
    // Bytes sealed now are read another way.
    if (row.sealed != isSealed())
        row.version = nextVersion();
    row.sealed = isSealed();
    return {};
}

std::expected<void, StoreError> PictureStore::remove(int n)
{
    auto transaction = beginChange(n);
    if (!transaction)
        return std::unexpected(transaction.error());
    if (auto removed = table().remove(m_rows[std::size_t(n - 1)].id); !removed)
        return removed;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    m_rows.erase(m_rows.begin() + (n - 1));
    return {};
}

std::expected<void, StoreError> PictureStore::unlock(std::shared_ptr<const LibraryKey> key)
{
    if (!m_db)
        return notOpen();
    if (!m_seal)
        return std::unexpected(StoreError{StoreReason::NotSealed});
    if (!key || key->identifier() != m_seal->keyIdentifier)
        return std::unexpected(StoreError{StoreReason::KeyMismatch});
    if (!isLocked())
        return {};
    m_sealer = RowSealer(std::move(key));
    if (auto loaded = loadRows(); !loaded) {
        m_sealer = RowSealer();
        return loaded;
    }
    return {};
}

std::expected<void, StoreError> PictureStore::seal(std::shared_ptr<const LibraryKey> key, const QString &recoverySlot)
{
    if (m_seal)
        return std::unexpected(StoreError{StoreReason::AlreadySealed});
    if (!key)
        return std::unexpected(StoreError{StoreReason::KeyMismatch});
    auto transaction = beginChange();
    if (!transaction)
        return std::unexpected(transaction.error());
    LibraryLayout::Seal seal{key->identifier(), recoverySlot};
    if (auto added = LibraryLayout::addSeal(*m_db, seal); !added)
        return added;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    m_seal = std::move(seal);
    m_sealer = RowSealer(std::move(key));
    // The plain fingerprints are gone; keyed ones are taken when needed.
    m_allFingerprinted = false;
    return {};
}

int PictureStore::unsealedCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const Row &row) { return !row.sealed; }));
}

std::expected<void, StoreError> PictureStore::sealSome(int count, const Progress &progress)
{
    auto transaction = beginChange();
    if (!transaction)
        return std::unexpected(transaction.error());
    if (!m_seal)
        return std::unexpected(StoreError{StoreReason::NotSealed});
    std::vector<Row *> batch;
    for (auto row = m_rows.begin(); row != m_rows.end() && int(batch.size()) < count; ++row) {
        if (!row->sealed)
            batch.push_back(&*row);
    }
    for (std::size_t done = 0; done < batch.size(); ++done) {
        if (progress && !progress(qint64(done), qint64(batch.size())))
            return std::unexpected(StoreError{StoreReason::Cancelled});
        if (auto sealed = table().seal(*batch[done]); !sealed)
            return sealed;
    }
    if (auto committed = transaction->commit(); !committed)
        return committed;
    for (Row *row : batch) {
        row->sealed = true;
        row->version = nextVersion();
    }
    return {};
}

std::expected<void, StoreError> PictureStore::compact()
{
    if (!m_db)
        return notOpen();
    return m_db->exec(Compact);
}

std::expected<SqliteTransaction, StoreError> PictureStore::beginChange(std::optional<int> record)
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (isLocked())
        return std::unexpected(StoreError{StoreReason::Locked});
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
    if (isLocked())
        return std::unexpected(StoreError{StoreReason::Locked});
    if (!m_allFingerprinted) {
        if (auto fingerprinted = LibraryUpgrade(*m_db).fingerprintEarlierPictures(progress, m_sealer); !fingerprinted)
            return std::unexpected(fingerprinted.error());
        m_allFingerprinted = true;
    }
    auto select = m_db->statement(SelectByFingerprint);
    if (!select)
        return std::unexpected(select.error());
    const auto candidates = (*select)->bind(1, QByteArrayView(m_sealer.fingerprint(bytes))).firstColumnInt64();
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
