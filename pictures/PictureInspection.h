#pragma once

#include "pictures/PictureProblem.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

#include <expected>

// What the headers of an image file say, read before any image library sees
// the bytes: a file can declare sizes and chunks that make a decoder take
// gigabytes or minutes, and that is known from a few cheap facts.
struct PictureFacts
{
    // "png", "jpeg", "gif", "bmp", or empty for a format left to Qt.
    QByteArray format;
    // The size the file declares; invalid when unknown.
    QSize size;
    bool progressive = false;
    // Scans of a JPEG.
    int scans = 0;
    // Bytes per pixel of the decoded picture before any scaling.
    int bytesPerPixel = 4;
    // The memory a progressive JPEG decode holds whatever the output size.
    qint64 coefficientBytes = 0;
};

// The limits every decode stays within.
namespace PictureBudget {
// The largest picture decoded in one piece, before it is scaled to fit.
inline constexpr qint64 DecodedBytes = 160 * 1024 * 1024;
// The largest coefficient buffer of a progressive JPEG.
inline constexpr qint64 CoefficientBytes = 200 * 1024 * 1024;
// Real JPEGs have a few scans; a file of thousands takes minutes.
inline constexpr int Scans = 100;
}

// The facts, or the reason (in Chinese) why the file must not be decoded:
// damaged structure, or a picture beyond the budget.
// Why a file was refused, and the picture's size where it is known.
struct PictureRefusal
{
    PictureProblem problem;
    QSize size;
};
std::expected<PictureFacts, PictureRefusal> inspectPicture(QByteArrayView bytes);

// The size a picture of this size is decoded at to be shown in box: its own
// size when it fits, else scaled down to fit with its aspect kept.
QSize fittedSize(QSize picture, QSize box);

// The size libjpeg puts out when a JPEG is asked for at target: it scales by
// 1/2, 1/4 or 1/8 at most, never below the target.
QSize jpegOutputSize(QSize picture, QSize target);
