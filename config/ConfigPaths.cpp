#include "config/ConfigPaths.h"

#include "config/DataFolder.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString singleSeparators(QString path, PathStyle style)
{
    const QChar separator = separatorOf(style);
    return path.replace(QString(2, separator), QString(separator));
}

// A trimmed path whose second character is ":" begins with a drive letter.
bool startsWithDrive(const QString &path)
{
    const QString trimmed = path.trimmed();
    return trimmed.size() >= 2 && trimmed[1] == u':';
}

bool isDirectory(const QString &path)
{
    return QFileInfo(path).isDir();
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

QStringList directoryLevels(const QString &path, PathStyle style)
{
    const QChar separator = separatorOf(style);
    QStringList levels;
    qsizetype next = path.indexOf(separator);
    if (next >= 0 && style == PathStyle::Windows && startsWithDrive(path))
        next = path.indexOf(separator, next + 1);
    for (; next >= 0; next = path.indexOf(separator, next + 1)) {
        // An empty prefix is the root, which is there already.
        if (next > 0 && path[next - 1] != separator)
            levels.append(path.first(next));
    }
    if (levels.isEmpty() || levels.constLast() != path)
        levels.append(path);
    return levels;
}

std::expected<void, ConfigError> ensureDirectoryPath(const QString &path)
{
    if (isDirectory(path))
        return {};
    for (const QString &level : directoryLevels(path, nativePathStyle())) {
        // Another process may create a level at the same moment: what
        // counts is that it exists afterwards.
        if (!isDirectory(level) && !QDir().mkdir(level) && !isDirectory(level))
            return std::unexpected(ConfigError{ConfigReason::CannotMakeFolder, level});
    }
    if (!isDirectory(path))
        return std::unexpected(ConfigError{ConfigReason::CannotMakeFolder, path});
    return {};
}
