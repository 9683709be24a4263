#pragma once

#include <QString>

// What became of a library that could not be opened.
enum class Recovery {
    NoCopy,    // BAK holds no copy that opens; nothing was asked
    Declined,  // the user kept the damaged library
    Restored,  // the BAK copy is in place and can be opened
    Failed,    // the copy could not be put in place; the user was told
};

// When the library at edbPath cannot be opened (reason says why) but BAK
// holds a copy that opens, offers to bring that copy back. The damaged files
// are kept beside it under a dated name, never deleted.
Recovery offerLibraryFromBak(const QString &edbPath, const QString &reason);
