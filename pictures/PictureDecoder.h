#pragma once

#include "pictures/PictureProblem.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A picture ready to be shown: the image, or why there is none, for the
// window to note in its place.
struct DecodedPicture
{
    QImage image;
    PictureProblem problem = PictureProblem::None;
    // Why the bytes could not be read, for Unreadable.
    QString detail;
    // The box it was made for, and the picture's own size (invalid where
    // it is not known).
    QSize box;
    QSize size;

    // True when this serves a view of box as well as a decode for it would.
    bool serves(QSize box) const;
};

// Decodes image file bytes at the size they are shown in box (see
// fittedSize), turned upright, within the limits of PictureBudget: a file
// beyond them, damaged or no picture at all gives its problem instead. Safe to
// call from any thread.
DecodedPicture decodePicture(const QByteArray &bytes, QSize box);

// A decoded picture shown in a smaller box: scaled down, never up.
DecodedPicture fittedInto(const DecodedPicture &picture, QSize box);
