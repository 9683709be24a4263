#include "ProtectedFile.h"

#include "AtomicFile.h"

#include <QFile>
#include <QFileInfo>

ProtectedFileError ProtectedFile::open(const QString &path, QByteArrayView password, Mode mode)
{
    m_lines.reset();
    QFile file(path);
    // An empty file holds nothing to protect: it is treated as a new one.
    m_created = !file.exists() || (QFileInfo(path).isFile() && file.size() == 0);
    if (m_created) {
        if (mode == Mode::Read && !file.exists())
            return ProtectedFileError::Missing;
        m_lines.emplace();
    } else {
        if (!file.open(QIODevice::ReadOnly))
            return ProtectedFileError::Unreadable;
        // One byte more than the format allows is enough to refuse the file.
        const QByteArray stored = file.read(ProtectedFileFormat::MaxFileSize + 1);
        ProtectedFileFormat::Decoded decoded = ProtectedFileFormat::decode(stored, password);
        if (decoded.error != ProtectedFileError::None)
            return decoded.error;
        m_lines.emplace(std::move(decoded.plain));
    }
    m_path = path;
    m_password = password.toByteArray();
    m_mode = mode;
    return ProtectedFileError::None;
}

bool ProtectedFile::isOpen() const
{
    return m_lines.has_value();
}

LineBuffer &ProtectedFile::lines()
{
    Q_ASSERT_X(m_lines, "ProtectedFile::lines", "the file is not open");
    return *m_lines;
}

ProtectedFileError ProtectedFile::close()
{
    if (!m_lines)
        return ProtectedFileError::None;
    const bool changed = m_mode == Mode::ReadWrite && (m_created || m_lines->isModified());
    const ProtectedFileError result = changed ? save() : ProtectedFileError::None;
    m_lines.reset();
    m_password.clear();
    return result;
}

ProtectedFileError ProtectedFile::save()
{
    const std::optional<QByteArray> stored = ProtectedFileFormat::encode(m_lines->content(), m_password);
    if (!stored)
        return ProtectedFileError::WriteFailed;
    // A crash leaves the old file or the new one, whole.
    return writeFileAtomically(m_path, *stored) ? ProtectedFileError::None : ProtectedFileError::WriteFailed;
}
