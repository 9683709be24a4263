#include "store/LibraryLayout.h"

#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"
#include "store/StoreLog.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace LibraryLayout {

namespace {

constexpr qint32 RowsApplicationId = 0x4C4D4252; // "LMBR"
constexpr qint32 BytesApplicationId = 0x4C4D4242; // "LMBB"
constexpr qint64 PlainVersion = 1;
constexpr qint64 SealedVersion = 2;

// The "deleted" column is kept for the files of earlier builds, which
// marked rows before removing them; this build never marks a row.
constexpr const char *CreateSchema =
    "PRAGMA main.application_id = 1280131666;"
    "PRAGMA main.user_version = 1;"
    "CREATE TABLE main.pictures(id INTEGER PRIMARY KEY, name TEXT NOT NULL,"
    " category TEXT NOT NULL, deleted INTEGER NOT NULL DEFAULT 0);"
    "PRAGMA edt.application_id = 1280131650;"
    "PRAGMA edt.user_version = 1;"
    "CREATE TABLE edt.picture_bytes(id INTEGER PRIMARY KEY, data BLOB NOT NULL);";
static_assert(RowsApplicationId == 1280131666 && BytesApplicationId == 1280131650);

constexpr const char *AddSealSchema =
    "ALTER TABLE main.pictures ADD COLUMN sealed INTEGER NOT NULL DEFAULT 0;"
    "CREATE TABLE main.library_seal(key_id BLOB NOT NULL, recovery_slot TEXT NOT NULL);"
    "DELETE FROM main.picture_digests;"
    "PRAGMA main.user_version = 2;"
    "PRAGMA edt.user_version = 2;";
constexpr const char *InsertSeal = "INSERT INTO main.library_seal(key_id, recovery_slot) VALUES(?1, ?2)";
constexpr const char *SelectSeal = "SELECT key_id, recovery_slot FROM main.library_seal";
constexpr const char *SelectSealCount = "SELECT count(*) FROM main.library_seal";

constexpr const char *SelectLayout = "SELECT group_concat(name || ' ' || type || ' ' || pk, ',')"
                                     " FROM (SELECT * FROM pragma_table_info(?1, ?2) ORDER BY cid)";

struct FileLayout
{
    qint32 applicationId;
    const char *versionQuery;
    QStringView schema;
    QStringView table;
    const char *plainColumns;
    const char *sealedColumns;
    // A table that only a sealed library has, and its columns.
    QStringView sealTable;
    const char *sealTableColumns;
};

constexpr FileLayout RowsFile{RowsApplicationId,
                              "PRAGMA main.user_version",
                              u"main",
                              u"pictures",
                              "id INTEGER 1,name TEXT 0,category TEXT 0,deleted INTEGER 0",
                              "id INTEGER 1,name TEXT 0,category TEXT 0,deleted INTEGER 0,sealed INTEGER 0",
                              u"library_seal",
                              "key_id BLOB 0,recovery_slot TEXT 0"};
constexpr FileLayout BytesFile{BytesApplicationId,
                               "PRAGMA edt.user_version",
                               u"edt",
                               u"picture_bytes",
                               "id INTEGER 1,data BLOB 0",
                               "id INTEGER 1,data BLOB 0",
                               {},
                               ""};

const FileLayout &layoutOf(File file)
{
    return file == File::Rows ? RowsFile : BytesFile;
}

std::unexpected<StoreError> failure(StoreReason reason, const QString &path)
{
    return std::unexpected(StoreError{reason, QFileInfo(path).fileName()});
}

std::unexpected<StoreError> unreadable(const QString &path, const StoreError &cause)
{
    return std::unexpected(cause.causing(StoreReason::Unreadable, QFileInfo(path).fileName()));
}

// The columns of a table as "name type pk,…"; empty for no table.
std::expected<QString, StoreError> columnsOf(SqliteDatabase &db, QStringView schema, QStringView table)
{
    auto statement = db.statement(SelectLayout);
    if (!statement)
        return std::unexpected(statement.error());
    const auto row = (*statement)->bind(1, table).bind(2, schema).next();
    if (!row)
        return std::unexpected(row.error());
    QString columns = *row ? (*statement)->columnText(0) : QString();
    (*statement)->reset();
    return columns;
}

}

std::expected<void, StoreError> checkHeader(File file, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return failure(StoreReason::NotAFile, path);
    QFile opened(path);
    if (!opened.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "cannot read" << path << ":" << opened.errorString();
        return failure(StoreReason::Unreadable, path);
    }
    const QByteArray header = opened.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return failure(StoreReason::NotALibraryFile, path);
    if (qFromBigEndian<qint32>(header.constData() + 68) != layoutOf(file).applicationId)
        return failure(StoreReason::ForeignFile, path);
    // Bytes 18 and 19 are 1 for rollback-journal files and 2 for WAL files.
    if (header.at(18) != 1 || header.at(19) != 1)
        return failure(StoreReason::WalFile, path);
    return {};
}

std::expected<void, StoreError> checkTables(SqliteDatabase &db, File file, const QString &path)
{
    const FileLayout &layout = layoutOf(file);
    const std::expected<qint64, StoreError> version = db.scalar(layout.versionQuery);
    if (!version)
        return unreadable(path, version.error());
    const std::expected<QString, StoreError> columns = columnsOf(db, layout.schema, layout.table);
    if (!columns)
        return unreadable(path, columns.error());
    const std::expected<QString, StoreError> sealColumns =
        layout.sealTable.isEmpty() ? QString() : columnsOf(db, layout.schema, layout.sealTable);
    if (!sealColumns)
        return unreadable(path, sealColumns.error());
    if (*version > SealedVersion)
        return failure(StoreReason::NewerBuild, path);
    const bool plain = *version == PlainVersion && *columns == QLatin1StringView(layout.plainColumns);
    const bool sealed = *version == SealedVersion && *columns == QLatin1StringView(layout.sealedColumns)
        && *sealColumns == QLatin1StringView(layout.sealTableColumns);
    if (!plain && !sealed)
        return failure(StoreReason::NoTables, path);
    return {};
}

std::expected<void, StoreError> createTables(SqliteDatabase &db)
{
    return db.exec(CreateSchema);
}

std::expected<std::optional<Seal>, StoreError> readSeal(SqliteDatabase &db)
{
    const std::expected<qint64, StoreError> version = db.scalar(RowsFile.versionQuery);
    if (!version)
        return std::unexpected(version.error());
    if (*version != SealedVersion)
        return std::optional<Seal>();
    // One seal: without it, or with two, the key of the library is unknown.
    if (db.scalar(SelectSealCount).value_or(0) != 1)
        return std::unexpected(StoreError{StoreReason::Damaged});
    auto statement = db.statement(SelectSeal);
    if (!statement)
        return std::unexpected(statement.error());
    if (const auto row = (*statement)->next(); !row)
        return std::unexpected(row.error());
    Seal seal{(*statement)->columnBlob(0), (*statement)->columnText(1)};
    (*statement)->reset();
    return std::optional<Seal>(std::move(seal));
}

std::expected<void, StoreError> addSeal(SqliteDatabase &db, const Seal &seal)
{
    if (auto added = db.exec(AddSealSchema); !added)
        return added;
    return db.run(InsertSeal, QByteArrayView(seal.keyIdentifier), seal.recoverySlot);
}

}
