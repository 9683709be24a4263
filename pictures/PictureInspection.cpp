#include "pictures/PictureInspection.h"


#include <QtEndian>

#include <cmath>

namespace {

constexpr QByteArrayView PngSignature("\x89PNG\r\n\x1a\n", 8);

quint32 bigEndian32(QByteArrayView bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.data() + at);
}

quint16 bigEndian16(QByteArrayView bytes, qsizetype at)
{
    return qFromBigEndian<quint16>(bytes.data() + at);
}

std::unexpected<PictureRefusal> damaged()
{
    return std::unexpected(PictureRefusal{PictureProblem::Damaged, QSize()});
}

// Every chunk must lie within the file; only the image data may be cut
// short, which decoders read a piece at a time. A chunk that claims more
// than the file holds would make the decoder allocate what it claims.
std::expected<PictureFacts, PictureRefusal> inspectPng(QByteArrayView bytes)
{
    if (bytes.size() < 33 || bytes.sliced(12, 4) != "IHDR")
        return damaged();
    PictureFacts facts{"png", QSize(), false, 0, 4, 0};
    const quint32 width = bigEndian32(bytes, 16);
    const quint32 height = bigEndian32(bytes, 20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return damaged();
    facts.size = QSize(int(std::min<quint32>(width, INT_MAX)), int(std::min<quint32>(height, INT_MAX)));
    facts.bytesPerPixel = bytes.at(24) == 16 ? 8 : 4;
    for (qsizetype at = 8; at + 8 <= bytes.size();) {
        const qint64 length = bigEndian32(bytes, at);
        const QByteArrayView type = bytes.sliced(at + 4, 4);
        const qint64 left = bytes.size() - at - 12;
        if (length > left && type != "IDAT")
            return damaged();
        if (type == "IEND")
            break;
        at += 12 + length;
    }
    return facts;
}

// The blocks of one component along one side of a JPEG, counted as libjpeg
// allocates them for a progressive decode: in whole groups of the
// component's sampling factor.
qint64 componentBlocks(int pixels, int sampling, int maxSampling)
{
    const qint64 blocks = (qint64(pixels) * sampling + 8 * maxSampling - 1) / (8 * maxSampling);
    return (blocks + sampling - 1) / sampling * sampling;
}

// Reads the frame header at at: the size, whether the picture is
// progressive, and the coefficients a decode holds (64 of two bytes for
// every 8 x 8 block of every component). False for a damaged header.
bool readFrame(QByteArrayView bytes, qsizetype at, quint8 marker, PictureFacts &facts)
{
    if (at + 4 + 6 > bytes.size())
        return false;
    const int height = bigEndian16(bytes, at + 5);
    const int width = bigEndian16(bytes, at + 7);
    const int components = quint8(bytes[at + 9]);
    if (width == 0 || height == 0 || components == 0 || at + 10 + 3 * components > bytes.size())
        return false;
    facts.size = QSize(width, height);
    facts.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    const auto sampling = [&](int c) { return quint8(bytes[at + 11 + 3 * c]); };
    int maxH = 1;
    int maxV = 1;
    for (int c = 0; c < components; ++c) {
        maxH = std::max(maxH, sampling(c) >> 4);
        maxV = std::max(maxV, sampling(c) & 0x0F);
    }
    for (int c = 0; c < components; ++c) {
        facts.coefficientBytes += componentBlocks(width, std::max(1, sampling(c) >> 4), maxH)
            * componentBlocks(height, std::max(1, sampling(c) & 0x0F), maxV) * 128;
    }
    return true;
}

// Walks the markers, counting scans; the entropy-coded data between them
// is skipped byte by byte, as markers are what it is made of.
std::expected<PictureFacts, PictureRefusal> inspectJpeg(QByteArrayView bytes)
{
    PictureFacts facts{"jpeg", QSize(), false, 0, 4, 0};
    qsizetype at = 2;
    while (at + 4 <= bytes.size()) {
        if (quint8(bytes[at]) != 0xFF) {
            ++at;
            continue;
        }
        const quint8 marker = quint8(bytes[at + 1]);
        if (marker == 0xFF || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            ++at;
            continue;
        }
        if (marker == 0xD9)
            break;
        const qsizetype length = bigEndian16(bytes, at + 2);
        if (length < 2)
            return damaged();
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && !facts.size.isValid() && !readFrame(bytes, at, marker, facts))
            return damaged();
        if (marker == 0xDA && ++facts.scans > PictureBudget::Scans)
            return std::unexpected(PictureRefusal{PictureProblem::TooComplex, QSize()});
        at += 2 + length;
    }
    if (!facts.size.isValid())
        return damaged();
    return facts;
}

std::expected<PictureFacts, PictureRefusal> inspectGif(QByteArrayView bytes)
{
    if (bytes.size() < 10)
        return damaged();
    const QSize size(qFromLittleEndian<quint16>(bytes.data() + 6), qFromLittleEndian<quint16>(bytes.data() + 8));
    return PictureFacts{"gif", size, false, 0, 4, 0};
}

std::expected<PictureFacts, PictureRefusal> inspectBmp(QByteArrayView bytes)
{
    if (bytes.size() < 26)
        return damaged();
    const quint32 header = qFromLittleEndian<quint32>(bytes.data() + 14);
    QSize size;
    if (header == 12) {
        size = QSize(qFromLittleEndian<quint16>(bytes.data() + 18), qFromLittleEndian<quint16>(bytes.data() + 20));
    } else {
        const qint32 width = qFromLittleEndian<qint32>(bytes.data() + 18);
        const qint32 height = qFromLittleEndian<qint32>(bytes.data() + 22);
        if (width <= 0 || height == 0 || height == INT_MIN)
            return damaged();
        size = QSize(width, std::abs(height));
    }
    return PictureFacts{"bmp", size, false, 0, 4, 0};
}

}

std::expected<PictureFacts, PictureRefusal> inspectPicture(QByteArrayView bytes)
{
    std::expected<PictureFacts, PictureRefusal> facts = PictureFacts{};
    if (bytes.startsWith(PngSignature))
        facts = inspectPng(bytes);
    else if (bytes.startsWith("\xFF\xD8\xFF"))
        facts = inspectJpeg(bytes);
    else if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        facts = inspectGif(bytes);
    else if (bytes.startsWith("BM"))
        facts = inspectBmp(bytes);
    if (!facts)
        return facts;
    if (facts->coefficientBytes > PictureBudget::CoefficientBytes && facts->progressive)
        return std::unexpected(PictureRefusal{PictureProblem::TooLarge, facts->size});
    return facts;
}

QSize fittedSize(QSize picture, QSize box)
{
    if (!picture.isValid() || !box.isValid() || (picture.width() <= box.width() && picture.height() <= box.height()))
        return picture;
    return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QSize jpegOutputSize(QSize picture, QSize target)
{
    if (!target.isValid() || target.isEmpty())
        return picture;
    // The same choice as Qt's JPEG reader makes.
    const int ratio = std::min(picture.width() / target.width(), picture.height() / target.height());
    const int denominator = ratio < 2 ? 1 : ratio < 4 ? 2 : ratio < 8 ? 4 : 8;
    return QSize((picture.width() + denominator - 1) / denominator, (picture.height() + denominator - 1) / denominator);
}
