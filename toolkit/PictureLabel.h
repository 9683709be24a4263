#pragma once

#include "toolkit/PictureDecoder.h"

#include <QLabel>

// A label that shows a decoded picture in its middle (fitted into its area
// beforehand), or the note that stands in place of a picture that cannot
// be shown.
class PictureLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PictureLabel(QWidget *parent = nullptr);

    void showPicture(const DecodedPicture &picture);
    void clearPicture();

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
