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
constexpr qint64 SchemaVersion = 1;

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

constexpr const char *SelectLayout = "SELECT group_concat(name || ' ' || type || ' ' || pk, ',')"
                                     " FROM (SELECT * FROM pragma_table_info(?1, ?2) ORDER BY cid)";

struct FileLayout
{
    qint32 applicationId;
    const char *versionQuery;
    QStringView schema;
    QStringView table;
    const char *columns;
};

constexpr FileLayout RowsFile{RowsApplicationId, "PRAGMA main.user_version", u"main", u"pictures",
                              "id INTEGER 1,name TEXT 0,category TEXT 0,deleted INTEGER 0"};
constexpr FileLayout BytesFile{BytesApplicationId, "PRAGMA edt.user_version", u"edt", u"picture_bytes",
                               "id INTEGER 1,data BLOB 0"};

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
    auto statement = db.statement(SelectLayout);
    if (!statement)
        return unreadable(path, statement.error());
    const auto row = (*statement)->bind(1, layout.table).bind(2, layout.schema).next();
    if (!row)
        return unreadable(path, row.error());
    const QString columns = *row ? (*statement)->columnText(0) : QString();
    (*statement)->reset();
    if (*version > SchemaVersion)
        return failure(StoreReason::NewerBuild, path);
    if (*version != SchemaVersion || columns != QLatin1StringView(layout.columns))
        return failure(StoreReason::NoTables, path);
    return {};
}

std::expected<void, StoreError> createTables(SqliteDatabase &db)
{
    return db.exec(CreateSchema);
}

}
