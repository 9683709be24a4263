#include "config/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

// The store's files and the temporaries a new copy is built in.
const QStringList StoreFiles = {DataFolder::Library, DataFolder::Pictures, DataFolder::Library + DataFolder::NewSuffix,
                                DataFolder::Pictures + DataFolder::NewSuffix};
// SQLite's rollback journal beside each of them, and the super-journal of a
// commit over both ("-mj" and nine hex digits).
const QString Journal = u"-journal"_s;
const QString SuperJournal = u"-mj"_s;

bool sameName(const QString &first, const QString &second)
{
    // Letter case never tells two held files apart: on a FAT stick it does not.
    return first.compare(second, Qt::CaseInsensitive) == 0;
}

bool startsWithName(const QString &name, const QString &prefix)
{
    return name.startsWith(prefix, Qt::CaseInsensitive);
}

// The folder with links and ".." resolved, as far as it exists.
QString resolvedFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

bool isSameFile(const QString &first, const QString &second)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(std::filesystem::path(first.toStdU16String()),
                                                  std::filesystem::path(second.toStdU16String()), error);
    return same && !error;
}

}

DataFolder::DataFolder(const QString &path)
    : m_path(QDir::cleanPath(path))
{
}

QString DataFolder::path() const
{
    return m_path;
}

QString DataFolder::libraryPath() const
{
    return QDir(m_path).filePath(Library);
}

QString DataFolder::bakFolder() const
{
    return QDir(m_path).filePath(Bak);
}

QString DataFolder::bakLibraryPath() const
{
    return QDir(bakFolder()).filePath(Library);
}

QString DataFolder::accountsPath() const
{
    return QDir(m_path).filePath(Accounts);
}

QString DataFolder::lockPath() const
{
    return QDir(m_path).filePath(Lock);
}

QString DataFolder::settingsPath() const
{
    return QDir(m_path).filePath(Settings);
}

bool DataFolder::isHeldName(const QString &folder, const QString &name) const
{
    const bool inData = folder == resolvedFolder(m_path);
    const bool inBak = folder == resolvedFolder(bakFolder());
    if (!inData && !inBak)
        return false;
    if (sameName(name, Intent))
        return true;
    for (const QString &file : StoreFiles) {
        if (sameName(name, file) || sameName(name, file + Journal) || startsWithName(name, file + SuperJournal))
            return true;
        if (inData && startsWithName(name, file + DamagedSuffix))
            return true;
        if (inData && startsWithName(name, file + Journal + DamagedSuffix))
            return true;
    }
    if (!inData)
        return false;
    return sameName(name, Bak) || sameName(name, Accounts) || sameName(name, Lock) || sameName(name, Settings)
        || sameName(name, Settings + u".lock"_s);
}

QStringList DataFolder::existingHeldFiles() const
{
    QStringList files;
    const QString program = QCoreApplication::applicationFilePath();
    if (!program.isEmpty())
        files << program;
    for (const QString &folder : {m_path, bakFolder()}) {
        const QDir dir(folder);
        const QString resolved = resolvedFolder(folder);
        for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (isHeldName(resolved, name))
                files << dir.filePath(name);
        }
    }
    return files;
}

std::optional<QString> DataFolder::heldFile(const QString &path) const
{
    const QFileInfo info(path);
    // A link is written through: what it points to counts as well.
    QStringList spellings = {info.absoluteFilePath()};
    if (info.isSymLink())
        spellings << info.symLinkTarget();
    for (const QString &spelling : std::as_const(spellings)) {
        const QFileInfo named(spelling);
        if (isHeldName(resolvedFolder(named.absolutePath()), named.fileName()))
            return QDir::cleanPath(spelling);
    }
    const QStringList held = existingHeldFiles();
    const auto same = std::find_if(held.cbegin(), held.cend(), [&](const QString &file) { return isSameFile(path, file); });
    if (same != held.cend())
        return *same;
    return std::nullopt;
}
