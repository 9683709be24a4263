#include "TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    EXPECT_TRUE(written) << "cannot write " << path.toStdString();
    return written;
}

DiskFull::DiskFull(rlim_t limit)
{
    getrlimit(RLIMIT_FSIZE, &m_previous);
    // Without this the first write past the limit ends the process.
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{limit, m_previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
}

DiskFull::~DiskFull()
{
    setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
}

ReadOnlyFile::ReadOnlyFile(const QString &path)
    : m_path(path)
{
    if (geteuid() == 0) {
        m_immutable = setImmutable(true);
        m_made = m_immutable;
    } else {
        m_made = QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_immutable)
        setImmutable(false);
    else
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

bool ReadOnlyFile::wasMade() const
{
    return m_made;
}

bool ReadOnlyFile::setImmutable(bool on) const
{
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool set = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return set;
}
