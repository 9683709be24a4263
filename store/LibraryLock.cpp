#include "store/LibraryLock.h"

#include "store/StoreLog.h"
#include "store/StoreTexts.h"

#include <QDir>
#include <QLockFile>

using namespace Qt::StringLiterals;

std::expected<std::unique_ptr<QLockFile>, QString> lockLibraryFolder(const QString &folder)
{
    // The user's data folder of an installed program is made at its first start.
    if (!QDir().mkpath(folder)) {
        qCWarning(lcStore) << "cannot make" << folder;
        return std::unexpected(StoreText::CannotLock);
    }
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(u"lumbra.lock"_s));
    // Only a lock whose process has ended is stale, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString application;
        lock->getLockInfo(&pid, &host, &application);
        qCInfo(lcStore) << "the library in" << folder << "is held by process" << pid << "on" << host;
        return std::unexpected(StoreText::AlreadyOpen);
    }
    qCWarning(lcStore) << "cannot lock" << folder << ", error" << lock->error();
    return std::unexpected(StoreText::CannotLock);
}
