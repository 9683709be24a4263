#pragma once

#include "toolkit/PictureDecoder.h"

#include <QImage>
#include <QWidget>

// A picture box: shows a decoded picture in the middle of the box (a
// picture larger than the box arrives fitted into it), or the note that
// stands in place of a picture that cannot be shown.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void showPicture(const DecodedPicture &picture);
    void clearPicture();
    // The picture as shown, null when there is none.
    const QImage &image() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DecodedPicture m_picture;
};
