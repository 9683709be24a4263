#include "TestFiles.h"
#include "store/PictureStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Opened = PictureStore::Opened;
using Record = PictureStore::NewRecord;

namespace {

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(rng());
    return bytes;
}

// Every entry of a folder with its contents, to prove nothing was touched.
std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> entries;
    const QDir dir(folder);
    const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo &info : dir.entryInfoList(filter))
        entries[info.fileName()] = info.isDir() ? QByteArray("<folder>") : readFile(info.filePath());
    return entries;
}

// Runs SQL on pic.edb with pic.EDT attached as "edt", bypassing the store;
// gives the first column of the first row.
std::optional<qint64> rawQuery(const QString &edbPath, const char *sql)
{
    sqlite3 *handle = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(edbPath).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(PictureStore::companionPath(edbPath)) + "' AS edt";
    if (rc != SQLITE_OK || sqlite3_exec(handle, attach.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::nullopt;
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(handle, sql, -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, &sqlite3_finalize);
    if (!raw || sqlite3_step(raw) != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(raw, 0);
}

// Runs statements on pic.edb with pic.EDT attached, bypassing the store.
bool rawExec(const QString &edbPath, const char *sql)
{
    sqlite3 *handle = nullptr;
    sqlite3_open_v2(QFile::encodeName(edbPath).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(PictureStore::companionPath(edbPath)) + "' AS edt;";
    return sqlite3_exec(handle, (attach + sql).constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Creates a database that is valid SQLite but belongs to somebody else.
bool writeSqliteFile(const QString &path, const char *sql)
{
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &handle);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The whole content of a store, read through it.
std::vector<Record> contentOf(const PictureStore &store)
{
    std::vector<Record> records;
    for (int n = 1; n <= store.count(); ++n)
        records.push_back({store.name(n), store.category(n), store.picture(n).value_or(QByteArray("<unreadable>"))});
    return records;
}

template<typename T>
QString reasonOf(const std::expected<T, QString> &result)
{
    return result ? QString() : result.error();
}

template<typename T>
QString reasonOf(const std::expected<T, LibraryFiles::Failure> &result)
{
    return result ? QString() : result.error().reason;
}

class PictureStoreTest : public ::testing::Test
{
protected:
    QString edbPath() const { return m_dir.filePath(u"pic.edb"_s); }
    QString edtPath() const { return m_dir.filePath(u"pic.EDT"_s); }

    // Records "r1".."rN", each picture a few bytes of its own.
    static std::vector<Record> records(int count)
    {
        std::vector<Record> made;
        for (int i = 1; i <= count; ++i)
            made.push_back({u"r%1"_s.arg(i), u"c%1"_s.arg(i % 3), randomBytes(100 + i, unsigned(i))});
        return made;
    }

    void makeStore(PictureStore &store, const std::vector<Record> &content)
    {
        const auto opened = store.open(edbPath());
        ASSERT_EQ(opened.value_or(Opened::Existing), Opened::Created) << qPrintable(reasonOf(opened));
        const auto appended = store.append(content);
        ASSERT_TRUE(appended) << qPrintable(appended.error());
    }

    // The store as the next start sees it.
    std::vector<Record> reopened()
    {
        PictureStore store;
        const auto opened = store.open(edbPath());
        EXPECT_TRUE(opened) << qPrintable(reasonOf(opened));
        return contentOf(store);
    }

    QTemporaryDir m_dir;
};

TEST_F(PictureStoreTest, NewInstallationCreatesAnEmptyStoreThatReopens)
{
    PictureStore store;
    ASSERT_EQ(store.open(edbPath()), Opened::Created);
    EXPECT_TRUE(store.isOpen());
    EXPECT_EQ(store.count(), 0);
    EXPECT_FALSE(store.isRecord(1));
    EXPECT_FALSE(store.picture(1));
    EXPECT_FALSE(store.remove(1));
    EXPECT_GE(store.pictureSizeLimit(), 100'000'000);
    store.close();

    const auto files = snapshot(m_dir.path());
    EXPECT_EQ(files.size(), 2u) << "only pic.edb and pic.EDT remain";
    EXPECT_TRUE(files.count(u"pic.edb"_s) && files.count(u"pic.EDT"_s));
    EXPECT_EQ(store.open(edbPath()), Opened::Existing);
    EXPECT_EQ(store.count(), 0);
}

TEST_F(PictureStoreTest, ChangesKeepRecordNumbersWithoutGapsAcrossReopen)
{
    PictureStore store;
    std::vector<Record> expected = records(5);
    makeStore(store, expected);

    const Record added{u"新"_s, u"jpg"_s, randomBytes(3000, 9)};
    ASSERT_TRUE(store.append(added));
    expected.push_back(added);
    ASSERT_TRUE(store.remove(2));
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(store.name(2), u"r3"_s) << "the former record 3 is now record 2";
    ASSERT_TRUE(store.rename(2, u"改名 🎉"_s));
    expected[1].name = u"改名 🎉"_s;
    ASSERT_TRUE(store.replacePicture(4, QByteArray(5, '\0'), u"风景"_s));
    expected[3].picture = QByteArray(5, '\0');
    expected[3].category = u"风景"_s;
    ASSERT_TRUE(store.replacePicture(1, QByteArray(), QString()));
    expected[0].picture.clear();
    expected[0].category.clear();

    EXPECT_TRUE(contentOf(store) == expected);
    for (int n : {0, -1, 6}) {
        EXPECT_FALSE(store.rename(n, u"x"_s)) << n;
        EXPECT_FALSE(store.replacePicture(n, "x", u"c"_s)) << n;
        EXPECT_FALSE(store.remove(n)) << n;
        EXPECT_TRUE(store.name(n).isEmpty());
    }
    store.close();
    EXPECT_TRUE(reopened() == expected);
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM edt.picture_bytes"), 5) << "no bytes are left behind";
}

TEST_F(PictureStoreTest, TextsAndBigPicturesRoundTripExactly)
{
    std::vector<Record> expected;
    for (const QString &text : {u"春节 北京 2008"_s, u"😀 party"_s, u"𠀀𠀁"_s, u"café é"_s, u"a\u0000b"_s})
        expected.push_back({text, text + u"类别"_s, QByteArray("x")});
    expected.push_back({u"big"_s, u"raw"_s, randomBytes(20 * 1024 * 1024 + 17, 7)});
    PictureStore store;
    makeStore(store, expected);
    store.close();
    EXPECT_TRUE(reopened() == expected);
}

TEST_F(PictureStoreTest, NamesAreServedWithoutReadingThePictureFile)
{
    PictureStore store;
    makeStore(store, records(50));
    // With pic.EDT emptied behind the store's back, only picture reads can fail.
    ASSERT_TRUE(QFile::resize(edtPath(), 0));
    for (int n = 1; n <= 50; ++n) {
        EXPECT_EQ(store.name(n), u"r%1"_s.arg(n));
        EXPECT_EQ(store.category(n), u"c%1"_s.arg(n % 3));
    }
    const auto picture = store.picture(1);
    ASSERT_FALSE(picture);
    EXPECT_FALSE(picture.error().isEmpty());
}

TEST_F(PictureStoreTest, RecordsMarkedByAnEarlierBuildAreRemovedOrNeverShown)
{
    PictureStore store;
    const std::vector<Record> content = records(4);
    makeStore(store, content);
    store.close();
    // Earlier builds removed a picture in two commits: a kill between them
    // left the row marked.
    ASSERT_TRUE(rawQuery(edbPath(), "UPDATE pictures SET deleted = 1 WHERE id = 2 RETURNING id"));
    const std::vector<Record> expected = {content[0], content[2], content[3]};
    {
        ReadOnlyFile readOnlyRows(edbPath());
        ReadOnlyFile readOnlyBytes(edtPath());
        if (readOnlyRows.wasMade() && readOnlyBytes.wasMade()) {
            EXPECT_TRUE(reopened() == expected) << "a store that cannot be written hides the row";
        }
    }
    EXPECT_TRUE(reopened() == expected);
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM pictures"), 3) << "the marked row is gone for good";
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM edt.picture_bytes"), 3);
}

TEST_F(PictureStoreTest, FailedChangesLeaveEverythingAndTheNextChangeWorks)
{
    PictureStore store;
    std::vector<Record> expected = records(3);
    makeStore(store, expected);
    const Record big{u"big"_s, u"png"_s, randomBytes(200'000, 3)};
    {
        const DiskFull full;
        for (const auto &change : std::vector<std::function<std::expected<void, QString>()>>{
                 [&] { return store.append(big); },
                 [&] { return store.replacePicture(1, big.picture, u"png"_s); },
                 [&] { return store.rename(2, u"新名"_s); },
                 [&] { return store.remove(3); }}) {
            const auto changed = change();
            ASSERT_FALSE(changed);
            EXPECT_EQ(changed.error(), u"磁盘已满"_s);
            EXPECT_TRUE(contentOf(store) == expected);
        }
    }
    {
        ReadOnlyFile readOnly(edtPath());
        if (readOnly.wasMade()) {
            PictureStore readOnlyStore;
            ASSERT_TRUE(readOnlyStore.open(edbPath()));
            const auto removed = readOnlyStore.remove(2);
            ASSERT_FALSE(removed);
            EXPECT_EQ(removed.error(), u"图片库文件是只读的"_s);
            EXPECT_TRUE(contentOf(readOnlyStore) == expected);
        }
    }
    // Bytes under the id the next record would get make its insert fail
    // after its row went in.
    ASSERT_TRUE(rawQuery(edbPath(), "INSERT INTO edt.picture_bytes(id, data) VALUES(4, x'00') RETURNING id"));
    EXPECT_FALSE(store.append(std::vector<Record>{big, big}));
    EXPECT_TRUE(contentOf(store) == expected);
    ASSERT_TRUE(rawQuery(edbPath(), "DELETE FROM edt.picture_bytes WHERE id = 4 RETURNING 1"));

    ASSERT_TRUE(store.remove(3));
    expected.pop_back();
    ASSERT_TRUE(store.append(big));
    expected.push_back(big);
    EXPECT_TRUE(contentOf(store) == expected);
    store.close();
    EXPECT_TRUE(reopened() == expected);
}

TEST_F(PictureStoreTest, TheSamePictureIsFoundAlsoAmongThoseOfEarlierBuilds)
{
    PictureStore store;
    const std::vector<Record> content = records(4);
    makeStore(store, content);
    EXPECT_EQ(store.findSamePicture(content[2].picture).value(), std::optional<int>(3));
    EXPECT_EQ(store.findSamePicture("not in the library").value(), std::optional<int>());
    store.close();

    // Earlier builds kept no fingerprints, and may leave a wrong one behind.
    ASSERT_TRUE(rawQuery(edbPath(), "DELETE FROM picture_digests WHERE id <> 4 RETURNING 1"));
    ASSERT_TRUE(rawQuery(edbPath(), "UPDATE picture_digests SET id = 5 WHERE id = 4 RETURNING 1"));
    ASSERT_TRUE(store.open(edbPath()));
    int reported = 0;
    const auto found = store.findSamePicture(content[1].picture, [&](qint64, qint64 total) {
        reported = int(total);
        return true;
    });
    EXPECT_EQ(found.value(), std::optional<int>(2));
    EXPECT_EQ(reported, 4) << "the pictures without a fingerprint are taken in one pass";
    ASSERT_TRUE(store.remove(2));
    EXPECT_EQ(store.findSamePicture(content[1].picture).value(), std::optional<int>()) << "a removed picture is gone";
}

TEST_F(PictureStoreTest, FingerprintsFollowEveryChangeAndAnEarlierLibraryGetsTableAndStamp)
{
    PictureStore store;
    const std::vector<Record> content = records(3);
    makeStore(store, content);
    const auto fingerprintIs = [&](int id, const QByteArray &bytes) {
        const QByteArray sql = "SELECT count(*) FROM picture_digests WHERE id = " + QByteArray::number(id)
            + " AND digest = x'" + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "'";
        return rawQuery(edbPath(), sql.constData()) == 1;
    };
    EXPECT_TRUE(fingerprintIs(2, content[1].picture));
    ASSERT_TRUE(store.replacePicture(2, "new bytes", u"png"_s));
    EXPECT_TRUE(fingerprintIs(2, "new bytes")) << "replace keeps the fingerprint in step";
    ASSERT_TRUE(store.remove(2));
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM picture_digests WHERE id = 2"), 0) << "delete takes it along";
    store.close();

    // A library of an earlier build had neither fingerprints nor stamps.
    ASSERT_TRUE(rawExec(edbPath(), "DROP TABLE picture_digests; DROP TABLE pair_stamp; DROP TABLE edt.pair_stamp;"));
    const std::vector<Record> expected = {content[0], content[2]};
    EXPECT_TRUE(reopened() == expected);
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM sqlite_master WHERE name = 'picture_digests'"), 1);
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM pair_stamp JOIN edt.pair_stamp USING (stamp)"), 1);
    ASSERT_TRUE(store.open(edbPath()));
    EXPECT_EQ(store.findSamePicture(content[2].picture).value(), std::optional<int>(2));
}

TEST_F(PictureStoreTest, AFailedCommitChangesNothingAndTheNextChangeWorks)
{
    PictureStore store;
    std::vector<Record> expected = records(2);
    makeStore(store, expected);
    {
        // Another reader of pic.edb keeps the commit from writing it.
        sqlite3 *handle = nullptr;
        sqlite3_open(QFile::encodeName(edbPath()).constData(), &handle);
        const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> reader(handle, &sqlite3_close);
        ASSERT_EQ(sqlite3_exec(handle, "BEGIN; SELECT count(*) FROM pictures;", nullptr, nullptr, nullptr), SQLITE_OK);
        const auto renamed = store.rename(1, u"不会留下"_s);
        ASSERT_FALSE(renamed);
        EXPECT_EQ(renamed.error(), u"图片库正被另一个程序使用"_s);
        EXPECT_TRUE(contentOf(store) == expected);
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    }
    EXPECT_TRUE(reopened() == expected) << "nothing of it reached the disk";
    ASSERT_TRUE(store.rename(1, u"新名"_s));
    expected[0].name = u"新名"_s;
    EXPECT_TRUE(contentOf(store) == expected);
    store.close();
    EXPECT_TRUE(reopened() == expected);
}

struct InvalidFiles
{
    const char *description;
    // The file the reason has to name.
    QStringView culprit;
    // Lays out the folder; gets the paths of pic.edb and pic.EDT.
    std::function<bool(const QString &, const QString &)> prepare;
};

class PictureStoreInvalidFilesTest : public PictureStoreTest,
                                     public ::testing::WithParamInterface<InvalidFiles>
{ };

bool validStore(const QString &edbPath)
{
    PictureStore store;
    return store.open(edbPath) == Opened::Created && store.append(Record{u"r"_s, u"c"_s, "picture"});
}

const InvalidFiles invalidFiles[] = {
    {"random bytes in pic.edb", u"pic.edb",
     [](const QString &edb, const QString &) {
         return validStore(edb) && writeFile(edb, randomBytes(8192, 1));
     }},
    {"pic.edb damaged after its header", u"pic.edb",
     [](const QString &edb, const QString &) {
         return validStore(edb) && writeFile(edb, readFile(edb).left(100) + randomBytes(8092, 2));
     }},
    {"pic.EDT damaged after its header", u"pic.EDT",
     [](const QString &edb, const QString &edt) {
         return validStore(edb) && writeFile(edt, readFile(edt).left(100) + randomBytes(65436, 3));
     }},
    {"foreign SQLite databases", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         const char *sql =
             "CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT); INSERT INTO notes(text) VALUES('hi');";
         return writeSqliteFile(edb, sql) && writeSqliteFile(edt, sql);
     }},
    {"tables of another layout under this program's marks", u"pic.edb",
     [](const QString &edb, const QString &) {
         return validStore(edb)
             && writeSqliteFile(edb,
                                "PRAGMA application_id = 1280131666; PRAGMA user_version = 1;"
                                "ALTER TABLE pictures RENAME TO photos;");
     }},
    {"pic.EDT switched to WAL", u"pic.EDT",
     [](const QString &edb, const QString &edt) {
         return validStore(edb) && writeSqliteFile(edt, "PRAGMA journal_mode = WAL;");
     }},
    {"pic.edb and pic.EDT swapped", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         const QByteArray rows = readFile(edb);
         return validStore(edb) && writeFile(edb, readFile(edt)) && writeFile(edt, rows);
     }},
    {"only pic.edb", u"pic.EDT",
     [](const QString &edb, const QString &edt) { return validStore(edb) && QFile::remove(edt); }},
    {"only pic.EDT", u"pic.edb",
     [](const QString &edb, const QString &) { return validStore(edb) && QFile::remove(edb); }},
    {"pic.EDT of another library", u"pic.EDT",
     [](const QString &edb, const QString &edt) {
         const QString other = edb + u"-other.edb"_s;
         return validStore(other) && validStore(edb) && writeFile(edt, readFile(PictureStore::companionPath(other)))
             && QFile::remove(other) && QFile::remove(PictureStore::companionPath(other));
     }},
    {"pic.EDT without the stamp of its pair", u"pic.EDT",
     [](const QString &edb, const QString &) {
         return validStore(edb) && rawExec(edb, "DROP TABLE edt.pair_stamp");
     }},
    {"only the set-aside files of a damaged library", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         return validStore(edb) && QFile::rename(edb, edb + u".damaged-1"_s) && QFile::rename(edt, edt + u".damaged-1"_s);
     }},
    {"pic.edb is a folder", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         return QDir().mkdir(edb) && writeFile(edt, QByteArray());
     }},
};

TEST_P(PictureStoreInvalidFilesTest, OpenFailsWithItsReasonAndTouchesNoFile)
{
    SCOPED_TRACE(GetParam().description);
    ASSERT_TRUE(GetParam().prepare(edbPath(), edtPath()));
    const auto before = snapshot(m_dir.path());
    PictureStore store;
    const auto opened = store.open(edbPath());
    ASSERT_FALSE(opened);
    EXPECT_FALSE(store.isOpen());
    EXPECT_TRUE(opened.error().reason.contains(GetParam().culprit)) << qPrintable(opened.error().reason);
    // Only damage may lead to the offer of the BAK copy.
    EXPECT_EQ(opened.error().problem, LibraryFiles::Problem::Damaged);
    EXPECT_EQ(store.count(), 0);
    store.close();
    EXPECT_TRUE(snapshot(m_dir.path()) == before) << "files were created, removed or changed";
}

void PrintTo(const InvalidFiles &files, std::ostream *out)
{
    *out << files.description;
}

INSTANTIATE_TEST_SUITE_P(Files, PictureStoreInvalidFilesTest, ::testing::ValuesIn(invalidFiles));

// One step of a loop of changes, chosen from the number of records alone
// so that a writer and a checker with the same generator agree on it.
struct Change
{
    enum Kind { Append, Replace, Rename, Remove } kind = Append;
    int record = 0;
    Record values;
};

Change nextChange(int count, std::mt19937 &rng, int step)
{
    Change change;
    const unsigned roll = rng() % 4;
    change.kind = count == 0 ? Change::Append : count >= 40 ? Change::Kind(1 + roll % 3) : Change::Kind(roll);
    change.record = count > 0 ? 1 + int(rng() % unsigned(count)) : 0;
    const unsigned size = 1 + rng() % 60'000;
    change.values = {u"p%1"_s.arg(step), u"c%1"_s.arg(rng() % 5), randomBytes(size, rng())};
    return change;
}

void applyTo(std::vector<Record> &model, const Change &change)
{
    Record *target = change.record > 0 ? &model[std::size_t(change.record - 1)] : nullptr;
    switch (change.kind) {
    case Change::Append:
        model.push_back(change.values);
        break;
    case Change::Replace:
        target->picture = change.values.picture;
        target->category = change.values.category;
        break;
    case Change::Rename:
        target->name = change.values.name;
        break;
    case Change::Remove:
        model.erase(model.begin() + (change.record - 1));
        break;
    }
}

std::expected<void, QString> applyTo(PictureStore &store, const Change &change)
{
    switch (change.kind) {
    case Change::Append:
        return store.append(change.values);
    case Change::Replace:
        return store.replacePicture(change.record, change.values.picture, change.values.category);
    case Change::Rename:
        return store.rename(change.record, change.values.name);
    case Change::Remove:
        return store.remove(change.record);
    }
    return {};
}

// Changes the store in this (child) process until killed, writing one byte
// to done after each change that returned.
[[noreturn]] void changeUntilKilled(const QString &edbPath, unsigned seed, int done)
{
    PictureStore store;
    if (!store.open(edbPath))
        _exit(2);
    std::mt19937 rng(seed);
    for (int step = 0;; ++step) {
        if (!applyTo(store, nextChange(store.count(), rng, step)))
            _exit(3);
        if (::write(done, "x", 1) != 1)
            _exit(4);
    }
}

TEST_F(PictureStoreTest, KilledWriterLeavesExactlyTheChangesItCommitted)
{
    std::vector<Record> model = records(5);
    {
        PictureStore store;
        makeStore(store, model);
    }
    std::mt19937 killer(20261209);
    int interruptedCommits = 0;
    for (int round = 0; round < 60; ++round) {
        const unsigned seed = 1000 + unsigned(round);
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::close(pipeEnds[0]);
            changeUntilKilled(edbPath(), seed, pipeEnds[1]);
        }
        ::close(pipeEnds[1]);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + killer() % 60));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;
        int returned = 0;
        char byte = 0;
        while (::read(pipeEnds[0], &byte, 1) == 1)
            ++returned;
        ::close(pipeEnds[0]);
        if (QFile::exists(edbPath() + u"-journal"_s) || QFile::exists(edtPath() + u"-journal"_s))
            ++interruptedCommits;

        // The change in flight may have committed before its byte was written.
        std::mt19937 rng(seed);
        for (int step = 0; step < returned; ++step)
            applyTo(model, nextChange(int(model.size()), rng, step));
        std::vector<Record> oneMore = model;
        applyTo(oneMore, nextChange(int(oneMore.size()), rng, returned));
        const std::vector<Record> found = reopened();
        if (found == oneMore)
            model = std::move(oneMore);
        ASSERT_TRUE(found == model) << "round " << round << ": " << found.size() << " records after "
                                    << returned << " changes";
        EXPECT_EQ(rawQuery(edbPath(),
                           "SELECT count(*) FROM edt.picture_bytes WHERE id NOT IN (SELECT id FROM main.pictures)"),
                  0)
            << "orphan bytes after round " << round;
    }
    EXPECT_TRUE(QDir(m_dir.path()).entryList({u"pic.edb-mj*"_s}).isEmpty()) << "stale super-journals remain";
    EXPECT_GT(interruptedCommits, 0) << "no kill hit a commit";
}

} // namespace
