#include "LibraryLock.h"

#include "StoreLog.h"

#include <QDir>
#include <QLockFile>

using namespace Qt::StringLiterals;

std::expected<std::unique_ptr<QLockFile>, QString> lockLibraryFolder(const QString &folder)
{
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
        return std::unexpected(u"图片库已经打开：本程序已经在运行，正在使用同一个程序文件夹。"_s);
    }
    qCWarning(lcStore) << "cannot lock" << folder << ", error" << lock->error();
    return std::unexpected(u"程序文件夹无法加锁，可能没有写入权限。"_s);
}
