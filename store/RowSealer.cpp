#include "store/RowSealer.h"

#include "seal/LibraryKey.h"
#include "seal/SealedValue.h"
#include "store/PictureFingerprint.h"
#include "store/StoreLog.h"

#include <array>
#include <charconv>

namespace {

// Where a value belongs, bound into its seal: "lumbra/name/<id>",
// "lumbra/category/<id>" or "lumbra/picture/<id>". Built without an
// allocation, as opening a library builds two for every row.
class Binding
{
public:
    Binding(RowSealer::Field field, qint64 id)
    {
        const QByteArrayView prefix = field == RowSealer::Field::Name       ? "lumbra/name/"
                                      : field == RowSealer::Field::Category ? "lumbra/category/"
                                                                            : "lumbra/picture/";
        std::copy(prefix.begin(), prefix.end(), m_text.begin());
        m_size = int(std::to_chars(m_text.data() + prefix.size(), m_text.data() + m_text.size(), id).ptr - m_text.data());
    }

    QByteArrayView view() const { return QByteArrayView(m_text.data(), m_size); }

private:
    std::array<char, 40> m_text{};
    int m_size = 0;
};

}

RowSealer::RowSealer(std::shared_ptr<const LibraryKey> key)
    : m_key(std::move(key))
    , m_sealer(m_key ? m_key->sealer() : nullptr)
{
}

RowSealer::~RowSealer() = default;

RowSealer::RowSealer(RowSealer &&) noexcept = default;

RowSealer &RowSealer::operator=(RowSealer &&) noexcept = default;

bool RowSealer::seals() const
{
    return m_sealer != nullptr;
}

const std::shared_ptr<const LibraryKey> &RowSealer::key() const
{
    return m_key;
}

std::expected<QByteArray, StoreError> RowSealer::seal(Field field, qint64 id, const QByteArray &plain)
{
    if (!m_sealer)
        return plain;
    QByteArray sealed = m_sealer->seal(plain, Binding(field, id).view());
    if (sealed.isEmpty()) {
        qCWarning(lcStore) << "cannot seal" << Binding(field, id).view();
        return std::unexpected(StoreError{StoreReason::SealBroken, QString::number(id)});
    }
    return sealed;
}

std::expected<SqliteValue, StoreError> RowSealer::storedText(Field field, qint64 id, const QString &text)
{
    if (!m_sealer)
        return text;
    return seal(field, id, text.toUtf8());
}

std::expected<QByteArray, StoreError> RowSealer::open(Field field, qint64 id, QByteArrayView sealed)
{
    std::optional<QByteArray> plain = m_sealer ? m_sealer->open(sealed, Binding(field, id).view()) : std::nullopt;
    if (!plain) {
        qCWarning(lcStore) << "does not open:" << Binding(field, id).view();
        return std::unexpected(StoreError{StoreReason::SealBroken, QString::number(id)});
    }
    return std::move(*plain);
}

QByteArray RowSealer::fingerprint(const QByteArray &bytes) const
{
    return m_key ? m_key->fingerprint(bytes) : pictureFingerprint(bytes);
}
