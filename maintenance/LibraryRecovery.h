#pragma once

#include "store/StoreError.h"

#include <QString>

// What became of a library that could not be opened.
enum class Recovery {
    NotOffered, // not damaged, or BAK holds no copy that opens; nothing was asked
    Declined,   // the user kept the damaged library
    Restored,   // the BAK copy is in place and can be opened
    Failed,     // the copy could not be put in place; the user was told
};

// When the library at edbPath is damaged (a busy library, or one of a newer
// build, is not) and BAK holds a copy that opens, offers to bring that copy
// back. The damaged files are kept beside it under a dated name, never
// deleted; a copy that fails puts them back under their names.
Recovery offerLibraryFromBak(const QString &edbPath, const StoreError &failure);
