#include "TestPictures.h"
#include "pictures/PictureLoader.h"

#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

// A picture source whose read waits until the test lets it end, so that a
// decode stays underway for as long as the test wants.
struct HeldRead
{
    QSemaphore started;
    QSemaphore mayEnd;

    PictureSource source(quint64 key, QColor colour)
    {
        return {key, [this, colour] {
                    started.release();
                    mayEnd.acquire();
                    return std::expected<QByteArray, QString>(pictureFile({40, 40}, colour));
                }};
    }
};


// A 2000 x 1000 picture of one colour whose reads are counted.
PictureSource countedSource(quint64 key, QColor colour, std::atomic<int> &reads)
{
    return {key, [&reads, colour] {
                ++reads;
                return std::expected<QByteArray, QString>(pictureFile({2000, 1000}, colour));
            }};
}

}

TEST(PictureLoaderTest, OneDecodeServesEveryViewAndOnlyTheNewestRequestIsShown)
{
    PictureLoader loader;
    std::atomic<int> reads = 0;
    const auto source = [&reads](quint64 key, QColor colour) { return countedSource(key, colour, reads); };
    const QObject preview;
    const QObject viewer;
    QColor previewShows;
    QSize viewerShows;
    const auto showPreview = [&](const DecodedPicture &picture) { previewShows = picture.image.pixelColor(50, 50); };

    // The viewer is open: the preview's request is decoded at the viewer's
    // size, and the viewer's own request waits for that same decode.
    loader.setLargestBox({1000, 1000});
    loader.request(&preview, source(1, Qt::red), {200, 200}, showPreview);
    loader.request(&viewer, source(1, Qt::red), {1000, 1000},
                   [&](const DecodedPicture &picture) { viewerShows = picture.image.size(); });
    loader.waitForIdle();
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(previewShows, QColor(Qt::red));
    EXPECT_EQ(viewerShows, QSize(1000, 500));

    // Neighbours decoded ahead show at once.
    loader.prefetch({source(2, Qt::green)}, {1000, 1000});
    loader.waitForIdle();
    loader.request(&preview, source(2, Qt::green), {200, 200}, showPreview);
    EXPECT_EQ(previewShows, QColor(Qt::green)) << "shown within the request, from what was decoded ahead";
    EXPECT_EQ(reads, 2);

    // Steps faster than decodes: only the last one is shown.
    std::vector<quint64> shown;
    for (quint64 key = 10; key < 20; ++key)
        loader.request(&preview, source(key, Qt::blue), {200, 200},
                       [&shown, key](const DecodedPicture &) { shown.push_back(key); });
    loader.waitForIdle();
    EXPECT_EQ(shown, std::vector<quint64>{19});
    EXPECT_LT(reads, 12) << "queued work nobody waits for is dropped";

    loader.request(&preview, source(30, Qt::yellow), {200, 200}, showPreview);
    loader.cancel(&preview);
    loader.waitForIdle();
    EXPECT_EQ(previewShows, QColor(Qt::green)) << "nothing is shown after a cancel";
}

TEST(PictureLoaderTest, AnOlderDecodeNeverReplacesTheNewerPictureWhicheverEndsFirst)
{
    for (const bool olderEndsFirst : {true, false}) {
        HeldRead older;
        HeldRead newer;
        PictureLoader loader;
        const QObject preview;
        const QObject viewer;
        std::vector<std::string> previewShows;
        std::vector<std::string> viewerShows;
        const auto into = [](std::vector<std::string> &shows) {
            return [&shows](const DecodedPicture &picture) {
                shows.push_back(picture.image.pixelColor(20, 20).name().toStdString());
            };
        };

        // The viewer keeps waiting for the older picture, so that its end
        // shows; the preview has moved on to the newer one.
        loader.request(&preview, older.source(1, Qt::red), {100, 100}, into(previewShows));
        loader.request(&viewer, older.source(1, Qt::red), {100, 100}, into(viewerShows));
        loader.request(&preview, newer.source(2, Qt::blue), {100, 100}, into(previewShows));
        const bool bothUnderway = older.started.tryAcquire(1, 5000) && newer.started.tryAcquire(1, 5000);
        (olderEndsFirst ? older : newer).mayEnd.release();
        const bool firstShown =
            QTest::qWaitFor([&] { return !(olderEndsFirst ? viewerShows : previewShows).empty(); }, 5000);
        (olderEndsFirst ? newer : older).mayEnd.release();
        loader.waitForIdle();

        const char *order = olderEndsFirst ? "the older decode ended first" : "the older decode ended last";
        EXPECT_TRUE(bothUnderway && firstShown) << order;
        EXPECT_EQ(previewShows, std::vector<std::string>{"#0000ff"}) << order;
        EXPECT_EQ(viewerShows, std::vector<std::string>{"#ff0000"}) << order;
    }
}

TEST(PictureLoaderTest, ARequestEndsWithItsConsumer)
{
    HeldRead held;
    PictureLoader loader;
    auto consumer = std::make_unique<QObject>();
    bool shown = false;
    loader.request(consumer.get(), held.source(1, Qt::red), {100, 100},
                   [&shown](const DecodedPicture &) { shown = true; });
    const bool underway = held.started.tryAcquire(1, 5000);
    consumer.reset();
    held.mayEnd.release();
    loader.waitForIdle();
    EXPECT_TRUE(underway);
    EXPECT_FALSE(shown) << "a consumer destroyed while its picture was decoded hears nothing";
}

TEST(PictureLoaderTest, DecodedPicturesAreKeptAsManyAsTheirBytesAllow)
{
    PictureLoader loader;
    std::atomic<int> reads = 0;
    const auto source = [&reads](quint64 key, QSize size) {
        return PictureSource{key, [&reads, size] {
                                 ++reads;
                                 return std::expected<QByteArray, QString>(pictureFile(size, Qt::red));
                             }};
    };
    const QObject preview;
    const auto shownAtOnce = [&](const PictureSource &picture) {
        bool shown = false;
        loader.request(&preview, picture, {400, 400}, [&shown](const DecodedPicture &) { shown = true; });
        loader.cancel(&preview);
        return shown;
    };
    const auto decodeAhead = [&](const PictureSource &picture) {
        loader.prefetch({picture}, {400, 400});
        loader.waitForIdle();
    };

    // Twenty small pictures take less room than one that fills the box.
    for (quint64 key = 1; key <= 20; ++key)
        decodeAhead(source(key, {40, 40}));
    for (quint64 key = 1; key <= 20; ++key)
        EXPECT_TRUE(shownAtOnce(source(key, {40, 40}))) << key;
    EXPECT_EQ(reads, 20);

    // Of seven that fill the box, the last six are kept.
    for (quint64 key = 101; key <= 107; ++key)
        decodeAhead(source(key, {400, 400}));
    EXPECT_FALSE(shownAtOnce(source(101, {400, 400})));
    for (quint64 key = 102; key <= 107; ++key)
        EXPECT_TRUE(shownAtOnce(source(key, {400, 400}))) << key;
}
