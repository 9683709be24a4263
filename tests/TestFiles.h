#pragma once

#include <QByteArray>
#include <QString>

#include <sys/resource.h>

// Whole-file reads and writes for setting up and checking files byte for
// byte. A read of a missing file gives no bytes; a failed write is reported
// as a test failure and gives false.
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// While it lives, no file of this process grows beyond limit bytes: writes
// past it fail as they do on a full disk.
class DiskFull
{
public:
    explicit DiskFull(rlim_t limit = 1024);
    ~DiskFull();
    DiskFull(const DiskFull &) = delete;
    DiskFull &operator=(const DiskFull &) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

// While it lives, the file cannot be written, not even by root (who is
// given the immutable flag). wasMade() is false where neither works.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString &path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    bool wasMade() const;

private:
    bool setImmutable(bool on) const;

    QString m_path;
    bool m_immutable = false;
    bool m_made = false;
};
