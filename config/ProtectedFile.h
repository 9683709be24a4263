#pragma once

#include "config/ConfigError.h"
#include "config/LineBuffer.h"

#include <QString>

#include <expected>
#include <optional>

// A file stored through the password-protected format, open for line work.
// Opening reads and deciphers the whole file; the line operations work on
// the plain content in memory; close writes it back only when it changed,
// atomically, with a fresh salt and nonce. A file dropped without close
// keeps its old content on disk.
class ProtectedFile
{
public:
    enum class Mode {
        Read,       // the file must exist
        ReadWrite,  // a missing file starts empty and is created at close
    };

    ProtectedFile() = default;
    ProtectedFile(const ProtectedFile &) = delete;
    ProtectedFile &operator=(const ProtectedFile &) = delete;

    // Missing, CannotRead, or why the content does not decode.
    std::expected<void, ConfigError> open(const QString &path, QByteArrayView password, Mode mode);
    bool isOpen() const;
    // The plain content with its position; only while the file is open.
    LineBuffer &lines();
    // Ends the work on the file; a change in read-write mode is saved first.
    std::expected<void, ConfigError> close();

private:
    std::expected<void, ConfigError> save();

    QString m_path;
    QByteArray m_password;
    Mode m_mode = Mode::Read;
    bool m_created = false;
    std::optional<LineBuffer> m_lines;
};
