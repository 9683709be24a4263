#include "store/LibraryLock.h"

#include "config/DataFolder.h"
#include "store/StoreLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

// A running program holds its lock file with a lock of the system's, which
// ends with the process whatever the file says. Without a holder the file
// is a leftover: empty after a power cut, written by another program, or
// naming a process number that another process has by now.
bool heldByRunningProgram(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
#else
    // Elsewhere a running program keeps the file open, and it cannot be removed.
    Q_UNUSED(path);
    return false;
#endif
}

}

std::expected<std::unique_ptr<QLockFile>, StoreError> lockLibraryFolder(const QString &folder)
{
    // The user's data folder of an installed program is made at its first start.
    if (!QDir().mkpath(folder)) {
        qCWarning(lcStore) << "cannot make" << folder;
        return std::unexpected(StoreError{StoreReason::CannotLock, folder});
    }
    const QString path = DataFolder(folder).lockPath();
    const QFileInfo info(path);
    if (info.isSymLink())
        return std::unexpected(StoreError{StoreReason::LockIsLink, QDir::toNativeSeparators(path)});
    if (info.isDir())
        return std::unexpected(StoreError{StoreReason::LockIsFolder, QDir::toNativeSeparators(path)});
    auto lock = std::make_unique<QLockFile>(path);
    // Only a lock whose process has ended is stale, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (lock->error() == QLockFile::LockFailedError && !heldByRunningProgram(path)) {
        qCInfo(lcStore) << "a lock file nobody holds is taken over:" << path;
        if (QFile::remove(path) && lock->tryLock(0))
            return lock;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString application;
        lock->getLockInfo(&pid, &host, &application);
        qCInfo(lcStore) << "the library in" << folder << "is held by process" << pid << "on" << host;
        return std::unexpected(StoreError{StoreReason::AlreadyOpen, folder});
    }
    qCWarning(lcStore) << "cannot lock" << folder << ", error" << lock->error();
    return std::unexpected(StoreError{StoreReason::CannotLock, folder});
}
