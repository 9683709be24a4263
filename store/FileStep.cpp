#include "store/FileStep.h"

#include "config/AtomicFile.h"
#include "config/DataFolder.h"
#include "store/StoreLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

const QByteArray IntentHeader = "Lumbra intent 1";

QString intentPath(const QString &folder)
{
    return QDir(folder).filePath(DataFolder::Intent);
}

bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Only plain names: an intent never reaches outside its folder.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') && !name.contains(u'\\');
}

std::unexpected<StoreError> failedAt(StoreReason reason, const QString &path)
{
    return std::unexpected(StoreError{reason, QDir::toNativeSeparators(path)});
}

bool renameFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()),
                            error);
    if (error)
        qCWarning(lcStore) << "cannot rename" << from << "to" << to << ":" << error.message().c_str();
    return !error;
}

}

FileStep::FileStep(const QString &folder)
    : m_folder(folder)
{
}

void FileStep::rename(const QString &from, const QString &to)
{
    m_renames.push_back({from, to});
}

std::expected<void, StoreError> FileStep::run()
{
    if (auto finished = finishLeftover(m_folder); !finished)
        return finished;
    const QDir folder(m_folder);
    QByteArray intent = IntentHeader + '\n';
    for (const Rename &rename : m_renames) {
        Q_ASSERT(isPlainName(rename.from) && isPlainName(rename.to));
        if (!exists(folder.filePath(rename.from)))
            return failedAt(StoreReason::NotPlaced, folder.filePath(rename.from));
        intent += rename.from.toUtf8() + '\t' + rename.to.toUtf8() + '\n';
    }
    if (auto written = writeFileAtomically(intentPath(m_folder), intent); !written)
        return std::unexpected(StoreError{.reason = StoreReason::IntentNotWritten, .fileError = written.error()});
    for (std::size_t i = 0; i < m_renames.size(); ++i) {
        if (!renameFile(folder.filePath(m_renames[i].from), folder.filePath(m_renames[i].to))) {
            undo(m_folder, m_renames, i);
            removeIntent(m_folder);
            return failedAt(StoreReason::NotPlaced, folder.filePath(m_renames[i].to));
        }
    }
    syncFolder(m_folder);
    // The step is whole now; an intent that stays is found done next time.
    removeIntent(m_folder);
    return {};
}

std::expected<void, StoreError> FileStep::finishLeftover(const QString &folder)
{
    if (!exists(intentPath(folder)))
        return {};
    const std::expected<std::vector<Rename>, QString> renames = readIntent(folder);
    if (!renames) {
        // Each rename is whole by itself, and the files of a library carry
        // a stamp of their pair: without a readable intent there is
        // nothing to finish.
        qCWarning(lcStore).noquote() << "an unreadable intent in" << folder << "is dropped:" << renames.error();
        return removeIntent(folder);
    }
    // The renames ran in order, so the last one whose source is gone is
    // the last one done; the sources of those behind it are all still there.
    const QDir dir(folder);
    std::size_t done = renames->size();
    while (done > 0 && exists(dir.filePath((*renames)[done - 1].from)))
        --done;
    bool finishable = true;
    for (std::size_t i = done; i < renames->size(); ++i)
        finishable = finishable && exists(dir.filePath((*renames)[i].from));
    qCInfo(lcStore) << "a step broken off in" << folder << "after" << done << "of" << renames->size() << "renames is"
                    << (finishable ? "finished" : "undone");
    if (finishable)
        return complete(folder, *renames, done);
    undo(folder, *renames, done);
    return removeIntent(folder);
}

std::expected<std::vector<FileStep::Rename>, QString> FileStep::readIntent(const QString &folder)
{
    QFile file(intentPath(folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(file.errorString());
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || lines.constFirst() != IntentHeader)
        return std::unexpected(u"not an intent"_s);
    std::vector<Rename> renames;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QList<QByteArray> names = lines[i].split('\t');
        if (names.size() != 2)
            return std::unexpected(u"a line that is no rename"_s);
        Rename rename{QString::fromUtf8(names[0]), QString::fromUtf8(names[1])};
        if (!isPlainName(rename.from) || !isPlainName(rename.to))
            return std::unexpected(u"a name outside the folder"_s);
        renames.push_back(std::move(rename));
    }
    return renames;
}

std::expected<void, StoreError> FileStep::complete(const QString &folder, const std::vector<Rename> &renames,
                                                   std::size_t done)
{
    const QDir dir(folder);
    for (std::size_t i = done; i < renames.size(); ++i) {
        if (!renameFile(dir.filePath(renames[i].from), dir.filePath(renames[i].to)))
            return failedAt(StoreReason::LeftoverStep, dir.filePath(renames[i].to));
    }
    syncFolder(folder);
    return removeIntent(folder);
}

void FileStep::undo(const QString &folder, const std::vector<Rename> &renames, std::size_t done)
{
    const QDir dir(folder);
    for (std::size_t i = done; i-- > 0;) {
        const QString from = dir.filePath(renames[i].from);
        const QString to = dir.filePath(renames[i].to);
        if (exists(to) && !exists(from))
            renameFile(to, from);
    }
    syncFolder(folder);
}

std::expected<void, StoreError> FileStep::removeIntent(const QString &folder)
{
    const QString path = intentPath(folder);
    if (!QFile::remove(path) && exists(path)) {
        qCWarning(lcStore) << "cannot remove" << path;
        return failedAt(StoreReason::LeftoverStep, path);
    }
    syncFolder(folder);
    return {};
}
