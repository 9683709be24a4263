#include "PictureFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

std::expected<QByteArray, QString> readPictureFile(const QString &path, qint64 sizeLimit)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::unexpected(u"文件不存在。"_s);
    if (info.isDir())
        return std::unexpected(u"这是一个文件夹，不是图片文件。"_s);
    if (!info.isFile())
        return std::unexpected(u"这不是普通文件。"_s);
    if (info.size() == 0)
        return std::unexpected(u"文件是空的。"_s);
    if (info.size() > sizeLimit) {
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        return std::unexpected(u"文件太大（%1），图片库只能存入 %2 以内的图片。"_s.arg(
            chinese.formattedDataSize(info.size()), chinese.formattedDataSize(sizeLimit)));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(u"文件无法读取，可能没有读取权限。"_s);
    // Read at its known size in one piece: no growing buffer, no second copy.
    QByteArray bytes(info.size(), Qt::Uninitialized);
    if (file.read(bytes.data(), bytes.size()) != bytes.size() || file.error() != QFileDevice::NoError)
        return std::unexpected(u"文件无法读取，可能没有读取权限。"_s);
    return bytes;
}
