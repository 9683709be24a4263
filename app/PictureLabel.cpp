#include "PictureLabel.h"

#include "PictureDecoder.h"

#include <QMouseEvent>
#include <QPixmap>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

void PictureLabel::setPicture(const QByteArray &bytes)
{
    m_picture = bytes;
    const QImage image = PictureDecoder::decodeFitted(bytes, contentsRect().size());
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

void PictureLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}
