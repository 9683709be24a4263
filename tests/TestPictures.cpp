#include "TestPictures.h"

#include <QBuffer>
#include <QImage>

using namespace Qt::StringLiterals;

QByteArray pictureFile(QSize size, QColor colour, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixelColor(0, 0, Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

std::vector<PictureStore::NewRecord> fourPictures()
{
    return {{u"0001"_s, u"png"_s, pictureFile({40, 30}, Qt::red)},
            {u"0002"_s, u"png"_s, pictureFile({40, 30}, Qt::green)},
            {u"猫"_s, u"jpg"_s, pictureFile({40, 30}, Qt::blue, "JPG")},
            {u"0004"_s, u"png"_s, pictureFile({40, 30}, Qt::yellow)}};
}
