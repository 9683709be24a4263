#pragma once

#include <QString>

// The folder that holds the program's files (the picture library,
// system.dat, BAK), without a trailing separator: the program's own folder
// when it may write there, as a program run from where it was built or
// unpacked does; else, for an installed program, the user's data folder for
// it (~/.local/share/Lumbra on Linux), which the log-in window creates.
QString programDirectory();

// The rule behind it: the program's folder when it is writable and not a
// system folder (/usr, /opt), else the user's data folder.
QString chooseProgramDirectory(const QString &programFolder, bool programFolderWritable,
                               const QString &userDataFolder);

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
