#include "config/ConfigPaths.h"

#include "config/DataFolder.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

QString singleSeparators(QString path, PathStyle style)
{
    const QChar separator = separatorOf(style);
    return path.replace(QString(2, separator), QString(separator));
}

}

PathStyle nativePathStyle()
{
#ifdef Q_OS_WIN
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

QChar separatorOf(PathStyle style)
{
    return style == PathStyle::Windows ? u'\\' : u'/';
}

QString normalizeConfigFileName(const QString &name, PathStyle style, const QString &systemDirectory)
{
    const QChar separator = separatorOf(style);
    const QString placed = name.contains(separator) ? name : systemDirectory + separator + name;
    return singleSeparators(placed, style);
}

QString normalizeConfigFileName(const QString &name)
{
    return normalizeConfigFileName(name, nativePathStyle(), QDir::toNativeSeparators(QDir::tempPath()));
}

QString configFilePathIn(const QString &directory, PathStyle style)
{
    return singleSeparators(directory + separatorOf(style) + DataFolder::Accounts, style);
}

QString configFilePathIn(const QString &directory)
{
    return configFilePathIn(QDir::toNativeSeparators(directory), nativePathStyle());
}

QString directoryPartOf(const QString &path, PathStyle style)
{
    const qsizetype last = path.lastIndexOf(separatorOf(style));
    return last < 0 ? QString() : path.first(last);
}
