#include "store/RowSealer.h"

#include "seal/LibraryKey.h"
#include "seal/SealedValue.h"
#include "store/PictureFingerprint.h"
#include "store/StoreLog.h"

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

QByteArray RowSealer::binding(Field field, qint64 id)
{
    const char *name = field == Field::Name ? "name" : field == Field::Category ? "category" : "picture";
    return QByteArray("lumbra/") + name + '/' + QByteArray::number(id);
}

std::expected<QByteArray, StoreError> RowSealer::seal(Field field, qint64 id, const QByteArray &plain)
{
    if (!m_sealer)
        return plain;
    QByteArray sealed = m_sealer->seal(plain, binding(field, id));
    if (sealed.isEmpty()) {
        qCWarning(lcStore) << "cannot seal" << binding(field, id);
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
    std::optional<QByteArray> plain = m_sealer ? m_sealer->open(sealed, binding(field, id)) : std::nullopt;
    if (!plain) {
        qCWarning(lcStore) << "does not open:" << binding(field, id);
        return std::unexpected(StoreError{StoreReason::SealBroken, QString::number(id)});
    }
    return std::move(*plain);
}

QByteArray RowSealer::fingerprint(const QByteArray &bytes) const
{
    return m_key ? m_key->fingerprint(bytes) : pictureFingerprint(bytes);
}
