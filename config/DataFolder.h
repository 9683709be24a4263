#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The folder that holds the picture library, the accounts and their
// companions, and the one place that names its files. The program holds
// more than the files a user sees: journals, temporaries, the lock and the
// settings; none of them may be overwritten by an export or a backup.
class DataFolder
{
public:
    inline static const QString Library = QStringLiteral("pic.edb");
    inline static const QString Pictures = QStringLiteral("pic.EDT");
    inline static const QString Bak = QStringLiteral("BAK");
    inline static const QString Accounts = QStringLiteral("system.dat");
    inline static const QString Lock = QStringLiteral("lumbra.lock");
    inline static const QString Settings = QStringLiteral("lumbra.ini");
    // The intent of a step over several files, in the folder it changes.
    inline static const QString Intent = QStringLiteral("lumbra.intent");
    // Added to a store file while a new one is built beside it.
    inline static const QString NewSuffix = QStringLiteral(".new");
    // Added, with the date and time, to the files of a damaged library
    // that a copy from BAK replaced.
    inline static const QString DamagedSuffix = QStringLiteral(".damaged-");

    explicit DataFolder(const QString &path);

    QString path() const;
    QString libraryPath() const;
    QString bakFolder() const;
    QString bakLibraryPath() const;
    QString accountsPath() const;
    QString lockPath() const;
    QString settingsPath() const;

    // The held file that path names, however it is spelled (links, "..",
    // letter case), also where that file does not exist at the moment.
    std::optional<QString> heldFile(const QString &path) const;

private:
    QStringList existingHeldFiles() const;
    bool isHeldName(const QString &folder, const QString &name) const;

    QString m_path;
};
