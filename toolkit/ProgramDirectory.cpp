#include "toolkit/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString directoryOverride;
}

QString programDirectory()
{
    const QString directory =
        directoryOverride.isEmpty() ? QCoreApplication::applicationDirPath() : directoryOverride;
    return QDir::cleanPath(directory);
}

ScopedProgramDirectory::ScopedProgramDirectory(const QString &directory)
    : m_previous(directoryOverride)
{
    directoryOverride = directory;
}

ScopedProgramDirectory::~ScopedProgramDirectory()
{
    directoryOverride = m_previous;
}
