#pragma once

#include <QByteArray>
#include <QLabel>

// A label whose picture is an image file held byte for byte: it shows the
// picture fitted into its area, keeping the aspect ratio, and gives back
// exactly the bytes it was given. Bytes that are no picture show nothing.
class PictureLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PictureLabel(QWidget *parent = nullptr);

    void setPicture(const QByteArray &bytes);
    void clearPicture();
    const QByteArray &picture() const;

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QByteArray m_picture;
};
