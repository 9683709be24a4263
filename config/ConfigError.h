#pragma once

#include <QString>

// Why a file of the configuration, or a file the program writes, failed.
enum class ConfigReason {
    Missing,          // opened for reading, and there is no such file
    CannotRead,       // the file exists but cannot be read
    Foreign,          // not a protected file of a format this program knows
    Truncated,        // that format, but shorter than its header and tag
    Rejected,         // authentication failed: wrong password, or altered bytes
    CipherFailed,     // OpenSSL could not derive a key or encipher
    TooLarge,         // more content than a protected file holds
    InvalidItem,      // a blank name, section, key or value, or a line break in one
    FolderMissing,    // the folder of the file to write does not exist
    FolderInTheWay,   // a folder has the name of the file to write
    CannotWrite,      // no permission, a full disk, ...
    CannotMakeFolder, // a folder of the path could not be made
    CannotSyncFolder, // the system refused to sync a folder
};

// A reason with what it concerns: the file or folder and the system's
// words, for the log. The windows tell the user from the reason.
struct ConfigError
{
    ConfigReason reason;
    QString detail{};

    bool operator==(const ConfigError &) const = default;
};
