#include "store/RowTable.h"

#include "store/PictureFingerprint.h"
#include "store/PictureReader.h"
#include "store/RowSealer.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"

#include <QHash>

namespace {

constexpr const char *SelectRowCount = "SELECT count(*) FROM main.pictures";
// A row that an earlier build left marked as deleted stays out where the
// upgrade could not remove it (a read-only library).
constexpr const char *SelectRows = "SELECT id, name, category, 0 FROM main.pictures WHERE deleted = 0 ORDER BY id";
constexpr const char *SelectSealedRows =
    "SELECT id, name, category, sealed FROM main.pictures WHERE deleted = 0 ORDER BY id";

constexpr const char *InsertRow = "INSERT INTO main.pictures(name, category) VALUES(?1, ?2)";
// A sealed value is bound to its row, so the row's id is taken beforehand:
// the one SQLite would give it.
constexpr const char *SelectNextId = "SELECT coalesce(max(id), 0) + 1 FROM main.pictures";
constexpr const char *InsertSealedRow = "INSERT INTO main.pictures(id, name, category, sealed) VALUES(?1, ?2, ?3, 1)";
constexpr const char *SealRowTexts = "UPDATE main.pictures SET name = ?2, category = ?3, sealed = 1 WHERE id = ?1";
constexpr const char *UpdateName = "UPDATE main.pictures SET name = ?2 WHERE id = ?1";
constexpr const char *UpdateCategory = "UPDATE main.pictures SET category = ?2 WHERE id = ?1";
constexpr const char *DeleteRow = "DELETE FROM main.pictures WHERE id = ?1";

constexpr const char *InsertPicture = "INSERT INTO edt.picture_bytes(id, data) VALUES(?1, ?2)";
constexpr const char *UpdatePicture = "UPDATE edt.picture_bytes SET data = ?2 WHERE id = ?1";
constexpr const char *DeletePicture = "DELETE FROM edt.picture_bytes WHERE id = ?1";
constexpr const char *DeleteFingerprint = "DELETE FROM main.picture_digests WHERE id = ?1";

// Libraries have few categories: rows share one string per category.
using Categories = QHash<QByteArray, QString>;

QString categoryText(Categories &categories, QByteArrayView utf8)
{
    auto category = categories.constFind(QByteArray::fromRawData(utf8.data(), utf8.size()));
    if (category == categories.cend())
        category = categories.insert(utf8.toByteArray(), QString::fromUtf8(utf8));
    return *category;
}

std::expected<RowTable::Row, StoreError> readRow(const SqliteStatement &rows, RowSealer &sealer,
                                                 Categories &categories)
{
    const qint64 id = rows.columnInt64(0);
    if (rows.columnInt64(3) == 0)
        return RowTable::Row{id, rows.columnText(1), categoryText(categories, rows.columnUtf8(2)), 0, false};
    const auto name = sealer.open(RowSealer::Field::Name, id, rows.columnBlobView(1));
    const auto category = sealer.open(RowSealer::Field::Category, id, rows.columnBlobView(2));
    if (!name || !category)
        return std::unexpected(name ? category.error() : name.error());
    return RowTable::Row{id, QString::fromUtf8(*name), categoryText(categories, *category), 0, true};
}

}

RowTable::RowTable(SqliteDatabase &db, RowSealer &sealer, bool sealedLibrary)
    : m_db(db)
    , m_sealer(sealer)
    , m_sealedLibrary(sealedLibrary)
{
}

std::expected<std::vector<RowTable::Row>, StoreError> RowTable::load()
{
    const std::expected<qint64, StoreError> total = m_db.scalar(SelectRowCount);
    auto rows = m_db.statement(m_sealedLibrary ? SelectSealedRows : SelectRows);
    if (!total)
        return std::unexpected(total.error());
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<Row> loaded;
    loaded.reserve(std::size_t(*total));
    Categories categories;
    std::expected<bool, StoreError> row;
    while ((row = (*rows)->next()) && *row) {
        std::expected<Row, StoreError> read = readRow(**rows, m_sealer, categories);
        if (!read) {
            (*rows)->reset();
            return std::unexpected(read.error());
        }
        loaded.push_back(std::move(*read));
    }
    (*rows)->reset();
    if (!row)
        return std::unexpected(row.error());
    return loaded;
}

std::expected<QByteArray, StoreError> RowTable::picture(const Row &row)
{
    auto bytes = readPictureBytes(m_db, "edt", row.id);
    if (!bytes || !row.sealed)
        return bytes;
    return m_sealer.open(RowSealer::Field::Picture, row.id, *bytes);
}

std::expected<qint64, StoreError> RowTable::insert(const QString &name, const QString &category,
                                                   const QByteArray &picture)
{
    const std::expected<qint64, StoreError> id = insertTexts(name, category);
    if (!id)
        return id;
    if (auto put = putPicture(InsertPicture, *id, picture); !put)
        return std::unexpected(put.error());
    return id;
}

std::expected<qint64, StoreError> RowTable::insertTexts(const QString &name, const QString &category)
{
    if (!m_sealedLibrary) {
        if (auto inserted = m_db.run(InsertRow, name, category); !inserted)
            return std::unexpected(inserted.error());
        return m_db.lastInsertRowId();
    }
    const std::expected<qint64, StoreError> id = m_db.scalar(SelectNextId);
    if (!id)
        return id;
    if (auto put = putTexts(InsertSealedRow, *id, name, category); !put)
        return std::unexpected(put.error());
    return id;
}

std::expected<void, StoreError> RowTable::replacePicture(const Row &row, const QByteArray &picture,
                                                         const QString &category)
{
    if (auto sealed = seal(row); !sealed)
        return sealed;
    if (auto put = putPicture(UpdatePicture, row.id, picture); !put)
        return put;
    const auto stored = m_sealer.storedText(RowSealer::Field::Category, row.id, category);
    if (!stored)
        return std::unexpected(stored.error());
    return m_db.run(UpdateCategory, row.id, *stored);
}

std::expected<void, StoreError> RowTable::rename(const Row &row, const QString &name)
{
    if (auto sealed = seal(row); !sealed)
        return sealed;
    const auto stored = m_sealer.storedText(RowSealer::Field::Name, row.id, name);
    if (!stored)
        return std::unexpected(stored.error());
    return m_db.run(UpdateName, row.id, *stored);
}

std::expected<void, StoreError> RowTable::remove(qint64 id)
{
    if (auto deleted = m_db.run(DeletePicture, id); !deleted)
        return deleted;
    if (auto deleted = m_db.run(DeleteFingerprint, id); !deleted)
        return deleted;
    return m_db.run(DeleteRow, id);
}

std::expected<void, StoreError> RowTable::seal(const Row &row)
{
    if (!m_sealedLibrary || row.sealed)
        return {};
    const std::expected<QByteArray, StoreError> bytes = readPictureBytes(m_db, "edt", row.id);
    if (!bytes)
        return std::unexpected(bytes.error());
    if (auto put = putPicture(UpdatePicture, row.id, *bytes); !put)
        return put;
    return putTexts(SealRowTexts, row.id, row.name, row.category);
}

std::expected<void, StoreError> RowTable::putPicture(const char *sql, qint64 id, const QByteArray &picture)
{
    const std::expected<QByteArray, StoreError> stored = m_sealer.seal(RowSealer::Field::Picture, id, picture);
    if (!stored)
        return std::unexpected(stored.error());
    if (auto put = m_db.run(sql, id, SqliteZeroBlob{stored->size()}); !put)
        return put;
    if (auto written = m_db.writeBlob("edt", "picture_bytes", "data", id, *stored); !written)
        return written;
    return putPictureFingerprint(m_db, id, m_sealer.fingerprint(picture));
}

std::expected<void, StoreError> RowTable::putTexts(const char *sql, qint64 id, const QString &name,
                                                   const QString &category)
{
    const auto storedName = m_sealer.storedText(RowSealer::Field::Name, id, name);
    const auto storedCategory = m_sealer.storedText(RowSealer::Field::Category, id, category);
    if (!storedName || !storedCategory)
        return std::unexpected(storedName ? storedCategory.error() : storedName.error());
    return m_db.run(sql, id, *storedName, *storedCategory);
}
