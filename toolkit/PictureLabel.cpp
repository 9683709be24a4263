#include "toolkit/PictureLabel.h"

#include "toolkit/PictureDecoder.h"

#include <QMouseEvent>
#include <QPixmap>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
}

void PictureLabel::setPicture(const QByteArray &bytes)
{
    const QImage image = PictureDecoder::decodeFitted(bytes, contentsRect().size());
    setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}

void PictureLabel::clearPicture()
{
    clear();
}

void PictureLabel::showNote(const QString &note)
{
    setText(note);
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}
