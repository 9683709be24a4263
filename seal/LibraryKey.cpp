#include "seal/LibraryKey.h"

namespace {

constexpr QByteArrayView ValuePurpose = "lumbra library values";
constexpr QByteArrayView FingerprintPurpose = "lumbra picture fingerprints";
constexpr QByteArrayView IdentifierPurpose = "lumbra library key identifier";
constexpr int IdentifierSize = 16;

}

LibraryKey::LibraryKey(const SecretKey &secret)
    : m_secret(secret)
    , m_valueKey(secret.derive(ValuePurpose))
    , m_fingerprintKey(secret.derive(FingerprintPurpose))
    , m_identifier(secret.mac(IdentifierPurpose).first(IdentifierSize))
{
}

std::shared_ptr<const LibraryKey> LibraryKey::generate()
{
    return fromSecret(SecretKey::random());
}

std::shared_ptr<const LibraryKey> LibraryKey::fromSecret(const SecretKey &secret)
{
    return std::shared_ptr<const LibraryKey>(new LibraryKey(secret));
}

const SecretKey &LibraryKey::secret() const
{
    return m_secret;
}

QByteArray LibraryKey::identifier() const
{
    return m_identifier;
}

QByteArray LibraryKey::wrap(const SecretKey &wrappingKey, QByteArrayView binding) const
{
    const QByteArrayView secret(m_secret.data(), SecretKey::Size);
    return SealedValue(wrappingKey).seal(secret, binding);
}

std::shared_ptr<const LibraryKey> LibraryKey::unwrap(const SecretKey &wrappingKey, QByteArrayView wrapped,
                                                     QByteArrayView binding, QByteArrayView identifier)
{
    std::optional<QByteArray> secret = SealedValue(wrappingKey).open(wrapped, binding);
    const std::optional<SecretKey> key = secret ? SecretKey::fromBytes(*secret) : std::nullopt;
    if (secret)
        secret->fill('\0');
    if (!key)
        return nullptr;
    std::shared_ptr<const LibraryKey> libraryKey = fromSecret(*key);
    return libraryKey->identifier() == identifier ? libraryKey : nullptr;
}

std::unique_ptr<SealedValue> LibraryKey::sealer() const
{
    return std::make_unique<SealedValue>(m_valueKey);
}

QByteArray LibraryKey::fingerprint(QByteArrayView bytes) const
{
    return m_fingerprintKey.mac(bytes);
}
