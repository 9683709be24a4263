#include "mainwindow/PictureFile.h"

#include "mainwindow/MainWindowTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

std::expected<QByteArray, QString> readPictureFile(const QString &path, qint64 sizeLimit)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::unexpected(MainWindowText::FileMissing);
    if (info.isDir())
        return std::unexpected(MainWindowText::FileIsFolder);
    if (!info.isFile())
        return std::unexpected(MainWindowText::FileNotRegular);
    if (info.size() == 0)
        return std::unexpected(MainWindowText::FileEmpty);
    if (info.size() > sizeLimit) {
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        return std::unexpected(MainWindowText::FileTooLarge.arg(
            chinese.formattedDataSize(info.size()), chinese.formattedDataSize(sizeLimit)));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(MainWindowText::FileNoPermission);
    // Read at its known size in one piece: no growing buffer, no second copy.
    QByteArray bytes(info.size(), Qt::Uninitialized);
    if (file.read(bytes.data(), bytes.size()) != bytes.size() || file.error() != QFileDevice::NoError)
        return std::unexpected(MainWindowText::FileNoPermission);
    return bytes;
}
