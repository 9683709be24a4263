#include "mainwindow/PictureFileName.h"

#include <QDir>
#include <QStringList>

PictureFileName PictureFileName::fromPath(const QString &path)
{
    const QString normalised = QDir::fromNativeSeparators(path);
    const QString fileName = normalised.sliced(normalised.lastIndexOf(u'/') + 1);
    QStringList pieces = fileName.split(u'.');
    // A "." at the very end adds no empty last piece.
    if (pieces.size() > 1 && pieces.constLast().isEmpty())
        pieces.removeLast();
    return {pieces.value(0), pieces.value(1)};
}
