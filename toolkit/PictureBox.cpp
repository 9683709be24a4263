#include "toolkit/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PictureBox::showPicture(const DecodedPicture &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::clearPicture()
{
    m_picture = {};
    update();
}

const QImage &PictureBox::image() const
{
    return m_picture.image;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.note.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_picture.note);
        return;
    }
    const QImage &image = m_picture.image;
    if (image.isNull())
        return;
    painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
}
