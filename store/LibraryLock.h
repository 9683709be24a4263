#pragma once

#include <QString>

#include <expected>
#include <memory>

class QLockFile;

// Locks the folder that holds a library, so that only one running program
// changes it: the lock holds for as long as the returned object lives. A
// lock left behind by a process that has ended is taken over. The reason,
// in Chinese, when another running program holds it or it cannot be made.
std::expected<std::unique_ptr<QLockFile>, QString> lockLibraryFolder(const QString &folder);
