#pragma once

#include <QImage>
#include <QLabel>
#include <QString>

// A label that shows a picture in its middle (fitted into its area
// beforehand), or the note that stands in place of a picture that cannot
// be shown.
class PictureLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PictureLabel(QWidget *parent = nullptr);

    // Shows image, or note in its place when image is null.
    void showPicture(const QImage &image, const QString &note);
    void clearPicture();

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
