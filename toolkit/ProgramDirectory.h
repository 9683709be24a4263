#pragma once

#include <QString>

// The folder that holds the program and its files, without a trailing
// separator.
QString programDirectory();

// Points programDirectory at another folder for as long as it lives, so
// that tests work in a folder of their own and never touch the real one.
class ScopedProgramDirectory
{
public:
    explicit ScopedProgramDirectory(const QString &directory);
    ~ScopedProgramDirectory();
    ScopedProgramDirectory(const ScopedProgramDirectory &) = delete;
    ScopedProgramDirectory &operator=(const ScopedProgramDirectory &) = delete;

private:
    QString m_previous;
};
