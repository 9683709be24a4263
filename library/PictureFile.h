#pragma once

#include <QByteArray>
#include <QString>

// Whole image files read and written byte for byte, with the reason when
// that fails.
namespace PictureFile {

enum class Problem {
    None,
    Missing,
    IsFolder,
    NotARegularFile,
    Unreadable,
    FolderMissing,
    Unwritable,
};

struct ReadResult
{
    QByteArray bytes;
    Problem problem = Problem::None;
};

ReadResult read(const QString &path);

// Replaces or creates the file atomically: afterwards it holds all of bytes,
// or, when writing failed, it is as it was and no partial file is left.
Problem write(const QString &path, const QByteArray &bytes);

}
