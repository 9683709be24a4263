#include "StoreFixture.h"
#include "TestFiles.h"
#include "store/PictureStore.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;
using Record = PictureStore::NewRecord;

namespace {

using LibraryUpgradeTest = StoreFixture;

TEST_F(LibraryUpgradeTest, RecordsMarkedByAnEarlierBuildAreRemovedOrNeverShown)
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

TEST_F(LibraryUpgradeTest, TheSamePictureIsFoundAlsoAmongThoseOfEarlierBuilds)
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

TEST_F(LibraryUpgradeTest, AnEarlierLibraryGetsTheFingerprintTableAndTheStamp)
{
    PictureStore store;
    const std::vector<Record> content = records(3);
    makeStore(store, content);
    ASSERT_TRUE(store.remove(2));
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

} // namespace
