#include "store/LibraryFiles.h"

#include "config/DataFolder.h"
#include "store/FileStep.h"
#include "store/LibraryLayout.h"
#include "store/LibraryUpgrade.h"
#include "store/PairStamp.h"
#include "store/SqliteBackup.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteTransaction.h"
#include "store/StoreLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Rollback journals on both files make a transaction over both atomic
// through a super-journal; WAL would not.
constexpr const char *ConfigureJournals = "PRAGMA main.journal_mode = DELETE;"
                                          "PRAGMA edt.journal_mode = DELETE;"
                                          "PRAGMA main.synchronous = FULL;"
                                          "PRAGMA edt.synchronous = FULL;";
// Removed and replaced values are overwritten with zeros, so that neither a
// removed picture nor the plain value that a sealed one replaced stays in
// the free pages of either file.
constexpr const char *SecureDelete = "PRAGMA main.secure_delete = ON;"
                                     "PRAGMA edt.secure_delete = ON;";
// Waits out a commit of another process instead of failing at once.
constexpr const char *BusyTimeout = "PRAGMA busy_timeout = 3000";
// Large pages keep the overflow chain of a multi-megabyte picture short.
constexpr const char *BytesPageSize = "PRAGMA edt.page_size = 65536";
// Rows are served from memory, so SQLite reads pic.edb mostly once, at open;
// a small cache keeps that read from filling memory with pages never reused.
constexpr const char *ConfigureRowsCache = "PRAGMA main.cache_size = -256";

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool pathExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void removeIfPresent(const QString &path)
{
    if (pathExists(path) && !QFile::remove(path))
        qCWarning(lcStore) << "cannot remove" << path;
}

std::unexpected<StoreError> failure(StoreReason reason, const QString &path)
{
    return std::unexpected(StoreError{reason, fileName(path)});
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

std::expected<void, StoreError> attach(SqliteDatabase &db, const QString &edtPath)
{
    return db.run("ATTACH DATABASE ?1 AS edt", edtPath);
}

// Opens a pair for writing with pic.EDT attached.
std::expected<void, StoreError> openPair(SqliteDatabase &db, const QString &edbPath, const QString &edtPath, int flags)
{
    if (auto opened = db.open(edbPath, flags); !opened)
        return opened;
    if (auto attached = attach(db, edtPath); !attached)
        return attached;
    return db.exec(ConfigureJournals);
}

// Writes an empty library with its stamp into these two files.
std::expected<void, StoreError> buildEmptyLibrary(const QString &edbPath, const QString &edtPath)
{
    SqliteDatabase db;
    if (auto opened = openPair(db, edbPath, edtPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE); !opened)
        return opened;
    if (auto configured = db.exec(BytesPageSize); !configured)
        return configured;
    auto transaction = SqliteTransaction::begin(db);
    if (!transaction)
        return std::unexpected(transaction.error());
    if (auto created = LibraryLayout::createTables(db); !created)
        return created;
    if (auto stamped = writePairStamp(db); !stamped)
        return stamped;
    return transaction->commit();
}

// A copy is a pair of its own: it gets a stamp of its own.
std::expected<void, StoreError> restamp(const QString &edbPath, const QString &edtPath)
{
    SqliteDatabase db;
    if (auto opened = openPair(db, edbPath, edtPath, SQLITE_OPEN_READWRITE); !opened)
        return opened;
    auto transaction = SqliteTransaction::begin(db);
    if (!transaction)
        return std::unexpected(transaction.error());
    if (auto stamped = writePairStamp(db); !stamped)
        return stamped;
    return transaction->commit();
}

qint64 schemaBytes(SqliteDatabase &db, const char *schema)
{
    const QByteArray pages = QByteArray("PRAGMA ") + schema + ".page_count";
    const QByteArray pageSize = QByteArray("PRAGMA ") + schema + ".page_size";
    return db.scalar(pages.constData()).value_or(0) * db.scalar(pageSize.constData()).value_or(0);
}

}

LibraryFiles::LibraryFiles(const QString &edbPath)
    : m_edbPath(edbPath)
{
}

QString LibraryFiles::edbPath() const
{
    return m_edbPath;
}

QString LibraryFiles::edtPath() const
{
    return companionPath(m_edbPath);
}

QString LibraryFiles::companionPath(const QString &edbPath)
{
    const QFileInfo info(edbPath);
    return info.dir().filePath(info.completeBaseName() + u".EDT"_s);
}

QString LibraryFiles::folder() const
{
    return QFileInfo(m_edbPath).absolutePath();
}

QStringList LibraryFiles::temporaries() const
{
    QStringList files;
    for (const QString &file : {m_edbPath + DataFolder::NewSuffix, edtPath() + DataFolder::NewSuffix})
        files << file << file + u"-journal"_s;
    return files + superJournals(m_edbPath + DataFolder::NewSuffix);
}

void LibraryFiles::removeTemporaries() const
{
    for (const QString &file : temporaries())
        removeIfPresent(file);
}

bool LibraryFiles::hasSetAsideFiles() const
{
    const QStringList patterns = {fileName(m_edbPath) + DataFolder::DamagedSuffix + u'*',
                                  fileName(edtPath()) + DataFolder::DamagedSuffix + u'*'};
    return !QDir(folder()).entryList(patterns, QDir::Files | QDir::Hidden).isEmpty();
}

std::expected<void, StoreError> LibraryFiles::finishBrokenStep() const
{
    if (auto finished = FileStep::finishLeftover(folder()); !finished)
        return finished;
    removeTemporaries();
    return {};
}

std::expected<LibraryFiles::Connection, StoreError> LibraryFiles::open(Creation creation)
{
    if (QFileInfo(m_edbPath).suffix() == u"EDT")
        return failure(StoreReason::NamedLikeBytes, m_edbPath);
    if (auto finished = finishBrokenStep(); !finished)
        return std::unexpected(finished.error());
    const bool hasEdb = pathExists(m_edbPath);
    const bool hasEdt = pathExists(edtPath());
    bool created = false;
    if (!hasEdb && !hasEdt) {
        if (creation == Creation::Never)
            return failure(StoreReason::NoLibrary, m_edbPath);
        // The files of a library that a copy replaced are kept under other
        // names: without the copy, they are all there is.
        if (hasSetAsideFiles())
            return failure(StoreReason::OnlySetAside, m_edbPath);
        if (auto made = create(); !made)
            return std::unexpected(made.error());
        created = true;
    } else if (!hasEdt || !hasEdb) {
        const QString missing = fileName(hasEdb ? edtPath() : m_edbPath);
        const QString present = fileName(hasEdb ? m_edbPath : edtPath());
        return std::unexpected(
            StoreError{.reason = StoreReason::MissingCompanion, .detail = missing, .companion = present});
    }
    auto db = openExisting();
    if (!db)
        return std::unexpected(db.error());
    return Connection{std::move(*db), created};
}

std::expected<void, StoreError> LibraryFiles::create()
{
    removeTemporaries();
    const QString newEdb = m_edbPath + DataFolder::NewSuffix;
    const QString newEdt = edtPath() + DataFolder::NewSuffix;
    std::expected<void, StoreError> made = buildEmptyLibrary(newEdb, newEdt);
    if (made)
        made = placeNewFiles({});
    removeTemporaries();
    if (!made)
        return std::unexpected(made.error().causing(StoreReason::CannotCreate));
    return {};
}

std::expected<std::unique_ptr<SqliteDatabase>, StoreError> LibraryFiles::openExisting()
{
    if (auto checked = LibraryLayout::checkHeader(LibraryLayout::File::Rows, m_edbPath); !checked)
        return std::unexpected(checked.error());
    if (auto checked = LibraryLayout::checkHeader(LibraryLayout::File::Bytes, edtPath()); !checked)
        return std::unexpected(checked.error());
    auto db = std::make_unique<SqliteDatabase>();
    const auto failed = [](const QString &path, const StoreError &cause) {
        return std::unexpected(cause.causing(StoreReason::Unopenable, fileName(path)));
    };
    // No SQLITE_OPEN_CREATE: the attached file inherits it, so neither file
    // can be created here.
    if (auto opened = db->open(m_edbPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX); !opened)
        return failed(m_edbPath, opened.error());
    if (auto configured = db->exec(BusyTimeout); !configured)
        return failed(m_edbPath, configured.error());
    if (auto checked = LibraryLayout::checkTables(*db, LibraryLayout::File::Rows, m_edbPath); !checked)
        return std::unexpected(checked.error());
    if (auto attached = attach(*db, edtPath()); !attached)
        return failed(edtPath(), attached.error());
    if (auto checked = LibraryLayout::checkTables(*db, LibraryLayout::File::Bytes, edtPath()); !checked)
        return std::unexpected(checked.error());
    if (auto configured = db->exec(ConfigureJournals); !configured)
        return failed(m_edbPath, configured.error());
    if (auto configured = db->exec(ConfigureRowsCache); !configured)
        return failed(m_edbPath, configured.error());
    if (auto configured = db->exec(SecureDelete); !configured)
        return failed(m_edbPath, configured.error());
    if (auto paired = checkPair(*db); !paired)
        return std::unexpected(paired.error());
    removeStaleSuperJournals(*db);
    return db;
}

std::expected<void, StoreError> LibraryFiles::checkPair(SqliteDatabase &db)
{
    const std::expected<PairStamping, StoreError> stamping = pairStamping(db);
    if (!stamping)
        return std::unexpected(stamping.error().causing(StoreReason::Unreadable, fileName(m_edbPath)));
    if (*stamping == PairStamping::Unstamped)
        LibraryUpgrade(db).stampPair();
    if (*stamping != PairStamping::Unpaired)
        return {};
    qCWarning(lcStore) << m_edbPath << "and" << edtPath() << "were not made together";
    return std::unexpected(
        StoreError{.reason = StoreReason::NotAPair, .detail = fileName(m_edbPath), .companion = fileName(edtPath())});
}

void LibraryFiles::removeStaleSuperJournals(SqliteDatabase &db) const
{
    const QStringList leftovers = superJournals(m_edbPath);
    if (leftovers.isEmpty())
        return;
    // Holding the write lock on both files means every hot journal has been
    // rolled back and no other process is inside a commit, so the leftovers
    // are stale. A read-only library simply keeps them.
    if (auto transaction = SqliteTransaction::begin(db)) {
        for (const QString &file : leftovers)
            removeIfPresent(file);
    }
}

std::expected<void, StoreError> LibraryFiles::copyFrom(SqliteDatabase &source, const QString &setAsideSuffix,
                                                       const Progress &progress)
{
    // A copy broken off earlier is finished before its files are rebuilt.
    if (auto finished = finishBrokenStep(); !finished)
        return finished;
    const QString newEdb = m_edbPath + DataFolder::NewSuffix;
    const QString newEdt = edtPath() + DataFolder::NewSuffix;
    const qint64 edtBytes = schemaBytes(source, "edt");
    const qint64 totalBytes = edtBytes + schemaBytes(source, "main");
    const auto copySchema = [&](const char *schema, const QString &target, qint64 copiedBefore) {
        SqliteDatabase copy;
        if (auto opened = copy.open(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE); !opened)
            return opened;
        if (auto configured = copy.exec("PRAGMA synchronous = FULL"); !configured)
            return configured;
        const qint64 bytes = schemaBytes(source, schema);
        return SqliteBackup(copy, source, schema).run([&](qint64 copiedPages, qint64 totalPages) {
            const qint64 done = totalPages > 0 ? copiedBefore + bytes * copiedPages / totalPages : copiedBefore;
            return !progress || progress(done, totalBytes);
        });
    };
    std::expected<void, StoreError> copied = copySchema("edt", newEdt, 0);
    if (copied)
        copied = copySchema("main", newEdb, edtBytes);
    if (copied)
        copied = restamp(newEdb, newEdt);
    if (copied)
        copied = placeNewFiles(setAsideSuffix);
    removeTemporaries();
    return copied;
}

std::expected<void, StoreError> LibraryFiles::placeNewFiles(const QString &setAsideSuffix) const
{
    FileStep step(folder());
    if (!setAsideSuffix.isEmpty()) {
        for (const QString &file : {m_edbPath, edtPath(), m_edbPath + u"-journal"_s, edtPath() + u"-journal"_s}) {
            if (pathExists(file))
                step.rename(fileName(file), fileName(file) + setAsideSuffix);
        }
    }
    // pic.EDT goes first: once the new pic.edb is in place, so are its bytes.
    step.rename(fileName(edtPath() + DataFolder::NewSuffix), fileName(edtPath()));
    step.rename(fileName(m_edbPath + DataFolder::NewSuffix), fileName(m_edbPath));
    return step.run();
}
