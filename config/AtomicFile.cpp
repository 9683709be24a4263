#include "config/AtomicFile.h"

#include "config/ConfigLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

std::expected<void, ConfigError> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (!target.dir().exists())
        return std::unexpected(ConfigError{ConfigReason::FolderMissing, path});
    if (target.isDir())
        return std::unexpected(ConfigError{ConfigReason::FolderInTheWay, path});
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
        && file.error() == QFileDevice::NoError;
    if (!written || !file.commit()) {
        qCWarning(lcConfig) << "cannot write" << path << ":" << file.errorString();
        const ConfigError error{ConfigReason::CannotWrite, u"%1: %2"_s.arg(path, file.errorString())};
        file.cancelWriting();
        return std::unexpected(error);
    }
    syncFolder(target.absolutePath());
    return {};
}

std::expected<void, ConfigError> copyFileAtomically(const QString &source, const QString &target)
{
    QFile input(source);
    const QByteArray content = input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray();
    if (!input.isOpen() || input.error() != QFileDevice::NoError) {
        qCWarning(lcConfig) << "cannot read" << source << ":" << input.errorString();
        return std::unexpected(ConfigError{ConfigReason::CannotRead, u"%1: %2"_s.arg(source, input.errorString())});
    }
    return writeFileAtomically(target, content);
}

std::expected<void, ConfigError> syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int systemError = errno;
    if (fd >= 0)
        ::close(fd);
    if (!synced) {
        const QString why = QString::fromLocal8Bit(std::strerror(systemError));
        qCWarning(lcConfig) << "cannot sync the folder" << folder << ":" << why;
        return std::unexpected(ConfigError{ConfigReason::CannotSyncFolder, u"%1: %2"_s.arg(folder, why)});
    }
#else
    Q_UNUSED(folder);
#endif
    return {};
}
