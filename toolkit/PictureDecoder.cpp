#include "toolkit/PictureDecoder.h"

#include <QBuffer>
#include <QImageReader>

namespace {

struct RememberedPicture
{
    int openViews = 0;
    QByteArray bytes;
    QImage image;
};

RememberedPicture &remembered()
{
    static RememberedPicture picture;
    return picture;
}

// Decodes straight to a smaller size when the picture is larger than box:
// JPEG then skips most of its work.
QImage decodeScaledDown(const QByteArray &bytes, QSize box)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // The reader scales before it turns the picture upright.
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        box.transpose();
    const QSize size = reader.size();
    if (size.isValid() && box.isValid()
        && (size.width() > box.width() || size.height() > box.height())) {
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
    }
    return reader.read();
}

}

QImage PictureDecoder::decodeFullSize(const QByteArray &bytes)
{
    RememberedPicture &last = remembered();
    if (last.openViews > 0 && last.bytes == bytes)
        return last.image;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (last.openViews > 0) {
        last.bytes = bytes;
        last.image = image;
    }
    return image;
}

QImage PictureDecoder::decodeFitted(const QByteArray &bytes, QSize box)
{
    if (remembered().openViews == 0)
        return decodeScaledDown(bytes, box);
    const QImage image = decodeFullSize(bytes);
    if (image.isNull() || !box.isValid()
        || (image.width() <= box.width() && image.height() <= box.height()))
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

PictureDecoder::FullSizeView::FullSizeView()
{
    ++remembered().openViews;
}

PictureDecoder::FullSizeView::~FullSizeView()
{
    RememberedPicture &last = remembered();
    if (--last.openViews == 0) {
        last.bytes = {};
        last.image = {};
    }
}
