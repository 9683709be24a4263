#include "config/AtomicFile.h"

#include "config/ConfigLog.h"
#include "config/ConfigTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

std::expected<void, QString> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (!target.dir().exists())
        return std::unexpected(ConfigText::FolderMissing);
    if (target.isDir())
        return std::unexpected(ConfigText::FolderInTheWay);
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
        && file.error() == QFileDevice::NoError;
    if (!written || !file.commit()) {
        qCWarning(lcConfig) << "cannot write" << path << ":" << file.errorString();
        file.cancelWriting();
        return std::unexpected(ConfigText::CannotWrite);
    }
    syncFolder(target.absolutePath());
    return {};
}

std::expected<void, QString> copyFileAtomically(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        qCWarning(lcConfig) << "cannot read" << source << ":" << input.errorString();
        return std::unexpected(ConfigText::CannotRead);
    }
    const QByteArray content = input.readAll();
    if (input.error() != QFileDevice::NoError) {
        qCWarning(lcConfig) << "cannot read" << source << ":" << input.errorString();
        return std::unexpected(ConfigText::CannotRead);
    }
    return writeFileAtomically(target, content);
}

bool syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcConfig) << "cannot open the folder" << folder << "to sync it";
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced)
        qCWarning(lcConfig) << "cannot sync the folder" << folder;
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}
