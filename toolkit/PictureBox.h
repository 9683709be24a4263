#pragma once

#include "toolkit/PictureDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QWidget>

// A picture box: shows an image file at its own size
// in the middle of the box; a picture larger than the box shows its middle
// part. Bytes that are no picture show the bare background.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QByteArray &bytes);
    // The decoded picture as shown, null when there is none.
    const QImage &image() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PictureDecoder::FullSizeView m_fullSizeView;
    QImage m_image;
};
