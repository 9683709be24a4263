#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// A picture box: shows a picture in the middle of the box (a picture larger
// than the box arrives fitted into it), or the note that stands in place of
// a picture that cannot be shown.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Shows image, or note in its place when image is null.
    void showPicture(const QImage &image, const QString &note);
    void clearPicture();
    // The picture as shown, null when there is none.
    const QImage &image() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QString m_note;
};
