#include "pictures/PictureDecoder.h"

#include "pictures/PictureInspection.h"

#include <QBuffer>
#include <QImageReader>

namespace {

DecodedPicture refused(PictureProblem problem, QSize box, QSize size = QSize())
{
    return {QImage(), problem, QString(), box, size};
}

}

DecodedPicture decodePicture(const QByteArray &bytes, QSize box)
{
    const std::expected<PictureFacts, PictureRefusal> facts = inspectPicture(bytes);
    if (!facts)
        return refused(facts.error().problem, box, facts.error().size);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, facts->format);
    reader.setAutoTransform(true);
    // The reader scales before it turns the picture upright.
    QSize shownBox = box;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        shownBox.transpose();
    const QSize size = facts->size.isValid() ? facts->size : reader.size();
    if (!size.isValid())
        return refused(PictureProblem::NotAPicture, box);
    const QSize fitted = fittedSize(size, shownBox);
    const bool jpeg = facts->format == "jpeg";
    const QSize decoded = jpeg ? jpegOutputSize(size, fitted) : size;
    if (qint64(decoded.width()) * decoded.height() * facts->bytesPerPixel > PictureBudget::DecodedBytes)
        return refused(PictureProblem::TooLarge, box, size);
    if (jpeg && fitted != size)
        reader.setScaledSize(fitted);
    QImage image = reader.read();
    if (image.isNull())
        return refused(PictureProblem::NotAPicture, box);
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QSize upright = reader.transformation() & QImageIOHandler::TransformationRotate90 ? size.transposed() : size;
    return {std::move(image), PictureProblem::None, QString(), box, upright};
}

bool DecodedPicture::serves(QSize wanted) const
{
    // A note, a picture decoded for a box at least as large, or one shown
    // whole at its own size serves any box.
    return image.isNull() || (box.width() >= wanted.width() && box.height() >= wanted.height())
        || image.size() == size;
}

DecodedPicture fittedInto(const DecodedPicture &picture, QSize box)
{
    const QImage &image = picture.image;
    if (image.isNull() || (image.width() <= box.width() && image.height() <= box.height()))
        return {image, picture.problem, picture.detail, box, picture.size};
    return {image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation), picture.problem, picture.detail, box,
            picture.size};
}
