#pragma once

#include <QString>

// The name and category that an imported file's name gives. The file name
// (the part of the path after its last separator) is split at every ".":
// the first piece is the name, the second the category, so "0001.jpg" gives
// 0001 and jpg, and "x.jpeg.bak" gives x and jpeg. A file name without "."
// is the name whole, with an empty category.
struct PictureFileName
{
    QString name;
    QString category;

    static PictureFileName fromPath(const QString &path);
};
