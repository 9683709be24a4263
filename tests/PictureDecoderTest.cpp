#include "TestPictures.h"
#include "toolkit/PictureDecoder.h"

#include <gtest/gtest.h>

TEST(PictureDecoderTest, AnOpenFullSizeViewSharesOneDecodeWithTheFittedPreview)
{
    const QByteArray photo = pictureFile({800, 400}, Qt::darkCyan, "JPG");
    const QByteArray copy(photo.constData(), photo.size());
    const QSize box(370, 380);

    const QImage fittedAlone = PictureDecoder::decodeFitted(photo, box);
    EXPECT_NE(PictureDecoder::decodeFullSize(photo).cacheKey(), PictureDecoder::decodeFullSize(copy).cacheKey())
        << "nothing is remembered while no view is open";
    {
        const PictureDecoder::FullSizeView view;
        const QImage fitted = PictureDecoder::decodeFitted(photo, box);
        EXPECT_EQ(fitted.size(), fittedAlone.size());
        EXPECT_EQ(fitted.size(), QSize(370, 185));
        const QImage full = PictureDecoder::decodeFullSize(copy);
        EXPECT_EQ(full.size(), QSize(800, 400));
        EXPECT_EQ(full.cacheKey(), PictureDecoder::decodeFullSize(photo).cacheKey()) << "decoded once";

        const QByteArray other = pictureFile({10, 10}, Qt::red);
        EXPECT_EQ(PictureDecoder::decodeFitted(other, box).size(), QSize(10, 10)) << "small ones keep their size";
        EXPECT_EQ(PictureDecoder::decodeFullSize(other).pixelColor(5, 5), QColor(Qt::red));
        EXPECT_TRUE(PictureDecoder::decodeFitted(QByteArray("no picture"), box).isNull());
    }
    EXPECT_NE(PictureDecoder::decodeFullSize(photo).cacheKey(), PictureDecoder::decodeFullSize(copy).cacheKey());
}
