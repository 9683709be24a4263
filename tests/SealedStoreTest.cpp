#include "StoreFixture.h"
#include "TestFiles.h"
#include "seal/LibraryKey.h"
#include "store/PictureReader.h"
#include "store/PictureStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <random>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Record = PictureStore::NewRecord;

namespace {

const QByteArray Marker = "LUMBRA-PLAIN-MARKER";

// The reason a result failed; nothing when it did not.
template<typename Value>
std::optional<StoreReason> failure(const std::expected<Value, StoreError> &result)
{
    return result ? std::nullopt : std::optional<StoreReason>(result.error().reason);
}

// Records whose names and pictures carry the marker.
std::vector<Record> markedRecords(int count, unsigned seed)
{
    std::vector<Record> made;
    for (int i = 1; i <= count; ++i) {
        QByteArray picture = randomBytes(3000 + 100 * i, seed + unsigned(i));
        picture.insert(1000, Marker);
        made.push_back({u"名字%1 %2"_s.arg(seed).arg(i) + QString::fromLatin1(Marker), u"类别%1"_s.arg(i % 3), picture});
    }
    return made;
}

// The marker, and the SHA-256 of every picture, which a plain fingerprint
// would be.
QList<QByteArray> plainTraces(const std::vector<Record> &written)
{
    QList<QByteArray> traces{Marker};
    for (const Record &record : written)
        traces << QCryptographicHash::hash(record.picture, QCryptographicHash::Sha256);
    return traces;
}

// The files in folder and below that hold any of the traces.
QStringList filesHolding(const QString &folder, const QList<QByteArray> &traces)
{
    QStringList holding;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QByteArray bytes = readFile(path);
        if (std::any_of(traces.begin(), traces.end(), [&](const QByteArray &trace) { return bytes.contains(trace); }))
            holding << QDir(folder).relativeFilePath(path);
    }
    return holding;
}

// In a child: seals fullBatches batches of batchSize, then dies inside the
// next batch after writing exitAfter rows, as a kill would end it. True when
// it died there.
bool sealInChildAndDie(const QString &edbPath, const std::shared_ptr<const LibraryKey> &key, int fullBatches,
                       int batchSize, int exitAfter)
{
    const pid_t child = fork();
    if (child == 0) {
        PictureStore store;
        if (!store.open(edbPath) || !store.unlock(key))
            _exit(2);
        for (int batch = 0; batch < fullBatches; ++batch) {
            if (!store.sealSome(batchSize))
                _exit(3);
        }
        store.sealSome(batchSize, [exitAfter](qint64 done, qint64) {
            if (done == exitAfter)
                _exit(0);
            return true;
        });
        _exit(4);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SealedStoreTest : public StoreFixture
{
protected:
    // Creates the library with this content, plain, and seals it; left open.
    void makeSealedStore(PictureStore &store, const std::vector<Record> &content)
    {
        makeStore(store, content);
        const auto sealed = store.seal(m_key, u"slot"_s);
        ASSERT_TRUE(sealed) << describe(sealed.error());
    }

    // The store as the next start with the key sees it.
    std::vector<Record> reopenedWithKey(const QString &edbPath)
    {
        PictureStore store;
        const auto opened = store.open(edbPath);
        EXPECT_TRUE(opened) << (opened ? std::string() : describe(opened.error()));
        const auto unlocked = store.unlock(m_key);
        EXPECT_TRUE(unlocked) << (unlocked ? std::string() : describe(unlocked.error()));
        return contentOf(store);
    }

    const std::shared_ptr<const LibraryKey> m_key = LibraryKey::generate();
};

TEST_F(SealedStoreTest, NoPlainValueReachesTheFilesTheCopyOrAJournal)
{
    PictureStore store;
    std::vector<Record> content = records(3);
    makeSealedStore(store, content);
    const std::vector<Record> marked = markedRecords(6, 1);
    ASSERT_TRUE(store.append({marked[0], marked[1], marked[2]}));
    content.insert(content.end(), {marked[0], marked[1], marked[2]});
    ASSERT_TRUE(store.rename(1, marked[3].name)) << "a plain row is sealed whole when it changes";
    content[0].name = marked[3].name;
    ASSERT_TRUE(store.replacePicture(5, marked[4].picture, u"换"_s));
    content[4].picture = marked[4].picture;
    content[4].category = u"换"_s;
    ASSERT_TRUE(store.remove(6));
    content.pop_back();
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(u"BAK"_s));
    ASSERT_TRUE(store.copyTo(m_dir.filePath(u"BAK/pic.edb"_s)));
    store.close();

    // Dies while sealing the plain records 2 and 3: the journal keeps the
    // pages as they were before, beside the sealed records.
    ASSERT_TRUE(sealInChildAndDie(edbPath(), m_key, 0, 2, 1));
    EXPECT_TRUE(QFile::exists(edbPath() + u"-journal"_s));
    std::vector<Record> written = records(3);
    written.insert(written.end(), marked.begin(), marked.end());
    EXPECT_EQ(filesHolding(m_dir.path(), plainTraces(written)), QStringList());
    EXPECT_TRUE(reopenedWithKey(edbPath()) == content);
    EXPECT_TRUE(reopenedWithKey(m_dir.filePath(u"BAK/pic.edb"_s)) == content);
}

TEST_F(SealedStoreTest, ASealedValueOpensOnlyInItsPlaceAndUnderItsKey)
{
    PictureStore store;
    const std::vector<Record> content = markedRecords(3, 2);
    makeSealedStore(store, {});
    ASSERT_TRUE(store.append(content));
    store.close();
    const QByteArray edb = readFile(edbPath());
    const QByteArray edt = readFile(edtPath());

    ASSERT_TRUE(store.open(edbPath()));
    EXPECT_EQ(failure(store.unlock(LibraryKey::generate())), StoreReason::KeyMismatch);
    EXPECT_TRUE(store.isLocked());
    ASSERT_TRUE(store.unlock(m_key));
    EXPECT_TRUE(contentOf(store) == content);
    const PictureStore::PictureRef ref = store.pictureRef(2);
    EXPECT_EQ(readPictureBytes(store.picturesPath(), ref.id, ref.key).value_or(QByteArray()), content[1].picture);
    store.close();

    // A value copied by SQL to another row or field; the row named when it does not open.
    const auto brokenRow = [&](const char *sql) {
        store.close();
        EXPECT_TRUE(writeFile(edbPath(), edb) && writeFile(edtPath(), edt) && rawExec(edbPath(), sql));
        EXPECT_TRUE(store.open(edbPath()));
        const auto unlocked = store.unlock(m_key);
        if (unlocked)
            return QString();
        EXPECT_EQ(unlocked.error().reason, StoreReason::SealBroken);
        return unlocked.error().detail;
    };
    EXPECT_EQ(brokenRow("UPDATE pictures SET name = (SELECT name FROM pictures WHERE id = 2) WHERE id = 1"), u"1"_s);
    EXPECT_TRUE(store.isLocked());
    EXPECT_EQ(brokenRow("UPDATE pictures SET category = name WHERE id = 3"), u"3"_s);
    EXPECT_EQ(brokenRow("UPDATE edt.picture_bytes SET data = (SELECT data FROM edt.picture_bytes WHERE id = 1)"
                        " WHERE id = 2"),
              QString());
    EXPECT_EQ(store.picture(1).value_or(QByteArray()), content[0].picture);
    EXPECT_EQ(failure(store.picture(2)), StoreReason::SealBroken);
    EXPECT_FALSE(readPictureBytes(store.picturesPath(), 2, m_key)) << "nor in the reading thread";
}

TEST_F(SealedStoreTest, ASealedLibraryOpensLockedWithoutRecordsAndStillCopies)
{
    PictureStore store;
    const std::vector<Record> content = records(3);
    makeSealedStore(store, content);
    ASSERT_TRUE(store.sealSome(3));
    store.close();
    EXPECT_EQ(rawQuery(edbPath(), "PRAGMA main.user_version"), 2) << "an earlier build calls it newer";
    EXPECT_EQ(rawQuery(edbPath(), "PRAGMA edt.user_version"), 2);

    ASSERT_TRUE(store.open(edbPath()));
    EXPECT_TRUE(store.isSealed() && store.isLocked());
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.keyIdentifier(), m_key->identifier());
    EXPECT_EQ(store.recoverySlot(), u"slot"_s);
    EXPECT_EQ(failure(store.append(content[0])), StoreReason::Locked);
    EXPECT_EQ(failure(store.findSamePicture(content[0].picture)), StoreReason::Locked);
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(u"BAK"_s));
    ASSERT_TRUE(store.copyTo(m_dir.filePath(u"BAK/pic.edb"_s)));
    EXPECT_TRUE(reopenedWithKey(m_dir.filePath(u"BAK/pic.edb"_s)) == content);
}

TEST_F(SealedStoreTest, TheSamePictureIsFoundByItsKeyedFingerprint)
{
    PictureStore store;
    const std::vector<Record> content = records(4);
    makeSealedStore(store, content);
    ASSERT_TRUE(store.sealSome(2));
    // Rows 1 and 2 are sealed, 3 and 4 plain; row 1 lost its fingerprint.
    ASSERT_TRUE(rawQuery(edbPath(), "DELETE FROM picture_digests WHERE id = 1 RETURNING 1"));
    EXPECT_EQ(store.findSamePicture(content[0].picture).value_or(std::nullopt), std::optional<int>(1));
    EXPECT_EQ(store.findSamePicture(content[3].picture).value_or(std::nullopt), std::optional<int>(4));
    EXPECT_EQ(rawQuery(edbPath(), "SELECT count(*) FROM picture_digests"), 4);
    store.close();
    EXPECT_EQ(filesHolding(m_dir.path(), plainTraces(content)), QStringList()) << "no plain fingerprint";
}

TEST_F(SealedStoreTest, AConversionKilledBetweenBatchesGoesOnAndEndsWithoutAPlainValue)
{
    const std::vector<Record> content = markedRecords(40, 3);
    {
        PictureStore store;
        makeSealedStore(store, content);
    }
    std::mt19937 rng(20261210);
    int sealed = 0;
    for (int round = 0; round < 3; ++round) {
        const int batches = int(rng() % 3);
        ASSERT_TRUE(sealInChildAndDie(edbPath(), m_key, batches, 5, 1 + int(rng() % 4))) << "round " << round;
        sealed += 5 * batches;
        PictureStore store;
        ASSERT_TRUE(store.open(edbPath()) && store.unlock(m_key)) << "round " << round;
        EXPECT_TRUE(contentOf(store) == content) << "round " << round;
        EXPECT_EQ(store.unsealedCount(), 40 - sealed) << "a batch killed halfway is undone whole";
    }
    PictureStore store;
    ASSERT_TRUE(store.open(edbPath()) && store.unlock(m_key));
    EXPECT_EQ(failure(store.sealSome(5, [](qint64 done, qint64) { return done < 2; })), StoreReason::Cancelled);
    EXPECT_EQ(store.unsealedCount(), 40 - sealed);
    while (store.unsealedCount() > 0)
        ASSERT_TRUE(store.sealSome(7));
    store.close();
    EXPECT_EQ(filesHolding(m_dir.path(), plainTraces(content)), QStringList()) << "no plain value left in free pages";
    ASSERT_TRUE(store.open(edbPath()) && store.unlock(m_key));
    ASSERT_TRUE(store.compact());
    store.close();
    EXPECT_EQ(filesHolding(m_dir.path(), plainTraces(content)), QStringList());
    EXPECT_TRUE(reopenedWithKey(edbPath()) == content);
}

} // namespace
