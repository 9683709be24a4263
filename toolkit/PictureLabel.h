#pragma once

#include <QByteArray>
#include <QLabel>

// A label that shows an image file fitted into its area, keeping the aspect
// ratio; it keeps only what it shows. Bytes that are no picture show
// nothing.
class PictureLabel : public QLabel
{
    Q_OBJECT

public:
    explicit PictureLabel(QWidget *parent = nullptr);

    void setPicture(const QByteArray &bytes);
    void clearPicture();
    // A short text in place of a picture that cannot be shown.
    void showNote(const QString &note);

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
