#pragma once

#include "store/StoreError.h"

#include <QString>

#include <expected>
#include <vector>

// A change to several files of one folder that a crash cannot tear. The
// new files are built beside their targets first; then the renames that
// put them in place are written as an intent into one small file and
// synced, the renames follow, the folder is synced, and the intent goes.
// A step that a crash broke off is finished at the next open of the folder
// or, when its new files are gone, undone.
class FileStep
{
public:
    explicit FileStep(const QString &folder);

    // Renames are file names in the folder and run in the order added. A
    // file renamed away may come back as the target of a later rename; no
    // source may be the target of an earlier one.
    void rename(const QString &from, const QString &to);
    // Runs the renames; a failure undoes the ones done and says why.
    std::expected<void, StoreError> run();

    // Finishes, or undoes, the step whose intent a crash left in folder;
    // LeftoverStep when it cannot.
    static std::expected<void, StoreError> finishLeftover(const QString &folder);

private:
    struct Rename
    {
        QString from;
        QString to;
    };

    // The renames of the intent in folder; what is wrong with it, for the log.
    static std::expected<std::vector<Rename>, QString> readIntent(const QString &folder);
    static std::expected<void, StoreError> complete(const QString &folder, const std::vector<Rename> &renames,
                                                    std::size_t done);
    static void undo(const QString &folder, const std::vector<Rename> &renames, std::size_t done);
    static std::expected<void, StoreError> removeIntent(const QString &folder);

    QString m_folder;
    std::vector<Rename> m_renames;
};
