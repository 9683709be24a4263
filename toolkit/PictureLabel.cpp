#include "toolkit/PictureLabel.h"

#include <QMouseEvent>
#include <QPixmap>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
}

void PictureLabel::showPicture(const DecodedPicture &picture)
{
    if (picture.image.isNull())
        setText(picture.note);
    else
        setPixmap(QPixmap::fromImage(picture.image));
}

void PictureLabel::clearPicture()
{
    clear();
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}
