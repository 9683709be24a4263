#include "PictureStore.h"

#include "SqliteDatabase.h"
#include "SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QtEndian>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Written into the SQLite header of each file so that another program's
// database, or the two files swapped, are recognised before anything is written.
constexpr qint32 RowsApplicationId = 0x4C4D4252; // "LMBR"
constexpr qint32 BytesApplicationId = 0x4C4D4242; // "LMBB"
constexpr qint64 SchemaVersion = 1;

constexpr const char *CreateSchema =
    "PRAGMA main.application_id = 1280131666;"
    "PRAGMA main.user_version = 1;"
    "CREATE TABLE main.pictures(id INTEGER PRIMARY KEY, name TEXT NOT NULL,"
    " category TEXT NOT NULL, deleted INTEGER NOT NULL DEFAULT 0);"
    "PRAGMA edt.application_id = 1280131650;"
    "PRAGMA edt.user_version = 1;"
    "CREATE TABLE edt.picture_bytes(id INTEGER PRIMARY KEY, data BLOB NOT NULL);";
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
constexpr const char *SelectRows = "SELECT id, name, category, deleted FROM main.pictures ORDER BY id";
constexpr const char *SelectPicture = "SELECT data FROM edt.picture_bytes WHERE id = ?1";
constexpr const char *InsertRow = "INSERT INTO main.pictures(name, category) VALUES(?1, ?2)";
constexpr const char *InsertPicture = "INSERT INTO edt.picture_bytes(id, data) VALUES(?1, ?2)";
constexpr const char *UpdateName = "UPDATE main.pictures SET name = ?2 WHERE id = ?1";
constexpr const char *UpdateCategory = "UPDATE main.pictures SET category = ?2 WHERE id = ?1";
constexpr const char *UpdatePicture = "UPDATE edt.picture_bytes SET data = ?2 WHERE id = ?1";
constexpr const char *MarkDeleted = "UPDATE main.pictures SET deleted = 1 WHERE id = ?1";
constexpr const char *PurgePictures =
    "DELETE FROM edt.picture_bytes WHERE id IN (SELECT id FROM main.pictures WHERE deleted <> 0)";
constexpr const char *PurgeRows = "DELETE FROM main.pictures WHERE deleted <> 0";

QString companionPath(const QString &edbPath)
{
    const QFileInfo info(edbPath);
    return info.dir().filePath(info.completeBaseName() + u".EDT"_s);
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
// rejected before SQLite could touch it. Empty when the header fits.
QString headerProblem(const QString &path, qint32 applicationId)
{
    const QString name = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        return u"%1 is not a file"_s.arg(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"%1 cannot be read: %2"_s.arg(name, file.errorString());
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return u"%1 is not an SQLite database"_s.arg(name);
    if (qFromBigEndian<qint32>(header.constData() + 68) != applicationId)
        return u"%1 is not a file of this picture library"_s.arg(name);
    // Bytes 18 and 19 are 1 for rollback-journal files and 2 for WAL files.
    if (header.at(18) != 1 || header.at(19) != 1)
        return u"%1 is in a journal mode this program does not use"_s.arg(name);
    return {};
}

bool attach(SqliteDatabase &db, const QString &edtPath)
{
    const std::unique_ptr<SqliteStatement> statement = db.prepare("ATTACH DATABASE ?1 AS edt");
    return statement && statement->bindText(1, edtPath) && statement->run();
}

std::optional<qint64> queryInt(SqliteDatabase &db, const char *sql)
{
    const std::unique_ptr<SqliteStatement> statement = db.prepare(sql);
    if (!statement || statement->step() != SqliteStatement::StepResult::Row)
        return std::nullopt;
    return statement->columnInt64(0);
}

std::optional<QString> tableLayout(SqliteDatabase &db, QStringView schema, QStringView table)
{
    const std::unique_ptr<SqliteStatement> statement = db.prepare(SelectLayout);
    if (!statement || !statement->bindText(1, table) || !statement->bindText(2, schema)
        || statement->step() != SqliteStatement::StepResult::Row)
        return std::nullopt;
    return statement->columnText(0);
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

// Empty when the file carries this program's table and version. Reading it
// also rolls back a commit that was interrupted.
QString layoutProblem(SqliteDatabase &db, const FileLayout &layout, const QString &path)
{
    const QString name = QDir::toNativeSeparators(path);
    const std::optional<qint64> version = queryInt(db, layout.versionQuery);
    const std::optional<QString> columns = tableLayout(db, layout.schema, layout.table);
    if (!version || !columns)
        return u"%1 cannot be read: %2"_s.arg(name, db.lastError());
    if (*version > SchemaVersion)
        return u"%1 was written by a newer version of this program"_s.arg(name);
    if (*version != SchemaVersion || *columns != QLatin1StringView(layout.columns))
        return u"%1 does not have the tables of a picture library"_s.arg(name);
    return {};
}

} // namespace

PictureStore::PictureStore() = default;

PictureStore::~PictureStore() = default;

PictureStore::OpenResult PictureStore::openStore(const QString &edbPath)
{
    closeStore();
    m_lastError.clear();
    const QString edtPath = companionPath(edbPath);
    if (QFileInfo(edbPath).suffix() == u"EDT")
        return fail(
            u"%1 is named like a picture file, not like a store"_s.arg(QDir::toNativeSeparators(edbPath)));
    const bool hasEdb = pathExists(edbPath);
    const bool hasEdt = pathExists(edtPath);
    if (!hasEdb && !hasEdt) {
        if (!createStore(edbPath, edtPath))
            return OpenResult::Failed;
        return openExisting(edbPath, edtPath) ? OpenResult::Created : OpenResult::Failed;
    }
    if (!hasEdt)
        return fail(u"%1 is missing; it belongs beside %2"_s.arg(QDir::toNativeSeparators(edtPath),
                                                                 QDir::toNativeSeparators(edbPath)));
    if (!hasEdb)
        return fail(u"%1 is missing; it belongs beside %2"_s.arg(QDir::toNativeSeparators(edbPath),
                                                                 QDir::toNativeSeparators(edtPath)));
    return openExisting(edbPath, edtPath) ? OpenResult::Opened : OpenResult::Failed;
}

PictureStore::OpenResult PictureStore::fail(const QString &message)
{
    m_lastError = message;
    return OpenResult::Failed;
}

// Builds both files under temporary names and renames them into place, so a
// crash never leaves a half-made store under the real names.
bool PictureStore::createStore(const QString &edbPath, const QString &edtPath)
{
    const QString newEdb = edbPath + u".new"_s;
    const QString newEdt = edtPath + u".new"_s;
    const auto removeNewFiles = [&] {
        for (const QString &path : {newEdb, newEdt})
            for (const QString &file : {path, path + u"-journal"_s})
                QFile::remove(file);
        for (const QString &file : superJournals(newEdb))
            QFile::remove(file);
    };
    removeNewFiles();
    bool built = false;
    {
        SqliteDatabase db;
        built = db.open(newEdb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) && attach(db, newEdt)
            && db.exec(BytesPageSize) && db.exec(ConfigureJournals)
            && db.transaction([&db] { return db.exec(CreateSchema); });
        if (!built)
            m_lastError = u"cannot create %1: %2"_s.arg(QDir::toNativeSeparators(edbPath), db.lastError());
    }
    if (built) {
        // pic.edb comes last: once it exists under its name, so does pic.EDT.
        if (QFile::rename(newEdt, edtPath)) {
            if (QFile::rename(newEdb, edbPath))
                return true;
            QFile::remove(edtPath);
        }
        m_lastError = u"cannot create %1: the new files cannot be put in place"_s.arg(
            QDir::toNativeSeparators(edbPath));
    }
    removeNewFiles();
    return false;
}

bool PictureStore::openExisting(const QString &edbPath, const QString &edtPath)
{
    for (const auto &[path, applicationId] :
         {std::pair{edbPath, RowsApplicationId}, std::pair{edtPath, BytesApplicationId}}) {
        const QString problem = headerProblem(path, applicationId);
        if (!problem.isEmpty()) {
            m_lastError = problem;
            return false;
        }
    }
    auto db = std::make_unique<SqliteDatabase>();
    const auto failed = [this, &db](const QString &path) {
        m_lastError = u"cannot open %1: %2"_s.arg(QDir::toNativeSeparators(path), db->lastError());
        return false;
    };
    // No SQLITE_OPEN_CREATE: the attached file inherits it, so neither file
    // can be created here.
    if (!db->open(edbPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX) || !db->exec(BusyTimeout))
        return failed(edbPath);
    m_lastError = layoutProblem(*db, RowsFile, edbPath);
    if (!m_lastError.isEmpty())
        return false;
    if (!attach(*db, edtPath))
        return failed(edtPath);
    m_lastError = layoutProblem(*db, BytesFile, edtPath);
    if (!m_lastError.isEmpty())
        return false;
    if (!db->exec(ConfigureJournals) || !db->exec(ConfigureRowsCache))
        return failed(edbPath);
    const QStringList leftovers = superJournals(edbPath);
    if (!leftovers.isEmpty()) {
        // Holding the write lock on both files means every hot journal has
        // been rolled back and no other process is inside a commit, so the
        // leftovers are stale. A read-only store simply keeps them.
        db->transaction([&leftovers] {
            for (const QString &file : leftovers)
                QFile::remove(file);
            return true;
        });
    }
    m_db = std::move(db);
    if (!loadRows()) {
        m_lastError = u"cannot read %1: %2"_s.arg(QDir::toNativeSeparators(edbPath), m_db->lastError());
        closeStore();
        return false;
    }
    m_position = 0;
    return true;
}

bool PictureStore::loadRows()
{
    const std::optional<qint64> count = queryInt(*m_db, SelectRowCount);
    const std::unique_ptr<SqliteStatement> rows = m_db->prepare(SelectRows);
    if (!count || !rows)
        return false;
    m_rows.reserve(std::size_t(*count));
    // Libraries have few categories: rows share one string per category.
    QHash<QByteArray, QString> categories;
    SqliteStatement::StepResult result;
    while ((result = rows->step()) == SqliteStatement::StepResult::Row) {
        const QByteArrayView utf8 = rows->columnUtf8(2);
        auto category = categories.constFind(QByteArray::fromRawData(utf8.data(), utf8.size()));
        if (category == categories.cend())
            category = categories.insert(utf8.toByteArray(), QString::fromUtf8(utf8));
        m_rows.push_back(
            Row{rows->columnInt64(0), rows->columnText(1), *category, rows->columnInt64(3) != 0});
    }
    return result == SqliteStatement::StepResult::Done;
}

void PictureStore::closeStore()
{
    m_db.reset();
    m_rows = {};
    m_position = 0;
}

bool PictureStore::isOpen() const
{
    return m_db != nullptr;
}

QString PictureStore::lastError() const
{
    return m_lastError;
}

int PictureStore::recordCount() const
{
    return int(m_rows.size());
}

void PictureStore::goFirst()
{
    m_position = 0;
}

void PictureStore::skipNext()
{
    if (isPositionValid())
        ++m_position;
}

bool PictureStore::isAfterLast() const
{
    return !isPositionValid();
}

int PictureStore::currentRecordNumber() const
{
    return isPositionValid() ? int(m_position) + 1 : 0;
}

bool PictureStore::goToRecord(int n)
{
    if (n < 1 || std::size_t(n) > m_rows.size())
        return false;
    m_position = std::size_t(n) - 1;
    return true;
}

bool PictureStore::isPositionValid() const
{
    return m_position < m_rows.size();
}

QVariant PictureStore::readField(QStringView fieldName) const
{
    if (!isPositionValid())
        return {};
    const Row &row = m_rows[m_position];
    if (fieldName == NameField)
        return row.name;
    if (fieldName == CategoryField)
        return row.category;
    if (fieldName != PictureField)
        return {};
    SqliteStatement *select = m_db->cached(SelectPicture);
    if (!select || !select->bindInt64(1, row.id)) {
        m_lastError = u"cannot read picture %1: %2"_s.arg(m_position + 1).arg(m_db->lastError());
        return {};
    }
    const SqliteStatement::StepResult result = select->step();
    QVariant picture;
    if (result == SqliteStatement::StepResult::Row)
        picture = select->columnBlob(0);
    else
        m_lastError = u"cannot read picture %1: %2"_s.arg(m_position + 1)
                          .arg(result == SqliteStatement::StepResult::Done ? u"its bytes are missing"_s
                                                                           : m_db->lastError());
    // Resetting ends the read transaction so other connections are not held up.
    select->reset();
    return picture;
}

bool PictureStore::writeField(QStringView fieldName, const QVariant &value)
{
    if (!isPositionValid())
        return false;
    Row &row = m_rows[m_position];
    const bool isName = fieldName == NameField;
    if (isName || fieldName == CategoryField) {
        if (value.metaType().id() != QMetaType::QString)
            return false;
        const QString text = value.toString();
        const bool written = commit(u"cannot store the %1"_s.arg(fieldName), [&] {
            SqliteStatement *update = m_db->cached(isName ? UpdateName : UpdateCategory);
            return update && update->bindInt64(1, row.id) && update->bindText(2, text) && update->run()
                && m_db->changes() == 1;
        });
        if (written)
            (isName ? row.name : row.category) = text;
        return written;
    }
    if (fieldName != PictureField || value.metaType().id() != QMetaType::QByteArray)
        return false;
    const QByteArray bytes = value.toByteArray();
    return commit(u"cannot store the picture"_s, [&] {
        SqliteStatement *update = m_db->cached(UpdatePicture);
        return update && update->bindInt64(1, row.id) && update->bindBlob(2, bytes) && update->run()
            && m_db->changes() == 1;
    });
}

bool PictureStore::appendRecord(const QString &name, const QString &category, const QByteArray &picture)
{
    return appendRecords({NewRecord{name, category, picture}});
}

bool PictureStore::appendRecords(const std::vector<NewRecord> &records)
{
    std::vector<qint64> ids;
    ids.reserve(records.size());
    const bool appended = commit(u"cannot add pictures"_s, [&] {
        SqliteStatement *insertRow = m_db->cached(InsertRow);
        SqliteStatement *insertPicture = m_db->cached(InsertPicture);
        if (!insertRow || !insertPicture)
            return false;
        for (const NewRecord &record : records) {
            if (!insertRow->bindText(1, record.name) || !insertRow->bindText(2, record.category)
                || !insertRow->run())
                return false;
            const qint64 id = m_db->lastInsertRowId();
            if (!insertPicture->bindInt64(1, id) || !insertPicture->bindBlob(2, record.picture)
                || !insertPicture->run())
                return false;
            ids.push_back(id);
        }
        return true;
    });
    if (!appended)
        return false;
    // A position past the end stays past the end.
    const bool wasAfterLast = !isPositionValid();
    m_rows.reserve(m_rows.size() + records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        m_rows.push_back(Row{ids[i], records[i].name, records[i].category, false});
    if (wasAfterLast)
        m_position = m_rows.size();
    return true;
}

bool PictureStore::deleteCurrent()
{
    if (!isPositionValid())
        return false;
    Row &row = m_rows[m_position];
    const bool marked = commit(u"cannot delete the picture"_s, [&] {
        SqliteStatement *mark = m_db->cached(MarkDeleted);
        return mark && mark->bindInt64(1, row.id) && mark->run() && m_db->changes() == 1;
    });
    if (marked)
        row.deleted = true;
    return marked;
}

bool PictureStore::purgeDeleted()
{
    const bool purged = commit(u"cannot remove the deleted pictures"_s, [&] {
        SqliteStatement *purgePictures = m_db->cached(PurgePictures);
        SqliteStatement *purgeRows = m_db->cached(PurgeRows);
        return purgePictures && purgeRows && purgePictures->run() && purgeRows->run();
    });
    if (!purged)
        return false;
    // The current record stays current; when it was removed, the next
    // surviving record (or the end) becomes current.
    const auto current = m_rows.begin() + std::ptrdiff_t(std::min(m_position, m_rows.size()));
    m_position =
        std::size_t(std::count_if(m_rows.begin(), current, [](const Row &row) { return !row.deleted; }));
    std::erase_if(m_rows, [](const Row &row) { return row.deleted; });
    return true;
}

bool PictureStore::copyTo(const QString &edbPath)
{
    if (!m_db) {
        m_lastError = u"cannot copy the picture library: it is not open"_s;
        return false;
    }
    return copySchema("edt", companionPath(edbPath)) && copySchema("main", edbPath);
}

bool PictureStore::copySchema(const char *schema, const QString &target)
{
    const QString building = target + u".new"_s;
    QFile::remove(building);
    if (!m_db->copySchemaTo(schema, building)) {
        m_lastError = u"cannot copy to %1: %2"_s.arg(QDir::toNativeSeparators(target), m_db->lastError());
        QFile::remove(building);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(building.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error) {
        m_lastError = u"cannot put %1 in place: %2"_s.arg(QDir::toNativeSeparators(target),
                                                          QString::fromStdString(error.message()));
        QFile::remove(building);
        return false;
    }
    return true;
}

bool PictureStore::commit(const QString &action, const std::function<bool()> &work)
{
    if (!m_db) {
        m_lastError = u"%1: the picture library is not open"_s.arg(action);
        return false;
    }
    if (!m_db->transaction(work)) {
        m_lastError = u"%1: %2"_s.arg(action, m_db->lastError());
        return false;
    }
    return true;
}
