#include "PictureFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PictureFile {

ReadResult read(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, Problem::Missing};
    if (info.isDir())
        return {{}, Problem::IsFolder};
    if (!info.isFile())
        return {{}, Problem::NotARegularFile};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, Problem::Unreadable};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, Problem::Unreadable};
    return {std::move(bytes), Problem::None};
}

Problem write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (!info.dir().exists())
        return Problem::FolderMissing;
    if (info.isDir())
        return Problem::IsFolder;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Problem::Unwritable;
    return Problem::None;
}

}
