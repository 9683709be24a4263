#include "PictureStore.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using OpenResult = PictureStore::OpenResult;

namespace {

// A picture whose bytes can be checked against its name.
QByteArray pictureOf(const QString &name, int repeat)
{
    return name.toUtf8().repeated(repeat);
}

bool isPictureOf(const QByteArray &bytes, const QString &name)
{
    const QByteArray unit = name.toUtf8();
    return !bytes.isEmpty() && bytes.size() % unit.size() == 0
        && bytes == unit.repeated(bytes.size() / unit.size());
}

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

// Runs one query returning a number on pic.edb with pic.EDT attached as
// "edt", bypassing the store.
std::optional<qint64> rawQuery(const QString &edbPath, const QString &edtPath, const char *sql)
{
    sqlite3 *handle = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(edbPath).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(edtPath) + "' AS edt";
    if (rc != SQLITE_OK || sqlite3_exec(handle, attach.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::nullopt;
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(handle, sql, -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, &sqlite3_finalize);
    if (!raw || sqlite3_step(raw) != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(raw, 0);
}

// Creates a database that is valid SQLite but belongs to somebody else.
bool writeSqliteFile(const QString &path, const char *sql)
{
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &handle);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

class PictureStoreTest : public ::testing::Test
{
protected:
    QString edbPath() const { return m_dir.filePath(u"pic.edb"_s); }
    QString edtPath() const { return m_dir.filePath(u"pic.EDT"_s); }

    // Creates a store holding records "r1".."rN", each picture its name 3 times.
    void makeStore(PictureStore &store, int count)
    {
        ASSERT_EQ(store.openStore(edbPath()), OpenResult::Created) << qPrintable(store.lastError());
        std::vector<PictureStore::NewRecord> records;
        for (int i = 1; i <= count; ++i) {
            const QString name = u"r%1"_s.arg(i);
            records.push_back({name, u"c%1"_s.arg(i % 3), pictureOf(name, 3)});
        }
        ASSERT_TRUE(store.appendRecords(records)) << qPrintable(store.lastError());
    }

    static QString name(const PictureStore &store)
    {
        return store.readField(PictureStore::NameField).toString();
    }

    QTemporaryDir m_dir;
};

TEST_F(PictureStoreTest, NewInstallationCreatesAnEmptyStoreThatReopens)
{
    PictureStore store;
    ASSERT_EQ(store.openStore(edbPath()), OpenResult::Created) << qPrintable(store.lastError());
    EXPECT_TRUE(store.isOpen());
    EXPECT_EQ(store.recordCount(), 0);
    store.goFirst();
    EXPECT_TRUE(store.isAfterLast());
    EXPECT_EQ(store.currentRecordNumber(), 0);
    EXPECT_FALSE(store.readField(PictureStore::NameField).isValid());
    EXPECT_FALSE(store.deleteCurrent());
    store.closeStore();

    const auto files = snapshot(m_dir.path());
    EXPECT_EQ(files.size(), 2u) << "only pic.edb and pic.EDT remain";
    EXPECT_TRUE(files.count(u"pic.edb"_s) && files.count(u"pic.EDT"_s));
    EXPECT_EQ(store.openStore(edbPath()), OpenResult::Opened) << qPrintable(store.lastError());
    EXPECT_EQ(store.recordCount(), 0);
}

TEST_F(PictureStoreTest, AppendGoesToTheEndAndKeepsThePosition)
{
    PictureStore store;
    makeStore(store, 3);
    ASSERT_TRUE(store.goToRecord(2));
    ASSERT_TRUE(store.appendRecord(u"r4"_s, u"c"_s, pictureOf(u"r4"_s, 3)));
    EXPECT_EQ(store.recordCount(), 4);
    EXPECT_EQ(store.currentRecordNumber(), 2);
    EXPECT_EQ(name(store), u"r2"_s);
    ASSERT_TRUE(store.goToRecord(4));
    EXPECT_EQ(name(store), u"r4"_s);

    store.skipNext();
    ASSERT_TRUE(store.isAfterLast());
    ASSERT_TRUE(store.appendRecord(u"r5"_s, u"c"_s, pictureOf(u"r5"_s, 3)));
    EXPECT_TRUE(store.isAfterLast()) << "a position past the end stays there";
    EXPECT_EQ(store.currentRecordNumber(), 0);
}

TEST_F(PictureStoreTest, DeletedRecordsCountUntilPurgedThenNumbersCloseUp)
{
    PictureStore store;
    makeStore(store, 5);
    for (int n : {2, 4}) {
        ASSERT_TRUE(store.goToRecord(n));
        ASSERT_TRUE(store.deleteCurrent());
    }
    EXPECT_EQ(store.recordCount(), 5);
    ASSERT_TRUE(store.goToRecord(4));
    EXPECT_EQ(name(store), u"r4"_s) << "a marked record is still readable";
    ASSERT_TRUE(store.goToRecord(3));

    ASSERT_TRUE(store.purgeDeleted()) << qPrintable(store.lastError());
    EXPECT_EQ(store.recordCount(), 3);
    EXPECT_EQ(store.currentRecordNumber(), 2) << "the current record keeps its place";
    EXPECT_EQ(name(store), u"r3"_s);
    const QString expected[] = {u"r1"_s, u"r3"_s, u"r5"_s};
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(store.goToRecord(n));
        EXPECT_EQ(name(store), expected[n - 1]);
        EXPECT_EQ(store.readField(PictureStore::PictureField).toByteArray(), pictureOf(expected[n - 1], 3));
    }
    store.closeStore();
    EXPECT_EQ(rawQuery(edbPath(), edtPath(), "SELECT count(*) FROM edt.picture_bytes"), 3)
        << "purged pictures leave no bytes behind";
    ASSERT_EQ(store.openStore(edbPath()), OpenResult::Opened);
    EXPECT_EQ(store.recordCount(), 3);
}

TEST_F(PictureStoreTest, OutOfRangePositionsAndInvalidWritesChangeNothing)
{
    PictureStore store;
    makeStore(store, 2);
    ASSERT_TRUE(store.goToRecord(2));
    for (int n : {0, -1, 3})
        EXPECT_FALSE(store.goToRecord(n)) << n;
    EXPECT_EQ(store.currentRecordNumber(), 2);

    EXPECT_FALSE(store.writeField(PictureStore::NameField, QVariant(QByteArray("x"))));
    EXPECT_FALSE(store.writeField(PictureStore::PictureField, QVariant(u"x"_s)));
    EXPECT_FALSE(store.writeField(u"图片大小", QVariant(u"x"_s)));
    EXPECT_FALSE(store.readField(u"图片大小").isValid());

    store.skipNext();
    ASSERT_TRUE(store.isAfterLast());
    store.skipNext();
    EXPECT_EQ(store.currentRecordNumber(), 0);
    EXPECT_FALSE(store.readField(PictureStore::NameField).isValid());
    EXPECT_FALSE(store.readField(PictureStore::PictureField).isValid());
    EXPECT_FALSE(store.writeField(PictureStore::NameField, QVariant(u"x"_s)));
    EXPECT_FALSE(store.writeField(PictureStore::PictureField, QVariant(QByteArray("x"))));
    EXPECT_FALSE(store.deleteCurrent());

    store.closeStore();
    ASSERT_EQ(store.openStore(edbPath()), OpenResult::Opened);
    for (int n = 1; n <= 2; ++n) {
        ASSERT_TRUE(store.goToRecord(n));
        EXPECT_EQ(name(store), u"r%1"_s.arg(n));
        EXPECT_EQ(store.readField(PictureStore::PictureField).toByteArray(), pictureOf(u"r%1"_s.arg(n), 3));
    }
}

TEST_F(PictureStoreTest, EnumerationServesTextFieldsWithoutThePictureFile)
{
    PictureStore store;
    makeStore(store, 50);
    // With pic.EDT emptied behind the store's back, only picture reads can fail.
    ASSERT_TRUE(QFile::resize(edtPath(), 0));
    int expected = 1;
    for (store.goFirst(); !store.isAfterLast(); store.skipNext(), ++expected) {
        EXPECT_EQ(store.currentRecordNumber(), expected);
        EXPECT_EQ(name(store), u"r%1"_s.arg(expected));
        EXPECT_EQ(store.readField(PictureStore::CategoryField).toString(), u"c%1"_s.arg(expected % 3));
    }
    EXPECT_EQ(expected, 51);
    ASSERT_TRUE(store.goToRecord(1));
    EXPECT_FALSE(store.readField(PictureStore::PictureField).isValid());
    EXPECT_FALSE(store.lastError().isEmpty());
}

TEST_F(PictureStoreTest, FieldsRoundTripExactlyAcrossReopen)
{
    const QString names[] = {u"春节 北京 2008"_s, u"😀 party"_s, u"𠀀𠀁"_s, u"café é"_s, u"a\u0000b"_s};
    const QByteArray big = randomBytes(20 * 1024 * 1024, 7);
    {
        PictureStore store;
        makeStore(store, 0);
        ASSERT_TRUE(store.appendRecord(u"empty"_s, u"c"_s, QByteArray()));
        ASSERT_TRUE(store.appendRecord(u"big"_s, u"c"_s, big));
        for (const QString &text : names)
            ASSERT_TRUE(store.appendRecord(text, text + u"类别"_s, QByteArray("x")));
        ASSERT_TRUE(store.goToRecord(3));
        ASSERT_TRUE(store.writeField(PictureStore::NameField, QVariant(u"改名 🎉"_s)));
        ASSERT_TRUE(store.writeField(PictureStore::CategoryField, QVariant(u"风景"_s)));
        ASSERT_TRUE(store.writeField(PictureStore::PictureField, QVariant(QByteArray(5, '\0'))));
    }
    PictureStore store;
    ASSERT_EQ(store.openStore(edbPath()), OpenResult::Opened);
    ASSERT_EQ(store.recordCount(), 2 + int(std::size(names)));
    store.goFirst();
    const QByteArray empty = store.readField(PictureStore::PictureField).toByteArray();
    EXPECT_EQ(empty.size(), 0);
    store.skipNext();
    EXPECT_TRUE(store.readField(PictureStore::PictureField).toByteArray() == big);
    store.skipNext();
    EXPECT_EQ(name(store), u"改名 🎉"_s);
    EXPECT_EQ(store.readField(PictureStore::CategoryField).toString(), u"风景"_s);
    EXPECT_EQ(store.readField(PictureStore::PictureField).toByteArray(), QByteArray(5, '\0'));
    for (std::size_t i = 1; i < std::size(names); ++i) {
        store.skipNext();
        EXPECT_EQ(name(store), names[i]);
        EXPECT_EQ(store.readField(PictureStore::CategoryField).toString(), names[i] + u"类别"_s);
    }
}

TEST_F(PictureStoreTest, FailedTransactionLeavesFilesAndMemoryUnchanged)
{
    PictureStore store;
    makeStore(store, 2);
    store.closeStore();
    // Bytes already stored under the id the next record will get make the
    // second insert of the append fail after the first one succeeded.
    ASSERT_EQ(rawQuery(edbPath(), edtPath(),
                       "INSERT INTO edt.picture_bytes(id, data) VALUES(4, x'00') RETURNING id"),
              4);
    ASSERT_EQ(store.openStore(edbPath()), OpenResult::Opened);
    ASSERT_TRUE(store.goToRecord(2));
    const std::vector<PictureStore::NewRecord> records = {{u"r3"_s, u"c"_s, QByteArray("3")},
                                                          {u"r4"_s, u"c"_s, QByteArray("4")}};
    EXPECT_FALSE(store.appendRecords(records));
    EXPECT_TRUE(store.lastError().contains(u"UNIQUE"_s)) << qPrintable(store.lastError());
    EXPECT_EQ(store.recordCount(), 2);
    EXPECT_EQ(store.currentRecordNumber(), 2);
    store.closeStore();
    EXPECT_EQ(rawQuery(edbPath(), edtPath(), "SELECT count(*) FROM main.pictures"), 2);
    EXPECT_EQ(rawQuery(edbPath(), edtPath(), "SELECT count(*) FROM edt.picture_bytes WHERE id = 3"), 0);
}

TEST_F(PictureStoreTest, CloseIsIdempotentAndTheStoreReopens)
{
    PictureStore store;
    makeStore(store, 2);
    store.closeStore();
    store.closeStore();
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_FALSE(store.appendRecord(u"x"_s, u"c"_s, QByteArray("x")));
    ASSERT_EQ(store.openStore(edbPath()), OpenResult::Opened);
    EXPECT_EQ(store.recordCount(), 2);
    EXPECT_EQ(store.currentRecordNumber(), 1);
}

struct InvalidFiles
{
    const char *description;
    // The file the error message has to name.
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
    return store.openStore(edbPath) == OpenResult::Created
        && store.appendRecord(u"r"_s, u"c"_s, QByteArray("picture"));
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
    {"pic.edb and pic.EDT swapped", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         const QByteArray rows = readFile(edb);
         return validStore(edb) && writeFile(edb, readFile(edt)) && writeFile(edt, rows);
     }},
    {"only pic.edb", u"pic.EDT",
     [](const QString &edb, const QString &edt) { return validStore(edb) && QFile::remove(edt); }},
    {"only pic.EDT", u"pic.edb",
     [](const QString &edb, const QString &) { return validStore(edb) && QFile::remove(edb); }},
    {"pic.edb is a folder", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         return QDir().mkdir(edb) && writeFile(edt, QByteArray());
     }},
};

TEST_P(PictureStoreInvalidFilesTest, OpenFailsAndTouchesNoFile)
{
    SCOPED_TRACE(GetParam().description);
    ASSERT_TRUE(GetParam().prepare(edbPath(), edtPath()));
    const auto before = snapshot(m_dir.path());
    PictureStore store;
    EXPECT_EQ(store.openStore(edbPath()), OpenResult::Failed);
    EXPECT_FALSE(store.isOpen());
    EXPECT_TRUE(store.lastError().contains(GetParam().culprit)) << qPrintable(store.lastError());
    EXPECT_EQ(store.recordCount(), 0);
    store.closeStore();
    EXPECT_TRUE(snapshot(m_dir.path()) == before) << "files were created, removed or changed";
}

void PrintTo(const InvalidFiles &files, std::ostream *out)
{
    *out << files.description;
}

INSTANTIATE_TEST_SUITE_P(Files, PictureStoreInvalidFilesTest, ::testing::ValuesIn(invalidFiles));

// Opens the store in this (child) process and changes it until killed.
[[noreturn]] void writeUntilKilled(const QString &edbPath, unsigned seed)
{
    PictureStore store;
    if (store.openStore(edbPath) != OpenResult::Opened)
        _exit(2);
    std::mt19937 rng(seed);
    const auto picture = [&rng](const QString &name) { return pictureOf(name, 1 + int(rng() % 20000)); };
    for (int step = 0;; ++step) {
        const int count = store.recordCount();
        const QString name = u"p%1-%2"_s.arg(seed).arg(step);
        const unsigned action = rng() % 4;
        if (action == 0 && count < 100) {
            store.appendRecord(name, u"c"_s, picture(name));
        } else if (action == 1 && count < 100) {
            store.appendRecords({{name + u"a"_s, u"c"_s, picture(name + u"a"_s)},
                                 {name + u"b"_s, u"c"_s, picture(name + u"b"_s)}});
        } else if (count > 0) {
            store.goToRecord(1 + int(rng() % unsigned(count)));
            if (action == 3) {
                store.deleteCurrent();
                store.purgeDeleted();
            } else {
                store.writeField(PictureStore::PictureField,
                                 picture(store.readField(PictureStore::NameField).toString()));
            }
        }
    }
}

TEST_F(PictureStoreTest, KilledWriterNeverLeavesHalfAChange)
{
    PictureStore store;
    makeStore(store, 5);
    store.closeStore();
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    int interruptedCommits = 0;
    int round = 0;
    for (; round < 40 && (round < 10 || interruptedCommits < 3); ++round) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0)
            writeUntilKilled(edbPath(), seed + unsigned(round));
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + rng() % 50));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
        if (QFile::exists(edbPath() + u"-journal"_s) || QFile::exists(edtPath() + u"-journal"_s))
            ++interruptedCommits;

        ASSERT_EQ(store.openStore(edbPath()), OpenResult::Opened) << qPrintable(store.lastError());
        for (store.goFirst(); !store.isAfterLast(); store.skipNext()) {
            const QString name = store.readField(PictureStore::NameField).toString();
            ASSERT_TRUE(isPictureOf(store.readField(PictureStore::PictureField).toByteArray(), name))
                << "round " << round << ", " << qPrintable(name);
        }
        store.closeStore();
        EXPECT_TRUE(QDir(m_dir.path()).entryList({u"pic.edb-mj*"_s}).isEmpty())
            << "stale super-journals remain";
        EXPECT_EQ(
            rawQuery(edbPath(), edtPath(),
                     "SELECT count(*) FROM edt.picture_bytes WHERE id NOT IN (SELECT id FROM main.pictures)"),
            0)
            << "orphan bytes after round " << round;
    }
    EXPECT_GT(interruptedCommits, 0) << "no kill hit a commit in " << round << " rounds";
}

} // namespace
