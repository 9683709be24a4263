#include "toolkit/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PictureBox::setPicture(const QByteArray &bytes)
{
    m_image = PictureDecoder::decodeFullSize(bytes);
    update();
}

const QImage &PictureBox::image() const
{
    return m_image;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    const QSize size = m_image.size();
    const QPoint topLeft((width() - size.width()) / 2, (height() - size.height()) / 2);
    QPainter painter(this);
    painter.drawImage(topLeft, m_image);
}
