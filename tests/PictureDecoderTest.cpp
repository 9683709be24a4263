#include "TestPictures.h"
#include "pictures/PictureDecoder.h"
#include "pictures/PictureInspection.h"
#include "reasons/PictureNote.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A progressive JPEG of one colour as Qt writes it: luma in 8 x 8 blocks
// sampled in 2 x 2 groups, the two chroma planes at half size. Made from an
// indexed image, so that many megapixels take one byte each to make.
QByteArray progressiveJpeg(QSize size)
{
    QImage image(size, QImage::Format_Indexed8);
    image.setColorTable({QColor(Qt::darkCyan).rgb()});
    image.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

// The coefficients libjpeg holds to decode such a JPEG progressively: 128
// bytes a block, the luma's blocks counted in whole 2 x 2 groups.
qint64 progressiveDecodeBytes(QSize size)
{
    const auto blocks = [](int pixels, int blockPixels) { return qint64(pixels + blockPixels - 1) / blockPixels; };
    const auto groups = [&](int pixels) { return (blocks(pixels, 8) + 1) / 2 * 2; };
    const qint64 luma = groups(size.width()) * groups(size.height());
    const qint64 chroma = blocks(size.width(), 16) * blocks(size.height(), 16);
    return (luma + 2 * chroma) * 128;
}

// The offset of a JPEG marker's segment.
qsizetype markerAt(const QByteArray &jpeg, char marker)
{
    return jpeg.indexOf(QByteArray("\xFF") + marker);
}

QByteArray pngChunk(const char *type, const QByteArray &data, quint32 claimedLength)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(claimedLength, chunk.data());
    return chunk + type + data + QByteArray(4, '\0');
}

QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8;
    header[9] = 6;
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header, 13);
}

// Files that ask a decoder for gigabytes or minutes, all under 2 MB.
std::vector<std::pair<const char *, QByteArray>> hostileFiles()
{
    QByteArray hugeProgressive = progressiveJpeg({64, 64});
    const qsizetype frame = markerAt(hugeProgressive, '\xC2');
    qToBigEndian<quint16>(30000, hugeProgressive.data() + frame + 5);
    qToBigEndian<quint16>(30000, hugeProgressive.data() + frame + 7);

    QByteArray manyScans = progressiveJpeg({64, 64});
    const qsizetype scan = markerAt(manyScans, '\xDA');
    const QByteArray oneScan = manyScans.mid(scan, markerAt(manyScans.mid(scan + 2), '\xDA') + 2);
    manyScans.insert(scan, oneScan.repeated(20000));

    QByteArray hugeGif("GIF89a\xFF\xFF\xFF\xFF\x00\x00\x00", 13);
    const QByteArray photo = pictureFile({800, 600}, Qt::darkGreen, "JPG");
    return {
        {"a PNG whose text chunk claims a gigabyte", pngHeader(16, 16) + pngChunk("tEXt", "k", 1u << 30)},
        {"a PNG of 30000 x 30000 pixels", pngHeader(30000, 30000) + pngChunk("IDAT", QByteArray(100, '\0'), 100)},
        {"a progressive JPEG declaring 30000 x 30000 pixels", hugeProgressive},
        {"a JPEG of 20,000 scans", manyScans.left(2 * 1024 * 1024)},
        {"a GIF of 65535 x 65535 pixels", hugeGif},
        {"a truncated JPEG", photo.left(photo.size() / 2)},
        {"no picture", QByteArray("just some text")},
    };
}

}

TEST(PictureDecoderTest, PicturesAreDecodedAtTheSizeTheyAreShown)
{
    const DecodedPicture wide = decodePicture(pictureFile({4000, 1000}, Qt::red, "JPG"), {1000, 700});
    EXPECT_EQ(wide.image.size(), QSize(1000, 250)) << "larger: fitted, aspect kept";
    EXPECT_EQ(wide.size, QSize(4000, 1000));
    const DecodedPicture small = decodePicture(pictureFile({30, 20}, Qt::blue), {1000, 700});
    EXPECT_EQ(small.image.size(), QSize(30, 20)) << "smaller: its own size";
    EXPECT_EQ(small.image.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_TRUE(small.serves({5000, 5000})) << "shown whole, it serves every box";
    EXPECT_FALSE(wide.serves({2000, 700}));
    EXPECT_EQ(fittedInto(wide, {100, 100}).image.size(), QSize(100, 25));

    // 35 megapixels: decoded whole it would pass Qt's allocation limit.
    const DecodedPicture large = decodePicture(pictureFile({7000, 5000}, Qt::darkGreen, "JPG"), {1900, 1010});
    EXPECT_EQ(large.image.size(), QSize(1414, 1010));
    EXPECT_EQ(large.problem, PictureProblem::None);
}

TEST(PictureDecoderTest, HostileFilesGiveANoteQuicklyAndWithinTheMemoryBudget)
{
    for (const auto &[what, bytes] : hostileFiles()) {
        QElapsedTimer clock;
        clock.start();
        const DecodedPicture picture = decodePicture(bytes, {1900, 1040});
        EXPECT_LT(clock.elapsed(), 2000) << what;
        if (QByteArrayView(what) != "a truncated JPEG") {
            EXPECT_NE(picture.problem, PictureProblem::None) << what;
            EXPECT_FALSE(pictureNote(picture).isEmpty()) << what;
        }
        EXPECT_LT(bytes.size(), 2 * 1024 * 1024) << what;
    }

    // Each in a fresh process, where the peak is its own.
    for (const auto &[what, bytes] : hostileFiles()) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            rusage before{};
            getrusage(RUSAGE_SELF, &before);
            decodePicture(bytes, {1900, 1040});
            rusage after{};
            getrusage(RUSAGE_SELF, &after);
            _exit(after.ru_maxrss - before.ru_maxrss > 200 * 1024 ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << what << " took more than 200 MB";
    }
}

TEST(PictureDecoderTest, AProgressiveJpegIsDecodedUpToTheMemoryBudgetAndRefusedBeyondIt)
{
    // An odd number of blocks across, so that the 2 x 2 groups count.
    const int width = 8 * 1023;
    int height = 1;
    while (progressiveDecodeBytes({width, height + 1}) <= PictureBudget::CoefficientBytes)
        ++height;
    const QSize within(width, height);
    const QSize beyond(width, height + 1);

    const DecodedPicture shown = decodePicture(progressiveJpeg(within), {1900, 1040});
    EXPECT_EQ(shown.problem, PictureProblem::None) << pictureNote(shown).toStdString();
    EXPECT_EQ(shown.size, within);
    EXPECT_EQ(shown.image.height(), 1040);

    const QByteArray beyondFile = progressiveJpeg(beyond);
    ASSERT_EQ(beyondFile[markerAt(beyondFile, '\xC2') + 11], '\x22') << "luma sampled in 2 x 2 groups";
    const DecodedPicture refused = decodePicture(beyondFile, {1900, 1040});
    EXPECT_TRUE(refused.image.isNull());
    EXPECT_EQ(pictureNote(refused), u"图片太大（%1×%2 像素），无法显示。"_s.arg(beyond.width()).arg(beyond.height()));
}
