#include "AtomicFile.h"

#include "ConfigLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

const QString CannotWrite = u"文件无法写入，可能没有写入权限或磁盘已满"_s;

}

std::expected<void, QString> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (!target.dir().exists())
        return std::unexpected(u"目标文件夹不存在"_s);
    if (target.isDir())
        return std::unexpected(u"已有同名的文件夹"_s);
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
        && file.error() == QFileDevice::NoError;
    if (!written || !file.commit()) {
        qCWarning(lcConfig) << "cannot write" << path << ":" << file.errorString();
        file.cancelWriting();
        return std::unexpected(CannotWrite);
    }
    return {};
}

std::expected<void, QString> copyFileAtomically(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        qCWarning(lcConfig) << "cannot read" << source << ":" << input.errorString();
        return std::unexpected(u"文件无法读取"_s);
    }
    const QByteArray content = input.readAll();
    if (input.error() != QFileDevice::NoError) {
        qCWarning(lcConfig) << "cannot read" << source << ":" << input.errorString();
        return std::unexpected(u"文件无法读取"_s);
    }
    return writeFileAtomically(target, content);
}
