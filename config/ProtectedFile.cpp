#include "config/ProtectedFile.h"

#include "config/AtomicFile.h"
#include "config/ProtectedFileFormat.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

std::expected<void, ConfigError> ProtectedFile::open(const QString &path, QByteArrayView password, Mode mode)
{
    m_lines.reset();
    QFile file(path);
    // An empty file holds nothing to protect: it is treated as a new one.
    m_created = !file.exists() || (QFileInfo(path).isFile() && file.size() == 0);
    if (m_created) {
        if (mode == Mode::Read && !file.exists())
            return std::unexpected(ConfigError{ConfigReason::Missing, path});
        m_lines.emplace();
    } else {
        if (!file.open(QIODevice::ReadOnly))
            return std::unexpected(ConfigError{ConfigReason::CannotRead, u"%1: %2"_s.arg(path, file.errorString())});
        // One byte more than the format allows is enough to refuse the file.
        const QByteArray stored = file.read(ProtectedFileFormat::MaxFileSize + 1);
        std::expected<QByteArray, ConfigError> plain = ProtectedFileFormat::decode(stored, password);
        if (!plain)
            return std::unexpected(ConfigError{plain.error().reason, u"%1: %2"_s.arg(path, plain.error().detail)});
        m_lines.emplace(std::move(*plain));
    }
    m_path = path;
    m_password = password.toByteArray();
    m_mode = mode;
    return {};
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

std::expected<void, ConfigError> ProtectedFile::close()
{
    if (!m_lines)
        return {};
    const bool changed = m_mode == Mode::ReadWrite && (m_created || m_lines->isModified());
    const std::expected<void, ConfigError> result = changed ? save() : std::expected<void, ConfigError>();
    m_lines.reset();
    m_password.clear();
    return result;
}

std::expected<void, ConfigError> ProtectedFile::save()
{
    const std::expected<QByteArray, ConfigError> stored = ProtectedFileFormat::encode(m_lines->content(), m_password);
    if (!stored)
        return std::unexpected(stored.error());
    // A crash leaves the old file or the new one, whole.
    return writeFileAtomically(m_path, *stored);
}
