#include "store/PictureStore.h"

#include "store/PictureReader.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"
#include "store/StoreLog.h"
#include "store/StoreTexts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QtEndian>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Written into the SQLite header of each file so that another program's
// database, or the two files swapped, are recognised before anything is written.
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
// A fingerprint of every picture's bytes, so that a picture already in the
// library is found without reading the others. Stores of earlier builds
// get the table at their next open; their pictures get fingerprints when a
// search first needs them.
constexpr const char *CreateFingerprints =
    "CREATE TABLE IF NOT EXISTS main.picture_digests(id INTEGER PRIMARY KEY, digest BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS main.picture_digests_by_digest ON picture_digests(digest);";
constexpr const char *SelectFingerprintTable =
    "SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND name = 'picture_digests'";
constexpr const char *PutFingerprint = "INSERT OR REPLACE INTO main.picture_digests(id, digest) VALUES(?1, ?2)";
constexpr const char *DeleteFingerprint = "DELETE FROM main.picture_digests WHERE id = ?1";
constexpr const char *SelectByFingerprint = "SELECT id FROM main.picture_digests WHERE digest = ?1";
constexpr const char *SelectWithoutFingerprint =
    "SELECT id FROM main.pictures WHERE id NOT IN (SELECT id FROM main.picture_digests)";

QByteArray fingerprintOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}
static_assert(RowsApplicationId == 1280131666 && BytesApplicationId == 1280131650);

// Rollback journals on both files make a transaction over both atomic
// through a super-journal; WAL would not.
constexpr const char *ConfigureJournals = "PRAGMA main.journal_mode = DELETE;"
                                          "PRAGMA edt.journal_mode = DELETE;"
                                          "PRAGMA main.synchronous = FULL;"
                                          "PRAGMA edt.synchronous = FULL;";
// Waits out a commit of another process instead of failing at once.
constexpr const char *BusyTimeout = "PRAGMA busy_timeout = 3000";
// Large pages keep the overflow chain of a multi-megabyte picture short.
constexpr const char *BytesPageSize = "PRAGMA edt.page_size = 65536";
// Rows are served from memory, so SQLite reads pic.edb mostly once, at open;
// a small cache keeps that read from filling memory with pages never reused.
constexpr const char *ConfigureRowsCache = "PRAGMA main.cache_size = -256";

constexpr const char *SelectLayout = "SELECT group_concat(name || ' ' || type || ' ' || pk, ',')"
                                     " FROM (SELECT * FROM pragma_table_info(?1, ?2) ORDER BY cid)";
constexpr const char *SelectRowCount = "SELECT count(*) FROM main.pictures";
constexpr const char *SelectRows = "SELECT id, name, category FROM main.pictures WHERE deleted = 0 ORDER BY id";
constexpr const char *SelectMarkedCount = "SELECT count(*) FROM main.pictures WHERE deleted <> 0";
constexpr const char *PurgeMarked =
    "DELETE FROM edt.picture_bytes WHERE id IN (SELECT id FROM main.pictures WHERE deleted <> 0);"
    "DELETE FROM main.pictures WHERE deleted <> 0;";
constexpr const char *InsertRow = "INSERT INTO main.pictures(name, category) VALUES(?1, ?2)";
constexpr const char *InsertPicture = "INSERT INTO edt.picture_bytes(id, data) VALUES(?1, ?2)";
constexpr const char *UpdateName = "UPDATE main.pictures SET name = ?2 WHERE id = ?1";
constexpr const char *UpdateCategory = "UPDATE main.pictures SET category = ?2 WHERE id = ?1";
constexpr const char *UpdatePicture = "UPDATE edt.picture_bytes SET data = ?2 WHERE id = ?1";
constexpr const char *DeleteRow = "DELETE FROM main.pictures WHERE id = ?1";
constexpr const char *DeletePicture = "DELETE FROM edt.picture_bytes WHERE id = ?1";

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool pathExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A commit killed before it modified either file leaves its super-journal
// behind ("<file>-mj" and nine hex digits). SQLite never needs it again.
QStringList superJournals(const QString &dbPath)
{
    const QFileInfo info(dbPath);
    const QString prefix = info.fileName() + u"-mj"_s;
    QStringList found;
    for (const QString &name : info.dir().entryList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        const QStringView suffix = QStringView(name).sliced(prefix.size());
        const bool isHex = std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
        });
        if (suffix.size() == 9 && isHex)
            found.append(info.dir().filePath(name));
    }
    return found;
}

// Reads the SQLite header directly, so that a file which is not ours is
// rejected before SQLite could touch it.
std::expected<void, QString> checkHeader(const QString &path, qint32 applicationId)
{
    const QString name = fileName(path);
    if (!QFileInfo(path).isFile())
        return std::unexpected(StoreText::NotAFile.arg(name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "cannot read" << path << ":" << file.errorString();
        return std::unexpected(StoreText::Unreadable.arg(name));
    }
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return std::unexpected(StoreText::NotALibraryFile.arg(name));
    if (qFromBigEndian<qint32>(header.constData() + 68) != applicationId)
        return std::unexpected(StoreText::ForeignFile.arg(name));
    // Bytes 18 and 19 are 1 for rollback-journal files and 2 for WAL files.
    if (header.at(18) != 1 || header.at(19) != 1)
        return std::unexpected(StoreText::WalFile.arg(name));
    return {};
}

std::expected<void, QString> attach(SqliteDatabase &db, const QString &edtPath)
{
    return db.run("ATTACH DATABASE ?1 AS edt", edtPath);
}

std::expected<qint64, QString> queryInt(SqliteDatabase &db, const char *sql)
{
    auto statement = db.statement(sql);
    if (!statement)
        return std::unexpected(statement.error());
    auto row = (*statement)->next();
    if (!row)
        return std::unexpected(row.error());
    const qint64 value = *row ? (*statement)->columnInt64(0) : 0;
    (*statement)->reset();
    return value;
}

struct FileLayout
{
    const char *versionQuery;
    QStringView schema;
    QStringView table;
    const char *columns;
};

constexpr FileLayout RowsFile{"PRAGMA main.user_version", u"main", u"pictures",
                              "id INTEGER 1,name TEXT 0,category TEXT 0,deleted INTEGER 0"};
constexpr FileLayout BytesFile{"PRAGMA edt.user_version", u"edt", u"picture_bytes",
                               "id INTEGER 1,data BLOB 0"};

// Checks that the file carries this program's table and version. Reading
// it also rolls back a commit that was interrupted.
std::expected<void, QString> checkLayout(SqliteDatabase &db, const FileLayout &layout, const QString &path)
{
    const QString name = fileName(path);
    const std::expected<qint64, QString> version = queryInt(db, layout.versionQuery);
    if (!version)
        return std::unexpected(StoreText::UnreadableBecause.arg(name, version.error()));
    auto statement = db.statement(SelectLayout);
    if (!statement)
        return std::unexpected(StoreText::UnreadableBecause.arg(name, statement.error()));
    const auto row = (*statement)->bind(1, layout.table).bind(2, layout.schema).next();
    if (!row)
        return std::unexpected(StoreText::UnreadableBecause.arg(name, row.error()));
    const QString columns = *row ? (*statement)->columnText(0) : QString();
    (*statement)->reset();
    if (*version > SchemaVersion)
        return std::unexpected(StoreText::NewerVersion.arg(name));
    if (*version != SchemaVersion || columns != QLatin1StringView(layout.columns))
        return std::unexpected(StoreText::NoTables.arg(name));
    return {};
}

// Removes a file that may or may not be there; logs when it stays.
void removeIfPresent(const QString &path)
{
    if (pathExists(path) && !QFile::remove(path))
        qCWarning(lcStore) << "cannot remove" << path;
}


// Writes an empty store into these two files.
std::expected<void, QString> buildEmptyStore(const QString &edbPath, const QString &edtPath)
{
    SqliteDatabase db;
    if (auto opened = db.open(edbPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE); !opened)
        return opened;
    if (auto attached = attach(db, edtPath); !attached)
        return attached;
    if (auto configured = db.exec(BytesPageSize); !configured)
        return configured;
    if (auto configured = db.exec(ConfigureJournals); !configured)
        return configured;
    auto transaction = SqliteTransaction::begin(db);
    if (!transaction)
        return std::unexpected(transaction.error());
    if (auto created = db.exec(CreateSchema); !created)
        return created;
    if (auto created = db.exec(CreateFingerprints); !created)
        return created;
    return transaction->commit();
}

}

PictureStore::PictureStore() = default;

PictureStore::~PictureStore() = default;

QString PictureStore::companionPath(const QString &edbPath)
{
    const QFileInfo info(edbPath);
    return info.dir().filePath(info.completeBaseName() + u".EDT"_s);
}

std::expected<PictureStore::Opened, QString> PictureStore::open(const QString &edbPath)
{
    close();
    const QString edtPath = companionPath(edbPath);
    if (QFileInfo(edbPath).suffix() == u"EDT")
        return std::unexpected(StoreText::NamedLikeBytes.arg(fileName(edbPath)));
    const bool hasEdb = pathExists(edbPath);
    const bool hasEdt = pathExists(edtPath);
    if (!hasEdb && !hasEdt) {
        if (auto created = create(edbPath, edtPath); !created)
            return std::unexpected(created.error());
        if (auto opened = openExisting(edbPath, edtPath); !opened)
            return std::unexpected(opened.error());
        return Opened::Created;
    }
    if (!hasEdt)
        return std::unexpected(StoreText::Missing.arg(fileName(edtPath), fileName(edbPath)));
    if (!hasEdb)
        return std::unexpected(StoreText::Missing.arg(fileName(edbPath), fileName(edtPath)));
    if (auto opened = openExisting(edbPath, edtPath); !opened)
        return std::unexpected(opened.error());
    return Opened::Existing;
}

// Builds both files under temporary names and renames them into place, so a
// crash never leaves a half-made store under the real names.
std::expected<void, QString> PictureStore::create(const QString &edbPath, const QString &edtPath)
{
    const QString newEdb = edbPath + u".new"_s;
    const QString newEdt = edtPath + u".new"_s;
    const auto removeNewFiles = [&] {
        for (const QString &path : {newEdb, newEdt})
            for (const QString &file : {path, path + u"-journal"_s})
                removeIfPresent(file);
        for (const QString &file : superJournals(newEdb))
            removeIfPresent(file);
    };
    removeNewFiles();
    std::expected<void, QString> built = buildEmptyStore(newEdb, newEdt);
    // pic.edb comes last: once it exists under its name, so does pic.EDT.
    if (built && !(QFile::rename(newEdt, edtPath) && QFile::rename(newEdb, edbPath))) {
        removeIfPresent(edtPath);
        built = std::unexpected(StoreText::NewFilesNotPlaced);
    }
    if (!built) {
        removeNewFiles();
        return std::unexpected(StoreText::CannotCreate.arg(built.error()));
    }
    return {};
}

std::expected<void, QString> PictureStore::openExisting(const QString &edbPath, const QString &edtPath)
{
    if (auto checked = checkHeader(edbPath, RowsApplicationId); !checked)
        return checked;
    if (auto checked = checkHeader(edtPath, BytesApplicationId); !checked)
        return checked;
    auto db = std::make_unique<SqliteDatabase>();
    const auto failed = [](const QString &path, const QString &reason) {
        return std::unexpected(StoreText::UnopenableBecause.arg(fileName(path), reason));
    };
    // No SQLITE_OPEN_CREATE: the attached file inherits it, so neither file
    // can be created here.
    if (auto opened = db->open(edbPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX); !opened)
        return failed(edbPath, opened.error());
    if (auto configured = db->exec(BusyTimeout); !configured)
        return failed(edbPath, configured.error());
    if (auto checked = checkLayout(*db, RowsFile, edbPath); !checked)
        return checked;
    if (auto attached = attach(*db, edtPath); !attached)
        return failed(edtPath, attached.error());
    if (auto checked = checkLayout(*db, BytesFile, edtPath); !checked)
        return checked;
    if (auto configured = db->exec(ConfigureJournals); !configured)
        return failed(edbPath, configured.error());
    if (auto configured = db->exec(ConfigureRowsCache); !configured)
        return failed(edbPath, configured.error());
    const QStringList leftovers = superJournals(edbPath);
    if (!leftovers.isEmpty()) {
        // Holding the write lock on both files means every hot journal has
        // been rolled back and no other process is inside a commit, so the
        // leftovers are stale. A read-only store simply keeps them.
        if (auto transaction = SqliteTransaction::begin(*db)) {
            for (const QString &file : leftovers)
                removeIfPresent(file);
        }
    }
    m_db = std::move(db);
    m_path = edbPath;
    purgeMarkedRows();
    addFingerprintTable();
    if (auto loaded = loadRows(); !loaded) {
        close();
        return std::unexpected(StoreText::UnreadableBecause.arg(fileName(edbPath), loaded.error()));
    }
    return {};
}

// Earlier builds removed a picture in two commits, marking its row first.
// A row left marked is removed for good here; when that cannot be written
// (a read-only store), loadRows leaves it out all the same.
void PictureStore::purgeMarkedRows()
{
    const std::expected<qint64, QString> marked = queryInt(*m_db, SelectMarkedCount);
    if (!marked || *marked == 0)
        return;
    bool purged = false;
    if (auto transaction = SqliteTransaction::begin(*m_db))
        purged = m_db->exec(PurgeMarked) && transaction->commit();
    qCInfo(lcStore) << "rows left marked as deleted:" << *marked << (purged ? "removed" : "left in place");
}

std::expected<void, QString> PictureStore::loadRows()
{
    const std::expected<qint64, QString> total = queryInt(*m_db, SelectRowCount);
    auto rows = m_db->statement(SelectRows);
    if (!total)
        return std::unexpected(total.error());
    if (!rows)
        return std::unexpected(rows.error());
    m_rows.reserve(std::size_t(*total));
    // Libraries have few categories: rows share one string per category.
    QHash<QByteArray, QString> categories;
    std::expected<bool, QString> row;
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

std::expected<void, QString> PictureStore::notOpen() const
{
    return std::unexpected(StoreText::NotOpen);
}

std::expected<QByteArray, QString> PictureStore::picture(int n) const
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (!isRecord(n))
        return std::unexpected(StoreText::NoSuchRecord.arg(n));
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

std::expected<void, QString> PictureStore::append(const NewRecord &record)
{
    return append(std::vector<NewRecord>{record});
}

std::expected<void, QString> PictureStore::append(const std::vector<NewRecord> &records)
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
        if (auto stored = storeFingerprint(id, record.picture); !stored)
            return stored;
        added.push_back(Row{id, record.name, record.category, nextVersion()});
    }
    if (auto committed = transaction->commit(); !committed)
        return committed;
    m_rows.insert(m_rows.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    return {};
}

std::expected<void, QString> PictureStore::replacePicture(int n, const QByteArray &picture, const QString &category)
{
    auto transaction = beginChange(n);
    if (!transaction)
        return std::unexpected(transaction.error());
    Row &row = m_rows[std::size_t(n - 1)];
    if (auto updated = m_db->run(UpdatePicture, row.id, SqliteZeroBlob{picture.size()}); !updated)
        return updated;
    if (auto written = m_db->writeBlob("edt", "picture_bytes", "data", row.id, picture); !written)
        return written;
    if (auto stored = storeFingerprint(row.id, picture); !stored)
        return stored;
    if (auto updated = m_db->run(UpdateCategory, row.id, category); !updated)
        return updated;
    if (auto committed = transaction->commit(); !committed)
        return committed;
    row.category = category;
    row.version = nextVersion();
    return {};
}

std::expected<void, QString> PictureStore::rename(int n, const QString &name)
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

std::expected<void, QString> PictureStore::remove(int n)
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

std::expected<SqliteTransaction, QString> PictureStore::beginChange(std::optional<int> record)
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (record && !isRecord(*record))
        return std::unexpected(StoreText::NoSuchRecord.arg(*record));
    return SqliteTransaction::begin(*m_db);
}

std::expected<void, QString> PictureStore::copyTo(const QString &edbPath, const Progress &progress)
{
    if (!m_db)
        return notOpen();
    const QString edtPath = companionPath(edbPath);
    const qint64 edtBytes = schemaBytes("edt");
    const qint64 totalBytes = edtBytes + schemaBytes("main");
    const QString newEdt = edtPath + u".new"_s;
    const QString newEdb = edbPath + u".new"_s;
    std::expected<void, QString> copied = copySchema("edt", newEdt, 0, totalBytes, progress);
    if (copied)
        copied = copySchema("main", newEdb, edtBytes, totalBytes, progress);
    // pic.EDT goes first: once the new pic.edb is in place, so are its bytes.
    for (const auto &[building, target] : {std::pair{newEdt, edtPath}, std::pair{newEdb, edbPath}}) {
        if (!copied)
            break;
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(building.toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), error);
        if (error) {
            qCWarning(lcStore) << "cannot rename" << building << "to" << target << ":" << error.message().c_str();
            copied = std::unexpected(StoreText::NotPlaced.arg(QDir::toNativeSeparators(target)));
        }
    }
    removeIfPresent(newEdt);
    removeIfPresent(newEdb);
    return copied;
}

qint64 PictureStore::schemaBytes(const char *schema) const
{
    const QByteArray pages = QByteArray("PRAGMA ") + schema + ".page_count";
    const QByteArray pageSize = QByteArray("PRAGMA ") + schema + ".page_size";
    return queryInt(*m_db, pages.constData()).value_or(0) * queryInt(*m_db, pageSize.constData()).value_or(0);
}

std::expected<void, QString> PictureStore::copySchema(const char *schema, const QString &target, qint64 copiedBefore,
                                                      qint64 totalBytes, const Progress &progress)
{
    removeIfPresent(target);
    const qint64 bytes = schemaBytes(schema);
    return m_db->copySchemaTo(schema, target, [&](qint64 copiedPages, qint64 totalPages) {
        const qint64 done = totalPages > 0 ? copiedBefore + bytes * copiedPages / totalPages : copiedBefore;
        return !progress || progress(done, totalBytes);
    });
}

void PictureStore::addFingerprintTable()
{
    const std::expected<qint64, QString> present = queryInt(*m_db, SelectFingerprintTable);
    if (!present || *present > 0)
        return;
    // A store that cannot be written does without; searches find nothing.
    auto transaction = SqliteTransaction::begin(*m_db);
    const bool added = transaction && m_db->exec(CreateFingerprints) && transaction->commit();
    qCInfo(lcStore) << "fingerprint table" << (added ? "added" : "not added");
}

std::expected<void, QString> PictureStore::storeFingerprint(qint64 id, const QByteArray &bytes)
{
    return m_db->run(PutFingerprint, id, QByteArrayView(fingerprintOf(bytes)));
}

std::expected<void, QString> PictureStore::fingerprintEarlierPictures(const Progress &progress)
{
    auto select = m_db->statement(SelectWithoutFingerprint);
    if (!select)
        return std::unexpected(select.error());
    const auto found = (*select)->firstColumnInt64();
    if (!found)
        return std::unexpected(found.error());
    const std::vector<qint64> &ids = *found;
    for (std::size_t done = 0; done < ids.size(); ++done) {
        if (progress && !progress(qint64(done), qint64(ids.size())))
            return std::unexpected(StoreText::Cancelled);
        auto bytes = m_db->readBlob("edt", "picture_bytes", "data", ids[done]);
        if (!bytes)
            return std::unexpected(bytes.error());
        if (!*bytes)
            continue;
        auto transaction = SqliteTransaction::begin(*m_db);
        if (!transaction)
            return std::unexpected(transaction.error());
        if (auto stored = storeFingerprint(ids[done], **bytes); !stored)
            return stored;
        if (auto committed = transaction->commit(); !committed)
            return committed;
    }
    return {};
}

std::expected<std::optional<int>, QString> PictureStore::findSamePicture(const QByteArray &bytes,
                                                                          const Progress &progress)
{
    if (!m_db)
        return std::unexpected(notOpen().error());
    if (!m_allFingerprinted) {
        if (auto fingerprinted = fingerprintEarlierPictures(progress); !fingerprinted)
            return std::unexpected(fingerprinted.error());
        m_allFingerprinted = true;
    }
    auto select = m_db->statement(SelectByFingerprint);
    if (!select)
        return std::unexpected(select.error());
    const auto candidates = (*select)->bind(1, QByteArrayView(fingerprintOf(bytes))).firstColumnInt64();
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
