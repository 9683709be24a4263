#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A picture ready to be shown: the image, or a short note (in Chinese) to
// show in its place when the file cannot be shown.
struct DecodedPicture
{
    QImage image;
    QString note;
    // The box it was made for, and the picture's own size (invalid for a note).
    QSize box;
    QSize size;

    // True when this serves a view of box as well as a decode for it would.
    bool serves(QSize box) const;
};

// Decodes image file bytes at the size they are shown in box (see
// fittedSize), turned upright, within the limits of PictureBudget: a file
// beyond them, damaged or no picture at all gives a note instead. Safe to
// call from any thread.
DecodedPicture decodePicture(const QByteArray &bytes, QSize box);

// A decoded picture shown in a smaller box: scaled down, never up.
DecodedPicture fittedInto(const DecodedPicture &picture, QSize box);
