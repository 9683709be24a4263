#pragma once

#include <QString>

// Path rules of the configuration file. Windows paths use "\", other
// systems "/".
// The rules are pure functions of the path and its style; the native
// overloads apply this system's style.
enum class PathStyle { Windows, Posix };

PathStyle nativePathStyle();
QChar separatorOf(PathStyle style);

// A name without any separator is put into systemDirectory; then every
// doubled separator becomes a single one.
QString normalizeConfigFileName(const QString &name, PathStyle style, const QString &systemDirectory);
// The same with this system's style and the folder for bare names, the
// system's temporary folder.
QString normalizeConfigFileName(const QString &name);

// directory + separator + "system.dat", doubled separators made single, so
// that a directory ending in its separator (a root) still gives one.
QString configFilePathIn(const QString &directory, PathStyle style);
// The same for a Qt path ("/" separators) in this system's style.
QString configFilePathIn(const QString &directory);
// The text before the last separator; empty when there is none.
QString directoryPartOf(const QString &path, PathStyle style);
