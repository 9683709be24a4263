#include "StoreFixture.h"
#include "TestFiles.h"
#include "store/PictureStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <functional>
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

using PictureStoreTest = StoreFixture;

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
    EXPECT_FALSE(picture.error().detail.isEmpty()) << "SQLite's words come along";
}

TEST_F(PictureStoreTest, AFullDiskOrAReadOnlyFileChangesNothing)
{
    PictureStore store;
    std::vector<Record> expected = records(3);
    makeStore(store, expected);
    const Record big{u"big"_s, u"png"_s, randomBytes(200'000, 3)};
    {
        const DiskFull full;
        for (const auto &change : std::vector<std::function<std::expected<void, StoreError>()>>{
                 [&] { return store.append(big); },
                 [&] { return store.replacePicture(1, big.picture, u"png"_s); },
                 [&] { return store.rename(2, u"新名"_s); },
                 [&] { return store.remove(3); }}) {
            const auto changed = change();
            ASSERT_FALSE(changed);
            EXPECT_EQ(changed.error().reason, StoreReason::DiskFull);
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
            EXPECT_EQ(removed.error().reason, StoreReason::ReadOnly);
            EXPECT_TRUE(contentOf(readOnlyStore) == expected);
        }
    }
}

TEST_F(PictureStoreTest, AChangeThatFailsHalfWayLeavesEverythingAndTheNextChangeWorks)
{
    PictureStore store;
    std::vector<Record> expected = records(3);
    makeStore(store, expected);
    const Record big{u"big"_s, u"png"_s, randomBytes(200'000, 3)};
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

TEST_F(PictureStoreTest, FingerprintsFollowEveryChange)
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
        EXPECT_EQ(renamed.error().reason, StoreReason::Busy);
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

std::expected<void, StoreError> applyTo(PictureStore &store, const Change &change)
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

// Runs changeUntilKilled in a child and kills it after the delay; the
// changes it reported committed, or -1 when it ended by itself.
int changesBeforeKill(const QString &edbPath, unsigned seed, std::chrono::milliseconds delay)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        changeUntilKilled(edbPath, seed, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    int returned = 0;
    char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        ++returned;
    ::close(pipeEnds[0]);
    return WIFSIGNALED(status) ? returned : -1;
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
        const int returned = changesBeforeKill(edbPath(), seed, std::chrono::milliseconds(5 + killer() % 60));
        ASSERT_GE(returned, 0) << "the writer stopped by itself in round " << round;
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
