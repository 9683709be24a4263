#include "toolkit/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PictureBox::showPicture(const QImage &image, const QString &note)
{
    m_image = image;
    m_note = note;
    update();
}

void PictureBox::clearPicture()
{
    m_image = {};
    m_note.clear();
    update();
}

const QImage &PictureBox::image() const
{
    return m_image;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_note);
        return;
    }
    painter.drawImage(QPoint((width() - m_image.width()) / 2, (height() - m_image.height()) / 2), m_image);
}
