#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Decodes image file bytes for the picture controls. While a full-size view
// is open, fitted decodes go through a full-size decode that is remembered:
// the view asks for the same picture right after the preview did, and the
// picture is then decoded once, not twice.
class PictureDecoder
{
public:
    // The picture at its own size, turned upright; a null image when the
    // bytes are no picture.
    static QImage decodeFullSize(const QByteArray &bytes);
    // The picture scaled down to fit into box when larger, keeping its
    // aspect ratio; a null image when the bytes are no picture.
    static QImage decodeFitted(const QByteArray &bytes, QSize box);

    // Marks a full-size view as open for as long as it lives. The remembered
    // picture is let go when the last one ends.
    class FullSizeView
    {
    public:
        FullSizeView();
        ~FullSizeView();
        FullSizeView(const FullSizeView &) = delete;
        FullSizeView &operator=(const FullSizeView &) = delete;
    };
};
