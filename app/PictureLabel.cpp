#include "PictureLabel.h"

#include <QBuffer>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setContentsMargins(4, 4, 4, 4);
}

void PictureLabel::setPicture(const QByteArray &bytes)
{
    m_picture = bytes;
    const QImage image = decodeFitted(bytes, contentsRect().size());
    setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}

void PictureLabel::clearPicture()
{
    m_picture.clear();
    setPixmap(QPixmap());
}

const QByteArray &PictureLabel::picture() const
{
    return m_picture;
}

QImage PictureLabel::decodeFitted(const QByteArray &bytes, QSize box)
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
        // Decoding straight to the smaller size lets JPEG skip most of the work.
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
    }
    return reader.read();
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}
