#include "toolkit/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString directoryOverride;

// Folders a package installs programs into; root may write there, but the
// data does not belong there.
bool isSystemFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    return folder == u"/usr"_s || folder.startsWith(u"/usr/"_s) || folder.startsWith(u"/opt/"_s)
        || folder == u"/bin"_s;
#else
    Q_UNUSED(folder);
    return false;
#endif
}

}

QString chooseProgramDirectory(const QString &programFolder, bool programFolderWritable,
                               const QString &userDataFolder)
{
    const QString folder = QDir::cleanPath(programFolder);
    if (programFolderWritable && !isSystemFolder(folder))
        return folder;
    return QDir::cleanPath(userDataFolder);
}

QString programDirectory()
{
    if (!directoryOverride.isEmpty())
        return QDir::cleanPath(directoryOverride);
    static const QString chosen = [] {
        const QString folder = QCoreApplication::applicationDirPath();
        return chooseProgramDirectory(folder, QFileInfo(folder).isWritable(),
                                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    }();
    return chosen;
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
