#pragma once

#include "store/StoreError.h"

#include <QString>

#include <expected>
#include <memory>

class QLockFile;

// Locks the folder that holds a library, so that only one running program
// changes it: the lock holds for as long as the returned object lives. A
// lock left behind by a process that has ended is taken over. AlreadyOpen
// when another running program holds it; why, when it cannot be made.
std::expected<std::unique_ptr<QLockFile>, StoreError> lockLibraryFolder(const QString &folder);
