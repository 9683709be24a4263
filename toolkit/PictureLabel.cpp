#include "toolkit/PictureLabel.h"

#include <QMouseEvent>
#include <QPixmap>

PictureLabel::PictureLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
}

void PictureLabel::showPicture(const QImage &image, const QString &note)
{
    if (image.isNull())
        setText(note);
    else
        setPixmap(QPixmap::fromImage(image));
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
